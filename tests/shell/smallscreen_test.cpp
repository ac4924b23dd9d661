#include "formcontrols.h"
#include "mainwindow.h"
#include "testprogram.h"

#include <QScrollArea>
#include <QScrollBar>

// A 1920 x 1080 screen at 150 % has 1280 x 720 pixels of room: the sheet and the main window are
// taller and scroll inside a window of the screen's height; the rate window is left as it is.
class SmallScreenTest : public QObject
{
    Q_OBJECT

    TestProgram m;
    MainWindow m_main {m.program};

private slots:
    void fit_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QSize>("formSize");  // as on a large screen
        QTest::addColumn<QString>("lowest");  // the control at the form's bottom
        QTest::addColumn<bool>("scrolls");
        QTest::newRow("main window") << u"main"_qs << QSize(1016, 716) << u"Label2"_qs << true;
        QTest::newRow("sheet") << u"sheet"_qs << QSize(1018, 743) << u"Label15"_qs << true;
        QTest::newRow("rate window") << u"rates"_qs << QSize(378, 313) << u"Command1"_qs << false;
    }

    // The form keeps its size and its controls; a form too tall for the room scrolls in a window
    // as tall as the room, and scrolling to the end brings the form's lowest control into view.
    void fit()
    {
        QFETCH(QString, window);
        QFETCH(QSize, formSize);
        QFETCH(QString, lowest);
        QFETCH(bool, scrolls);
        QCOMPARE(QGuiApplication::primaryScreen()->availableGeometry(), QRect(0, 0, 1280, 720));
        m_main.show();
        m_main.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&m_main));
        QWidget *shown = window == u"main"_qs ? &m_main
            : window == u"sheet"_qs           ? m.program.sheet().open()
                                              : m.program.rateWindow().open();
        QVERIFY(shown && QTest::qWaitForWindowActive(shown));
        QCOMPARE(Form::formOf(shown)->size(), formSize);
        auto *scroller = shown->findChild<QScrollArea *>();
        if (scrolls) {
            // The main window is placed before its frame is known; the others beside it allow
            // for it.
            QCOMPARE((shown == &m_main ? shown->geometry() : shown->frameGeometry()).height(), 720);
            QVERIFY(shown->width() < 1280 && !scroller->horizontalScrollBar()->isVisible());
            scroller->verticalScrollBar()->setValue(scroller->verticalScrollBar()->maximum());
        } else {
            QVERIFY(!scroller && shown->size() == formSize);
        }
        auto *bottom = shown->findChild<QWidget *>(lowest);
        QVERIFY(bottom && bottom->isVisible());
        QVERIFY(shown->rect().contains(QRect(bottom->mapTo(shown, QPoint()), bottom->size())));
    }
};

QTEST_MAIN(SmallScreenTest)
#include "smallscreen_test.moc"
