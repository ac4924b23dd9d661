#pragma once

#include "printerdialog.h"

#include <QList>
#include <QString>

#include <utility>

// Records each window it prints with the document's name, and answers the dialog as scripted.
class FakePrinterDialog : public PrinterDialog
{
public:
    Printout print(QWidget *window, const QString &documentName) override
    {
        if (outcome == Printed)
            printed.append({window, documentName});
        return {outcome, outcome == Failed ? failure : QString()};
    }

    Outcome outcome = Printed;  // Cancelled by the user, or Failed when the printer refuses
    QString failure = QStringLiteral("the printer did not take the page");  // why it Failed
    QList<std::pair<QWidget *, QString>> printed;
};
