#include "BadFiles.h"

#include "support/TestSupport.h"

#include <cstdint>
#include <fstream>
#include <system_error>

namespace badfiles {

namespace fs = std::filesystem;

namespace {

// The files the game reads, below data/. The stage file names its two textures.
const char* const FILES[] = {
    "levels/level1.txt",
    "levels/levelTextures/face_blue_tiles.png",
    "levels/levelTextures/sky_dusk.png",
    "soccer.png",
    "die/die.3ds",
    "coin/coin.3ds",
    "target/target.3ds",
    "die/die.png",
    "coin/coin.png",
    "target/target.png",
    "techno.wav",
    "bounce.wav",
    "bonus.wav",
    "key.wav",
    "win.wav",
    "lose.wav",
    "comic_reg.ttf",
    "comic_italic.ttf",
    "DoNotReadMe.txt",
    "hs.txt",
};

bool endsWith(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// 4 KiB that no reader takes for its format; the same bytes every run.
std::string junk()
{
    std::string bytes(4096, '\0');
    uint32_t state = 0x2545F491u;
    for (char& c : bytes) {
        state = state * 1664525u + 1013904223u;
        c = static_cast<char>(state >> 24);
    }
    return bytes;
}

std::string readAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool writeAll(const fs::path& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    return static_cast<bool>(out);
}

} // namespace

const char* damageName(Damage damage)
{
    switch (damage) {
    case Damage::Missing:
        return "missing";
    case Damage::Empty:
        return "empty";
    case Damage::Truncated:
        return "truncated";
    case Damage::Junk:
        return "junk";
    }
    return "?";
}

std::string describe(const Case& c)
{
    return c.file + ", " + damageName(c.damage);
}

std::string testName(const Case& c)
{
    std::string name;
    for (char ch : c.file) {
        name += std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
    }
    return name + "_" + damageName(c.damage);
}

std::vector<Case> allCases()
{
    std::vector<Case> cases;
    for (const char* file : FILES) {
        for (Damage damage : {Damage::Missing, Damage::Empty, Damage::Truncated, Damage::Junk}) {
            cases.push_back({file, damage});
        }
    }
    return cases;
}

bool linkDataFolder(const fs::path& from, const fs::path& to)
{
    std::error_code ec;
    fs::create_directories(to, ec);
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(from, ec)) {
        const fs::path target = to / fs::relative(entry.path(), from);
        if (entry.is_directory()) {
            fs::create_directories(target, ec);
        } else {
            fs::create_symlink(fs::absolute(entry.path()), target, ec);
        }
        if (ec) {
            return false;
        }
    }
    return !ec;
}

namespace {

// The shipped data folder with a save and a table of an earlier run.
bool buildShippedFolder(const fs::path& data)
{
    return linkDataFolder(testsupport::sourceDir() / "data", data) && writeAll(data / "DoNotReadMe.txt", OLD_SAVE) &&
           writeAll(data / "hs.txt", OLD_TABLE);
}

// `original`'s bytes at `target`, damaged; `target` must not exist yet.
bool writeDamaged(const fs::path& target, const std::string& original, Damage damage)
{
    switch (damage) {
    case Damage::Missing:
        return !fs::exists(target);
    case Damage::Empty:
        return writeAll(target, "");
    case Damage::Truncated:
        return writeAll(target, original.substr(0, original.size() / 2));
    case Damage::Junk:
        return writeAll(target, junk());
    }
    return false;
}

} // namespace

bool buildDataFolder(const fs::path& workDir, const Case& c)
{
    const fs::path data = workDir / "data";
    std::error_code ec;
    if (!buildShippedFolder(data)) {
        return false;
    }
    const fs::path target = data / c.file;
    const std::string original = readAll(target);
    if (original.empty()) {
        return false;
    }
    fs::remove(target, ec);   // a link to the repository's file: never write through it
    return writeDamaged(target, original, c.damage);
}

bool buildReplayFolder(const fs::path& workDir, const std::string& replay, Damage damage)
{
    std::error_code ec;
    const fs::path target = workDir / REPLAY_FILE;
    return buildShippedFolder(workDir / "data") && fs::create_directories(target.parent_path(), ec) &&
           writeDamaged(target, replay, damage);
}

std::string expectedReplayMessage(Damage damage)
{
    const std::string start = std::string("OF_ERROR: replay: [") + REPLAY_FILE + "] ";
    switch (damage) {
    case Damage::Missing:
        return start + "cannot be opened";
    case Damage::Empty:
        return start + "is empty";
    case Damage::Truncated:   // cut within the events
        return start + "line ";
    case Damage::Junk:
        return start + "line 1: expected 'tumbrix-replay 1'";
    }
    return "?";
}

std::string expectedMessage(const Case& c)
{
    const std::string& f = c.file;
    const Damage d = c.damage;
    if (f == "levels/level1.txt") {
        return d == Damage::Missing ? "OF_ERROR: Stage file: [data/levels/level1.txt] cannot be opened"
                                    : "OF_ERROR: Stage file: [data/levels/level1.txt] expected ";
    }
    if (f.rfind("levels/levelTextures/", 0) == 0) {
        return "OF_ERROR: Failed to load image";
    }
    if (f == "soccer.png") {
        return "OF_ERROR: Failed to load player's image";
    }
    if (endsWith(f, ".3ds")) {
        switch (d) {
        case Damage::Missing:
            return "[3DS] ERROR: Could not open '";
        case Damage::Empty:
            return "' is empty";
        case Damage::Truncated:
            return "[3DS] WARNING: Model '";
        case Damage::Junk:
            return "' is not a valid 3DS file";
        }
    }
    if (endsWith(f, ".png")) {   // a model's texture map
        return "OF_ERROR: texture3DS ERROR:  Could not open data/" + f;
    }
    if (endsWith(f, ".wav")) {
        // The first half of a sound plays as far as it goes, with a line saying it is cut short.
        if (d == Damage::Truncated) {
            return "OF_WARNING: sound: [data/" + f + "] is cut short";
        }
        return "OF_ERROR: ofSoundPlayer: Could not load sound file data/" + f;
    }
    if (endsWith(f, ".ttf")) {
        return "OF_ERROR: Error : font not allocated";
    }
    if (f == "DoNotReadMe.txt") {
        switch (d) {
        case Damage::Missing:
            return "";
        case Damage::Truncated:   // the first half of "1 120" still names its stage
            return "OF_ERROR: save file: [data/DoNotReadMe.txt] holds a stage number but no score";
        default:
            return "OF_ERROR: save file: [data/DoNotReadMe.txt] does not hold a stage number and a score";
        }
    }
    if (f == "hs.txt") {
        return d == Damage::Missing ? "" : "OF_ERROR: highscores: [data/hs.txt] holds ";
    }
    return "?";
}

} // namespace badfiles
