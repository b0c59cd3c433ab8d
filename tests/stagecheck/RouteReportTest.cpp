// The routes the checker reports: found by playing the stage, and true when played again
// on the game's own Level and Player, key by key.

#include "CheckerRun.h"
#include "KeyReplay.h"

#include <gtest/gtest.h>

namespace {

CheckerRun checkAsStageOne(const StageFolder& folder, const StageText& stage, std::vector<std::string> options = {})
{
    folder.write("level1.txt", stage.text());
    options.push_back("data/levels/level1.txt");
    return runChecker(options, folder.path());
}

// The checker's route, played again key by key, wins in the frames it claims.
KeyPlay expectRouteHolds(const StageFolder& folder, const CheckerRun& run, int route = 0)
{
    const std::string keys = keysOf(run.output, route);
    EXPECT_FALSE(keys.empty()) << run.output;
    const KeyPlay play = playKeys(folder.path(), keys);
    EXPECT_TRUE(play.understood) << keys;
    EXPECT_TRUE(play.won) << keys;
    EXPECT_EQ(play.frames, framesOf(run.output, route)) << run.output;
    return play;
}

// Dice along a row, the finish at its end.
StageText row()
{
    StageText stage;
    stage.cubes = rowOfCubes(4);
    stage.dice = {{0, 2, 1.35f}};
    stage.target = {0, 6, 1.35f};
    return stage;
}

} // namespace

TEST(RouteReport, StraightRowIsTheUpArrowHeld)
{
    StageFolder folder;
    CheckerRun run = checkAsStageOne(folder, row());
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(keysOf(run.output), "hold Up (3 steps)") << run.output;
    EXPECT_EQ(linesWith(run.output, "level1.txt: pass").size(), 1u) << run.output;
    expectRouteHolds(folder, run);
}

TEST(RouteReport, TurnsOnlyWhereTheStageBends)
{
    // An L: three cubes up +y, then three along -x; the die at the corner.
    StageFolder folder;
    StageText stage;
    stage.cubes = {{0, 0, 0}, {0, 2, 0}, {0, 4, 0}, {-2, 4, 0}, {-4, 4, 0}};
    stage.dice = {{0, 4, 1.35f}};
    stage.target = {-4, 4, 1.35f};
    CheckerRun run = checkAsStageOne(folder, stage);
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(keysOf(run.output), "hold Up (2 steps), Left, hold Up (2 steps)") << run.output;
    expectRouteHolds(folder, run);
}

TEST(RouteReport, DieUnderneathNeedsTheEdges)
{
    // A die under the last cube of the row: the ball rolls over the end and travels below.
    StageFolder folder;
    StageText stage;
    stage.cubes = rowOfCubes(3);
    stage.dice = {{0, 4, -1.35f}};
    stage.target = {0, 0, 1.35f};
    CheckerRun run = checkAsStageOne(folder, stage, {"--steps"});
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_FALSE(linesWith(run.output, "gravity turns to (0, -1, 0)").empty()) << run.output;
    EXPECT_FALSE(linesWith(run.output, "gravity turns to (0, 0, 1)").empty()) << run.output;
    EXPECT_EQ(linesWith(run.output, "takes 1 die").size(), 1u) << run.output;
    expectRouteHolds(folder, run);
}

TEST(RouteReport, UnreachableDieFailsTheStage)
{
    // The die lies on a cube of its own, three cells away from the row: nothing leads there.
    StageFolder folder;
    StageText stage = row();
    stage.cubes.push_back({6, 2, 0});
    stage.dice = {{6, 2, 1.35f}};
    CheckerRun run = checkAsStageOne(folder, stage);
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_EQ(linesWith(run.output, "error: no route collects every die and reaches the finish within 2 times the time limit").size(), 1u)
        << run.output;
    EXPECT_EQ(linesWith(run.output, "level1.txt: FAIL").size(), 1u) << run.output;
}

TEST(RouteReport, TimeLimitAndTheShareToSpare)
{
    StageFolder folder;
    StageText stage = row();
    // The row takes 3 steps of 21 frames less the last frames before the finish: about one second.
    stage.timeLimit = "0.8";
    CheckerRun tight = checkAsStageOne(folder, stage);
    EXPECT_EQ(tight.status, 1) << tight.output;
    EXPECT_EQ(linesWith(tight.output, "more than the time limit of 0.80 s").size(), 1u) << tight.output;

    stage.timeLimit = "1.2";
    CheckerRun enough = checkAsStageOne(folder, stage);
    EXPECT_EQ(enough.status, 0) << enough.output;
    CheckerRun demanding = checkAsStageOne(folder, stage, {"--min-spare", "25"});
    EXPECT_EQ(demanding.status, 1) << demanding.output;
    EXPECT_EQ(linesWith(demanding.output, "of the time limit to spare, less than 25 %").size(), 1u) << demanding.output;

    stage.timeLimit = "2";
    EXPECT_EQ(checkAsStageOne(folder, stage, {"--min-spare", "25"}).status, 0);
    EXPECT_EQ(runChecker({"--min-spare", "much", "data/levels/level1.txt"}, folder.path()).status, 2);
}

TEST(RouteReport, EveryCoinRouteTakesTheDetour)
{
    // The die on a spur to the west, a coin on a spur to the east: the fastest route
    // leaves the coin, the every-coin route fetches both.
    StageFolder folder;
    StageText stage = row();
    stage.cubes.push_back({-2, 2, 0});
    stage.cubes.push_back({2, 4, 0});
    stage.dice = {{-2, 2, 1.35f}};
    stage.coins = {{2, 4, 1.35f}};
    CheckerRun run = checkAsStageOne(folder, stage, {"--all-coins"});
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(linesWith(run.output, "takes 0 of 1 coins").size(), 1u) << run.output;
    EXPECT_EQ(linesWith(run.output, "fastest route with every coin:").size(), 1u) << run.output;
    EXPECT_EQ(linesWith(run.output, "takes 1 of 1 coins").size(), 1u) << run.output;

    // Both routes are real, and the detour costs time.
    EXPECT_EQ(expectRouteHolds(folder, run, 0).coinsTaken, 0);
    EXPECT_EQ(expectRouteHolds(folder, run, 1).coinsTaken, 1);
    EXPECT_GT(framesOf(run.output, 1), framesOf(run.output, 0)) << run.output;
}

TEST(RouteReport, StartThatDoesNotRest)
{
    StageFolder folder;
    StageText stage = row();
    stage.start = {0, 0, 1.6f};   // above the band in which the top face holds the ball
    CheckerRun floating = checkAsStageOne(folder, stage, {"--strict"});
    EXPECT_EQ(floating.status, 1) << floating.output;
    EXPECT_EQ(linesWith(floating.output, "warning: the start (0, 0, 1.6) does not rest on a cube after the first collision pass").size(), 1u)
        << floating.output;

    stage.start = {0, 0, 1.0f};   // sunk into the first cube
    CheckerRun sunk = checkAsStageOne(folder, stage);
    EXPECT_EQ(linesWith(sunk.output, "warning: the first collision pass moves the ball from the start (0, 0, 1) to (0, 0, 1.35)").size(), 1u)
        << sunk.output;
}
