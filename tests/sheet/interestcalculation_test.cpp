#include "interestcalculation.h"

#include <QTest>

Q_DECLARE_METATYPE(SheetTexts)

namespace {

// Month-indexed entries: index 0 is April, 11 is March; missing months are empty.
QStringList only(int month, const QString &text)
{
    QStringList texts(12);
    texts[month] = text;
    return texts;
}

QStringList every(const QString &text)
{
    return QStringList(12, text);
}

SheetTexts sheet(const QString &opening, const QString &rate, const QStringList &subscriptions = {},
    const QStringList &refunds = {}, const QStringList &withdrawals = {})
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

// The result boxes in the order of the steps: twelve balances, then opening, subscriptions,
// refunds, credits, interest, debits, closing.
QList<int> steps()
{
    QList<int> boxes;
    for (const MonthRow &month : monthRows)
        boxes << month.balance;
    return boxes << Box::summaryOpening << Box::subscriptionTotal << Box::refundTotal
                 << Box::totalCredits << Box::interest << Box::debits << Box::closingBalance;
}

QString results(const SheetTexts &texts)
{
    QStringList shown;
    for (int box : steps())
        shown << texts[box];
    return shown.join(u' ');
}

}  // namespace

class InterestCalculationTest : public QObject
{
    Q_OBJECT

private slots:
    void results_data()
    {
        QTest::addColumn<SheetTexts>("input");
        QTest::addColumn<QString>("expected");  // as results() shows them

        const auto worked = [](const QString &rate) {
            return sheet(
                u"10000"_qs, rate, every(u"1000"_qs), only(2, u"600"_qs), only(6, u"5000"_qs));
        };
        const QString example = u"11000 12000 13600 14600 15600 16600 12600 13600 14600 15600 "
                                u"16600 17600 10000 12000 600 12600 "_qs;
        const auto twelve = [](const QString &balance) { return every(balance).join(u' '); };

        QTest::newRow("empty sheet") << sheet({}, {}) << QStringList(19, u"0"_qs).join(u' ');
        QTest::newRow("worked example at 8") << worked(u"8"_qs) << example + u"1160 5000 18760"_qs;
        QTest::newRow("8.5 rounds half down to even")
            << worked(u"8.5"_qs) << example + u"1232 5000 18832"_qs;
        QTest::newRow("9.5 rounds half up to even")
            << worked(u"9.5"_qs) << example + u"1378 5000 18978"_qs;
        QTest::newRow("2.5 goes to 2")
            << sheet(u"25"_qs, u"10"_qs) << twelve(u"25"_qs) + u" 25 0 0 0 2 0 27"_qs;
        QTest::newRow("3.5 goes to 4")
            << sheet(u"35"_qs, u"10"_qs) << twelve(u"35"_qs) + u" 35 0 0 0 4 0 39"_qs;
        // 100 paid in April and 50 in September: a mean balance of 1129.16666666667.
        QTest::newRow("mean not whole")
            << sheet(u"1000"_qs, u"8"_qs, {u"100"_qs, {}, {}, {}, {}, u"50"_qs})
            << u"1100 1100 1100 1100 1100 1150 1150 1150 1150 1150 1150 1150 "
               u"1000 150 0 150 90 0 1240"_qs;
        QTest::newRow("withdrawal beyond balance") << sheet(u"0"_qs, u"10"_qs, {}, {},
            only(0, u"1200"_qs)) << twelve(u"-1200"_qs) + u" 0 0 0 0 -120 1200 -1320"_qs;
        QTest::newRow("carried as text") << sheet(u"0.1"_qs, {}, only(0, u"0.2"_qs))
                                         << twelve(u"0.3"_qs) + u" 0.1 0.2 0 0.2 0 0 0.3"_qs;
        QTest::newRow("thousands separator")
            << sheet(u"1,000"_qs, {}) << twelve(u"1"_qs) + u" 1 0 0 0 0 0 1"_qs;
        QTest::newRow("text entries read from their start") << sheet(u"abc"_qs, u"10%"_qs,
            only(0, u"1200 rupees"_qs)) << twelve(u"1200"_qs) + u" 0 1200 0 1200 120 0 1320"_qs;
        QTest::newRow("negative interest rounds half to even")
            << sheet(u"-25"_qs, u"10"_qs) << twelve(u"-25"_qs) + u" -25 0 0 0 -2 0 -27"_qs;
        QTest::newRow("big values shown with exponent")
            << sheet(u"1E15"_qs, {}) << twelve(u"1E+15"_qs) + u" 1E+15 0 0 0 0 0 1E+15"_qs;
    }

    // Every result as expected, every other box as typed, and a second run changes nothing.
    void results()
    {
        QFETCH(SheetTexts, input);
        QFETCH(QString, expected);

        SheetTexts texts = input;
        QVERIFY(!calculate(texts));
        QCOMPARE(::results(texts), expected);
        for (int box = firstBox; box <= lastBox; ++box) {
            if (!steps().contains(box))
                QCOMPARE(texts[box], input[box]);
        }
        const SheetTexts first = texts;
        QVERIFY(!calculate(texts));
        QVERIFY(texts == first);
    }

    void overflow_data()
    {
        QTest::addColumn<SheetTexts>("input");
        QTest::addColumn<int>("failingBox");

        QTest::newRow("opening balance out of range")
            << sheet(u"1E400"_qs, {}) << monthRows[0].balance;
        QTest::newRow("sum beyond range in June")
            << sheet(u"1.7E308"_qs, {}, only(2, u"1.7E308"_qs)) << monthRows[2].balance;
        QTest::newRow("subscription total") << sheet({}, {}, every(u"1E308"_qs), {},
            every(u"1E308"_qs)) << int(Box::subscriptionTotal);
        QTest::newRow("interest product") << sheet(u"1E306"_qs, u"1E10"_qs) << int(Box::interest);
        // Taken out in April and paid in again in March: only opening plus credits leaves the
        // range.
        QTest::newRow("last step") << sheet(u"1E308"_qs, {}, only(11, u"1E308"_qs), {},
            only(0, u"1E308"_qs)) << int(Box::closingBalance);
    }

    // The steps before the failing one write their boxes; it and the later ones are emptied, so
    // no result of an earlier calculation stands beside the new ones.
    void overflow()
    {
        QFETCH(SheetTexts, input);
        QFETCH(int, failingBox);

        SheetTexts texts = input;
        const QList<int> order = steps();
        for (int box : order)
            texts[box] = u"old"_qs;
        const std::optional<CalculationFault> fault = calculate(texts);
        QVERIFY(fault);
        QCOMPARE(fault->box, failingBox);
        for (qsizetype i = 0; i < order.size(); ++i)
            QCOMPARE(texts[order[i]].isEmpty(), i >= order.indexOf(failingBox));
    }
};

QTEST_GUILESS_MAIN(InterestCalculationTest)
#include "interestcalculation_test.moc"
