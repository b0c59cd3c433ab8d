#pragma once
// Where the time of one frame goes: the parts of the game's drawing, each drawn alone over a
// frozen view through the game's own functions, with processor and wall-clock time per
// frame. Two variants that depart from the game's specified drawing are measured beside
// them, to show what a change there would gain; the game itself never draws them.

#include <string>
#include <vector>

class Application;

struct PartCost {
    std::string name;
    double cpuAll = 0;    // ms per frame, median: the whole process (game and rasteriser threads)
    double cpuMain = 0;   // ms per frame, median: the game's thread
    double wall = 0;      // ms per frame, median
};

// Draws each part `frames` times in a width x height window, every time after the camera's
// clear and before a buffer swap, and returns the medians. `app` must have drawn one frame
// already, so that its light is set.
std::vector<PartCost> measureParts(Application& app, int width, int height, int frames);
