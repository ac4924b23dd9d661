#include "interestcalculation.h"

#include <QTest>

// Month-indexed entries for a sheet: index 0 is April, 11 is March.
using MonthTexts = QStringList;
Q_DECLARE_METATYPE(SheetTexts)

namespace {

MonthTexts every(const QString &text)
{
    return MonthTexts(12, text);
}

MonthTexts only(int month, const QString &text)
{
    MonthTexts texts(12);
    texts[month] = text;
    return texts;
}

SheetTexts sheet(const QString &opening, const QString &rate, const MonthTexts &subscriptions,
    const MonthTexts &refunds, const MonthTexts &withdrawals)
{
    SheetTexts texts;
    texts[Box::openingBalance] = opening;
    texts[Box::rate] = rate;
    for (int m = 0; m < 12; ++m) {
        texts[monthRows[m].subscription] = subscriptions.value(m);
        texts[monthRows[m].refund] = refunds.value(m);
        texts[monthRows[m].withdrawal] = withdrawals.value(m);
    }
    return texts;
}

MonthTexts balances(const SheetTexts &texts)
{
    MonthTexts result;
    for (const MonthRow &month : monthRows)
        result << texts[month.balance];
    return result;
}

// opening, subscriptions, refunds, credits, interest, debits, closing
QStringList summary(const SheetTexts &texts)
{
    return {texts[Box::summaryOpening], texts[Box::subscriptionTotal], texts[Box::refundTotal],
        texts[Box::totalCredits], texts[Box::interest], texts[Box::debits],
        texts[Box::closingBalance]};
}

}  // namespace

class InterestCalculationTest : public QObject
{
    Q_OBJECT

private slots:
    void results_data();
    void results();
    void inputsUntouched();
    void secondRunGivesSameTexts();
    void overflow_data();
    void overflow();
};

void InterestCalculationTest::results_data()
{
    QTest::addColumn<SheetTexts>("input");
    QTest::addColumn<MonthTexts>("balances");
    QTest::addColumn<QStringList>("summary");

    const MonthTexts none;
    const MonthTexts example = {u"11000"_qs, u"12000"_qs, u"13600"_qs, u"14600"_qs, u"15600"_qs,
        u"16600"_qs, u"12600"_qs, u"13600"_qs, u"14600"_qs, u"15600"_qs, u"16600"_qs, u"17600"_qs};
    auto worked = [&](const QString &rate) {
        return sheet(u"10000"_qs, rate, every(u"1000"_qs), only(2, u"600"_qs), only(6, u"5000"_qs));
    };

    QTest::newRow("empty sheet") << sheet({}, {}, none, none, none) << every(u"0"_qs)
                                 << QStringList(7, u"0"_qs);
    QTest::newRow("worked example at 8") << worked(u"8"_qs) << example
                                         << QStringList {u"10000"_qs, u"12000"_qs, u"600"_qs,
                                                u"12600"_qs, u"1160"_qs, u"5000"_qs, u"18760"_qs};
    QTest::newRow("8.5 rounds half down to even")
        << worked(u"8.5"_qs) << example
        << QStringList {u"10000"_qs, u"12000"_qs, u"600"_qs, u"12600"_qs, u"1232"_qs, u"5000"_qs,
               u"18832"_qs};
    QTest::newRow("9.5 rounds half up to even")
        << worked(u"9.5"_qs) << example
        << QStringList {u"10000"_qs, u"12000"_qs, u"600"_qs, u"12600"_qs, u"1378"_qs, u"5000"_qs,
               u"18978"_qs};
    QTest::newRow("2.5 goes to 2")
        << sheet(u"25"_qs, u"10"_qs, none, none, none) << every(u"25"_qs)
        << QStringList {u"25"_qs, u"0"_qs, u"0"_qs, u"0"_qs, u"2"_qs, u"0"_qs, u"27"_qs};
    QTest::newRow("3.5 goes to 4")
        << sheet(u"35"_qs, u"10"_qs, none, none, none) << every(u"35"_qs)
        << QStringList {u"35"_qs, u"0"_qs, u"0"_qs, u"0"_qs, u"4"_qs, u"0"_qs, u"39"_qs};
    MonthTexts uneven(12);
    uneven[0] = u"100"_qs;
    uneven[5] = u"50"_qs;
    QTest::newRow("mean not whole")
        << sheet(u"1000"_qs, u"8"_qs, uneven, none, none)
        << MonthTexts {u"1100"_qs, u"1100"_qs, u"1100"_qs, u"1100"_qs, u"1100"_qs, u"1150"_qs,
               u"1150"_qs, u"1150"_qs, u"1150"_qs, u"1150"_qs, u"1150"_qs, u"1150"_qs}
        << QStringList {u"1000"_qs, u"150"_qs, u"0"_qs, u"150"_qs, u"90"_qs, u"0"_qs, u"1240"_qs};
    QTest::newRow("withdrawal beyond balance")
        << sheet(u"0"_qs, u"10"_qs, none, none, only(0, u"1200"_qs)) << every(u"-1200"_qs)
        << QStringList {u"0"_qs, u"0"_qs, u"0"_qs, u"0"_qs, u"-120"_qs, u"1200"_qs, u"-1320"_qs};
    MonthTexts tenths(12, u"0.3"_qs);
    QTest::newRow("carried as text")
        << sheet(u"0.1"_qs, {}, only(0, u"0.2"_qs), none, none) << tenths
        << QStringList {u"0.1"_qs, u"0.2"_qs, u"0"_qs, u"0.2"_qs, u"0"_qs, u"0"_qs, u"0.3"_qs};
    QTest::newRow("thousands separator")
        << sheet(u"1,000"_qs, {}, none, none, none) << every(u"1"_qs)
        << QStringList {u"1"_qs, u"0"_qs, u"0"_qs, u"0"_qs, u"0"_qs, u"0"_qs, u"1"_qs};
    QTest::newRow("text entries read from their start")
        << sheet(u"abc"_qs, u"10%"_qs, only(0, u"1200 rupees"_qs), none, none) << every(u"1200"_qs)
        << QStringList {u"0"_qs, u"1200"_qs, u"0"_qs, u"1200"_qs, u"120"_qs, u"0"_qs, u"1320"_qs};
    QTest::newRow("negative interest rounds half to even")
        << sheet(u"-25"_qs, u"10"_qs, none, none, none) << every(u"-25"_qs)
        << QStringList {u"-25"_qs, u"0"_qs, u"0"_qs, u"0"_qs, u"-2"_qs, u"0"_qs, u"-27"_qs};
    QTest::newRow("big values shown with exponent")
        << sheet(u"1E15"_qs, {}, none, none, none) << every(u"1E+15"_qs)
        << QStringList {u"1E+15"_qs, u"0"_qs, u"0"_qs, u"0"_qs, u"0"_qs, u"0"_qs, u"1E+15"_qs};
}

void InterestCalculationTest::results()
{
    QFETCH(SheetTexts, input);
    QFETCH(MonthTexts, balances);
    QFETCH(QStringList, summary);

    SheetTexts texts = input;
    QVERIFY(!calculate(texts));
    QCOMPARE(::balances(texts), balances);
    QCOMPARE(::summary(texts), summary);
}

void InterestCalculationTest::inputsUntouched()
{
    SheetTexts texts = sheet(u" 1,000 "_qs, u"8.5%"_qs, every(u"1e3"_qs), only(3, u"x"_qs), {});
    texts[Box::year] = u"2003-2004"_qs;
    const SheetTexts before = texts;
    calculate(texts);
    for (int box = firstBox; box <= lastBox; ++box) {
        if (isInputBox(box) || box == Box::rate || box == Box::year)
            QCOMPARE(texts[box], before[box]);
    }
}

void InterestCalculationTest::secondRunGivesSameTexts()
{
    SheetTexts texts = sheet(u"1000"_qs, u"8"_qs, only(0, u"100"_qs), {}, {});
    calculate(texts);
    const SheetTexts first = texts;
    calculate(texts);
    QCOMPARE(texts, first);
}

void InterestCalculationTest::overflow_data()
{
    QTest::addColumn<SheetTexts>("input");
    QTest::addColumn<int>("failingBox");

    const MonthTexts none;
    QTest::newRow("opening balance out of range")
        << sheet(u"1E400"_qs, {}, none, none, none) << monthRows[0].balance;
    QTest::newRow("sum beyond range in June")
        << sheet(u"1.7E308"_qs, {}, only(2, u"1.7E308"_qs), none, none) << monthRows[2].balance;
    QTest::newRow("subscription total") << sheet({}, {}, every(u"1E308"_qs), none,
        every(u"1E308"_qs)) << int(Box::subscriptionTotal);
    QTest::newRow("interest product")
        << sheet(u"1E306"_qs, u"1E10"_qs, none, none, none) << int(Box::interest);
    // Taken out in April and paid in again in March: only opening plus credits leaves the range.
    QTest::newRow("last step") << sheet(u"1E308"_qs, {}, only(11, u"1E308"_qs), none,
        only(0, u"1E308"_qs)) << int(Box::closingBalance);
}

void InterestCalculationTest::overflow()
{
    QFETCH(SheetTexts, input);
    QFETCH(int, failingBox);

    // Results from an earlier run show which boxes were written and which kept their text.
    SheetTexts texts = input;
    for (const MonthRow &month : monthRows)
        texts[month.balance] = u"old"_qs;
    for (int box = Box::subscriptionTotal; box <= Box::closingBalance; ++box)
        texts[box] = u"old"_qs;

    const std::optional<CalculationFault> fault = calculate(texts);
    QVERIFY(fault);
    QCOMPARE(fault->box, failingBox);

    // The order of the steps: twelve balances, then the summary boxes in this order.
    QList<int> steps;
    for (const MonthRow &month : monthRows)
        steps << month.balance;
    steps << Box::summaryOpening << Box::subscriptionTotal << Box::refundTotal << Box::totalCredits
          << Box::interest << Box::debits << Box::closingBalance;
    const qsizetype failing = steps.indexOf(failingBox);
    for (qsizetype i = 0; i < steps.size(); ++i) {
        if (i < failing)
            QVERIFY2(texts[steps[i]] != u"old"_qs, qPrintable(boxName(steps[i])));
        else
            QCOMPARE(texts[steps[i]], u"old"_qs);
    }
}

QTEST_GUILESS_MAIN(InterestCalculationTest)
#include "interestcalculation_test.moc"
