// The benchmark's working folder and its generated stages: a stage of N cubes must be what
// the frame figures claim, and nothing the game writes may reach the repository's data.
#include "BenchData.h"
#include "level/StageFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <set>
#include <sstream>
#include <tuple>

namespace fs = std::filesystem;

namespace {

StageFile readGenerated(const BenchData& data, int number)
{
    const fs::path file = data.root() / "data/levels" / ("level" + std::to_string(number) + ".txt");
    std::ifstream in(file);
    StageFile stage;
    EXPECT_TRUE(readStageFile(in, file.string(), stage)) << file;
    return stage;
}

std::set<std::tuple<float, float, float>> cells(const StageFile& stage)
{
    std::set<std::tuple<float, float, float>> out;
    for (const Cube& cube : stage.cubes) {
        out.emplace(cube.position.x, cube.position.y, cube.position.z);
    }
    return out;
}

// A point resting on top of some cube: the cube's centre lies `height` below it.
bool restsOnACube(const std::set<std::tuple<float, float, float>>& occupied, const Vec3& p, float height)
{
    return occupied.count({p.x, p.y, p.z - height}) == 1;
}

} // namespace

TEST(BenchData, GeneratedStagesHoldWhatTheFiguresClaim)
{
    testsupport::ScratchDir source;
    source.write("levels/level1.txt", "x");
    const BenchData data(source.path());
    for (int cubes : {16, 500, 2000, 5000}) {
        data.writeGeneratedStage(900, cubes);
        const StageFile stage = readGenerated(data, 900);
        const auto occupied = cells(stage);
        EXPECT_EQ(stage.cubes.size(), static_cast<size_t>(cubes));
        EXPECT_EQ(occupied.size(), static_cast<size_t>(cubes)) << "two cubes in one place";
        const size_t collectibles = static_cast<size_t>(std::max(3, cubes / 100));
        EXPECT_EQ(stage.dice.size(), collectibles);
        EXPECT_EQ(stage.coins.size(), collectibles);

        // The ball starts on a cube, and every die, coin and the finish can be reached.
        EXPECT_TRUE(restsOnACube(occupied, stage.startPosition, 1.35f)) << cubes;
        EXPECT_TRUE(restsOnACube(occupied, stage.targetPosition, 1.5f)) << cubes;
        for (const Vec3& p : stage.dice) {
            EXPECT_TRUE(restsOnACube(occupied, p, 1.5f)) << cubes;
        }
        for (const Vec3& p : stage.coins) {
            EXPECT_TRUE(restsOnACube(occupied, p, 1.5f)) << cubes;
        }
        // No cube lies beyond the fall radius, so the ball can roll anywhere on the slab.
        for (const Cube& cube : stage.cubes) {
            const Vec3& c = cube.position;
            EXPECT_LT(std::sqrt(c.x * c.x + c.y * c.y + c.z * c.z) + 2.0f, stage.fallRadius) << cubes;
        }
        EXPECT_EQ(stage.faceTexture, "face_blue_tiles.png");
        EXPECT_GT(stage.timeLimit, 600.0f);
    }
}

TEST(BenchData, TheFolderLinksTheShippedDataButKeepsWhatTheGameWritesToItself)
{
    testsupport::ScratchDir source;
    source.write("soccer.png", "picture");
    source.write("DoNotReadMe.txt", "9 900");
    source.write("hs.txt", "abc 1\n");
    source.write("levels/level1.txt", "one");
    source.write("levels/level2.txt", "two");
    source.write("levels/level4.txt", "four, after a gap");
    source.write("levels/levelTextures/sky.png", "sky");

    fs::path root;
    {
        const BenchData data(source.path());
        root = data.root();
        EXPECT_EQ(data.shippedStages(), 2);
        EXPECT_TRUE(fs::is_symlink(root / "data/soccer.png"));
        EXPECT_TRUE(fs::exists(root / "data/levels/levelTextures/sky.png"));
        EXPECT_FALSE(fs::exists(root / "data/DoNotReadMe.txt"));
        EXPECT_FALSE(fs::exists(root / "data/hs.txt"));

        data.writeSaveFile(902, 0);
        data.writeGeneratedStage(3, 100);
        std::ifstream save(root / "data/DoNotReadMe.txt");
        std::stringstream text;
        text << save.rdbuf();
        EXPECT_EQ(text.str(), "902 0");
    }
    EXPECT_FALSE(fs::exists(root)) << "the folder outlives the benchmark";
    // The repository's own files are untouched, and no generated stage landed there.
    std::ifstream save(source.path() / "DoNotReadMe.txt");
    std::stringstream text;
    text << save.rdbuf();
    EXPECT_EQ(text.str(), "9 900");
    EXPECT_FALSE(fs::exists(source.path() / "levels/level3.txt"));
}
