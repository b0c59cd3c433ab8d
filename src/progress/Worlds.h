#pragma once
// The names of the worlds, ten stages each, shipped as data/levels/worlds.txt:
//
//   tumbrix-worlds 1
//   world 1 First Moves
//
// "world", its number, then its name (the rest of the line). A world the file does not name
// is called "World N".

#include <map>
#include <string>

inline constexpr const char* WORLDS_FILE_PATH = "data/levels/worlds.txt";
inline constexpr const char* WORLDS_HEADER = "tumbrix-worlds 1";
inline constexpr int STAGES_PER_WORLD = 10;
inline constexpr int WORLD_NAME_MAX_BYTES = 32;
inline constexpr int WORLDS_MAX = 10000;

class Worlds {
public:
    // Reads the shipped file. A missing file, a wrong header or bad lines give one message in
    // all (naming the file and the first problem); the worlds it does not name well are
    // numbered. False when any problem was found.
    bool load(const std::string& path);
    // The same on the bytes of a file named `name` in the message.
    bool loadText(const std::string& text, const std::string& name);

    // The name of world `world` (from 1).
    std::string name(int world) const;
    int named() const { return static_cast<int>(names.size()); }

    // The world of `stage` (stages and worlds count from 1), and its first stage.
    static int worldOf(int stage) { return stage < 1 ? 1 : (stage - 1) / STAGES_PER_WORLD + 1; }
    static int firstStage(int world) { return (world - 1) * STAGES_PER_WORLD + 1; }
    // Worlds needed for `stageCount` stages; the last may hold fewer than ten.
    static int worldCount(int stageCount) { return stageCount < 1 ? 0 : (stageCount - 1) / STAGES_PER_WORLD + 1; }

private:
    std::map<int, std::string> names;
};
