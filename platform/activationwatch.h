#pragma once

#include <QObject>
#include <QPointer>

class QWidget;

// Tells which of the program's own windows became active and which one was active before it.
// Message boxes, dialogs and pop-ups are not program windows: closing one and going back to the
// window beneath does not count as a change, and neither does a return from another application.
class ActivationWatch : public QObject
{
    Q_OBJECT

public:
    static ActivationWatch &instance();

signals:
    void windowActivated(QWidget *window, QWidget *previous);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    ActivationWatch();

    QPointer<QWidget> m_lastActive;
};
