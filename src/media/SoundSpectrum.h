#pragma once
// Magnitude spectrum of a block of mixed samples.

// Hann-windows the 2 x `count` samples in `block` and writes the magnitudes of the first
// `count` frequency bins (0 up to just below half the sample rate) to `out`, scaled so that a
// full-scale sine centred on a bin reads 1.0 there. `count` must be a power of two.
void soundMagnitudeSpectrum(const float* block, int count, float* out);
