#pragma once

#include <QString>

class QPageLayout;
class QPagedPaintDevice;
class QWidget;

// The printer dialog and the printing of a window. Tests hand the windows a fake that records
// what would have been printed.
class PrinterDialog
{
public:
    enum Outcome
    {
        Printed,
        Cancelled,  // the user closed the dialog without printing
        Failed,     // the printer or the file could not take the page
    };
    struct Printout
    {
        Outcome outcome = Printed;
        QString failure;  // why it Failed, in the system's words where it gave any
    };

    virtual ~PrinterDialog() = default;

    // Shows the modal printer dialog; when the user confirms it, prints the window on one page
    // as a document of that name.
    virtual Printout print(QWidget *window, const QString &documentName) = 0;

    // Draws the window on the device's page at the device's own resolution, texts and lines as
    // such, as large as fits, centred and in proportion, without the text cursor or focus frame.
    static bool printWindow(QPagedPaintDevice &device, QWidget *window);
    // Writes the window as a PDF file that is there whole or not at all: it is made beside the
    // file and takes its place only once complete, so a failure leaves an older file as it was.
    // Empty when written, else why not: the file's name and the system's reason.
    static QString writePdf(const QString &fileName, const QPageLayout &layout, int resolution,
        QWidget *window, const QString &title);
};
