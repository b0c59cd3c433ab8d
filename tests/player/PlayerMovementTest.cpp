#include "BallWorld.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// A straight row of cubes along +y from the origin, the ball resting on the first.
StageLayout rowAlongY(int cubes)
{
    StageLayout stage;
    for (int i = 0; i < cubes; ++i) {
        stage.cubes.push_back(Vec3(0, 2.0f * i, 0));
    }
    return stage;
}

void expectExactly(const Vec3& v, float x, float y, float z)
{
    EXPECT_EQ(v.x, x);
    EXPECT_EQ(v.y, y);
    EXPECT_EQ(v.z, z);
}

} // namespace

TEST(PlayerMovement, ResetPutsTheBallIdleAtTheStart)
{
    BallWorld world(rowAlongY(1));
    Player& ball = world.player;
    ball.Position = Vec3(5, 5, 5);
    ball.Gravity = Vec3(1, 0, 0);
    ball.heading = 12;
    ball.jump = ball.stageWon = ball.playerIsJumping = true;
    ball.orientation = Quaternion::fromAxisAngle(30, Vec3(1, 0, 0));
    ball.reset(Vec3(0, 0, 1.35f));

    expectExactly(ball.Position, 0, 0, 1.35f);
    expectExactly(ball.Gravity, 0, 0, -1);
    expectExactly(ball.Front, 0, 1, 0);
    expectExactly(ball.Left, -1, 0, 0);
    EXPECT_EQ(ball.heading, 90.0f);
    EXPECT_EQ(ball.orientation.re, 1.0f);
    expectExactly(ball.orientation.v, 0, 0, 0);
    EXPECT_TRUE(ball.enableMovement);
    EXPECT_TRUE(ball.detectCollision);
    EXPECT_FALSE(ball.jump || ball.stageWon || ball.stageRunning || ball.playerIsJumping);
    EXPECT_EQ(ball.StepSize, 2.0f);
}

TEST(PlayerMovement, IdleBallStaysOnItsCube)
{
    BallWorld world(rowAlongY(1));
    for (int i = 0; i < 100; ++i) {
        world.frame();
    }
    expectExactly(world.player.Position, 0, 0, 1.35f);
    EXPECT_TRUE(world.player.enableMovement);
    expectExactly(world.player.Velocity, 0, 0, 0);
}

TEST(PlayerMovement, TurnIsExactlyAQuarterAndLeftThenRightRestoresFront)
{
    BallWorld world(rowAlongY(1));
    Player& ball = world.player;
    world.frame();
    const Vec3 frontBefore = ball.Front;

    EXPECT_EQ(world.act(&Player::turnLeft), 21);
    EXPECT_EQ(ball.heading, 180.0f);
    world.frame();
    expectExactly(ball.Front, -1, 0, 0);
    expectExactly(ball.Left, 0, -1, 0);

    EXPECT_EQ(world.act(&Player::turnRight), 21);
    EXPECT_EQ(ball.heading, 90.0f);
    world.frame();
    expectExactly(ball.Front, frontBefore.x, frontBefore.y, frontBefore.z);
    expectExactly(ball.Position, 0, 0, 1.35f);
}

TEST(PlayerMovement, StepMovesOneCubeInTwentyFramesAndStops)
{
    BallWorld world(rowAlongY(5));
    Player& ball = world.player;
    world.frame();
    ASSERT_TRUE(world.press(&Player::moveForward));

    int frames = world.runUntilIdle();
    EXPECT_EQ(frames, 21);
    expectNearVec(ball.Position, Vec3(0, 2, 1.35f), 1e-5f);
    expectExactly(ball.Velocity, 0, 0, 0);
    EXPECT_FALSE(ball.moveForward);
    EXPECT_TRUE(ball.detectCollision);

    // A second step from there goes on by the same amount.
    EXPECT_EQ(world.act(&Player::moveForward), 21);
    expectNearVec(ball.Position, Vec3(0, 4, 1.35f), 1e-5f);
    expectExactly(ball.Gravity, 0, 0, -1);
}

TEST(PlayerMovement, SteppingOffAnEdgeRollsOntoTheSideFace)
{
    BallWorld world(rowAlongY(1));
    Player& ball = world.player;
    world.act(&Player::turnRight);   // heading 0: Front along +x
    world.frame();
    expectExactly(ball.Front, 1, 0, 0);

    ASSERT_TRUE(world.press(&Player::moveForward));
    bool rolled = false;
    for (int i = 0; i < 200 && !ball.enableMovement; ++i) {
        world.frame();
        rolled = rolled || ball.animateRotation;
    }
    EXPECT_TRUE(rolled);
    EXPECT_TRUE(ball.enableMovement);
    expectExactly(ball.Gravity, -1, 0, 0);
    world.frame();
    expectExactly(ball.Front, 0, 0, -1);
    // On the +x face, off its middle by at most one frame's travel.
    EXPECT_NEAR(ball.Position.x, 1.35f, 1e-5f);
    EXPECT_NEAR(ball.Position.y, 0.0f, 1e-5f);
    EXPECT_LE(std::fabs(ball.Position.z), 0.1f + 1e-4f);
    EXPECT_TRUE(world.level.cubes[0].faces[3].touched);
    EXPECT_FALSE(world.level.cubes[0].faces[0].touched);
}

TEST(PlayerMovement, SteppingIntoAHigherCubeClimbsTheWall)
{
    StageLayout stage;
    stage.cubes = {Vec3(0, 0, 0), Vec3(2, 0, 0), Vec3(2, 0, 2)};
    BallWorld world(stage);
    Player& ball = world.player;
    world.act(&Player::turnRight);

    EXPECT_GT(world.act(&Player::moveForward), 21);
    expectExactly(ball.Gravity, 1, 0, 0);
    world.frame();
    expectExactly(ball.Front, 0, 0, 1);
    expectNearVec(ball.Position, Vec3(0.65f, 0, 2.0f), 1e-4f);
    EXPECT_TRUE(world.level.cubes[2].faces[2].touched);
}

TEST(PlayerMovement, ActionsKeepTheBallBusyUntilTheyEnd)
{
    StageLayout stage = rowAlongY(3);
    stage.cubes.push_back(Vec3(2, 2, 2));
    BallWorld world(stage);
    Player& ball = world.player;

    // Every frame of a turn, a step, an edge roll with its follow-up step, and a jump: a key
    // pressed meanwhile must find the ball busy and change nothing.
    auto busyThroughout = [&](bool Player::*action) {
        EXPECT_TRUE(world.press(action));
        int frames = 0;
        while (true) {
            world.frame();
            ++frames;
            if (ball.enableMovement || frames > 300) {
                break;
            }
            EXPECT_FALSE(world.press(&Player::turnLeft)) << "frame " << frames;
            EXPECT_FALSE(world.press(&Player::jump)) << "frame " << frames;
        }
        return frames;
    };
    EXPECT_EQ(busyThroughout(&Player::turnLeft), 21);
    EXPECT_EQ(busyThroughout(&Player::turnRight), 21);
    EXPECT_EQ(busyThroughout(&Player::moveForward), 21);
    // Turned toward +x at (0, 2): the cube at (2, 2, 2) is a wall one level up.
    EXPECT_EQ(busyThroughout(&Player::turnRight), 21);
    EXPECT_GT(busyThroughout(&Player::moveForward), 40);
    expectExactly(ball.Gravity, 1, 0, 0);
    EXPECT_FALSE(ball.jump);
}

TEST(PlayerMovement, JumpLandsOnTheNextCubeWithABounce)
{
    BallWorld world(rowAlongY(3));
    Player& ball = world.player;
    world.frame();
    ASSERT_TRUE(world.press(&Player::jump));

    float highest = ball.Position.z;
    int landedAt = -1;
    for (int i = 1; i <= 60 && landedAt < 0; ++i) {
        bool airborneBefore = ball.playerIsJumping;
        bool bouncingBefore = world.sounds.bounceSound.getIsPlaying();
        world.frame();
        highest = std::max(highest, ball.Position.z);
        if (airborneBefore && !ball.playerIsJumping) {
            landedAt = i;
            EXPECT_FALSE(bouncingBefore);
            EXPECT_TRUE(world.sounds.bounceSound.getIsPlaying());
        }
    }
    EXPECT_EQ(landedAt, 22);
    EXPECT_NEAR(highest - 1.35f, 1.03f, 0.01f);
    expectNearVec(ball.Position, Vec3(0, 2, 1.35f), 1e-4f);
    world.frame();
    EXPECT_TRUE(ball.enableMovement);
    EXPECT_FALSE(ball.jump);
    expectExactly(ball.Gravity, 0, 0, -1);
}

TEST(PlayerMovement, JumpIntoAWallBouncesOnceThenClimbsIt)
{
    StageLayout stage = rowAlongY(2);
    stage.cubes.push_back(Vec3(0, 2, 2));
    BallWorld world(stage);
    Player& ball = world.player;
    ASSERT_TRUE(world.press(&Player::jump));

    // Every play of a sound gets a new play number; count the bounce's.
    unsigned long long lastPlay = world.sounds.bounceSound.channel.play;
    int bounces = 0;
    int framesAgainstWall = 0;
    for (int i = 0; i < 30; ++i) {
        world.frame();
        framesAgainstWall += world.level.cubes[2].faces[5].touched ? 1 : 0;
        if (world.sounds.bounceSound.channel.play != lastPlay) {
            ++bounces;
            lastPlay = world.sounds.bounceSound.channel.play;
        }
    }
    EXPECT_GT(framesAgainstWall, 10);
    EXPECT_EQ(bounces, 1);
    EXPECT_EQ(ball.Position.y, 0.65f);

    // It falls back into the corner at the wall's foot and climbs from there, as a step
    // into the wall does, to the middle of the wall face.
    world.runUntilIdle();
    expectExactly(ball.Gravity, 0, 1, 0);
    EXPECT_TRUE(world.level.cubes[2].faces[5].touched);
    expectNearVec(ball.Position, Vec3(0, 0.65f, 2.0f), 1e-4f);
}

TEST(PlayerMovement, JumpDownOntoALowerCube)
{
    StageLayout stage;
    stage.cubes = {Vec3(0, 0, 0), Vec3(0, 2, -2)};
    BallWorld world(stage);
    EXPECT_GT(world.act(&Player::jump), 22);
    expectNearVec(world.player.Position, Vec3(0, 2, -0.65f), 1e-4f);
    EXPECT_FALSE(world.player.playerIsJumping);
    EXPECT_TRUE(world.player.stageRunning);
}

TEST(PlayerMovement, JumpIntoSpaceFallsOutAndResets)
{
    StageLayout stage = rowAlongY(1);
    stage.fallRadius = 12.0f;
    BallWorld world(stage);
    Player& ball = world.player;
    ASSERT_TRUE(world.press(&Player::jump));

    int frames = 0;
    while (ball.stageRunning && frames < 500) {
        world.frame();
        ++frames;
        if (ball.stageRunning) {
            EXPECT_FALSE(ball.enableMovement) << "frame " << frames;
        }
    }
    EXPECT_FALSE(ball.stageRunning);
    EXPECT_LT(frames, 100);
    EXPECT_TRUE(world.sounds.loseSound.getIsPlaying());
    EXPECT_FALSE(world.sounds.bounceSound.getIsPlaying());
    expectNearVec(ball.Position, Vec3(0, 0, 1.35f), 0.2f);
    expectExactly(ball.Gravity, 0, 0, -1);
}
