#pragma once
// How buffer swaps meet the display's retrace: the driver's swap-interval control and the
// display's refresh rate. All of it needs a current GL context on an X display.

// Asks the driver to wait for `interval` retraces at every buffer swap (0: do not wait),
// through GLX_EXT_swap_control, GLX_MESA_swap_control or GLX_SGI_swap_control. False when
// there is no current context, or no extension that takes this interval.
bool ofSetSwapInterval(int interval);

// Refresh rate in Hz of the monitor under the window's centre (the first lit monitor when
// none is), from the display's XRandR mode; 0 when the display does not say.
float ofGetScreenRefreshRate();

// The swap interval at which a display refreshing `refreshRate` times a second shows
// `frameRate` frames a second, within 1 %; 0 when no whole interval does (75 or 144 Hz for
// 60 frames, or an unknown rate).
int ofSwapIntervalFor(float refreshRate, int frameRate);

// Watches frames that the retrace is meant to pace. Some drivers take the swap interval and
// then do not wait (Mesa with vblank_mode=0, a compositor that ignores it), and a display
// may report a refresh rate it does not run at; the frames then come as fast as the machine
// draws them, and a game whose motion is fixed per frame runs too fast. Fed the clock once a
// frame, the watch says so after the first run of `windowFrames` frames that came more than
// 10 % faster than `frameRate` (a frame that stalls only slows its run down).
class ofRetraceWatch {
public:
    explicit ofRetraceWatch(int frameRate, int windowFrames = 60);
    // `seconds` is a steady clock read once a frame; true from the end of the first run that
    // was too fast.
    bool tooFast(double seconds);

private:
    double maxRate;
    int windowFrames;
    int frames = -1;          // frames since the run's first, -1 before any
    double runStart = 0.0;
    bool fast = false;
};
