#pragma once

#include "printerdialog.h"

// The desktop's own printer dialog, and a PDF file when the user chooses to print to one.
class QtPrinterDialog : public PrinterDialog
{
public:
    Printout print(QWidget *window, const QString &documentName) override;
};
