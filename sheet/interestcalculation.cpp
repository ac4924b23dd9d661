#include "interestcalculation.h"

#include "numberreading.h"
#include "numbertext.h"

#include <algorithm>
#include <cmath>

namespace {

// One step's reading and arithmetic; it notes any value outside the double range, read or made.
class Step
{
public:
    explicit Step(const SheetTexts &texts)
        : m_texts(texts)
    {
    }

    double value(int box)
    {
        const NumberReading reading = readNumber(m_texts[box]);
        m_overflow = m_overflow || !reading.inRange;
        return reading.value;
    }

    // Writes the result as text, or reports that it cannot be written.
    bool write(SheetTexts &texts, int box, double result) const
    {
        if (m_overflow || !std::isfinite(result))
            return false;
        texts[box] = numberText(result);
        return true;
    }

private:
    const SheetTexts &m_texts;
    bool m_overflow = false;
};

template<typename Member> double sumOverMonths(Step &step, Member column)
{
    double sum = 0.0;
    for (const MonthRow &month : monthRows)
        sum = sum + step.value(month.*column);
    return sum;
}

// The steps in order; each writes one result box or says which one it could not write.
std::optional<CalculationFault> runSteps(SheetTexts &texts)
{
    // Each month's balance carries to the next through the text of its box.
    int previousBox = Box::openingBalance;
    for (const MonthRow &month : monthRows) {
        Step step(texts);
        const double balance = ((step.value(previousBox) + step.value(month.subscription))
                                   + step.value(month.refund))
            - step.value(month.withdrawal);
        if (!step.write(texts, month.balance, balance))
            return CalculationFault {month.balance};
        previousBox = month.balance;
    }

    {
        Step step(texts);
        if (!step.write(texts, Box::summaryOpening, step.value(Box::openingBalance)))
            return CalculationFault {Box::summaryOpening};
    }
    {
        Step step(texts);
        if (!step.write(
                texts, Box::subscriptionTotal, sumOverMonths(step, &MonthRow::subscription)))
            return CalculationFault {Box::subscriptionTotal};
    }
    {
        Step step(texts);
        if (!step.write(texts, Box::refundTotal, sumOverMonths(step, &MonthRow::refund)))
            return CalculationFault {Box::refundTotal};
    }
    {
        Step step(texts);
        const double credits = step.value(Box::subscriptionTotal) + step.value(Box::refundTotal);
        if (!step.write(texts, Box::totalCredits, credits))
            return CalculationFault {Box::totalCredits};
    }
    {
        Step step(texts);
        const double sum = sumOverMonths(step, &MonthRow::balance);
        // The mean goes on as the value of its 15-digit text.
        const double exactMean = sum / 12.0;
        const NumberReading mean = readNumber(numberText(exactMean));
        const double rate = step.value(Box::rate);
        const double rawInterest = (mean.value * rate) / 100.0;
        // The default rounding mode takes halves to the even neighbour.
        const double interest = std::nearbyint(rawInterest);
        if (!std::isfinite(exactMean) || !mean.inRange
            || !step.write(texts, Box::interest, interest))
            return CalculationFault {Box::interest};
    }
    {
        Step step(texts);
        if (!step.write(texts, Box::debits, sumOverMonths(step, &MonthRow::withdrawal)))
            return CalculationFault {Box::debits};
    }
    {
        Step step(texts);
        const double closing = ((step.value(Box::summaryOpening) + step.value(Box::totalCredits))
                                   + step.value(Box::interest))
            - step.value(Box::debits);
        if (!step.write(texts, Box::closingBalance, closing))
            return CalculationFault {Box::closingBalance};
    }
    return std::nullopt;
}

}  // namespace

std::optional<CalculationFault> calculate(SheetTexts &texts)
{
    const std::optional<CalculationFault> fault = runSteps(texts);
    if (fault) {
        // Results this calculation did not reach must not stand beside the ones it wrote.
        const auto failed = std::ranges::find(resultBoxes, fault->box);
        for (auto box = failed; box != resultBoxes.cend(); ++box)
            texts[*box].clear();
    }
    return fault;
}

QList<PartReading> partlyRead(const SheetTexts &texts)
{
    QList<PartReading> parts;
    for (int box = firstBox; box <= lastBox; ++box) {
        if (!isInputBox(box))
            continue;
        const NumberReading reading = readNumber(texts[box]);
        if (reading.extent == NumberReading::Extent::Part)
            parts.append({box, reading.value});
    }
    return parts;
}
