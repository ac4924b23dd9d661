#include "programdirectory.h"
#include "ratestore.h"
#include "ratetablefile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocale>
#include <QProcess>
#include <QScopeGuard>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <limits>
#include <memory>

#ifdef Q_OS_LINUX
#include <sys/fsuid.h>
#include <unistd.h>
#endif

using namespace Qt::StringLiterals;

namespace {

const QString typedColumns = u"yearfrom REAL, yearto REAL, rate REAL"_s;
// Untyped, so SQLite keeps a value as it was bound (a text stays a text), and named as a table
// made elsewhere may be: with blanks and brackets, which SQLite takes neither bare nor as Qt's
// driver quotes them.
const QString oddColumns = uR"("year from", "[year to]", "rate in %")"_s;
const QStringList workedRows {u"2003, 2004, 9.5"_s, u"2004, 2005, 8"_s};
const QStringList workedExample {u"2003 2004 9.5"_s, u"2004 2005 8"_s};

bool makeTable(const QString &path, const QString &columns, const QStringList &rows,
    const QString &table = u"zel"_s)
{
    QStringList statements {u"CREATE TABLE %1 (%2)"_s.arg(table, columns)};
    for (const QString &row : rows)
        statements << u"INSERT INTO %1 VALUES (%2)"_s.arg(table, row);
    return RateTableFile::exec(path, statements);
}

QByteArray bytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

QByteArray databaseBytes(const QString &columns, const QString &row = u"2003, 2004, 9.5"_s,
    const QString &table = u"zel"_s)
{
    const QTemporaryDir dir;
    const QString path = dir.filePath(u"made.mdb"_s);
    return makeTable(path, columns, {row}, table) ? bytes(path) : QByteArray();
}

int runTool(const QStringList &arguments, const QString &directory)
{
    QProcess tool;
    tool.setWorkingDirectory(directory);
    tool.start(QStringLiteral(NEW_STORE_TOOL), arguments);
    const bool finished = tool.waitForFinished(60000) && tool.exitStatus() == QProcess::NormalExit;
    return finished ? tool.exitCode() : -1;
}

QString reason(const Failure &failure)
{
    return failure.value_or(QString());
}

// A row as its values separated by blanks: an empty value as null, a text in quotes.
QString rowText(const QList<QVariant> &values)
{
    QStringList texts;
    for (const QVariant &value : values) {
        texts << (value.isNull()                       ? u"null"_s
                : value.typeId() == QMetaType::QString ? u'\'' + value.toString() + u'\''
                                                       : value.toString());
    }
    return texts.join(u' ');
}

QStringList scanned(const RateStore *store)
{
    const Result<QList<RateRecord>> rows = store->scan();
    if (!rows)
        return {u"error: "_s + rows.error};
    const auto value = [](const std::optional<double> &number) {
        return number ? QVariant(*number) : QVariant();
    };
    QStringList texts;
    for (const RateRecord &row : *rows)
        texts << rowText({value(row.yearFrom), value(row.yearTo), value(row.rate)});
    return texts;
}

// The rows as the test's own connection reads them from the file.
QStringList onDisk(const QString &path)
{
    QStringList texts;
    for (const RateTableFile::Row &row : RateTableFile::rows(path))
        texts << rowText(QList<QVariant>(row.begin(), row.end()));
    return texts;
}

}  // namespace

class RateStoreTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }
    void init();
    void cleanup();
    void scanAddReopen_data();
    void scanAddReopen();
    void addRefusesNonFinite_data();
    void addRefusesNonFinite();
    void refusedFile_data();
    void refusedFile();
    void tableGoneMeanwhile();
    void readOnlyFile();
    void locked();
    void change_data();
    void change();
    void tool_data();
    void tool();

private:
    RateStore *openWith(const QStringList &rows, const QString &columns = typedColumns);
    QStringList entries() const
    {
        return QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    }

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
    m_dir.reset();
}

// Makes the table file beside the program, with the tool when no columns are given, and opens the
// shared store on it; nullptr on failure.
RateStore *RateStoreTest::openWith(const QStringList &rows, const QString &columns)
{
    const bool made = columns.isEmpty() ? runTool({m_path}, m_dir->path()) == 0
                                        : makeTable(m_path, columns, rows);
    const Failure failure = made ? RateStore::openShared() : u"no table made"_s;
    if (failure)
        qWarning() << *failure;
    return failure ? nullptr : RateStore::shared();
}

void RateStoreTest::scanAddReopen_data()
{
    QTest::addColumn<QString>("columns");
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("worked example") << typedColumns << workedRows << workedExample;
    QTest::newRow("empty table made by the tool") << QString() << QStringList() << QStringList();
    QTest::newRow("in the order added, rate with no exact binary form")
        << typedColumns << QStringList {u"2010, 2011, 8.15"_s, u"2003, 2004, 9.5"_s}
        << QStringList {u"2010 2011 8.15"_s, u"2003 2004 9.5"_s};
    QTest::newRow("empty values") << typedColumns
                                  << QStringList {u"NULL, 2005, NULL"_s, u"2006, NULL, 7"_s}
                                  << QStringList {u"null 2005 null"_s, u"2006 null 7"_s};
    QTest::newRow("by position, not by name")
        << u"rate, yearto, yearfrom, note"_s << QStringList {u"2003, 2004, 9.5, 'old'"_s}
        << QStringList {u"2003 2004 9.5"_s};
    QTest::newRow("column names needing quotes") << oddColumns << workedRows << workedExample;
}

void RateStoreTest::scanAddReopen()
{
    QFETCH(QString, columns);
    QFETCH(QStringList, stored);
    QFETCH(QStringList, expected);
    RateStore *store = openWith(stored, columns);
    QVERIFY(store);
    QCOMPARE(scanned(store), expected);
    QCOMPARE(store->count().value, std::optional<qint64>(expected.size()));

    QCOMPARE(reason(store->add(2005, 2006, 8.15)), QString());
    expected << u"2005 2006 8.15"_s;
    QCOMPARE(scanned(store), expected);
    QCOMPARE(store->count().value, std::optional<qint64>(expected.size()));
    QCOMPARE(onDisk(m_path), expected);

    // A second open replaces the store, and the first goes with its connection.
    QCOMPARE(reason(RateStore::openShared()), QString());
    QVERIFY(RateStore::shared() != store);
    QCOMPARE(QSqlDatabase::connectionNames().size(), 1);
    QCOMPARE(scanned(RateStore::shared()), expected);
}

void RateStoreTest::addRefusesNonFinite_data()
{
    QTest::addColumn<double>("yearTo");
    QTest::addColumn<double>("rate");
    const double infinity = std::numeric_limits<double>::infinity();
    QTest::newRow("rate not a number") << 2006.0 << std::numeric_limits<double>::quiet_NaN();
    QTest::newRow("infinite rate") << 2006.0 << infinity;
    QTest::newRow("year to minus infinity") << -infinity << 8.0;
}

void RateStoreTest::addRefusesNonFinite()
{
    QFETCH(double, yearTo);
    QFETCH(double, rate);
    RateStore *store = openWith(workedRows);
    QVERIFY(store);
    const QByteArray before = bytes(m_path);
    const Failure failure = store->add(2005, yearTo, rate);
    QVERIFY2(failure && failure->contains(m_path), qPrintable(reason(failure)));
    QCOMPARE(bytes(m_path), before);
}

void RateStoreTest::refusedFile_data()
{
    QTest::addColumn<QByteArray>("content");  // null: nothing there
    QTest::addColumn<bool>("folder");
    QTest::addColumn<QString>("says");
    const QByteArray database = databaseBytes(typedColumns);
    QVERIFY(database.size() > 100);
    QTest::newRow("missing") << QByteArray() << false << u"missing"_s;
    QTest::newRow("folder") << QByteArray() << true << u"folder"_s;
    QTest::newRow("text") << "year from;year to;rate\n2003;2004;9.5\n"_ba << false
                          << u"not a database"_s;
    // SQLite takes an empty file for an empty database: it has no table.
    QTest::newRow("empty file") << ""_ba << false << u"no such table"_s;
    QTest::newRow("cut short") << database.left(database.size() / 2) << false << u"malformed"_s;
    QTest::newRow("two columns") << databaseBytes(u"yearfrom REAL, rate REAL"_s, u"2003, 9.5"_s)
                                 << false << u"three columns"_s;
    QTest::newRow("no table zel") << databaseBytes(typedColumns, u"2003, 2004, 9.5"_s, u"rates"_s)
                                  << false << u"no such table"_s;
}

// The program had the table open; then the file went, or something else took its place.
void RateStoreTest::refusedFile()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, folder);
    QFETCH(QString, says);
    RateStore *store = openWith({u"2003, 2004, 9.5"_s});
    QVERIFY(store);
    QVERIFY(QFile::remove(m_path));
    QVERIFY(folder ? QDir().mkdir(m_path) : content.isNull() || writeFile(m_path, content));

    const Failure failure = RateStore::openShared();
    QVERIFY2(failure && failure->contains(m_path) && failure->contains(says),
        qPrintable(reason(failure)));
    // Nothing made, nothing left beside it, nothing written.
    QCOMPARE(entries(), content.isNull() && !folder ? QStringList() : QStringList {u"zel.mdb"_s});
    QCOMPARE(bytes(m_path), content);
    // The store open before stays in the slot, alone, and still reads what it had.
    QCOMPARE(RateStore::shared(), store);
    QCOMPARE(QSqlDatabase::connectionNames().size(), 1);
    QCOMPARE(scanned(store), QStringList {workedExample[0]});
}

// An error, not an empty table, when the table went away under an open store.
void RateStoreTest::tableGoneMeanwhile()
{
    RateStore *store = openWith({u"2003, 2004, 9.5"_s});
    QVERIFY(store);
    QVERIFY(RateTableFile::exec(m_path, {u"ALTER TABLE zel RENAME TO old"_s}));
    for (const QString &error :
        {scanned(store).value(0), store->count().error, reason(store->add(2004, 2005, 8))})
        QVERIFY2(error.contains(m_path) && error.contains(u"no such table"), qPrintable(error));
}

void RateStoreTest::readOnlyFile()
{
    QVERIFY(makeTable(m_path, typedColumns, {u"2003, 2004, 9.5"_s}));
    const QByteArray before = bytes(m_path);
    QVERIFY(QFile::setPermissions(m_path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    // Only the file is read-only: anyone may put a journal in the folder (0x7777: every flag).
    QVERIFY(QFile::setPermissions(m_dir->path(), QFile::Permissions::fromInt(0x7777)));
#ifdef Q_OS_LINUX
    // Permissions do not bind the superuser; for files, it can act as an ordinary user a while.
    const int superuser = geteuid() == 0 ? setfsuid(65534) : -1;
    const auto restore = qScopeGuard([superuser] {
        if (superuser >= 0)
            setfsuid(uid_t(superuser));
    });
#endif
    if (!QFile(m_path).open(QIODevice::ReadOnly) || QFile(m_path).open(QIODevice::ReadWrite))
        QSKIP("Permissions here do not make a readable, unwritable table for this user.");

    QCOMPARE(reason(RateStore::openShared()), QString());
    const Failure added = RateStore::shared()->add(2004, 2005, 8);
    QVERIFY2(added && added->contains(m_path), qPrintable(reason(added)));
    QCOMPARE(bytes(m_path), before);
}

void RateStoreTest::locked()
{
    RateStore *store = openWith({u"2003, 2004, 9.5"_s});
    QVERIFY(store);
    qint64 waited = 0;
    // Another connection holds the file until it closes, as another program might.
    const Failure failure = RateTableFile::withDatabase(m_path, [&](QSqlDatabase &db) {
        QSqlQuery(db).exec(u"BEGIN EXCLUSIVE"_s);
        QElapsedTimer timer;
        timer.start();
        const Failure result = store->add(2004, 2005, 8);
        waited = timer.elapsed();
        return result;
    });
    QVERIFY2(failure && failure->contains(m_path), qPrintable(reason(failure)));
    // The store gives the other program a moment, then reports instead of hanging.
    QVERIFY2(waited >= 1000 && waited < 10000, qPrintable(QString::number(waited)));
    QCOMPARE(reason(store->add(2004, 2005, 8)), QString());
    QCOMPARE(scanned(store), workedExample);
}

void RateStoreTest::change_data()
{
    QTest::addColumn<QString>("yearTo");
    QTest::addColumn<QString>("rate");
    QTest::addColumn<QString>("stored");     // the changed row on disk; empty when refused
    QTest::addColumn<QString>("offending");  // the text the refusal must quote
    const auto accept
        = [](const char *name, const QString &yearTo, const QString &rate, const QString &stored) {
              QTest::newRow(name) << yearTo << rate << stored << QString();
          };
    const auto refuse = [](const char *name, const QString &yearTo, const QString &rate) {
        QTest::newRow(name) << yearTo << rate << QString() << (yearTo == u"2006" ? rate : yearTo);
    };
    accept("whole numbers", u"2006"_s, u"10"_s, u"2004 2006 10"_s);
    accept("blanks around", u"\t2006\n"_s, u" 9.75 "_s, u"2004 2006 9.75"_s);
    accept("exponent", u"2.006E3"_s, u"1E1"_s, u"2004 2006 10"_s);
    accept("signs", u"+2006"_s, u"-0.5"_s, u"2004 2006 -0.5"_s);
    refuse("empty rate", u"2006"_s, QString());
    refuse("letters", u"2006"_s, u"abc"_s);
    refuse("percent sign", u"2006"_s, u"9.5%"_s);
    refuse("thousands separator", u"2006"_s, u"1,000"_s);
    refuse("infinity", u"2006"_s, u"inf"_s);
    refuse("statement", u"2006"_s, u"1); DROP TABLE zel; --"_s);
    refuse("letters in year to", u"2006a"_s, u"9.5"_s);
}

void RateStoreTest::change()
{
    QFETCH(QString, yearTo);
    QFETCH(QString, rate);
    QFETCH(QString, stored);
    QFETCH(QString, offending);
    RateStore *store = openWith(workedRows, oddColumns);
    QVERIFY(store);
    const QByteArray before = bytes(m_path);
    const Result<QList<RateRecord>> rows = store->scan();
    QVERIFY(rows && rows->size() == 2);

    const Failure failure = store->change(rows->at(1).row, 2004, yearTo, rate);
    if (stored.isEmpty()) {
        // The user sees exactly what was typed, blanks and all.
        QVERIFY2(
            failure && failure->contains(u'"' + offending + u'"'), qPrintable(reason(failure)));
        QCOMPARE(bytes(m_path), before);
        return;
    }
    QCOMPARE(reason(failure), QString());
    QCOMPARE(onDisk(m_path), (QStringList {workedExample[0], stored}));
}

void RateStoreTest::tool_data()
{
    QTest::addColumn<QByteArray>("existing");  // null: no file there
    // An empty table made by the tool is in the scan test.
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    const QStringList table {u"zel.mdb"_s};
    QTest::newRow("table with rows") << databaseBytes(typedColumns) << table << 0;
    QTest::newRow("empty file") << ""_ba << table << 0;
    QTest::newRow("no path") << QByteArray() << QStringList() << 2;
    QTest::newRow("two paths") << QByteArray() << QStringList {u"a.mdb"_s, u"b.mdb"_s} << 2;
    QTest::newRow("folder that does not exist")
        << QByteArray() << QStringList {u"missing/zel.mdb"_s} << 1;
}

void RateStoreTest::tool()
{
    QFETCH(QByteArray, existing);
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QVERIFY(existing.isNull() || writeFile(m_path, existing));
    const QStringList before = entries();

    QCOMPARE(runTool(arguments, m_dir->path()), exitCode);
    QCOMPARE(bytes(m_path), existing);
    QCOMPARE(entries(), before);
}

QTEST_GUILESS_MAIN(RateStoreTest)
#include "ratestore_test.moc"
