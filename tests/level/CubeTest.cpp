#include "level/Cube.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(Cube, FaceZeroOfACubeAtTwoZeroMinusFourIsItsTop)
{
    Cube cube(Vec3(2, 0, -4));
    EXPECT_EQ(cube.position, Vec3(2, 0, -4));
    EXPECT_EQ(cube.faces[0].normal, Vec3(0, 0, 1));
    EXPECT_EQ(cube.faces[0].corners[2], Vec3(1, 1, 1));
    EXPECT_EQ(cube.position + cube.faces[0].corners[2], Vec3(3, 1, -3));
    for (const CubeFace& face : cube.faces) {
        EXPECT_EQ(face.colour, Vec3(1, 1, 1));
        EXPECT_FALSE(face.touched);
    }
}

TEST(Cube, FacesComeInTheOrderTheCollisionPassExpects)
{
    const Vec3 normals[6] = {Vec3(0, 0, 1), Vec3(0, 0, -1), Vec3(-1, 0, 0),
                             Vec3(1, 0, 0), Vec3(0, 1, 0),  Vec3(0, -1, 0)};
    Cube cube(Vec3(0, 0, 0));
    for (int f = 0; f < 6; ++f) {
        EXPECT_EQ(cube.faces[f].normal, normals[f]) << "face " << f;
    }
}

// Each face must lie on its own side of the box and run counter-clockwise seen from
// outside, or back-face culling would hide it from the camera instead of from inside.
TEST(Cube, EveryFaceLiesOnItsSideAndWindsCounterClockwiseFromOutside)
{
    Cube cube(Vec3(5, -3, 7));
    for (int f = 0; f < 6; ++f) {
        const CubeFace& face = cube.faces[f];
        EXPECT_FLOAT_EQ(length(face.normal), 1.0f) << "face " << f;
        for (int c = 0; c < 4; ++c) {
            const Vec3& p = face.corners[c];
            EXPECT_EQ(std::fabs(p.x), 1.0f);
            EXPECT_EQ(std::fabs(p.y), 1.0f);
            EXPECT_EQ(std::fabs(p.z), 1.0f);
            EXPECT_FLOAT_EQ(dot(p, face.normal), 1.0f) << "face " << f << " corner " << c;
            const Vec3& next = face.corners[(c + 1) % 4];
            const Vec3& after = face.corners[(c + 2) % 4];
            EXPECT_EQ(normalized(cross(next - p, after - next)), face.normal) << "face " << f << " corner " << c;
        }
    }
}
