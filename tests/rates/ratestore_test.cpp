#include "programfolder.h"
#include "ratestore.h"
#include "ratetablefile.h"
#include "sharedrates.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_LINUX
#include <sys/fsuid.h>
#endif

using namespace Qt::StringLiterals;

namespace {

const QString typedColumns = u"yearfrom REAL, yearto REAL, rate REAL"_s;
// Untyped, so SQLite keeps a value as it was bound (a text stays a text), and named with blanks
// and brackets, which SQLite takes neither bare nor as Qt's driver quotes them.
const QString oddColumns = uR"("year from", "[year to]", "rate in %")"_s;
const QStringList workedRows {u"2003, 2004, 9.5"_s, u"2004, 2005, 8"_s};
const QStringList workedExample {u"2003 2004 9.5"_s, u"2004 2005 8"_s};

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

// The file a statement makes in a new database.
QByteArray fileMadeBy(const QString &statement)
{
    const QTemporaryDir dir;
    const QString path = dir.filePath(u"made.mdb"_s);
    return RateTableFile::exec(path, {statement}) ? bytes(path) : QByteArray();
}

// A row as its values separated by blanks: an empty value as null, a text in quotes.
QString rowText(const QVariantList &values)
{
    QStringList texts;
    for (const QVariant &value : values)
        texts << (value.isNull()                       ? u"null"_s
                : value.typeId() == QMetaType::QString ? u'\'' + value.toString() + u'\''
                                                       : value.toString());
    return texts.join(u' ');
}

// The rows as the store scans them.
QStringList scanned(RateStore *store)
{
    const Result<QList<RateRecord>> rows = store->scan();
    if (!rows)
        return {u"error: "_s + rows.error};
    const auto value = [](std::optional<double> n) { return n ? QVariant(*n) : QVariant(); };
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
        texts << rowText({row[0], row[1], row[2]});
    return texts;
}

}  // namespace

class RateStoreTest : public QObject
{
    Q_OBJECT

    std::optional<ProgramFolder> m_folder;
    std::optional<SharedRates> m_rates;
    QString m_path;

    // Makes the table beside the program (the rows in one statement), with the tool when no
    // columns are given, and opens the shared store on it: the reason it fails, or nothing.
    QString openWith(const QStringList &rows, const QString &columns = typedColumns)
    {
        const QStringList table {u"CREATE TABLE zel (%1)"_s.arg(columns),
            u"INSERT INTO zel VALUES (%1)"_s.arg(rows.join(u"), ("_s))};
        const bool made = columns.isEmpty()
            ? QProcess::execute(QStringLiteral(NEW_STORE_TOOL), {m_path}) == 0
            : RateTableFile::exec(m_path, table);
        return made ? m_rates->openAfresh().value_or(QString()) : u"no table made"_s;
    }

private slots:
    void init()
    {
        m_rates.reset();
        m_folder.emplace(std::nullopt);  // each test makes its own table
        QVERIFY(m_folder->ready());
        m_rates.emplace(m_folder->path());
        m_path = m_folder->tablePath();
    }

    void scanAddReopen_data()
    {
        QTest::addColumn<QString>("columns");
        QTest::addColumn<QStringList>("stored");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("worked example") << typedColumns << workedRows << workedExample;
        QTest::newRow("made by the tool") << QString() << QStringList() << QStringList();
        QTest::newRow("empty values") << typedColumns << QStringList {u"NULL, NULL, NULL"_s}
                                      << QStringList {u"null null null"_s};
        QTest::newRow("column names needing quotes") << oddColumns << workedRows << workedExample;
    }

    void scanAddReopen()
    {
        QFETCH(QString, columns);
        QFETCH(QStringList, stored);
        QFETCH(QStringList, expected);
        QCOMPARE(openWith(stored, columns), QString());
        RateStore *store = m_rates->store();
        QCOMPARE(scanned(store), expected);
        QCOMPARE(store->count().value, std::optional<qint64>(expected.size()));

        // A value SQLite cannot keep as given is refused before anything is written.
        QVERIFY(store->add(2005, 2006, qQNaN()).error.contains(m_path));
        QVERIFY(store->add(2005, -qInf(), 8).error.contains(m_path));
        QCOMPARE(store->add(2005, 2006, 8.15).value, RateStore::Added::Saved);
        // A year from that is there already is not added again, whatever the other values, also
        // by another copy of the program that asks second.
        {
            const Result<std::unique_ptr<RateStore>> other = RateStore::open(m_path);
            QVERIFY2(other, qPrintable(other.error));
            QCOMPARE((*other.value)->add(2005, 2007, 9).value, RateStore::Added::Duplicate);
        }
        expected << u"2005 2006 8.15"_s;
        QCOMPARE(scanned(store), expected);
        QCOMPARE(store->count().value, std::optional<qint64>(expected.size()));
        QCOMPARE(onDisk(m_path), expected);

        // A second open replaces the store, and the first goes with its connection.
        QCOMPARE(m_rates->openAfresh(), Failure());
        QVERIFY(m_rates->store() != store);
        QCOMPARE(QSqlDatabase::connectionNames().size(), 1);
        QCOMPARE(scanned(m_rates->store()), expected);

        // A change writes over the row a scan found and no other; a value SQLite cannot keep is
        // refused, naming the file, and the row stays as it was.
        store = m_rates->store();
        const qint64 row = store->scan().value->last().row;
        QCOMPARE(store->change(row, 2005, 2007, 9.75), Failure());
        QVERIFY(store->change(row, 2005, 2008, qQNaN()).value_or(QString()).contains(m_path));
        QVERIFY(store->change(row, 2005, qInf(), 8).value_or(QString()).contains(m_path));
        expected.last() = u"2005 2007 9.75"_s;
        QCOMPARE(onDisk(m_path), expected);
    }

    void refusedFile_data()
    {
        QTest::addColumn<QByteArray>("content");  // null: nothing there
        QTest::addColumn<bool>("folder");
        const QByteArray database = fileMadeBy(u"CREATE TABLE zel (%1)"_s.arg(typedColumns));
        QTest::newRow("missing") << QByteArray() << false;
        QTest::newRow("folder") << QByteArray() << true;
        QTest::newRow("text") << "year from;year to;rate\n"_ba << false;
        // SQLite takes an empty file for an empty database: it has no table.
        QTest::newRow("empty file") << ""_ba << false;
        QTest::newRow("cut short") << database.left(database.size() / 2) << false;
        QTest::newRow("two columns") << fileMadeBy(u"CREATE TABLE zel (a, b)"_s) << false;
        QTest::newRow("no table zel") << fileMadeBy(u"CREATE TABLE rates (a, b, c)"_s) << false;
    }

    // The program had the table open; then the file went, or something else took its place.
    void refusedFile()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, folder);
        QCOMPARE(openWith({workedRows[0]}), QString());
        RateStore *store = m_rates->store();
        const QByteArray original = bytes(m_path);
        QVERIFY(QFile::remove(m_path));
        QVERIFY(folder ? QDir().mkdir(m_path) : content.isNull() || writeFile(m_path, content));
        // The tool leaves a file that is there as it is, whatever it holds.
        if (!content.isNull())
            QCOMPARE(QProcess::execute(QStringLiteral(NEW_STORE_TOOL), {m_path}), 0);

        const QString failure = m_rates->openAfresh().value_or(QString());
        QVERIFY2(failure.contains(m_path), qPrintable(failure));
        QCOMPARE(bytes(m_path), content);
        QCOMPARE(QFile::exists(m_path), folder || !content.isNull());
        // The store open before stays in the slot, alone. It does not read or write what is
        // gone, and takes the file up again once it is back.
        QCOMPARE(m_rates->store(), store);
        QCOMPARE(QSqlDatabase::connectionNames().size(), 1);
        const QString lost = scanned(store).join(u' ');
        QVERIFY2(lost.startsWith(u"error: "_s) && lost.contains(m_path), qPrintable(lost));
        QVERIFY(store->add(2004, 2005, 8).error.contains(m_path));
        if (content.isNull() && !folder)
            QVERIFY(lost.contains(u"removed or moved"_s));
        QVERIFY(folder ? QDir().rmdir(m_path) : QFile::remove(m_path) || content.isNull());
        QVERIFY(writeFile(m_path, original));
        QCOMPARE(store->add(2004, 2005, 8).value, RateStore::Added::Saved);
        QCOMPARE(scanned(store), workedExample);
        QCOMPARE(QSqlDatabase::connectionNames().size(), 1);
    }

    void readOnlyFile()
    {
        QCOMPARE(openWith({workedRows[0]}), QString());
        const QByteArray before = bytes(m_path);
        // Only the file is read-only (0x4444: read for all); anyone may put a journal in the
        // folder (0x7777: every flag).
        QVERIFY(QFile::setPermissions(m_path, QFile::Permissions::fromInt(0x4444)));
        QVERIFY(
            QFile::setPermissions(QFileInfo(m_path).path(), QFile::Permissions::fromInt(0x7777)));
#ifdef Q_OS_LINUX
        // Permissions do not bind the superuser; for files, it can act as an ordinary user a while
        // (for anyone else the call changes nothing).
        const uid_t previous = setfsuid(65534);
        const auto restore = qScopeGuard([previous] { setfsuid(previous); });
#endif
        if (!QFile(m_path).open(QIODevice::ReadOnly) || QFile(m_path).open(QIODevice::ReadWrite))
            QSKIP("Permissions here do not make a readable, unwritable table for this user.");
        QCOMPARE(m_rates->openAfresh(), Failure());
        const QString failure = m_rates->store()->add(2004, 2005, 8).error;
        QVERIFY2(failure.contains(m_path), qPrintable(failure));
        QCOMPARE(bytes(m_path), before);
    }

    // Another connection holds the file until it closes, as another program might: the store
    // gives it a moment (about a second and a half, not the driver's five), then reports instead
    // of hanging, and writes once the file is free.
    void locked()
    {
        QCOMPARE(openWith({workedRows[0]}), QString());
        QElapsedTimer timer;
        timer.start();
        const QString failure = RateTableFile::withDatabase(m_path, [this](QSqlDatabase &db) {
            QSqlQuery(db).exec(u"BEGIN EXCLUSIVE"_s);
            return m_rates->store()->add(2004, 2005, 8).error;
        });
        const qint64 waited = timer.elapsed();
        QVERIFY2(failure.contains(m_path), qPrintable(failure));
        QVERIFY2(waited >= 1000 && waited < 4000, qPrintable(QString::number(waited)));
        QCOMPARE(m_rates->store()->add(2004, 2005, 8).value, RateStore::Added::Saved);
    }
};

QTEST_GUILESS_MAIN(RateStoreTest)
#include "ratestore_test.moc"
