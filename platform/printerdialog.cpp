#include "printerdialog.h"

#include "qtprinterdialog.h"

#include <QImage>
#include <QPainter>
#include <QPrinter>

namespace {
PrinterDialog *installed = nullptr;
}

PrinterDialog &PrinterDialog::current()
{
    if (installed)
        return *installed;
    static QtPrinterDialog real;
    return real;
}

void PrinterDialog::install(PrinterDialog *replacement)
{
    installed = replacement;
}

bool PrinterDialog::printImage(QPrinter &printer, const QImage &image)
{
    QPainter painter;
    if (image.isNull() || !painter.begin(&printer))
        return false;
    const QRect page = painter.viewport();
    QSize size = image.size();
    size.scale(page.size(), Qt::KeepAspectRatio);
    const QRect target(page.x() + (page.width() - size.width()) / 2,
        page.y() + (page.height() - size.height()) / 2, size.width(), size.height());
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, image);
    return painter.end();
}
