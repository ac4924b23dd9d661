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

#include <memory>

class MainWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void titleAndMenu();
    void sheetOpensOnceAndAnewAfterExit();
    void missingTableKeepsProgramRunning();
    void exitKeepsOtherWindows();

private:
    QAction *action(const QString &name) const { return m_main->findChild<QAction *>(name); }
    // Opens the sheet from the menu; the test drives the banner's ticks itself.
    SheetWindow *openSheet() const
    {
        action(u"mycolenform"_qs)->trigger();
        auto *sheet = qobject_cast<SheetWindow *>(m_windows->sheet().window());
        if (!sheet)
            return nullptr;
        sheet->findChild<QTimer *>(u"Timer1"_qs)->stop();
        sheet->findChild<QTimer *>(u"Timer2"_qs)->stop();
        return QTest::qWaitForWindowActive(sheet) ? sheet : nullptr;
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

void MainWindowTest::titleAndMenu()
{
    QCOMPARE(m_main->windowTitle(), u"ZEL Calculation"_qs);
    QCOMPARE(m_main->cursor().shape(), Qt::CrossCursor);

    // Each item as "name=caption", a menu's items in brackets after it, a separator as "-".
    QString items;
    for (const QAction *top : m_main->menuBar()->actions()) {
        items += u" %1=%2"_qs.arg(top->objectName(), top->text());
        const QList<QAction *> inner = top->menu() ? top->menu()->actions() : QList<QAction *>();
        for (const QAction *item : inner)
            items += u" [%1=%2]"_qs.arg(
                item->objectName(), item->isSeparator() ? u"-"_qs : item->text());
    }
    QCOMPARE(items,
        u" mymenu=&Forms [mycustdet=&Add new %] [mycolenform=&ZEL Calculation] [mysep=-] "
        u"[myexit=&Exit] mycal=&Calender myabt=&About us"_qs);

    const QWidgetList before = QApplication::topLevelWidgets();
    action(u"myabt"_qs)->trigger();
    QCOMPARE(QApplication::topLevelWidgets(), before);
    QVERIFY(m_main->isVisible());
}

// Choosing the sheet again only brings it to the front. After "&Exit" the next choice loads a new
// sheet: initial texts, each year listed once, the title flash from its start, while the credits
// text goes on from the column where the closed sheet left it, in the same direction.
void MainWindowTest::sheetOpensOnceAndAnewAfterExit()
{
    const auto column = [](SheetWindow *sheet) {
        const QString line = sheet->findChild<MarqueeLabel *>(u"Label15"_qs)->text();
        return line.indexOf(line.trimmed()) + 1;
    };
    SheetWindow *sheet = openSheet();
    QVERIFY(sheet);
    sheet->Timer1_Timer();                 // the title is empty now
    for (int tick = 0; tick < 59; ++tick)  // on the way right, far from a new sweep's start
        sheet->Timer2_Timer();
    QCOMPARE(column(sheet), 60);
    m_main->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_main.get()));
    QCOMPARE(openSheet(), sheet);
    QCOMPARE(sheet->findChild<QComboBox *>(u"Combo1"_qs)->count(), 4);  // activated twice
    QTest::keyClicks(sheet->findChild<QLineEdit *>(u"Text39"_qs), u"500"_qs);

    QPointer<QWidget> closing = sheet;
    QTest::mouseClick(sheet->findChild<QWidget *>(u"Command5"_qs), Qt::LeftButton);
    QTRY_VERIFY(closing.isNull());
    QVERIFY(m_main->isVisible());

    sheet = openSheet();
    QVERIFY(sheet);
    QCOMPARE(sheet->findChild<QComboBox *>(u"Combo1"_qs)->count(), 2);
    QVERIFY(sheet->findChild<QLineEdit *>(u"Text39"_qs)->text().isEmpty());
    QCOMPARE(sheet->windowTitle(), u"-"_qs);
    sheet->Timer1_Timer();
    QCOMPARE(sheet->windowTitle(), QString());
    sheet->Timer2_Timer();
    QCOMPARE(column(sheet), 61);
}

void MainWindowTest::missingTableKeepsProgramRunning()
{
    QVERIFY(QFile::remove(tablePath()));
    QCOMPARE(openSheet(), nullptr);
    QCOMPARE(m_messages->calls.size(), 1);
    QCOMPARE(m_messages->calls[0].style, int(MessageBox::Critical));
    QVERIFY(m_messages->calls[0].text.contains(tablePath()));
    QVERIFY(m_main->isVisible());

    QVERIFY(RateTableFile::create(tablePath(), {{2003, 2004, 9.5}}));
    QVERIFY(openSheet());  // once the file is back
}

// Runs the real event loop: it must go on after "&Exit" while the sheet is open, and end when
// the sheet closes.
void MainWindowTest::exitKeepsOtherWindows()
{
    action(u"mycolenform"_qs)->trigger();
    QPointer<QWidget> sheet = m_windows->sheet().window();
    bool sheetOpenAfterExit = false;

    QTimer::singleShot(0, this, [&] { action(u"myexit"_qs)->trigger(); });
    QTimer::singleShot(100, this, [&] {
        sheetOpenAfterExit = !m_main->isVisible() && sheet && sheet->isVisible();
        sheet->close();
    });
    QTimer failsafe;
    failsafe.callOnTimeout(this, [] { QCoreApplication::exit(1); });
    failsafe.start(5000);

    QCOMPARE(QApplication::exec(), 0);
    QVERIFY(sheetOpenAfterExit);
}

QTEST_MAIN(MainWindowTest)
#include "mainwindow_test.moc"
