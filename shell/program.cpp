#include "program.h"

#include "calendarwindow.h"
#include "formcontrols.h"
#include "ratewindow.h"
#include "sheetwindow.h"

#include <QApplication>

#include <memory>

Program::Program(const QString &directory)
    : m_messages(m_desktopMessages)
    , m_printer(m_desktopPrinter)
    , m_rates(directory)
{
    useClassicColours();
}

Program::Program(const QString &directory, MessageBox &messages, PrinterDialog &printer)
    : m_messages(messages)
    , m_printer(printer)
    , m_rates(directory)
{
    useClassicColours();
}

void Program::useClassicColours()
{
    // Message boxes and dialogs take the classic light colours of the windows, also on a dark
    // desktop theme.
    QApplication::setPalette(Form::classicPalette());
}

QWidget *Program::loadSheet()
{
    auto sheet = std::make_unique<SheetWindow>(
        m_rates, m_messages, m_printer, m_activation, m_sheetMarquee);
    return sheet->Form_Load() ? sheet.release() : nullptr;
}

QWidget *Program::loadRateWindow()
{
    auto rates = std::make_unique<RateWindow>(m_rates, m_messages);
    return rates->Form_Load() ? rates.release() : nullptr;
}

QWidget *Program::openCalendar()
{
    return new CalendarWindow;
}
