#include "player/Vec3.h"

#include <gtest/gtest.h>

#include <cmath>
#include <type_traits>

namespace {

void expectExactly(const Vec3& v, float x, float y, float z)
{
    EXPECT_EQ(v.x, x);
    EXPECT_EQ(v.y, y);
    EXPECT_EQ(v.z, z);
}

} // namespace

TEST(Vec3, IsThreePackedFloatsWithoutVirtuals)
{
    EXPECT_EQ(sizeof(Vec3), 3 * sizeof(float));
    EXPECT_FALSE(std::is_polymorphic_v<Vec3>);
    EXPECT_TRUE(std::is_trivially_copyable_v<Vec3>);
    Vec3 points[2] = {Vec3(1, 2, 3), Vec3(4, 5, 6)};
    const float* packed = &points[0].x;
    EXPECT_EQ(packed[3], 4.0f);
    expectExactly(Vec3(), 0, 0, 0);
}

TEST(Vec3, SnapRoundsHalvesAwayFromZero)
{
    expectExactly(Vec3(0.5f, -0.5f, 1.49f).snapToWhole(), 1, -1, 1);
    expectExactly(Vec3(-2.5f, 2.5f, 0).snapToWhole(), -3, 3, 0);
    expectExactly(Vec3(-0.49f, 0.49f, -1.51f).snapToWhole(), 0, 0, -2);
    // The largest float below one half must not be pushed over it by rounding.
    expectExactly(Vec3(0.49999997f, -0.49999997f, 3e9f).snapToWhole(), 0, 0, 3e9f);
}

TEST(Vec3, SnapToAxisAlwaysGivesAUnitAxis)
{
    // A drifted axis comes back exactly as rounding gives it, sign of the zeros included.
    const Vec3 drifted = Vec3(-3e-8f, 1.0000001f, 2e-8f).snapToAxis();
    expectExactly(drifted, 0, 1, 0);
    EXPECT_TRUE(std::signbit(drifted.x));
    // Far from every axis rounding would give (-1, 1, 0), no direction at all: the largest
    // component wins instead, ties going to the earlier axis.
    expectExactly(Vec3(-0.78f, 0.59f, -0.2f).snapToAxis(), -1, 0, 0);
    expectExactly(Vec3(0.2f, 0.6f, -0.6f).snapToAxis(), 0, 1, 0);
    expectExactly(Vec3(0.1f, 0.2f, -0.3f).snapToAxis(), 0, 0, -1);
    expectExactly(Vec3(NAN, 0.4f, 0.3f).snapToAxis(), 0, 1, 0);
    expectExactly(Vec3().snapToAxis(), 0, 0, 0);
}

TEST(Vec3, SnapChangesThePointItself)
{
    Vec3 drifted(0.99999f, -4.4e-8f, -1.00002f);
    drifted.snapToWhole();
    expectExactly(drifted, 1, 0, -1);
    Vec3 pivot = (Vec3(1.07f, 0, 1.35f) + Vec3(0, 0, -1) * 0.35f).snapToWhole();
    expectExactly(pivot, 1, 0, 1);
}

TEST(Vec3, EqualityIsWithinOneTenThousandth)
{
    EXPECT_TRUE(Vec3(1, 0, 0) == Vec3(1.00009f, 0, 0));
    EXPECT_FALSE(Vec3(1, 0, 0) == Vec3(1.0001f, 0, 0));
    EXPECT_TRUE(Vec3(1, 0, 0) != Vec3(1.0001f, 0, 0));
    EXPECT_FALSE(Vec3(0, 0, 1) == Vec3(0, 0, -1));
    EXPECT_FALSE(Vec3(0, 1, 0) == Vec3(0, 1.0002f, 0));
    EXPECT_FALSE(Vec3(0, 0, 5) == Vec3(0, 0, 5.0002f));
    EXPECT_TRUE(Vec3(0, -1, 0) == -Vec3(0, 1, 0));
}

TEST(Vec3, Arithmetic)
{
    expectExactly(Vec3(1, 2, 3) + Vec3(10, 20, 30), 11, 22, 33);
    expectExactly(Vec3(1, 2, 3) - Vec3(10, 20, 30), -9, -18, -27);
    expectExactly(Vec3(1, -2, 3) * 0.5f, 0.5f, -1, 1.5f);
    EXPECT_EQ(dot(Vec3(1, 2, 3), Vec3(4, -5, 6)), 12.0f);
    expectExactly(cross(Vec3(1, 0, 0), Vec3(0, 1, 0)), 0, 0, 1);
    expectExactly(cross(Vec3(0, 1, 0), Vec3(1, 0, 0)), 0, 0, -1);
    expectExactly(cross(Vec3(2, 3, 4), Vec3(5, 6, 7)), -3, 6, -3);
    EXPECT_EQ(lengthSquared(Vec3(2, -3, 6)), 49.0f);
    EXPECT_EQ(length(Vec3(2, -3, 6)), 7.0f);
}

TEST(Vec3, NormalizedGivesUnitLength)
{
    Vec3 n = normalized(Vec3(0, 3, -4));
    EXPECT_FLOAT_EQ(n.y, 0.6f);
    EXPECT_FLOAT_EQ(n.z, -0.8f);
    EXPECT_NEAR(length(normalized(Vec3(1e-15f, 2e-15f, 0))), 1.0f, 1e-6f);
}

TEST(Vec3, NormalizedZeroIsZeroNotNaN)
{
    expectExactly(normalized(Vec3()), 0, 0, 0);
    Vec3 tiny = normalized(Vec3(1e-30f, 0, 0));   // length underflows to zero
    EXPECT_FALSE(std::isnan(tiny.x));
    expectExactly(tiny, 0, 0, 0);
}
