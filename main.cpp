#include "firstframeprobe.h"
#include "mainwindow.h"
#include "programwindows.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ZEL Calculation"));
    ProgramWindows windows;
    MainWindow mainWindow(windows);
    FirstFrameProbe::installIfRequested(&mainWindow);
    mainWindow.show();
    // The program ends when its last window closes, whichever that is.
    return QApplication::exec();
}
