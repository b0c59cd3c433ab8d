#include "BallWorld.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

StageLayout oneCube()
{
    StageLayout stage;
    stage.cubes = {Vec3(0, 0, 0)};
    return stage;
}

} // namespace

TEST(PlayerPickups, DieWithinReachIsCollectedWithItsSound)
{
    StageLayout stage = oneCube();
    stage.dice = {Vec3(0, 0.5f, 1.5f), Vec3(0, 0.7f, 1.35f)};   // squared distances 0.2725, 0.49
    BallWorld world(stage);
    EXPECT_FALSE(world.sounds.keySound.getIsPlaying());
    world.frame();
    ASSERT_EQ(world.level.remainingDice(), 1);
    EXPECT_EQ(world.level.dice.front().y, 0.7f);
    EXPECT_TRUE(world.sounds.keySound.getIsPlaying());
    EXPECT_EQ(world.level.diceTotal, 2);
    for (int i = 0; i < 5; ++i) {
        world.frame();
    }
    EXPECT_EQ(world.level.remainingDice(), 1);
}

TEST(PlayerPickups, AtMostOneDieAndOneCoinPerFrame)
{
    StageLayout stage = oneCube();
    stage.dice = {Vec3(0, 0, 1.35f), Vec3(0.1f, 0, 1.35f), Vec3(0, 0, 1.4f)};
    stage.coins = {Vec3(0, 0.2f, 1.35f), Vec3(0, -0.2f, 1.35f)};
    BallWorld world(stage);
    world.frame();
    EXPECT_EQ(world.level.remainingDice(), 2);
    EXPECT_EQ(world.level.remainingCoins(), 1);
    EXPECT_TRUE(world.sounds.keySound.getIsPlaying());
    EXPECT_TRUE(world.sounds.bonusSound.getIsPlaying());
    // The first in file order goes first and the rest keep their order.
    EXPECT_EQ(world.level.dice.front().x, 0.1f);
    EXPECT_EQ(world.level.coins.front().y, -0.2f);
    world.frame();
    EXPECT_EQ(world.level.remainingDice(), 1);
    EXPECT_EQ(world.level.remainingCoins(), 0);
    world.frame();
    EXPECT_EQ(world.level.remainingDice(), 0);
}

TEST(PlayerPickups, CoinReachIsShorterThanDieReach)
{
    // Squared distance 0.29: within a die's reach (0.3), outside a coin's (0.28).
    const float d = std::sqrt(0.29f);
    StageLayout stage = oneCube();
    stage.dice = {Vec3(d, 0, 1.35f)};
    stage.coins = {Vec3(-d, 0, 1.35f), Vec3(0, 0.52f, 1.35f)};
    BallWorld world(stage);
    world.frame();
    EXPECT_EQ(world.level.remainingDice(), 0);
    ASSERT_EQ(world.level.remainingCoins(), 1);
    EXPECT_EQ(world.level.coins.front().x, -d);
}

TEST(PlayerPickups, FinishNeedsEveryDieAndFiresTheFrameAfterTheLast)
{
    StageLayout stage = oneCube();
    stage.start = Vec3(0, 0, 1.35f);
    stage.target = Vec3(0, 0, 1.5f);
    stage.dice = {Vec3(0, 0, 1.5f)};
    BallWorld world(stage);
    Player& ball = world.player;

    world.frame();
    EXPECT_EQ(world.level.remainingDice(), 0);
    EXPECT_FALSE(ball.stageWon);
    EXPECT_TRUE(ball.stageRunning);
    EXPECT_FALSE(world.sounds.winSound.getIsPlaying());

    ball.Position = Vec3(0, 0.3f, 1.35f);   // still within reach; reset must bring it back
    world.frame();
    EXPECT_TRUE(ball.stageWon);
    EXPECT_FALSE(ball.stageRunning);
    EXPECT_TRUE(world.sounds.winSound.getIsPlaying());
    expectNearVec(ball.Position, Vec3(0, 0, 1.35f), 1e-6f);
}

TEST(PlayerPickups, ExactlyAtTheFallRadiusIsNotLost)
{
    StageLayout stage;
    stage.fallRadius = 5.0f;
    stage.start = Vec3(3, 4, 0);   // distance exactly 5, no cubes: nothing moves it this frame
    BallWorld world(stage);
    world.player.detectCollision = false;
    world.player.checkPickups(world.level, world.sounds);
    EXPECT_TRUE(world.player.stageRunning);
    EXPECT_FALSE(world.sounds.loseSound.getIsPlaying());

    world.player.Position = Vec3(3, 4.001f, 0);
    world.player.checkPickups(world.level, world.sounds);
    EXPECT_FALSE(world.player.stageRunning);
    EXPECT_TRUE(world.sounds.loseSound.getIsPlaying());
    EXPECT_EQ(world.player.Position.y, 4.0f);
}

TEST(PlayerPickups, MissingSoundsDoNotStopPickups)
{
    StageLayout stage = oneCube();
    stage.dice = {Vec3(0, 0, 1.35f)};
    stage.coins = {Vec3(0, 0, 1.35f)};
    BallWorld world(stage, false);
    world.frame();
    EXPECT_EQ(world.level.remainingDice(), 0);
    EXPECT_EQ(world.level.remainingCoins(), 0);
    EXPECT_FALSE(world.sounds.keySound.getIsPlaying());
}
