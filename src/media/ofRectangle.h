#pragma once

// An axis-aligned rectangle: top-left corner (x, y) and its extent, in pixels.
class ofRectangle {
public:
    ofRectangle(float x = 0.0f, float y = 0.0f, float width = 0.0f, float height = 0.0f)
        : x(x), y(y), width(width), height(height)
    {
    }
    virtual ~ofRectangle() = default;

    float x;
    float y;
    float width;
    float height;
};
