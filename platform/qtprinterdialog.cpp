#include "qtprinterdialog.h"

#include <QPrintDialog>
#include <QPrinter>

PrinterDialog::Printout QtPrinterDialog::print(QWidget *window, const QString &documentName)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(documentName);
    // A landscape page suits the wide window best; the dialog lets the user change it.
    printer.setPageOrientation(QPageLayout::Landscape);
    QPrintDialog dialog(&printer, window);
    if (dialog.exec() != QDialog::Accepted)
        return {Cancelled, {}};
    // Qt would write a PDF straight into the chosen file, leaving half a file on a full disk.
    if (printer.outputFormat() == QPrinter::PdfFormat) {
        const QString failure = writePdf(printer.outputFileName(), printer.pageLayout(),
            printer.resolution(), window, documentName);
        return {failure.isEmpty() ? Printed : Failed, failure};
    }
    if (!printWindow(printer, window))
        return {Failed,
            QStringLiteral("the printer %1 did not take the page").arg(printer.printerName())};
    return {Printed, {}};
}
