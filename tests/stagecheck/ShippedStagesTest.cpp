// Every stage the game ships must load cleanly, be solvable, and leave enough of its time
// limit unused on the fastest route: 60 % on the first world, which teaches the moves, and
// 35 % on every other, so that a stage stays winnable at about 40 frames a second. The
// route stored for each stage (tools/stagecheck/routes/) is played instead of searched:
// it is a real route, so the fastest one is at least as quick.

#include "CheckerRun.h"
#include "KeyReplay.h"
#include "level/StageFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
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

TEST(ShippedStages, FiftyStagesInFiveWorlds)
{
    // Ten stages a world, each world with a face picture and a sky of its own, and the
    // largest stages of the last world between 100 and 200 cubes.
    ASSERT_EQ(shippedStages().size(), 50u);
    std::set<std::string> skies;
    std::size_t largest = 0;
    for (int world = 0; world < 5; ++world) {
        std::set<std::pair<std::string, std::string>> looks;
        for (int n = world * 10 + 1; n <= world * 10 + 10; ++n) {
            const std::filesystem::path file = stageFolder() / ("level" + std::to_string(n) + ".txt");
            std::ifstream in(file);
            StageFile stage;
            ASSERT_TRUE(readStageFile(in, file.string(), stage)) << file;
            looks.insert({stage.faceTexture, stage.skyTexture});
            EXPECT_LE(stage.cubes.size(), 200u) << file << ": the frame time is measured up to 200 cubes";
            largest = std::max(largest, stage.cubes.size());
        }
        EXPECT_EQ(looks.size(), 1u) << "world " << world + 1 << " mixes its pictures";
        skies.insert(looks.begin()->second);
    }
    EXPECT_EQ(skies.size(), 5u);
    EXPECT_GE(largest, 100u);
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
