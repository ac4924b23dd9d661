#include "programwindows.h"

#include "sheetwindow.h"

ProgramWindows::ProgramWindows()
    : m_sheet([] { return new SheetWindow; })
{
}
