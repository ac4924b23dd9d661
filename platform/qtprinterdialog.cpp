#include "qtprinterdialog.h"

#include <QDir>
#include <QPrintDialog>
#include <QPrinter>

PrinterDialog::Printout QtPrinterDialog::print(QWidget *window, const QString &documentName)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(documentName);
    // A landscape page suits the wide window best; the dialog lets the user change it.
    printer.setPageOrientation(QPageLayout::Landscape);
    // The file printer's file, named after the document in the home folder. Qt's dialog proposes
    // it by itself only on X11; given here, it is the same on every desktop, and the printer the
    // dialog starts with stays the desktop's own.
    const QPrinter::OutputFormat format = printer.outputFormat();
    printer.setOutputFileName(QDir::home().filePath(documentName + QStringLiteral(".pdf")));
    printer.setOutputFormat(format);
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
