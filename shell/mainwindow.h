#pragma once

#include <QMainWindow>

class Program;
class QAction;

// The main window, Form5: a title page whose menu is the only way to the other windows.
//
// Like every window of the program it keeps the names of the form it rebuilds, as objectName:
// the menu "&Forms" is mymenu, holding mycustdet "&Add new %", mycolenform "&ZEL Calculation",
// the separator mysep and myexit "&Exit"; mycal "&Calender" and myabt "&About us" stand on the
// bar. On the title page, Label1 is the title, Picture1 the badge, Label3 the version and Label2
// the line at the bottom.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(Program &program, QWidget *parent = nullptr);

    void mycustdet_Click();    // "&Add new %"
    void mycolenform_Click();  // "&ZEL Calculation"
    void myexit_Click();       // "&Exit"
    void mycal_Click();        // "&Calender"

private:
    void buildTitlePage();
    void buildMenu();
    QAction *addMenuItem(QWidget *menu, const QString &name, const QString &caption);

    Program &m_program;
};
