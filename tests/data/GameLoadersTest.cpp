// The data as the game itself loads it: through its own players and loaders, which must
// take every file without a complaint.

#include "DataFiles.h"

#include "media/ofImage.h"
#include "media/ofLibraries.h"
#include "media/ofSoundPlayer.h"
#include "media/ofTrueTypeFont.h"
#include "player/GameSounds.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <string>
#include <vector>

using namespace datafiles;

namespace {

// Lines the loaders print about a file they could not take. (A machine without a sound
// card gets one notice that the game runs silent; that one is not about the data.)
void expectNoComplaint(const std::string& said, const std::string& what)
{
    for (const char* sign : {"OF_ERROR", "Could not", "sound: [", "Failed", "ERROR"}) {
        EXPECT_EQ(said.find(sign), std::string::npos) << what << " printed:\n" << said;
    }
}

sf_count_t framesIn(const std::string& name)
{
    SF_INFO info{};
    SNDFILE* file = sf_open((dataDir() / name).c_str(), SFM_READ, &info);
    if (file != nullptr) {
        sf_close(file);
    }
    return file != nullptr ? info.frames : -1;
}

// The engine is closed after the tests, as the game's exit path does.
class CloseSoundEngine : public ::testing::Environment {
    void TearDown() override { ofSoundShutdown(); }
};
const ::testing::Environment* closeSoundEngine = ::testing::AddGlobalTestEnvironment(new CloseSoundEngine);

} // namespace

TEST(GameLoaders, EverySoundLoadsWholeIntoTheSoundPlayer)
{
    testsupport::WorkingDir cwd(testsupport::sourceDir());
    for (const char* name : {"techno.wav", "bounce.wav", "bonus.wav", "key.wav", "win.wav", "lose.wav"}) {
        testsupport::StdoutCapture out;
        ofSoundPlayer player;
        player.loadSound(name);
        std::string said = out.finish();
        EXPECT_TRUE(player.bLoadedOk) << name;
        EXPECT_EQ(static_cast<sf_count_t>(player.length), framesIn(name)) << name;
        expectNoComplaint(said, name);
    }
}

TEST(GameLoaders, GameSoundsStartTheMusicFromTheData)
{
    testsupport::WorkingDir cwd(testsupport::sourceDir());
    testsupport::StdoutCapture out;
    GameSounds sounds;
    sounds.load();
    std::string said = out.finish();
    expectNoComplaint(said, "GameSounds::load");
    EXPECT_TRUE(sounds.music.getIsPlaying());
    for (ofSoundPlayer* player : {&sounds.music, &sounds.bounceSound, &sounds.bonusSound, &sounds.keySound, &sounds.winSound, &sounds.loseSound}) {
        EXPECT_TRUE(player->bLoadedOk);
    }
    // Thirty seconds of music at its own rate.
    EXPECT_GE(sounds.music.length / sounds.music.internalFreq, 30.0f);
}

TEST(GameLoaders, EveryPictureLoadsIntoAnImageAtTwentyFourOrThirtyTwoBits)
{
    ASSERT_TRUE(testsupport::ensureGlContext());
    testsupport::WorkingDir cwd(testsupport::sourceDir());
    std::vector<std::string> pictures = {"soccer.png", "die/die.png", "coin/coin.png", "target/target.png"};
    for (const std::string& stage : stageFiles()) {
        for (const std::string& texture : stageTextures(stage)) {
            pictures.push_back(texture);
        }
    }
    for (const std::string& name : pictures) {
        testsupport::StdoutCapture out;
        ofImage image;
        bool loaded = image.loadImage(name);
        std::string said = out.finish();
        Picture file;
        ASSERT_TRUE(loadPicture(dataDir() / name, file));
        EXPECT_TRUE(loaded) << name;
        EXPECT_TRUE(image.bpp == 24 || image.bpp == 32) << name << ": " << image.bpp;
        EXPECT_EQ(image.getWidth(), file.width) << name;
        EXPECT_EQ(image.getHeight(), file.height) << name;
        // The first pixel as the game hands it to OpenGL: red, green, blue from the top row.
        if (loaded) {
            EXPECT_EQ(image.getPixels()[0], file.at(0, 0)[0]) << name;
            EXPECT_EQ(image.getPixels()[2], file.at(0, 0)[2]) << name;
        }
        expectNoComplaint(said, name);
    }
}

TEST(GameLoaders, BothFontsLoadAtTheSizesTheScreensUse)
{
    ASSERT_TRUE(testsupport::ensureGlContext());
    testsupport::WorkingDir cwd(testsupport::sourceDir());
    const std::pair<const char*, int> fonts[] = {
        {"comic_reg.ttf", 38}, {"comic_reg.ttf", 24}, {"comic_italic.ttf", 14}, {"comic_reg.ttf", 10}};
    for (const auto& [name, size] : fonts) {
        testsupport::StdoutCapture out;
        ofTrueTypeFont font;
        font.loadFont(name, size);
        std::string said = out.finish();
        EXPECT_TRUE(font.bLoadedOk) << name << " " << size;
        expectNoComplaint(said, name);
        // Text of the menu has width: the glyphs are there, not blanks.
        EXPECT_GT(font.stringWidth("Continue (Stage 1)"), size * 4.0f) << name << " " << size;
    }
}
