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
        QTest::addColumn<Exact>("exact");
        const Exact refused;

        QTest::newRow("empty") << "" << 0.0 << refused;
        QTest::newRow("blanks around a fraction") << "\t 9.75\n" << 9.75 << Exact(9.75);
        QTest::newRow("letters after digits") << "12abc" << 12.0 << refused;
        QTest::newRow("thousands separator ends it") << "1,000" << 1.0 << refused;
        QTest::newRow("percent sign ends it") << "8.5%" << 8.5 << refused;
        QTest::newRow("second point ends it") << "1.2.3" << 1.2 << refused;
        QTest::newRow("tabs and line feeds") << "\t1\n0\t" << 10.0 << refused;
        QTest::newRow("carriage return ends it") << "1\r2" << 1.0 << refused;
        QTest::newRow("plus sign") << "+5" << 5.0 << Exact(5);
        QTest::newRow("blank as thousands separator") << "1 000" << 1000.0 << refused;
        QTest::newRow("minus, point first") << "-.5" << -0.5 << Exact(-0.5);
        QTest::newRow("statement after a number") << " 1); DROP TABLE zel; --" << 1.0 << refused;
        QTest::newRow("exponent E") << "2.006E3" << 2006.0 << Exact(2006);
        QTest::newRow("exponent e") << "1e3" << 1000.0 << Exact(1000);
        QTest::newRow("exponent D") << "1D3" << 1000.0 << refused;
        QTest::newRow("exponent without digits") << "7E" << 7.0 << refused;
        QTest::newRow("blanks inside exponent") << "1 E 2" << 100.0 << refused;
        QTest::newRow("full-width digit ends it")
            << QString::fromUtf8("1\xef\xbc\x92") << 1.0 << refused;
        QTest::newRow("too small reads as zero") << "1E-400" << 0.0 << refused;
        QTest::newRow("largest double")
            << "1.7976931348623157E308" << 1.7976931348623157e308 << Exact(1.7976931348623157e308);
        QTest::newRow("many digits") << "123456789012345678901234567890" << 1.2345678901234568e29
                                     << Exact(1.2345678901234568e29);
        QTest::newRow("zeros after the point keep it small")
            << u"1."_s + QString(500, u'0') + u"E-400"_s << 0.0 << refused;
        QTest::newRow("zeros before the digit keep it small")
            << u"0."_s + QString(400, u'0') + u"1E50"_s << 0.0 << refused;
        QTest::newRow("too large, negative") << "-1E400" << tooLarge << refused;
        QTest::newRow("just above the largest double") << "1.8E308" << tooLarge << refused;
        QTest::newRow("fifteen-digit largest double")
            << "1.79769313486232E+308" << tooLarge << refused;
        QTest::newRow("huge exponent") << "1E99999999999999999999" << tooLarge << refused;
    }

    // A box is read as far as it holds a number; where only a number will do, anything else is
    // refused rather than read as far as it goes.
    void read()
    {
        QFETCH(QString, text);
        QFETCH(double, value);
        QFETCH(Exact, exact);
        const NumberReading reading = readNumber(text);
        QCOMPARE(reading.inRange, value != tooLarge);
        QCOMPARE(reading.value, value == tooLarge ? 0.0 : value);
        QCOMPARE(numberValue(text), reading.value);
        QCOMPARE(readExactNumber(text), exact);
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
