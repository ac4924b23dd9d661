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

QString reason(const Failure &failure)
{
    return failure.value_or(QString());
}

template<typename T> QString reason(const Result<T> &result)
{
    return result.error;
}

// Each row as its values separated by blanks, an empty value as null.
QStringList scanned(RateStore *store)
{
    const Result<QList<RateRecord>> rows = store->scan();
    if (!rows)
        return {u"error: "_s + rows.error};
    const auto text = [](auto n) { return n ? QVariant(*n).toString() : u"null"_s; };
    QStringList texts;
    for (const RateRecord &row : *rows)
        texts << QStringList {text(row.yearFrom), text(row.yearTo), text(row.rate)}.join(u' ');
    return texts;
}

// The rows as the test's own connection reads them from the file, as scanned() writes them, and a
// text value in quotes.
QStringList onDisk(const QString &path)
{
    QStringList texts;
    for (const RateTableFile::Row &row : RateTableFile::rows(path)) {
        QStringList values;
        for (const QVariant &value : row)
            values << (value.isNull()                      ? u"null"_s
                    : value.typeId() == QMetaType::QString ? u'\'' + value.toString() + u'\''
                                                           : value.toString());
        texts << values.join(u' ');
    }
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
    // columns are given, and opens the shared store on it.
    Failure openWith(const QStringList &rows, const QString &columns = typedColumns)
    {
        const QStringList table {u"CREATE TABLE zel (%1)"_s.arg(columns),
            u"INSERT INTO zel VALUES (%1)"_s.arg(rows.join(u"), ("_s))};
        const bool made = columns.isEmpty()
            ? QProcess::execute(QStringLiteral(NEW_STORE_TOOL), {m_path}) == 0
            : RateTableFile::exec(m_path, table);
        return made ? m_rates->openAfresh() : u"no table made"_s;
    }

private slots:
    void init()
    {
        m_folder.emplace(std::nullopt);  // each test makes its own table
        QVERIFY(m_folder->ready());
        m_rates.emplace(m_folder->path());
        m_path = m_folder->tablePath();
        QCOMPARE(m_rates->filePath(), m_path);
    }

    void cleanup()
    {
        m_rates.reset();
        m_folder.reset();
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
        QCOMPARE(reason(openWith(stored, columns)), QString());
        RateStore *store = m_rates->store();
        QCOMPARE(scanned(store), expected);
        QCOMPARE(store->count().value, std::optional<qint64>(expected.size()));

        // A value SQLite cannot keep as given is refused before anything is written.
        QVERIFY(reason(store->add(2005, 2006, qQNaN())).contains(m_path));
        QVERIFY(reason(store->add(2005, -qInf(), 8)).contains(m_path));
        QCOMPARE(store->add(2005, 2006, 8.15).value, RateStore::Added::Saved);
        // A year from that is there already is not added again, whatever the other values.
        QCOMPARE(store->add(2005, 2007, 9).value, RateStore::Added::Duplicate);
        expected << u"2005 2006 8.15"_s;
        QCOMPARE(scanned(store), expected);
        QCOMPARE(store->count().value, std::optional<qint64>(expected.size()));
        QCOMPARE(onDisk(m_path), expected);

        // A second open replaces the store, and the first goes with its connection.
        QCOMPARE(reason(m_rates->openAfresh()), QString());
        QVERIFY(m_rates->store() != store);
        QCOMPARE(QSqlDatabase::connectionNames().size(), 1);
        QCOMPARE(scanned(m_rates->store()), expected);
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
        QCOMPARE(reason(openWith({workedRows[0]})), QString());
        RateStore *store = m_rates->store();
        const QByteArray original = bytes(m_path);
        QVERIFY(QFile::remove(m_path));
        QVERIFY(folder ? QDir().mkdir(m_path) : content.isNull() || writeFile(m_path, content));
        // The tool leaves a file that is there as it is, whatever it holds.
        if (!content.isNull())
            QCOMPARE(QProcess::execute(QStringLiteral(NEW_STORE_TOOL), {m_path}), 0);

        const Failure failure = m_rates->openAfresh();
        QVERIFY2(failure && failure->contains(m_path), qPrintable(reason(failure)));
        QCOMPARE(bytes(m_path), content);
        QCOMPARE(QFile::exists(m_path), folder || !content.isNull());
        // The store open before stays in the slot, alone. It does not read or write what is
        // gone, and takes the file up again once it is back.
        QCOMPARE(m_rates->store(), store);
        QCOMPARE(QSqlDatabase::connectionNames().size(), 1);
        const QString lost = scanned(store).join(u' ');
        QVERIFY2(lost.startsWith(u"error: "_s) && lost.contains(m_path), qPrintable(lost));
        QVERIFY(reason(store->add(2004, 2005, 8)).contains(m_path));
        if (content.isNull() && !folder)
            QVERIFY(lost.contains(u"removed or moved"_s));
        QVERIFY(folder ? QDir().rmdir(m_path) : QFile::remove(m_path) || content.isNull());
        QVERIFY(writeFile(m_path, original));
        QCOMPARE(store->add(2004, 2005, 8).value, RateStore::Added::Saved);
        QCOMPARE(scanned(store), workedExample);
        QCOMPARE(QSqlDatabase::connectionNames().size(), 1);
    }

    // Two copies of the program save the same year: the one that asks second finds it there.
    void sameYearFromTwoCopies()
    {
        QCOMPARE(reason(openWith({workedRows[0]})), QString());
        Result<std::unique_ptr<RateStore>> first = RateStore::open(m_path);
        Result<std::unique_ptr<RateStore>> second = RateStore::open(m_path);
        QVERIFY(first && second);
        QCOMPARE((*first.value)->add(2004, 2005, 8).value, RateStore::Added::Saved);
        QCOMPARE((*second.value)->add(2004, 2005, 7).value, RateStore::Added::Duplicate);
        QCOMPARE(onDisk(m_path), workedExample);
    }

    void readOnlyFile()
    {
        QVERIFY(RateTableFile::create(m_path, {{2003, 2004, 9.5}}));
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
        QCOMPARE(reason(m_rates->openAfresh()), QString());
        const QString failure = reason(m_rates->store()->add(2004, 2005, 8));
        QVERIFY2(failure.contains(m_path), qPrintable(failure));
        QCOMPARE(bytes(m_path), before);
    }

    void locked()
    {
        QCOMPARE(reason(openWith({workedRows[0]})), QString());
        QElapsedTimer timer;
        timer.start();
        // Another connection holds the file until it closes, as another program might.
        const QString failure = RateTableFile::withDatabase(m_path, [this](QSqlDatabase &db) {
            QSqlQuery(db).exec(u"BEGIN EXCLUSIVE"_s);
            return reason(m_rates->store()->add(2004, 2005, 8));
        });
        const qint64 waited = timer.elapsed();
        QVERIFY2(failure.contains(m_path), qPrintable(failure));
        // The store gives the other program a moment, then reports instead of hanging.
        QVERIFY2(waited >= 1000 && waited < 10000, qPrintable(QString::number(waited)));
        QCOMPARE(m_rates->store()->add(2004, 2005, 8).value, RateStore::Added::Saved);
    }

    void change_data()
    {
        QTest::addColumn<double>("yearTo");
        QTest::addColumn<double>("rate");
        QTest::addColumn<QString>("stored");  // the changed row on disk; empty when refused
        QTest::newRow("new values") << 2006.0 << 9.75 << u"2004 2006 9.75"_s;
        QTest::newRow("rate not a number") << 2006.0 << qQNaN() << QString();
        QTest::newRow("infinite year") << qInf() << 8.0 << QString();
    }

    // A change writes over the row a scan found and no other; a value SQLite cannot keep is
    // refused, naming the file, and the row stays as it was.
    void change()
    {
        QFETCH(double, yearTo);
        QFETCH(double, rate);
        QFETCH(QString, stored);
        QCOMPARE(reason(openWith(workedRows, oddColumns)), QString());
        const Result<QList<RateRecord>> rows = m_rates->store()->scan();
        QVERIFY(rows && rows->size() == 2);

        const Failure failure = m_rates->store()->change(rows->at(1).row, 2004, yearTo, rate);
        QCOMPARE(reason(failure).contains(m_path), stored.isEmpty());
        QCOMPARE(onDisk(m_path),
            (QStringList {workedExample[0], stored.isEmpty() ? workedExample[1] : stored}));
    }
};

QTEST_GUILESS_MAIN(RateStoreTest)
#include "ratestore_test.moc"
