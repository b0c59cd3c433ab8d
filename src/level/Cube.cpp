#include "level/Cube.h"

#include <GL/gl.h>

namespace {

struct FaceLayout {
    float normal[3];
    float corners[4][3];
};

// Counter-clockwise seen from outside; face 0 is the top while gravity points along -z.
const FaceLayout FACE_LAYOUT[Cube::FACE_COUNT] = {
    {{0, 0, 1}, {{-1, -1, 1}, {1, -1, 1}, {1, 1, 1}, {-1, 1, 1}}},
    {{0, 0, -1}, {{-1, -1, -1}, {-1, 1, -1}, {1, 1, -1}, {1, -1, -1}}},
    {{-1, 0, 0}, {{-1, -1, -1}, {-1, -1, 1}, {-1, 1, 1}, {-1, 1, -1}}},
    {{1, 0, 0}, {{1, -1, -1}, {1, 1, -1}, {1, 1, 1}, {1, -1, 1}}},
    {{0, 1, 0}, {{-1, 1, -1}, {-1, 1, 1}, {1, 1, 1}, {1, 1, -1}}},
    {{0, -1, 0}, {{-1, -1, -1}, {1, -1, -1}, {1, -1, 1}, {-1, -1, 1}}},
};

Vec3 toVec3(const float (&v)[3])
{
    return Vec3(v[0], v[1], v[2]);
}

} // namespace

Cube::Cube() : Cube(Vec3(0, 0, 0)) {}

Cube::Cube(const Vec3& centre) : position(centre)
{
    for (int f = 0; f < FACE_COUNT; ++f) {
        CubeFace& face = faces[f];
        face.normal = toVec3(FACE_LAYOUT[f].normal);
        for (int c = 0; c < 4; ++c) {
            face.corners[c] = toVec3(FACE_LAYOUT[f].corners[c]);
        }
        face.colour = Vec3(1, 1, 1);
        face.touched = false;
    }
}

void Cube::draw() const
{
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    {
        glTranslatef(position.x, position.y, position.z);
        for (const CubeFace& face : faces) {
            face.draw();
        }
    }
    glPopMatrix();
}
