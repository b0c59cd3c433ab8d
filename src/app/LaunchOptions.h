#pragma once
// The game's command line, read before any window opens (so --help works over ssh and in
// scripts):
//   tumbrix                  the main menu
//   tumbrix --stage N        stage N at once, if the save has reached it
//   tumbrix --play FILE      one stage file, for stage authors; no save, no records
//   tumbrix --replay FILE    watches a replay file, then ends

#include <string>

struct LaunchOptions {
    enum class Mode { Menu, Stage, Play, Replay };
    Mode mode = Mode::Menu;
    int stage = 0;          // --stage
    std::string file;       // --play or --replay
};

// The usage text --help prints.
std::string launchUsage();

// Reads argv into `options`. Returns -1 to go on and start the game; otherwise the program
// should exit with the returned status (0 after --help, 2 after a bad command line, with
// one line on stderr saying what was wrong).
int readLaunchOptions(int argc, const char* const* argv, LaunchOptions& options);
