// Every stage as the game loads it: the Level with its models, stage file and textures.

#include "DataFiles.h"

#include "level/Level.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>

using namespace datafiles;

TEST(GameStage, EveryStageLoadsWithItsModelsAndTexturesWithoutAComplaint)
{
    ASSERT_TRUE(testsupport::ensureGlContext());
    testsupport::WorkingDir cwd(testsupport::sourceDir());
    Level level;
    int stage = 1;
    int totalScore = 500;
    std::string said;
    {
        testsupport::StdoutCapture out;
        level.setup(stage, totalScore);
        said = out.finish();
    }
    // The models announce themselves; nothing else may be said.
    EXPECT_EQ(said, "[3DS] Model 'data/die/die.3ds' loaded\n"
                    "[3DS] Model 'data/coin/coin.3ds' loaded\n"
                    "[3DS] Model 'data/target/target.3ds' loaded\n");
    EXPECT_EQ(stage, 1);
    EXPECT_EQ(totalScore, 500) << "stage 1 was found";

    for (size_t n = 1; n <= stageFiles().size(); ++n) {
        int number = static_cast<int>(n);
        level.clear();
        testsupport::StdoutCapture out;
        level.load(number, totalScore);
        EXPECT_EQ(out.finish(), "") << "stage " << n;
        EXPECT_EQ(number, static_cast<int>(n));
        EXPECT_FALSE(level.cubes.empty()) << "stage " << n;
        EXPECT_GT(level.diceTotal, 0) << "stage " << n;
        EXPECT_TRUE(level.faceImage.bpp == 24 || level.faceImage.bpp == 32) << "stage " << n;
        EXPECT_TRUE(level.skyImage.bpp == 24 || level.skyImage.bpp == 32) << "stage " << n;
    }
}
