#pragma once
// Process-wide drawing state: style, background, rectangle mode, default projection, lines.

#include "media/ofStyle.h"

enum ofRectMode {
    OF_RECTMODE_CORNER = 0,
    OF_RECTMODE_CENTER = 1,
};

// GL defaults applied once the window exists: vertex arrays on, other client arrays
// off, smoothing off, alpha blending on, grey 200 background, white drawing colour.
void ofSetupGraphicDefaults();

// Background colour for the frame clear (components 0 to 255). With auto-clear off the
// colour and depth buffers are cleared with it at once.
void ofBackground(int r, int g, int b);
bool ofbClearBg();         // clear before every frame (true unless switched off)
float* ofBgColorPtr();     // background r, g, b, a, each 0 to 1
void ofSetBackgroundAuto(bool autoClear);

// Channels are 0 to 255 and clamped to that range.
void ofSetColor(int r, int g, int b, int a = 255);

void ofEnableAlphaBlending();
void ofDisableAlphaBlending();
void ofEnableSmoothing();    // lines are drawn antialiased
void ofDisableSmoothing();

// Modes other than OF_RECTMODE_CORNER and OF_RECTMODE_CENTER are ignored.
void ofSetRectMode(int mode);
int ofGetRectMode();

// A line in the current GL colour and width; leaves attribute state as it was, apart
// from the vertex-array client state, which stays enabled.
void ofLine(float x1, float y1, float x2, float y2);

// Pixel projection for the current window: origin at the top-left, y down, one unit per
// pixel on the z = 0 plane, seen through a 60 degree perspective.
void ofSetupScreen();

const ofStyle& ofGetStyle();
