#pragma once

#include "printerdialog.h"

#include <QImage>
#include <QList>

// Records each image the window would print, and answers the dialog as scripted.
class FakePrinterDialog : public PrinterDialog
{
public:
    FakePrinterDialog() { PrinterDialog::install(this); }
    ~FakePrinterDialog() override { PrinterDialog::install(nullptr); }

    bool print(QWidget *, const QImage &image) override
    {
        ++dialogs;
        if (!accept)
            return false;
        printed.append(image);
        return true;
    }

    bool accept = true;
    int dialogs = 0;
    QList<QImage> printed;
};
