#pragma once
// A picture of a stage for its author: every cube seen through (faces tinted by the way
// they face, edges drawn), the dice, coins, start and finish on top as marks, and the
// route as a line that runs from cyan at the start to magenta at the finish. Drawn in
// the checker's own OpenGL context into an offscreen buffer and written as a PNG.

#include "RouteTrace.h"

#include <string>

class Level;

struct MapSize {
    int width = 320;    // pixels of the written picture
    int height = 240;
};

// Needs a current OpenGL context (the checker's). `level` holds the stage with all its
// dice and coins; `trace` the route played on it. False, with the reason in `why`, when
// no offscreen buffer can be made or the file cannot be written.
bool drawStageMap(const Level& level, const RouteTrace& trace, const std::string& path, std::string& why,
                  MapSize size = MapSize{});
