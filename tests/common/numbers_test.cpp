#include "numberreading.h"
#include "numbertext.h"

#include <QTest>

#include <limits>

using namespace Qt::StringLiterals;

using Exact = std::optional<double>;  // what readExactNumber() gives; empty when refused

// Marks a text too large for a double: readNumber() gives 0 and says it is out of range.
constexpr double tooLarge = std::numeric_limits<double>::infinity();

class NumbersTest : public QObject
{
    Q_OBJECT

private slots:
    void read_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("taken");  // how much of the text the reading took

        QTest::newRow("empty") << "" << 0.0 << "blank";
        QTest::newRow("blanks only") << " \t\n" << 0.0 << "blank";
        QTest::newRow("blanks around a fraction") << "\t 9.75\n" << 9.75 << "whole";
        QTest::newRow("letters after digits") << "12abc" << 12.0 << "part";
        QTest::newRow("letters only") << "abc" << 0.0 << "part";
        QTest::newRow("sign only") << "-" << 0.0 << "part";
        QTest::newRow("thousands separator ends it") << "1,000" << 1.0 << "part";
        QTest::newRow("Indian grouping ends it") << "1,00,000" << 1.0 << "part";
        QTest::newRow("decimal comma ends it") << "8,25" << 8.0 << "part";
        QTest::newRow("percent sign ends it") << "8.5%" << 8.5 << "part";
        QTest::newRow("second point ends it") << "1.2.3" << 1.2 << "part";
        QTest::newRow("tabs and line feeds") << "\t1\n0\t" << 10.0 << "whole";
        QTest::newRow("carriage return ends it") << "1\r2" << 1.0 << "part";
        QTest::newRow("plus sign") << "+5" << 5.0 << "whole";
        QTest::newRow("blank as thousands separator") << "1 000" << 1000.0 << "whole";
        QTest::newRow("minus, point first") << "-.5" << -0.5 << "whole";
        QTest::newRow("statement after a number") << " 1); DROP TABLE zel; --" << 1.0 << "part";
        QTest::newRow("exponent E") << "2.006E3" << 2006.0 << "whole";
        QTest::newRow("exponent e") << "1e3" << 1000.0 << "whole";
        QTest::newRow("exponent D") << "2D2" << 200.0 << "whole";
        QTest::newRow("exponent without digits") << "7E" << 7.0 << "part";
        QTest::newRow("blanks inside exponent") << "1 E 2" << 100.0 << "whole";
        QTest::newRow("full-width digit ends it")
            << QString::fromUtf8("1\xef\xbc\x92") << 1.0 << "part";
        QTest::newRow("too small reads as zero") << "1E-400" << 0.0 << "whole";
        QTest::newRow("largest double")
            << "1.7976931348623157E308" << 1.7976931348623157e308 << "whole";
        QTest::newRow("many digits")
            << "123456789012345678901234567890" << 1.2345678901234568e29 << "whole";
        QTest::newRow("zeros after the point keep it small")
            << u"1."_s + QString(500, u'0') + u"E-400"_s << 0.0 << "whole";
        QTest::newRow("zeros before the digit keep it small")
            << u"0."_s + QString(400, u'0') + u"1E50"_s << 0.0 << "whole";
        QTest::newRow("too large, negative") << "-1E400" << tooLarge << "whole";
        QTest::newRow("just above the largest double") << "1.8E308" << tooLarge << "whole";
        QTest::newRow("fifteen-digit largest double")
            << "1.79769313486232E+308" << tooLarge << "whole";
        QTest::newRow("huge exponent, letters after")
            << "1E99999999999999999999x" << tooLarge << "part";
    }

    // A box is read as far as it holds a number. Where only a number will do, a text is one when
    // the reading took all of it and the number fits a double; anything else is refused rather
    // than read as far as it goes.
    void read()
    {
        QFETCH(QString, text);
        QFETCH(double, value);
        QFETCH(QString, taken);
        const NumberReading reading = readNumber(text);
        QCOMPARE(reading.inRange, value != tooLarge);
        QCOMPARE(reading.value, value == tooLarge ? 0.0 : value);
        QCOMPARE(numberValue(text), reading.value);
        const QString extents[] = {u"blank"_s, u"whole"_s, u"part"_s};
        QCOMPARE(extents[int(reading.extent)], taken);
        const bool number = taken == u"whole"_s && value != tooLarge;
        QCOMPARE(readExactNumber(text), number ? Exact(value) : Exact());
    }

    // A rate may carry its percent sign, and only at its end.
    void rate()
    {
        QStringList read;
        for (const QString &text : {u"9.5%"_s, u" 9.5 % "_s, u"%9.5"_s, u"9.5%%"_s, u"%"_s})
            read << numberText(readExactNumber(text, Unit::Percent));
        QCOMPARE(read.join(u'|'), u"9.5|9.5|||"_s);
    }

    void text_data()
    {
        QTest::addColumn<std::optional<double>>("value");  // empty: a null value from the table
        QTest::addColumn<QString>("text");

        QTest::newRow("null") << std::optional<double>() << "";
        QTest::newRow("whole") << std::optional(1100.0) << "1100";
        QTest::newRow("negative zero") << std::optional(-0.0) << "0";
        QTest::newRow("largest exponent below plain") << std::optional(0.00001) << "1E-05";
        QTest::newRow("fifteen digits") << std::optional(0.123456789012345) << "0.123456789012345";
        QTest::newRow("largest plain") << std::optional(123456789012345.0) << "123456789012345";
        QTest::newRow("first with exponent") << std::optional(1e15) << "1E+15";
        QTest::newRow("mantissa with exponent")
            << std::optional(1234567890123456.0) << "1.23456789012346E+15";
        QTest::newRow("rounds up into exponent form")
            << std::optional(999999999999999.5) << "1E+15";
        QTest::newRow("rounded to 15 digits") << std::optional(1.0 / 3.0) << "0.333333333333333";
        QTest::newRow("mean of the example") << std::optional(13550.0 / 12.0) << "1129.16666666667";
        QTest::newRow("largest double")
            << std::optional(std::numeric_limits<double>::max()) << "1.79769313486232E+308";
    }

    // The text of a value, and of the same value as a plain double where there is one.
    void text()
    {
        QFETCH(std::optional<double>, value);
        QFETCH(QString, text);
        QCOMPARE(numberText(value), text);
        if (value)
            QCOMPARE(numberText(*value), text);
    }
};

QTEST_GUILESS_MAIN(NumbersTest)
#include "numbers_test.moc"
