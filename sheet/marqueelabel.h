#pragma once

#include <QElapsedTimer>
#include <QStaticText>
#include <QString>
#include <QTimer>
#include <QWidget>

// A one-line label for a text that slides inside a line of blanks of constant length. The text
// between the blanks is laid out once; a new line with the same text at another column only
// moves where it is drawn, and repaints are held to about the screen's rate however often the
// line changes.
class MarqueeLabel : public QWidget
{
    Q_OBJECT

public:
    explicit MarqueeLabel(QWidget *parent = nullptr);

    QString text() const { return m_line; }
    // Sizes the label to the whole line when the line's length changes.
    void setText(const QString &line);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void scheduleRepaint();

    QString m_line;
    QStaticText m_shown;      // the line without its leading and trailing blanks
    qreal m_blankWidth = 0;   // one column
    qreal m_x = 0;            // where m_shown starts: its leading blanks' width
    qsizetype m_leading = 0;  // number of leading blanks
    QTimer m_repaint;
    QElapsedTimer m_sincePaint;
};
