#include "fixedsizewatch.h"

#include <QGuiApplication>
#include <QPlatformSurfaceEvent>
#include <QWindow>

#ifdef ZEL_WAYLAND
#include <qpa/qplatformnativeinterface.h>
#include <wayland-client-core.h>
#endif

using namespace Qt::StringLiterals;

namespace {

#ifdef ZEL_WAYLAND
// Qt draws the title bar itself on Wayland and gives every window a maximize button, which asks
// the compositor at once. A compositor that grants it (weston does) requires the window to take the
// screen's size and ends the program's connection when it keeps its own. Withdrawn in the same
// batch of requests, before the compositor answers, the request comes to nothing; a compositor
// that never maximizes a window of fixed size ignores both.
void withdrawMaximizeRequest(QWindow *window)
{
    if (QGuiApplication::platformName() != u"wayland"_s)
        return;
    auto *toplevel = static_cast<wl_proxy *>(
        QGuiApplication::platformNativeInterface()->nativeResourceForWindow(
            "xdg_toplevel", window));
    if (!toplevel)
        return;
    constexpr uint32_t unsetMaximized = 10;  // xdg_toplevel.unset_maximized in the stable xdg-shell
    wl_proxy_marshal_flags(toplevel, unsetMaximized, nullptr, wl_proxy_get_version(toplevel), 0);
}
#else
void withdrawMaximizeRequest(QWindow *) { }
#endif

}  // namespace

FixedSizeWatch::FixedSizeWatch(QObject *parent)
    : QObject(parent)
{
    // Deleting the watch takes it off the application's filters.
    qApp->installEventFilter(this);
}

bool FixedSizeWatch::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::PlatformSurface
        && static_cast<QPlatformSurfaceEvent *>(event)->surfaceEventType()
            == QPlatformSurfaceEvent::SurfaceCreated) {
        if (auto *window = qobject_cast<QWindow *>(watched)) {
            connect(window, &QWindow::windowStateChanged, this, &FixedSizeWatch::windowStateChanged,
                Qt::UniqueConnection);
        }
    }
    return QObject::eventFilter(watched, event);
}

// The state changes as soon as the request is made, before the desktop has acted on it.
void FixedSizeWatch::windowStateChanged(Qt::WindowState state)
{
    auto *window = qobject_cast<QWindow *>(sender());
    if (state != Qt::WindowMaximized || !window || window->minimumSize() != window->maximumSize())
        return;
    window->setWindowStates(window->windowStates() & ~Qt::WindowMaximized);
    withdrawMaximizeRequest(window);
}
