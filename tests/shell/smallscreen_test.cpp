#include "fakemessagebox.h"
#include "fakeprinterdialog.h"
#include "formcontrols.h"
#include "mainwindow.h"
#include "program.h"
#include "programfolder.h"

#include <QAccessible>
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
        QTest::addColumn<QString>("form");    // the control that holds the others
        QTest::addColumn<QSize>("formSize");  // as on a large screen
        QTest::addColumn<QString>("lowest");  // the control at the form's bottom
        QTest::addColumn<bool>("scrolls");
        QTest::addColumn<bool>("besideMain");  // opened from the main window, whose frame is known
        QTest::newRow("main window, taller")
            << u"main"_qs << u"titlePage"_qs << QSize(1016, 716) << u"Label2"_qs << true << false;
        QTest::newRow("sheet, taller")
            << u"sheet"_qs << u"form"_qs << QSize(1018, 743) << u"Label15"_qs << true << false;
        QTest::newRow("sheet, taller, with its frame")
            << u"sheet"_qs << u"form"_qs << QSize(1018, 743) << u"Label15"_qs << true << true;
        QTest::newRow("rate window, fits")
            << u"rates"_qs << u"Form2"_qs << QSize(378, 313) << u"Command1"_qs << false << true;
        QTest::newRow("calendar, fits") << u"calendar"_qs << u"calender"_qs << QSize(405, 273)
                                        << u"Calendar1"_qs << false << false;
    }

    // The form keeps its size and its controls; the window is as tall as the room at most, and
    // scrolling to the end brings the form's lowest control into the window.
    void fit()
    {
        QFETCH(QString, window);
        QFETCH(QString, form);
        QFETCH(QSize, formSize);
        QFETCH(QString, lowest);
        QFETCH(bool, scrolls);
        QFETCH(bool, besideMain);
        if (besideMain)
            QVERIFY(QTest::qWaitForWindowExposed(open(u"main"_qs)));
        QWidget *shown = open(window);
        QVERIFY(shown && QTest::qWaitForWindowExposed(shown));
        // The whole form, which is what gets printed.
        const QWidget *holder = Form::formOf(shown);
        QCOMPARE(holder->objectName(), form);
        QCOMPARE(holder->size(), formSize);
        auto *scroller = shown->findChild<QScrollArea *>();
        QCOMPARE(scroller != nullptr, scrolls);
        const QRect room = shown->screen()->availableGeometry();
        QCOMPARE(shown->size().boundedTo(room.size()), shown->size());
        if (scrolls) {
            // Once a frame is known, the window with its frame is as tall as the room.
            QCOMPARE(
                (besideMain ? shown->frameGeometry() : shown->geometry()).height(), room.height());
            QVERIFY(!scroller->horizontalScrollBar()->isVisible());
            scroller->verticalScrollBar()->setValue(scroller->verticalScrollBar()->maximum());
        } else {
            QCOMPARE(shown->size(), formSize);
        }
        auto *bottom = shown->findChild<QWidget *>(lowest);
        QVERIFY(bottom && bottom->isVisible());
        const QRect place(bottom->mapTo(shown, QPoint()), bottom->size());
        QVERIFY2(shown->rect().contains(place),
            qPrintable(u"%1,%2 %3x%4"_qs.arg(place.x())
                           .arg(place.y())
                           .arg(place.width())
                           .arg(place.height())));
    }

    // On the scrolling sheet the focus starts in the year list and Tab goes on in month order.
    void sheetKeepsItsFocusOrder()
    {
        QWidget *sheet = open(u"sheet"_qs);
        QVERIFY(QTest::qWaitForWindowActive(sheet));
        const auto spoken = [] {
            return QAccessible::queryAccessibleInterface(QApplication::focusWidget())
                ->text(QAccessible::Name);
        };
        QCOMPARE(spoken(), u"Year list"_qs);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(spoken(), u"April subscription"_qs);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(spoken(), u"Year list"_qs);
    }
};

QTEST_MAIN(SmallScreenTest)
#include "smallscreen_test.moc"
