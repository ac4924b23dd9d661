#include "datafile.h"

#include <QProcess>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

// The built programs as started from a shell with no display.
class CommandLineTest : public QObject
{
    Q_OBJECT

private slots:
    void commandLine_data() { DataFile::addRows(u"command-lines.tsv"_s, {"arguments", "output"}); }

    void commandLine()
    {
        QFETCH(QString, arguments);
        QFETCH(QString, output);
        QProcess program;
        program.setEnvironment(QProcess::systemEnvironment().filter(
            QRegularExpression(u"^(?!(DISPLAY|WAYLAND_DISPLAY|QT_QPA_PLATFORM)=)"_s)));
        const QString path = QString::fromUtf8(
            arguments.startsWith(u"zel-new-store "_s) ? NEW_STORE_TOOL : ZEL_PROGRAM);
        arguments.replace(u"FOLDER"_s, path.section(u'/', 0, -2));
        output.replace(u"FOLDER"_s, path.section(u'/', 0, -2));
        program.startCommand(u"timeout 3 \"%1\" %2"_s.arg(path, arguments.section(u' ', 1)));
        program.waitForFinished();
        const QString given = QString::number(program.exitCode()) + u'|'
            + QString::fromLocal8Bit(
                program.readAllStandardOutput() + '|' + program.readAllStandardError());
        const QString pattern = QRegularExpression::escape(output).replace(u"\\*"_s, u".*"_s);
        QVERIFY2(QRegularExpression(u"(?s)\\A"_s + pattern + u"\\z"_s).match(given).hasMatch(),
            qPrintable(given));
    }
};

QTEST_GUILESS_MAIN(CommandLineTest)
#include "commandline_test.moc"
