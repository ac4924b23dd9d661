#pragma once

#include <QPointer>
#include <QWidget>

#include <functional>

// The program-wide slot of one window type: at most one window of the type exists. Opening an
// open window only brings it to the front; a closed window is destroyed, and the next opening
// creates and loads it anew.
class WindowSlot
{
public:
    // Creates and loads the window; nullptr when its loading failed and it must not open.
    using Factory = std::function<QWidget *()>;

    explicit WindowSlot(Factory create);
    ~WindowSlot();
    WindowSlot(const WindowSlot &) = delete;
    WindowSlot &operator=(const WindowSlot &) = delete;

    // The open-a-window operation of the menu: create and load if needed, show modeless, raise
    // and activate. Returns the window, or nullptr when it could not be loaded.
    QWidget *open();

    QWidget *window() const { return m_window; }

private:
    Factory m_create;
    QPointer<QWidget> m_window;
};
