#pragma once

#include <QMainWindow>

class ProgramWindows;
class QAction;

// The main window, Form5: a title page whose menu is the only way to the other windows.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(ProgramWindows &windows, QWidget *parent = nullptr);

    void mycustdet_Click();    // "&Add new %"
    void mycolenform_Click();  // "&ZEL Calculation"
    void myexit_Click();       // "&Exit"
    void mycal_Click();        // "&Calender"

private:
    void buildTitlePage();
    void buildMenu();
    QAction *addAction(QWidget *menu, const QString &name, const QString &caption);

    ProgramWindows &m_windows;
};
