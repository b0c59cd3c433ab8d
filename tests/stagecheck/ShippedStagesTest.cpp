// Every stage the game ships must load cleanly, be solvable, and leave enough of its time
// limit unused on the fastest route: 60 % on the first world, which teaches the moves, and
// 35 % on every other, so that a stage stays winnable at about 40 frames a second. The
// route stored for each stage (tools/stagecheck/routes/) is played instead of searched:
// it is a real route, so the fastest one is at least as quick.

#include "CheckerRun.h"
#include "KeyReplay.h"
#include "level/StageFile.h"
#include "progress/ProvenTimes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <set>

namespace {

const std::filesystem::path& stageFolder()
{
    static const std::filesystem::path folder = testsupport::sourceDir() / "data" / "levels";
    return folder;
}

// The stage numbers the game reaches: 1, 2, 3 ... up to the first without a file.
std::vector<int> shippedStages()
{
    std::vector<int> stages;
    for (int n = 1; std::filesystem::is_regular_file(stageFolder() / ("level" + std::to_string(n) + ".txt")); ++n) {
        stages.push_back(n);
    }
    return stages;
}

class ShippedStage : public ::testing::TestWithParam<int> {};

} // namespace

TEST_P(ShippedStage, PassesTheCheckerWithItsShareOfTimeToSpare)
{
    const std::string file = "data/levels/level" + std::to_string(GetParam()) + ".txt";
    const std::string routes = "tools/stagecheck/routes";
    EXPECT_TRUE(std::filesystem::is_regular_file(testsupport::sourceDir() / routes / ("level" + std::to_string(GetParam()) + ".route")))
        << "store the stage's route: stagecheck --save-routes " << routes << " " << file;
    const std::string spare = GetParam() <= 10 ? "60" : "35";
    CheckerRun run = runChecker({"--strict", "--min-spare", spare, "--routes", routes, file}, testsupport::sourceDir());
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(linesWith(run.output, file + ": pass").size(), 1u) << run.output;
    EXPECT_EQ(linesWith(run.output, file + ": stored route: ").size(), 1u) << run.output;

    // The route holds when the game's Level loads the stage and the keys are played.
    const KeyPlay play = playKeys(testsupport::sourceDir(), keysOf(run.output), GetParam());
    EXPECT_TRUE(play.won) << run.output;
    EXPECT_EQ(play.frames, framesOf(run.output)) << run.output;
}

INSTANTIATE_TEST_SUITE_P(Stages, ShippedStage, ::testing::ValuesIn(shippedStages()),
                         [](const ::testing::TestParamInfo<int>& info) { return "level" + std::to_string(info.param); });

TEST(ShippedStages, HundredStagesInTenWorlds)
{
    // Ten stages a world, each world with a face picture and a sky of its own, and the
    // largest stages of the last world between 200 and 300 cubes.
    ASSERT_EQ(shippedStages().size(), 100u);
    std::set<std::string> faces;
    std::set<std::string> skies;
    std::size_t largest = 0;
    for (int world = 0; world < 10; ++world) {
        std::set<std::pair<std::string, std::string>> looks;
        for (int n = world * 10 + 1; n <= world * 10 + 10; ++n) {
            const std::filesystem::path file = stageFolder() / ("level" + std::to_string(n) + ".txt");
            std::ifstream in(file);
            StageFile stage;
            ASSERT_TRUE(readStageFile(in, file.string(), stage)) << file;
            looks.insert({stage.faceTexture, stage.skyTexture});
            EXPECT_LE(stage.cubes.size(), 300u) << file;
            largest = std::max(largest, stage.cubes.size());
        }
        EXPECT_EQ(looks.size(), 1u) << "world " << world + 1 << " mixes its pictures";
        faces.insert(looks.begin()->first);
        skies.insert(looks.begin()->second);
    }
    EXPECT_EQ(faces.size(), 10u);
    EXPECT_EQ(skies.size(), 10u);
    EXPECT_GE(largest, 200u);
}

TEST(ShippedStages, NewWorldsGrowHarderAndTurnGravityEveryWay)
{
    // The checker's figures for the stored routes of stages 51 on: within a world the route
    // takes more actions stage by stage, a world opens with a shorter route than the last
    // one ended with, and every route has at least three ways down, six from stage 81 on.
    std::vector<std::string> args = {"--table", "--routes", "tools/stagecheck/routes"};
    for (int n = 50; n <= 100; ++n) {
        args.push_back("data/levels/level" + std::to_string(n) + ".txt");
    }
    const CheckerRun run = runChecker(args, testsupport::sourceDir());
    ASSERT_EQ(run.status, 0) << run.output;
    // | levelN.txt | limit | fastest | spare | cubes | actions | rolls | climbs | jumps | gravities | ...
    const std::regex row(R"(\| level(\d+)\.txt \| [^|]+\| [^|]+\| [^|]+\| \d+ \| (\d+) \| \d+ \| \d+ \| \d+ \| (\d+) \|)");
    std::map<int, std::pair<int, int>> figures;   // stage: actions, gravity directions
    for (const std::string& line : linesWith(run.output, "| level")) {
        std::smatch match;
        if (std::regex_search(line, match, row)) {
            figures[std::stoi(match[1])] = {std::stoi(match[2]), std::stoi(match[3])};
        }
    }
    ASSERT_EQ(figures.size(), 51u) << run.output;
    for (int n = 51; n <= 100; ++n) {
        const int actions = figures[n].first;
        const int before = figures[n - 1].first;
        if (n % 10 == 1) {
            EXPECT_LT(actions, before) << "stage " << n << " opens a world with a longer route than stage " << n - 1;
        } else {
            EXPECT_GT(actions, before) << "stage " << n << " is no longer than stage " << n - 1;
        }
        EXPECT_GE(figures[n].second, n > 80 ? 6 : 3) << "stage " << n;
    }
}

TEST(ShippedStages, EveryStageFileIsReachedWithoutGaps)
{
    // The game plays stage files in order and stops at the first number without one; a
    // file beyond a gap would never be played.
    const std::vector<int> reached = shippedStages();
    ASSERT_FALSE(reached.empty());
    const std::set<int> reachable(reached.begin(), reached.end());
    const std::regex name(R"(level(\d+)\.txt)");
    for (const auto& entry : std::filesystem::directory_iterator(stageFolder())) {
        std::smatch match;
        const std::string file = entry.path().filename().string();
        if (std::regex_match(file, match, name)) {
            EXPECT_TRUE(reachable.count(std::stoi(match[1])) == 1) << file << " comes after a missing stage";
        }
    }
}

TEST(ShippedStages, ProvenTimesAreTheFramesOfTheStoredRoutes)
{
    // data/levels/proven-times.txt, against which medals are won, must hold what the stored
    // routes take now: one checker run plays every route again and writes the times afresh,
    // and the two files must be the same, so a changed stage or route cannot keep a stale time.
    testsupport::ScratchDir dir;
    const std::filesystem::path fresh = dir.path() / "proven-times.txt";
    std::vector<std::string> args = {"--table", "--routes", "tools/stagecheck/routes", "--save-times", fresh.string()};
    const std::vector<int> stages = shippedStages();
    for (int n : stages) {
        args.push_back("data/levels/level" + std::to_string(n) + ".txt");
    }
    const CheckerRun run = runChecker(args, testsupport::sourceDir());
    ASSERT_EQ(run.status, 0) << run.output;

    auto contents = [](const std::filesystem::path& file) {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    };
    EXPECT_EQ(contents(stageFolder() / "proven-times.txt"), contents(fresh))
        << "write it again: stagecheck --routes tools/stagecheck/routes --save-times data/levels/proven-times.txt "
           "data/levels/level*.txt";

    // Each time is the one the checker's table shows for the stage.
    ProvenTimes proven;
    ASSERT_TRUE(proven.load(fresh.string()));
    EXPECT_EQ(proven.count(), static_cast<int>(stages.size()));
    const std::regex row(R"(\| level(\d+)\.txt \| [^|]+\| ([0-9.]+) s \|)");
    int rows = 0;
    for (const std::string& line : linesWith(run.output, "| level")) {
        std::smatch match;
        if (std::regex_search(line, match, row)) {
            ++rows;
            const int stage = std::stoi(match[1]);
            EXPECT_NEAR(proven.steps(stage) / 60.0, std::stod(match[2]), 0.005 + 1e-9) << line;
        }
    }
    EXPECT_EQ(rows, static_cast<int>(stages.size())) << run.output;
}
