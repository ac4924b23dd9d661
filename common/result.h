#pragma once

#include <QString>

#include <optional>

// A value, or the reason a user can read why there is none.
template<typename T> struct Result
{
    std::optional<T> value;
    QString error;  // empty when value is set

    explicit operator bool() const { return value.has_value(); }
    const T &operator*() const { return *value; }
    const T *operator->() const { return &*value; }

    static Result failure(const QString &reason) { return {std::nullopt, reason}; }
};

// The outcome of an operation that gives nothing back: empty when it succeeded.
using Failure = std::optional<QString>;
