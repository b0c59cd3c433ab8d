#pragma once
// Helpers shared by every test program.

#include <filesystem>
#include <string>

namespace testsupport {

// Makes a GL context current on this thread, once per test program: a hidden
// 1024x768 window opened with ofSetupOpenGL (window mode, graphics defaults applied)
// on $DISPLAY (the test command starts a virtual X server).
// Returns false when no display can be opened; GL tests then fail with a message.
bool ensureGlContext();

// Keeps the GL driver loaded until the process ends. GLUT closes the display at exit and
// Mesa then unloads the driver before the leak checker runs, so the driver's allocations
// would have no module name for the suppressions in tests/lsan.supp to match. Call it once
// a GL context exists; ensureGlContext does.
void pinGlDriver();

// A fresh, empty folder below the system temp folder, removed when the object dies.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::filesystem::path& path() const { return dir; }
    // Writes text (or bytes) to a file below the folder, creating parent folders.
    std::filesystem::path write(const std::string& relative, const std::string& contents) const;

private:
    std::filesystem::path dir;
};

// Changes the working directory for the lifetime of the object (the game reads data/
// below the working directory).
class WorkingDir {
public:
    explicit WorkingDir(const std::filesystem::path& dir);
    ~WorkingDir();
    WorkingDir(const WorkingDir&) = delete;
    WorkingDir& operator=(const WorkingDir&) = delete;

private:
    std::filesystem::path previous;
};

// Captures what is written to standard output (printf and std::cout) while alive.
class StdoutCapture {
public:
    StdoutCapture();
    ~StdoutCapture();
    StdoutCapture(const StdoutCapture&) = delete;
    StdoutCapture& operator=(const StdoutCapture&) = delete;
    // Everything written so far; ends the capture.
    std::string finish();

private:
    int savedFd = -1;
    std::filesystem::path file;
    bool done = false;
};

std::filesystem::path sourceDir();   // repository root
std::filesystem::path binaryDir();   // build folder (tumbrix lives here)

// Copies what the game loads besides its stages into `dataDir` (created if missing): the two
// fonts, the ball picture, the six sounds and the three model folders, plus an empty
// levels/levelTextures folder.
void copyGameAssets(const std::filesystem::path& dataDir);

} // namespace testsupport
