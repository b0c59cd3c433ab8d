#pragma once
// The save file: the number of the stage to play next and the total score gathered so far,
// as two decimal numbers separated by one blank and followed by nothing, for example "4 2730".

#include <istream>
#include <string>

inline constexpr const char* SAVE_FILE_PATH = "data/DoNotReadMe.txt";

struct SaveState {
    int stage = 1;        // stage to play next; stages count from 1
    int totalScore = 0;
};

// Reads the stage number and then the total score. Returns false when either is missing or
// is not a whole number in range. Each value that is not read keeps what `state` held, so
// "4" or "4 lots" still give stage 4; a fresh SaveState gives stage 1 and score 0 for the
// rest. Whatever follows the second number is ignored.
bool readSaveStream(std::istream& in, SaveState& state);
// The same on the bytes of a file.
bool readSaveText(const std::string& bytes, SaveState& state);
// The same on the file at `path`. A missing file is the normal first start and is not
// reported; a file that cannot be read back gives one error line naming it and saying
// what the game goes on with.
bool readSaveFile(const std::string& path, SaveState& state);

// The exact text of the file: decimal stage, one blank, decimal score, nothing more.
std::string saveFileText(const SaveState& state);
// Replaces the file as a whole (see replaceFileAtomically); false, with a message, on failure.
bool writeSaveFile(const std::string& path, const SaveState& state);
