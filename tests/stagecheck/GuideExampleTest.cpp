// The stages shown in the authors' guide (docs/stages.md, in blocks fenced as "stage") pass
// the checker as they stand, and the route it prints for them wins.

#include "CheckerRun.h"
#include "KeyReplay.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

std::vector<std::string> guideStages()
{
    std::ifstream in(testsupport::sourceDir() / "docs" / "stages.md");
    std::vector<std::string> stages;
    std::string line;
    bool inside = false;
    while (std::getline(in, line)) {
        if (!inside && line == "```stage") {
            inside = true;
            stages.emplace_back();
        } else if (inside && line == "```") {
            inside = false;
        } else if (inside) {
            stages.back() += line + "\n";
        }
    }
    return stages;
}

} // namespace

TEST(GuideExample, EveryExampleStagePassesStrictlyAndItsRouteWins)
{
    const std::vector<std::string> stages = guideStages();
    ASSERT_FALSE(stages.empty()) << "no stage block in docs/stages.md";
    const std::filesystem::path textures = testsupport::sourceDir() / "data" / "levels" / "levelTextures";
    for (const std::string& stage : stages) {
        StageFolder folder;
        folder.write("level1.txt", stage);
        // The example names the game's own pictures.
        for (const auto& entry : std::filesystem::directory_iterator(textures)) {
            std::filesystem::copy_file(entry.path(), folder.path() / "data" / "levels" / "levelTextures" / entry.path().filename(),
                                       std::filesystem::copy_options::skip_existing);
        }
        CheckerRun run = runChecker({"--strict", "data/levels/level1.txt"}, folder.path());
        EXPECT_EQ(run.status, 0) << stage << run.output;
        const KeyPlay play = playKeys(folder.path(), keysOf(run.output));
        EXPECT_TRUE(play.won) << run.output;
        EXPECT_EQ(play.frames, framesOf(run.output)) << run.output;
    }
}
