#pragma once
// The format check: walks a stage file's tokens in the order in which the game's loader
// reads its fields and reports, with line and token number, every field that is missing,
// that is not a number where one is due, or that the loader would read differently from
// what the author wrote (a count written "3.0" is read as 3 followed by ".0").

#include "Finding.h"
#include "player/Vec3.h"

#include <string>
#include <vector>

// A point of the stage file and where its first coordinate stands.
struct PlacedPoint {
    Vec3 at;
    int line = 0;
    int token = 0;
};

struct CheckedStage {
    std::string faceTexture;
    std::string skyTexture;
    int faceLine = 0;
    int skyLine = 0;
    float fallRadius = 0.0f;
    float timeLimit = 0.0f;
    PlacedPoint start;
    PlacedPoint target;
    std::vector<PlacedPoint> dice;
    std::vector<PlacedPoint> coins;
    std::vector<PlacedPoint> cubes;
    std::vector<std::string> messageWords;
    int messageLine = 0;
    // Every field up to the message was found with the shape the loader expects, so the
    // values above are the ones the game reads.
    bool complete = false;
};

// Checks `text`, the contents of a stage file, appending its findings. Values that could
// not be read are left 0 and the stage is marked incomplete.
CheckedStage checkStageFormat(const std::string& text, std::vector<Finding>& findings);
