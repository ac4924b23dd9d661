#pragma once

#include <QObject>
#include <QPointer>

class QWidget;

// Tells which of the program's own windows became active and which one was active before it.
// Message boxes, dialogs and pop-ups are not program windows: closing one and going back to the
// window beneath does not count as a change, and neither does a return from another application.
// It watches the whole application from its making to its end.
class ActivationWatch : public QObject
{
    Q_OBJECT

public:
    explicit ActivationWatch(QObject *parent = nullptr);

signals:
    void windowActivated(QWidget *window, QWidget *previous);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPointer<QWidget> m_lastActive;
};
