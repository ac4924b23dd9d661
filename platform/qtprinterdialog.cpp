#include "qtprinterdialog.h"

#include <QImage>
#include <QPrintDialog>
#include <QPrinter>

PrinterDialog::Outcome QtPrinterDialog::print(QWidget *parent, const QImage &image)
{
    QPrinter printer(QPrinter::HighResolution);
    // A landscape page suits the wide window best; the dialog lets the user change it.
    printer.setPageOrientation(QPageLayout::Landscape);
    QPrintDialog dialog(&printer, parent);
    if (dialog.exec() != QDialog::Accepted)
        return Cancelled;
    return printImage(printer, image) ? Printed : Failed;
}
