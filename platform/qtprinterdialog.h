#pragma once

#include "printerdialog.h"

class QtPrinterDialog : public PrinterDialog
{
public:
    Outcome print(QWidget *window, const QString &documentName) override;
};
