#include "mainwindow.h"

#include "formcontrols.h"
#include "program.h"

#include <QAction>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>

MainWindow::MainWindow(Program &program, QWidget *parent)
    : QMainWindow(parent,
        Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
            | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
    , m_program(program)
{
    setObjectName(QStringLiteral("Form5"));
    setWindowTitle(QStringLiteral("ZEL Calculation"));
    setWindowIcon(QIcon(QStringLiteral(":/images/icon.png")));
    setPalette(Form::classicPalette());
    buildMenu();
    buildTitlePage();
    Form::fitOnScreen(this);
    // Pop-up menus, the menu bar's own among them, are windows of their own that take no colours
    // from the window unless given them.
    for (QMenu *menu : findChildren<QMenu *>())
        menu->setPalette(palette());
    // Form_Load: the crosshair over the window.
    setCursor(Qt::CrossCursor);
}

void MainWindow::buildTitlePage()
{
    auto *page = new QWidget(this);
    page->setObjectName(QStringLiteral("titlePage"));
    page->setFixedSize(Form::pixels(15240), Form::pixels(10740));
    Form::setBackground(page, Form::lightBlue);
    setCentralWidget(page);

    // Label1, Picture1 and Label3 share the middle of the page as their axis.
    const int axis = Form::pixels(7620);
    QLabel *title
        = Form::label(page, QStringLiteral("Label1"), QStringLiteral("ZEL CALCULATION MADE EASY"),
            3720, 3720, Form::font(24, true), QColor(255, 128, 128));
    title->move(axis - title->width() / 2, title->y());

    auto *badge = new QLabel(page);
    badge->setObjectName(QStringLiteral("Picture1"));
    badge->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    badge->setAlignment(Qt::AlignCenter);
    badge->setPixmap(QPixmap(QStringLiteral(":/images/badge.png")));
    Form::place(badge, 7133, 4883, 975, 975);
    badge->move(axis - badge->width() / 2, badge->y());

    QLabel *version = Form::label(page, QStringLiteral("Label3"), QStringLiteral("Version 1.0"),
        5633, 6480, Form::font(QStringLiteral("Comic Sans MS"), 21.75, true), QColor(192, 0, 0));
    version->move(axis - version->width() / 2, version->y());

    Form::label(page, QStringLiteral("Label2"),
        QStringLiteral("Interest on your fund account, month by month"), 120, 10200,
        Form::font(13.5, true), palette().color(QPalette::HighlightedText));
}

void MainWindow::buildMenu()
{
    QMenuBar *bar = menuBar();
    auto *forms = new QMenu(QStringLiteral("&Forms"), bar);
    forms->setObjectName(QStringLiteral("mymenu"));
    forms->menuAction()->setObjectName(QStringLiteral("mymenu"));
    bar->addMenu(forms);

    QAction *addRate
        = addMenuItem(forms, QStringLiteral("mycustdet"), QStringLiteral("&Add new %"));
    QAction *sheet
        = addMenuItem(forms, QStringLiteral("mycolenform"), QStringLiteral("&ZEL Calculation"));
    forms->addSeparator()->setObjectName(QStringLiteral("mysep"));
    QAction *exit = addMenuItem(forms, QStringLiteral("myexit"), QStringLiteral("&Exit"));
    QAction *calendar = addMenuItem(bar, QStringLiteral("mycal"), QStringLiteral("&Calender"));
    addMenuItem(bar, QStringLiteral("myabt"), QStringLiteral("&About us"));  // has no handler

    connect(addRate, &QAction::triggered, this, &MainWindow::mycustdet_Click);
    connect(sheet, &QAction::triggered, this, &MainWindow::mycolenform_Click);
    connect(exit, &QAction::triggered, this, &MainWindow::myexit_Click);
    connect(calendar, &QAction::triggered, this, &MainWindow::mycal_Click);
}

QAction *MainWindow::addMenuItem(QWidget *menu, const QString &name, const QString &caption)
{
    auto *action = new QAction(caption, menu);
    action->setObjectName(name);
    menu->addAction(action);
    return action;
}

void MainWindow::mycustdet_Click()
{
    m_program.rateWindow().open();
}

void MainWindow::mycolenform_Click()
{
    m_program.sheet().open();
}

void MainWindow::myexit_Click()
{
    close();
}

void MainWindow::mycal_Click()
{
    m_program.calendar().open();
}
