// Starts the sound engine the way the game does and says which device it got, so that a
// test can see everything the start prints on a machine's own sound setup.
#include "media/SoundEngine.h"
#include "media/ofLibraries.h"
#include "media/ofSoundPlayer.h"

#include <cstdio>

int main()
{
    ofSoundSetVolume(1.0f);
    const SoundEngine& engine = ofSoundGetEngine();
    std::printf("open %d, loopback %d\n", engine.isOpen() ? 1 : 0, engine.isLoopback() ? 1 : 0);
    ofSoundShutdown();
    return 0;
}
