#include "DataFiles.h"

#include "level/StageFile.h"
#include "player/Vec3.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using namespace datafiles;

namespace {

constexpr float BALL_RADIUS = 0.35f;
constexpr float DIE_REACH = 0.3f;      // squared distances within which the ball takes them
constexpr float COIN_REACH = 0.28f;
constexpr float FINISH_REACH = 0.3f;

bool readStage(const std::string& name, StageFile& stage)
{
    std::ifstream in(dataDir() / name);
    testsupport::StdoutCapture quiet;
    bool ok = readStageFile(in, name, stage);
    std::string said = quiet.finish();
    EXPECT_EQ(said, "") << name;
    return ok;
}

bool cubeAt(const StageFile& stage, const Vec3& centre)
{
    for (const Cube& cube : stage.cubes) {
        if (cube.position == centre) {
            return true;
        }
    }
    return false;
}

// The ball stops only in the middle of free faces: there its centre is one radius out
// from the face's middle. True when such a resting place is within `reach` of `point`.
bool reachableFromAFace(const StageFile& stage, const Vec3& point, float reach)
{
    const Vec3 normals[] = {{0, 0, 1}, {0, 0, -1}, {-1, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, -1, 0}};
    for (const Cube& cube : stage.cubes) {
        for (const Vec3& n : normals) {
            if (cubeAt(stage, cube.position + n * 2.0f)) {
                continue;   // covered by a neighbour
            }
            Vec3 rest = cube.position + n * (1.0f + BALL_RADIUS);
            if (lengthSquared(rest - point) < reach) {
                return true;
            }
        }
    }
    return false;
}

} // namespace

TEST(StageFiles, StageOneExistsAndEveryStageReadsCompletely)
{
    std::vector<std::string> stages = stageFiles();
    ASSERT_FALSE(stages.empty()) << "the game falls back to data/levels/level1.txt";
    for (const std::string& name : stages) {
        StageFile stage;
        EXPECT_TRUE(readStage(name, stage)) << name;
        EXPECT_FALSE(stage.cubes.empty()) << name;
        EXPECT_FALSE(stage.dice.empty()) << name << ": the finish would show at once";
        EXPECT_GT(stage.timeLimit, 0.0f) << name;
        for (const std::string& texture : {stage.faceTexture, stage.skyTexture}) {
            EXPECT_TRUE(std::filesystem::is_regular_file(dataDir() / "levels" / "levelTextures" / texture))
                << name << " names " << texture;
        }
    }
}

TEST(StageFiles, BallStartsOnAFaceAndCanReachEveryDieCoinAndTheFinish)
{
    for (const std::string& name : stageFiles()) {
        StageFile stage;
        ASSERT_TRUE(readStage(name, stage)) << name;
        // Gravity points along -z at the start: the ball sits on top of a cube.
        Vec3 below = stage.startPosition - Vec3(0, 0, 1.0f + BALL_RADIUS);
        EXPECT_TRUE(cubeAt(stage, below)) << name << ": no cube under the start";
        for (const Vec3& die : stage.dice) {
            EXPECT_TRUE(reachableFromAFace(stage, die, DIE_REACH)) << name << ": die at " << die.x << " " << die.y << " " << die.z;
        }
        for (const Vec3& coin : stage.coins) {
            EXPECT_TRUE(reachableFromAFace(stage, coin, COIN_REACH)) << name << ": coin at " << coin.x << " " << coin.y << " " << coin.z;
        }
        EXPECT_TRUE(reachableFromAFace(stage, stage.targetPosition, FINISH_REACH)) << name << ": finish out of reach";
    }
}

TEST(StageFiles, NoCubeFaceLiesOutsideTheFallRadius)
{
    // A ball resting anywhere on the stage must not count as fallen off it.
    for (const std::string& name : stageFiles()) {
        StageFile stage;
        ASSERT_TRUE(readStage(name, stage)) << name;
        for (const Cube& cube : stage.cubes) {
            float farthest = length(cube.position) + 1.0f + BALL_RADIUS;
            EXPECT_LT(farthest, stage.fallRadius) << name << ": cube at " << cube.position.x << " " << cube.position.y << " " << cube.position.z;
        }
    }
}
