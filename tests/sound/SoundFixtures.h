#pragma once
// Fixture sounds written by the tests, and readings of what the loopback device mixed.

#include "media/SoundEngine.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace soundtest {

constexpr int RATE = SoundEngine::LOOPBACK_RATE;
constexpr int RAMP_FRAMES = 4410;   // 0.1 s
constexpr int RAMP_STEP = 7;        // sample i of the ramp is (i + 1) * RAMP_STEP

// Writes 16-bit PCM (interleaved) as a WAV file through libsndfile; false on failure.
bool writeWav(const std::filesystem::path& file, const std::vector<int16_t>& samples, int channels, int rate);
// A mono ramp whose every sample tells its own position (see RAMP_STEP).
std::vector<int16_t> ramp(int frames = RAMP_FRAMES);
// A mono sine of the given frequency and peak (0 to 1).
std::vector<int16_t> sine(double hz, double seconds, double peak, int rate = RATE);

// Left channel of an interleaved stereo capture.
std::vector<float> left(const std::vector<float>& stereo);
std::vector<float> right(const std::vector<float>& stereo);
// Index of the first sample whose magnitude is above `threshold`; size() when none.
size_t onset(const std::vector<float>& x, float threshold = 1e-6f);
float peak(const std::vector<float>& x, size_t from = 0, size_t to = SIZE_MAX);
// The ramp position each sample of a mix holds (-1 for silence), for a ramp played at `gain`.
std::vector<int> rampPositions(const std::vector<float>& x, float gain);
// Amplitude of the `hz` component of x[from, from + count) (Goertzel).
double toneLevel(const std::vector<float>& x, double hz, size_t from, size_t count);

// Every sound test runs in a scratch folder with its own data/ and starts from a quiet,
// full-volume mix whose loopback output is being captured. With `clock` false the loopback
// device renders only what the test asks for, so every frame lands where the test puts it.
class SoundTest : public ::testing::Test {
protected:
    explicit SoundTest(bool clock = false) : clock(clock) {}
    void SetUp() override;
    void TearDown() override;

    // Writes data/<name> (the name the players are given).
    void writeData(const std::string& name, const std::vector<int16_t>& samples, int channels = 1, int rate = RATE);
    // Renders `frames` more frames and returns everything captured since SetUp (or the last take).
    std::vector<float> render(int frames);
    // Gain that a centred mono sound at full volume gets on each output channel.
    static float centreGain();

    const bool clock;
    testsupport::ScratchDir scratch;
    std::unique_ptr<testsupport::WorkingDir> cwd;
};

} // namespace soundtest
