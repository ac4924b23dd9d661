#include "numbertext.h"

#include <QTest>

#include <limits>

class NumberTextTest : public QObject
{
    Q_OBJECT

private slots:
    void format_data();
    void format();
    void emptyValue();
};

void NumberTextTest::format_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");

    QTest::newRow("whole") << 1100.0 << "1100";
    QTest::newRow("half") << 1000.5 << "1000.5";
    QTest::newRow("rate") << 9.5 << "9.5";
    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("negative zero") << -0.0 << "0";
    QTest::newRow("negative") << -98765.4321 << "-98765.4321";
    QTest::newRow("negative fraction") << -0.25 << "-0.25";
    QTest::newRow("smallest plain") << 0.0001 << "0.0001";
    QTest::newRow("largest exponent below plain") << 0.00001 << "1E-05";
    QTest::newRow("fraction with exponent") << 0.000015 << "1.5E-05";
    QTest::newRow("fifteen digits") << 0.123456789012345 << "0.123456789012345";
    QTest::newRow("largest plain") << 123456789012345.0 << "123456789012345";
    QTest::newRow("first with exponent") << 1e15 << "1E+15";
    QTest::newRow("mantissa with exponent") << 1234567890123456.0 << "1.23456789012346E+15";
    QTest::newRow("rounds up into exponent form") << 999999999999999.5 << "1E+15";
    QTest::newRow("rounded to 15 digits") << 1.0 / 3.0 << "0.333333333333333";
    QTest::newRow("two thirds round up") << 2.0 / 3.0 << "0.666666666666667";
    QTest::newRow("sum of tenths") << 0.1 + 0.2 << "0.3";
    QTest::newRow("mean of the example") << 13550.0 / 12.0 << "1129.16666666667";
    QTest::newRow("three-digit exponent") << 1.25e300 << "1.25E+300";
    QTest::newRow("tiny") << 5e-324 << "4.94065645841247E-324";
    QTest::newRow("largest double")
        << std::numeric_limits<double>::max() << "1.79769313486232E+308";
    QTest::newRow("negative exponent form") << -2.5e20 << "-2.5E+20";
}

void NumberTextTest::format()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(numberText(value), text);
}

// A value from the table: an empty one is an empty text.
void NumberTextTest::emptyValue()
{
    QCOMPARE(numberText(std::optional<double>()), QString());
    QCOMPARE(numberText(std::optional<double>(2003.0)), u"2003"_qs);
}

QTEST_GUILESS_MAIN(NumberTextTest)
#include "numbertext_test.moc"
