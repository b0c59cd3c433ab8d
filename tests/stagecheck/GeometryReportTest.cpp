// What the checker says about stages whose numbers read fine but whose shape is suspect.

#include "CheckerRun.h"

#include <gtest/gtest.h>

namespace {

CheckerRun checkStage(const StageFolder& folder, const StageText& stage)
{
    folder.write("stage.txt", stage.text());
    return runChecker({"data/levels/stage.txt"}, folder.path());
}

} // namespace

TEST(GeometryReport, CubesOffTheGridOrOverlapping)
{
    StageFolder folder;
    StageText stage;
    stage.dice = {{0, 2, 1.35f}};
    stage.cubes = rowOfCubes(3);                 // cubes 1 to 3, lines 11 to 13
    stage.cubes.push_back({0, 2, 0});            // cube 4 repeats cube 2
    stage.cubes.push_back({0.5f, 6, 0});         // cube 5 is off the grid
    stage.cubes.push_back({1, 7, 0});            // cube 6 overlaps cube 5
    stage.cubes.push_back({2, 0, 0});            // cube 7 just touches cube 1
    CheckerRun run = checkStage(folder, stage);
    EXPECT_EQ(linesWith(run.output, "stage.txt:14: token 26: warning: cube 4 at (0, 2, 0) repeats cube 2 (line 12)").size(), 1u)
        << run.output;
    EXPECT_EQ(linesWith(run.output, "stage.txt:15: token 29: warning: cube 5 at (0.5, 6, 0) is off the whole-number grid").size(), 1u)
        << run.output;
    EXPECT_EQ(linesWith(run.output, "stage.txt:16: token 32: warning: cube 6 at (1, 7, 0) overlaps cube 5 (line 15)").size(), 1u)
        << run.output;
    EXPECT_EQ(linesWith(run.output, "overlaps").size() + linesWith(run.output, "repeats").size(), 2u) << run.output;
}

TEST(GeometryReport, CollectiblesNoBallCanComeNear)
{
    StageFolder folder;
    StageText stage;
    stage.cubes = rowOfCubes(3);
    stage.dice = {{0, 2, 0},          // inside the middle cube
                  {0, 4, 2.3f}};      // above the last cube, within a jump
    stage.coins = {{0, 0, 4}};        // high above the first
    stage.target = {0, 40, 1.35f};    // far beyond the row
    CheckerRun run = checkStage(folder, stage);
    EXPECT_EQ(linesWith(run.output, "stage.txt:8: token 12: warning: die 1 at (0, 2, 0) is out of reach of every cube face: "
                                    "the ball's centre comes no nearer than 1.35, and it must come within 0.55")
                  .size(),
              1u)
        << run.output;
    EXPECT_EQ(linesWith(run.output, "die 2").size(), 0u) << run.output;
    EXPECT_EQ(linesWith(run.output, "stage.txt:11: token 19: warning: coin 1 at (0, 0, 4) is out of reach").size(), 1u)
        << run.output;
    EXPECT_EQ(linesWith(run.output, "stage.txt:6: token 8: warning: the finish at (0, 40, 1.35) is out of reach").size(), 1u)
        << run.output;
}

TEST(GeometryReport, PlacesBeyondTheFallRadius)
{
    StageFolder folder;
    StageText stage;
    stage.fallRadius = "10";
    stage.cubes = rowOfCubes(6);   // the last at y = 10: its +y face rests the ball at 11.35
    stage.dice = {{0, 2, 1.35f}};
    stage.coins = {{0, 12, 0}};
    CheckerRun run = checkStage(folder, stage);
    EXPECT_EQ(linesWith(run.output, "warning: cube 6 at (0, 10, 0): a ball resting on its +z, -z, -x, +x, +y face lies beyond the fall radius 10.00").size(), 1u)
        << run.output;
    EXPECT_EQ(linesWith(run.output, "warning: cube 5").size(), 0u) << run.output;
    EXPECT_EQ(linesWith(run.output, "warning: coin 1 at (0, 12, 0) lies beyond the fall radius").size(), 1u) << run.output;

    stage.start = {0, 0, 11};
    CheckerRun lost = checkStage(folder, stage);
    EXPECT_EQ(lost.status, 1);
    EXPECT_EQ(linesWith(lost.output, "stage.txt:5: token 5: error: the start (0, 0, 11) lies beyond the fall radius 10.00: the ball is lost at once").size(), 1u)
        << lost.output;
}

TEST(GeometryReport, StageWithoutCubesOrLimits)
{
    StageFolder folder;
    StageText stage;
    stage.fallRadius = "0";
    stage.timeLimit = "-1";
    CheckerRun run = checkStage(folder, stage);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(linesWith(run.output, "error: the stage has no cubes").size(), 1u) << run.output;
    EXPECT_EQ(linesWith(run.output, "stage.txt:3: token 3: error: the fall radius is 0; it must be above 0").size(), 1u) << run.output;
    EXPECT_EQ(linesWith(run.output, "stage.txt:4: token 4: error: the time limit is -1; it must be above 0").size(), 1u) << run.output;
}
