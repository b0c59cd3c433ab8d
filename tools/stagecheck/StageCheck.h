#pragma once
// Checks one stage file after another and prints the report of each: format, geometry,
// and the fastest route found by playing the stage with the game's own ball.

#include "Finding.h"
#include "HeadlessGl.h"
#include "RouteSearch.h"
#include "StageFormatCheck.h"

#include <memory>
#include <string>
#include <vector>

class GameSounds;
class Level;
class Player;

struct StageCheckOptions {
    bool allCoins = false;         // also search the fastest route that takes every coin
    bool strict = false;           // warnings fail the stage too
    bool listSteps = false;        // print each action of a route with its starting frame
    float minimumSpare = 0.0f;     // percent of the time limit the fastest route must leave
};

class StageCheck {
public:
    explicit StageCheck(const StageCheckOptions& options);
    ~StageCheck();
    StageCheck(const StageCheck&) = delete;
    StageCheck& operator=(const StageCheck&) = delete;

    // Prints the report of `file`; true when the stage passes.
    bool check(const std::string& file);

private:
    // The GL context, the Level, the sounds and the ball, made on first use. False, with
    // one error finding, when there is no GL context to make them in.
    bool readyToPlay(std::vector<Finding>& findings);
    // Loads `file` into the Level with the game's stage reader; false with an error
    // finding when the reader does not see what the format check saw.
    bool loadLevel(const std::string& file, const CheckedStage& stage, std::vector<Finding>& findings);
    void checkStart(const CheckedStage& stage, std::vector<Finding>& findings);
    // Searches and prints one route; true when it finishes within the limit.
    bool reportRoute(const std::string& file, bool everyCoin, std::vector<Finding>& findings);

    StageCheckOptions options;
    HeadlessGl gl;
    bool glTried = false;
    bool glReady = false;
    std::unique_ptr<Level> level;
    std::unique_ptr<GameSounds> sounds;
    std::unique_ptr<Player> player;
};
