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
    void killedWhileWriting();
};

void CrashSafetyTest::killedWhileWriting()
{
    constexpr int kills = 200;
    QTemporaryDir dir;
    const QString path = dir.filePath(u"zel.mdb"_qs);
    QVERIFY(RateTableFile::create(path, {}));

    QRandomGenerator random(20031);  // fixed seed: a failure can be repeated
    QSet<double> reported;
    int killedMidRun = 0;
    for (int run = 0; run < kills; ++run) {
        QProcess writer;
        writer.start(QStringLiteral(STORE_WRITER),
            {dir.path(), QString::number(100000.0 * (run + 1), 'f', 0)});
        QVERIFY(writer.waitForStarted());
        QVERIFY(writer.waitForReadyRead(10000));  // it is writing now
        QTest::qSleep(static_cast<int>(random.bounded(0, 25)));
        writer.kill();  // SIGKILL: no chance to tidy up
        QVERIFY(writer.waitForFinished());
        killedMidRun += writer.exitStatus() == QProcess::CrashExit ? 1 : 0;
        const QList<QByteArray> lines = writer.readAllStandardOutput().split('\n');
        for (const QByteArray &line : lines) {
            if (line.startsWith("done "))
                reported.insert(line.mid(5).toDouble());
        }
        QVERIFY2(writer.readAllStandardError().isEmpty(), "the writer reported a failure");
    }
    QCOMPARE(killedMidRun, kills);

    const QString integrity = RateTableFile::withDatabase(path, [](QSqlDatabase &db) {
        QSqlQuery query(u"PRAGMA integrity_check"_qs, db);
        return query.next() ? query.value(0).toString() : QString();
    });
    QCOMPARE(integrity, u"ok"_qs);

    QSet<double> stored;
    for (const RateTableFile::Row &row : RateTableFile::rows(path)) {
        const double year = row[0].toDouble();
        QVERIFY2(!stored.contains(year), "a row was written twice");
        stored.insert(year);
        QCOMPARE(row[1].toDouble(), year + 1);
        QCOMPARE(row[2].toDouble(), 8.5);
    }
    for (const double year : reported)
        QVERIFY2(stored.contains(year), qPrintable(QString::number(year, 'f', 0)));
    // At most the one row in flight per kill may be on disk without having been reported.
    QVERIFY(stored.size() - reported.size() <= kills);
    QVERIFY(reported.size() > kills);  // the writer really wrote between the kills
    qInfo("%d kills, %lld rows reported written, %lld rows on disk, integrity ok", kills,
        static_cast<long long>(reported.size()), static_cast<long long>(stored.size()));
}

QTEST_GUILESS_MAIN(CrashSafetyTest)
#include "crashsafety_test.moc"
