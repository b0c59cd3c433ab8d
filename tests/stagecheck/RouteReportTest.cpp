// The routes the checker reports: found by playing the stage, and true when played again
// on the game's own Level and Player, key by key.

#include "CheckerRun.h"
#include "KeyReplay.h"

#include <FreeImage.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

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

TEST(RouteReport, DifficultyFiguresAndTheTable)
{
    // The row: three steps, nothing rolled, the finish reached in the middle of the third
    // (so three faces rested on); a coin off to the side is
    // left. Then a drop: a jump from a high cube onto a low one, and a die underneath that
    // takes two rolls over edges and a third gravity.
    StageFolder folder;
    StageText flat = row();
    flat.cubes.push_back({2, 2, 0});
    flat.coins = {{2, 2, 1.35f}};
    folder.write("level1.txt", flat.text());
    StageText drop;
    drop.cubes = {{0, 0, 2}, {0, 2, 0}, {0, 4, 0}};
    drop.start = {0, 0, 3.35f};
    drop.dice = {{0, 4, -1.35f}};
    drop.target = {0, 2, 1.35f};
    folder.write("level2.txt", drop.text());

    CheckerRun report = runChecker({"data/levels/level1.txt"}, folder.path());
    EXPECT_EQ(linesWith(report.output, "  difficulty: 3 actions, 0 edge rolls, 0 wall climbs, 0 jumps, 1 gravity directions, "
                                       "3 faces visited, 0 coins on the route and 1 off it").size(), 1u)
        << report.output;

    CheckerRun table = runChecker({"--table", "data/levels/level1.txt", "data/levels/level2.txt"}, folder.path());
    EXPECT_EQ(table.status, 0) << table.output;
    EXPECT_EQ(linesWith(table.output, "| Stage | Limit | Fastest | Spare | Cubes | Actions |").size(), 1u) << table.output;
    EXPECT_TRUE(linesWith(table.output, "fastest route").empty()) << "the table stands alone:\n" << table.output;
    const std::vector<std::string> flatRow = linesWith(table.output, "| level1.txt | 60 s |");
    ASSERT_EQ(flatRow.size(), 1u) << table.output;
    EXPECT_NE(flatRow[0].find("| 5 | 3 | 0 | 0 | 0 | 1 | 3 | 0 / 1 |"), std::string::npos) << flatRow[0];
    const std::vector<std::string> dropRow = linesWith(table.output, "| level2.txt |");
    ASSERT_EQ(dropRow.size(), 1u) << table.output;
    int cubes = 0, actions = 0, rolls = 0, climbs = 0, jumps = 0, gravities = 0;
    ASSERT_EQ(std::sscanf(dropRow[0].c_str(), "| level2.txt | 60 s | %*f s | %*d %% | %d | %d | %d | %d | %d | %d |", &cubes,
                          &actions, &rolls, &climbs, &jumps, &gravities),
              6)
        << dropRow[0];
    EXPECT_EQ(cubes, 3);
    EXPECT_EQ(jumps, 1) << dropRow[0];
    EXPECT_GE(rolls, 2) << dropRow[0];
    EXPECT_GE(gravities, 3) << dropRow[0];
    EXPECT_GE(actions, jumps + rolls / 2) << dropRow[0];
}

TEST(RouteReport, StoredRouteIsPlayedInsteadOfSearched)
{
    StageFolder folder;
    StageText stage = row();
    stage.timeLimit = "2";
    folder.write("level1.txt", stage.text());
    CheckerRun searched = runChecker({"--save-routes", "routes", "data/levels/level1.txt"}, folder.path());
    ASSERT_EQ(searched.status, 0) << searched.output;
    const std::filesystem::path stored = folder.path() / "routes" / "level1.route";
    ASSERT_TRUE(std::filesystem::is_regular_file(stored)) << searched.output;

    CheckerRun played = runChecker({"--min-spare", "25", "--routes", "routes", "data/levels/level1.txt"}, folder.path());
    EXPECT_EQ(played.status, 0) << played.output;
    EXPECT_EQ(linesWith(played.output, "level1.txt: stored route: 3 actions").size(), 1u) << played.output;
    EXPECT_EQ(linesWith(played.output, "played from routes/level1.route").size(), 1u) << played.output;
    EXPECT_EQ(framesOf(played.output), framesOf(searched.output)) << played.output;

    // A stored route that no longer wins, or is not a route at all, fails the stage: the
    // check never falls back to a slow search behind the author's back.
    auto storeAndCheck = [&](const std::string& keys) {
        std::ofstream(stored, std::ios::trunc) << keys;
        return runChecker({"--routes", "routes", "data/levels/level1.txt"}, folder.path());
    };
    CheckerRun stale = storeAndCheck("Up Up\n");
    EXPECT_EQ(stale.status, 1) << stale.output;
    EXPECT_EQ(linesWith(stale.output, "the stored route in routes/level1.route does not win the stage").size(), 1u) << stale.output;
    CheckerRun junk = storeAndCheck("Up Sideways Up\n");
    EXPECT_EQ(junk.status, 1) << junk.output;
    EXPECT_EQ(linesWith(junk.output, "word 2 is \"Sideways\", not a key").size(), 1u) << junk.output;
    stage.timeLimit = "1.2";
    folder.write("level1.txt", stage.text());
    std::ofstream(stored, std::ios::trunc) << "Up Up Up\n";
    CheckerRun tight = runChecker({"--min-spare", "25", "--routes", "routes", "data/levels/level1.txt"}, folder.path());
    EXPECT_EQ(tight.status, 1) << tight.output;
    EXPECT_EQ(linesWith(tight.output, "the stored route leaves").size(), 1u) << tight.output;
}

TEST(RouteReport, MapShowsTheStageItsMarksAndTheRoute)
{
    // The die underneath: under a see-through cube its mark still shows.
    StageFolder folder;
    StageText stage;
    stage.cubes = rowOfCubes(3);
    stage.dice = {{0, 4, -1.35f}};
    stage.target = {0, 0, 1.35f};
    folder.write("level1.txt", stage.text());
    CheckerRun run = runChecker({"--maps", "maps", "data/levels/level1.txt"}, folder.path());
    ASSERT_EQ(run.status, 0) << run.output;
    const std::filesystem::path map = folder.path() / "maps" / "level1.png";
    EXPECT_EQ(linesWith(run.output, "  map: maps/level1.png").size(), 1u) << run.output;

    FIBITMAP* picture = FreeImage_Load(FIF_PNG, map.c_str(), 0);
    ASSERT_NE(picture, nullptr) << map;
    FIBITMAP* rgb = FreeImage_ConvertTo24Bits(picture);
    FreeImage_Unload(picture);
    ASSERT_NE(rgb, nullptr);
    EXPECT_EQ(FreeImage_GetWidth(rgb), 320u);
    EXPECT_EQ(FreeImage_GetHeight(rgb), 240u);
    int finish = 0, die = 0, route = 0, background = 0;
    for (unsigned y = 0; y < FreeImage_GetHeight(rgb); ++y) {
        const BYTE* line = FreeImage_GetScanLine(rgb, static_cast<int>(y));
        for (unsigned x = 0; x < FreeImage_GetWidth(rgb); ++x) {
            const int r = line[3 * x + FI_RGBA_RED], g = line[3 * x + FI_RGBA_GREEN], b = line[3 * x + FI_RGBA_BLUE];
            finish += (g > 180 && r < 110 && b < 130) ? 1 : 0;
            die += (r > 235 && g > 235 && b > 235) ? 1 : 0;
            route += (b > 200 && r > 150 && g < 120) ? 1 : 0;   // the magenta end of the line
            background += (r < 30 && g < 30 && b < 45) ? 1 : 0;
        }
    }
    FreeImage_Unload(rgb);
    EXPECT_GE(finish, 20) << "the finish mark";
    EXPECT_GE(die, 10) << "the die mark";
    EXPECT_GE(route, 10) << "the route";
    EXPECT_GT(background, 320 * 240 / 4) << "the stage fills the picture, not all of it";
    EXPECT_LT(std::filesystem::file_size(map), 20000u);
}
