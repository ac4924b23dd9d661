#include "datafile.h"
#include "interestcalculation.h"
#include "marquee.h"

#include <QRegularExpression>

using namespace Qt::StringLiterals;

// The sheet's logic: the year's calculation on the worked examples of calculations.tsv, and the
// credits line on the sweeps of credits-line.tsv.
class SheetLogicTest : public QObject
{
    Q_OBJECT

private slots:
    void calculations_data()
    {
        for (auto column :
            {"opening", "rate", "subs", "refunds", "withdrawals", "results", "fault"})
            QTest::addColumn<QString>(column);
        DataFile::addRows(u"calculations.tsv"_s);
    }

    // Over the results of an earlier calculation: every result as expected, the one that failed
    // and the later ones emptied, every other box as typed.
    void calculations()
    {
        QFETCH(QString, opening);
        QFETCH(QString, rate);
        QFETCH(QString, subs);
        QFETCH(QString, refunds);
        QFETCH(QString, withdrawals);
        QFETCH(QString, results);
        QFETCH(QString, fault);
        SheetTexts input, texts;
        input[Box::openingBalance] = opening;
        input[Box::rate] = rate;
        for (int m = 0; m < 12; ++m) {
            input[monthRows[m].subscription] = subs.section(u'|', m, m);
            input[monthRows[m].refund] = refunds.section(u'|', m, m);
            input[monthRows[m].withdrawal] = withdrawals.section(u'|', m, m);
        }
        texts = input;
        for (int box : resultBoxes)
            texts[box] = u"old"_s;
        const std::optional<CalculationFault> failed = calculate(texts);
        QCOMPARE(failed ? boxName(failed->box) : QString(), fault);
        QStringList shown;
        for (int box : resultBoxes)
            shown << std::exchange(texts[box], input[box]);
        QCOMPARE(shown.replaceInStrings(QRegularExpression(u"^$"_s), u"-"_s).join(u' '), results);
        QVERIFY(texts == input);
    }

    void sweep_data()
    {
        for (auto column : {"text", "calls", "columns"})
            QTest::addColumn<QString>(column);
        DataFile::addRows(u"credits-line.tsv"_s);
    }

    // At each call looked at, the line is 142 characters, whatever the text's length, and holds
    // the text from its column on, cut at the line's end.
    void sweep()
    {
        QFETCH(QString, text);
        QFETCH(QString, calls);
        QFETCH(QString, columns);
        Marquee marquee;
        const QStringList at = calls.split(u' '), col = columns.split(u' ');
        for (int call = 1; call <= at.last().toInt(); ++call) {
            const QString line = marquee.MarqueeText(text, 142);
            if (const qsizetype n = at.indexOf(QString::number(call)); n >= 0)
                QCOMPARE(line,
                    (QString(col[n].toInt() - 1, u' ') + text).leftJustified(142, u' ', true));
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
