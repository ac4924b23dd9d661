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

    Outcome print(QWidget *, const QImage &image) override
    {
        ++dialogs;
        if (!accept)
            return Cancelled;
        if (fail)
            return Failed;
        printed.append(image);
        return Printed;
    }

    bool accept = true;
    bool fail = false;  // the printer refuses the page
    int dialogs = 0;
    QList<QImage> printed;
};
