#include "marquee.h"

#include <QTest>

#include <algorithm>

class MarqueeTest : public QObject
{
    Q_OBJECT

private slots:
    void sweep_data();
    void sweep();
    void firstLine();
    void marqueesAreIndependent();
    void textAtColumn_data();
    void textAtColumn();
    void positionStaysWithin16Bits();
};

namespace {

const QString credits23 = QStringLiteral("ZEL Calculation by Team");  // 23 characters

// The expected line: the text from `column` on, cut at the end of a line of `width` blanks.
QString lineWithTextAt(const QString &text, int column, int width)
{
    QString line = QString(column - 1, u' ') + text;
    line.truncate(width);
    return line + QString(width - line.size(), u' ');
}

}  // namespace

void MarqueeTest::sweep_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("width");
    QTest::addColumn<QList<int>>("calls");    // which calls to look at, in ascending order
    QTest::addColumn<QList<int>>("columns");  // where the text starts in each of them

    QCOMPARE(credits23.size(), 23);
    QTest::newRow("119th call ends the line")
        << credits23 << 142 << QList {118, 119} << QList {119, 120};
    QTest::newRow("120th call turns left")
        << credits23 << 142 << QList {120, 121} << QList {119, 118};
    QTest::newRow("column 1, then column 2 again")
        << credits23 << 142 << QList {237, 238, 239, 240} << QList {2, 1, 2, 3};
    QTest::newRow("a cycle takes 238 calls")
        << credits23 << 142 << QList {1, 239, 477} << QList {2, 2, 2};
    QTest::newRow("141 characters") << QString(141, u'x') << 142 << QList {1, 2, 3, 4, 5, 6, 7, 8}
                                    << QList {2, 3, 2, 1, 2, 3, 2, 1};
    QTest::newRow("140 characters, the longest that fits twice")
        << QString(140, u'x') << 142 << QList {1, 2, 3, 4, 5} << QList {2, 3, 2, 1, 2};
    QTest::newRow("longer than the line")
        << QString(200, u'y') << 142 << QList {1, 2, 3, 4, 5} << QList {2, 3, 2, 1, 2};
    QTest::newRow("one character reaches the last column") << QStringLiteral(
        "*") << 142 << QList {140, 141, 142, 282, 283} << QList {141, 142, 141, 1, 2};
    QTest::newRow("narrow line") << QStringLiteral("abc") << 10
                                 << QList {1, 6, 7, 8, 13, 14, 15, 16}
                                 << QList {2, 7, 8, 7, 2, 1, 2, 3};
    QTest::newRow("text as wide as the line")
        << QStringLiteral("abcde") << 5 << QList {1, 2, 3, 4} << QList {2, 3, 2, 1};
    QTest::newRow("blanks inside the text")
        << QStringLiteral(" a b ") << 12 << QList {1, 7, 8} << QList {2, 8, 7};
}

void MarqueeTest::sweep()
{
    QFETCH(QString, text);
    QFETCH(int, width);
    QFETCH(QList<int>, calls);
    QFETCH(QList<int>, columns);

    Marquee marquee;
    qsizetype next = 0;
    for (int call = 1; call <= calls.last(); ++call) {
        const QString line = marquee.MarqueeText(text, qint16(width));
        QCOMPARE(line.size(), width);
        if (call == calls[next]) {
            QCOMPARE(line, lineWithTextAt(text, columns[next], width));
            ++next;
        }
    }
    QCOMPARE(next, calls.size());
}

void MarqueeTest::firstLine()
{
    Marquee marquee;
    QCOMPARE(marquee.MarqueeText(credits23, 142), u' ' + credits23 + QString(118, u' '));
}

// Each sheet slot keeps its own position: a new Marquee starts afresh, a copy goes on.
void MarqueeTest::marqueesAreIndependent()
{
    Marquee first;
    for (int call = 0; call < 50; ++call)
        first.MarqueeText(credits23, 142);
    Marquee second;
    QCOMPARE(second.MarqueeText(credits23, 142), lineWithTextAt(credits23, 2, 142));
    Marquee copy = first;
    QCOMPARE(copy.MarqueeText(credits23, 142), lineWithTextAt(credits23, 52, 142));
    QCOMPARE(first.MarqueeText(credits23, 142), lineWithTextAt(credits23, 52, 142));
}

void MarqueeTest::textAtColumn_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("line");

    QTest::newRow("first column") << "ab" << 1 << 5 << "ab   ";
    QTest::newRow("ends in the last column") << "ab" << 4 << 5 << "   ab";
    QTest::newRow("cut at the end") << "abc" << 4 << 5 << "   ab";
    QTest::newRow("beyond the line") << "abc" << 6 << 5 << "     ";
    QTest::newRow("column 0") << "abc" << 0 << 5 << "     ";
    QTest::newRow("zero width") << "abc" << 1 << 0 << "";
    QTest::newRow("negative width") << "abc" << 1 << -4 << "";
}

void MarqueeTest::textAtColumn()
{
    QFETCH(QString, text);
    QFETCH(int, column);
    QFETCH(int, width);
    QFETCH(QString, line);
    QCOMPARE(::textAtColumn(text, column, qint16(width)), line);
}

// Only a caller that changes the width between calls can drive the position to the top of the
// 16-bit range: an empty text in the widest line walks it up to 32767 with the step still +1.
// The next sum does not fit; the position stays at 32767 instead of wrapping to -32768, which
// would have sent the text back to column 2.
void MarqueeTest::positionStaysWithin16Bits()
{
    constexpr qint16 widest = 32767;
    Marquee marquee;
    for (int call = 0; call < widest - 1; ++call)
        marquee.MarqueeText(QString(), widest);  // columns 2 .. 32767
    QCOMPARE(marquee.MarqueeText(QStringLiteral("#"), widest).indexOf(u'#'), widest - 1);
    QCOMPARE(marquee.MarqueeText(QStringLiteral("#"), widest).indexOf(u'#'), widest - 2);

    Marquee small;  // nor does a width below zero upset it
    QCOMPARE(small.MarqueeText(QStringLiteral("abc"), -5), QString());
    QCOMPARE(small.MarqueeText(QStringLiteral("abc"), 6), QStringLiteral("  abc "));
}

QTEST_GUILESS_MAIN(MarqueeTest)
#include "marquee_test.moc"
