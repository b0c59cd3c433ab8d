#include "StageFixtures.h"
#include "level/Level.h"
#include "support/TestSupport.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

using levelfixtures::Rgba;

namespace {

const Rgba GREY{128, 128, 128, 255};

std::vector<Vec3> asVector(const std::list<Vec3>& points)
{
    return {points.begin(), points.end()};
}

std::vector<Vec3> centres(const std::vector<Cube>& cubes)
{
    std::vector<Vec3> out;
    for (const Cube& cube : cubes) {
        out.push_back(cube.position);
    }
    return out;
}

int count(const std::string& text, const std::string& what)
{
    int n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
        ++n;
    }
    return n;
}

class LevelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(testsupport::ensureGlContext());
        dir = std::make_unique<levelfixtures::StageDir>();
        dir->texture("face3.png", 4, 4, 24, GREY);
        dir->texture("sky3.png", 4, 4, 24, GREY);
        level = std::make_unique<Level>();
    }

    void TearDown() override
    {
        level.reset();
        dir.reset();
    }

    // Loads `stage` and returns what was printed meanwhile.
    std::string load(int& stage, int& totalScore)
    {
        testsupport::StdoutCapture capture;
        level->load(stage, totalScore);
        return capture.finish();
    }

    std::string load(int stage)
    {
        int score = 0;
        return load(stage, score);
    }

    std::unique_ptr<levelfixtures::StageDir> dir;
    std::unique_ptr<Level> level;
};

} // namespace

TEST_F(LevelTest, ANewLevelIsEmptyAndOwnsTwoTextureNames)
{
    EXPECT_NE(level->faceTexture.name, 0u);
    EXPECT_NE(level->skyTexture.name, 0u);
    EXPECT_NE(level->faceTexture.name, level->skyTexture.name);
    EXPECT_EQ(level->collectibleAngle, 0);
    EXPECT_TRUE(level->cubes.empty());
    EXPECT_EQ(level->remainingDice(), 0);
    EXPECT_EQ(level->remainingCoins(), 0);
    EXPECT_EQ(level->diceTotal, 0);
    EXPECT_EQ(level->coinsTotal, 0);
    EXPECT_EQ(level->fallRadius, 0.0f);
    EXPECT_EQ(level->timeLimit, 0.0f);
    EXPECT_EQ(level->message, "");
    EXPECT_EQ(level->startPosition, Vec3(0, 0, 0));
    EXPECT_EQ(level->targetPosition, Vec3(0, 0, 0));
}

TEST_F(LevelTest, LoadsTheExampleStageWrittenEitherWay)
{
    for (const char* separator : {" ", "\n"}) {
        dir->stage(3, levelfixtures::exampleStage(separator));
        level->clear();
        int stage = 3;
        int score = 500;
        EXPECT_EQ(load(stage, score), "");
        EXPECT_EQ(stage, 3);
        EXPECT_EQ(score, 500);
        EXPECT_EQ(level->fallRadius, 24.0f);
        EXPECT_EQ(level->timeLimit, 120.0f);
        EXPECT_EQ(level->startPosition, Vec3(0, 0, 1.35f));
        EXPECT_EQ(level->targetPosition, Vec3(0, 4, 1.5f));
        EXPECT_EQ(asVector(level->dice), std::vector<Vec3>({Vec3(0, 2, 1.5f)}));
        EXPECT_EQ(level->remainingCoins(), 0);
        EXPECT_EQ(centres(level->cubes), std::vector<Vec3>({Vec3(0, 0, 0), Vec3(0, 2, 0), Vec3(0, 4, 0)}));
        EXPECT_EQ(level->message, "go to the finish ");
        EXPECT_EQ(level->diceTotal, 1);
        EXPECT_EQ(level->coinsTotal, 0);
        EXPECT_EQ(level->faceImage.getWidth(), 4.0f);
        EXPECT_EQ(level->skyImage.getHeight(), 4.0f);
    }
}

// The pictures reach OpenGL once, as the mipmapped stage textures; a texture of the picture's
// own would be a second copy of the (large) sky built at every load and never drawn.
TEST_F(LevelTest, StagePicturesAreUploadedOnlyAsTheMipmappedTextures)
{
    dir->texture("face3.png", 4, 4, 24, Rgba{200, 10, 10, 255});
    dir->texture("sky3.png", 4, 4, 24, Rgba{10, 10, 200, 255});
    dir->stage(1, levelfixtures::exampleStage(" "));
    for (int round = 0; round < 2; ++round) {
        level->clear();
        EXPECT_EQ(load(1), "");
        EXPECT_FALSE(level->faceImage.getTextureReference().bAllocated());
        EXPECT_FALSE(level->skyImage.getTextureReference().bAllocated());

        unsigned char face[3] = {};
        unsigned char sky[3] = {};
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glBindTexture(GL_TEXTURE_2D, level->faceTexture.name);
        glGetTexImage(GL_TEXTURE_2D, 2, GL_RGB, GL_UNSIGNED_BYTE, face);   // the 1 x 1 level
        glBindTexture(GL_TEXTURE_2D, level->skyTexture.name);
        glGetTexImage(GL_TEXTURE_2D, 2, GL_RGB, GL_UNSIGNED_BYTE, sky);
        EXPECT_EQ(std::vector<int>(face, face + 3), std::vector<int>({200, 10, 10}));
        EXPECT_EQ(std::vector<int>(sky, sky + 3), std::vector<int>({10, 10, 200}));
    }
}

TEST_F(LevelTest, AStageWithoutAFileFallsBackToStageOneWithScoreZero)
{
    dir->stage(1, levelfixtures::exampleStage(" "));
    int stage = 7;
    int score = 1234;
    EXPECT_EQ(load(stage, score), "");
    EXPECT_EQ(stage, 1);
    EXPECT_EQ(score, 0);
    EXPECT_EQ(level->cubes.size(), 3u);
    EXPECT_EQ(level->message, "go to the finish ");

    stage = -2;
    score = 9;
    level->clear();
    load(stage, score);
    EXPECT_EQ(stage, 1);
    EXPECT_EQ(score, 0);
}

TEST_F(LevelTest, AMissingStageOneGivesOneErrorLineAndAnEmptyStage)
{
    int stage = 4;
    int score = 77;
    const std::string output = load(stage, score);
    EXPECT_EQ(output, "OF_ERROR: Stage file: [data/levels/level1.txt] cannot be opened; the stage is empty\n");
    EXPECT_EQ(stage, 1);
    EXPECT_EQ(score, 0);
    EXPECT_TRUE(level->cubes.empty());
    EXPECT_EQ(level->remainingDice(), 0);
    EXPECT_EQ(level->diceTotal, 0);
    EXPECT_EQ(level->message, "");
}

TEST_F(LevelTest, NoDiceMeansNothingLeftToCollectFromTheStart)
{
    dir->stage(1, "face3.png sky3.png 20 60 0 0 1 2 0 1 0 1 4 0 1 1 0 0 0 go");
    load(1);
    EXPECT_EQ(level->remainingDice(), 0);
    EXPECT_EQ(level->diceTotal, 0);
    EXPECT_EQ(level->remainingCoins(), 1);
    EXPECT_EQ(level->coinsTotal, 1);
}

TEST_F(LevelTest, PickupsShrinkTheListsInOrderWhileTotalsStay)
{
    dir->stage(1, "face3.png sky3.png 20 60 0 0 1 2 0 1 "
                  "3 1 0 1 2 0 1 3 0 1 "
                  "3 -1 0 1 -2 0 1 -3 0 1 0");
    load(1);
    level->dice.erase(std::next(level->dice.begin()));
    EXPECT_EQ(level->remainingDice(), 2);
    EXPECT_EQ(level->diceTotal, 3);
    EXPECT_EQ(asVector(level->dice), std::vector<Vec3>({Vec3(1, 0, 1), Vec3(3, 0, 1)}));

    // Removing while walking yields the entry after the removed one.
    auto next = level->coins.erase(std::next(level->coins.begin()));
    EXPECT_EQ(*next, Vec3(-3, 0, 1));
    EXPECT_EQ(asVector(level->coins), std::vector<Vec3>({Vec3(-1, 0, 1), Vec3(-3, 0, 1)}));
    EXPECT_EQ(level->coinsTotal, 3);
}

TEST_F(LevelTest, ClearEmptiesTheListsAndKeepsTheRestUntilTheNextLoad)
{
    dir->stage(1, levelfixtures::exampleStage("\n"));
    load(1);
    level->clear();
    EXPECT_TRUE(level->cubes.empty());
    EXPECT_EQ(level->remainingDice(), 0);
    EXPECT_EQ(level->remainingCoins(), 0);
    EXPECT_EQ(level->diceTotal, 1);
    EXPECT_EQ(level->message, "go to the finish ");
    EXPECT_EQ(level->timeLimit, 120.0f);
    EXPECT_EQ(level->fallRadius, 24.0f);
    EXPECT_EQ(level->targetPosition, Vec3(0, 4, 1.5f));
}

TEST_F(LevelTest, ClearThenLoadGivesTheSameStageAgainWhileTheSpinRunsOn)
{
    dir->stage(2, "face3.png sky3.png 30 90 1 1 1 5 5 1 2 1 0 1 2 0 1 1 3 0 1 "
                  "4 0 0 0 2 0 0 4 0 0 6 0 0 one two three four five six");
    load(2);
    const std::vector<Vec3> firstCubes = centres(level->cubes);
    const std::vector<Vec3> firstDice = asVector(level->dice);
    const std::string firstMessage = level->message;
    level->dice.pop_front();
    level->cubes[1].faces[0].touched = true;
    for (int i = 0; i < 10; ++i) {
        level->update();
    }

    level->clear();
    load(2);
    EXPECT_EQ(centres(level->cubes), firstCubes);
    EXPECT_EQ(asVector(level->dice), firstDice);
    EXPECT_EQ(level->remainingCoins(), 1);
    EXPECT_EQ(level->diceTotal, 2);
    EXPECT_EQ(level->message, firstMessage);
    EXPECT_EQ(level->message, "one two three four five \nsix ");
    EXPECT_FALSE(level->cubes[1].faces[0].touched);
    EXPECT_EQ(level->collectibleAngle, 10);
}

TEST_F(LevelTest, TheSpinAdvancesADegreeAFrameAndWrapsAt360)
{
    for (int i = 0; i < 359; ++i) {
        level->update();
    }
    EXPECT_EQ(level->collectibleAngle, 359);
    level->update();
    EXPECT_EQ(level->collectibleAngle, 0);
    level->update();
    EXPECT_EQ(level->collectibleAngle, 1);
}

TEST_F(LevelTest, ATextureThatFailsIsReportedOnceAndTheStageStillLoads)
{
    dir->stage(1, "face3.png missing.png 20 60 0 0 1 2 0 1 1 2 2 1 0 1 0 0 0 hello");
    const std::string output = load(1);
    EXPECT_EQ(count(output, "OF_ERROR: Failed to load image\n"), 1) << output;
    EXPECT_EQ(count(output, "\n"), 1) << output;
    EXPECT_EQ(level->cubes.size(), 1u);
    EXPECT_EQ(level->message, "hello ");

    // A file that is not a picture at all behaves the same.
    dir->dataFile("levels/levelTextures/junk.png", std::string("\x89PNG\r\n\x1a\n garbage", 16));
    dir->stage(2, "junk.png sky3.png 20 60 0 0 1 2 0 1 0 0 0");
    level->clear();
    const std::string junk = load(2);
    EXPECT_EQ(junk, "OF_ERROR: Failed to load image\n");
}

TEST_F(LevelTest, AStageCutShortKeepsWhatWasReadAndSaysWhereItStopped)
{
    dir->stage(1, "face3.png sky3.png 30 90 1 1 1 5 5 1 1 7 7 7 0 1 0 0 0 old message");
    load(1);
    dir->stage(2, "face3.png sky3.png 40 45 2 2 2 3 two 2 1 1 1");
    level->clear();
    int stage = 2;
    int score = 10;
    const std::string output = load(stage, score);
    EXPECT_EQ(output, "OF_ERROR: Stage file: [data/levels/level2.txt] expected the finish position, "
                      "found \"two\"; stage cut short there\n");
    EXPECT_EQ(stage, 2);
    EXPECT_EQ(score, 10);
    EXPECT_EQ(level->fallRadius, 40.0f);
    EXPECT_EQ(level->timeLimit, 45.0f);
    EXPECT_EQ(level->startPosition, Vec3(2, 2, 2));
    EXPECT_EQ(level->targetPosition, Vec3(5, 5, 1));   // not reached: as before
    EXPECT_EQ(level->remainingDice(), 0);
    EXPECT_EQ(level->diceTotal, 0);
    EXPECT_TRUE(level->cubes.empty());
    EXPECT_EQ(level->message, "");
}

TEST_F(LevelTest, BadStageFilesEndInOneErrorLineEach)
{
    const std::string bad[] = {
        "",
        "face3.png",
        "face3.png sky3.png 20 60 0 0 1 2 0 1 2000000000 1 1 1",
        "face3.png sky3.png 20 60 0 0 1 2 0 1 0 0 99999999999 0 0 0",
        "face3.png sky3.png nan 60 0 0 1 2 0 1 0 0 0",
        "face3.png sky3.png 20 60 0 0 1e40 2 0 1 0 0 0",
        "face3.png sky3.png 20 60 0 0 1 2 0 1 0 0 3 0 0 0 0 2 0 x",
        std::string("face3.png sky3.png 20 60 \0\xff\xfe 1", 30),
    };
    for (const std::string& text : bad) {
        SCOPED_TRACE(text);
        dir->stage(1, text);
        level->clear();
        const std::string output = load(1);
        EXPECT_EQ(count(output, "\n"), 1) << output;
        EXPECT_EQ(count(output, "OF_ERROR: Stage file: [data/levels/level1.txt] expected "), 1) << output;
        EXPECT_EQ(level->diceTotal, level->remainingDice());
        EXPECT_EQ(level->message, "");
    }
}

TEST(LevelData, TheGamesOwnDataSetsUpWithoutAComplaint)
{
    ASSERT_TRUE(testsupport::ensureGlContext());
    testsupport::WorkingDir cwd(testsupport::sourceDir());
    Level level;
    int stage = 1;
    int score = 250;
    testsupport::StdoutCapture capture;
    level.setup(stage, score);
    const std::string output = capture.finish();
    EXPECT_EQ(output.find("ERROR"), std::string::npos) << output;
    EXPECT_EQ(output.find("WARNING"), std::string::npos) << output;
    EXPECT_EQ(stage, 1);
    EXPECT_EQ(score, 250);
    EXPECT_FALSE(level.cubes.empty());
    EXPECT_GT(level.diceTotal, 0);
    EXPECT_FALSE(level.message.empty());
    EXPECT_GT(level.faceImage.getWidth(), 0.0f);
    EXPECT_GT(level.skyImage.getWidth(), 0.0f);
}
