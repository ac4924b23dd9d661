#include "program.h"

#include "calendarwindow.h"
#include "formcontrols.h"
#include "ratewindow.h"
#include "sheetwindow.h"

#include <QApplication>

#include <memory>

Program::Program(const QString &directory)
    : Program(directory, m_desktopMessages, m_desktopPrinter)
{
}

Program::Program(const QString &directory, MessageBox &messages, PrinterDialog &printer)
    : m_messages(messages)
    , m_printer(printer)
    , m_rates(directory)
    , m_sheet([this]() -> QWidget * {
        auto sheet = std::make_unique<SheetWindow>(
            m_rates, m_messages, m_printer, m_activation, m_sheetMarquee);
        return sheet->Form_Load() ? sheet.release() : nullptr;
    })
    , m_rateWindow([this]() -> QWidget * {
        auto rates = std::make_unique<RateWindow>(m_rates, m_messages);
        return rates->Form_Load() ? rates.release() : nullptr;
    })
    , m_calendar([] { return new CalendarWindow; })
{
    // Message boxes and dialogs take the classic light colours of the windows, also on a dark
    // desktop theme.
    QApplication::setPalette(Form::classicPalette());
}
