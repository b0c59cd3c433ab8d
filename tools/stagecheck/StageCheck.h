#pragma once
// Checks one stage file after another and prints the report of each.

#include "Finding.h"
#include "StageFormatCheck.h"

#include <string>
#include <vector>

struct StageCheckOptions {
    bool allCoins = false;    // also search the fastest route that takes every coin
    bool strict = false;      // warnings fail the stage too
    bool listSteps = false;   // print each action of a route with its starting frame
};

class StageCheck {
public:
    explicit StageCheck(const StageCheckOptions& options);

    // Prints the report of `file`; true when the stage passes.
    bool check(const std::string& file);

private:
    StageCheckOptions options;
};
