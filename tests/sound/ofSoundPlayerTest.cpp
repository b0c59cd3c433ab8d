#include "SoundFixtures.h"

#include "media/ofLibraries.h"
#include "media/ofSoundPlayer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <limits>

using namespace soundtest;

namespace {

// Checks that positions[from, from + count) run first, first + 1, ... and says where they do not.
::testing::AssertionResult runs(const std::vector<int>& positions, size_t from, size_t count, int first)
{
    if (from + count > positions.size()) {
        return ::testing::AssertionFailure() << "only " << positions.size() << " samples, wanted " << from + count;
    }
    for (size_t i = 0; i < count; ++i) {
        int expected = first + static_cast<int>(i);
        if (positions[from + i] != expected) {
            return ::testing::AssertionFailure()
                << "sample " << from + i << " holds ramp position " << positions[from + i] << ", expected " << expected;
        }
    }
    return ::testing::AssertionSuccess();
}

std::vector<float> concat(std::vector<float> a, const std::vector<float>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class ofSoundPlayerTest : public SoundTest {
protected:
    void SetUp() override
    {
        SoundTest::SetUp();
        writeData("ramp.wav", ramp());
    }
};

} // namespace

TEST_F(ofSoundPlayerTest, SettersBeforeTheFirstPlayOnlyStoreThenPlayAppliesThem)
{
    ofSoundPlayer player;
    player.loadSound("ramp.wav");
    ASSERT_TRUE(player.bLoadedOk);
    EXPECT_EQ(player.length, unsigned(RAMP_FRAMES));

    player.setVolume(0.25f);
    player.setLoop(true);
    EXPECT_FLOAT_EQ(player.volume, 0.25f);
    EXPECT_TRUE(player.bLoop);
    EXPECT_FALSE(player.getIsPlaying());
    EXPECT_EQ(peak(left(render(2 * RAMP_FRAMES))), 0.0f) << "a setter started the sound";

    // Quarter volume, and still sounding after three lengths of the sound.
    player.play();
    std::vector<float> mix = left(render(3 * RAMP_FRAMES + 100));
    size_t start = onset(mix);
    std::vector<int> positions = rampPositions(mix, 0.25f * centreGain());
    for (int loop = 0; loop < 3; ++loop) {
        EXPECT_TRUE(runs(positions, start + static_cast<size_t>(loop) * RAMP_FRAMES, RAMP_FRAMES, 0)) << "loop " << loop;
    }
    EXPECT_TRUE(player.getIsPlaying());
}

TEST_F(ofSoundPlayerTest, PlayingTwiceCutsTheFirstPlayAndStartsOver)
{
    ofSoundPlayer player;
    player.loadSound("ramp.wav");
    player.play();
    std::vector<float> first = render(1000);
    player.play();
    std::vector<float> mix = left(concat(first, render(2 * RAMP_FRAMES)));

    std::vector<int> positions = rampPositions(mix, centreGain());
    size_t start = onset(mix);
    size_t restart = start + 1;
    while (restart < positions.size() && positions[restart] != 0) {
        ++restart;
    }
    ASSERT_LT(restart, positions.size()) << "the second play never started";
    EXPECT_GE(restart - start, 1000u);
    EXPECT_TRUE(runs(positions, start, restart - start, 0));
    EXPECT_TRUE(runs(positions, restart, RAMP_FRAMES, 0)) << "the plays overlap or the second did not start at the beginning";
    EXPECT_EQ(peak(mix, restart + RAMP_FRAMES), 0.0f) << "the first play went on";
}

TEST_F(ofSoundPlayerTest, MultiPlaySoundsTogether)
{
    ofSoundPlayer player;
    player.loadSound("ramp.wav");
    player.setMultiPlay(true);
    player.play();
    std::vector<float> first = render(1000);
    player.play();
    std::vector<float> mix = left(concat(first, render(2 * RAMP_FRAMES)));

    const double unit = centreGain() * RAMP_STEP / 32768.0;
    size_t start = onset(mix);
    std::vector<int> positions = rampPositions(mix, centreGain());
    size_t second = start;
    while (second < positions.size() && positions[second] == static_cast<int>(second - start)) {
        ++second;
    }
    ASSERT_GE(second - start, 1000u);
    ASSERT_LT(second, start + RAMP_FRAMES);
    // Both plays sum while they overlap, then the second goes on alone to its end.
    for (size_t i = second; i < start + RAMP_FRAMES; i += 97) {
        double expected = static_cast<double>((i - start + 1) + (i - second + 1));
        EXPECT_NEAR(mix[i] / unit, expected, 0.5) << "sample " << i;
    }
    EXPECT_TRUE(runs(positions, start + RAMP_FRAMES, second - start, RAMP_FRAMES - static_cast<int>(second - start)));
    EXPECT_EQ(peak(mix, second + RAMP_FRAMES), 0.0f);
}

TEST_F(ofSoundPlayerTest, StopSilencesALoopingSound)
{
    ofSoundPlayer player;
    player.loadSound("ramp.wav");
    player.setLoop(true);
    player.play();
    render(RAMP_FRAMES + 1000);
    ASSERT_TRUE(player.getIsPlaying());
    player.stop();
    EXPECT_FALSE(player.getIsPlaying());
    EXPECT_EQ(peak(left(render(2 * RAMP_FRAMES))), 0.0f);
    EXPECT_EQ(player.getPosition(), 0.0f);
}

TEST_F(ofSoundPlayerTest, VolumeScalesTheOutputBeforeAndDuringPlay)
{
    ofSoundPlayer player;
    player.loadSound("ramp.wav");
    player.setLoop(true);
    player.setVolume(0.5f);
    player.play();
    std::vector<float> half = left(render(RAMP_FRAMES * 2));
    const float full = centreGain() * RAMP_FRAMES * RAMP_STEP / 32768.0f;
    EXPECT_NEAR(peak(half), 0.5f * full, 0.005f * full);

    player.setVolume(0.1f);
    std::vector<float> tenth = left(render(RAMP_FRAMES * 3));
    EXPECT_NEAR(peak(tenth, tenth.size() - 2 * RAMP_FRAMES), 0.1f * full, 0.005f * full);
    EXPECT_FLOAT_EQ(player.volume, 0.1f);
}

TEST_F(ofSoundPlayerTest, MissingFileLogsOnceAndNeverPlays)
{
    ofSoundPlayer player;
    testsupport::StdoutCapture log;
    player.loadSound("nothing-here.wav");
    player.setVolume(1.0f);
    player.play();
    player.play();
    player.setPosition(0.5f);
    EXPECT_EQ(log.finish(), "OF_ERROR: ofSoundPlayer: Could not load sound file data/nothing-here.wav\n");
    EXPECT_FALSE(player.bLoadedOk);
    EXPECT_NE(player.result, 0);
    EXPECT_FALSE(player.getIsPlaying());
    EXPECT_EQ(player.getPosition(), 0.0f);
    EXPECT_EQ(peak(left(render(RAMP_FRAMES))), 0.0f);
}

TEST_F(ofSoundPlayerTest, PositionIsZeroUnlessPlayingAndFollowsThePlay)
{
    ofSoundPlayer unloaded;
    EXPECT_EQ(unloaded.getPosition(), 0.0f);

    ofSoundPlayer player;
    player.loadSound("ramp.wav");
    EXPECT_EQ(player.getPosition(), 0.0f);
    player.play();
    render(RAMP_FRAMES / 2);
    EXPECT_NEAR(player.getPosition(), 0.5f, 0.02f);

    // Jumps within the playing sound; positions outside it change nothing.
    player.setPosition(0.25f);
    EXPECT_NEAR(player.getPosition(), 0.25f, 0.001f);
    for (float outside : {-0.5f, 1.0f, 7.0f, std::numeric_limits<float>::quiet_NaN()}) {
        player.setPosition(outside);
        EXPECT_NEAR(player.getPosition(), 0.25f, 0.001f) << outside;
    }
    std::vector<float> mix = left(render(100));
    std::vector<int> positions = rampPositions(mix, centreGain());
    EXPECT_NEAR(positions[mix.size() - 100], RAMP_FRAMES / 4, 2);

    render(RAMP_FRAMES);
    EXPECT_FALSE(player.getIsPlaying());
    EXPECT_EQ(player.getPosition(), 0.0f);
}

TEST_F(ofSoundPlayerTest, PausingHoldsThePlaceAndResumesThere)
{
    ofSoundPlayer player;
    player.loadSound("ramp.wav");
    player.play();
    render(1000);
    player.setPaused(true);
    EXPECT_TRUE(player.bPaused);
    float held = player.getPosition();
    EXPECT_EQ(peak(left(render(RAMP_FRAMES))), 0.0f);
    EXPECT_TRUE(player.getIsPlaying()) << "a paused sound still counts as playing";
    EXPECT_EQ(player.getPosition(), held);

    player.setPaused(false);
    std::vector<float> mix = left(render(100));
    std::vector<int> positions = rampPositions(mix, centreGain());
    size_t start = onset(mix);
    ASSERT_LT(start, mix.size());
    EXPECT_NEAR(positions[start], static_cast<int>(held * RAMP_FRAMES), 2);
}

TEST_F(ofSoundPlayerTest, PausingASoundThatIsNotPlayingDoesNothing)
{
    ofSoundPlayer player;
    player.loadSound("ramp.wav");
    player.setPaused(true);
    EXPECT_FALSE(player.bPaused);
    player.play();
    EXPECT_GT(peak(left(render(200))), 0.0f);
}

TEST_F(ofSoundPlayerTest, SpeedAndTheFilesOwnRateSetThePlaybackFrequency)
{
    writeData("half-rate.wav", ramp(), 1, RATE / 2);
    ofSoundPlayer slow;
    slow.loadSound("half-rate.wav");
    slow.play();
    EXPECT_FLOAT_EQ(slow.internalFreq, RATE / 2.0f);
    std::vector<float> mix = left(render(3 * RAMP_FRAMES));
    size_t start = onset(mix);
    size_t end = mix.size();
    while (end > start && mix[end - 1] == 0.0f) {
        --end;
    }
    EXPECT_NEAR(static_cast<double>(end - start), 2.0 * RAMP_FRAMES, 8.0) << "a 22050 Hz sound lasts twice as many output frames";

    ofSoundPlayer fast;
    fast.loadSound("ramp.wav");
    fast.setSpeed(2.0f);
    EXPECT_FLOAT_EQ(fast.getSpeed(), 2.0f);
    fast.play();
    mix = left(render(2 * RAMP_FRAMES));
    std::vector<int> positions = rampPositions(mix, centreGain());
    start = onset(mix);
    EXPECT_NEAR(positions[start + 100] - positions[start], 200, 2) << "double speed steps two samples a frame";
}

TEST_F(ofSoundPlayerTest, StereoSoundsKeepTheirChannelsAndPanMovesMonoSounds)
{
    std::vector<int16_t> leftOnly;
    for (int16_t v : ramp()) {
        leftOnly.push_back(v);
        leftOnly.push_back(0);
    }
    writeData("stereo.wav", leftOnly, 2);
    ofSoundPlayer stereo;
    stereo.loadSound("stereo.wav");
    stereo.play();
    std::vector<float> mix = render(2 * RAMP_FRAMES);
    EXPECT_TRUE(runs(rampPositions(left(mix), 1.0f), onset(left(mix)), RAMP_FRAMES, 0));
    EXPECT_EQ(peak(right(mix)), 0.0f);

    ofSoundPlayer mono;
    mono.loadSound("ramp.wav");
    mono.setPan(0.0f);
    mono.play();
    mix = render(RAMP_FRAMES);
    EXPECT_GT(peak(left(mix)), 4.0f * peak(right(mix))) << "pan 0 is left";
    mono.setPan(1.0f);
    mono.play();
    mix = render(RAMP_FRAMES);
    EXPECT_GT(peak(right(mix)), 4.0f * peak(left(mix))) << "pan 1 is right";
    EXPECT_FLOAT_EQ(mono.getPan(), 1.0f);
}

TEST_F(ofSoundPlayerTest, MasterVolumeAndStopAllActOnEveryPlayer)
{
    writeData("tone.wav", sine(1000.0, 1.0, 0.5));
    ofSoundPlayer a, b;
    a.loadSound("ramp.wav");
    b.loadSound("tone.wav");
    a.setLoop(true);
    b.setLoop(true);
    ofSoundSetVolume(0.5f);
    a.play();
    b.play();
    std::vector<float> mix = left(render(RATE / 2));
    EXPECT_NEAR(toneLevel(mix, 1000.0, mix.size() - 8820, 8820), 0.25 * centreGain(), 0.01);

    ofSoundStopAll();
    EXPECT_FALSE(a.getIsPlaying());
    EXPECT_FALSE(b.getIsPlaying());
    EXPECT_EQ(peak(left(render(RAMP_FRAMES))), 0.0f);
}

TEST_F(ofSoundPlayerTest, PlayOnAPlayerWithNothingLoadedIsHarmless)
{
    ofSoundPlayer never;
    never.setVolume(0.3f);
    never.play();
    never.stop();
    never.setPaused(false);
    EXPECT_FALSE(never.getIsPlaying());
    EXPECT_EQ(peak(left(render(500))), 0.0f);
}

TEST_F(ofSoundPlayerTest, BadFilesAreReportedAndLeaveThePlayerUnloaded)
{
    scratch.write("data/junk.wav", "RIFF\x10\0\0\0WAVEjunk that is no sound at all");
    writeData("empty.wav", {});

    ofSoundPlayer player;
    player.loadSound("ramp.wav");
    ASSERT_TRUE(player.bLoadedOk);
    SoundId previous = player.sound;

    for (const char* name : {"junk.wav", "empty.wav"}) {
        testsupport::StdoutCapture log;
        player.loadSound(name);
        std::string out = log.finish();
        EXPECT_NE(out.find(std::string("sound: [data/") + name + "]"), std::string::npos) << out;
        EXPECT_NE(out.find(std::string("OF_ERROR: ofSoundPlayer: Could not load sound file data/") + name), std::string::npos) << out;
        EXPECT_FALSE(player.bLoadedOk);
    }
    unsigned int frames = 0;
    EXPECT_FALSE(ofSoundGetEngine().getSoundLength(previous, frames)) << "the earlier sound was not released";
    player.play();
    EXPECT_EQ(peak(left(render(RAMP_FRAMES))), 0.0f);
}

TEST_F(ofSoundPlayerTest, ATruncatedFilePlaysWhatItHolds)
{
    writeData("full.wav", ramp());
    std::string bytes;
    {
        std::ifstream in(scratch.path() / "data/full.wav", std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), {});
    }
    ASSERT_GT(bytes.size(), size_t(RAMP_FRAMES));
    scratch.write("data/cut.wav", bytes.substr(0, bytes.size() - RAMP_FRAMES));   // half the samples

    ofSoundPlayer player;
    {
        testsupport::StdoutCapture log;
        player.loadSound("full.wav");
        EXPECT_EQ(log.finish().find("cut short"), std::string::npos);
    }
    testsupport::StdoutCapture log;
    player.loadSound("cut.wav");
    std::string out = log.finish();
    EXPECT_NE(out.find("sound: [data/cut.wav] is cut short (its header promises more samples); playing the "
                  + std::to_string(RAMP_FRAMES / 2) + " frames it holds"),
        std::string::npos) << out;
    ASSERT_TRUE(player.bLoadedOk);
    EXPECT_EQ(player.length, unsigned(RAMP_FRAMES / 2));
    player.play();
    std::vector<float> mix = left(render(RAMP_FRAMES));
    size_t start = onset(mix);
    EXPECT_TRUE(runs(rampPositions(mix, centreGain()), start, RAMP_FRAMES / 2, 0));
    EXPECT_EQ(peak(mix, start + RAMP_FRAMES / 2), 0.0f);
}

TEST_F(ofSoundPlayerTest, SpectrumOfASinePeaksInItsBand)
{
    // 6890.625 Hz is bin 20 of 64 (and bin 2560 of 8192) at 44.1 kHz.
    writeData("sine.wav", sine(6890.625, 1.0, 0.9));
    ofSoundPlayer player;
    player.loadSound("sine.wav");
    player.setLoop(true);
    player.play();

    auto argmax = [](const float* v, int n) { return static_cast<int>(std::max_element(v, v + n) - v); };
    const float* values = ofSoundGetSpectrum(64);
    EXPECT_EQ(argmax(values, 64), 20);
    for (int i = 0; i < 64; ++i) {
        if (std::abs(i - 20) > 2) {
            EXPECT_LT(values[i], 0.05f * values[20]) << "bin " << i;
        }
    }

    const float* eight = ofSoundGetSpectrum(8);
    EXPECT_EQ(argmax(eight, 8), 2);
    EXPECT_GT(eight[2], 0.5f);
    for (int i = 0; i < 8; ++i) {
        EXPECT_LE(eight[i], 1.0f);
        EXPECT_GE(eight[i], 0.0f);
    }

    // 100 bands from 128 values: 1.28 values a band, bin 40 falls in band 31. Quieter, so
    // that no band is held at the limit of 1.
    player.setVolume(0.12f);
    testsupport::StdoutCapture log;
    const float* hundred = ofSoundGetSpectrum(100);
    std::string out = log.finish();
    EXPECT_EQ(argmax(hundred, 100), 31);
    EXPECT_LT(hundred[31], 1.0f);
    EXPECT_EQ(out, "") << "uneven bands split their values without running past the last band";

    player.stop();
    values = ofSoundGetSpectrum(64);
    EXPECT_EQ(*std::max_element(values, values + 64), 0.0f) << "silence has no spectrum";
}

TEST_F(ofSoundPlayerTest, SpectrumBandLimits)
{
    writeData("sine.wav", sine(6890.625, 1.0, 0.9));
    ofSoundPlayer player;
    player.loadSound("sine.wav");
    player.setLoop(true);
    player.play();

    testsupport::StdoutCapture log;
    const float* none = ofSoundGetSpectrum(0);
    EXPECT_EQ(log.finish(), "OF_ERROR: error in ofSoundSpectrum, you've asked for 0 bands, minimum is 1\n");
    EXPECT_EQ(*std::max_element(none, none + 8192), 0.0f);

    testsupport::StdoutCapture log2;
    const float* many = ofSoundGetSpectrum(10000);
    EXPECT_EQ(log2.finish(), "OF_ERROR: error in ofSoundGetSpectrum, the maximum number of bands is 8192 - you asked for 10000 we will return 8192\n");
    EXPECT_EQ(std::max_element(many, many + 8192) - many, 2560);
}

TEST(ofSoundUpdate, DoesNothingBeforeTheEngineStarts)
{
    ofSoundShutdown();
    testsupport::StdoutCapture log;
    ofSoundUpdate();
    EXPECT_FALSE(ofSoundGetEngine().isOpen());
    EXPECT_EQ(log.finish(), "");
}

TEST(ofSoundShutdown, PlayersOutlivingTheEngineAreHarmlessAndItStartsAgain)
{
    testsupport::ScratchDir dir;
    testsupport::WorkingDir cwd(dir.path());
    ASSERT_TRUE(writeWav(dir.path() / "data/ramp.wav", ramp(), 1, RATE));

    auto player = std::make_unique<ofSoundPlayer>();
    player->loadSound("ramp.wav");
    player->setLoop(true);
    player->play();
    ASSERT_TRUE(player->getIsPlaying());

    // The exit path closes the engine before the application and its players are deleted.
    ofSoundShutdown();
    EXPECT_FALSE(ofSoundGetEngine().isOpen());
    EXPECT_FALSE(player->getIsPlaying());
    player->play();
    player->setVolume(0.5f);
    EXPECT_FALSE(ofSoundGetEngine().isOpen()) << "play is no load or mix call: it does not start the engine";
    player.reset();

    ofSoundPlayer again;
    again.loadSound("ramp.wav");
    ASSERT_TRUE(again.bLoadedOk);
    ofSoundGetEngine().loopbackDevice().startCapture();
    again.play();
    ofSoundGetEngine().loopbackDevice().renderAhead(RAMP_FRAMES);
    EXPECT_GT(peak(left(ofSoundGetEngine().loopbackDevice().takeCapture())), 0.0f);
    again.stop();
}
