#include "DataFiles.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <vector>

using namespace datafiles;

namespace {

// The volumes the game plays its sounds at.
const std::map<std::string, double> EFFECT_VOLUMES = {
    {"bounce.wav", 0.5}, {"bonus.wav", 1.0}, {"key.wav", 1.0}, {"win.wav", 0.5}, {"lose.wav", 0.5},
};
constexpr double MUSIC_VOLUME = 0.15;

struct Samples {
    int rate = 0;
    int channels = 0;
    int format = 0;
    std::vector<int> values;     // first channel, 16-bit values
};

Samples readWav(const std::string& name)
{
    Samples s;
    SF_INFO info{};
    SNDFILE* file = sf_open((dataDir() / name).c_str(), SFM_READ, &info);
    if (file == nullptr) {
        ADD_FAILURE() << name << ": " << sf_strerror(nullptr);
        return s;
    }
    s.rate = info.samplerate;
    s.channels = info.channels;
    s.format = info.format;
    std::vector<short> frames(static_cast<size_t>(info.frames) * info.channels);
    sf_count_t got = sf_readf_short(file, frames.data(), info.frames);
    sf_close(file);
    for (sf_count_t i = 0; i < got; ++i) {
        s.values.push_back(frames[static_cast<size_t>(i) * info.channels]);
    }
    return s;
}

// How loud a sound is: the RMS (0 to 1) of its loudest fifth of a second.
double loudness(const Samples& s)
{
    size_t window = std::min<size_t>(s.values.size(), s.rate / 5);
    double sum = 0.0, best = 0.0;
    for (size_t i = 0; i < s.values.size(); ++i) {
        double v = s.values[i] / 32767.0;
        sum += v * v;
        if (i >= window) {
            double old = s.values[i - window] / 32767.0;
            sum -= old * old;
        }
        if (i + 1 >= window) {
            best = std::max(best, sum / window);
        }
    }
    return std::sqrt(best);
}

int peak(const Samples& s)
{
    int p = 0;
    for (int v : s.values) {
        p = std::max(p, std::abs(v));
    }
    return p;
}

} // namespace

TEST(SoundFiles, AreSixteenBitPcmWaveFilesThatNeverClip)
{
    std::vector<std::string> names = {"techno.wav"};
    for (const auto& [name, volume] : EFFECT_VOLUMES) {
        names.push_back(name);
    }
    for (const std::string& name : names) {
        Samples s = readWav(name);
        EXPECT_EQ(s.format, SF_FORMAT_WAV | SF_FORMAT_PCM_16) << name;
        EXPECT_GE(s.rate, 22050) << name;
        EXPECT_GT(s.values.size(), static_cast<size_t>(s.rate) / 20) << name;
        EXPECT_LT(peak(s), 32767) << name << " reaches full scale";
        EXPECT_GT(peak(s), 3000) << name << " is nearly silent";
    }
}

TEST(SoundFiles, MusicLoopsForHalfAMinuteWithoutAClick)
{
    Samples music = readWav("techno.wav");
    ASSERT_GT(music.rate, 0);
    EXPECT_GE(music.values.size(), static_cast<size_t>(music.rate) * 30);
    // The step from the last sample back to the first is an ordinary one, no larger than
    // what one sample in a thousand steps by anyway.
    std::vector<int> steps;
    for (size_t i = 1; i < music.values.size(); ++i) {
        steps.push_back(std::abs(music.values[i] - music.values[i - 1]));
    }
    std::nth_element(steps.begin(), steps.begin() + steps.size() * 999 / 1000, steps.end());
    int usual = steps[steps.size() * 999 / 1000];
    EXPECT_LE(std::abs(music.values.back() - music.values.front()), usual);
}

TEST(SoundFiles, EffectsStartAndEndInSilence)
{
    // A sound cut off or started at a loud sample clicks.
    for (const auto& [name, volume] : EFFECT_VOLUMES) {
        Samples s = readWav(name);
        ASSERT_FALSE(s.values.empty()) << name;
        EXPECT_LE(std::abs(s.values.front()), 100) << name;
        EXPECT_LE(std::abs(s.values.back()), 100) << name;
    }
}

TEST(SoundFiles, EffectsBalanceAtTheGameVolumesAndTheMusicStaysBehindThem)
{
    std::map<std::string, double> heard;
    for (const auto& [name, volume] : EFFECT_VOLUMES) {
        heard[name] = loudness(readWav(name)) * volume;
    }
    auto [quietest, loudest] = std::minmax_element(heard.begin(), heard.end(),
                                                   [](auto& a, auto& b) { return a.second < b.second; });
    // Within 1.5 dB of each other.
    EXPECT_LT(20.0 * std::log10(loudest->second / quietest->second), 1.5)
        << loudest->first << " against " << quietest->first;
    double music = loudness(readWav("techno.wav")) * MUSIC_VOLUME;
    EXPECT_LT(music, quietest->second);
    EXPECT_GT(music, quietest->second / 4.0) << "the music should still be heard";
}
