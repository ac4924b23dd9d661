#include "qtprinterdialog.h"

#include <QPrintDialog>
#include <QPrinter>

PrinterDialog::Outcome QtPrinterDialog::print(QWidget *window, const QString &documentName)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(documentName);
    // A landscape page suits the wide window best; the dialog lets the user change it.
    printer.setPageOrientation(QPageLayout::Landscape);
    QPrintDialog dialog(&printer, window);
    if (dialog.exec() != QDialog::Accepted)
        return Cancelled;
    // Qt would write a PDF straight into the chosen file, leaving half a file on a full disk.
    if (printer.outputFormat() == QPrinter::PdfFormat) {
        return writePdf(printer.outputFileName(), printer.pageLayout(), printer.resolution(),
                   window, documentName)
            ? Printed
            : Failed;
    }
    return printWindow(printer, window) ? Printed : Failed;
}
