#include "windowslot.h"

WindowSlot::WindowSlot(Factory create)
    : m_create(std::move(create))
{
}

WindowSlot::~WindowSlot()
{
    delete m_window;
}

QWidget *WindowSlot::open()
{
    if (!m_window) {
        m_window = m_create();
        if (!m_window)
            return nullptr;
        m_window->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
    return m_window;
}
