#pragma once
// Shared set-up of the end-to-end tests: a private X server and a program started on it
// in a scratch working directory with an empty data/ folder.

#include "support/ChildProcess.h"
#include "support/TestSupport.h"
#include "support/VirtualDisplay.h"

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace e2e {

constexpr int SCREEN_W = 1024;
constexpr int SCREEN_H = 768;
constexpr int START_TIMEOUT_MS = 30000;   // a sanitised build on a busy machine starts slowly
constexpr int EXIT_TIMEOUT_MS = 15000;

struct Run {
    explicit Run(int width = SCREEN_W, int height = SCREEN_H) : width(width), height(height), display(width, height) {}

    int width;
    int height;
    testsupport::VirtualDisplay display;
    testsupport::ScratchDir workDir;
    std::unique_ptr<testsupport::ChildProcess> program;
    unsigned long window = 0;

    // Starts the program from the build folder and waits for its window; false when the
    // display or the program could not be started.
    bool start(const std::string& name, const std::vector<std::string>& args = {})
    {
        if (!launch(name, args)) {
            return false;
        }
        window = display.waitForWindow(START_TIMEOUT_MS);
        return window != 0;
    }

    // The same without waiting for a window, for a program that may end before it has one.
    bool launch(const std::string& name, const std::vector<std::string>& args = {})
    {
        if (!display.ok()) {
            return false;
        }
        workDir.write("data/.keep", "");
        // The leak checker stays off in the program: GLUT closes the display at exit and
        // Mesa unloads its driver before the checker runs, so the driver's allocations no
        // longer name a library that tests/lsan.supp could match. The slow unwinder, which
        // would still name it, deadlocks as soon as the driver compiles a shader (libgcc's
        // unwinder allocates while holding its own lock). The program's code is leak-checked
        // in process by the tests that drive a real Application.
        const char* asan = std::getenv("ASAN_OPTIONS");
        std::string asanOptions = std::string(asan != nullptr ? asan : "") + ":detect_leaks=0";
        program = std::make_unique<testsupport::ChildProcess>(testsupport::binaryDir() / name,
            args, workDir.path(),
            std::vector<std::string>{"DISPLAY=" + display.name(), "ASAN_OPTIONS=" + asanOptions});
        return program->started();
    }

    bool fullScreen() { return display.waitForSize(window, width, height, START_TIMEOUT_MS); }

    // Focuses the window, then types at the focus through XTEST. Typed at the window by id
    // (xdotool's `key --window`, or `key` after a window search), a key that ends the program
    // has its release sent to a window that is gone: xdotool dies of BadWindow between press
    // and release, and the server keeps the key held.
    bool key(const std::string& keys)
    {
        return display.xdotool("windowfocus --sync " + std::to_string(window)) && display.xdotool("key " + keys);
    }
};

} // namespace e2e
