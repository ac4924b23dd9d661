#include <QFileInfo>
#include <QProcess>
#include <QTest>

// The program as started from a shell with no display: help, version and a refusal need none,
// and Qt's own options must reach the window.
class CommandLineTest : public QObject
{
    Q_OBJECT

    static void start(QProcess &program, const QStringList &arguments)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const auto &name : {u"DISPLAY"_qs, u"WAYLAND_DISPLAY"_qs, u"QT_QPA_PLATFORM"_qs})
            environment.remove(name);
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(ZEL_PROGRAM), arguments);
    }

private slots:
    void run_data()
    {
        QTest::addColumn<QString>("arguments");  // separated by blanks
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("output");  // the start of what is printed, '|', the errors
        QTest::newRow("help after Qt's option")
            << u"-style=Fusion --help"_qs << 0 << u"Usage: zel-calculation [options]\n"_qs;
        QTest::newRow("version") << u"-v"_qs << 0 << u"ZEL Calculation 1.0\n|"_qs;
        QTest::newRow("unknown option")
            << u"--frobnicate"_qs << 2
            << u"|zel-calculation: Unknown option 'frobnicate'.\nUsage: zel-calculation"_qs;
        QTest::newRow("a file name")
            << u"a.txt"_qs << 2 << u"|zel-calculation: Unexpected argument 'a.txt'.\n"_qs;
    }

    // The help, also after a refusal, names the folder that holds the table.
    void run()
    {
        QFETCH(QString, arguments);
        QFETCH(int, status);
        QFETCH(QString, output);
        QProcess program;
        start(program, arguments.split(u' '));
        QVERIFY(program.waitForFinished(60000));
        const QString printed = QString::fromLocal8Bit(
            program.readAllStandardOutput() + '|' + program.readAllStandardError());
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), status);
        QCOMPARE(printed.left(output.size()), output);
        const QString folder = QFileInfo(QStringLiteral(ZEL_PROGRAM)).absolutePath();
        QCOMPARE(printed.contains(u"zel.mdb beside the program, in %1\n"_qs.arg(folder)),
            arguments != u"-v"_qs);
    }

    // Without a display the program can open its window only when -platform reaches
    // QApplication: it is then still running a moment later, where Qt would have given up.
    void qtOptionsReachTheApplication()
    {
        QProcess program;
        start(program,
            {u"-platform"_qs, u"offscreen"_qs, u"-style"_qs, u"Fusion"_qs, u"-reverse"_qs});
        QVERIFY(program.waitForStarted());
        QVERIFY2(!program.waitForFinished(3000), program.readAllStandardError().constData());
        program.kill();
        program.waitForFinished();
    }
};

QTEST_GUILESS_MAIN(CommandLineTest)
#include "commandline_test.moc"
