#pragma once

#include <QString>

#include <optional>

// The text a number is shown as: rounded to 15 significant digits, no trailing zeros, plain while
// the decimal exponent lies between -4 and 14, otherwise with an exponent such as 1E+15 or 1E-05.
// Negative zero is written as "0".
QString numberText(double value);

// A value from the rate table; an empty (null) value gives an empty text.
QString numberText(const std::optional<double> &value);
