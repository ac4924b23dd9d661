#pragma once

// The application shell. One Program, made by main and living until after the last window, holds
// what the whole program shares: the program's directory and its rate table, the message boxes
// and the printer dialog, the watches over which window is active and over the windows of fixed
// size, and one slot per window type, through which the main window's menu opens the other
// windows. What outlives a window (its slot, and the members a window keeps from one opening to
// the next) lives here too, so that any window may close first. Tests make a Program of their own,
// with fakes for the desktop's services.

#include "activationwatch.h"
#include "fixedsizewatch.h"
#include "marquee.h"
#include "qtmessagebox.h"
#include "qtprinterdialog.h"
#include "sharedrates.h"
#include "windowslot.h"

#include <QString>

class Program
{
public:
    // The program in its directory, with the desktop's own message boxes and printer dialog.
    explicit Program(const QString &directory);
    // The same with other message boxes and printer dialog, which must outlive the program.
    Program(const QString &directory, MessageBox &messages, PrinterDialog &printer);
    Program(const Program &) = delete;
    Program &operator=(const Program &) = delete;

    SharedRates &rates() { return m_rates; }
    MessageBox &messages() { return m_messages; }

    WindowSlot &sheet() { return m_sheet; }
    WindowSlot &rateWindow() { return m_rateWindow; }
    WindowSlot &calendar() { return m_calendar; }

private:
    QWidget *loadSheet();
    QWidget *loadRateWindow();
    static QWidget *openCalendar();
    static void useClassicColours();

    QtMessageBox m_desktopMessages;
    QtPrinterDialog m_desktopPrinter;
    MessageBox &m_messages;
    PrinterDialog &m_printer;
    SharedRates m_rates;  // zel.mdb in the program's directory
    ActivationWatch m_activation;
    FixedSizeWatch m_fixedSizes;  // no window of fixed size is maximized
    Marquee m_sheetMarquee;
    // Last, so that the windows close before what they use.
    WindowSlot m_sheet {[this] { return loadSheet(); }};
    WindowSlot m_rateWindow {[this] { return loadRateWindow(); }};
    WindowSlot m_calendar {[] { return openCalendar(); }};
};
