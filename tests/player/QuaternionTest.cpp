#include "player/Quaternion.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

void expectNear(const Vec3& actual, const Vec3& expected, float tolerance = 1e-6f)
{
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

} // namespace

TEST(Quaternion, QuarterTurnAboutY)
{
    expectNear(rotate(Quaternion::fromAxisAngle(90, Vec3(0, 1, 0)), Vec3(0, 0, 1)), Vec3(1, 0, 0));
    expectNear(rotate(Quaternion::fromAxisAngle(-90, Vec3(0, 1, 0)), Vec3(0, 0, 1)), Vec3(-1, 0, 0));
}

TEST(Quaternion, RightHandedAboutEveryAxis)
{
    expectNear(rotate(Quaternion::fromAxisAngle(90, Vec3(0, 0, 1)), Vec3(1, 0, 0)), Vec3(0, 1, 0));
    expectNear(rotate(Quaternion::fromAxisAngle(90, Vec3(1, 0, 0)), Vec3(0, 1, 0)), Vec3(0, 0, 1));
    expectNear(rotate(Quaternion::fromAxisAngle(180, Vec3(0, 0, 1)), Vec3(3, 0, 2)), Vec3(-3, 0, 2), 1e-5f);
    // A turn about an axis leaves that axis alone.
    expectNear(rotate(Quaternion::fromAxisAngle(37, Vec3(0, 0, 1)), Vec3(0, 0, 5)), Vec3(0, 0, 5));
}

TEST(Quaternion, FromAxisAngleNormalizesTheAxis)
{
    Quaternion q = Quaternion::fromAxisAngle(90, Vec3(0, 0, 7));
    EXPECT_NEAR(q.re, std::sqrt(0.5f), 1e-7f);
    expectNear(q.v, Vec3(0, 0, std::sqrt(0.5f)), 1e-7f);
    expectNear(rotate(q, Vec3(2, 0, 0)), Vec3(0, 2, 0), 1e-6f);
}

TEST(Quaternion, ZeroAngleIsIdentity)
{
    Quaternion q = Quaternion::fromAxisAngle(0, Vec3(0, 1, 0));
    EXPECT_EQ(q.re, 1.0f);
    EXPECT_EQ(q.v.x, 0.0f);
    EXPECT_EQ(q.v.y, 0.0f);
    EXPECT_EQ(q.v.z, 0.0f);
}

TEST(Quaternion, ZeroAxisLeavesVectorsUnchanged)
{
    Quaternion q = Quaternion::fromAxisAngle(45, Vec3());
    Vec3 turned = rotate(q, Vec3(1, 2, 3));
    EXPECT_FALSE(std::isnan(turned.x) || std::isnan(turned.y) || std::isnan(turned.z));
    expectNear(turned, Vec3(1, 2, 3));
}

TEST(Quaternion, TwentySmallStepsMakeAQuarterTurn)
{
    const Vec3 axes[] = {Vec3(0, 1, 0), Vec3(-1, 0, 0), Vec3(0, 0, 1), Vec3(0, 0, -1)};
    for (const Vec3& axis : axes) {
        Vec3 v(0.3f, -0.7f, 1.0f);
        Quaternion step = Quaternion::fromAxisAngle(4.5f, axis);
        Quaternion composed(1, Vec3());
        for (int i = 0; i < 20; ++i) {
            v = rotate(step, v);
            composed = step * composed;
        }
        Vec3 once = rotate(Quaternion::fromAxisAngle(90, axis), Vec3(0.3f, -0.7f, 1.0f));
        expectNear(v, once, 1e-5f);
        expectNear(rotate(composed, Vec3(0.3f, -0.7f, 1.0f)), once, 1e-5f);
    }
}

TEST(Quaternion, ProductAppliesTheRightFactorFirst)
{
    Quaternion aboutZ = Quaternion::fromAxisAngle(90, Vec3(0, 0, 1));
    Quaternion aboutX = Quaternion::fromAxisAngle(90, Vec3(1, 0, 0));
    // First about z: x -> y; then about x: y -> z.
    expectNear(rotate(aboutX * aboutZ, Vec3(1, 0, 0)), Vec3(0, 0, 1));
    // The other order: x stays x under the x turn, then z turns it to y.
    expectNear(rotate(aboutZ * aboutX, Vec3(1, 0, 0)), Vec3(0, 1, 0));
}

TEST(Quaternion, ConjugateUndoesTheRotation)
{
    Quaternion q = Quaternion::fromAxisAngle(33, normalized(Vec3(1, 2, 3)));
    Quaternion back = conjugate(q);
    EXPECT_EQ(back.re, q.re);
    expectNear(back.v, q.v * -1.0f, 0);
    expectNear(rotate(back, rotate(q, Vec3(4, -1, 2))), Vec3(4, -1, 2), 1e-5f);
}
