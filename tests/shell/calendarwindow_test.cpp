#include "mainwindow.h"
#include "program.h"

#include <QAction>
#include <QApplication>
#include <QCalendarWidget>
#include <QDate>
#include <QPointer>
#include <QScreen>
#include <QTableView>
#include <QTest>

class CalendarWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void window();
    void opensOnceAndAnewAfterClose();
};

namespace {

// The selected date and the month on show, as "2003-09-23 in 9".
QString shown(QWidget *window)
{
    const auto *calendar = window->findChild<QCalendarWidget *>();
    return calendar->selectedDate().toString(Qt::ISODate) + u" in "_qs
        + QString::number(calendar->monthShown());
}

}  // namespace

void CalendarWindowTest::window()
{
    Program program {QString()};  // the calendar needs no rate table
    QWidget *calendar = program.calendar().open();
    QVERIFY(QTest::qWaitForWindowExposed(calendar));
    QVERIFY(calendar->windowTitle().startsWith(u"Calender "_qs));
    QCOMPARE(calendar->size(), QSize(405, 273));
    QCOMPARE(calendar->minimumSize(), calendar->maximumSize());
    QCOMPARE(calendar->findChild<QCalendarWidget *>()->geometry(), calendar->rect());
    const Qt::WindowFlags buttons = Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint
        | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint;
    QCOMPARE(calendar->windowFlags() & buttons,
        Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);

    // Placed before its frame is known, so the frame may shift it by its own width.
    const QRect frame = calendar->frameGeometry();
    const QSize border = (frame.size() - calendar->size()) / 2;
    const QPoint offset = frame.center() - calendar->screen()->availableGeometry().center();
    QVERIFY(qAbs(offset.x()) <= border.width() + 1 && qAbs(offset.y()) <= border.height() + 1);
}

// However often "&Calender" is chosen, one window shows; a date the user moved to stays until the
// window closes, and the next opening starts again on 23 September 2003.
void CalendarWindowTest::opensOnceAndAnewAfterClose()
{
    Program program {QString()};  // the calendar needs no rate table
    MainWindow main(program);
    main.show();
    QAction *menuItem = main.findChild<QAction *>(u"mycal"_qs);

    menuItem->trigger();
    QPointer<QWidget> calendar = program.calendar().window();
    QVERIFY(QTest::qWaitForWindowActive(calendar));
    QCOMPARE(shown(calendar), u"2003-09-23 in 9"_qs);
    const qsizetype windowCount = QApplication::topLevelWidgets().size();
    auto *days = calendar->findChild<QTableView *>();
    QTest::keyClick(days, Qt::Key_Down);  // a week on, twice
    QTest::keyClick(days, Qt::Key_Down);
    for (int again = 0; again < 2; ++again) {
        main.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&main));
        menuItem->trigger();
        QCOMPARE(program.calendar().window(), calendar.data());
        QVERIFY(QTest::qWaitForWindowActive(calendar));  // brought to the front
    }
    QCOMPARE(QApplication::topLevelWidgets().size(), windowCount);
    QCOMPARE(shown(calendar), u"2003-10-07 in 10"_qs);

    calendar->close();
    QTRY_VERIFY(calendar.isNull());
    QVERIFY(main.isVisible());
    menuItem->trigger();
    QVERIFY(program.calendar().window());
    QCOMPARE(shown(program.calendar().window()), u"2003-09-23 in 9"_qs);
    QCOMPARE(QApplication::topLevelWidgets().size(), windowCount);
}

QTEST_MAIN(CalendarWindowTest)
#include "calendarwindow_test.moc"
