#include "media/ofSwapControl.h"

#include "media/ofAppRunner.h"

#include <GL/glx.h>
#include <X11/extensions/Xrandr.h>
#include <cmath>
#include <cstring>

namespace {

// A frame rate within this share of the wanted one passes (59.94 Hz NTSC-style modes).
constexpr double RATE_TOLERANCE = 0.01;
// Frames paced by the retrace that come this share faster than wanted are not paced by it.
// Wide enough for a 59.94 Hz mode, a 61 Hz one and a clock read late within a frame.
constexpr double RETRACE_SLACK = 0.1;

bool hasExtension(const char* list, const char* name)
{
    const size_t length = std::strlen(name);
    for (const char* p = list; (p = std::strstr(p, name)) != nullptr; p += length) {
        const bool starts = p == list || p[-1] == ' ';
        const bool ends = p[length] == ' ' || p[length] == '\0';
        if (starts && ends) {
            return true;
        }
    }
    return false;
}

const char* extensionList(Display* display)
{
    return display != nullptr ? glXQueryExtensionsString(display, DefaultScreen(display)) : nullptr;
}

void (*lookup(const char* name))()
{
    return glXGetProcAddressARB(reinterpret_cast<const GLubyte*>(name));
}

// Retraces a second of one XRandR mode; 0 when the mode gives no timings (virtual servers).
double modeRate(const XRRModeInfo& mode)
{
    double lines = mode.vTotal;
    if (mode.modeFlags & RR_DoubleScan) {
        lines *= 2;
    }
    if (mode.modeFlags & RR_Interlace) {
        lines /= 2;
    }
    if (mode.hTotal == 0 || lines <= 0) {
        return 0.0;
    }
    return static_cast<double>(mode.dotClock) / (mode.hTotal * lines);
}

} // namespace

bool ofSetSwapInterval(int interval)
{
    Display* display = glXGetCurrentDisplay();
    GLXDrawable drawable = glXGetCurrentDrawable();
    if (display == nullptr || drawable == 0 || interval < 0) {
        return false;   // no current context
    }
    const char* list = extensionList(display);
    if (list == nullptr) {
        return false;
    }
    if (hasExtension(list, "GLX_EXT_swap_control")) {
        using SwapIntervalExt = void (*)(Display*, GLXDrawable, int);
        if (auto fn = reinterpret_cast<SwapIntervalExt>(lookup("glXSwapIntervalEXT"))) {
            fn(display, drawable, interval);
            return true;
        }
    }
    if (hasExtension(list, "GLX_MESA_swap_control")) {
        using SwapIntervalMesa = int (*)(unsigned int);
        if (auto fn = reinterpret_cast<SwapIntervalMesa>(lookup("glXSwapIntervalMESA"))) {
            return fn(static_cast<unsigned int>(interval)) == 0;
        }
    }
    // The SGI form cannot switch the wait off: an interval of 0 is an error there.
    if (interval > 0 && hasExtension(list, "GLX_SGI_swap_control")) {
        using SwapIntervalSgi = int (*)(int);
        if (auto fn = reinterpret_cast<SwapIntervalSgi>(lookup("glXSwapIntervalSGI"))) {
            return fn(interval) == 0;
        }
    }
    return false;
}

float ofGetScreenRefreshRate()
{
    Display* display = glXGetCurrentDisplay();
    int eventBase = 0;
    int errorBase = 0;
    int major = 0;
    int minor = 0;
    if (display == nullptr || !XRRQueryExtension(display, &eventBase, &errorBase) ||
        !XRRQueryVersion(display, &major, &minor) || (major == 1 && minor < 2)) {
        return 0.0f;
    }
    XRRScreenResources* resources = XRRGetScreenResourcesCurrent(display, DefaultRootWindow(display));
    if (resources == nullptr) {
        return 0.0f;
    }
    const int centreX = ofGetWindowPositionX() + ofGetWidth() / 2;
    const int centreY = ofGetWindowPositionY() + ofGetHeight() / 2;
    double underWindow = 0.0;
    double firstLit = 0.0;
    for (int c = 0; c < resources->ncrtc && underWindow == 0.0; ++c) {
        XRRCrtcInfo* crtc = XRRGetCrtcInfo(display, resources, resources->crtcs[c]);
        if (crtc == nullptr) {
            continue;
        }
        for (int m = 0; m < resources->nmode && crtc->mode != None; ++m) {
            if (resources->modes[m].id != crtc->mode) {
                continue;
            }
            const double rate = modeRate(resources->modes[m]);
            const bool covers = centreX >= crtc->x && centreX < crtc->x + static_cast<int>(crtc->width) &&
                                centreY >= crtc->y && centreY < crtc->y + static_cast<int>(crtc->height);
            if (covers) {
                underWindow = rate;
            } else if (firstLit == 0.0) {
                firstLit = rate;
            }
        }
        XRRFreeCrtcInfo(crtc);
    }
    XRRFreeScreenResources(resources);
    return static_cast<float>(underWindow > 0.0 ? underWindow : firstLit);
}

int ofSwapIntervalFor(float refreshRate, int frameRate)
{
    if (!std::isfinite(refreshRate) || refreshRate <= 0.0f || frameRate <= 0) {
        return 0;
    }
    const long interval = std::lround(static_cast<double>(refreshRate) / frameRate);
    if (interval < 1) {
        return 0;
    }
    const double shown = static_cast<double>(refreshRate) / static_cast<double>(interval);
    if (std::fabs(shown - frameRate) > frameRate * RATE_TOLERANCE) {
        return 0;
    }
    return static_cast<int>(interval);
}

ofRetraceWatch::ofRetraceWatch(int frameRate, int windowFrames)
    : maxRate(frameRate * (1.0 + RETRACE_SLACK)), windowFrames(windowFrames > 0 ? windowFrames : 1)
{
}

bool ofRetraceWatch::tooFast(double seconds)
{
    if (fast) {
        return true;
    }
    if (frames < 0) {
        frames = 0;
        runStart = seconds;
        return false;
    }
    if (++frames < windowFrames) {
        return false;
    }
    const double took = seconds - runStart;
    fast = took < windowFrames / maxRate;
    frames = 0;
    runStart = seconds;
    return fast;
}
