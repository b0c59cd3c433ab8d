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

TEST_F(GameSoundsTest, VolumesMixQuieterStepByStepAndZeroIsSilent)
{
    GameSounds sounds;
    sounds.setEffectsVolume(5);   // before load: applied as the sounds load
    sounds.load();
    EXPECT_EQ(sounds.getEffectsVolume(), 5);
    sounds.playBonus();
    sounds.playBounce();
    std::vector<float> mix = left(render(RATE / 10));
    EXPECT_NEAR(level(mix, "bonus.wav"), 0.25 * full, 0.02 * full);
    EXPECT_NEAR(level(mix, "bounce.wav"), 0.5 * 0.25 * full, 0.02 * full);
    EXPECT_NEAR(level(mix, "techno.wav"), 0.15 * full, 0.01 * full);

    // Each step down is quieter, for the music that plays on and for the sample effect.
    double lastMusic = level(mix, "techno.wav");
    double lastSample = 2.0 * full;
    for (int volume : {9, 6, 3, 1}) {
        sounds.setMusicVolume(volume);
        sounds.setEffectsVolume(volume);
        render(RATE / 4);   // the previous sample ends
        sounds.playEffectSample();
        mix = left(render(RATE / 10));
        const double music = level(mix, "techno.wav");
        const double sample = level(mix, "bonus.wav");
        EXPECT_LT(music, 0.9 * lastMusic) << "music volume " << volume;
        EXPECT_LT(sample, 0.9 * lastSample) << "effects volume " << volume;
        EXPECT_GT(sample, 0.0) << "effects volume " << volume;
        lastMusic = music;
        lastSample = sample;
    }

    // An effect already playing follows the setting; 0 silences everything while
    // the music still counts as playing, and effects started later stay silent.
    sounds.setEffectsVolume(10);
    sounds.setMusicVolume(10);
    sounds.playLose();
    mix = left(render(RATE / 20));
    EXPECT_NEAR(level(mix, "lose.wav", RATE / 20), 0.5 * full, 0.03 * full);
    sounds.setEffectsVolume(0);
    sounds.setMusicVolume(0);
    render(RATE / 40);   // the mixer fades a change in over its next block, against clicks
    mix = left(render(RATE / 20));
    EXPECT_LT(peak(mix, mix.size() - RATE / 20), 1e-4f);
    EXPECT_TRUE(sounds.music.getIsPlaying());
    EXPECT_TRUE(sounds.loseSound.getIsPlaying());
    sounds.playKey();
    sounds.playEffectSample();
    mix = left(render(RATE / 10));
    EXPECT_LT(peak(mix, mix.size() - RATE / 10), 1e-4f);

    // Out of range: clamped.
    sounds.setEffectsVolume(25);
    EXPECT_EQ(sounds.getEffectsVolume(), 10);
    sounds.setMusicVolume(-3);
    EXPECT_EQ(sounds.getMusicVolume(), 0);
    sounds.playKey();
    mix = left(render(RATE / 10));
    EXPECT_NEAR(level(mix, "key.wav"), full, 0.02 * full);
}
