// The window's focus and screen mode on a real X server of the test's own, with a second
// client's window to take the focus away. focus_app writes what the framework reports.
#include "e2e/E2e.h"

#include <gtest/gtest.h>   // before Xlib, whose None macro it would trip over

#include <X11/Xlib.h>
#include <chrono>
#include <string>
#include <thread>

namespace {

constexpr int WAIT_MS = 10000;

// Waits for `text` in the program's output past `from`; the position after it, or npos.
size_t waitForAfter(testsupport::ChildProcess& program, const std::string& text, size_t from)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(WAIT_MS);
    while (std::chrono::steady_clock::now() < end) {
        const std::string output = program.output();
        const size_t at = output.size() > from ? output.find(text, from) : std::string::npos;
        if (at != std::string::npos) {
            return at + text.size();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return std::string::npos;
}

// Another X client with a window of its own beside the game's, away from it.
struct OtherClient {
    explicit OtherClient(const std::string& displayName) : display(XOpenDisplay(displayName.c_str()))
    {
        if (display != nullptr) {
            window = XCreateSimpleWindow(display, DefaultRootWindow(display), 700, 500, 200, 200, 0, 0, 0);
            XMapRaised(display, window);
            XSync(display, False);
        }
    }
    ~OtherClient()
    {
        if (display != nullptr) {
            XCloseDisplay(display);
        }
    }
    void focus(Window w)
    {
        XSetInputFocus(display, w, RevertToPointerRoot, CurrentTime);
        XSync(display, False);
    }
    void pointerTo(int x, int y)
    {
        XWarpPointer(display, None, DefaultRootWindow(display), 0, 0, 0, 0, x, y);
        XSync(display, False);
    }

    Display* display = nullptr;
    Window window = 0;
};

} // namespace

TEST(WindowFocus, AnotherWindowTakingTheFocusIsSeenAndSoIsItsReturn)
{
    e2e::Run run;
    ASSERT_TRUE(run.start("focus_app")) << (run.program ? run.program->output() : "");
    testsupport::ChildProcess& app = *run.program;
    ASSERT_NE(waitForAfter(app, "size 640x480", 0), std::string::npos) << app.output();

    OtherClient other(run.display.name());
    ASSERT_NE(other.display, nullptr);
    other.focus(run.window);
    size_t at = waitForAfter(app, "focus 1", 0);
    ASSERT_NE(at, std::string::npos) << app.output();

    other.focus(other.window);
    at = waitForAfter(app, "focus 0", at);
    ASSERT_NE(at, std::string::npos) << "the other window took the focus\n" << app.output();
    other.focus(run.window);
    at = waitForAfter(app, "focus 1", at);
    ASSERT_NE(at, std::string::npos) << "given back\n" << app.output();

    // Focus following the pointer, as on a server without a window manager.
    other.focus(PointerRoot);
    other.pointerTo(800, 600);
    at = waitForAfter(app, "focus 0", at);
    ASSERT_NE(at, std::string::npos) << "pointer over the other window\n" << app.output();
    other.pointerTo(100, 100);
    at = waitForAfter(app, "focus 1", at);
    ASSERT_NE(at, std::string::npos) << "pointer over the game\n" << app.output();
    // Focus nowhere.
    other.focus(None);
    at = waitForAfter(app, "focus 0", at);
    ASSERT_NE(at, std::string::npos) << "no focus\n" << app.output();
}

TEST(WindowFocus, FullScreenSwitchesBackAndForthAtRunTime)
{
    e2e::Run run;
    ASSERT_TRUE(run.start("focus_app")) << (run.program ? run.program->output() : "");
    testsupport::ChildProcess& app = *run.program;
    size_t at = waitForAfter(app, "size 640x480", 0);
    ASSERT_NE(at, std::string::npos) << app.output();

    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(run.key("F11"));
        ASSERT_TRUE(run.display.waitForSize(run.window, e2e::SCREEN_W, e2e::SCREEN_H, WAIT_MS)) << "round " << round;
        at = waitForAfter(app, "size 1024x768", at);
        ASSERT_NE(at, std::string::npos) << "round " << round << "\n" << app.output();

        ASSERT_TRUE(run.key("F11"));
        ASSERT_TRUE(run.display.waitForSize(run.window, 640, 480, WAIT_MS)) << "round " << round;
        at = waitForAfter(app, "size 640x480", at);
        ASSERT_NE(at, std::string::npos) << "round " << round << "\n" << app.output();
    }
    EXPECT_TRUE(app.running());
}

TEST(WindowFocus, GameStartedFullScreenGoesToItsWindowAndBack)
{
    e2e::Run run;
    ASSERT_TRUE(run.start("focus_app", {"fullscreen"})) << (run.program ? run.program->output() : "");
    testsupport::ChildProcess& app = *run.program;
    ASSERT_TRUE(run.fullScreen()) << app.output();
    size_t at = waitForAfter(app, "size 1024x768", 0);
    ASSERT_NE(at, std::string::npos) << app.output();

    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(run.key("F11"));
        ASSERT_TRUE(run.display.waitForSize(run.window, 800, 600, WAIT_MS)) << "round " << round;
        at = waitForAfter(app, "size 800x600", at);
        ASSERT_NE(at, std::string::npos) << "round " << round << "\n" << app.output();

        ASSERT_TRUE(run.key("F11"));
        ASSERT_TRUE(run.fullScreen()) << "round " << round;
        at = waitForAfter(app, "size 1024x768", at);
        ASSERT_NE(at, std::string::npos) << "round " << round << "\n" << app.output();
    }
    EXPECT_TRUE(app.running());
}
