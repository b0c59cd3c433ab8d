#pragma once
// The files of the data folder and the ways a player's copy of one can go bad, for the
// end-to-end runs of the real game on damaged data.

#include <filesystem>
#include <string>
#include <vector>

namespace badfiles {

enum class Damage { Missing, Empty, Truncated, Junk };

struct Case {
    std::string file;   // below data/
    Damage damage;
};

const char* damageName(Damage damage);

// "die/die.3ds, truncated": for messages; a name of letters, digits and '_' for test names.
std::string describe(const Case& c);
std::string testName(const Case& c);

// Every file the game reads, with each damage.
std::vector<Case> allCases();

// Fills `to` with folders as in `from` and links to `from`'s files (absolute links).
bool linkDataFolder(const std::filesystem::path& from, const std::filesystem::path& to);

// A data folder below `workDir` as shipped (links to the repository's files, so that a case
// costs no copying), with a save file and a highscore table of an earlier run, and then
// `c` applied to it. False when the folder could not be built.
bool buildDataFolder(const std::filesystem::path& workDir, const Case& c);

// The console line (or part of one) the game must print for the case; empty when the game
// stays silent by design (a missing save or highscore file is a first start; the first half
// of a sound plays as a shorter sound).
std::string expectedMessage(const Case& c);

// The replay row: `tumbrix --replay REPLAY_FILE` with the file gone bad.
inline constexpr const char* REPLAY_FILE = "data/replays/run.replay";   // from the working folder

// A data folder as buildDataFolder makes it, with no file damaged, and `replay` written as
// REPLAY_FILE with `damage` applied (Missing: no file). False when it could not be built.
bool buildReplayFolder(const std::filesystem::path& workDir, const std::string& replay, Damage damage);

// The start of the one line the game prints for a replay file with `damage`; the line ends
// in "; nothing to play".
std::string expectedReplayMessage(Damage damage);

inline constexpr const char* OLD_SAVE = "1 120";
inline constexpr const char* OLD_TABLE = "ann 500\nbob 300\ncyd 100\n";

} // namespace badfiles
