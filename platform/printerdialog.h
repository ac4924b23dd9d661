#pragma once

class QImage;
class QPrinter;
class QWidget;

// The printer dialog and the printing of a window's image. Tests install a fake that records
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

    virtual ~PrinterDialog() = default;

    // Shows the modal printer dialog; when the user confirms it, prints the image on one page.
    virtual Outcome print(QWidget *parent, const QImage &image) = 0;

    static PrinterDialog &current();
    static void install(PrinterDialog *replacement);

    // Paints the image on the printer's page, as large as fits, centred and in proportion.
    static bool printImage(QPrinter &printer, const QImage &image);
};
