// Feeds arbitrary bytes to the sound decoder as a file. Besides the sanitizers it checks what
// the audio engine relies on: a decoded sound has one or two channels, a usable rate, whole
// frames, and stays within the size limit.
#include "media/SoundDecoder.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

void require(bool condition)
{
    if (!condition) {
        __builtin_trap();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // An in-memory file, opened by name like any file in the data folder.
    int fd = memfd_create("sound", 0);
    if (fd < 0) {
        return 0;
    }
    size_t written = 0;
    while (written < size) {
        ssize_t n = write(fd, data + written, size - written);
        if (n <= 0) {
            close(fd);
            return 0;
        }
        written += static_cast<size_t>(n);
    }

    DecodedSound sound;
    if (decodeSoundFile("/proc/self/fd/" + std::to_string(fd), sound)) {
        require(sound.channels == 1 || sound.channels == 2);
        require(sound.sampleRate >= 1 && sound.sampleRate <= MAX_SOUND_SAMPLE_RATE);
        require(sound.frames() > 0);
        require(sound.samples.size() % static_cast<size_t>(sound.channels) == 0);
        require(sound.samples.size() <= MAX_SOUND_SAMPLES);
    }
    close(fd);
    return 0;
}
