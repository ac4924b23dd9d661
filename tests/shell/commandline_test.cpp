#include "commandline.h"

#include <QFileInfo>
#include <QProcess>
#include <QTest>

class CommandLineTest : public QObject
{
    Q_OBJECT

    // The program as started from a shell with no display: nothing may need one but the window.
    static void start(QProcess &program, const QStringList &arguments)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const auto &name : {u"DISPLAY"_qs, u"WAYLAND_DISPLAY"_qs, u"QT_QPA_PLATFORM"_qs})
            environment.remove(name);
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(ZEL_PROGRAM), arguments);
    }

private slots:
    // Help, version and an unknown option are read in the runs below.
    void read_data()
    {
        QTest::addColumn<QString>("arguments");  // separated by blanks
        QTest::addColumn<QString>("outcome");    // what is done, the exit status, the error
        QTest::newRow("nothing") << QString() << u"open 0"_qs;
        QTest::newRow("short help") << u"-h"_qs << u"help 0"_qs;
        QTest::newRow("help wins over version") << u"-v -h"_qs << u"help 0"_qs;
        QTest::newRow("Qt's options with their values")
            << u"-platform offscreen -style Fusion -display :1 -qwindowgeometry 9x9 -reverse"_qs
            << u"open 0"_qs;
        QTest::newRow("Qt's option with an equals sign") << u"-style=Fusion"_qs << u"open 0"_qs;
        QTest::newRow("Qt's option with two dashes") << u"--platform offscreen"_qs << u"open 0"_qs;
        QTest::newRow("help after Qt's option") << u"-platform offscreen --help"_qs << u"help 0"_qs;
        QTest::newRow("unknown letter") << u"-x"_qs << u"refuse 2 Unknown option 'x'."_qs;
        QTest::newRow("unknown beside help")
            << u"--help --foo"_qs << u"refuse 2 Unknown option 'foo'."_qs;
        QTest::newRow("Qt's option without value")
            << u"-style"_qs << u"refuse 2 Missing value after '-style'."_qs;
        QTest::newRow("value given to a flag")
            << u"-reverse=1"_qs << u"refuse 2 Unexpected value after '-reverse'."_qs;
        QTest::newRow("a file name") << u"a.txt"_qs << u"refuse 2 Unexpected argument 'a.txt'."_qs;
    }

    void read()
    {
        QFETCH(QString, arguments);
        QFETCH(QString, outcome);
        const CommandLine line(QStringList {u"/opt/zel/zel-calculation"_qs}
            + arguments.split(u' ', Qt::SkipEmptyParts));
        const char16_t *actions[] = {u"open", u"help", u"version", u"refuse"};
        QCOMPARE(u"%1 %2 %3"_qs.arg(QString::fromUtf16(actions[line.action()]))
                     .arg(line.exitStatus())
                     .arg(line.error())
                     .trimmed(),
            outcome);
    }

    void run_data()
    {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("output");  // the start of what is printed, if anything
        QTest::addColumn<QString>("errors");  // the start of what goes to the error output
        QTest::newRow("help") << u"--help"_qs << 0 << u"Usage: zel-calculation [options]\n"_qs
                              << QString();
        QTest::newRow("version") << u"--version"_qs << 0 << u"ZEL Calculation 1.0\n"_qs
                                 << QString();
        QTest::newRow("unknown option")
            << u"--frobnicate"_qs << 2 << QString()
            << u"zel-calculation: Unknown option 'frobnicate'.\nUsage: zel-calculation"_qs;
    }

    // Help and version need no display; the help names the folder that holds the table.
    void run()
    {
        QFETCH(QString, arguments);
        QFETCH(int, status);
        QFETCH(QString, output);
        QFETCH(QString, errors);
        QProcess program;
        start(program, {arguments});
        QVERIFY(program.waitForFinished(60000));
        const QString printed = QString::fromLocal8Bit(program.readAllStandardOutput());
        const QString complained = QString::fromLocal8Bit(program.readAllStandardError());
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), status);
        QCOMPARE(output.isEmpty() ? printed : printed.left(output.size()), output);
        QCOMPARE(complained.left(errors.size()), errors);
        const QString folder = QFileInfo(QStringLiteral(ZEL_PROGRAM)).absolutePath();
        QCOMPARE(printed.contains(u"zel.mdb beside the program, in %1\n"_qs.arg(folder)),
            arguments == u"--help"_qs);
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
