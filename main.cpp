#include "commandline.h"
#include "firstframeprobe.h"
#include "mainwindow.h"
#include "programdirectory.h"
#include "programwindows.h"

#include <QApplication>

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
        const QByteArray text = commandLine.answer(ProgramDirectory::path()).toLocal8Bit();
        std::fputs(text.constData(), commandLine.action() == CommandLine::Refuse ? stderr : stdout);
        return commandLine.exitStatus();
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ZEL Calculation"));
    ProgramWindows windows;
    MainWindow mainWindow(windows);
    FirstFrameProbe::installIfRequested(&mainWindow);
    mainWindow.show();
    // The program ends when its last window closes, whichever that is.
    return QApplication::exec();
}
