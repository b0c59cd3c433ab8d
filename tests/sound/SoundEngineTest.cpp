#include "SoundFixtures.h"

#include "media/SoundDecoder.h"
#include "media/ofSoundPlayer.h"
#include "media/ofUtils.h"
#include "support/ChildProcess.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <sndfile.h>

using namespace soundtest;

namespace {

class SoundEngineTest : public SoundTest {
protected:
    void SetUp() override
    {
        SoundTest::SetUp();
        writeData("ramp.wav", ramp());
        id = engine().createSound("data/ramp.wav");
        ASSERT_NE(id, 0u);
    }
    void TearDown() override
    {
        engine().releaseSound(id);
        SoundTest::TearDown();
    }
    static SoundEngine& engine() { return ofSoundGetEngine(); }
    SoundId id = 0;
};

} // namespace

TEST_F(SoundEngineTest, EveryChannelBusyCutsTheOldestPlay)
{
    ASSERT_EQ(engine().channelCount(), SoundEngine::MAX_CHANNELS);
    std::vector<SoundChannel> plays;
    for (int i = 0; i < SoundEngine::MAX_CHANNELS; ++i) {
        plays.push_back(engine().playSound(id, false));
    }
    engine().update();
    for (const SoundChannel& c : plays) {
        EXPECT_TRUE(engine().isPlaying(c));
    }
    SoundChannel extra = engine().playSound(id, false);
    engine().update();
    EXPECT_TRUE(engine().isPlaying(extra));
    EXPECT_EQ(extra.slot, plays[0].slot);
    EXPECT_FALSE(engine().isPlaying(plays[0])) << "the oldest play goes on";
    EXPECT_TRUE(engine().isPlaying(plays[1]));
}

TEST_F(SoundEngineTest, AnEndedPlaysHandleNeverTouchesTheNextPlayOnItsChannel)
{
    SoundChannel old = engine().playSound(id, false);
    engine().update();
    render(RAMP_FRAMES + 100);
    EXPECT_FALSE(engine().isPlaying(old));

    SoundChannel next = engine().playSound(id, false);
    engine().update();
    ASSERT_EQ(next.slot, old.slot);
    engine().stop(old);
    engine().setVolume(old, 0.0f);
    engine().setPaused(old, true);
    EXPECT_TRUE(engine().isPlaying(next));
    std::vector<float> mix = left(render(RAMP_FRAMES / 2));
    EXPECT_NEAR(peak(mix, mix.size() - 100), centreGain() * (RAMP_FRAMES / 2) * RAMP_STEP / 32768.0f, 0.01f);
}

TEST_F(SoundEngineTest, ANewChannelSoundsFromTheNextUpdateWithItsSettings)
{
    SoundChannel channel = engine().playSound(id, false);
    EXPECT_TRUE(engine().isPlaying(channel));
    engine().setVolume(channel, 0.5f);
    EXPECT_EQ(peak(left(render(1000))), 0.0f) << "sounded before the update";
    engine().update();
    std::vector<float> mix = left(render(1000));
    size_t start = onset(mix);
    EXPECT_TRUE(rampPositions(mix, 0.5f * centreGain())[start] == 0) << "the first sample was not at half volume";
}

TEST_F(SoundEngineTest, TheLoopbackDeviceKeepsUpWithTheClockOnUpdate)
{
    engine().loopbackDevice().setClock(true);
    SoundChannel channel = engine().playSound(id, false);   // 0.1 s
    engine().update();
    ofSleepMillis(250);
    engine().update();
    EXPECT_FALSE(engine().isPlaying(channel)) << "the sound should have ended with the time that passed";
    std::vector<float> mix = left(engine().loopbackDevice().takeCapture());
    EXPECT_GE(mix.size(), size_t(RATE / 4)) << "a quarter second passed";
    size_t start = onset(mix);
    ASSERT_LT(start + RAMP_FRAMES, mix.size());
    EXPECT_EQ(rampPositions(mix, centreGain())[start + RAMP_FRAMES - 1], RAMP_FRAMES - 1);
    EXPECT_EQ(peak(mix, start + RAMP_FRAMES), 0.0f);
}

TEST_F(SoundEngineTest, ReleasingASoundStopsItsChannels)
{
    SoundChannel a = engine().playSound(id, false);
    SoundChannel b = engine().playSound(id, false);
    engine().update();
    engine().releaseSound(id);
    EXPECT_FALSE(engine().isPlaying(a));
    EXPECT_FALSE(engine().isPlaying(b));
    unsigned int frames = 0;
    EXPECT_FALSE(engine().getSoundLength(id, frames));
    EXPECT_EQ(engine().playSound(id, false).slot, -1);
    EXPECT_EQ(peak(left(render(RAMP_FRAMES))), 0.0f);
}

// The count is checked before anything is written: a negative one once filled memory
// without end, and one that is not a power of two sent the transform past its buffer.
TEST_F(SoundEngineTest, SpectrumCountsThatFitNoTransformWriteNothingOrZeros)
{
    engine().playSound(id, false);
    engine().update();
    render(100);
    std::vector<float> out(64, 7.0f);
    engine().getSpectrum(out.data(), -5);
    engine().getSpectrum(out.data(), 0);
    engine().getSpectrum(nullptr, 64);
    EXPECT_EQ(out, std::vector<float>(64, 7.0f));

    engine().getSpectrum(out.data(), 48);
    EXPECT_EQ(std::vector<float>(out.begin(), out.begin() + 48), std::vector<float>(48, 0.0f));
    EXPECT_EQ(out[48], 7.0f);

    engine().getSpectrum(out.data(), 64);
    EXPECT_GT(*std::max_element(out.begin(), out.end()), 0.0f) << "the ramp is playing";
}

// Started on the machine's own sound setup (the other tests offer OpenAL Soft no backend):
// without a sound card, as on the test machines, the player sees the game's one notice and
// none of ALSA's or OpenAL Soft's internal error lines; with one, nothing at all.
TEST(SoundEngineStart, OnlyTheGamesNoticeReachesTheConsole)
{
    testsupport::ScratchDir dir;
    testsupport::ChildProcess app(testsupport::binaryDir() / "sound_start_app", {}, dir.path(), {"ALSOFT_DRIVERS="});
    ASSERT_TRUE(app.started());
    ASSERT_EQ(app.wait(60000), 0) << app.output();
    const std::string out = app.output();
    if (out.find("loopback 1") != std::string::npos) {
        EXPECT_EQ(out, "OF_WARNING: sound: no output device could be opened, the game runs silent\n"
                       "open 1, loopback 1\n");
    } else {
        EXPECT_EQ(out, "open 1, loopback 0\n");
    }
}

TEST(decodeSoundFile, FloatFilesAreScaledAndManyChannelsMixedToMono)
{
    testsupport::ScratchDir dir;
    SF_INFO info = {};
    info.channels = 4;
    info.samplerate = 8000;
    info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
    std::string path = (dir.path() / "quad.wav").string();
    SNDFILE* out = sf_open(path.c_str(), SFM_WRITE, &info);
    ASSERT_NE(out, nullptr);
    const float frame[4] = {0.5f, 0.5f, -0.25f, 0.25f};   // averages to 0.25
    for (int i = 0; i < 100; ++i) {
        sf_writef_float(out, frame, 1);
    }
    sf_close(out);

    DecodedSound sound;
    ASSERT_TRUE(decodeSoundFile(path, sound));
    EXPECT_EQ(sound.channels, 1);
    EXPECT_EQ(sound.sampleRate, 8000);
    ASSERT_EQ(sound.frames(), 100u);
    EXPECT_NEAR(sound.samples[50], 0.25 * 32767, 2);
}

TEST(decodeSoundFile, AMissingFileFailsQuietlyAndLeavesTheOutputAlone)
{
    DecodedSound sound;
    sound.channels = 2;
    testsupport::StdoutCapture log;
    EXPECT_FALSE(decodeSoundFile("/nonexistent/folder/x.wav", sound));
    EXPECT_EQ(log.finish(), "");
    EXPECT_EQ(sound.channels, 2);
}
