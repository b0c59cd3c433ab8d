// A long walk over several faces of a small stage: up a wall, over edges, along the
// underside and back onto the top. Any drift in the rotations shows up as a wrong gravity,
// a missed face or a ball off the middle of its face.

#include "BallWorld.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

struct Leg {
    Vec3 gravity;
    Vec3 position;   // near the middle of a face, off by at most one frame's travel
    int cube;        // the cube and face the ball rests on afterwards
    int face;
};

} // namespace

TEST(PlayerRoute, AroundAndUnderTheStageWithoutDrift)
{
    StageLayout stage;
    stage.cubes = {Vec3(0, 0, 0), Vec3(0, 2, 0), Vec3(0, 4, 0), Vec3(0, 4, 2)};
    BallWorld world(stage);
    Player& ball = world.player;

    const Leg legs[] = {
        {Vec3(0, 0, -1), Vec3(0, 2, 1.35f), 1, 0},      // along the top
        {Vec3(0, 1, 0), Vec3(0, 2.65f, 2), 3, 5},        // up the wall of the raised cube
        {Vec3(0, 0, -1), Vec3(0, 4.1f, 3.35f), 3, 0},    // over its edge onto its top
        {Vec3(0, -1, 0), Vec3(0, 5.35f, 1.9f), 3, 4},    // over the far edge, down its side
        {Vec3(0, -1, 0), Vec3(0, 5.35f, -0.1f), 2, 4},   // down onto the side of the cube below
        {Vec3(0, 0, 1), Vec3(0, 3.9f, -1.35f), 2, 1},    // under it, upside down
        {Vec3(0, 0, 1), Vec3(0, 1.9f, -1.35f), 1, 1},
        {Vec3(0, 0, 1), Vec3(0, -0.1f, -1.35f), 0, 1},
        {Vec3(0, 1, 0), Vec3(0, -1.35f, 0.1f), 0, 5},    // up the near side
        {Vec3(0, 0, -1), Vec3(0, 0.1f, 1.35f), 0, 0},    // and back on top where it began
        {Vec3(0, 0, -1), Vec3(0, 2.1f, 1.35f), 1, 0},
    };

    int legNumber = 0;
    for (const Leg& leg : legs) {
        ++legNumber;
        SCOPED_TRACE("leg " + std::to_string(legNumber));
        ASSERT_GT(world.act(&Player::moveForward), 0);
        EXPECT_EQ(ball.Gravity.x, leg.gravity.x);
        EXPECT_EQ(ball.Gravity.y, leg.gravity.y);
        EXPECT_EQ(ball.Gravity.z, leg.gravity.z);
        expectNearVec(ball.Position, leg.position, 2e-3f);
        EXPECT_TRUE(world.level.cubes[leg.cube].faces[leg.face].touched);
        if (legNumber == 7) {
            // Turning upside down works in the ball's own frame and comes back exactly.
            Vec3 front = ball.Front;
            world.act(&Player::turnLeft);
            world.frame();
            EXPECT_TRUE(ball.Front != front);
            EXPECT_EQ(dot(ball.Front, front), 0.0f);
            world.act(&Player::turnRight);
            world.frame();
            EXPECT_EQ(ball.Front.x, front.x);
            EXPECT_EQ(ball.Front.y, front.y);
            EXPECT_EQ(ball.Front.z, front.z);
        }
    }

    // Five edge rolls forward and one wall roll back make a whole turn: the orientation is
    // the identity again (up to sign) and the heading frame is the starting one.
    EXPECT_NEAR(std::fabs(ball.orientation.re), 1.0f, 1e-4f);
    EXPECT_EQ(ball.Front.y, 1.0f);
    EXPECT_EQ(ball.Left.x, -1.0f);
}
