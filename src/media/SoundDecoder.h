#pragma once
// Whole-file decoding of sounds through libsndfile (WAV, AIFF, FLAC, Ogg and whatever else
// the installed libsndfile reads) into 16-bit PCM ready for the audio engine.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct DecodedSound {
    std::vector<int16_t> samples;   // interleaved, `channels` values per frame
    int channels = 0;               // 1 or 2; files with more channels are mixed down to mono
    int sampleRate = 0;             // frames per second

    size_t frames() const { return channels > 0 ? samples.size() / static_cast<size_t>(channels) : 0; }
};

// Upper bound of what one sound may hold, in samples (frames times channels): 256 MiB of
// PCM, about 25 minutes of stereo at 44.1 kHz.
constexpr size_t MAX_SOUND_SAMPLES = size_t(1) << 27;
constexpr int MAX_SOUND_SAMPLE_RATE = 768000;

// Decodes the file at `path` into `out`. Returns false and leaves `out` untouched when the
// file is missing, unreadable, empty or beyond the limits above; every failure except a
// missing file is reported in one line naming the file and the cause.
bool decodeSoundFile(const std::string& path, DecodedSound& out);
