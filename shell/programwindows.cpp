#include "programwindows.h"

#include "calendarwindow.h"
#include "ratewindow.h"
#include "sheetwindow.h"

#include <memory>

ProgramWindows::ProgramWindows()
    : m_sheet([this]() -> QWidget * {
        auto sheet = std::make_unique<SheetWindow>(m_sheetMarquee);
        return sheet->Form_Load() ? sheet.release() : nullptr;
    })
    , m_rateWindow([]() -> QWidget * {
        auto rates = std::make_unique<RateWindow>();
        return rates->Form_Load() ? rates.release() : nullptr;
    })
    , m_calendar([] { return new CalendarWindow; })
{
}
