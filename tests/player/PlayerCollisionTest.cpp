#include "BallWorld.h"

#include <gtest/gtest.h>

namespace {

bool anyTouched(const Cube& cube)
{
    for (const CubeFace& face : cube.faces) {
        if (face.touched) {
            return true;
        }
    }
    return false;
}

} // namespace

TEST(PlayerCollision, RestingOnTopStaysPutAndReportsNoWall)
{
    StageLayout stage;
    stage.cubes = {Vec3(2, 0, -4)};
    stage.start = Vec3(2, 0, -2.65f);
    BallWorld world(stage);
    for (int pass = 0; pass < 3; ++pass) {
        world.player.detectCollisions(world.level, world.sounds);
        EXPECT_EQ(world.player.Position.z, -2.65f);
        EXPECT_TRUE(world.level.cubes[0].faces[0].touched);
        EXPECT_FALSE(world.player.rollAroundEdge);
        EXPECT_FALSE(world.player.rollAroundWall);
    }
}

TEST(PlayerCollision, PushesOutAlongEachAxisAndMarksThatFace)
{
    struct Case {
        Vec3 ball;
        int face;
        Vec3 expected;
    };
    const Case cases[] = {
        {Vec3(0.2f, -0.3f, 1.1f), 0, Vec3(0.2f, -0.3f, 1.35f)},
        {Vec3(0.2f, -0.3f, -1.3f), 1, Vec3(0.2f, -0.3f, -1.35f)},
        {Vec3(-1.2f, 0.5f, 0.5f), 2, Vec3(-1.35f, 0.5f, 0.5f)},
        {Vec3(1.355f, 0.5f, 0.5f), 3, Vec3(1.35f, 0.5f, 0.5f)},
        {Vec3(0.5f, 1.2f, -0.5f), 4, Vec3(0.5f, 1.35f, -0.5f)},
        {Vec3(0.5f, -1.359f, -0.5f), 5, Vec3(0.5f, -1.35f, -0.5f)},
    };
    StageLayout stage;
    stage.cubes = {Vec3(0, 0, 0)};
    BallWorld world(stage, false);
    Cube& cube = world.level.cubes[0];
    for (const Case& c : cases) {
        world.player.Position = c.ball;
        world.player.collideWithBlock(cube);
        expectNearVec(world.player.Position, c.expected, 1e-6f);
        for (int f = 0; f < 6; ++f) {
            EXPECT_EQ(cube.faces[f].touched, f == c.face) << "ball case for face " << c.face << ", face " << f;
        }
    }
}

TEST(PlayerCollision, OutsideTheTouchingBandNothingHappens)
{
    StageLayout stage;
    stage.cubes = {Vec3(0, 0, 0)};
    BallWorld world(stage, false);
    Cube& cube = world.level.cubes[0];
    const Vec3 clear[] = {Vec3(0, 0, 1.37f), Vec3(1.37f, 0, 0), Vec3(0, -1.37f, 0), Vec3(1.01f, 0, 1.2f)};
    for (const Vec3& p : clear) {
        world.player.Position = p;
        world.player.collideWithBlock(cube);
        expectNearVec(world.player.Position, p, 0);
        EXPECT_FALSE(anyTouched(cube));
    }
}

TEST(PlayerCollision, CentreOnTheEdgePlaneStillCountsAsAbove)
{
    StageLayout stage;
    stage.cubes = {Vec3(0, 0, 0)};
    stage.start = Vec3(1.0f, -1.0f, 1.35f);
    BallWorld world(stage, false);
    world.player.detectCollisions(world.level, world.sounds);
    EXPECT_TRUE(world.level.cubes[0].faces[0].touched);
    EXPECT_FALSE(world.player.rollAroundEdge);

    world.player.Position = Vec3(1.0001f, 0, 1.35f);
    world.player.detectCollisions(world.level, world.sounds);
    EXPECT_FALSE(anyTouched(world.level.cubes[0]));
    EXPECT_TRUE(world.player.rollAroundEdge);
    // The pivot is the contact point snapped to the grid: a point on the crossed edge.
    expectNearVec(world.player.rotationPoint, Vec3(1, 0, 1), 0);
    expectNearVec(world.player.rotationVector, Vec3(0.0001f, 0, 0.35f), 1e-6f);
}

TEST(PlayerCollision, RestingOnTwoCubesTouchesBoth)
{
    StageLayout stage;
    stage.cubes = {Vec3(0, 0, 0), Vec3(2, 0, 0)};
    stage.start = Vec3(1.0f, 0, 1.3f);
    BallWorld world(stage, false);
    world.player.detectCollisions(world.level, world.sounds);
    EXPECT_EQ(world.player.Position.z, 1.35f);
    EXPECT_TRUE(world.level.cubes[0].faces[0].touched);
    EXPECT_TRUE(world.level.cubes[1].faces[0].touched);
    EXPECT_FALSE(world.player.rollAroundEdge);
    EXPECT_FALSE(world.player.rollAroundWall);
}

TEST(PlayerCollision, SideContactIsAWallUnlessAirborne)
{
    StageLayout stage;
    stage.cubes = {Vec3(0, 0, 0), Vec3(2, 0, 2)};
    stage.start = Vec3(0.65f, 0, 1.35f);
    BallWorld world(stage);
    world.player.detectCollisions(world.level, world.sounds);
    EXPECT_TRUE(world.level.cubes[1].faces[2].touched);
    EXPECT_TRUE(world.player.rollAroundWall);
    EXPECT_FALSE(world.sounds.bounceSound.getIsPlaying());

    world.player.playerIsJumping = true;
    world.player.Position = Vec3(0.3f, 0, 2.2f);   // in the air, touching nothing
    world.player.detectCollisions(world.level, world.sounds);
    EXPECT_TRUE(world.player.rollAroundEdge);
    world.player.Position = Vec3(0.7f, 0, 2.2f);   // still airborne, against the same wall
    world.player.detectCollisions(world.level, world.sounds);
    EXPECT_EQ(world.player.Position.x, 0.65f);
    EXPECT_FALSE(world.player.rollAroundWall);
    EXPECT_TRUE(world.sounds.bounceSound.getIsPlaying());
    // A wall does not end the jump: the ball is not on a face and falls on along it.
    EXPECT_TRUE(world.player.playerIsJumping);
    EXPECT_FALSE(world.player.restsOnFace);

    // Down in the corner at the wall's foot it lands, and the wall is one to climb.
    world.player.Position = Vec3(0.7f, 0, 1.3f);
    world.player.detectCollisions(world.level, world.sounds);
    expectNearVec(world.player.Position, Vec3(0.65f, 0, 1.35f), 0);
    EXPECT_TRUE(world.player.restsOnFace);
    EXPECT_FALSE(world.player.playerIsJumping);
    EXPECT_TRUE(world.player.rollAroundWall);
}

TEST(PlayerCollision, UnderACubeWithGravityUpIsNoWall)
{
    StageLayout stage;
    stage.cubes = {Vec3(0, 0, 0)};
    stage.start = Vec3(0, 0, -1.35f);
    BallWorld world(stage, false);
    world.player.Gravity = Vec3(0, 0, 1);
    world.player.detectCollisions(world.level, world.sounds);
    EXPECT_TRUE(world.level.cubes[0].faces[1].touched);
    EXPECT_FALSE(world.player.rollAroundWall);
    EXPECT_FALSE(world.player.rollAroundEdge);
}
