#pragma once

#include "printerdialog.h"

class QtPrinterDialog : public PrinterDialog
{
public:
    bool print(QWidget *parent, const QImage &image) override;
};
