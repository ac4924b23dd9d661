#pragma once

#include "sheetfields.h"

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
