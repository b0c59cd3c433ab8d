#pragma once

// A colour with components on the 0 to 255 scale.
class ofColor {
public:
    ofColor(float r = 255.0f, float g = 255.0f, float b = 255.0f, float a = 255.0f) : r(r), g(g), b(b), a(a) {}
    virtual ~ofColor() = default;

    float r;
    float g;
    float b;
    float a;
};
