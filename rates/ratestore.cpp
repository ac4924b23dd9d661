#include "ratestore.h"

#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUrl>
#include <QVariant>

#include <cmath>
#include <memory>

namespace {

std::optional<double> number(const QVariant &value)
{
    if (value.isNull())
        return std::nullopt;
    return value.toDouble();
}

// A column name from a table made elsewhere, quoted so that SQLite reads it as a name whatever
// characters it holds (Qt's driver leaves names with brackets or quotes as they are).
QString quotedName(QString name)
{
    return u'"' + name.replace(u'"', QStringLiteral("\"\"")) + u'"';
}

// SQLite's own words say what is wrong ("database is locked"); Qt's add only how it noticed.
QString reason(const QSqlError &error)
{
    QString text = error.databaseText().trimmed();
    if (text.isEmpty())
        text = error.text().trimmed();
    return text.isEmpty() ? QStringLiteral("unknown database error") : text;
}

}  // namespace

RateStore::RateStore(QString connectionName, QString path)
    : m_connectionName(std::move(connectionName))
    , m_path(std::move(path))
{
}

RateStore::~RateStore()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_connectionName);
}

Result<std::unique_ptr<RateStore>> RateStore::open(const QString &path)
{
    using Opened = Result<std::unique_ptr<RateStore>>;
    const QFileInfo file(path);
    if (!file.exists())
        return Opened::failure(QStringLiteral("The rate table file %1 is missing.").arg(path));
    if (!file.isFile())
        return Opened::failure(
            QStringLiteral("%1 is a folder, not the rate table file.").arg(path));

    static int connections = 0;
    const QString name = QStringLiteral("rates-%1").arg(++connections);
    auto store = std::unique_ptr<RateStore>(new RateStore(name, path));
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    if (!db.isValid())
        return Opened::failure(
            QStringLiteral("The SQLite driver of Qt is not installed, so %1 cannot be read.")
                .arg(path));
    // mode=rw: SQLite must never create the file; a missing file is an error.
    db.setDatabaseName(
        QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded) + QStringLiteral("?mode=rw"));
    // Another program holding the file gets a moment to let it go before we report.
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=1500"));
    if (!db.open())
        return Opened::failure(QStringLiteral("Cannot open the rate table file %1: %2")
                                   .arg(path, reason(db.lastError())));
    store->m_identity = FileIdentity::of(path).value_or(FileIdentity {});

    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("Select * from zel")))
        return Opened::failure(QStringLiteral("Cannot read the rate table in %1: %2")
                                   .arg(path, reason(query.lastError())));
    const QSqlRecord record = query.record();
    if (record.count() < 3)
        return Opened::failure(
            QStringLiteral("The rate table in %1 does not have the three columns year from, "
                           "year to and rate.")
                .arg(path));
    for (int position = 0; position < 3; ++position)
        store->m_columns << quotedName(record.fieldName(position));
    return {std::move(store), {}};
}

// SQLite keeps reading a file that was removed or replaced through the handle it has, and refuses
// to write it. The store follows the path: a file put back is opened afresh, a file still gone is
// reported. A failure is the whole message: what could not be done (a pattern naming the path as
// %1), or why the file put back cannot be opened, which names the path itself.
Failure RateStore::followFile(const QString &what)
{
    const std::optional<FileIdentity> current = FileIdentity::of(m_path);
    if (current == m_identity)
        return std::nullopt;
    if (!current)
        return QStringLiteral("%1: the file was removed or moved while the program was open")
            .arg(what.arg(m_path));
    Result<std::unique_ptr<RateStore>> reopened = open(m_path);
    if (!reopened)
        return reopened.error;
    RateStore &fresh = **reopened.value;
    std::swap(m_connectionName, fresh.m_connectionName);
    std::swap(m_identity, fresh.m_identity);
    std::swap(m_columns, fresh.m_columns);
    return std::nullopt;  // the old connection closes with the object that now holds it
}

Result<QList<RateRecord>> RateStore::scan()
{
    if (const Failure lost = followFile(QStringLiteral("Cannot read the rate table in %1")))
        return Result<QList<RateRecord>>::failure(*lost);
    QSqlQuery query(QSqlDatabase::database(m_connectionName, false));
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT rowid, * FROM zel")))
        return Result<QList<RateRecord>>::failure(
            QStringLiteral("Cannot read the rate table in %1: %2")
                .arg(m_path, reason(query.lastError())));
    QList<RateRecord> rows;
    while (query.next()) {
        rows.append({number(query.value(1)), number(query.value(2)), number(query.value(3)),
            query.value(0).toLongLong()});
    }
    if (query.lastError().isValid())
        return Result<QList<RateRecord>>::failure(
            QStringLiteral("Cannot read the rate table in %1: %2")
                .arg(m_path, reason(query.lastError())));
    return {rows, {}};
}

Result<qint64> RateStore::count()
{
    if (const Failure lost = followFile(QStringLiteral("Cannot count the rows of %1")))
        return Result<qint64>::failure(*lost);
    QSqlQuery query(QSqlDatabase::database(m_connectionName, false));
    if (!query.exec(QStringLiteral("select count(*) from zel")) || !query.next())
        return Result<qint64>::failure(QStringLiteral("Cannot count the rows of %1: %2")
                                           .arg(m_path, reason(query.lastError())));
    return {query.value(0).toLongLong(), {}};
}

namespace {

// SQLite would store a NaN as an empty value and an infinity as a number no one typed.
Failure refuseNonFinite(
    const QString &what, const QString &path, std::initializer_list<double> values)
{
    for (const double value : values) {
        if (!std::isfinite(value))
            return QStringLiteral("%1 in %2: %3 is not a number.")
                .arg(what, path, QString::number(value));
    }
    return std::nullopt;
}

}  // namespace

Result<RateStore::Added> RateStore::add(double yearFrom, double yearTo, double rate)
{
    const QString what = QStringLiteral("The new year was not saved");
    if (const Failure refused = refuseNonFinite(what, m_path, {yearFrom, yearTo, rate}))
        return Result<Added>::failure(*refused);
    bool duplicate = false;
    const Failure failure = writeTransaction(what, [&](QSqlQuery &query) {
        query.prepare(QStringLiteral("SELECT count(*) FROM zel WHERE %1 = ?").arg(m_columns[0]));
        query.addBindValue(yearFrom);
        if (!query.exec() || !query.next())
            return false;
        duplicate = query.value(0).toLongLong() > 0;
        query.finish();
        if (duplicate)
            return true;
        query.prepare(QStringLiteral("INSERT INTO zel (%1, %2, %3) VALUES (?, ?, ?)")
                          .arg(m_columns[0], m_columns[1], m_columns[2]));
        for (const double value : {yearFrom, yearTo, rate})
            query.addBindValue(value);
        return query.exec();
    });
    if (failure)
        return Result<Added>::failure(*failure);
    return {duplicate ? Added::Duplicate : Added::Saved, {}};
}

Failure RateStore::changeRate(qint64 row, double rate)
{
    const QString what = QStringLiteral("The rate was not changed");
    if (const Failure refused = refuseNonFinite(what, m_path, {rate}))
        return refused;
    bool changed = false;
    const Failure failure = writeTransaction(what, [&](QSqlQuery &query) {
        query.prepare(QStringLiteral("UPDATE zel SET %1 = ? WHERE rowid = ?").arg(m_columns[2]));
        query.addBindValue(rate);
        query.addBindValue(row);
        changed = query.exec() && query.numRowsAffected() == 1;
        return !query.lastError().isValid();
    });
    if (!failure && !changed)  // another program removed the row meanwhile
        return QStringLiteral("%1 in %2: the year is no longer in the table.").arg(what, m_path);
    return failure;
}

// Runs the body in one transaction that holds the write lock from its start, so that what the
// body reads cannot change before it writes. On any failure the file stays as it was.
template<typename Body> Failure RateStore::writeTransaction(const QString &what, Body body)
{
    if (const Failure lost = followFile(what + QStringLiteral(" in %1")))
        return lost;
    QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
    QSqlQuery query(db);
    const auto failed = [&](const QSqlError &error) {
        query.finish();
        QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
        return QStringLiteral("%1 in %2: %3").arg(what, m_path, reason(error));
    };
    if (!query.exec(QStringLiteral("BEGIN IMMEDIATE")))
        return failed(query.lastError());
    if (!body(query))
        return failed(query.lastError());
    query.finish();
    if (!query.exec(QStringLiteral("COMMIT")))
        return failed(query.lastError());
    return std::nullopt;
}
