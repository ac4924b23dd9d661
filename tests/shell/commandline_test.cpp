#include "commandline.h"

#include <QFileInfo>
#include <QProcess>
#include <QTest>

namespace {

QProcessEnvironment withoutDisplay()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const auto &name : {u"DISPLAY"_qs, u"WAYLAND_DISPLAY"_qs, u"QT_QPA_PLATFORM"_qs})
        environment.remove(name);
    return environment;
}

}  // namespace

class CommandLineTest : public QObject
{
    Q_OBJECT

private slots:
    void read_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("action");
        QTest::addColumn<QString>("error");
        const int open = CommandLine::OpenWindow;
        const int refuse = CommandLine::Refuse;
        QTest::newRow("nothing") << QStringList() << open << QString();
        QTest::newRow("help") << QStringList {u"--help"_qs} << int(CommandLine::ShowHelp)
                              << QString();
        QTest::newRow("short help")
            << QStringList {u"-h"_qs} << int(CommandLine::ShowHelp) << QString();
        QTest::newRow("version") << QStringList {u"--version"_qs} << int(CommandLine::ShowVersion)
                                 << QString();
        QTest::newRow("help wins over version")
            << QStringList {u"-v"_qs, u"-h"_qs} << int(CommandLine::ShowHelp) << QString();
        QTest::newRow("Qt's options with their values") << QStringList {u"-platform"_qs,
            u"offscreen"_qs, u"-style"_qs, u"Fusion"_qs, u"-display"_qs, u":1"_qs,
            u"-qwindowgeometry"_qs, u"640x480+0+0"_qs, u"-reverse"_qs}
                                                        << open << QString();
        QTest::newRow("Qt's option with an equals sign")
            << QStringList {u"-style=Fusion"_qs} << open << QString();
        QTest::newRow("Qt's option with two dashes")
            << QStringList {u"--platform"_qs, u"offscreen"_qs} << open << QString();
        QTest::newRow("help after Qt's option")
            << QStringList {u"-platform"_qs, u"offscreen"_qs, u"--help"_qs}
            << int(CommandLine::ShowHelp) << QString();
        QTest::newRow("unknown long option")
            << QStringList {u"--frobnicate"_qs} << refuse << u"Unknown option 'frobnicate'."_qs;
        QTest::newRow("unknown letter")
            << QStringList {u"-x"_qs} << refuse << u"Unknown option 'x'."_qs;
        QTest::newRow("unknown beside help") << QStringList {u"--help"_qs, u"--frobnicate"_qs}
                                             << refuse << u"Unknown option 'frobnicate'."_qs;
        QTest::newRow("Qt's option without its value")
            << QStringList {u"-platform"_qs} << refuse << u"Missing value after '-platform'."_qs;
        QTest::newRow("value given to a flag") << QStringList {u"-reverse=yes"_qs} << refuse
                                               << u"Unexpected value after '-reverse'."_qs;
        QTest::newRow("a file name")
            << QStringList {u"rates.txt"_qs} << refuse << u"Unexpected argument 'rates.txt'."_qs;
    }

    void read()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, action);
        QFETCH(QString, error);
        const CommandLine commandLine(QStringList {u"/opt/zel/zel-calculation"_qs} + arguments);
        QCOMPARE(commandLine.action(), action);
        QCOMPARE(commandLine.error(), error);
        QCOMPARE(commandLine.exitStatus(), action == CommandLine::Refuse ? 2 : 0);
    }

    // The program as started from a shell with no display: nothing may need one but the window.
    void run_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("output");
        QTest::addColumn<QString>("errors");
        const QString folder = QFileInfo(QStringLiteral(ZEL_PROGRAM)).absolutePath();
        QTest::newRow("help") << QStringList {u"--help"_qs} << 0
                              << u"Usage: zel-calculation [options]"_qs << QString();
        QTest::newRow("help names the table's folder")
            << QStringList {u"--help"_qs} << 0
            << u"zel.mdb beside the program, in %1\n"_qs.arg(folder) << QString();
        QTest::newRow("version") << QStringList {u"--version"_qs} << 0
                                 << u"ZEL Calculation 1.0\n"_qs << QString();
        QTest::newRow("unknown option")
            << QStringList {u"--frobnicate"_qs} << 2 << QString()
            << u"zel-calculation: Unknown option 'frobnicate'.\nUsage: zel-calculation"_qs;
    }

    void run()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, output);
        QFETCH(QString, errors);
        QProcess program;
        program.setProcessEnvironment(withoutDisplay());
        program.start(QStringLiteral(ZEL_PROGRAM), arguments);
        QVERIFY(program.waitForFinished(60000));
        const QString printed = QString::fromLocal8Bit(program.readAllStandardOutput());
        const QString complained = QString::fromLocal8Bit(program.readAllStandardError());
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), status);
        QVERIFY2(
            output.isEmpty() ? printed.isEmpty() : printed.contains(output), qPrintable(printed));
        QVERIFY2(errors.isEmpty() || complained.startsWith(errors), qPrintable(complained));
    }

    // Without a display the program can open its window only when -platform reaches
    // QApplication: it is then still running a moment later, where Qt would have given up.
    void qtOptionsReachTheApplication()
    {
        QProcess program;
        program.setProcessEnvironment(withoutDisplay());
        program.start(QStringLiteral(ZEL_PROGRAM),
            {u"-platform"_qs, u"offscreen"_qs, u"-style"_qs, u"Fusion"_qs, u"-reverse"_qs});
        QVERIFY(program.waitForStarted());
        QVERIFY2(!program.waitForFinished(3000), program.readAllStandardError().constData());
        program.kill();
        program.waitForFinished();
    }
};

QTEST_GUILESS_MAIN(CommandLineTest)
#include "commandline_test.moc"
