#include <QFileInfo>
#include <QProcess>
#include <QTest>

using namespace Qt::StringLiterals;

// The program as started from a shell with no display.
class CommandLineTest : public QObject
{
    Q_OBJECT

    // The exit status, what is printed and what goes to the errors, separated by '|'; or
    // "running" for a program still running after three seconds, which is then ended.
    static QString run(const QStringList &arguments)
    {
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const auto &name : {u"DISPLAY"_s, u"WAYLAND_DISPLAY"_s, u"QT_QPA_PLATFORM"_s})
            environment.remove(name);
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(ZEL_PROGRAM), arguments);
        if (!program.waitForFinished(3000)) {
            program.kill();
            return program.waitForFinished() ? u"running"_s : QString();
        }
        return QString::number(program.exitCode()) + u'|'
            + QString::fromLocal8Bit(
                program.readAllStandardOutput() + '|' + program.readAllStandardError());
    }

private slots:
    // Help, version and a refusal need no display. The help, also after a refusal, names the
    // folder that holds the table; a refusal says what it refuses and ends with status 2.
    void helpVersionAndRefusal()
    {
        const QString help = run({u"-style=Fusion"_s, u"--help"_s});
        const QString refusal = run({u"a.txt"_s});
        QVERIFY2(help.startsWith(u"0|Usage: zel-calculation [options]\n"_s), qPrintable(help));
        QCOMPARE(run({u"-v"_s}), u"0|ZEL Calculation 1.0\n|"_s);
        QVERIFY2(refusal.startsWith(u"2||zel-calculation: Unexpected argument 'a.txt'.\nUsage:"_s),
            qPrintable(refusal));
        const QString folder = QFileInfo(QStringLiteral(ZEL_PROGRAM)).absolutePath();
        for (const QString &printed : {help, refusal})
            QVERIFY(printed.contains(u"zel.mdb beside the program, in %1\n"_s.arg(folder)));
    }

    // Without a display the program can open its window only when -platform reaches
    // QApplication: it is then still running a moment later, where Qt would have given up.
    void qtOptionsReachTheApplication()
    {
        QCOMPARE(
            run({u"-platform"_s, u"offscreen"_s, u"-style"_s, u"Fusion"_s, u"-reverse"_s}),
            u"running"_s);
    }
};

QTEST_GUILESS_MAIN(CommandLineTest)
#include "commandline_test.moc"
