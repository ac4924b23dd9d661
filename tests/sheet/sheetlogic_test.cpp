#include "interestcalculation.h"
#include "marquee.h"

#include <QTest>

#include <algorithm>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(SheetTexts)

namespace {

// 23 characters: in a line of 142 the text reaches the end at column 120.
const QString credits23 = QStringLiteral("ZEL Calculation by Team");

// A sheet with the opening balance and rate given, and month entries April to March (missing
// months empty).
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

// A text for one month of the year, April being 0.
QStringList in(int month, const QString &text)
{
    QStringList texts(12);
    texts[month] = text;
    return texts;
}

}  // namespace

// The sheet's logic: the year's calculation and the credits line.
class SheetLogicTest : public QObject
{
    Q_OBJECT

private slots:
    void results_data()
    {
        QTest::addColumn<SheetTexts>("input");
        QTest::addColumn<QString>("expected");  // the twelve balances, then the summary

        const auto worked = [](const QString &rate) {
            return sheet(u"10000"_s, rate, QStringList(12, u"1000"_s), in(2, u"600"_s),
                in(6, u"5000"_s));
        };
        const QString example = u"11000 12000 13600 14600 15600 16600 12600 13600 14600 15600 "
                                u"16600 17600 10000 12000 600 12600 "_s;
        const auto twelve
            = [](const QString &balance) { return QStringList(12, balance).join(u' '); };

        QTest::newRow("empty sheet") << sheet({}, {}) << QStringList(19, u"0"_s).join(u' ');
        QTest::newRow("worked example at 8") << worked(u"8"_s) << example + u"1160 5000 18760"_s;
        QTest::newRow("8.5 rounds half down to even")
            << worked(u"8.5"_s) << example + u"1232 5000 18832"_s;
        QTest::newRow("9.5 rounds half up to even")
            << worked(u"9.5"_s) << example + u"1378 5000 18978"_s;
        QTest::newRow("2.5 goes to 2")
            << sheet(u"25"_s, u"10"_s) << twelve(u"25"_s) + u" 25 0 0 0 2 0 27"_s;
        QTest::newRow("3.5 goes to 4")
            << sheet(u"35"_s, u"10"_s) << twelve(u"35"_s) + u" 35 0 0 0 4 0 39"_s;
        // 100 paid in April and 50 in September: a mean balance of 1129.16666666667.
        QTest::newRow("mean not whole")
            << sheet(u"1000"_s, u"8"_s, {u"100"_s, {}, {}, {}, {}, u"50"_s})
            << u"1100 1100 1100 1100 1100 1150 1150 1150 1150 1150 1150 1150 "
               u"1000 150 0 150 90 0 1240"_s;
        QTest::newRow("withdrawal beyond balance") << sheet(u"0"_s, u"10"_s, {}, {},
            in(0, u"1200"_s)) << twelve(u"-1200"_s) + u" 0 0 0 0 -120 1200 -1320"_s;
        QTest::newRow("carried as text") << sheet(u"0.1"_s, {}, in(0, u"0.2"_s))
                                         << twelve(u"0.3"_s) + u" 0.1 0.2 0 0.2 0 0 0.3"_s;
        QTest::newRow("thousands separator")
            << sheet(u"1,000"_s, {}) << twelve(u"1"_s) + u" 1 0 0 0 0 0 1"_s;
    }

    // Every result as expected, every other box as typed, and a second run changes nothing.
    void results()
    {
        QFETCH(SheetTexts, input);
        QFETCH(QString, expected);

        SheetTexts texts = input;
        QVERIFY(!calculate(texts));
        SheetTexts again = texts;
        QVERIFY(!calculate(again) && again == texts);
        QStringList shown;
        for (int box : resultBoxes) {
            shown << texts[box];
            texts[box] = input[box];
        }
        QCOMPARE(shown.join(u' '), expected);
        QVERIFY(texts == input);
    }

    void overflow_data()
    {
        QTest::addColumn<SheetTexts>("input");
        QTest::addColumn<int>("failingBox");

        QTest::newRow("opening balance out of range")
            << sheet(u"1E400"_s, {}) << monthRows[0].balance;
        QTest::newRow("sum beyond range in June")
            << sheet(u"1.7E308"_s, {}, in(2, u"1.7E308"_s)) << monthRows[2].balance;
        QTest::newRow("subscription total") << sheet({}, {}, QStringList(12, u"1E308"_s), {},
            QStringList(12, u"1E308"_s)) << int(Box::subscriptionTotal);
        QTest::newRow("interest product") << sheet(u"1E306"_s, u"1E10"_s) << int(Box::interest);
        // Taken out in April and paid in again in March: only opening plus credits leaves the
        // range.
        QTest::newRow("last step") << sheet(u"1E308"_s, {}, in(11, u"1E308"_s), {},
            in(0, u"1E308"_s)) << int(Box::closingBalance);
    }

    // The steps before the failing one write their boxes; it and the later ones are emptied, so
    // no result of an earlier calculation stands beside the new ones.
    void overflow()
    {
        QFETCH(SheetTexts, input);
        QFETCH(int, failingBox);

        SheetTexts texts = input;
        for (int box : resultBoxes)
            texts[box] = u"old"_s;
        const std::optional<CalculationFault> fault = calculate(texts);
        QVERIFY(fault);
        QCOMPARE(fault->box, failingBox);
        const auto failing = std::ranges::find(resultBoxes, failingBox);
        for (auto box = resultBoxes.begin(); box != resultBoxes.end(); ++box)  // new, old or empty
            QCOMPARE(texts[*box].isEmpty() || texts[*box] == u"old"_s ? texts[*box] : u"new"_s,
                box < failing ? u"new"_s : QString());
    }

    void sweep_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<int>>("calls");    // which calls to look at, in ascending order
        QTest::addColumn<QList<int>>("columns");  // where the text starts in each of them

        QTest::newRow("first call: one blank before the text")
            << credits23 << QList {1} << QList {2};
        QTest::newRow("119th call ends the line, 120th turns left")
            << credits23 << QList {118, 119, 120, 121} << QList {119, 120, 119, 118};
        QTest::newRow("column 1, then column 2 again")
            << credits23 << QList {237, 238, 239, 240} << QList {2, 1, 2, 3};
        QTest::newRow("longer than the line")
            << QString(200, u'y') << QList {1, 2, 3, 4, 5} << QList {2, 3, 2, 1, 2};
    }

    // Every line is exactly 142 characters, whatever the text's length.
    void sweep()
    {
        QFETCH(QString, text);
        QFETCH(QList<int>, calls);
        QFETCH(QList<int>, columns);

        Marquee marquee;
        qsizetype next = 0;
        for (int call = 1; call <= calls.last(); ++call) {
            const QString line = marquee.MarqueeText(text, 142);
            QCOMPARE(line.size(), 142);
            if (call == calls[next])  // the text from its column on, cut at the line's end
                QCOMPARE(line,
                    (QString(columns[next++] - 1, u' ') + text).leftJustified(142, u' ', true));
        }
    }

    // Only a line as wide as the 16-bit range lets the position reach the top of that range: an
    // empty text in the widest line walks it up to 32767 with the step still +1.
    // The next sum does not fit; the position stays at 32767 instead of wrapping to -32768, which
    // would have sent the text back to column 2.
    void positionStaysWithin16Bits()
    {
        constexpr qint16 widest = 32767;
        Marquee marquee;
        for (int call = 0; call < widest - 1; ++call)
            marquee.MarqueeText(QString(), widest);  // columns 2 .. 32767
        QCOMPARE(marquee.MarqueeText(u"#"_s, widest).indexOf(u'#'), widest - 1);
        QCOMPARE(marquee.MarqueeText(u"#"_s, widest).indexOf(u'#'), widest - 2);
    }
};

QTEST_GUILESS_MAIN(SheetLogicTest)
#include "sheetlogic_test.moc"
