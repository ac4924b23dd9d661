#include "formcontrols.h"

#include <QFontDatabase>
#include <QHash>
#include <QIcon>
#include <QLabel>
#include <QPalette>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <utility>

namespace {

// The family itself when it is installed, else Liberation Sans, whose metrics are those of the
// classic sans fonts so that captions fit their places, else the system's own. Asking the font
// system for a family that is not there costs start-up milliseconds for every font that names it,
// so each family is resolved once.
QString installedFamily(const QString &family)
{
    static QHash<QString, QString> resolved;
    if (const auto known = resolved.constFind(family); known != resolved.cend())
        return *known;
    const QString metricCompatible = QStringLiteral("Liberation Sans");
    QString found = family;
    if (!QFontDatabase::hasFamily(family)) {
        found = QFontDatabase::hasFamily(metricCompatible)
            ? metricCompatible
            : QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    }
    resolved.insert(family, found);
    return found;
}

}  // namespace

namespace Form {

QPalette classicPalette()
{
    static const QPalette classic = [] {
        QPalette palette;
        const std::pair<QPalette::ColorRole, QColor> roles[] = {
            {QPalette::WindowText, Qt::black},
            {QPalette::Button, QColor(239, 239, 239)},
            {QPalette::Light, Qt::white},
            {QPalette::Midlight, QColor(202, 202, 202)},
            {QPalette::Dark, QColor(159, 159, 159)},
            {QPalette::Mid, QColor(184, 184, 184)},
            {QPalette::Text, Qt::black},
            {QPalette::BrightText, Qt::white},
            {QPalette::ButtonText, Qt::black},
            {QPalette::Base, Qt::white},
            {QPalette::Window, QColor(239, 239, 239)},
            {QPalette::Shadow, QColor(118, 118, 118)},
            {QPalette::Highlight, QColor(48, 140, 198)},
            {QPalette::HighlightedText, Qt::white},
            {QPalette::Link, Qt::blue},
            {QPalette::LinkVisited, Qt::magenta},
            {QPalette::AlternateBase, QColor(247, 247, 247)},
            {QPalette::ToolTipBase, QColor(255, 255, 220)},
            {QPalette::ToolTipText, Qt::black},
            {QPalette::PlaceholderText, QColor(0, 0, 0, 128)},
        };
        for (const auto &[role, colour] : roles)
            palette.setColor(role, colour);
        const QColor grey(128, 128, 128);
        for (const QPalette::ColorRole role :
            {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::Dark})
            palette.setColor(QPalette::Disabled, role, grey);
        palette.setColor(QPalette::Disabled, QPalette::Base, QColor(239, 239, 239));
        palette.setColor(QPalette::Disabled, QPalette::Highlight, QColor(145, 145, 145));
        return palette;
    }();
    return classic;
}

QFont font(qreal points, bool bold)
{
    return font(QStringLiteral("MS Sans Serif"), points, bold);
}

QFont font(const QString &family, qreal points, bool bold)
{
    QFont f(installedFamily(family));
    f.setStyleHint(QFont::SansSerif);
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

void place(QWidget *control, int left, int top, int width, int height)
{
    control->setGeometry(pixels(left), pixels(top), pixels(width), pixels(height));
}

void setUpWindow(QWidget *window, const QString &name, const QString &title, int width, int height)
{
    window->setObjectName(name);
    window->setWindowTitle(title);
    window->setWindowIcon(QIcon(QStringLiteral(":/images/icon.png")));
    window->setFixedSize(pixels(width), pixels(height));
    window->setPalette(classicPalette());
    setBackground(window, lightBlue);
}

void centreOnScreen(QWidget *window)
{
    if (const QScreen *screen = window->screen())
        window->move(screen->availableGeometry().center() - window->rect().center());
}

void move(QWidget *control, int left, int top)
{
    control->move(pixels(left), pixels(top));
}

void setBackground(QWidget *control, QColor colour)
{
    QPalette palette = control->palette();
    palette.setColor(QPalette::Window, colour);
    control->setPalette(palette);
    control->setAutoFillBackground(true);
}

void setTextColour(QWidget *control, QColor colour)
{
    QPalette palette = control->palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::WindowText, colour);
        palette.setColor(group, QPalette::Text, colour);
        palette.setColor(group, QPalette::ButtonText, colour);
    }
    control->setPalette(palette);
}

void setCaptionColour(QWidget *frame, QColor colour)
{
    // Not the disabled colour: a disabled label inside still draws in the disabled style.
    QPalette palette = frame->palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive})
        palette.setColor(group, QPalette::WindowText, colour);
    frame->setPalette(palette);
}

void chainTabOrder(const QList<QWidget *> &order)
{
    for (qsizetype i = 0; i + 1 < order.size(); ++i)
        QWidget::setTabOrder(order[i], order[i + 1]);
}

QLabel *label(QWidget *container, const QString &name, const QString &caption, int left, int top,
    const QFont &font, QColor colour)
{
    auto *label = new QLabel(caption, container);
    label->setObjectName(name);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Active, QPalette::WindowText, colour);
    palette.setColor(QPalette::Inactive, QPalette::WindowText, colour);
    label->setPalette(palette);
    label->move(pixels(left), pixels(top));
    label->adjustSize();
    return label;
}

QWidget *line(
    QWidget *container, const QString &name, int x1, int y1, int x2, int y2, QColor colour)
{
    auto *line = new QWidget(container);
    line->setObjectName(name);
    setBackground(line, colour);
    const int left = pixels(std::min(x1, x2));
    const int top = pixels(std::min(y1, y2));
    line->setGeometry(left, top, std::max(1, pixels(std::max(x1, x2)) - left),
        std::max(1, pixels(std::max(y1, y2)) - top));
    return line;
}

}  // namespace Form
