#pragma once

// The rate table: one table "zel" in the file zel.mdb beside the program, three number columns
// in the order year from, year to, rate, always addressed by position. Both the interest sheet and
// the rate maintenance window reach it through one program-wide connection, the shared store,
// which each of them opens afresh when it loads. A store function never shows anything: it
// returns a value or a reason a user can read, and the window decides what to show.

#include "raterecord.h"
#include "result.h"

#include <QList>
#include <QString>

class RateStore
{
public:
    ~RateStore();
    RateStore(const RateStore &) = delete;
    RateStore &operator=(const RateStore &) = delete;

    // The database file: the program's directory, the platform's separator, "zel.mdb".
    static QString filePath();

    // Opens a fresh connection to the file and puts it into the program-wide slot, releasing the
    // one that was there. The file and its table must exist: nothing is created. On failure the
    // slot keeps the store it had, so windows already open go on working.
    static Failure openShared();
    // The store in the slot, or nullptr before the first successful open.
    static RateStore *shared();
    // Empties the slot (the end of the program, or a test).
    static void releaseShared();

    // Every row, from the first, in the order the rows were added. An empty table is no rows.
    Result<QList<RateRecord>> scan() const;
    // The number of rows at this moment.
    Result<qint64> count() const;

    // Adds a row; it is on disk when this returns without a failure.
    Failure add(double yearFrom, double yearTo, double rate);
    // Changes the row that a scan found. Year to and rate come as the user typed them: a number,
    // blanks around it allowed; any other text is refused and nothing is written.
    Failure change(qint64 row, double yearFrom, const QString &yearTo, const QString &rate);

private:
    RateStore(QString connectionName, QString path);
    static Result<RateStore *> open(const QString &path);
    Failure write(const QString &statement, const QList<QVariant> &values, const QString &what);

    QString m_connectionName;
    QString m_path;
    QStringList m_columns;  // the table's column names, by position
};
