#include "marquee.h"

#include <QTest>

namespace {

const QString credits23 = QStringLiteral("ZEL Calculation by Team");

// The expected line: the text from `column` on, cut at the end of a line of `width` blanks.
QString lineWithTextAt(const QString &text, int column, int width)
{
    return (QString(column - 1, u' ') + text + QString(width, u' ')).left(width);
}

}  // namespace

class MarqueeTest : public QObject
{
    Q_OBJECT

private slots:
    void sweep_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<int>>("calls");    // which calls to look at, in ascending order
        QTest::addColumn<QList<int>>("columns");  // where the text starts in each of them

        QCOMPARE(credits23.size(), 23);
        QTest::newRow("first call: one blank before the text")
            << credits23 << QList {1} << QList {2};
        QTest::newRow("119th call ends the line, 120th turns left")
            << credits23 << QList {118, 119, 120, 121} << QList {119, 120, 119, 118};
        QTest::newRow("column 1, then column 2 again")
            << credits23 << QList {237, 238, 239, 240} << QList {2, 1, 2, 3};
        QTest::newRow("141 characters") << QString(141, u'x') << QList {1, 2, 3, 4, 5, 6, 7, 8}
                                        << QList {2, 3, 2, 1, 2, 3, 2, 1};
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
            if (call == calls[next]) {
                QCOMPARE(line, lineWithTextAt(text, columns[next], 142));
                ++next;
            }
        }
    }

    // Only a caller that changes the width between calls can drive the position to the top of the
    // 16-bit range: an empty text in the widest line walks it up to 32767 with the step still +1.
    // The next sum does not fit; the position stays at 32767 instead of wrapping to -32768, which
    // would have sent the text back to column 2.
    void positionStaysWithin16Bits()
    {
        constexpr qint16 widest = 32767;
        Marquee marquee;
        for (int call = 0; call < widest - 1; ++call)
            marquee.MarqueeText(QString(), widest);  // columns 2 .. 32767
        QCOMPARE(marquee.MarqueeText(u"#"_qs, widest).indexOf(u'#'), widest - 1);
        QCOMPARE(marquee.MarqueeText(u"#"_qs, widest).indexOf(u'#'), widest - 2);
    }
};

QTEST_GUILESS_MAIN(MarqueeTest)
#include "marquee_test.moc"
