#pragma once

#include "sheetfields.h"

#include <QList>

#include <optional>

// The step at which a calculation stopped because a number left the double range.
struct CalculationFault
{
    int box;  // the result box that could not be written; it and later results are emptied
};

// The year's calculation over the sheet's texts: twelve progressive balances, then the summary.
// Every step reads its operands from the texts and writes its result back as number text before
// the next step, so values carry from step to step in their 15-digit text form. Input boxes are
// never changed. On an overflow the calculation stops and says where, and the result boxes it
// did not reach are left empty.
std::optional<CalculationFault> calculate(SheetTexts &texts);

// A typed box whose text the calculation read only in part ('1,00,000' read as 1): the number
// reading took its start and left the rest, and the value is what it took.
struct PartReading
{
    int box;
    double value;
};
// The input boxes (opening balance and month entries) read only in part, in box order. Empty
// boxes and boxes that hold a number and nothing else are not among them.
QList<PartReading> partlyRead(const SheetTexts &texts);
