#include "firstframeprobe.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <ctime>

namespace {

class FirstFrameFilter : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            // The frame reaches the screen when the paint has been flushed: report after it.
            QTimer::singleShot(0, this, [] {
                timespec now {};
                clock_gettime(CLOCK_MONOTONIC, &now);
                std::printf("first-frame %lld\n",
                    static_cast<long long>(now.tv_sec) * 1'000'000'000LL + now.tv_nsec);
                std::fflush(stdout);
                QCoreApplication::exit(0);
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_seen = false;
};

}  // namespace

void FirstFrameProbe::install(QWidget *window)
{
    window->installEventFilter(new FirstFrameFilter(window));
}
