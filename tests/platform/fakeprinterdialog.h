#pragma once

#include "printerdialog.h"

#include <QList>
#include <QString>

#include <utility>

// Records each window it would print and the document's name, and answers the dialog as
// scripted.
class FakePrinterDialog : public PrinterDialog
{
public:
    Outcome print(QWidget *window, const QString &documentName) override
    {
        ++dialogs;
        if (!accept)
            return Cancelled;
        if (fail)
            return Failed;
        printed.append({window, documentName});
        return Printed;
    }

    bool accept = true;
    bool fail = false;  // the printer refuses the page
    int dialogs = 0;
    QList<std::pair<QWidget *, QString>> printed;
};
