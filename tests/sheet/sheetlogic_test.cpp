#include "datafile.h"
#include "interestcalculation.h"
#include "marquee.h"

#include <QRegularExpression>

using namespace Qt::StringLiterals;

// The sheet's logic: the year's calculation on the worked examples of calculations.tsv, and the
// credits line's position on the sweeps of credits-line.tsv.
class SheetLogicTest : public QObject
{
    Q_OBJECT

private slots:
    void calculations_data()
    {
        DataFile::addRows(u"calculations.tsv"_s,
            {"opening", "rate", "subs", "refunds", "withdrawals", "results", "fault"});
    }

    // Over the results of an earlier calculation: every result as expected, the one that failed
    // and the later ones emptied, every other box as typed.
    void calculations()
    {
        SheetTexts input;
        input.fill(u"old"_s);  // every box not typed into holds an earlier calculation's text
        input[Box::openingBalance] = DataFile::field("opening");
        input[Box::rate] = DataFile::field("rate");
        for (int m = 0; m < 12; ++m) {
            input[monthRows[m].subscription] = DataFile::field("subs").section(u'|', m, m);
            input[monthRows[m].refund] = DataFile::field("refunds").section(u'|', m, m);
            input[monthRows[m].withdrawal] = DataFile::field("withdrawals").section(u'|', m, m);
        }
        SheetTexts texts = input;
        const std::optional<CalculationFault> failed = calculate(texts);
        QCOMPARE(failed ? boxName(failed->box) : QString(), DataFile::field("fault"));
        QStringList shown;
        for (int box : resultBoxes)
            shown << std::exchange(texts[box], input[box]);
        QCOMPARE(shown.replaceInStrings(QRegularExpression(u"^$"_s), u"-"_s).join(u' '),
            DataFile::field("results"));
        QVERIFY(texts == input);
    }

    void sweep_data()
    {
        DataFile::addRows(u"credits-line.tsv"_s, {"text", "between", "width", "calls", "columns"});
    }

    // At each call looked at, the line is as wide as asked, whatever the text's length, and holds
    // the text from its column on, cut at the line's end; the calls between show another text.
    void sweep()
    {
        const QString text = DataFile::field("text");
        const int width = DataFile::field("width").toInt();
        Marquee marquee;
        const QStringList at = DataFile::field("calls").split(u' ');
        const QStringList col = DataFile::field("columns").split(u' ');
        for (int call = 1; call <= at.last().toInt(); ++call) {
            const qsizetype n = at.indexOf(QString::number(call));
            const QString line
                = marquee.MarqueeText(n < 0 ? DataFile::field("between") : text, qint16(width));
            if (n >= 0)
                QCOMPARE(line,
                    (QString(col[n].toInt() - 1, u' ') + text).leftJustified(width, u' ', true));
        }
    }
};

QTEST_GUILESS_MAIN(SheetLogicTest)
#include "sheetlogic_test.moc"
