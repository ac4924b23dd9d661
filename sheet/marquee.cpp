#include "marquee.h"

#include <algorithm>
#include <limits>

QString textAtColumn(const QString &text, int column, qint16 width)
{
    QString line(std::max<int>(width, 0), u' ');
    const qsizetype from = column - 1;
    if (from >= 0 && from < line.size()) {
        const qsizetype count = std::min(text.size(), line.size() - from);
        line.replace(from, count, text.constData(), count);
    }
    return line;
}

QString Marquee::MarqueeText(QString text, qint16 W)
{
    const int length = int(text.size());
    // Both are 16-bit: a sum outside that range is left undone rather than wrapped. The text's
    // position stays between 0 and W - length + 1, so this only matters in a line as wide as the
    // 16-bit range, or for a caller that changes the width between calls.
    const int next = MarqueePos + MarqueeStep;
    if (next >= std::numeric_limits<qint16>::min() && next <= std::numeric_limits<qint16>::max())
        MarqueePos = qint16(next);
    // The right end turns the step first, then the left end restarts the sweep at column 2; both
    // are looked at on every call.
    if (MarqueePos > W - length)
        MarqueeStep = -1;
    if (MarqueePos < 1) {
        MarqueePos = 2;
        MarqueeStep = 1;
    }
    return textAtColumn(text, MarqueePos, W);
}
