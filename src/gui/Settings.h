#pragma once
// The player's choices from the options screen, kept in data/settings.txt beside the save:
// a header line, then one `key value` line per setting, for example
//     tumbrix settings 1
//     musicVolume 7
//     effectsVolume 10
//     fullScreen 1
//     music 1
// Read with the side-file policy (progress/SideFile.h), written as the save is (AtomicFile).

#include "progress/SideFile.h"

#include <string>

inline constexpr const char* SETTINGS_FILE_PATH = "data/settings.txt";
inline constexpr const char* SETTINGS_FILE_HEADER = "tumbrix settings 1";
inline constexpr int SETTINGS_VOLUME_MAX = 10;   // volumes run from 0 (silent) to this

struct Settings {
    int musicVolume = 10;     // 0 to SETTINGS_VOLUME_MAX
    int effectsVolume = 10;   // 0 to SETTINGS_VOLUME_MAX
    bool fullScreen = true;
    bool music = true;        // the music plays at all
    bool operator==(const Settings&) const = default;
};

// The exact text of the file: the header and every setting, one a line.
std::string settingsText(const Settings& settings);

// Reads one `key value` line into `settings`. Returns an empty string when the line was
// used, else the problem (the line then changes nothing). Keys are the field names above;
// flags are 0 or 1; a volume outside 0..10 is clamped to the nearer end and the line counts
// as used, with `note` set to say so; a later line for the same key wins.
std::string readSettingsLine(const std::string& line, Settings& settings, std::string& note);

// Reads the file at `path` into `settings`, which starts from the defaults: a missing file
// leaves the defaults silently; a bad line is skipped with a message naming file and line;
// a clamped volume gets a message of its own; an unreadable file is kept aside and gives
// the defaults. A file with skipped lines is written back with what was good, so the
// message comes once.
SideFileResult readSettingsFile(const std::string& path, Settings& settings);

// Replaces the file as a whole (see replaceFileAtomically); false, with a message, on failure.
bool writeSettingsFile(const std::string& path, const Settings& settings);
