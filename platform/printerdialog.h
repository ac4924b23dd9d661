#pragma once

class QImage;
class QPrinter;
class QWidget;

// The printer dialog and the printing of a window's image. Tests install a fake that records
// what would have been printed.
class PrinterDialog
{
public:
    virtual ~PrinterDialog() = default;

    // Shows the modal printer dialog; when the user confirms it, prints the image on one page.
    // Returns false when the dialog was cancelled or the printer failed.
    virtual bool print(QWidget *parent, const QImage &image) = 0;

    static PrinterDialog &current();
    static void install(PrinterDialog *replacement);

    // Paints the image on the printer's page, as large as fits, centred and in proportion.
    static bool printImage(QPrinter &printer, const QImage &image);
};
