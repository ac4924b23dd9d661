#include "datafile.h"
#include "interestcalculation.h"
#include "marquee.h"
#include "numberreading.h"
#include "numbertext.h"

#include <QRegularExpression>

using namespace Qt::StringLiterals;

// The program's logic without its windows: how it reads and writes numbers (numbers.tsv,
// number-texts.tsv), the year's calculation on the worked examples of calculations.tsv, and the
// credits line's position on the sweeps of credits-line.tsv.
class LogicTest : public QObject
{
    Q_OBJECT

private slots:
    void read_data() { DataFile::addRows(u"numbers.tsv"_s, {"text", "value", "taken"}); }

    // A box is read as far as it holds a number. Where only a number will do, a text is one when
    // the reading took all of it and the number fits a double; anything else is refused rather
    // than read as far as it goes. A rate may carry its percent sign, and only at its end.
    void read()
    {
        QFETCH(QString, text);
        QFETCH(QString, value);
        const bool inRange = value != u"too large"_s;
        const NumberReading reading = readNumber(text);
        QCOMPARE(reading.inRange, inRange);
        QCOMPARE(reading.value, value.toDouble());  // 0 for a text too large
        QCOMPARE(numberValue(text), reading.value);
        const QString extents[] = {u"blank"_s, u"whole"_s, u"part"_s};
        QCOMPARE(extents[int(reading.extent)], DataFile::field("taken"));
        const std::optional<double> number = DataFile::field("taken") == u"whole"_s && inRange
            ? std::optional(reading.value)
            : std::nullopt;
        QCOMPARE(readExactNumber(text), number);
        QCOMPARE(readExactNumber(text + u"%\n"_s, Unit::Percent), number);
        QCOMPARE(readExactNumber(u'%' + text, Unit::Percent), std::nullopt);
    }

    void text_data() { DataFile::addRows(u"number-texts.tsv"_s, {"value", "text"}); }

    // The text of a value, and of the same value as a plain double where there is one.
    void text()
    {
        QFETCH(QString, text);
        bool plain = false;
        const double number = DataFile::field("value").toDouble(&plain);
        QCOMPARE(numberText(plain ? std::optional(number) : std::nullopt), text);
        if (plain)
            QCOMPARE(numberText(number), text);
    }

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

QTEST_GUILESS_MAIN(LogicTest)
#include "logic_test.moc"
