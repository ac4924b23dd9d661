#include "datafile.h"
#include "ratestore.h"
#include "ratetablefile.h"
#include "sharedrates.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString workedExample = u"2003 2004 9.5, 2004 2005 8"_s;

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

// The rows as the store scans them, as RateTableFile::text() shows rows, or why it cannot.
QString scanned(RateStore *store)
{
    const Result<QList<RateRecord>> rows = store->scan();
    const auto text = [](auto value) { return value ? QVariant(*value).toString() : u"NULL"_s; };
    QStringList texts;
    for (const RateRecord &row : rows.value.value_or(QList<RateRecord>()))
        texts << u"%1 %2 %3"_s.arg(text(row.yearFrom), text(row.yearTo), text(row.rate));
    return rows ? texts.join(u", "_s) : u"error: "_s + rows.error;
}

}  // namespace

class RateStoreTest : public QObject
{
    Q_OBJECT

    std::optional<QTemporaryDir> m_folder;  // in place of the program's own, with no table
    std::optional<SharedRates> m_rates;
    QString m_path;

    // Makes the table beside the program with the rows given, in one statement, and opens the
    // shared store on it: the reason it fails, or nothing.
    QString openWith(const QString &rows, const QString &columns = RateTableFile::columns)
    {
        return RateTableFile::exec(m_path,
                   {u"CREATE TABLE zel (%1)"_s.arg(columns),
                       u"INSERT INTO zel VALUES %1"_s.arg(rows)})
            ? m_rates->openAfresh().value_or(QString())
            : u"no table made"_s;
    }

private slots:
    void init()
    {
        m_rates.reset();
        m_folder.emplace();
        m_rates.emplace(m_folder->path());
        m_path = m_folder->filePath(u"zel.mdb"_s);
    }

    void scanAddReopen_data() { DataFile::addRows(u"table-columns.tsv"_s, {"columns"}); }

    void scanAddReopen()
    {
        const QString columns = DataFile::field("columns");
        QCOMPARE(openWith(u"(2003, 2004, 9.5), (2004, 2005, 8)"_s, columns), QString());
        RateStore *store = m_rates->store();
        QCOMPARE(scanned(store), workedExample);
        QCOMPARE(store->count().value, std::optional<qint64>(2));

        // A value SQLite cannot keep as given is refused before anything is written.
        const QString notSaved = u"The new year was not saved in %1: "_s.arg(m_path);
        QCOMPARE(store->add(2005, 2006, qQNaN()).error, notSaved + u"nan is not a number."_s);
        QCOMPARE(store->add(2005, -qInf(), 8).error, notSaved + u"-inf is not a number."_s);
        QCOMPARE(store->add(2005, 2006, 8.15).value, RateStore::Added::Saved);
        // A year from that is there already is not added again, whatever the other values.
        QCOMPARE(store->add(2005, 2007, 9).value, RateStore::Added::Duplicate);
        const QString added = workedExample + u", 2005 2006 8.15"_s;
        QCOMPARE(scanned(store), added);
        QCOMPARE(store->count().value, std::optional<qint64>(3));
        QCOMPARE(RateTableFile::text(m_path), added);

        // A second open replaces the store, and the first goes with its connection.
        QCOMPARE(m_rates->openAfresh(), Failure());
        QVERIFY(m_rates->store() != store);
        QCOMPARE(QSqlDatabase::connectionNames().size(), 1);
        store = m_rates->store();
        QCOMPARE(scanned(store), added);

        // A change writes the rate of the row a scan found and nothing else; a value SQLite cannot
        // keep is refused, and a row gone meanwhile is not reported as changed.
        const qint64 row = store->scan().value->last().row;
        const QString notChanged = u"The rate was not changed in %1: "_s.arg(m_path);
        QCOMPARE(store->changeRate(row, 9.75), Failure());
        QCOMPARE(store->changeRate(row, qQNaN()), notChanged + u"nan is not a number."_s);
        QCOMPARE(
            store->changeRate(row + 1, 7), notChanged + u"the year is no longer in the table."_s);
        QCOMPARE(RateTableFile::text(m_path), workedExample + u", 2005 2006 9.75"_s);
        // A table another program dropped meanwhile takes no year, and none is reported saved.
        QVERIFY(RateTableFile::exec(m_path, {u"DROP TABLE zel"_s}));
        QCOMPARE(store->add(2006, 2007, 8).error, notSaved + u"no such table: zel"_s);
    }

    void refusedFile_data()
    {
        DataFile::addRows(u"damaged-files.tsv"_s, {"made", "opening", "reading", "writing"});
    }

    // The program had the table open; then the file went, or something else took its place. The
    // store open before stays in the slot, alone; it does not read or write what is gone, and
    // takes the file up again once it is back. Every message names the file once.
    void refusedFile()
    {
        const auto expected = [this](const char *column) {
            return DataFile::field(column).replace(u"PATH"_s, m_path);
        };
        const QString made = DataFile::field("made"), content = made.section(u':', 1);
        QCOMPARE(openWith(u"(2003, 2004, 9.5)"_s), QString());
        RateStore *store = m_rates->store();
        const QByteArray original = bytes(m_path);
        QVERIFY(QFile::remove(m_path));
        QVERIFY(made == u"folder"_s           ? QDir().mkdir(m_path)
                : made.startsWith(u"sql:"_s)  ? RateTableFile::exec(m_path, {content})
                : made.startsWith(u"text:"_s) ? writeFile(m_path, content.toUtf8())
                                              : made == u"nothing"_s);
        const QByteArray left = bytes(m_path);

        QCOMPARE(m_rates->openAfresh().value_or(QString()), expected("opening"));
        QCOMPARE(bytes(m_path), left);
        QCOMPARE(QFile::exists(m_path), made != u"nothing"_s);  // nothing is ever created
        QCOMPARE(m_rates->store(), store);
        QCOMPARE(QSqlDatabase::connectionNames().size(), 1);
        QCOMPARE(scanned(store), u"error: "_s + expected("reading"));
        QCOMPARE(store->add(2004, 2005, 8).error, expected("writing"));
        QVERIFY(QDir().rmdir(m_path) || QFile::remove(m_path) || made == u"nothing"_s);
        QVERIFY(writeFile(m_path, original));
        QCOMPARE(store->add(2004, 2005, 8).value, RateStore::Added::Saved);
        QCOMPARE(scanned(store), workedExample);
    }

    // Another connection holds the file until it closes, as another program might: the store
    // gives it a moment (about a second and a half, not the driver's five), then reports instead
    // of hanging, and writes once the file is free.
    void locked()
    {
        QCOMPARE(openWith(u"(2003, 2004, 9.5)"_s), QString());
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
    // A process adding rows is killed at random moments, hundreds of times. Every row it reported
    // as written must be in the table afterwards, no row twice, and the file must pass SQLite's
    // own integrity check.
    void killedWhileWriting()
    {
        QVERIFY(
            RateTableFile::exec(m_path, {u"CREATE TABLE zel (%1)"_s.arg(RateTableFile::columns)}));
        QRandomGenerator random(20031);  // fixed seed: a failure can be repeated
        QStringList reported;
        for (int run = 1; run <= 200; ++run) {  // one kill each
            QProcess writer;
            writer.start(
                QStringLiteral(STORE_WRITER), {m_folder->path(), QString::number(100000 * run)});
            QVERIFY(writer.waitForReadyRead(10000));  // it is writing now
            QTest::qSleep(random.bounded(0, 25));
            writer.kill();  // SIGKILL: no chance to tidy up
            QVERIFY(writer.waitForFinished());
            QCOMPARE(writer.exitStatus(), QProcess::CrashExit);  // still writing when killed
            for (const QByteArray &line : writer.readAllStandardOutput().split('\n'))
                if (line.startsWith("done "))
                    reported << QString::fromLatin1(line.mid(5));
            QVERIFY2(writer.readAllStandardError().isEmpty(), "the writer reported a failure");
        }
        // SQLite's verdict on the file, the rows whose year from an earlier row has, and the rows
        // reported as written that are there.
        const QString found = RateTableFile::withDatabase(m_path, [&reported](QSqlDatabase &db) {
            QSqlQuery query(
                u"SELECT (SELECT * FROM pragma_integrity_check) || ' ' || "
                u"(count(*) - count(DISTINCT yearfrom)) || ' ' || sum(yearfrom IN (%1)) "
                u"FROM zel"_s.arg(reported.join(u',')),
                db);
            return query.next() ? query.value(0).toString() : QString();
        });
        QCOMPARE(found, u"ok 0 %1"_s.arg(reported.size()));
    }
};

QTEST_GUILESS_MAIN(RateStoreTest)
#include "ratestore_test.moc"
