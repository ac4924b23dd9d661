#pragma once

class QWidget;

// For start-up measurements only: when the environment variable ZEL_FIRST_FRAME_PROBE is set,
// the process prints the monotonic clock (in nanoseconds) right after the window's first frame
// has been painted, then quits. Otherwise this does nothing.
namespace FirstFrameProbe {
void installIfRequested(QWidget *window);
}
