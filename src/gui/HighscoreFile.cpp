#include "gui/HighscoreFile.h"

#include "progress/AtomicFile.h"

#include <algorithm>
#include <fstream>
#include <sstream>

int readHighscoreStream(std::istream& in, std::span<HighscoreEntry> table)
{
    const size_t ranks = std::min(table.size(), static_cast<size_t>(HIGHSCORE_RANKS));
    int values = 0;
    for (size_t i = 0; i < ranks; ++i) {
        std::string name;
        if (!(in >> name)) {
            break;
        }
        table[i].name = name;
        ++values;
        int score = 0;
        if (!(in >> score)) {
            break;
        }
        table[i].score = score;
        ++values;
    }
    return values;
}

int readHighscoreText(const std::string& bytes, std::span<HighscoreEntry> table)
{
    std::istringstream in(bytes);
    return readHighscoreStream(in, table);
}

int readHighscoreFile(const std::string& path, std::span<HighscoreEntry> table)
{
    std::ifstream in(path);
    if (!in) {
        return -1;
    }
    return readHighscoreStream(in, table);
}

std::string highscoreFileText(std::span<const HighscoreEntry> table)
{
    std::string text;
    const size_t ranks = std::min(table.size(), static_cast<size_t>(HIGHSCORE_RANKS));
    for (size_t i = 0; i < ranks; ++i) {
        text += table[i].name + " " + std::to_string(table[i].score) + "\n";
    }
    return text;
}

bool writeHighscoreFile(const std::string& path, std::span<const HighscoreEntry> table)
{
    return replaceFileAtomically(path, highscoreFileText(table));
}
