#pragma once

#include "ratestore.h"

#include <QString>

#include <memory>

// The program's one connection to its rate table, zel.mdb in the program's directory, through
// which both windows read and write. Each window's load opens it afresh; a failed open keeps the
// connection there was, so windows already open go on working.
class SharedRates
{
public:
    explicit SharedRates(QString directory);

    // The database file: the program's directory, the platform's separator, "zel.mdb".
    QString filePath() const;
    // Opens a fresh connection, releasing the one there was; on failure that one stays.
    Failure openAfresh();
    // The open connection, or nullptr before the first successful open.
    RateStore *store() const { return m_store.get(); }

private:
    QString m_directory;
    std::unique_ptr<RateStore> m_store;
};
