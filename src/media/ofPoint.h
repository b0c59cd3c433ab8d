#pragma once

// The framework's point: three floats after a virtual destructor.
class ofPoint {
public:
    ofPoint(float x = 0.0f, float y = 0.0f, float z = 0.0f) : x(x), y(y), z(z) {}
    virtual ~ofPoint() = default;

    float x;
    float y;
    float z;
};
