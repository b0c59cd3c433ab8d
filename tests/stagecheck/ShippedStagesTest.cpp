// Every stage the game ships must load cleanly, be solvable, and leave at least a quarter
// of its time limit unused on the fastest route, as the checker finds it.

#include "CheckerRun.h"
#include "KeyReplay.h"

#include <gtest/gtest.h>

#include <filesystem>
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

TEST_P(ShippedStage, PassesTheCheckerWithAQuarterOfItsTimeToSpare)
{
    const std::string file = "data/levels/level" + std::to_string(GetParam()) + ".txt";
    CheckerRun run = runChecker({"--strict", "--min-spare", "25", file}, testsupport::sourceDir());
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(linesWith(run.output, file + ": pass").size(), 1u) << run.output;
    EXPECT_EQ(linesWith(run.output, file + ": fastest route: ").size(), 1u) << run.output;

    // The route holds when the game's Level loads the stage and the keys are played.
    const KeyPlay play = playKeys(testsupport::sourceDir(), keysOf(run.output), GetParam());
    EXPECT_TRUE(play.won) << run.output;
    EXPECT_EQ(play.frames, framesOf(run.output)) << run.output;
}

INSTANTIATE_TEST_SUITE_P(Stages, ShippedStage, ::testing::ValuesIn(shippedStages()),
                         [](const ::testing::TestParamInfo<int>& info) { return "level" + std::to_string(info.param); });

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
