#pragma once
// A found route played once more from the start with the game's Player, watching every
// frame: where the ball went, which rolls it made and where it came to rest. From that
// come the stage's difficulty figures and the line drawn on its map.

#include "RouteSearch.h"

#include <string>
#include <vector>

class GameSounds;
class Level;
class Player;

// Where the ball rests after an action: the cube face under it.
struct RestingPlace {
    Vec3 at;                  // the ball's centre
    Vec3 gravity;
    bool onFace = false;      // a cube lies 1.35 along gravity, on the grid: the ball is not in mid-air
};

struct RouteTrace {
    bool won = false;
    int frames = 0;
    std::vector<Vec3> path;             // the ball's centre at the end of every frame, from the start
    std::vector<RestingPlace> rests;    // at the start and after every action
    std::vector<int> midAirSteps;       // indices of actions after which the ball is ready off any face

    int actions = 0;
    int edgeRolls = 0;
    int wallClimbs = 0;
    int jumps = 0;
    int gravityDirections = 0;   // distinct directions the ball's gravity took, the start's included
    int facesVisited = 0;        // distinct cube faces the ball rested on
    int coinsTaken = 0;
};

// Plays `actions` from the stage start with every die and coin lying and puts the lists
// back afterwards. `level` holds the loaded stage.
RouteTrace traceRoute(Player& player, Level& level, GameSounds& sounds, const std::vector<BallAction>& actions);

// One stage's row of the difficulty table.
struct StageFigures {
    std::string stage;       // the file name without its folder
    float limit = 0;         // seconds
    int frames = 0;          // of the fastest route
    double sparePercent = 0;
    int cubes = 0;
    int coins = 0;
    RouteTrace trace;
};

std::string tableHeader();
std::string tableRow(const StageFigures& figures);
// The figures of one stage as the checker's report prints them.
std::string difficultyLine(const StageFigures& figures);
