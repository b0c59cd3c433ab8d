#pragma once

#include <string>

// Only an opaque pointer to the X connection here: Xlib's macros (None, Status, ...)
// must not leak into test files that include GoogleTest.
struct _XDisplay;

namespace testsupport {

// A private X server (Xvfb) for one end-to-end test, so that keyboard focus and window
// sizes are not shared with tests running at the same time. The server ends with the object.
class VirtualDisplay {
public:
    explicit VirtualDisplay(int width = 1024, int height = 768);
    ~VirtualDisplay();
    VirtualDisplay(const VirtualDisplay&) = delete;
    VirtualDisplay& operator=(const VirtualDisplay&) = delete;

    bool ok() const { return connection != nullptr; }
    const std::string& name() const { return displayName; }   // ":N", for DISPLAY

    // The first mapped top-level window, waiting up to timeoutMs for one; 0 when none.
    unsigned long waitForWindow(int timeoutMs);
    // Waits until the window has the given size; false on timeout.
    bool waitForSize(unsigned long window, int width, int height, int timeoutMs);
    bool windowSize(unsigned long window, int& width, int& height);
    std::string windowTitle(unsigned long window);
    // Asks the window to close the way a window manager does (WM_DELETE_WINDOW).
    void requestClose(unsigned long window);
    // Runs xdotool with `args` against this display; true when it exits with 0.
    bool xdotool(const std::string& args);
    // How many keys the server holds down now; -1 without a connection.
    int keysHeld();

private:
    int serverPid = -1;
    std::string displayName;
    _XDisplay* connection = nullptr;
};

} // namespace testsupport
