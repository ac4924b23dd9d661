#include "fakemessagebox.h"
#include "mainwindow.h"
#include "marqueelabel.h"
#include "programdirectory.h"
#include "programwindows.h"
#include "ratestore.h"
#include "ratetablefile.h"
#include "sheetwindow.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <memory>

class MainWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void titlePage();
    void menu_data();
    void menu();
    void aboutDoesNothing();
    void sheetOpensOnce();
    void closedSheetOpensAnew();
    void sheetExitAndReopen();
    void missingTableKeepsProgramRunning();
    void exitKeepsOtherWindows();
    void reopenedSheetGoesOnWithCredits();

private:
    QAction *action(const QString &name) const { return m_main->findChild<QAction *>(name); }
    QList<QWidget *> openWindows(const QString &name) const
    {
        QList<QWidget *> found;
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            if (widget->objectName() == name && widget->isVisible())
                found << widget;
        }
        return found;
    }

    QString tablePath() const { return m_dir->filePath(u"zel.mdb"_qs); }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<FakeMessageBox> m_messages;
    std::unique_ptr<ProgramWindows> m_windows;
    std::unique_ptr<MainWindow> m_main;
};

void MainWindowTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    ProgramDirectory::override(m_dir->path());
    QVERIFY(RateTableFile::create(tablePath(), {{2003, 2004, 9.5}, {2004, 2005, 8}}));
    m_messages = std::make_unique<FakeMessageBox>();
    m_windows = std::make_unique<ProgramWindows>();
    m_main = std::make_unique<MainWindow>(*m_windows);
    m_main->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_main.get()));
}

void MainWindowTest::cleanup()
{
    m_main.reset();
    m_windows.reset();
    m_messages.reset();
    RateStore::releaseShared();
    ProgramDirectory::override({});
    m_dir.reset();
}

void MainWindowTest::titlePage()
{
    QCOMPARE(m_main->objectName(), u"Form5"_qs);
    QCOMPARE(m_main->windowTitle(), u"ZEL Calculation"_qs);
    QCOMPARE(m_main->cursor().shape(), Qt::CrossCursor);
    QCOMPARE(m_main->centralWidget()->size(), QSize(1016, 716));
    QVERIFY(!(m_main->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(!m_main->windowIcon().isNull());
    for (const char16_t *name : {u"Label1", u"Picture1", u"Label2", u"Label3"})
        QVERIFY(m_main->findChild<QWidget *>(QString::fromUtf16(name)));
    // The title, the badge and the version line share the page's middle as their axis.
    for (const char16_t *name : {u"Label1", u"Picture1", u"Label3"}) {
        const QWidget *control = m_main->findChild<QWidget *>(QString::fromUtf16(name));
        QVERIFY(qAbs(control->geometry().center().x() - 508) <= 1);
    }
    // Only the main window is open at start-up.
    QCOMPARE(QApplication::topLevelWidgets().count(&*m_main), 1);
    QVERIFY(openWindows(u"Form1"_qs).isEmpty());
}

void MainWindowTest::menu_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("parent");
    QTest::newRow("forms") << "mymenu"
                           << "&Forms"
                           << "";
    QTest::newRow("add rate") << "mycustdet"
                              << "&Add new %"
                              << "mymenu";
    QTest::newRow("sheet") << "mycolenform"
                           << "&ZEL Calculation"
                           << "mymenu";
    QTest::newRow("exit") << "myexit"
                          << "&Exit"
                          << "mymenu";
    QTest::newRow("calendar") << "mycal"
                              << "&Calender"
                              << "";
    QTest::newRow("about") << "myabt"
                           << "&About us"
                           << "";
}

void MainWindowTest::menu()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, parent);

    QAction *item = action(name);
    QVERIFY(item);
    QCOMPARE(item->text(), caption);
    QVERIFY(item->isEnabled());
    QVERIFY(item->shortcut().isEmpty());
    QVERIFY(!item->isCheckable());
    if (parent.isEmpty()) {
        QVERIFY(m_main->menuBar()->actions().contains(item));
    } else {
        auto *menu = m_main->findChild<QMenu *>(parent);
        QVERIFY(menu->actions().contains(item));
    }
    if (name == u"myexit") {
        // The separator stands right before "&Exit".
        auto *menu = m_main->findChild<QMenu *>(u"mymenu"_qs);
        const QList<QAction *> items = menu->actions();
        QCOMPARE(items.size(), 4);
        QVERIFY(items[2]->isSeparator());
        QCOMPARE(items[2]->objectName(), u"mysep"_qs);
    }
}

void MainWindowTest::aboutDoesNothing()
{
    const QList<QWidget *> before = QApplication::topLevelWidgets();
    action(u"myabt"_qs)->trigger();
    QCOMPARE(QApplication::topLevelWidgets(), before);
    QVERIFY(m_main->isVisible());
}

void MainWindowTest::sheetOpensOnce()
{
    action(u"mycolenform"_qs)->trigger();
    QWidget *sheet = m_windows->sheet().window();
    QVERIFY(sheet);
    QVERIFY(QTest::qWaitForWindowActive(sheet));
    m_main->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_main.get()));

    action(u"mycolenform"_qs)->trigger();
    QCOMPARE(m_windows->sheet().window(), sheet);
    QVERIFY(QTest::qWaitForWindowActive(sheet));
    QCOMPARE(openWindows(u"Form1"_qs).size(), 1);
    // The main window stays usable beside it.
    QVERIFY(m_main->isVisible() && m_main->isEnabled());
}

void MainWindowTest::closedSheetOpensAnew()
{
    action(u"mycolenform"_qs)->trigger();
    QPointer<QWidget> first = m_windows->sheet().window();
    auto *box = first->findChild<QWidget *>(u"Text39"_qs);
    QTest::keyClicks(box, u"123"_qs);
    first->close();
    QTRY_VERIFY(first.isNull());  // closing destroys the window

    action(u"mycolenform"_qs)->trigger();
    QWidget *second = m_windows->sheet().window();
    QVERIFY(second);
    QVERIFY(second->findChild<QLineEdit *>(u"Text39"_qs)->text().isEmpty());
}

void MainWindowTest::sheetExitAndReopen()
{
    action(u"mycolenform"_qs)->trigger();
    QWidget *sheet = m_windows->sheet().window();
    QVERIFY(QTest::qWaitForWindowActive(sheet));
    auto *years = sheet->findChild<QComboBox *>(u"Combo1"_qs);
    m_main->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_main.get()));
    action(u"mycolenform"_qs)->trigger();  // a second activation lists the years again
    QVERIFY(QTest::qWaitForWindowActive(sheet));
    QCOMPARE(years->count(), 4);
    QTest::keyClicks(sheet->findChild<QWidget *>(u"Text39"_qs), u"500"_qs);

    QPointer<QWidget> closing = sheet;
    QTest::mouseClick(sheet->findChild<QToolButton *>(u"Command5"_qs), Qt::LeftButton);
    QTRY_VERIFY(closing.isNull());

    action(u"mycolenform"_qs)->trigger();
    sheet = m_windows->sheet().window();
    QVERIFY(QTest::qWaitForWindowActive(sheet));
    years = sheet->findChild<QComboBox *>(u"Combo1"_qs);
    QCOMPARE(years->count(), 2);
    QCOMPARE(years->itemText(0), u"2003-2004"_qs);
    QVERIFY(sheet->findChild<QLineEdit *>(u"Text39"_qs)->text().isEmpty());
}

void MainWindowTest::missingTableKeepsProgramRunning()
{
    QVERIFY(QFile::remove(tablePath()));
    action(u"mycolenform"_qs)->trigger();
    QCOMPARE(m_windows->sheet().window(), nullptr);
    QCOMPARE(m_messages->calls.size(), 1);
    QCOMPARE(m_messages->calls[0].style, int(MessageBox::Critical));
    QVERIFY(m_messages->calls[0].text.contains(tablePath()));
    QVERIFY(m_main->isVisible());

    // Once the file is back, the menu opens the sheet.
    QVERIFY(RateTableFile::create(tablePath(), {{2003, 2004, 9.5}}));
    action(u"mycolenform"_qs)->trigger();
    QVERIFY(m_windows->sheet().window());
}

// Runs the real event loop: it must go on after "&Exit" while the sheet is open, and end when
// the sheet closes.
void MainWindowTest::exitKeepsOtherWindows()
{
    action(u"mycolenform"_qs)->trigger();
    QPointer<QWidget> sheet = m_windows->sheet().window();
    bool sheetOpenAfterExit = false;
    bool stillRunning = false;

    QTimer::singleShot(0, this, [&] { action(u"myexit"_qs)->trigger(); });
    QTimer::singleShot(100, this, [&] {
        stillRunning = true;
        sheetOpenAfterExit = !m_main->isVisible() && sheet && sheet->isVisible();
        sheet->close();
    });
    QTimer failsafe;
    failsafe.setSingleShot(true);
    connect(&failsafe, &QTimer::timeout, this, [] { QCoreApplication::exit(1); });
    failsafe.start(5000);

    QCOMPARE(QApplication::exec(), 0);
    QVERIFY(stillRunning);
    QVERIFY(sheetOpenAfterExit);
}

// A reopened sheet flashes its title from the start again, while its credits text goes on from
// the column where the closed sheet left it.
void MainWindowTest::reopenedSheetGoesOnWithCredits()
{
    const auto openSheet = [this] {
        action(u"mycolenform"_qs)->trigger();
        auto *sheet = qobject_cast<SheetWindow *>(m_windows->sheet().window());
        if (sheet) {  // the test drives the ticks itself
            sheet->findChild<QTimer *>(u"Timer1"_qs)->stop();
            sheet->findChild<QTimer *>(u"Timer2"_qs)->stop();
        }
        return sheet;
    };
    const auto column = [](SheetWindow *sheet) {
        const QString line = sheet->findChild<MarqueeLabel *>(u"Label15"_qs)->text();
        return int(line.indexOf(line.trimmed())) + 1;
    };

    SheetWindow *sheet = openSheet();
    QVERIFY(sheet);
    sheet->Timer1_Timer();
    QCOMPARE(sheet->windowTitle(), QString());
    // On the way right from column 59 to 60: far from where a new sweep would start.
    int before = 0;
    int now = column(sheet);
    for (int tick = 0; tick < 500 && (before != 59 || now != 60); ++tick) {
        sheet->Timer2_Timer();
        before = now;
        now = column(sheet);
    }
    QCOMPARE(now, 60);
    QCOMPARE(before, 59);
    QPointer<QWidget> closing = sheet;
    sheet->close();
    QTRY_VERIFY(closing.isNull());

    sheet = openSheet();
    QVERIFY(sheet);
    QCOMPARE(sheet->windowTitle(), u"-"_qs);
    sheet->Timer1_Timer();
    QCOMPARE(sheet->windowTitle(), QString());
    sheet->Timer2_Timer();
    QCOMPARE(column(sheet), 61);
}

QTEST_MAIN(MainWindowTest)
#include "mainwindow_test.moc"
