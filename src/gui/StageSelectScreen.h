#pragma once
// The stage select: one page per world of ten stages, each with its number, its message, the
// player's best time and score, the medal won and the times to beat for gold and silver.
// What it shows comes ready-made in a StageSelectView; the rules behind it (what is locked,
// what a medal takes) belong to the progress classes.

#include <string>
#include <vector>

class Gui;

struct StageSelectRow {
    int stage = 0;
    std::string name;          // the stage's message, or a short name
    bool locked = false;       // beyond the stage the save has reached
    bool exists = true;        // a stage file is there
    std::string bestTime;      // "12.34 s", or empty before the first win
    std::string bestScore;     // empty before the first win
    std::string medal;         // "gold", "silver", "bronze", or empty
    std::string targets;       // "gold 10.50 s  silver 14.33 s", or empty when unknown
    bool hasReplay = false;    // a best run is kept to watch or race
};

struct StageSelectView {
    int world = 1;
    int worlds = 1;
    std::string worldName;
    std::vector<StageSelectRow> rows;   // the world's stages, in order
    int cursor = 0;                     // highlighted row
    int golds = 0;                      // medals of this world
    int silvers = 0;
    int bronzes = 0;
    std::string notice;                 // one line for the player ("locked: win stage 14 first")
};

void drawStageSelect(Gui& gui, const StageSelectView& view);
