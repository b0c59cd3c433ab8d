#pragma once

#include "media/ofColor.h"

// The drawing style that the graphics setters keep up to date.
class ofStyle {
public:
    virtual ~ofStyle() = default;

    ofColor color;
    int polyMode = 100130;   // GLU_TESS_WINDING_ODD
    int rectMode = 0;        // OF_RECTMODE_CORNER or OF_RECTMODE_CENTER
    bool bFill = true;
    bool blending = false;
    bool smoothing = false;
    int circleResolution = 20;   // segments of a full circle
    float lineWidth = 1.0f;      // pixels
};
