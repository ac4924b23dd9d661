#pragma once

#include <QWidget>

class QCalendarWidget;

// The calendar window, calender: a month calendar for the user's reference that always opens on
// 23 September 2003. It exchanges nothing with the other windows; a date the user moves to is
// lost when the window closes. It keeps the names of the form it rebuilds: calender for the
// window, Calendar1 for the month calendar.
class CalendarWindow : public QWidget
{
    Q_OBJECT

public:
    explicit CalendarWindow(QWidget *parent = nullptr);

private:
    void styleCalendar();

    QCalendarWidget *Calendar1 = nullptr;  // the month calendar, filling the window
};
