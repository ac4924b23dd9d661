#include "programdirectory.h"
#include "ratestore.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocale>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <limits>
#include <memory>

#ifdef Q_OS_LINUX
#include <sys/fsuid.h>
#include <unistd.h>
#endif

using namespace Qt::StringLiterals;

// What stands where the rate table file should be.
enum class Shape
{
    Missing,
    Folder,
    Bytes
};
Q_DECLARE_METATYPE(Shape)

namespace {

const QString typedColumns = u"yearfrom REAL, yearto REAL, rate REAL"_s;
// Without a declared type SQLite keeps a value as it was bound: a text would stay a text.
const QString untypedColumns = u"yearfrom, yearto, rate"_s;
const QString allRows = u"SELECT * FROM zel ORDER BY rowid"_s;
const QString workedExample = u"2003 2004 9.5"_s;

QString valueText(const std::optional<double> &value)
{
    return value ? QString::number(*value, 'g', QLocale::FloatingPointShortest) : u"null"_s;
}

// A connection of the test's own, beside the store's: it makes tables and looks into the file.
class Direct
{
public:
    explicit Direct(const QString &path)
        : m_name(u"test-%1"_s.arg(++s_connections))
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, m_name);
        db.setDatabaseName(path);
        db.open();
    }
    ~Direct()
    {
        QSqlDatabase::database(m_name, false).close();
        QSqlDatabase::removeDatabase(m_name);
    }

    // The rows the statement gives, each as its values separated by blanks; or why it failed.
    QStringList run(const QString &statement) const
    {
        QSqlQuery query(QSqlDatabase::database(m_name, false));
        if (!query.exec(statement))
            return {u"error: "_s + query.lastError().text()};
        QStringList rows;
        while (query.next()) {
            QStringList values;
            for (int i = 0; i < query.record().count(); ++i)
                values << (query.isNull(i) ? u"null"_s : query.value(i).toString());
            rows << values.join(u' ');
        }
        return rows;
    }

private:
    static inline int s_connections = 0;
    QString m_name;
};

bool makeTable(const QString &path, const QString &columns, const QStringList &rows,
    const QString &table = u"zel"_s)
{
    const Direct db(path);
    QStringList failures = db.run(u"CREATE TABLE %1 (%2)"_s.arg(table, columns));
    for (const QString &row : rows)
        failures << db.run(u"INSERT INTO %1 VALUES (%2)"_s.arg(table, row));
    if (!failures.isEmpty())
        qWarning() << failures;
    return failures.isEmpty();
}

QByteArray databaseBytes(
    const QString &columns, const QStringList &rows, const QString &table = u"zel"_s)
{
    const QTemporaryDir dir;
    QFile file(dir.filePath(u"made.mdb"_s));
    if (!makeTable(file.fileName(), columns, rows, table) || !file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

bool put(const QString &path, Shape shape, const QByteArray &bytes)
{
    QFile file(path);
    return shape == Shape::Missing || (shape == Shape::Folder && QDir().mkdir(path))
        || (shape == Shape::Bytes && file.open(QIODevice::WriteOnly)
            && file.write(bytes) == bytes.size());
}

QByteArray digest(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256).toHex();
}

QString reason(const Failure &failure)
{
    return failure.value_or(QString());
}

// Each row the store scans, in the form Direct::run gives.
QStringList scanned(const RateStore *store)
{
    const Result<QList<RateRecord>> rows = store->scan();
    if (!rows)
        return {u"error: "_s + rows.error};
    QStringList texts;
    for (const RateRecord &row : *rows)
        texts << valueText(row.yearFrom) + u' ' + valueText(row.yearTo) + u' '
                + valueText(row.rate);
    return texts;
}

int runTool(const QStringList &arguments, const QString &directory)
{
    QProcess tool;
    tool.setWorkingDirectory(directory);
    tool.start(QStringLiteral(NEW_STORE_TOOL), arguments);
    if (!tool.waitForFinished(60000) || tool.exitStatus() != QProcess::NormalExit)
        return -1;
    return tool.exitCode();
}

}  // namespace

class RateStoreTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }
    void init();
    void cleanup();
    void scan_data();
    void scan();
    void add_data();
    void add();
    void reopenReplacesTheStore();
    void refusedFile_data();
    void refusedFile();
    void tableGoneMeanwhile();
    void readOnly_data();
    void readOnly();
    void locked_data();
    void locked();
    void change_data();
    void change();
    void refusedChange_data();
    void refusedChange();
    void columnNamesMadeElsewhere_data();
    void columnNamesMadeElsewhere();
    void toolMakesAnEmptyTable();
    void toolLeavesThingsAsTheyAre_data();
    void toolLeavesThingsAsTheyAre();

private:
    RateStore *openWith(const QStringList &rows, const QString &columns = typedColumns);

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_path;
};

void RateStoreTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_path = m_dir->filePath(u"zel.mdb"_s);
    ProgramDirectory::override(m_dir->path());
}

void RateStoreTest::cleanup()
{
    RateStore::releaseShared();
    ProgramDirectory::override({});
    QFile::setPermissions(m_dir->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    m_dir.reset();
}

// Makes the table file beside the program and opens the shared store on it; nullptr on failure.
RateStore *RateStoreTest::openWith(const QStringList &rows, const QString &columns)
{
    if (!makeTable(m_path, columns, rows))
        return nullptr;
    const Failure failure = RateStore::openShared();
    if (failure)
        qWarning() << *failure;
    return failure ? nullptr : RateStore::shared();
}

void RateStoreTest::scan_data()
{
    QTest::addColumn<QString>("columns");
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("worked example")
        << typedColumns << QStringList {u"2003, 2004, 9.5"_s, u"2004, 2005, 8"_s}
        << QStringList {workedExample, u"2004 2005 8"_s};
    QTest::newRow("empty table") << typedColumns << QStringList() << QStringList();
    QTest::newRow("in the order added, not sorted")
        << typedColumns << QStringList {u"2010, 2011, 6"_s, u"2003, 2004, 9.5"_s}
        << QStringList {u"2010 2011 6"_s, workedExample};
    QTest::newRow("rate with no exact binary form")
        << typedColumns << QStringList {u"2005, 2006, 8.15"_s} << QStringList {u"2005 2006 8.15"_s};
    QTest::newRow("empty values") << typedColumns
                                  << QStringList {u"NULL, 2005, NULL"_s, u"2006, NULL, 7"_s}
                                  << QStringList {u"null 2005 null"_s, u"2006 null 7"_s};
    QTest::newRow("by position, not by name")
        << u"rate, yearto, yearfrom, note"_s << QStringList {u"2003, 2004, 9.5, 'old'"_s}
        << QStringList {workedExample};
}

void RateStoreTest::scan()
{
    QFETCH(QString, columns);
    QFETCH(QStringList, stored);
    QFETCH(QStringList, expected);
    RateStore *store = openWith(stored, columns);
    QVERIFY(store);
    QCOMPARE(scanned(store), expected);
    QCOMPARE(store->count().value, std::optional<qint64>(expected.size()));
}

void RateStoreTest::add_data()
{
    QTest::addColumn<double>("yearTo");
    QTest::addColumn<double>("rate");
    QTest::addColumn<QString>("added");  // empty when the store must refuse the row
    const double infinity = std::numeric_limits<double>::infinity();
    QTest::newRow("worked example") << 2006.0 << 7.25 << u"2005 2006 7.25"_s;
    QTest::newRow("rate with no exact binary form") << 2006.0 << 8.15 << u"2005 2006 8.15"_s;
    QTest::newRow("largest number")
        << 2006.0 << std::numeric_limits<double>::max() << u"2005 2006 1.7976931348623157e+308"_s;
    QTest::newRow("rate not a number") << 2006.0 << std::nan("") << QString();
    QTest::newRow("infinite rate") << 2006.0 << infinity << QString();
    QTest::newRow("year to minus infinity") << -infinity << 8.0 << QString();
}

void RateStoreTest::add()
{
    QFETCH(double, yearTo);
    QFETCH(double, rate);
    QFETCH(QString, added);
    const QStringList before {workedExample, u"2004 2005 8"_s};
    RateStore *store = openWith({u"2003, 2004, 9.5"_s, u"2004, 2005, 8"_s}, untypedColumns);
    QVERIFY(store);
    const QByteArray bytes = digest(m_path);

    const Failure failure = store->add(2005, yearTo, rate);
    if (added.isEmpty()) {
        QVERIFY2(failure && failure->contains(m_path), qPrintable(reason(failure)));
        QCOMPARE(digest(m_path), bytes);
        QCOMPARE(scanned(store), before);
        return;
    }
    QCOMPARE(reason(failure), QString());
    QCOMPARE(scanned(store), before + QStringList {added});
    QCOMPARE(store->count().value, std::optional<qint64>(3));
    // On disk, as numbers: a second connection sees it.
    const Direct other(m_path);
    QCOMPARE(other.run(allRows), before + QStringList {added});
    QCOMPARE(other.run(u"SELECT typeof(yearfrom), typeof(yearto), typeof(rate) FROM zel"
                       " WHERE yearfrom = 2005"_s),
        QStringList {u"real real real"_s});
}

void RateStoreTest::reopenReplacesTheStore()
{
    const RateStore *first = openWith({});
    QVERIFY(first);
    QCOMPARE(reason(RateStore::shared()->add(2003, 2004, 9.5)), QString());

    QCOMPARE(reason(RateStore::openShared()), QString());
    RateStore *second = RateStore::shared();
    QVERIFY(second != first);
    // The first store is gone with its connection: only the new one is left.
    QCOMPARE(QSqlDatabase::connectionNames().size(), 1);
    QCOMPARE(scanned(second), QStringList {workedExample});
    QCOMPARE(reason(second->add(2004, 2005, 8)), QString());
    QCOMPARE(scanned(second), (QStringList {workedExample, u"2004 2005 8"_s}));
}

void RateStoreTest::refusedFile_data()
{
    QTest::addColumn<Shape>("shape");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("says");
    QByteArray noise(8192, '\0');
    QRandomGenerator generator(2003);
    for (char &byte : noise)
        byte = char(generator.bounded(256));
    const QByteArray database = databaseBytes(typedColumns, {u"2003, 2004, 9.5"_s});
    QVERIFY(database.size() > 100);

    QTest::newRow("missing") << Shape::Missing << QByteArray() << u"missing"_s;
    QTest::newRow("folder") << Shape::Folder << QByteArray() << u"folder"_s;
    QTest::newRow("random bytes") << Shape::Bytes << noise << u"not a database"_s;
    QTest::newRow("text") << Shape::Bytes << "year from;year to;rate\n2003;2004;9.5\n"_ba
                          << u"not a database"_s;
    // SQLite takes an empty file for an empty database: it has no table.
    QTest::newRow("empty file") << Shape::Bytes << ""_ba << u"no such table"_s;
    QTest::newRow("cut inside the header") << Shape::Bytes << database.left(50) << u"malformed"_s;
    QTest::newRow("cut before the table")
        << Shape::Bytes << database.left(database.size() / 2) << u"malformed"_s;
    QTest::newRow("two columns") << Shape::Bytes
                                 << databaseBytes(u"yearfrom REAL, rate REAL"_s, {u"2003, 9.5"_s})
                                 << u"three columns"_s;
    QTest::newRow("no table zel") << Shape::Bytes
                                  << databaseBytes(typedColumns, {u"2003, 2004, 9.5"_s}, u"rates"_s)
                                  << u"no such table"_s;
}

// The program had the table open; then the file went, or something else took its place.
void RateStoreTest::refusedFile()
{
    QFETCH(Shape, shape);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, says);
    RateStore *store = openWith({u"2003, 2004, 9.5"_s});
    QVERIFY(store);
    QVERIFY(QFile::remove(m_path));
    QVERIFY(put(m_path, shape, bytes));
    const QByteArray before = digest(m_path);

    const Failure failure = RateStore::openShared();
    QVERIFY2(failure && failure->contains(m_path) && failure->contains(says),
        qPrintable(reason(failure)));
    // Nothing made, nothing left beside it, nothing written.
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
        shape == Shape::Missing ? QStringList() : QStringList {u"zel.mdb"_s});
    QCOMPARE(QFileInfo(m_path).isDir(), shape == Shape::Folder);
    QCOMPARE(digest(m_path), before);
    // The store open before stays in the slot, alone, and still reads what it had.
    QCOMPARE(RateStore::shared(), store);
    QCOMPARE(QSqlDatabase::connectionNames().size(), 1);
    QCOMPARE(scanned(store), QStringList {workedExample});
}

void RateStoreTest::tableGoneMeanwhile()
{
    RateStore *store = openWith({u"2003, 2004, 9.5"_s});
    QVERIFY(store);
    QCOMPARE(Direct(m_path).run(u"ALTER TABLE zel RENAME TO old"_s), QStringList());

    const QString gone = u"no such table"_s;
    const QString added = reason(store->add(2004, 2005, 8));
    const QString changed = reason(store->change(1, 2003, u"2004"_s, u"9"_s));
    QVERIFY2(added.contains(m_path) && added.contains(gone), qPrintable(added));
    QVERIFY2(changed.contains(m_path) && changed.contains(gone), qPrintable(changed));
    QVERIFY2(scanned(store).value(0).contains(gone), qPrintable(scanned(store).value(0)));
    QVERIFY2(store->count().error.contains(gone), qPrintable(store->count().error));
    QCOMPARE(Direct(m_path).run(u"SELECT * FROM old"_s), QStringList {workedExample});
}

void RateStoreTest::readOnly_data()
{
    QTest::addColumn<int>("filePermissions");
    QTest::addColumn<int>("folderPermissions");
    const QFile::Permissions read = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
    const QFile::Permissions write = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    const QFile::Permissions enter = QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther;
    QTest::newRow("read-only file") << int(read) << int(read | enter | QFile::WriteOwner);
    // The file may be written, but SQLite cannot put its journal beside it.
    QTest::newRow("read-only folder") << int(read | write) << int(read | enter);
}

void RateStoreTest::readOnly()
{
    QFETCH(int, filePermissions);
    QFETCH(int, folderPermissions);
    QVERIFY(makeTable(m_path, typedColumns, {u"2003, 2004, 9.5"_s}));
    const QByteArray before = digest(m_path);
    QVERIFY(QFile::setPermissions(m_path, QFile::Permissions::fromInt(filePermissions)));
    QVERIFY(QFile::setPermissions(m_dir->path(), QFile::Permissions::fromInt(folderPermissions)));
#ifdef Q_OS_LINUX
    // Permissions do not bind the superuser; for files, it can act as an ordinary user a while.
    const int superuser = geteuid() == 0 ? setfsuid(65534) : -1;
    const auto restore = qScopeGuard([superuser] {
        if (superuser >= 0)
            setfsuid(uid_t(superuser));
    });
#endif
    if (!QFile(m_path).open(QIODevice::ReadOnly)
        || (QFile(m_path).open(QIODevice::ReadWrite)
            && QFile(m_dir->filePath(u"probe"_s)).open(QIODevice::WriteOnly)))
        QSKIP("Permissions here do not make a readable, unwritable table for this user.");

    QCOMPARE(reason(RateStore::openShared()), QString());
    const Failure added = RateStore::shared()->add(2004, 2005, 8);
    QVERIFY2(added && added->contains(m_path), qPrintable(reason(added)));
    QCOMPARE(digest(m_path), before);
    QCOMPARE(scanned(RateStore::shared()), QStringList {workedExample});
}

void RateStoreTest::locked_data()
{
    QTest::addColumn<bool>("opening");
    QTest::newRow("opening") << true;
    QTest::newRow("adding") << false;
}

void RateStoreTest::locked()
{
    QFETCH(bool, opening);
    RateStore *store = openWith({u"2003, 2004, 9.5"_s});
    QVERIFY(store);
    const Direct other(m_path);
    QCOMPARE(other.run(u"BEGIN EXCLUSIVE"_s), QStringList());

    QElapsedTimer timer;
    timer.start();
    const Failure failure = opening ? RateStore::openShared() : store->add(2004, 2005, 8);
    const qint64 waited = timer.elapsed();
    QVERIFY2(failure && failure->contains(m_path), qPrintable(reason(failure)));
    // The store gives the other program a moment, then reports instead of hanging.
    QVERIFY2(waited >= 1000 && waited < 10000, qPrintable(QString::number(waited)));
    QCOMPARE(RateStore::shared(), store);

    QCOMPARE(other.run(u"COMMIT"_s), QStringList());
    QCOMPARE(reason(store->add(2004, 2005, 8)), QString());
    QCOMPARE(reason(RateStore::openShared()), QString());
    QCOMPARE(scanned(RateStore::shared()), (QStringList {workedExample, u"2004 2005 8"_s}));
}

void RateStoreTest::change_data()
{
    QTest::addColumn<QString>("yearTo");
    QTest::addColumn<QString>("rate");
    QTest::addColumn<QString>("expected");
    QTest::newRow("whole numbers") << u"2006"_s << u"10"_s << u"2004 2006 10"_s;
    QTest::newRow("blanks around") << u" 2006 "_s << u" 9.75 "_s << u"2004 2006 9.75"_s;
    QTest::newRow("tab and line feed around") << u"\t2006\n"_s << u"8"_s << u"2004 2006 8"_s;
    QTest::newRow("exponent") << u"2.006E3"_s << u"1E1"_s << u"2004 2006 10"_s;
    QTest::newRow("signs") << u"+2006"_s << u"-0.5"_s << u"2004 2006 -0.5"_s;
    QTest::newRow("zero") << u"2006"_s << u"0"_s << u"2004 2006 0"_s;
}

void RateStoreTest::change()
{
    QFETCH(QString, yearTo);
    QFETCH(QString, rate);
    QFETCH(QString, expected);
    RateStore *store = openWith({u"2003, 2004, 9.5"_s, u"2004, 2005, 8"_s}, untypedColumns);
    QVERIFY(store);
    const Result<QList<RateRecord>> rows = store->scan();
    QVERIFY(rows && rows->size() == 2);

    QCOMPARE(reason(store->change(rows->at(1).row, 2004, yearTo, rate)), QString());
    const Direct other(m_path);
    QCOMPARE(other.run(allRows), (QStringList {workedExample, expected}));
    const QString types = other
                              .run(u"SELECT typeof(yearfrom), typeof(yearto), typeof(rate)"
                                   " FROM zel WHERE yearfrom = 2004"_s)
                              .value(0);
    QVERIFY2(QRegularExpression(u"^((real|integer) ?){3}$"_s).match(types).hasMatch(),
        qPrintable(types));
}

void RateStoreTest::refusedChange_data()
{
    QTest::addColumn<QString>("yearTo");
    QTest::addColumn<QString>("rate");
    QTest::addColumn<QString>("offending");
    const auto badRate = [](const char *name, const QString &text) {
        QTest::newRow(name) << u"2006"_s << text << text;
    };
    const auto badYearTo = [](const char *name, const QString &text) {
        QTest::newRow(name) << text << u"9.5"_s << text;
    };
    badRate("empty rate", QString());
    badRate("letters", u"abc"_s);
    badRate("percent sign", u"9.5%"_s);
    badRate("thousands separator", u"1,000"_s);
    badRate("decimal comma", u"9,5"_s);
    badRate("infinity", u"inf"_s);
    badRate("not a number", u"nan"_s);
    badRate("beyond the largest number", u"1E400"_s);
    badRate("statement", u"1); DROP TABLE zel; --"_s);
    badYearTo("empty year to", QString());
    badYearTo("letters in year to", u"2006a"_s);
    badYearTo("statement in year to", u"2006 WHERE 1=1; --"_s);
}

void RateStoreTest::refusedChange()
{
    QFETCH(QString, yearTo);
    QFETCH(QString, rate);
    QFETCH(QString, offending);
    RateStore *store = openWith({u"2003, 2004, 9.5"_s, u"2004, 2005, 8"_s});
    QVERIFY(store);
    const QByteArray before = digest(m_path);
    const Result<QList<RateRecord>> rows = store->scan();
    QVERIFY(rows && rows->size() == 2);

    const Failure failure = store->change(rows->at(1).row, 2004, yearTo, rate);
    // The user sees exactly what was typed, blanks and all.
    QVERIFY2(failure && failure->contains(u'"' + offending + u'"'), qPrintable(reason(failure)));
    QCOMPARE(digest(m_path), before);
    QCOMPARE(scanned(store), (QStringList {workedExample, u"2004 2005 8"_s}));
}

void RateStoreTest::columnNamesMadeElsewhere_data()
{
    QTest::addColumn<QString>("columns");
    QTest::newRow("blanks") << u"\"year from\", \"year to\", \"rate in %\""_s;
    QTest::newRow("brackets") << u"\"from [year]\", \"to [year]\", \"rate [%]\""_s;
}

void RateStoreTest::columnNamesMadeElsewhere()
{
    QFETCH(QString, columns);
    RateStore *store = openWith({u"2003, 2004, 9.5"_s}, columns);
    QVERIFY(store);
    QCOMPARE(reason(store->add(2004, 2005, 8)), QString());
    const Result<QList<RateRecord>> rows = store->scan();
    QVERIFY(rows && rows->size() == 2);
    QCOMPARE(reason(store->change(rows->at(0).row, 2003, u"2004"_s, u"9.75"_s)), QString());
    QCOMPARE(Direct(m_path).run(allRows), (QStringList {u"2003 2004 9.75"_s, u"2004 2005 8"_s}));
}

void RateStoreTest::toolMakesAnEmptyTable()
{
    QCOMPARE(runTool({m_path}, m_dir->path()), 0);
    QCOMPARE(Direct(m_path).run(u"SELECT name FROM pragma_table_info('zel')"_s).size(), 3);
    QCOMPARE(reason(RateStore::openShared()), QString());
    QCOMPARE(scanned(RateStore::shared()), QStringList());
    QCOMPARE(reason(RateStore::shared()->add(2003, 2004, 9.5)), QString());
    QCOMPARE(scanned(RateStore::shared()), QStringList {workedExample});
}

void RateStoreTest::toolLeavesThingsAsTheyAre_data()
{
    QTest::addColumn<QByteArray>("existing");  // null: no file there; empty: an empty file
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    const QStringList table {u"zel.mdb"_s};
    QTest::newRow("table with rows")
        << databaseBytes(typedColumns, {u"2003, 2004, 9.5"_s, u"2004, 2005, 8"_s}) << table << 0;
    QTest::newRow("text") << "2003;2004;9.5\n"_ba << table << 0;
    QTest::newRow("empty file") << ""_ba << table << 0;
    QTest::newRow("no path") << QByteArray() << QStringList() << 2;
    QTest::newRow("two paths") << QByteArray() << QStringList {u"a.mdb"_s, u"b.mdb"_s} << 2;
    QTest::newRow("folder that does not exist")
        << QByteArray() << QStringList {u"missing/zel.mdb"_s} << 1;
}

void RateStoreTest::toolLeavesThingsAsTheyAre()
{
    QFETCH(QByteArray, existing);
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QVERIFY(put(m_path, existing.isNull() ? Shape::Missing : Shape::Bytes, existing));
    const QByteArray before = digest(m_path);
    const auto entries
        = [this] { return QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot); };
    const QStringList entriesBefore = entries();

    QCOMPARE(runTool(arguments, m_dir->path()), exitCode);
    QCOMPARE(digest(m_path), before);
    QCOMPARE(entries(), entriesBefore);
}

QTEST_GUILESS_MAIN(RateStoreTest)
#include "ratestore_test.moc"
