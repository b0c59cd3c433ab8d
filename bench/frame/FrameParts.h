#pragma once
// Where the time of one frame goes: the parts of the game's drawing, each drawn alone over a
// frozen view through the game's own functions, with processor and wall-clock time per
// frame. Each part is measured as the first version drew it (everything sent again every
// frame) and as the game draws it now (display lists, no faces against a neighbour); a
// coarser sky, which the game never draws, shows what remains in the sky's facets.

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
