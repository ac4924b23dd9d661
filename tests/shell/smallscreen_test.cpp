#include "formcontrols.h"
#include "testprogram.h"

#include <QScrollArea>
#include <QScrollBar>

using namespace Qt::StringLiterals;

// A 1920 x 1080 screen at 150 % has 1280 x 720 pixels of room.
class SmallScreenTest : public QObject
{
    Q_OBJECT

    TestProgram m;

private slots:
    // The sheet, taller than the room, keeps its form whole and scrolls it inside a window of the
    // room's height, frame included; scrolling to the end brings the credits line into view. The
    // rate window, which fits, is left as it is.
    void fit()
    {
        QVERIFY(m.ready);
        QWidget *rates = m.program.rateWindow().open();
        QWidget *sheet = m.program.sheet().open();
        QVERIFY(rates && sheet && QTest::qWaitForWindowActive(sheet));
        QCOMPARE(rates->size(), QSize(378, 313));
        QVERIFY(!rates->findChild<QScrollArea *>());
        QCOMPARE(Form::formOf(sheet)->size(), QSize(1018, 743));
        QCOMPARE(sheet->frameGeometry().height(), 720);
        auto *scroller = sheet->findChild<QScrollArea *>();
        QVERIFY(scroller && sheet->width() < 1280 && !scroller->horizontalScrollBar()->isVisible());
        scroller->verticalScrollBar()->setValue(scroller->verticalScrollBar()->maximum());
        auto *credits = sheet->findChild<QWidget *>(u"Label15"_s);
        QVERIFY(sheet->rect().contains(QRect(credits->mapTo(sheet, QPoint()), credits->size())));
    }
};

QTEST_MAIN(SmallScreenTest)
#include "smallscreen_test.moc"
