#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <array>
#include <optional>

// Rate table files for tests, written and read through a connection of the test's own, so that
// what the program stored is checked on disk and not through the program's store.
namespace RateTableFile {

using Row = std::array<QVariant, 3>;

inline QString connectionName()
{
    static int counter = 0;
    return QStringLiteral("test-table-%1").arg(++counter);
}

// Runs the function on a fresh connection to the file, then closes it.
template<typename Function> auto withDatabase(const QString &path, Function function)
{
    const QString name = connectionName();
    struct Remover
    {
        QString name;
        ~Remover() { QSqlDatabase::removeDatabase(name); }
    } remover {name};
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    db.setDatabaseName(path);
    db.open();
    auto result = function(db);
    db.close();
    return result;
}

// Adds one row at the end of the table.
inline bool append(const QString &path, const Row &row)
{
    return withDatabase(path, [&](QSqlDatabase &db) {
        QSqlQuery query(db);
        query.prepare(QStringLiteral("INSERT INTO zel VALUES (?, ?, ?)"));
        for (const QVariant &value : row)
            query.addBindValue(value);
        return query.exec();
    });
}

// Runs the statements in order on a fresh connection, say to make a table of an odd shape; false
// as soon as one fails.
inline bool exec(const QString &path, const QStringList &statements)
{
    return withDatabase(path, [&](QSqlDatabase &db) {
        for (const QString &statement : statements) {
            if (!QSqlQuery(db).exec(statement))
                return false;
        }
        return db.isOpen();
    });
}

// Creates the file with the table zel and the rows given.
inline bool create(const QString &path, const QList<Row> &rows)
{
    bool ok
        = exec(path, {QStringLiteral("CREATE TABLE zel (yearfrom REAL, yearto REAL, rate REAL)")});
    for (const Row &row : rows)
        ok = append(path, row) && ok;
    return ok;
}

// Every row as it is on disk, in table order.
inline QList<Row> rows(const QString &path)
{
    return withDatabase(path, [](QSqlDatabase &db) {
        QList<Row> found;
        QSqlQuery query(QStringLiteral("SELECT * FROM zel"), db);
        while (query.next())
            found.append({query.value(0), query.value(1), query.value(2)});
        return found;
    });
}

}  // namespace RateTableFile
