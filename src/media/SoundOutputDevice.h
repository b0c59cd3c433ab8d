#pragma once
// Opening the default output device without the console noise of a machine that has none.

#include <AL/alc.h>

// alcOpenDevice(nullptr), with ALSA's internal error lines and OpenAL Soft's own error log
// kept off the console meanwhile: on a machine without a sound card they would come before
// the game's one notice that it runs silent. Null when no device opens.
ALCdevice* openDefaultOutputDevice();
