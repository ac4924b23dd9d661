#pragma once

#include <QString>
#include <QtGlobal>

// A line of `width` blanks with `text` written into it from the 1-based `column` on. Characters
// that would fall beyond the line's end are dropped, so the line keeps its width; a column outside
// the line writes nothing.
QString textAtColumn(const QString &text, int column, qint16 width);

// The sheet's credits line: a text that slides right and left inside a line of blanks, one
// column per call. The sheet's slot owns one Marquee, so a reopened sheet goes on from the column
// where the closed one stopped.
class Marquee
{
public:
    // The next line of exactly `W` characters (none when W is negative).
    QString MarqueeText(QString text, qint16 W);

private:
    qint16 MarqueePos = 0;   // 1-based column at which the text starts in the last line
    qint16 MarqueeStep = 0;  // +1 on the way right, -1 on the way left, 0 before the first call
};
