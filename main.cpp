#include "commandline.h"
#include "mainwindow.h"
#include "program.h"

#include <QApplication>

#ifdef ZEL_FIRST_FRAME_PROBE
#include "firstframeprobe.h"
#endif

#include <cstdio>

int main(int argc, char *argv[])
{
    // Read before QApplication, which needs a display: help and version need none.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const CommandLine commandLine(arguments);
    if (commandLine.action() != CommandLine::OpenWindow) {
        const QCoreApplication core(argc, argv);  // knows the program's folder
        const QByteArray text
            = commandLine.answer(QCoreApplication::applicationDirPath()).toLocal8Bit();
        std::fputs(text.constData(), commandLine.action() == CommandLine::Refuse ? stderr : stdout);
        return commandLine.exitStatus();
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ZEL Calculation"));
    // Made after the application and gone before it, with every window and the rate table.
    Program program(QCoreApplication::applicationDirPath());
    MainWindow mainWindow(program);
#ifdef ZEL_FIRST_FRAME_PROBE
    FirstFrameProbe::install(&mainWindow);  // the start-up benchmark's build of the program only
#endif
    mainWindow.show();
    // The program ends when its last window closes, whichever that is.
    return QApplication::exec();
}
