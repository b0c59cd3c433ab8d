// Feeds arbitrary bytes to the save file and highscore file readers. Besides the sanitizers
// it checks what the game relies on: a failed save read changes no value it could not read,
// a successful one survives being written and read back, and highscore names read back as
// the same words.
#include "gui/HighscoreFile.h"
#include "gui/SaveFile.h"

#include <cctype>
#include <cstddef>
#include <cstdint>
#include <string>

namespace {

void require(bool condition)
{
    if (!condition) {
        __builtin_trap();
    }
}

void checkSave(const std::string& bytes)
{
    SaveState state{42, 42};
    if (!readSaveText(bytes, state)) {
        // Only the stage can have been read: the score comes after it.
        require(state.totalScore == 42);
        return;
    }
    SaveState again{0, 0};
    require(readSaveText(saveFileText(state), again));
    require(again.stage == state.stage && again.totalScore == state.totalScore);
}

void checkHighscores(const std::string& bytes)
{
    HighscoreEntry table[HIGHSCORE_RANKS] = {{"xa", -1}, {"xb", -2}, {"xc", -3}};
    const int values = readHighscoreText(bytes, table);
    require(values >= 0 && values <= HIGHSCORE_VALUES);
    for (int i = 0; i < HIGHSCORE_RANKS; ++i) {
        require(!table[i].name.empty());
        for (unsigned char c : table[i].name) {
            require(!std::isspace(c));
        }
        // Entries past the last value read are untouched.
        if (2 * i >= values) {
            require(table[i].name == std::string("x") + static_cast<char>('a' + i) && table[i].score == -1 - i);
        }
    }
    HighscoreEntry back[HIGHSCORE_RANKS];
    require(readHighscoreText(highscoreFileText(table), back) == HIGHSCORE_VALUES);
    for (int i = 0; i < HIGHSCORE_RANKS; ++i) {
        require(back[i].name == table[i].name && back[i].score == table[i].score);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    checkSave(bytes);
    checkHighscores(bytes);
    return 0;
}
