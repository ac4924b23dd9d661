#pragma once

// The application shell: the main window's menu opens the other windows through the program-wide
// slots kept here, one per window type. What outlives a window (its slot, and the members a
// window keeps from one opening to the next) lives here too, so that any window may close first.

#include "windowslot.h"

class ProgramWindows
{
public:
    ProgramWindows();

    WindowSlot &sheet() { return m_sheet; }

private:
    WindowSlot m_sheet;
};
