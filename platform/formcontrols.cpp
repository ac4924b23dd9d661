#include "formcontrols.h"

#include <QApplication>
#include <QFontDatabase>
#include <QHash>
#include <QIcon>
#include <QLabel>
#include <QMainWindow>
#include <QPalette>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QWidget>
#include <QWindow>

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

// The window manager's frame around a window is known only once the window is shown; the frame
// of another shown window of the program stands for it, and none is assumed without one.
QMargins frameOfShownWindows(const QWidget *window)
{
    for (const QWidget *other : QApplication::topLevelWidgets()) {
        const bool framed = other->windowType() == Qt::Window || other->windowType() == Qt::Dialog;
        if (other != window && framed && other->isVisible() && other->windowHandle())
            return other->windowHandle()->frameMargins();
    }
    return {};
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

void fitOnScreen(QWidget *window)
{
    const QScreen *screen = window->screen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const QRect available = area.marginsRemoved(frameOfShownWindows(window));
    auto *mainWindow = qobject_cast<QMainWindow *>(window);
    // A main window's size comes from its menu bar and its central form of fixed size.
    const QSize needed = mainWindow ? mainWindow->sizeHint() : window->size();
    if (needed.width() <= available.width() && needed.height() <= available.height())
        return;

    // A scroll bar takes room beside the form when the room is there.
    const int bar = window->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, window);
    QSize fitted = needed;
    if (needed.height() > available.height())
        fitted.rwidth() += bar;
    if (needed.width() > available.width())
        fitted.rheight() += bar;
    fitted = fitted.boundedTo(available.size());

    QWidget *focus = window->focusWidget();
    if (mainWindow) {
        auto *scroller = new QScrollArea;
        scroller->setObjectName(QStringLiteral("formScroller"));
        scroller->setFrameShape(QFrame::NoFrame);
        scroller->setWidget(mainWindow->takeCentralWidget());
        mainWindow->setCentralWidget(scroller);
    } else {
        const QList<QWidget *> controls
            = window->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
        // Made inside the window first, so that moving the controls keeps their tab order.
        auto *scroller = new QScrollArea(window);
        scroller->setObjectName(QStringLiteral("formScroller"));
        scroller->setFrameShape(QFrame::NoFrame);
        scroller->setGeometry(QRect(QPoint(), fitted));
        auto *form = new QWidget;
        form->setObjectName(QStringLiteral("form"));
        form->setFixedSize(needed);
        form->setAutoFillBackground(true);  // the window's colour, also where it is printed
        scroller->setWidget(form);
        for (QWidget *control : controls)
            control->setParent(form);
    }
    window->setFixedSize(fitted);
    window->move(area.topLeft());  // the frame's place
    if (focus)
        focus->setFocus();
}

QWidget *formOf(QWidget *window)
{
    const auto *scroller = window->findChild<QScrollArea *>(
        QStringLiteral("formScroller"), Qt::FindDirectChildrenOnly);
    return scroller ? scroller->widget() : window;
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
