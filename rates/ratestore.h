#pragma once

// The rate table: one table "zel" in the file zel.mdb beside the program, three number columns
// in the order year from, year to, rate, always addressed by position. A RateStore is one
// connection to that file; both windows reach the table through the program's one SharedRates,
// which each of them opens afresh when it loads. SQLite goes on using a file that was removed or
// replaced under it; the store follows the path instead. A store function never shows anything: it
// returns a value or a reason a user can read, and the window decides what to show.

#include "fileidentity.h"
#include "raterecord.h"
#include "result.h"

#include <QList>
#include <QString>

#include <memory>
#include <optional>

class RateStore
{
public:
    ~RateStore();
    RateStore(const RateStore &) = delete;
    RateStore &operator=(const RateStore &) = delete;

    // Opens a connection of its own to the file. The file and its table must exist: nothing is
    // created.
    static Result<std::unique_ptr<RateStore>> open(const QString &path);

    // Every row, from the first, in the order the rows were added. An empty table is no rows.
    Result<QList<RateRecord>> scan();
    // The number of rows at this moment.
    Result<qint64> count();

    enum class Added
    {
        Saved,      // the row is on disk
        Duplicate,  // a row with this year from was there already; nothing was written
    };
    // Adds a row unless the table has one with the same year from. The check is made inside the
    // write's own transaction, so another copy of the program cannot add the year in between.
    Result<Added> add(double yearFrom, double yearTo, double rate);
    // Changes the rate of the row that a scan found; its years stay as they are.
    Failure changeRate(qint64 row, double rate);

private:
    RateStore(QString connectionName, QString path);
    Failure followFile(const QString &what);
    template<typename Body> Failure writeTransaction(const QString &what, Body body);

    QString m_connectionName;
    QString m_path;
    FileIdentity m_identity;  // the file the connection has open
    QStringList m_columns;    // the table's column names, by position
};
