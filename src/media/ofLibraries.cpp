#include "media/ofLibraries.h"

// A program that links neither the sound player nor ofImage never starts their
// libraries, so there is nothing to shut down. The real definitions replace these.
__attribute__((weak)) void ofSoundShutdown() {}
__attribute__((weak)) void ofImageLibraryShutdown() {}
