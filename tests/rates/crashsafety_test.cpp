#include "ratetablefile.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

// A process adding rows is killed at random moments, hundreds of times. Every row it reported as
// written must be in the table afterwards, no row twice, and the file must pass SQLite's own
// integrity check.
class CrashSafetyTest : public QObject
{
    Q_OBJECT

private slots:
    void killedWhileWriting()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"zel.mdb"_qs);
        QVERIFY(RateTableFile::create(path, {}));
        QRandomGenerator random(20031);  // fixed seed: a failure can be repeated
        QSet<double> reported;
        for (int run = 1; run <= 200; ++run) {  // one kill each
            QProcess writer;
            writer.start(QStringLiteral(STORE_WRITER), {dir.path(), QString::number(100000 * run)});
            QVERIFY(writer.waitForReadyRead(10000));  // it is writing now
            QTest::qSleep(random.bounded(0, 25));
            writer.kill();  // SIGKILL: no chance to tidy up
            QVERIFY(writer.waitForFinished());
            QCOMPARE(writer.exitStatus(), QProcess::CrashExit);  // still writing when killed
            for (const QByteArray &line : writer.readAllStandardOutput().split('\n'))
                if (line.startsWith("done "))
                    reported.insert(line.mid(5).toDouble());
            QVERIFY2(writer.readAllStandardError().isEmpty(), "the writer reported a failure");
        }

        const QString integrity = RateTableFile::withDatabase(path, [](QSqlDatabase &db) {
            QSqlQuery query(u"PRAGMA integrity_check"_qs, db);
            return query.next() ? query.value(0).toString() : QString();
        });
        QCOMPARE(integrity, u"ok"_qs);

        const QList<RateTableFile::Row> rows = RateTableFile::rows(path);
        QSet<double> stored;
        for (const RateTableFile::Row &row : rows)
            stored.insert(row[0].toDouble());
        QCOMPARE(stored.size(), rows.size());  // no row twice
        QVERIFY2(stored.contains(reported), "a row reported as written is not on disk");
    }
};

QTEST_GUILESS_MAIN(CrashSafetyTest)
#include "crashsafety_test.moc"
