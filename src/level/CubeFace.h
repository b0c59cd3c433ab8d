#pragma once

#include "player/Vec3.h"

#include <array>

// One side of a cube: a quad in cube-local coordinates (every coordinate -1 or +1),
// corners counter-clockwise seen from outside, so back-face culling hides its inside.
struct CubeFace {
    std::array<Vec3, 4> corners{};
    Vec3 normal{0, 0, 0};   // outward, unit length
    Vec3 colour{1, 1, 1};   // red, green, blue, 0 to 1
    bool touched = false;   // the ball rests against this face; only the collision pass changes it

    // Draws the face as one textured quad; texture coordinates (0, 0) to (1, 1) cover it
    // once. Whatever texture is bound and enabled is used; the current colour becomes `colour`.
    void draw() const;
};
