#include "printerdialog.h"

#include <QDir>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QWidget>

bool PrinterDialog::printWindow(QPagedPaintDevice &device, QWidget *window)
{
    QPainter painter;
    if (window->size().isEmpty() || !painter.begin(&device))
        return false;
    const QRect page = painter.viewport();
    QSize size = window->size();
    size.scale(page.size(), Qt::KeepAspectRatio);
    painter.translate(page.x() + (page.width() - size.width()) / 2.0,
        page.y() + (page.height() - size.height()) / 2.0);
    const qreal scale = qreal(size.width()) / window->width();
    painter.scale(scale, scale);

    // The text cursor and the focus frame belong to the screen, not to the page.
    QWidget *focused = window->focusWidget();
    const bool hadFocus = focused && focused->hasFocus();
    if (hadFocus)
        focused->clearFocus();
    window->render(
        &painter, QPoint(), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);
    if (hadFocus)
        focused->setFocus(Qt::OtherFocusReason);
    return painter.end();
}

QString PrinterDialog::writePdf(const QString &fileName, const QPageLayout &layout, int resolution,
    QWidget *window, const QString &title)
{
    QSaveFile file(fileName);
    const auto failed = [&] {
        return QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(fileName), file.errorString());
    };
    if (!file.open(QIODevice::WriteOnly))
        return failed();
    {
        QPdfWriter writer(&file);
        writer.setPageLayout(layout);
        writer.setResolution(resolution);
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("ZEL Calculation"));
        if (!printWindow(writer, window)) {
            file.cancelWriting();
            return failed();
        }
    }
    return file.commit() ? QString() : failed();
}
