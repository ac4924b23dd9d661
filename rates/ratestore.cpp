#include "ratestore.h"

#include "programdirectory.h"

#include <QDir>
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

std::unique_ptr<RateStore> &slot()
{
    static std::unique_ptr<RateStore> store;
    return store;
}

std::optional<double> number(const QVariant &value)
{
    if (value.isNull())
        return std::nullopt;
    return value.toDouble();
}

// Text that the user typed for a number column: a number, with blanks around it allowed.
std::optional<double> numberFromText(const QString &text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
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

QString RateStore::filePath()
{
    return ProgramDirectory::path() + QDir::separator() + QStringLiteral("zel.mdb");
}

Failure RateStore::openShared()
{
    Result<RateStore *> opened = open(filePath());
    if (!opened)
        return opened.error;
    slot().reset(*opened);
    return std::nullopt;
}

RateStore *RateStore::shared()
{
    return slot().get();
}

void RateStore::releaseShared()
{
    slot().reset();
}

Result<RateStore *> RateStore::open(const QString &path)
{
    const QFileInfo file(path);
    if (!file.exists())
        return Result<RateStore *>::failure(
            QStringLiteral("The rate table file %1 is missing.").arg(path));
    if (!file.isFile())
        return Result<RateStore *>::failure(
            QStringLiteral("%1 is a folder, not the rate table file.").arg(path));

    static int connections = 0;
    const QString name = QStringLiteral("rates-%1").arg(++connections);
    auto store = std::unique_ptr<RateStore>(new RateStore(name, path));
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    if (!db.isValid())
        return Result<RateStore *>::failure(
            QStringLiteral("The SQLite driver of Qt is not installed, so %1 cannot be read.")
                .arg(path));
    // mode=rw: SQLite must never create the file; a missing file is an error.
    db.setDatabaseName(
        QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded) + QStringLiteral("?mode=rw"));
    // Another program holding the file gets a moment to let it go before we report.
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=1500"));
    if (!db.open())
        return Result<RateStore *>::failure(QStringLiteral("Cannot open the rate table file %1: %2")
                                                .arg(path, reason(db.lastError())));

    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("Select * from zel")))
        return Result<RateStore *>::failure(QStringLiteral("Cannot read the rate table in %1: %2")
                                                .arg(path, reason(query.lastError())));
    const QSqlRecord record = query.record();
    if (record.count() < 3)
        return Result<RateStore *>::failure(
            QStringLiteral("The rate table in %1 does not have the three columns year from, "
                           "year to and rate.")
                .arg(path));
    for (int position = 0; position < 3; ++position)
        store->m_columns << quotedName(record.fieldName(position));
    return {store.release(), {}};
}

Result<QList<RateRecord>> RateStore::scan() const
{
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

Result<qint64> RateStore::count() const
{
    QSqlQuery query(QSqlDatabase::database(m_connectionName, false));
    if (!query.exec(QStringLiteral("select count(*) from zel")) || !query.next())
        return Result<qint64>::failure(QStringLiteral("Cannot count the rows of %1: %2")
                                           .arg(m_path, reason(query.lastError())));
    return {query.value(0).toLongLong(), {}};
}

Failure RateStore::add(double yearFrom, double yearTo, double rate)
{
    // SQLite would store a NaN as an empty value and an infinity as a number no one typed.
    for (const double value : {yearFrom, yearTo, rate}) {
        if (!std::isfinite(value))
            return QStringLiteral("The new year was not saved in %1: %2 is not a number.")
                .arg(m_path, QString::number(value));
    }
    return write(QStringLiteral("INSERT INTO zel (%1, %2, %3) VALUES (?, ?, ?)")
                     .arg(m_columns[0], m_columns[1], m_columns[2]),
        {yearFrom, yearTo, rate}, QStringLiteral("The new year was not saved"));
}

Failure RateStore::change(qint64 row, double yearFrom, const QString &yearTo, const QString &rate)
{
    const std::optional<double> to = numberFromText(yearTo);
    if (!to)
        return QStringLiteral("The year to \"%1\" is not a number.").arg(yearTo);
    const std::optional<double> percent = numberFromText(rate);
    if (!percent)
        return QStringLiteral("The rate of interest \"%1\" is not a number.").arg(rate);
    return write(QStringLiteral("UPDATE zel SET %1 = ?, %2 = ?, %3 = ? WHERE rowid = ?")
                     .arg(m_columns[0], m_columns[1], m_columns[2]),
        {yearFrom, *to, *percent, row}, QStringLiteral("The year was not changed"));
}

// One statement in its own transaction: on any failure the file stays as it was.
Failure RateStore::write(
    const QString &statement, const QList<QVariant> &values, const QString &what)
{
    QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
    const auto failed = [&](const QSqlError &error) {
        db.rollback();
        return QStringLiteral("%1 in %2: %3").arg(what, m_path, reason(error));
    };
    if (!db.transaction())
        return failed(db.lastError());
    QSqlQuery query(db);
    if (!query.prepare(statement))
        return failed(query.lastError());
    for (const QVariant &value : values)
        query.addBindValue(value);
    if (!query.exec())
        return failed(query.lastError());
    query.finish();
    if (!db.commit())
        return failed(db.lastError());
    return std::nullopt;
}
