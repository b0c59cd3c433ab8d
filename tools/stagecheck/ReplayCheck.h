#pragma once
// Checks a replay file: plays the run it holds on the stage it names, as the game finds that
// stage (data/levels/level<N>.txt below the working folder), and tells whether it wins exactly
// as the file says.

#include <string>

struct ReplayCheckOptions {
    bool trace = false;   // print the ball after every step, floats in hex, for bit-exact comparison
};

// Seconds the file's finish-left may differ from what the replay's clock gives for the winning
// step: half a step, so a finish moved by one step is caught while a clock kept in floats for
// hours still agrees.
inline constexpr float REPLAY_CLOCK_TOLERANCE = 0.5f / 60.0f;

// Prints the report on standard output; true only for a run that wins as the file says.
bool checkReplay(const std::string& file, const ReplayCheckOptions& options);
