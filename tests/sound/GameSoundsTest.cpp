#include "SoundFixtures.h"

#include "player/GameSounds.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

using namespace soundtest;

namespace {

// Each file a tone of its own, so the mix tells which sounds play.
const std::map<std::string, double> TONES = {
    {"techno.wav", 300.0}, {"bounce.wav", 500.0}, {"bonus.wav", 700.0},
    {"key.wav", 900.0}, {"win.wav", 1100.0}, {"lose.wav", 1300.0},
};

// The loopback clock runs, as in the game.
class GameSoundsTest : public SoundTest {
protected:
    GameSoundsTest() : SoundTest(true) {}
    void SetUp() override
    {
        SoundTest::SetUp();
        for (const auto& [file, hz] : TONES) {
            writeData(file, sine(hz, file == "techno.wav" ? 1.0 : 0.25, 0.8));
        }
        full = 0.8 * centreGain();
    }
    // Level of each tone in the last `frames` frames of a mix.
    static double level(const std::vector<float>& mix, const std::string& file, size_t frames = 4410)
    {
        return toneLevel(mix, TONES.at(file), mix.size() - frames, frames);
    }
    double full = 0.0;   // level of a tone at volume 1
};

} // namespace

TEST_F(GameSoundsTest, LoadStartsTheLoopingMusicAlone)
{
    GameSounds sounds;
    sounds.load();
    EXPECT_TRUE(sounds.music.getIsPlaying());
    EXPECT_TRUE(sounds.music.bLoop);
    EXPECT_FLOAT_EQ(sounds.music.volume, 0.15f);
    for (ofSoundPlayer* effect : {&sounds.bounceSound, &sounds.bonusSound, &sounds.keySound, &sounds.winSound, &sounds.loseSound}) {
        EXPECT_TRUE(effect->bLoadedOk);
        EXPECT_FALSE(effect->bLoop);
        EXPECT_FALSE(effect->getIsPlaying());
    }
    EXPECT_FLOAT_EQ(sounds.bounceSound.volume, 0.5f);
    EXPECT_FLOAT_EQ(sounds.bonusSound.volume, 1.0f);
    EXPECT_FLOAT_EQ(sounds.keySound.volume, 1.0f);
    EXPECT_FLOAT_EQ(sounds.winSound.volume, 0.5f);
    EXPECT_FLOAT_EQ(sounds.loseSound.volume, 0.5f);

    // Two and a half seconds of a one-second track: it loops.
    std::vector<float> mix = left(render(RATE * 5 / 2));
    EXPECT_NEAR(level(mix, "techno.wav"), 0.15 * full, 0.01 * full);
    EXPECT_LT(level(mix, "bounce.wav"), 0.01 * full);
    sounds.update();
    EXPECT_TRUE(sounds.music.getIsPlaying());
}

TEST_F(GameSoundsTest, EffectsOfTheSameFramePlayTogether)
{
    GameSounds sounds;
    sounds.load();
    sounds.playKey();
    sounds.playBonus();
    sounds.update();
    std::vector<float> mix = left(render(RATE / 10));
    EXPECT_NEAR(level(mix, "key.wav"), full, 0.02 * full);
    EXPECT_NEAR(level(mix, "bonus.wav"), full, 0.02 * full);
    EXPECT_NEAR(level(mix, "techno.wav"), 0.15 * full, 0.02 * full);
    EXPECT_LT(level(mix, "win.wav"), 0.01 * full);

    // Each of the other effects at its volume.
    sounds.playBounce();
    sounds.playWin();
    sounds.playLose();
    mix = left(render(RATE / 10));
    EXPECT_NEAR(level(mix, "bounce.wav"), 0.5 * full, 0.02 * full);
    EXPECT_NEAR(level(mix, "win.wav"), 0.5 * full, 0.02 * full);
    EXPECT_NEAR(level(mix, "lose.wav"), 0.5 * full, 0.02 * full);

    // Effects end by themselves.
    render(RATE / 2);
    EXPECT_FALSE(sounds.keySound.getIsPlaying());
    EXPECT_FALSE(sounds.loseSound.getIsPlaying());
}

TEST_F(GameSoundsTest, AnEffectAskedForAgainRestartsInsteadOfDoubling)
{
    GameSounds sounds;
    sounds.load();
    sounds.playLose();
    render(RATE / 10);
    sounds.playLose();
    std::vector<float> mix = left(render(RATE / 10));
    EXPECT_NEAR(level(mix, "lose.wav"), 0.5 * full, 0.02 * full) << "one lose sound, not two";
    // A tenth of a second into a quarter-second sound (plus what the clock added meanwhile);
    // the first play would be past 0.8 by now.
    float position = sounds.loseSound.getPosition();
    EXPECT_GE(position, 0.4f);
    EXPECT_LT(position, 0.7f) << "not restarted from the beginning";
}

TEST_F(GameSoundsTest, ToggleMusicStopsItAndRestartsItFromTheBeginning)
{
    GameSounds sounds;
    sounds.load();
    render(RATE / 2);
    float before = sounds.music.getPosition();
    EXPECT_GE(before, 0.5f);

    sounds.toggleMusic();
    EXPECT_FALSE(sounds.music.getIsPlaying());
    std::vector<float> mix = left(render(RATE / 10));
    EXPECT_LT(level(mix, "techno.wav"), 0.001);

    sounds.toggleMusic();
    EXPECT_TRUE(sounds.music.getIsPlaying());
    EXPECT_LT(sounds.music.getPosition(), before - 0.3f) << "not restarted from the beginning";
    mix = left(render(RATE / 10));
    EXPECT_NEAR(level(mix, "techno.wav"), 0.15 * full, 0.01 * full);
}

TEST_F(GameSoundsTest, AMissingSoundIsReportedAndTheOthersStillPlay)
{
    std::filesystem::remove(scratch.path() / "data/bonus.wav");
    GameSounds sounds;
    testsupport::StdoutCapture log;
    sounds.load();
    EXPECT_EQ(log.finish(), "OF_ERROR: ofSoundPlayer: Could not load sound file data/bonus.wav\n");
    EXPECT_FALSE(sounds.bonusSound.bLoadedOk);

    sounds.playBonus();
    sounds.playKey();
    sounds.update();
    std::vector<float> mix = left(render(RATE / 10));
    EXPECT_NEAR(level(mix, "key.wav"), full, 0.02 * full);
    EXPECT_LT(level(mix, "bonus.wav"), 0.01 * full);
    EXPECT_FALSE(sounds.bonusSound.getIsPlaying());
}
