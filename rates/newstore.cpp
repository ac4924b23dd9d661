// Creates an empty rate table file at the path given, unless a file is already there: a build or
// an installation gets a table to start with and never loses one it has.

#include <QCoreApplication>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 2) {
        err << "usage: zel-new-store PATH\n";
        return 2;
    }
    const QString path = arguments[1];
    if (QFileInfo::exists(path))
        return 0;

    bool created = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
        db.setDatabaseName(path);
        QSqlQuery query(db);
        created = db.open()
            && query.exec(
                QStringLiteral("CREATE TABLE zel (yearfrom REAL, yearto REAL, rate REAL)"));
        if (!created)
            err << "Cannot create " << path << ": "
                << (db.isOpenError() ? db.lastError() : query.lastError()).text() << '\n';
        db.close();
    }
    QSqlDatabase::removeDatabase(QLatin1String(QSqlDatabase::defaultConnection));
    return created ? 0 : 1;
}
