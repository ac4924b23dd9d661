#pragma once

// The application shell: the main window's menu opens the other windows through the program-wide
// slots kept here, one per window type. What outlives a window (its slot, and the members a
// window keeps from one opening to the next) lives here too, so that any window may close first.

#include "marquee.h"
#include "windowslot.h"

class ProgramWindows
{
public:
    ProgramWindows();

    WindowSlot &sheet() { return m_sheet; }
    WindowSlot &rateWindow() { return m_rateWindow; }
    WindowSlot &calendar() { return m_calendar; }

private:
    Marquee m_sheetMarquee;  // before the slots, so it outlives the sheet
    WindowSlot m_sheet;
    WindowSlot m_rateWindow;
    WindowSlot m_calendar;
};
