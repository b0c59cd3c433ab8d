#include "SoundFixtures.h"

#include "media/ofLibraries.h"
#include "media/ofSoundPlayer.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace soundtest {

namespace {

// The engine is closed at the end of the run, as the game's exit path does.
class CloseSoundEngine : public ::testing::Environment {
    void TearDown() override { ofSoundShutdown(); }
};
const ::testing::Environment* closeSoundEngine = ::testing::AddGlobalTestEnvironment(new CloseSoundEngine);

} // namespace

bool writeWav(const std::filesystem::path& file, const std::vector<int16_t>& samples, int channels, int rate)
{
    std::filesystem::create_directories(file.parent_path());
    SF_INFO info = {};
    info.channels = channels;
    info.samplerate = rate;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* out = sf_open(file.c_str(), SFM_WRITE, &info);
    if (out == nullptr) {
        return false;
    }
    sf_count_t frames = static_cast<sf_count_t>(samples.size()) / channels;
    bool ok = sf_writef_short(out, samples.data(), frames) == frames;
    sf_close(out);
    return ok;
}

std::vector<int16_t> ramp(int frames)
{
    std::vector<int16_t> samples(static_cast<size_t>(frames));
    for (int i = 0; i < frames; ++i) {
        samples[static_cast<size_t>(i)] = static_cast<int16_t>((i + 1) * RAMP_STEP);
    }
    return samples;
}

std::vector<int16_t> sine(double hz, double seconds, double peak, int rate)
{
    std::vector<int16_t> samples(static_cast<size_t>(seconds * rate));
    for (size_t i = 0; i < samples.size(); ++i) {
        samples[i] = static_cast<int16_t>(std::lround(32767.0 * peak * std::sin(2.0 * std::numbers::pi * hz * static_cast<double>(i) / rate)));
    }
    return samples;
}

std::vector<float> left(const std::vector<float>& stereo)
{
    std::vector<float> mono(stereo.size() / 2);
    for (size_t i = 0; i < mono.size(); ++i) {
        mono[i] = stereo[2 * i];
    }
    return mono;
}

std::vector<float> right(const std::vector<float>& stereo)
{
    std::vector<float> mono(stereo.size() / 2);
    for (size_t i = 0; i < mono.size(); ++i) {
        mono[i] = stereo[2 * i + 1];
    }
    return mono;
}

size_t onset(const std::vector<float>& x, float threshold)
{
    auto it = std::find_if(x.begin(), x.end(), [&](float v) { return std::fabs(v) > threshold; });
    return static_cast<size_t>(it - x.begin());
}

float peak(const std::vector<float>& x, size_t from, size_t to)
{
    float best = 0.0f;
    for (size_t i = from; i < std::min(to, x.size()); ++i) {
        best = std::max(best, std::fabs(x[i]));
    }
    return best;
}

std::vector<int> rampPositions(const std::vector<float>& x, float gain)
{
    std::vector<int> positions(x.size());
    const double unit = gain * RAMP_STEP / 32768.0;
    for (size_t i = 0; i < x.size(); ++i) {
        positions[i] = static_cast<int>(std::lround(x[i] / unit)) - 1;
    }
    return positions;
}

double toneLevel(const std::vector<float>& x, double hz, size_t from, size_t count)
{
    const double w = 2.0 * std::numbers::pi * hz / RATE;
    const double coefficient = 2.0 * std::cos(w);
    double s1 = 0.0, s2 = 0.0;
    size_t end = std::min(x.size(), from + count);
    for (size_t i = from; i < end; ++i) {
        double s0 = x[i] + coefficient * s1 - s2;
        s2 = s1;
        s1 = s0;
    }
    double power = s1 * s1 + s2 * s2 - coefficient * s1 * s2;
    return end > from ? 2.0 * std::sqrt(std::max(power, 0.0)) / static_cast<double>(end - from) : 0.0;
}

void SoundTest::SetUp()
{
    cwd = std::make_unique<testsupport::WorkingDir>(scratch.path());
    // Starts the engine when needed, and quiets whatever an earlier test left playing.
    ofSoundStopAll();
    ofSoundSetVolume(1.0f);
    SoundEngine& engine = ofSoundGetEngine();
    ASSERT_TRUE(engine.isOpen());
    ASSERT_TRUE(engine.isLoopback())
        << "the sound tests read the loopback mix: run them where no output device opens "
           "(scripts/test.sh sets ALSOFT_DRIVERS=none)";
    centreGain();
    engine.loopbackDevice().setClock(clock);
    engine.loopbackDevice().startCapture();
}

void SoundTest::TearDown()
{
    ofSoundStopAll();
    ofSoundGetEngine().loopbackDevice().takeCapture();
    ofSoundGetEngine().loopbackDevice().setClock(true);
    cwd.reset();
}

void SoundTest::writeData(const std::string& name, const std::vector<int16_t>& samples, int channels, int rate)
{
    ASSERT_TRUE(writeWav(scratch.path() / "data" / name, samples, channels, rate)) << name;
}

std::vector<float> SoundTest::render(int frames)
{
    SoundEngine& engine = ofSoundGetEngine();
    engine.loopbackDevice().renderAhead(frames);
    return engine.loopbackDevice().takeCapture();
}

float SoundTest::centreGain()
{
    // Measured once: OpenAL Soft's panning puts a centred mono source a few dB down on each side.
    static float gain = [] {
        testsupport::ScratchDir dir;
        writeWav(dir.path() / "unit.wav", std::vector<int16_t>(441, 16384), 1, RATE);
        SoundEngine& engine = ofSoundGetEngine();
        SoundId id = engine.createSound((dir.path() / "unit.wav").string());
        engine.loopbackDevice().startCapture();
        SoundChannel channel = engine.playSound(id, false);
        engine.update();
        engine.loopbackDevice().renderAhead(1000);
        std::vector<float> mix = left(engine.loopbackDevice().takeCapture());
        engine.stop(channel);
        engine.releaseSound(id);
        return peak(mix) / 0.5f;
    }();
    return gain;
}

} // namespace soundtest
