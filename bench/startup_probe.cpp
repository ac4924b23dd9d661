// Times process start to the first painted frame, for the program and for a bare Qt main window
// with a menu bar, started the same way one after the other, and prints the medians and their
// ratio. Run it under a display (Xvfb): startup_probe [program] [runs]

#include "firstframeprobe.h"

#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

extern char **environ;

namespace {

int bareWindow(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.menuBar()->addMenu(QStringLiteral("&File"))->addAction(QStringLiteral("&Quit"));
    window.resize(1016, 740);
    FirstFrameProbe::install(&window);
    window.show();
    return QApplication::exec();
}

long long monotonicNow()
{
    timespec now {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1'000'000'000LL + now.tv_nsec;
}

// Milliseconds from spawning the command to its first painted frame; negative on failure.
double timeToFirstFrame(const std::vector<std::string> &command)
{
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::vector<char *> args;
    for (const std::string &part : command)
        args.push_back(const_cast<char *>(part.c_str()));
    args.push_back(nullptr);

    const long long start = monotonicNow();
    pid_t child = 0;
    const int spawned = posix_spawn(&child, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    if (spawned != 0) {
        close(pipeFds[0]);
        return -1;
    }
    std::string output;
    char buffer[256];
    ssize_t got = 0;
    while ((got = read(pipeFds[0], buffer, sizeof buffer)) > 0)
        output.append(buffer, static_cast<size_t>(got));
    close(pipeFds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    const size_t at = output.find("first-frame ");
    if (at == std::string::npos)
        return -1;
    const long long frame = std::atoll(output.c_str() + at + std::strlen("first-frame "));
    return static_cast<double>(frame - start) / 1e6;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char *argv[])
{
    if (argc > 1 && std::strcmp(argv[1], "--bare") == 0)
        return bareWindow(argc, argv);

    const std::string program = argc > 1 ? argv[1] : ZEL_PROGRAM;
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 21;

    std::vector<double> bare;
    std::vector<double> ours;
    timeToFirstFrame({argv[0], "--bare"});  // warm the page cache for both
    timeToFirstFrame({program});
    for (int run = 0; run < runs; ++run) {
        const double b = timeToFirstFrame({argv[0], "--bare"});
        const double o = timeToFirstFrame({program});
        if (b < 0 || o < 0) {
            std::fprintf(stderr, "a run did not report its first frame (is a display set?)\n");
            return 1;
        }
        bare.push_back(b);
        ours.push_back(o);
    }
    const double bareMedian = median(bare);
    const double oursMedian = median(ours);
    std::printf("bare main window with menu: median %.1f ms (min %.1f, max %.1f)\n", bareMedian,
        *std::min_element(bare.begin(), bare.end()), *std::max_element(bare.begin(), bare.end()));
    std::printf("zel-calculation main window: median %.1f ms (min %.1f, max %.1f)\n", oursMedian,
        *std::min_element(ours.begin(), ours.end()), *std::max_element(ours.begin(), ours.end()));
    std::printf("ratio: %.2f over %d runs each\n", oursMedian / bareMedian, runs);
    std::fflush(stdout);
    return 0;
}
