#pragma once
// Checks one stage file after another and prints the report of each: format, geometry,
// and the fastest route found by playing the stage with the game's own ball.

#include "Finding.h"
#include "HeadlessGl.h"
#include "RouteSearch.h"
#include "RouteTrace.h"
#include "StageFormatCheck.h"
#include "progress/ProvenTimes.h"

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
    bool table = false;            // print one row of figures a stage instead of the reports
    std::string routesDir;         // play the route stored here for a stage instead of searching
    std::string saveRoutesDir;     // store every route found here
    std::string mapsDir;           // draw a map of every stage into this folder
    std::string saveTimesFile;     // write the frames of every route found here (proven times)
};

class StageCheck {
public:
    explicit StageCheck(const StageCheckOptions& options);
    ~StageCheck();
    StageCheck(const StageCheck&) = delete;
    StageCheck& operator=(const StageCheck&) = delete;

    // Prints the report of `file`; true when the stage passes.
    bool check(const std::string& file);

    // The difficulty table of every stage checked so far whose route was found.
    std::string table() const;

    // The frames of every stage checked so far whose fastest route was found (stages named
    // levelN.txt only), as the shipped proven times.
    const ProvenTimes& provenTimes() const { return proven; }

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
    // Figures, warnings about the route itself, the stored route and the map of a route
    // that has been confirmed.
    void afterRoute(const std::string& file, const std::vector<BallAction>& actions, int frames, double sparePercent,
                    std::vector<Finding>& findings);
    void say(const char* format, ...) __attribute__((format(printf, 2, 3)));

    StageCheckOptions options;
    HeadlessGl gl;
    bool glTried = false;
    bool glReady = false;
    std::unique_ptr<Level> level;
    std::unique_ptr<GameSounds> sounds;
    std::unique_ptr<Player> player;
    std::string report;                 // what check() says about the stage in hand
    std::vector<StageFigures> figures;  // one entry a stage with a route, for the table
    ProvenTimes proven;                 // frames of each route found, by stage number
};
