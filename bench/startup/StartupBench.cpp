// Start-up time: from exec of a program to its first frame on screen, for the game and for
// the minimal GLUT program beside it, alternately, in one run on the same X server.
//
// The first frame is recognised by the window title: the game names its window
// "Tumbrix Velquor FPS: n" in the display step of every frame, right before the buffer
// swap, and the minimal program does the same in its only frame. This program watches the
// X server for new top-level windows and for changes of their name, so it waits on events
// and takes no CPU from the program it measures.
//
// Usage: bench_startup --game PATH --floor PATH [--runs N] [--workdir DIR] [--out FILE]
//                      [--profile FILE]
//   The game runs in --workdir (its data/ must be there); both programs' output is discarded.
//   --profile: after the timed runs, one more start of the game under `perf record`, stopped
//   at its first frame, writing the profile to FILE.
#include <X11/Xlib.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

const double TIMEOUT_SECONDS = 60.0;

struct Options {
    std::string game;
    std::string floor;
    std::string workdir = ".";
    std::string out;
    std::string profile;
    int runs = 15;
};

bool titleShowsFrame(Display* display, Window window)
{
    char* name = nullptr;
    if (XFetchName(display, window, &name) == 0 || name == nullptr) {
        return false;
    }
    const bool shown = std::strstr(name, " FPS: ") != nullptr;
    XFree(name);
    return shown;
}

// Ignores X errors from windows that vanish between an event and our query of them.
int ignoreXError(Display*, XErrorEvent*)
{
    return 0;
}

pid_t spawn(const std::vector<std::string>& command, const std::string& workdir)
{
    std::vector<char*> argv;
    for (const std::string& word : command) {
        argv.push_back(const_cast<char*>(word.c_str()));
    }
    argv.push_back(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        if (chdir(workdir.c_str()) != 0) {
            _exit(126);
        }
        const int null = open("/dev/null", O_WRONLY);
        if (null >= 0) {
            dup2(null, STDOUT_FILENO);
            dup2(null, STDERR_FILENO);
        }
        execvp(argv[0], argv.data());
        _exit(127);
    }
    return pid;
}

// Milliseconds from exec to the first frame, or a negative value when the program ended
// or timed out first. The program is then killed; a profiler (`stopGently`) is interrupted
// instead, so that it writes what it recorded.
double timeFirstFrame(Display* display, const std::vector<std::string>& command, const std::string& workdir,
                      bool stopGently = false)
{
    const Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, True);   // drop events of earlier runs

    const auto start = Clock::now();
    const pid_t pid = spawn(command, workdir);
    if (pid < 0) {
        return -1.0;
    }
    double result = -1.0;
    bool ended = false;
    while (result < 0 && !ended) {
        while (result < 0 && XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == CreateNotify) {
                const Window window = event.xcreatewindow.window;
                XSelectInput(display, window, PropertyChangeMask);
                XSync(display, False);
                // The name may have been set before we listened.
                if (titleShowsFrame(display, window)) {
                    result = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
                }
            } else if (event.type == PropertyNotify && event.xproperty.atom == XA_WM_NAME &&
                       titleShowsFrame(display, event.xproperty.window)) {
                result = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            }
        }
        if (result >= 0) {
            break;
        }
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            ended = true;
            break;
        }
        if (std::chrono::duration<double>(Clock::now() - start).count() > TIMEOUT_SECONDS) {
            break;
        }
        pollfd fd{ConnectionNumber(display), POLLIN, 0};
        poll(&fd, 1, 5);
    }
    if (!ended) {
        kill(pid, stopGently ? SIGINT : SIGKILL);
        waitpid(pid, nullptr, 0);
    }
    XSelectInput(display, root, NoEventMask);
    XSync(display, True);
    return result;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n == 0 ? 0.0 : n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

Options parseOptions(int argc, char** argv)
{
    Options options;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string key = argv[i];
        const char* value = argv[i + 1];
        if (key == "--game") {
            options.game = value;
        } else if (key == "--floor") {
            options.floor = value;
        } else if (key == "--workdir") {
            options.workdir = value;
        } else if (key == "--out") {
            options.out = value;
        } else if (key == "--profile") {
            options.profile = value;
        } else if (key == "--runs") {
            options.runs = std::max(1, std::atoi(value));
        } else {
            std::fprintf(stderr, "bench_startup: unknown argument %s\n", key.c_str());
            std::exit(2);
        }
    }
    if (options.game.empty() || options.floor.empty()) {
        std::fprintf(stderr, "usage: bench_startup --game PATH --floor PATH [--runs N] [--workdir DIR] [--out FILE] "
                             "[--profile FILE]\n");
        std::exit(2);
    }
    return options;
}

} // namespace

int main(int argc, char** argv)
{
    const Options options = parseOptions(argc, argv);
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "bench_startup: cannot open the X display\n");
        return 1;
    }
    XSetErrorHandler(ignoreXError);
    std::FILE* out = options.out.empty() ? stdout : std::fopen(options.out.c_str(), "w");
    if (out == nullptr) {
        std::fprintf(stderr, "bench_startup: cannot write %s\n", options.out.c_str());
        return 1;
    }

    // One unmeasured run of each fills the file cache and the driver's shader cache.
    const std::vector<std::string> game = {options.game};
    const std::vector<std::string> floor = {options.floor};
    timeFirstFrame(display, game, options.workdir);
    timeFirstFrame(display, floor, options.workdir);

    std::vector<double> gameTimes;
    std::vector<double> floorTimes;
    int failures = 0;
    for (int i = 0; i < options.runs; ++i) {
        const double g = timeFirstFrame(display, game, options.workdir);
        const double f = timeFirstFrame(display, floor, options.workdir);
        std::fprintf(stderr, "bench_startup: run %d: game %.1f ms, minimal GLUT %.1f ms\n", i + 1, g, f);
        if (g < 0 || f < 0) {
            ++failures;
            continue;
        }
        gameTimes.push_back(g);
        floorTimes.push_back(f);
    }
    if (!options.profile.empty()) {
        timeFirstFrame(display,
                       {"perf", "record", "-q", "-F", "4999", "--call-graph", "dwarf,16384", "-o", options.profile, "--",
                        options.game},
                       options.workdir, true);
    }
    if (gameTimes.empty()) {
        std::fprintf(out, "No run showed a frame (%d failures).\n", failures);
        return 1;
    }

    const double gameMedian = median(gameTimes);
    const double floorMedian = median(floorTimes);
    std::fprintf(out, "| program | median ms | min ms | max ms |\n|---|---:|---:|---:|\n");
    std::fprintf(out, "| `tumbrix` | %.1f | %.1f | %.1f |\n", gameMedian, *std::min_element(gameTimes.begin(), gameTimes.end()),
                 *std::max_element(gameTimes.begin(), gameTimes.end()));
    std::fprintf(out, "| minimal GLUT program | %.1f | %.1f | %.1f |\n", floorMedian,
                 *std::min_element(floorTimes.begin(), floorTimes.end()),
                 *std::max_element(floorTimes.begin(), floorTimes.end()));
    std::fprintf(out, "\n%zu runs of each, alternating%s. Ratio of medians: **%.2f** (target: at most 1.5).\n",
                 gameTimes.size(), failures > 0 ? (", " + std::to_string(failures) + " failed runs left out").c_str() : "",
                 gameMedian / floorMedian);
    if (out != stdout) {
        std::fclose(out);
    }
    XCloseDisplay(display);
    return 0;
}
