#include "VirtualDisplay.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace testsupport {

namespace {

using Clock = std::chrono::steady_clock;

bool timedOut(Clock::time_point start, int timeoutMs)
{
    return Clock::now() - start > std::chrono::milliseconds(timeoutMs);
}

void pause() { std::this_thread::sleep_for(std::chrono::milliseconds(20)); }

// Reads the display number that Xvfb writes to `fd` once it accepts connections.
std::string readDisplayNumber(int fd, int timeoutMs)
{
    std::string number;
    auto start = Clock::now();
    while (!timedOut(start, timeoutMs)) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 100) <= 0) {
            continue;
        }
        char c;
        if (::read(fd, &c, 1) != 1) {
            break;   // the server died
        }
        if (c == '\n') {
            return number;
        }
        number += c;
    }
    return "";
}

} // namespace

VirtualDisplay::VirtualDisplay(int width, int height)
{
    int fds[2];
    if (::pipe(fds) != 0) {
        return;
    }
    std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
    std::string fdText = std::to_string(fds[1]);
    pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        int devNull = ::open("/dev/null", O_WRONLY);
        ::dup2(devNull, STDOUT_FILENO);
        ::dup2(devNull, STDERR_FILENO);
        ::execlp("Xvfb", "Xvfb", "-displayfd", fdText.c_str(), "-screen", "0", screen.c_str(),
            "-nolisten", "tcp", "-noreset", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(fds[1]);
    if (pid < 0) {
        ::close(fds[0]);
        return;
    }
    serverPid = pid;
    std::string number = readDisplayNumber(fds[0], 15000);
    ::close(fds[0]);
    if (number.empty()) {
        std::fprintf(stderr, "VirtualDisplay: Xvfb did not start\n");
        return;
    }
    displayName = ":" + number;
    connection = XOpenDisplay(displayName.c_str());
}

VirtualDisplay::~VirtualDisplay()
{
    if (connection != nullptr) {
        XCloseDisplay(connection);
    }
    if (serverPid > 0) {
        ::kill(serverPid, SIGTERM);
        int status = 0;
        ::waitpid(serverPid, &status, 0);
    }
}

unsigned long VirtualDisplay::waitForWindow(int timeoutMs)
{
    if (connection == nullptr) {
        return 0;
    }
    auto start = Clock::now();
    do {
        Window root = DefaultRootWindow(connection);
        Window parent = 0;
        Window* children = nullptr;
        unsigned int count = 0;
        Window found = 0;
        if (XQueryTree(connection, root, &root, &parent, &children, &count) != 0) {
            for (unsigned int i = 0; i < count && found == 0; i++) {
                XWindowAttributes attributes;
                if (XGetWindowAttributes(connection, children[i], &attributes) != 0 && attributes.map_state == IsViewable) {
                    found = children[i];
                }
            }
            if (children != nullptr) {
                XFree(children);
            }
        }
        if (found != 0) {
            return found;
        }
        pause();
    } while (!timedOut(start, timeoutMs));
    return 0;
}

bool VirtualDisplay::windowSize(unsigned long window, int& width, int& height)
{
    XWindowAttributes attributes;
    if (connection == nullptr || XGetWindowAttributes(connection, window, &attributes) == 0) {
        return false;
    }
    width = attributes.width;
    height = attributes.height;
    return true;
}

bool VirtualDisplay::waitForSize(unsigned long window, int width, int height, int timeoutMs)
{
    auto start = Clock::now();
    do {
        int w = 0;
        int h = 0;
        if (windowSize(window, w, h) && w == width && h == height) {
            return true;
        }
        pause();
    } while (!timedOut(start, timeoutMs));
    return false;
}

std::string VirtualDisplay::windowTitle(unsigned long window)
{
    char* name = nullptr;
    if (connection == nullptr || XFetchName(connection, window, &name) == 0 || name == nullptr) {
        return "";
    }
    std::string title = name;
    XFree(name);
    return title;
}

void VirtualDisplay::requestClose(unsigned long window)
{
    if (connection == nullptr) {
        return;
    }
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(connection, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(connection, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(connection, window, False, NoEventMask, &event);
    XFlush(connection);
}

bool VirtualDisplay::xdotool(const std::string& args)
{
    std::string command = "DISPLAY=" + displayName + " xdotool " + args + " >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

int VirtualDisplay::keysHeld()
{
    if (connection == nullptr) {
        return -1;
    }
    char keys[32] = {};
    XQueryKeymap(connection, keys);
    int held = 0;
    for (char byte : keys) {
        for (int bit = 0; bit < 8; ++bit) {
            held += (static_cast<unsigned char>(byte) >> bit) & 1;
        }
    }
    return held;
}

} // namespace testsupport
