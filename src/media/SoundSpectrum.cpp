#include "media/SoundSpectrum.h"

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

} // namespace

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
