#include "calendarwindow.h"

#include "formcontrols.h"

#include <QCalendarWidget>
#include <QDate>
#include <QMenu>
#include <QPalette>
#include <QProxyStyle>
#include <QTableView>
#include <QTextCharFormat>
#include <QToolButton>

#include <utility>

namespace {

const QColor dateColour(0, 0, 160);

QFont arial(qreal points, bool bold)
{
    return Form::font(QStringLiteral("Arial"), points, bold);
}

// Draws a table's grid lines in the button-shadow colour, whatever colour the style would pick.
class ShadowGridStyle : public QProxyStyle
{
public:
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
        QStyleHintReturn *returnData) const override
    {
        if (hint == SH_Table_GridLineColor && option)
            return int(option->palette.color(QPalette::Dark).rgba());
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

}  // namespace

CalendarWindow::CalendarWindow(QWidget *parent)
    : QWidget(parent, Form::fixedWindow)
{
    Form::setUpWindow(this, QStringLiteral("calender"),
        QStringLiteral("Calender - ZEL Calculation 2003"), 6075, 4095);

    Calendar1 = new QCalendarWidget(this);
    Calendar1->setObjectName(QStringLiteral("Calendar1"));
    Calendar1->setAccessibleName(QStringLiteral("Calendar"));
    Form::place(Calendar1, 0, 0, 6075, 4095);
    Calendar1->setSelectedDate(QDate(2003, 9, 23));
    Calendar1->setGridVisible(true);
    Calendar1->setNavigationBarVisible(true);
    Calendar1->setHorizontalHeaderFormat(QCalendarWidget::ShortDayNames);
    Calendar1->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    styleCalendar();

    Form::fitOnScreen(this);
    Form::centreOnScreen(this);
}

void CalendarWindow::styleCalendar()
{
    // The dates take the calendar's font and text colour; the day names' format is laid over
    // them, so the weekdays carry no format of their own (not even the weekend's red).
    Calendar1->setFont(arial(8.25, false));
    // The month list pops up as a window of its own; it takes the calendar's colours too.
    for (QMenu *months : Calendar1->findChildren<QMenu *>())
        months->setAttribute(Qt::WA_WindowPropagation);
    QPalette palette = Calendar1->palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Base, Form::lightBlue);
        palette.setColor(group, QPalette::AlternateBase, Form::lightBlue);
        palette.setColor(group, QPalette::Window, Form::lightBlue);
        palette.setColor(group, QPalette::Text, dateColour);
    }
    Calendar1->setPalette(palette);
    for (int day = Qt::Monday; day <= Qt::Sunday; ++day)
        Calendar1->setWeekdayTextFormat(Qt::DayOfWeek(day), QTextCharFormat());

    QTextCharFormat dayNames;
    dayNames.setFont(arial(8.25, true));
    dayNames.setForeground(QColor(Qt::black));
    Calendar1->setHeaderTextFormat(dayNames);

    if (auto *grid = Calendar1->findChild<QTableView *>()) {
        auto *gridStyle = new ShadowGridStyle;
        // A child made after the calendar is deleted after it, so the view never outlives it.
        gridStyle->setParent(this);
        grid->setStyle(gridStyle);
    }

    // The title bar with the month and year selectors draws in the highlight colours.
    if (auto *title
        = Calendar1->findChild<QWidget *>(QStringLiteral("qt_calendar_navigationbar"))) {
        title->setFont(arial(12, true));
        QPalette titlePalette = title->palette();
        for (const auto group : {QPalette::Active, QPalette::Inactive}) {
            titlePalette.setColor(group, QPalette::Highlight, Form::lightBlue);
            titlePalette.setColor(group, QPalette::HighlightedText, dateColour);
            titlePalette.setColor(group, QPalette::ButtonText, dateColour);
            titlePalette.setColor(group, QPalette::WindowText, dateColour);
        }
        title->setPalette(titlePalette);
        // The month arrows in the title's own colour: a desktop theme's arrow pictures are drawn
        // for that theme's background, which may be as light as the title.
        const bool rightToLeft = Calendar1->isRightToLeft();
        const std::pair<const char16_t *, Qt::ArrowType> arrows[] = {
            {u"qt_calendar_prevmonth", rightToLeft ? Qt::RightArrow : Qt::LeftArrow},
            {u"qt_calendar_nextmonth", rightToLeft ? Qt::LeftArrow : Qt::RightArrow},
        };
        for (const auto &[name, arrow] : arrows) {
            if (auto *button = title->findChild<QToolButton *>(QString::fromUtf16(name)))
                button->setArrowType(arrow);
        }
    }
}
