#pragma once

#include "printerdialog.h"

class QtPrinterDialog : public PrinterDialog
{
public:
    Outcome print(QWidget *parent, const QImage &image) override;
};
