#include "interestcalculation.h"
#include "numberreading.h"
#include "numbertext.h"

#include <benchmark/benchmark.h>

namespace {

void readingNumbers(benchmark::State &state)
{
    const QString texts[] = {QStringLiteral("10000"), QStringLiteral(" 1,000 "),
        QStringLiteral("1129.16666666667"), QStringLiteral("1.5E-05")};
    for (auto _ : state) {
        for (const QString &text : texts)
            benchmark::DoNotOptimize(readNumber(text));
    }
    state.SetItemsProcessed(state.iterations() * 4);
}
BENCHMARK(readingNumbers);

void writingNumbers(benchmark::State &state)
{
    const double values[] = {18760.0, 13550.0 / 12.0, 1234567890123456.0, 0.000015};
    for (auto _ : state) {
        for (const double value : values)
            benchmark::DoNotOptimize(numberText(value));
    }
    state.SetItemsProcessed(state.iterations() * 4);
}
BENCHMARK(writingNumbers);

// The whole calculation over the worked example: opening 10000, rate 8, 1000 a month, a refund
// of 600 in June and a withdrawal of 5000 in October.
void workedExample(benchmark::State &state)
{
    SheetTexts input;
    input[Box::openingBalance] = QStringLiteral("10000");
    input[Box::rate] = QStringLiteral("8");
    for (const MonthRow &month : monthRows)
        input[month.subscription] = QStringLiteral("1000");
    input[monthRows[2].refund] = QStringLiteral("600");
    input[monthRows[6].withdrawal] = QStringLiteral("5000");
    for (auto _ : state) {
        SheetTexts texts = input;
        benchmark::DoNotOptimize(calculate(texts));
        if (texts[Box::closingBalance] != QLatin1String("18760"))
            state.SkipWithError("wrong closing balance");
    }
}
BENCHMARK(workedExample);

}  // namespace

BENCHMARK_MAIN();
