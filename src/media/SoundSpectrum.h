#pragma once
// The spectrum of what the engine's channels are sounding: their mix rebuilt from the
// decoded samples, and its magnitude spectrum.

#include "media/SoundDecoder.h"

#include <AL/al.h>

#include <vector>

// Adds to `block` the left channel of the next block.size() output frames (at `outputRate`
// frames per second) that `source` sounds while playing `pcm`: from its current position,
// at its gain, pitch, pan and looping, times `masterVolume`.
void mixSpectrumVoice(const DecodedSound& pcm, ALuint source, float masterVolume, int outputRate,
                      std::vector<float>& block);

// Hann-windows the 2 x `count` samples in `block` and writes the magnitudes of the first
// `count` frequency bins (0 up to just below half the sample rate) to `out`, scaled so that a
// full-scale sine centred on a bin reads 1.0 there. `count` must be a power of two.
void soundMagnitudeSpectrum(const float* block, int count, float* out);
