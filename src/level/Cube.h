#pragma once

#include "level/CubeFace.h"
#include "player/Vec3.h"

#include <array>

// A solid block 2 units on every edge: it occupies position - 1 to position + 1 on each
// axis. Faces in the fixed order +z, -z, -x, +x, +y, -y; the collision pass relies on it.
struct Cube {
    static constexpr int FACE_COUNT = 6;

    Vec3 position{0, 0, 0};   // centre, world units
    std::array<CubeFace, FACE_COUNT> faces{};

    Cube();
    // A cube centred on `centre` with its six white, untouched faces.
    explicit Cube(const Vec3& centre);

    // Draws the six faces at `position` with the bound texture; the modelview matrix is
    // restored on return.
    void draw() const;
};
