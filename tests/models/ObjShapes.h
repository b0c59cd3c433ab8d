#pragma once
// Shapes written as Wavefront OBJ text, for assimp to convert into 3DS files.

#include <cmath>
#include <sstream>
#include <string>

namespace objshapes {

// A torus of `rings` x `sides` quads around the z axis, centred at (cx, cy, cz), with
// texture coordinates, using the material "Chrome".
inline std::string torus(const std::string& name, float cx, float cy, float cz, int rings, int sides)
{
    std::ostringstream obj;
    obj << "o " << name << "\nusemtl Chrome\n";
    const float pi = 3.14159265f;
    for (int r = 0; r < rings; ++r) {
        for (int s = 0; s < sides; ++s) {
            const float u = 2 * pi * r / rings;
            const float v = 2 * pi * s / sides;
            const float radius = 3.0f + std::cos(v);
            obj << "v " << cx + radius * std::cos(u) << ' ' << cy + radius * std::sin(u) << ' ' << cz + std::sin(v)
                << "\nvt " << float(r) / rings << ' ' << float(s) / sides << '\n';
        }
    }
    for (int r = 0; r < rings; ++r) {
        for (int s = 0; s < sides; ++s) {
            auto index = [&](int rr, int ss) { return (rr % rings) * sides + (ss % sides) + 1; };
            const int a = index(r, s), b = index(r + 1, s), c = index(r + 1, s + 1), d = index(r, s + 1);
            obj << "f " << a << '/' << a << ' ' << b << '/' << b << ' ' << c << '/' << c << ' ' << d << '/' << d << '\n';
        }
    }
    return obj.str();
}

} // namespace objshapes
