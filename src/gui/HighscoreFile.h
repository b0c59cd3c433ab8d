#pragma once
// The highscore file: three lines "name score", rank 1 first, each ending in a line break.

#include "gui/HighscoreEntry.h"

#include <istream>
#include <span>
#include <string>

inline constexpr const char* HIGHSCORE_FILE_PATH = "data/hs.txt";
inline constexpr int HIGHSCORE_RANKS = 3;
inline constexpr int HIGHSCORE_VALUES = 2 * HIGHSCORE_RANKS;   // a name and a score per rank

// Reads a word into the name and then a whole number into the score of each entry of
// `table` in turn, at most three entries. The first read that fails (end of the text, or a
// score that is not a whole number in range) leaves the value it was meant for, and every
// value after it, as it was. Returns how many values were read, 0 to HIGHSCORE_VALUES.
int readHighscoreStream(std::istream& in, std::span<HighscoreEntry> table);
// The same on the bytes of a file.
int readHighscoreText(const std::string& bytes, std::span<HighscoreEntry> table);
// The same on the file at `path`; -1, with the table untouched, when it cannot be opened.
// Reports nothing: the game reads it in every frame of the screens that show it.
int readHighscoreFile(const std::string& path, std::span<HighscoreEntry> table);

// The exact text of the file for the first three entries of `table`.
std::string highscoreFileText(std::span<const HighscoreEntry> table);
// Replaces the file as a whole (see replaceFileAtomically); false, with a message, on failure.
bool writeHighscoreFile(const std::string& path, std::span<const HighscoreEntry> table);
