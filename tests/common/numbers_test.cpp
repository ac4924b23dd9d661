#include "datafile.h"
#include "numberreading.h"
#include "numbertext.h"

#include <QTest>

using namespace Qt::StringLiterals;

class NumbersTest : public QObject
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
};

QTEST_GUILESS_MAIN(NumbersTest)
#include "numbers_test.moc"
