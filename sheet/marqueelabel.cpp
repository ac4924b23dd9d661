#include "marqueelabel.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QPainter>

#include <cmath>

namespace {

// No screen shows more frames than this a second.
constexpr int framePeriodMs = 16;

}  // namespace

MarqueeLabel::MarqueeLabel(QWidget *parent)
    : QWidget(parent)
{
    m_shown.setTextFormat(Qt::PlainText);
    m_shown.setPerformanceHint(QStaticText::AggressiveCaching);
    m_repaint.setSingleShot(true);
    connect(&m_repaint, &QTimer::timeout, this, qOverload<>(&QWidget::update));
}

void MarqueeLabel::setText(const QString &line)
{
    const bool resize = line.size() != m_line.size();
    m_line = line;

    qsizetype first = 0;
    while (first < line.size() && line[first] == u' ')
        ++first;
    qsizetype end = line.size();
    while (end > first && line[end - 1] == u' ')
        --end;
    const QStringView inner = QStringView(line).sliced(first, end - first);
    // Only a text that changed between the blanks (a long one cut at the line's end) is laid out
    // again; a move only changes where it is drawn.
    const bool changed = inner != m_shown.text();
    if (changed)
        m_shown.setText(inner.toString());
    if (resize) {
        m_blankWidth = QFontMetricsF(font()).horizontalAdvance(u' ');
        updateGeometry();
        adjustSize();
    }
    const bool moved = first != m_leading;
    m_leading = first;
    m_x = m_blankWidth * qreal(first);
    if (moved || changed || resize)
        scheduleRepaint();
}

QSize MarqueeLabel::sizeHint() const
{
    const QFontMetricsF metrics(font());
    return QSize(
        int(std::ceil(metrics.horizontalAdvance(m_line))), int(std::ceil(metrics.height())));
}

void MarqueeLabel::scheduleRepaint()
{
    // A change that comes within a frame of the last paint waits for a later change to draw it;
    // the timer only draws the last change when no other follows, so it never wakes the program
    // while changes keep coming.
    if (!m_sincePaint.isValid() || m_sincePaint.elapsed() >= framePeriodMs) {
        m_repaint.stop();
        update();
    } else {
        m_repaint.start(framePeriodMs);
    }
}

void MarqueeLabel::paintEvent(QPaintEvent *)
{
    m_sincePaint.start();
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawStaticText(QPointF(m_x, 0), m_shown);
}

void MarqueeLabel::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange) {
        const QString line = m_line;
        m_line.clear();  // a new font is a new width
        setText(line);
    }
    QWidget::changeEvent(event);
}
