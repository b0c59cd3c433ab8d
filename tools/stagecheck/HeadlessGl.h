#pragma once
// An OpenGL context without a window or a display, so the game's Level and Player (whose
// textures are built when they are made and whenever the ball is reset) can run in a
// command-line tool on a machine with no X server. Mesa's surfaceless EGL platform gives
// a software-rendered compatibility context; nothing is ever drawn.

#include <string>

class HeadlessGl {
public:
    HeadlessGl() = default;
    ~HeadlessGl();
    HeadlessGl(const HeadlessGl&) = delete;
    HeadlessGl& operator=(const HeadlessGl&) = delete;

    // Makes a context current on this thread. False, with the reason in `why`, when no
    // EGL display or context can be had.
    bool open(std::string& why);

private:
    void* display = nullptr;
    void* context = nullptr;
};
