#include "fakemessagebox.h"
#include "fakeprinterdialog.h"
#include "formcontrols.h"
#include "mainwindow.h"
#include "program.h"
#include "programfolder.h"

#include <QApplication>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

#include <memory>

// A 1920 x 1080 screen at 150 % has 1280 x 720 pixels of room: the sheet and the main window are
// taller and scroll inside a window of the screen's height; the others are left as they are. The
// offscreen platform draws a frame of one pixel around each window.
class SmallScreenTest : public QObject
{
    Q_OBJECT

    ProgramFolder m_folder;
    FakeMessageBox m_messages;
    FakePrinterDialog m_printer;
    Program m_program {m_folder.path(), m_messages, m_printer};
    std::unique_ptr<MainWindow> m_main;

    QWidget *open(const QString &window)
    {
        if (window == u"main"_qs) {
            m_main = std::make_unique<MainWindow>(m_program);
            m_main->show();
            return m_main.get();
        }
        WindowSlot &slot = window == u"sheet"_qs ? m_program.sheet()
            : window == u"rates"_qs              ? m_program.rateWindow()
                                                 : m_program.calendar();
        return slot.open();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_folder.ready());
        QCOMPARE(QGuiApplication::primaryScreen()->availableGeometry(), QRect(0, 0, 1280, 720));
    }
    void cleanup()
    {
        m_main.reset();
        for (WindowSlot *slot :
            {&m_program.sheet(), &m_program.rateWindow(), &m_program.calendar()})
            delete slot->window();
    }

    void fit_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<bool>("besideMain");  // the main window's frame is known
        QTest::addColumn<QString>("form");     // the control that holds the others
        QTest::addColumn<QSize>("formSize");   // as on a large screen
        QTest::addColumn<QString>("lowest");   // the control at the form's bottom
        QTest::addColumn<bool>("scrolls");
        QTest::newRow("main window")
            << u"main"_qs << false << u"titlePage"_qs << QSize(1016, 716) << u"Label2"_qs << true;
        QTest::newRow("sheet") << u"sheet"_qs << false << u"form"_qs << QSize(1018, 743)
                               << u"Label15"_qs << true;
        QTest::newRow("sheet, framed")
            << u"sheet"_qs << true << u"form"_qs << QSize(1018, 743) << u"Label15"_qs << true;
        QTest::newRow("rate window")
            << u"rates"_qs << true << u"Form2"_qs << QSize(378, 313) << u"Command1"_qs << false;
        QTest::newRow("calendar") << u"calendar"_qs << false << u"calender"_qs << QSize(405, 273)
                                  << u"Calendar1"_qs << false;
    }

    // The form keeps its size and its controls; a form too tall for the room scrolls in a window
    // as tall as the room, and scrolling to the end brings the form's lowest control into view.
    void fit()
    {
        QFETCH(QString, window);
        QFETCH(bool, besideMain);
        QFETCH(QString, form);
        QFETCH(QSize, formSize);
        QFETCH(QString, lowest);
        QFETCH(bool, scrolls);
        if (besideMain)
            QVERIFY(QTest::qWaitForWindowExposed(open(u"main"_qs)));
        QWidget *shown = open(window);
        QVERIFY(shown && QTest::qWaitForWindowExposed(shown));
        const QWidget *holder = Form::formOf(shown);  // the whole form, which is what gets printed
        QCOMPARE(holder->objectName(), form);
        QCOMPARE(holder->size(), formSize);
        const QRect room = shown->screen()->availableGeometry();
        auto *scroller = shown->findChild<QScrollArea *>();
        QCOMPARE(scroller != nullptr, scrolls);
        if (scroller) {
            // Once a frame is known, the window with its frame is as tall as the room.
            QCOMPARE(
                (besideMain ? shown->frameGeometry() : shown->geometry()).height(), room.height());
            QVERIFY(
                shown->width() <= room.width() && !scroller->horizontalScrollBar()->isVisible());
            scroller->verticalScrollBar()->setValue(scroller->verticalScrollBar()->maximum());
        } else {
            QCOMPARE(shown->size(), formSize);
        }
        auto *bottom = shown->findChild<QWidget *>(lowest);
        QVERIFY(bottom && bottom->isVisible());
        QVERIFY(shown->rect().contains(QRect(bottom->mapTo(shown, QPoint()), bottom->size())));
    }

    // On the scrolling sheet the focus starts in the year list and Tab goes on in month order.
    void sheetKeepsItsFocusOrder()
    {
        QVERIFY(QTest::qWaitForWindowActive(open(u"sheet"_qs)));
        QCOMPARE(QApplication::focusWidget()->objectName(), u"Combo1"_qs);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->accessibleName(), u"April subscription"_qs);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget()->objectName(), u"Combo1"_qs);
    }
};

QTEST_MAIN(SmallScreenTest)
#include "smallscreen_test.moc"
