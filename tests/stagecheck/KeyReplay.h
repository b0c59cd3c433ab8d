#pragma once
// Plays the keys a checker report gives on the game's own Level and Player, loaded the way
// the game loads a stage, handing each key to the ball when it is ready as the application
// does. An independent witness of what the checker claims.

#include <filesystem>
#include <string>

struct KeyPlay {
    bool understood = false;   // every key of the line was read
    bool won = false;
    int frames = 0;            // frames played, up to the one that reached the finish
    int coinsTaken = 0;
};

// `root` holds data/levels/level<stage>.txt; `keys` is a "keys:" line of the checker
// without its label, for example "Left, hold Up (3 steps), Enter".
KeyPlay playKeys(const std::filesystem::path& root, const std::string& keys, int stage = 1);

// The text after "keys: " on the route line number `route` (0 for the first) that has
// it, or "".
std::string keysOf(const std::string& checkerOutput, int route = 0);
// The number before " frames = " on the route line number `route` that has it, or -1.
int framesOf(const std::string& checkerOutput, int route = 0);
