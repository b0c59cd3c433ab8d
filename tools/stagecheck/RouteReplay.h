#pragma once
// Plays a route from the stage start the way the game does: the full Player update every
// frame with every die and coin lying, each key handed over in the frame after the ball
// has become ready. It confirms what the search found and tells what happened on the way.

#include "RouteSearch.h"

#include <functional>
#include <vector>

struct ReplayedStep {
    BallAction action = BallAction::Wait;
    int startFrame = 0;
    int frames = 0;            // frames the action took
    int diceTaken = 0;
    int coinsTaken = 0;
    bool gravityTurned = false;
    Vec3 positionAfter;
    Vec3 gravityAfter;
};

struct Replay {
    bool won = false;
    bool fell = false;
    bool keyRefused = false;   // an action came while the ball was not ready
    int frames = 0;            // up to and including the frame that reached the finish
    int diceTaken = 0;
    int coinsTaken = 0;
    std::vector<ReplayedStep> steps;
};

// Called with the ball once at the start and after every frame's update.
using FrameWatch = std::function<void(const Player&)>;

// `level` holds the loaded stage with all its dice and coins; they are taken from it as
// the ball collects them and put back at the end.
Replay replayRoute(Player& player, Level& level, GameSounds& sounds, const std::vector<BallAction>& actions,
                   const FrameWatch& watch = {});
