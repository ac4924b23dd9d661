#include "sheetfields.h"

bool isInputBox(int box)
{
    if (box == Box::openingBalance)
        return true;
    for (const MonthRow &month : monthRows) {
        if (box == month.subscription || box == month.refund || box == month.withdrawal)
            return true;
    }
    return false;
}

QString boxName(int box)
{
    for (const MonthRow &month : monthRows) {
        const QString name = QString::fromUtf16(month.name);
        if (box == month.subscription)
            return name + QStringLiteral(" subscription");
        if (box == month.refund)
            return name + QStringLiteral(" refund");
        if (box == month.withdrawal)
            return name + QStringLiteral(" withdrawal");
        if (box == month.balance)
            return name + QStringLiteral(" progressive balance");
    }
    switch (box) {
    case Box::rate:
        return QStringLiteral("Rate of interest");
    case Box::year:
        return QStringLiteral("Financial year");
    case Box::openingBalance:
        return QStringLiteral("Opening balance");
    case Box::subscriptionTotal:
        return QStringLiteral("Subscription total");
    case Box::refundTotal:
        return QStringLiteral("Refund total");
    case Box::totalCredits:
        return QStringLiteral("Total credits");
    case Box::summaryOpening:
        return QStringLiteral("Summary opening balance");
    case Box::interest:
        return QStringLiteral("Interest");
    case Box::debits:
        return QStringLiteral("Debits");
    case Box::closingBalance:
        return QStringLiteral("Closing balance");
    }
    return QStringLiteral("Box %1").arg(box);
}
