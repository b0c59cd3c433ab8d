#include "media/SoundOutputDevice.h"

#include <cstdlib>
#include <dlfcn.h>

namespace {

// ALSA's error handler and the call that installs one, declared here so that the game needs
// no ALSA headers; ALSA comes in with OpenAL Soft, and without it there is nothing to quiet.
using AlsaErrorHandler = void (*)(const char* file, int line, const char* function, int error, const char* format, ...);
using SetAlsaErrorHandler = int (*)(AlsaErrorHandler handler);

void ignoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

// OpenAL Soft reads its log level at its first call; a level the user chose stands. Set
// before main, while the program has one thread: by the time the device opens, the GL
// driver's threads run, and changing the environment under them is not safe.
const bool quietOpenAlLog = setenv("ALSOFT_LOGLEVEL", "0", 0) == 0;

} // namespace

ALCdevice* openDefaultOutputDevice()
{
    (void)quietOpenAlLog;
    auto setHandler = reinterpret_cast<SetAlsaErrorHandler>(dlsym(RTLD_DEFAULT, "snd_lib_error_set_handler"));
    if (setHandler != nullptr) {
        setHandler(ignoreAlsaError);
    }
    ALCdevice* device = alcOpenDevice(nullptr);
    // ALSA's own handler again, for whatever else might use it.
    if (setHandler != nullptr) {
        setHandler(nullptr);
    }
    return device;
}
