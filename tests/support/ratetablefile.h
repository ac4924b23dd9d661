#pragma once

#include <QScopeGuard>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

#include <algorithm>

// Rate table files for tests, written and read through a connection of the test's own, so that
// what the program stored is checked on disk and not through the program's store.
namespace RateTableFile {

// The table's columns as the program's own tool makes them.
inline const QString columns = QStringLiteral("yearfrom REAL, yearto REAL, rate REAL");

// Runs the function on a fresh connection to the file, then closes it.
template<typename Function> auto withDatabase(const QString &path, Function function)
{
    static int connections = 0;
    const QString name = QStringLiteral("test-table-%1").arg(++connections);
    const auto remove = qScopeGuard([&name] { QSqlDatabase::removeDatabase(name); });
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    db.setDatabaseName(path);
    db.open();
    auto result = function(db);
    db.close();
    return result;
}

// Runs the statements in order, say to make a table of an odd shape; false as soon as one fails.
inline bool exec(const QString &path, const QStringList &statements)
{
    return withDatabase(path, [&](QSqlDatabase &db) {
        return db.isOpen() && std::ranges::all_of(statements, [&](const QString &statement) {
            return QSqlQuery(db).exec(statement);
        });
    });
}

// Every row as it is on disk, in table order: its values separated by blanks, a text in quotes,
// an empty value as NULL, the rows separated by commas: "2003 2004 9.5, 2004 2005 8".
inline QString text(const QString &path)
{
    return withDatabase(path, [](QSqlDatabase &db) {
        QStringList rows;
        for (QSqlQuery query(QStringLiteral("SELECT * FROM zel"), db); query.next();) {
            QStringList values;
            for (int column = 0; column < 3; ++column) {
                const QVariant value = query.value(column);
                values << (value.isNull()                      ? QStringLiteral("NULL")
                        : value.typeId() == QMetaType::QString ? u'\'' + value.toString() + u'\''
                                                               : value.toString());
            }
            rows << values.join(u' ');
        }
        return rows.join(QStringLiteral(", "));
    });
}

}  // namespace RateTableFile
