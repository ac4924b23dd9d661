#pragma once

// The windows are fixed arrangements of controls whose places are given in twips (1/1440 inch,
// 15 to a pixel at 96 dots per inch). These helpers turn such a table entry into a placed Qt
// widget with its name, font and colours; high-DPI scaling does the rest.

#include <QColor>
#include <QFont>
#include <QList>
#include <QPalette>
#include <QString>

class QLabel;
class QWidget;

namespace Form {

inline constexpr QColor lightBlue {192, 192, 255};

// A window of fixed size with a single border: a title, a close button, no minimize or maximize.
inline constexpr Qt::WindowFlags fixedWindow = Qt::Window | Qt::MSWindowsFixedSizeDialogHint
    | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint
    | Qt::CustomizeWindowHint;

// Logical pixels for a length in twips, rounded to the nearest pixel.
constexpr int pixels(int twips)
{
    return (twips * 2 + 15) / 30;
}

// The sans font of the forms, "MS Sans Serif" or the nearest installed one.
QFont font(qreal points, bool bold = false);
// Another family, for the few controls that name one.
QFont font(const QString &family, qreal points, bool bold);

// The light system colours the forms were drawn against: black text on white boxes, dark grey
// for what is disabled, black captions. Every window takes them whatever the desktop's theme, so
// that the colours a form gives keep the contrast they were chosen for.
QPalette classicPalette();

void place(QWidget *control, int left, int top, int width, int height);
// Gives a fixed window its name, title, the program's icon, its client size, the classic colours
// and the light blue background that every window of the program has.
void setUpWindow(QWidget *window, const QString &name, const QString &title, int width, int height);
// Puts a window in the middle of the screen it opens on, before it is first shown.
void centreOnScreen(QWidget *window);
// A window larger than the free area of its screen (a small screen, or a large scale) is made as
// large as that area at most (less the frame the desktop draws around the program's windows, once
// one is shown), in its top left corner, and its form scrolls inside it; its
// controls keep their names and places on the form. A window that fits is left exactly as it
// is. Call it once the controls are placed, before the window is first shown.
void fitOnScreen(QWidget *window);
// The whole form of a window: the window itself, or the form that scrolls inside it.
QWidget *formOf(QWidget *window);
void move(QWidget *control, int left, int top);

// Paints the control's own background in the colour.
void setBackground(QWidget *control, QColor colour);
// The colour of the control's text, also when it is disabled.
void setTextColour(QWidget *control, QColor colour);
// The colour of a frame's caption only, so that the boxes inside keep their own.
void setCaptionColour(QWidget *frame, QColor colour);

// Tab goes from each control to the next in the list.
void chainTabOrder(const QList<QWidget *> &order);

// A label that sizes itself to its caption and shows its container's background.
QLabel *label(QWidget *container, const QString &name, const QString &caption, int left, int top,
    const QFont &font, QColor colour = Qt::black);

// A straight line drawn from one point to another; only horizontal and vertical lines occur.
QWidget *line(QWidget *container, const QString &name, int x1, int y1, int x2, int y2,
    QColor colour = Qt::black);

}  // namespace Form
