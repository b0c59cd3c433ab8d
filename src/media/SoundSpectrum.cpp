#include "media/SoundSpectrum.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>
#include <utility>
#include <vector>

namespace {

// In-place radix-2 FFT; data.size() is a power of two.
void fft(std::vector<std::complex<double>>& data)
{
    const size_t n = data.size();
    for (size_t i = 1, j = 0; i < n; ++i) {
        size_t bit = n >> 1;
        for (; j & bit; bit >>= 1) {
            j ^= bit;
        }
        j ^= bit;
        if (i < j) {
            std::swap(data[i], data[j]);
        }
    }
    for (size_t len = 2; len <= n; len <<= 1) {
        const double angle = -2.0 * std::numbers::pi / static_cast<double>(len);
        const std::complex<double> step(std::cos(angle), std::sin(angle));
        for (size_t start = 0; start < n; start += len) {
            std::complex<double> w(1.0, 0.0);
            for (size_t k = 0; k < len / 2; ++k) {
                std::complex<double> even = data[start + k];
                std::complex<double> odd = data[start + k + len / 2] * w;
                data[start + k] = even + odd;
                data[start + k + len / 2] = even - odd;
                w *= step;
            }
        }
    }
}

// Left-channel gain of a centred-to-hard-panned mono source (constant power).
float leftGain(ALuint source)
{
    ALfloat x = 0.0f, y = 0.0f, z = 0.0f;
    alGetSource3f(source, AL_POSITION, &x, &y, &z);
    float pan = std::clamp((x + 1.0f) * 0.5f, 0.0f, 1.0f);
    return std::cos(pan * 1.5707964f);
}

} // namespace

void mixSpectrumVoice(const DecodedSound& pcm, ALuint source, float masterVolume, int outputRate,
                      std::vector<float>& block)
{
    const size_t frames = pcm.frames();
    ALint offset = 0;
    ALint looping = AL_FALSE;
    ALfloat gain = 1.0f;
    ALfloat pitch = 1.0f;
    alGetSourcei(source, AL_SAMPLE_OFFSET, &offset);
    alGetSourcei(source, AL_LOOPING, &looping);
    alGetSourcef(source, AL_GAIN, &gain);
    alGetSourcef(source, AL_PITCH, &pitch);
    const float scale = gain * masterVolume * (pcm.channels == 2 ? 1.0f : leftGain(source)) / 32768.0f;
    const double step = static_cast<double>(pcm.sampleRate) * pitch / outputRate;
    double position = std::max(offset, 0);
    for (float& value : block) {
        auto index = static_cast<size_t>(position);
        if (index >= frames) {
            if (looping != AL_TRUE) {
                break;
            }
            position -= static_cast<double>(frames) * std::floor(position / static_cast<double>(frames));
            index = std::min(static_cast<size_t>(position), frames - 1);
        }
        value += pcm.samples[index * static_cast<size_t>(pcm.channels)] * scale;
        position += step;
    }
}

void soundMagnitudeSpectrum(const float* block, int count, float* out)
{
    const size_t n = static_cast<size_t>(count) * 2;
    std::vector<std::complex<double>> data(n);
    double windowSum = 0.0;
    for (size_t i = 0; i < n; ++i) {
        double w = 0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * static_cast<double>(i) / static_cast<double>(n));
        windowSum += w;
        data[i] = block[i] * w;
    }
    fft(data);
    // A sine of amplitude a gives a peak of a * windowSum / 2 at its bin.
    const double scale = 2.0 / windowSum;
    for (int k = 0; k < count; ++k) {
        out[k] = static_cast<float>(std::abs(data[static_cast<size_t>(k)]) * scale);
    }
}
