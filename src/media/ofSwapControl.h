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
