// Plays the game's music and a die pickup through whatever output device OpenAL Soft opens,
// on a fixed timeline from the moment the music starts, for the sound server test:
//   0 s     music alone (GameSounds::load starts it, at the game's volume)
//   2 s     the die pickup sound over the music
//   3.5 s   everything stopped, then a second of silence
// Reads data/ below the working directory, as the game does; writes one line per step.
#include "media/ofLibraries.h"
#include "player/GameSounds.h"

#include <chrono>
#include <cstdio>
#include <thread>

namespace {

// Lets the engine run for `seconds`, updating it every 10 ms as a frame loop would.
void run(GameSounds& sounds, double seconds)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < end) {
        sounds.update();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

void step(const char* what)
{
    std::printf("%s\n", what);
    std::fflush(stdout);
}

} // namespace

int main()
{
    GameSounds sounds;
    sounds.load();
    step("music");
    run(sounds, 2.0);
    sounds.playKey();
    step("pickup");
    run(sounds, 1.5);
    ofSoundStopAll();
    step("quiet");
    run(sounds, 1.0);
    step("done");
    ofSoundShutdown();
    return 0;
}
