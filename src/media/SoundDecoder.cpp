#include "media/SoundDecoder.h"

#include "media/ofUtils.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <sstream>
#include <system_error>

namespace {

constexpr sf_count_t READ_CHUNK_FRAMES = 4096;

// Closes the libsndfile handle on every way out of the decoder.
struct SndFileCloser {
    SNDFILE* file;
    ~SndFileCloser() { sf_close(file); }
};

// libsndfile reads a file whose sample data stops before its header says it should as if it
// were whole, and only notes the difference in its log ("data : 16000 (should be 8000)").
bool dataCutShort(SNDFILE* file)
{
    char log[4096] = {};
    sf_command(file, SFC_GET_LOG_INFO, log, sizeof log);
    std::istringstream lines(log);
    std::string line;
    while (std::getline(lines, line)) {
        // WAV keeps its samples in a "data" chunk, AIFF in "SSND".
        if ((line.rfind("data", 0) == 0 || line.rfind("SSND", 0) == 0) && line.find("should be") != std::string::npos) {
            return true;
        }
    }
    return false;
}

int16_t toPcm16(float v)
{
    // Not-a-number becomes silence; everything else is held to the 16-bit range.
    if (!(v == v)) {
        return 0;
    }
    return static_cast<int16_t>(std::clamp(std::lround(v * 32768.0f), -32768L, 32767L));
}

} // namespace

bool decodeSoundFile(const std::string& path, DecodedSound& out)
{
    // A missing file is reported by the caller; only files that exist but cannot be read get a line here.
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        return false;
    }

    SF_INFO info = {};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (file == nullptr) {
        ofLog(OF_LOG_WARNING, "sound: [%s] not a readable sound file (%s)", path.c_str(), sf_strerror(nullptr));
        return false;
    }
    SndFileCloser closer{file};

    if (info.channels < 1) {
        ofLog(OF_LOG_WARNING, "sound: [%s] bad channel count (got %d)", path.c_str(), info.channels);
        return false;
    }
    if (info.samplerate < 1 || info.samplerate > MAX_SOUND_SAMPLE_RATE) {
        ofLog(OF_LOG_WARNING, "sound: [%s] bad sample rate (got %d, limit %d)",
            path.c_str(), info.samplerate, MAX_SOUND_SAMPLE_RATE);
        return false;
    }
    const int fileChannels = info.channels;
    const int keptChannels = fileChannels <= 2 ? fileChannels : 1;
    DecodedSound decoded;
    decoded.channels = keptChannels;
    decoded.sampleRate = info.samplerate;

    // The frame count in the header is only a hint: read until the data ends, within the limit.
    const size_t maxFrames = MAX_SOUND_SAMPLES / static_cast<size_t>(keptChannels);
    if (info.frames > 0) {
        decoded.samples.reserve(std::min<size_t>(static_cast<size_t>(info.frames), maxFrames / 16) * keptChannels);
    }
    // Read as floats (libsndfile maps every format to -1..1), so integer and floating-point
    // files come out at the level they were written at.
    std::vector<float> chunk(static_cast<size_t>(READ_CHUNK_FRAMES) * fileChannels);
    size_t frames = 0;
    for (;;) {
        sf_count_t got = sf_readf_float(file, chunk.data(), READ_CHUNK_FRAMES);
        if (got <= 0) {
            break;
        }
        if (frames + static_cast<size_t>(got) > maxFrames) {
            ofLog(OF_LOG_WARNING, "sound: [%s] too long (more than %zu frames, limit %zu)",
                path.c_str(), maxFrames, maxFrames);
            return false;
        }
        if (fileChannels == keptChannels) {
            for (sf_count_t i = 0; i < got * fileChannels; ++i) {
                decoded.samples.push_back(toPcm16(chunk[static_cast<size_t>(i)]));
            }
        } else {
            // More than two channels: their average, as one mono channel.
            for (sf_count_t f = 0; f < got; ++f) {
                float sum = 0.0f;
                for (int c = 0; c < fileChannels; ++c) {
                    sum += chunk[static_cast<size_t>(f * fileChannels + c)];
                }
                decoded.samples.push_back(toPcm16(sum / static_cast<float>(fileChannels)));
            }
        }
        frames += static_cast<size_t>(got);
    }
    if (frames == 0) {
        ofLog(OF_LOG_WARNING, "sound: [%s] holds no samples", path.c_str());
        return false;
    }

    if (dataCutShort(file)) {
        ofLog(OF_LOG_WARNING, "sound: [%s] is cut short (its header promises more samples); playing the %zu frames it holds",
            path.c_str(), frames);
    }

    decoded.samples.shrink_to_fit();
    out = std::move(decoded);
    return true;
}
