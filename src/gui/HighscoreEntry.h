#pragma once

#include <string>

// One line of the highscore table: a name of 2 to 5 letters a-z and the total score it won.
struct HighscoreEntry {
    std::string name;
    int score = 0;
};
