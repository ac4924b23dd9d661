#include "numberreading.h"

#include <QTest>

#include <limits>

class NumberReadingTest : public QObject
{
    Q_OBJECT

private slots:
    void read_data();
    void read();
    void outOfRange_data();
    void outOfRange();
    void exact_data();
    void exact();
};

void NumberReadingTest::read_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");

    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("whole") << "1100" << 1100.0;
    QTest::newRow("fraction") << "9.75" << 9.75;
    QTest::newRow("letters after digits") << "12abc" << 12.0;
    QTest::newRow("thousands separator ends it") << "1,000" << 1.0;
    QTest::newRow("percent sign ends it") << "8.5%" << 8.5;
    QTest::newRow("blanks between digits") << " 1 2 3 " << 123.0;
    QTest::newRow("second point ends it") << "1.2.3" << 1.2;
    QTest::newRow("tabs and line feeds") << "\t1\n0\t" << 10.0;
    QTest::newRow("carriage return ends it") << "1\r2" << 1.0;
    QTest::newRow("plus sign") << "+5" << 5.0;
    QTest::newRow("minus sign") << "-5.5" << -5.5;
    QTest::newRow("sign after blank") << " - 7" << -7.0;
    QTest::newRow("lone sign") << "-" << 0.0;
    QTest::newRow("lone point") << "." << 0.0;
    QTest::newRow("sign and point") << "-." << 0.0;
    QTest::newRow("point first") << ".5" << 0.5;
    QTest::newRow("point last") << "5." << 5.0;
    QTest::newRow("two signs") << "+-5" << 0.0;
    QTest::newRow("letters first") << "abc12" << 0.0;
    QTest::newRow("exponent E") << "1E3" << 1000.0;
    QTest::newRow("exponent e") << "1e3" << 1000.0;
    QTest::newRow("exponent D") << "1D3" << 1000.0;
    QTest::newRow("exponent d") << "2.5d-1" << 0.25;
    QTest::newRow("exponent plus") << "1E+2" << 100.0;
    QTest::newRow("exponent minus") << "15E-1" << 1.5;
    QTest::newRow("exponent without digits") << "7E" << 7.0;
    QTest::newRow("exponent sign without digits") << "7E-" << 7.0;
    QTest::newRow("exponent then letters") << "2E2x" << 200.0;
    QTest::newRow("blanks inside exponent") << "1 E 2" << 100.0;
    QTest::newRow("other letter") << "3F2" << 3.0;
    QTest::newRow("too small reads as zero") << "1E-400" << 0.0;
    QTest::newRow("smallest subnormal") << "5E-324" << 5e-324;
    QTest::newRow("largest double") << "1.7976931348623157E308" << 1.7976931348623157e308;
    QTest::newRow("many digits") << "123456789012345678901234567890" << 1.2345678901234568e29;
    QTest::newRow("zero with huge exponent") << "0E99999" << 0.0;
    QTest::newRow("full-width digit ends it") << QString::fromUtf8("1\xef\xbc\x92") << 1.0;
}

void NumberReadingTest::read()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    const NumberReading reading = readNumber(text);
    QVERIFY(reading.inRange);
    QCOMPARE(reading.value, value);
}

void NumberReadingTest::outOfRange_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("exponent") << "1E400";
    QTest::newRow("negative") << "-1E400";
    QTest::newRow("just above the largest double") << "1.8E308";
    QTest::newRow("fifteen-digit text of the largest double") << "1.79769313486232E+308";
    QTest::newRow("long digits") << QString(400, u'9');
    QTest::newRow("huge exponent") << "1E99999999999999999999";
    QTest::newRow("fraction with large exponent") << "0.001E312";
}

void NumberReadingTest::outOfRange()
{
    QFETCH(QString, text);
    const NumberReading reading = readNumber(text);
    QVERIFY(!reading.inRange);
    QCOMPARE(reading.value, 0.0);
}

void NumberReadingTest::exact_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<std::optional<double>>("value");
    QTest::newRow("whole") << "2006" << std::optional(2006.0);
    QTest::newRow("blanks around") << "\t 9.75\n" << std::optional(9.75);
    QTest::newRow("exponent") << "2.006E3" << std::optional(2006.0);
    for (const char *text :
        {"", "abc", "9.5%", "1,000", "1 000", "1D3", "inf", "1E400", " 1); DROP TABLE zel; --"})
        QTest::addRow("refused '%s'", text) << text << std::optional<double>();
}

// Where only a number will do, anything else is refused rather than read as far as it goes.
void NumberReadingTest::exact()
{
    QFETCH(QString, text);
    QFETCH(std::optional<double>, value);
    QCOMPARE(readExactNumber(text), value);
}

QTEST_GUILESS_MAIN(NumberReadingTest)
#include "numberreading_test.moc"
