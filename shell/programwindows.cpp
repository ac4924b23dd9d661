#include "programwindows.h"

#include "sheetwindow.h"

#include <memory>

ProgramWindows::ProgramWindows()
    : m_sheet([]() -> QWidget * {
        auto sheet = std::make_unique<SheetWindow>();
        return sheet->Form_Load() ? sheet.release() : nullptr;
    })
{
}
