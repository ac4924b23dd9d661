#include "activationwatch.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QWidget>

ActivationWatch::ActivationWatch(QObject *parent)
    : QObject(parent)
{
    // Deleting the watch takes it off the application's filters.
    qApp->installEventFilter(this);
}

bool ActivationWatch::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::WindowActivate && watched->isWidgetType()) {
        auto *window = static_cast<QWidget *>(watched);
        const bool programWindow = window->isWindow() && !qobject_cast<QDialog *>(window)
            && window->windowType() != Qt::Popup && window->windowType() != Qt::ToolTip;
        if (programWindow && window != m_lastActive) {
            QWidget *previous = m_lastActive;
            m_lastActive = window;
            emit windowActivated(window, previous);
        }
    }
    return QObject::eventFilter(watched, event);
}
