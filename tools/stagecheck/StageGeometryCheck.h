#pragma once
// The geometry check: what a stage's numbers say about its shape, without playing it.
// Cubes off the whole-number grid or overlapping, dice, coins or the finish that the ball
// cannot come near on any free cube face (not even with a jump), and places beyond the
// fall radius. The resting of the ball at the start needs the game's own collision pass
// and is checked with the route search.

#include "Finding.h"
#include "StageFormatCheck.h"

#include <filesystem>
#include <vector>

struct GeometryRules {
    float ballRadius = 0.35f;       // world units
    float dieReach = 0.5477f;       // distance from the ball's centre within which a die is taken
    float coinReach = 0.5291f;      // the same for a coin
    float finishReach = 0.5477f;    // the same for the finish
    float jumpRise = 1.05f;         // how far a jump lifts the ball off a face, a little generous
};

void checkStageGeometry(const CheckedStage& stage, const GeometryRules& rules, std::vector<Finding>& findings);

// Warns about face or sky textures that are not in the folder levelTextures/ beside the
// stage file, where the game looks for them when the stage lies in data/levels/.
void checkStageTextures(const CheckedStage& stage, const std::filesystem::path& stageFile,
                        std::vector<Finding>& findings);
