#include "calendarwindow.h"
#include "mainwindow.h"
#include "programwindows.h"

#include <QAction>
#include <QApplication>
#include <QCalendarWidget>
#include <QDate>
#include <QImage>
#include <QLocale>
#include <QPointer>
#include <QScreen>
#include <QTableView>
#include <QTest>
#include <QToolButton>

#include <memory>

class CalendarWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void window();
    void opensOnItsDate();
    void colours_data();
    void colours();
    void centredOnScreen();
    void opensOnce();
    void movedDateLastsUntilClosed();

private:
    QAction *menuItem() const { return m_main->findChild<QAction *>(u"mycal"_qs); }
    static QCalendarWidget *calendarOf(QWidget *window)
    {
        return window->findChild<QCalendarWidget *>(u"Calendar1"_qs);
    }
    int openCalendars() const
    {
        int open = 0;
        for (QWidget *widget : QApplication::topLevelWidgets())
            open += widget->objectName() == u"calender" && widget->isVisible();
        return open;
    }

    std::unique_ptr<ProgramWindows> m_windows;
    std::unique_ptr<MainWindow> m_main;
};

void CalendarWindowTest::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

void CalendarWindowTest::init()
{
    m_windows = std::make_unique<ProgramWindows>();
    m_main = std::make_unique<MainWindow>(*m_windows);
    m_main->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_main.get()));
}

void CalendarWindowTest::cleanup()
{
    m_main.reset();
    m_windows.reset();
}

void CalendarWindowTest::window()
{
    CalendarWindow calendar;
    QCOMPARE(calendar.objectName(), u"calender"_qs);
    QVERIFY(calendar.windowTitle().startsWith(u"Calender "_qs));
    QVERIFY(calendar.windowTitle().size() > 9);  // and a credits phrase after it
    QVERIFY(!calendar.windowIcon().isNull());
    QCOMPARE(calendar.minimumSize(), QSize(405, 273));
    QCOMPARE(calendar.maximumSize(), QSize(405, 273));

    const Qt::WindowFlags flags = calendar.windowFlags();
    QCOMPARE(calendar.windowType(), Qt::Window);
    QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(flags & Qt::MSWindowsFixedSizeDialogHint);

    calendar.show();
    QVERIFY(QTest::qWaitForWindowExposed(&calendar));
    QCOMPARE(calendar.size(), QSize(405, 273));
    QCOMPARE(calendarOf(&calendar)->geometry(), calendar.rect());
}

void CalendarWindowTest::opensOnItsDate()
{
    CalendarWindow calendar;
    calendar.show();
    QVERIFY(QTest::qWaitForWindowExposed(&calendar));
    QCalendarWidget *month = calendarOf(&calendar);
    QCOMPARE(month->selectedDate(), QDate(2003, 9, 23));
    QCOMPARE(month->yearShown(), 2003);
    QCOMPARE(month->monthShown(), 9);
    QVERIFY(month->isGridVisible());
    QVERIFY(month->isNavigationBarVisible());
    QVERIFY(month->horizontalHeaderFormat() != QCalendarWidget::NoHorizontalHeader);

    // The title shows the month and the year as selectors.
    QStringList titles;
    for (const QToolButton *button : month->findChildren<QToolButton *>()) {
        if (button->isVisible() && !button->text().isEmpty())
            titles << button->text().remove(u'&');
    }
    QVERIFY2(titles.contains(u"September"_qs), qPrintable(titles.join(u", ")));
    QVERIFY2(titles.contains(u"2003"_qs), qPrintable(titles.join(u", ")));
}

void CalendarWindowTest::colours_data()
{
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<int>("least");  // pixels of the drawn window
    QTest::addColumn<int>("most");

    const int all = 405 * 273;
    QTest::newRow("light blue background") << QColor(192, 192, 255) << all / 2 << all;
    QTest::newRow("dates and title") << QColor(0, 0, 160) << 50 << all;
    QTest::newRow("day names") << QColor(Qt::black) << 20 << all;
    QTest::newRow("grid lines in the button shadow")
        << QApplication::palette().color(QPalette::Dark) << 400 << all;
    QTest::newRow("no red weekend") << QColor(Qt::red) << 0 << 0;
}

void CalendarWindowTest::colours()
{
    QFETCH(QColor, colour);
    QFETCH(int, least);
    QFETCH(int, most);

    CalendarWindow calendar;
    calendar.show();
    QVERIFY(QTest::qWaitForWindowExposed(&calendar));
    const QImage image = calendar.grab().toImage().convertToFormat(QImage::Format_RGB32);
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            count += image.pixel(x, y) == colour.rgb();
    }
    QVERIFY2(count >= least && count <= most, qPrintable(QString::number(count)));
}

void CalendarWindowTest::centredOnScreen()
{
    QWidget *calendar = m_windows->calendar().open();
    QVERIFY(QTest::qWaitForWindowExposed(calendar));
    // The window is placed before its frame is known, so the frame may shift it by its own width.
    const QRect frame = calendar->frameGeometry();
    const QSize border = (frame.size() - calendar->size()) / 2;
    const QPoint offset = frame.center() - calendar->screen()->availableGeometry().center();
    QVERIFY2(qAbs(offset.x()) <= border.width() + 1 && qAbs(offset.y()) <= border.height() + 1,
        qPrintable(QStringLiteral("%1, %2").arg(offset.x()).arg(offset.y())));
}

void CalendarWindowTest::opensOnce()
{
    menuItem()->trigger();
    QWidget *calendar = m_windows->calendar().window();
    QVERIFY(calendar);
    QVERIFY(QTest::qWaitForWindowActive(calendar));
    for (int again = 0; again < 3; ++again) {
        m_main->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_main.get()));
        menuItem()->trigger();
        QCOMPARE(m_windows->calendar().window(), calendar);
        QVERIFY(QTest::qWaitForWindowActive(calendar));  // brought to the front
    }
    QCOMPARE(openCalendars(), 1);
}

void CalendarWindowTest::movedDateLastsUntilClosed()
{
    menuItem()->trigger();
    QPointer<QWidget> calendar = m_windows->calendar().window();
    QVERIFY(QTest::qWaitForWindowActive(calendar));
    QCalendarWidget *month = calendarOf(calendar);
    auto *days = month->findChild<QTableView *>();
    QVERIFY(days);
    QTest::keyClick(days, Qt::Key_Down);  // a week on, twice: into October
    QTest::keyClick(days, Qt::Key_Down);
    QCOMPARE(month->selectedDate(), QDate(2003, 10, 7));
    QCOMPARE(month->monthShown(), 10);

    menuItem()->trigger();
    QCOMPARE(m_windows->calendar().window(), calendar.data());
    QCOMPARE(month->selectedDate(), QDate(2003, 10, 7));
    QCOMPARE(month->monthShown(), 10);

    calendar->close();
    QTRY_VERIFY(calendar.isNull());
    QVERIFY(m_main->isVisible());  // closing it closes nothing else

    menuItem()->trigger();
    QWidget *reopened = m_windows->calendar().window();
    QVERIFY(reopened);
    QCOMPARE(calendarOf(reopened)->selectedDate(), QDate(2003, 9, 23));
    QCOMPARE(calendarOf(reopened)->monthShown(), 9);
    QCOMPARE(openCalendars(), 1);
}

QTEST_MAIN(CalendarWindowTest)
#include "calendarwindow_test.moc"
