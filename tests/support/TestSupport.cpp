#include "TestSupport.h"

#include "media/ofAppGlutWindow.h"
#include "media/ofAppRunner.h"

#include <GL/freeglut.h>
#include <dlfcn.h>
#include <link.h>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <random>
#include <sstream>
#include <unistd.h>

namespace testsupport {

namespace fs = std::filesystem;

void pinGlDriver()
{
    dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void*) {
            std::string name = info->dlpi_name != nullptr ? info->dlpi_name : "";
            if (name.find("_dri.so") != std::string::npos || name.find("libgallium") != std::string::npos) {
                dlopen(name.c_str(), RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
            }
            return 0;
        },
        nullptr);
}

bool ensureGlContext()
{
    static int state = 0;   // 0 not tried, 1 ok, -1 failed
    if (state != 0) {
        return state == 1;
    }
    if (std::getenv("DISPLAY") == nullptr) {
        std::fprintf(stderr, "ensureGlContext: DISPLAY is not set\n");
        state = -1;
        return false;
    }
    // The framework's own window, so ofGetWidth and friends answer as in the game and
    // the graphics defaults are in place.
    static ofAppGlutWindow window;
    ofSetupOpenGL(&window, 1024, 768, 0);
    glutHideWindow();
    pinGlDriver();
    state = 1;
    return true;
}

ScratchDir::ScratchDir()
{
    std::random_device rd;
    std::ostringstream name;
    name << "tumbrix-test-" << ::getpid() << "-" << rd();
    dir = fs::temp_directory_path() / name.str();
    fs::create_directories(dir);
}

ScratchDir::~ScratchDir()
{
    std::error_code ec;
    fs::remove_all(dir, ec);
}

fs::path ScratchDir::write(const std::string& relative, const std::string& contents) const
{
    fs::path target = dir / relative;
    fs::create_directories(target.parent_path());
    std::ofstream out(target, std::ios::binary);
    out << contents;
    return target;
}

WorkingDir::WorkingDir(const fs::path& dir) : previous(fs::current_path())
{
    fs::current_path(dir);
}

WorkingDir::~WorkingDir()
{
    std::error_code ec;
    fs::current_path(previous, ec);
}

StdoutCapture::StdoutCapture()
{
    std::random_device rd;
    file = fs::temp_directory_path() / ("tumbrix-stdout-" + std::to_string(::getpid()) + "-" + std::to_string(rd()));
    std::fflush(stdout);
    std::cout.flush();
    savedFd = ::dup(STDOUT_FILENO);
    FILE* f = std::fopen(file.c_str(), "w");
    ::dup2(::fileno(f), STDOUT_FILENO);
    std::fclose(f);
}

std::string StdoutCapture::finish()
{
    if (!done) {
        std::fflush(stdout);
        std::cout.flush();
        ::dup2(savedFd, STDOUT_FILENO);
        ::close(savedFd);
        done = true;
    }
    std::ifstream in(file, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

StdoutCapture::~StdoutCapture()
{
    finish();
    std::error_code ec;
    fs::remove(file, ec);
}

fs::path sourceDir() { return TUMBRIX_SOURCE_DIR; }
fs::path binaryDir() { return TUMBRIX_BINARY_DIR; }

void copyGameAssets(const fs::path& dataDir)
{
    const fs::path from = sourceDir() / "data";
    fs::create_directories(dataDir / "levels" / "levelTextures");
    for (const char* file : {"comic_reg.ttf", "comic_italic.ttf", "soccer.png", "techno.wav", "bounce.wav", "bonus.wav",
                             "key.wav", "win.wav", "lose.wav"}) {
        fs::copy_file(from / file, dataDir / file);
    }
    for (const char* folder : {"die", "coin", "target"}) {
        fs::copy(from / folder, dataDir / folder, fs::copy_options::recursive);
    }
}

} // namespace testsupport
