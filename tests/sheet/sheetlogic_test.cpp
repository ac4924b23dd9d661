#include "interestcalculation.h"
#include "marquee.h"

#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(SheetTexts)

namespace {

// 23 characters: in a line of 142 the text reaches the end at column 120.
const QString credits23 = QStringLiteral("ZEL Calculation by Team");

}  // namespace

// The sheet's logic: the year's calculation, its worked examples read from calculations.tsv,
// and the credits line.
class SheetLogicTest : public QObject
{
    Q_OBJECT

private slots:
    // The rows of calculations.tsv.
    void calculations_data()
    {
        QTest::addColumn<SheetTexts>("input");
        QTest::addColumn<QString>("results");
        QTest::addColumn<QString>("fault");
        QFile table(QStringLiteral(CALCULATIONS));
        QVERIFY(table.open(QIODevice::ReadOnly | QIODevice::Text));
        while (!table.atEnd()) {
            const QStringList row = QString::fromUtf8(table.readLine()).chopped(1).split(u'\t');
            if (row[0].startsWith(u'#'))
                continue;
            SheetTexts texts;
            texts[Box::openingBalance] = row[1];
            texts[Box::rate] = row[2];
            const QStringList months[]
                = {row[3].split(u'|'), row[4].split(u'|'), row[5].split(u'|')};
            for (int m = 0; m < 12; ++m) {
                texts[monthRows[m].subscription] = months[0].value(m);
                texts[monthRows[m].refund] = months[1].value(m);
                texts[monthRows[m].withdrawal] = months[2].value(m);
            }
            QTest::newRow(qPrintable(row[0])) << texts << row[6] << row[7];
        }
    }

    // Over the results of an earlier calculation: every result as expected, the one that failed
    // and the later ones emptied, every other box as typed; and a second run changes nothing.
    void calculations()
    {
        QFETCH(SheetTexts, input);
        QFETCH(QString, results);
        QFETCH(QString, fault);

        SheetTexts texts = input;
        for (int box : resultBoxes)
            texts[box] = u"old"_s;
        const std::optional<CalculationFault> failed = calculate(texts);
        QCOMPARE(failed ? boxName(failed->box) : QString(), fault);
        SheetTexts again = texts;
        QCOMPARE(calculate(again).has_value(), failed.has_value());
        QVERIFY(again == texts);
        QStringList shown;
        for (int box : resultBoxes) {
            shown << (texts[box].isEmpty() ? u"-"_s : texts[box]);
            texts[box] = input[box];
        }
        QCOMPARE(shown.join(u' '), results);
        QVERIFY(texts == input);
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
