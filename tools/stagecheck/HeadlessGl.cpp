#include "HeadlessGl.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>

#include <cstdio>

namespace {

std::string eglProblem(const char* what)
{
    char text[96];
    std::snprintf(text, sizeof text, "%s failed (EGL error 0x%04x)", what, static_cast<unsigned>(eglGetError()));
    return text;
}

} // namespace

HeadlessGl::~HeadlessGl()
{
    if (display == nullptr) {
        return;
    }
    EGLDisplay d = static_cast<EGLDisplay>(display);
    eglMakeCurrent(d, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    if (context != nullptr) {
        eglDestroyContext(d, static_cast<EGLContext>(context));
    }
    // The display stays initialised for the rest of the process: the next stage opens the same
    // one again, and terminating it unloads the software driver before the leak check at exit,
    // which then cannot tell the driver's own start-up allocations from ours.
}

bool HeadlessGl::open(std::string& why)
{
    // The surfaceless platform needs no display server; without it, the default display.
    EGLDisplay d = EGL_NO_DISPLAY;
    auto getPlatformDisplay =
        reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (getPlatformDisplay != nullptr) {
        d = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    }
    EGLint major = 0;
    EGLint minor = 0;
    if (d == EGL_NO_DISPLAY || !eglInitialize(d, &major, &minor)) {
        d = eglGetDisplay(EGL_DEFAULT_DISPLAY);
        if (d == EGL_NO_DISPLAY || !eglInitialize(d, &major, &minor)) {
            why = eglProblem("opening an EGL display");
            return false;
        }
    }
    display = d;

    if (!eglBindAPI(EGL_OPENGL_API)) {
        why = eglProblem("choosing desktop OpenGL");
        return false;
    }
    const EGLint wanted[] = {EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT, EGL_NONE};
    EGLConfig config = nullptr;
    EGLint configs = 0;
    if (!eglChooseConfig(d, wanted, &config, 1, &configs) || configs < 1) {
        config = nullptr;   // a context without a config (EGL_KHR_no_config_context)
    }
    EGLContext c = eglCreateContext(d, config, EGL_NO_CONTEXT, nullptr);
    if (c == EGL_NO_CONTEXT) {
        why = eglProblem("creating an OpenGL context");
        return false;
    }
    context = c;
    if (!eglMakeCurrent(d, EGL_NO_SURFACE, EGL_NO_SURFACE, c)) {
        why = eglProblem("making the OpenGL context current");
        return false;
    }
    return true;
}
