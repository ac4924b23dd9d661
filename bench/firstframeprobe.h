#pragma once

class QWidget;

// For start-up measurements only: the process prints the monotonic clock (in nanoseconds) right
// after the window's first frame has been painted, then quits. The benchmarks build the program
// with it as zel-calculation-probed; the program itself never has it.
namespace FirstFrameProbe {
void install(QWidget *window);
}
