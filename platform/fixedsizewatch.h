#pragma once

#include <QObject>

// Keeps every window of fixed size (its least and greatest sizes equal, as the forms and the
// message boxes are) out of the maximized state, when the desktop's title bar, a double click on
// it or a key asks for it: the window stays at its size with everything in it. A window that can
// be resized may be maximized as before. It watches the whole application from its making to its
// end.
class FixedSizeWatch : public QObject
{
    Q_OBJECT

public:
    explicit FixedSizeWatch(QObject *parent = nullptr);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void windowStateChanged(Qt::WindowState state);
};
