#include "StageCheck.h"

#include "RouteReplay.h"
#include "StageMap.h"
#include "StoredRoute.h"
#include "StageGeometryCheck.h"
#include "level/Level.h"
#include "level/StageFile.h"
#include "media/ofUtils.h"
#include "player/GameSounds.h"
#include "player/Player.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

constexpr int FRAMES_PER_SECOND = 60;
// How far beyond the time limit the search looks, so that a stage that is too tight is
// told by how much.
constexpr int SEARCH_LIMIT_FACTOR = 2;
constexpr float START_SETTLE = 0.02f;   // world units the first collision pass may move the ball

std::string describe(const Vec3& p)
{
    char text[96];
    std::snprintf(text, sizeof text, "(%g, %g, %g)", p.x, p.y, p.z);
    return text;
}

std::string seconds(int frames)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2f s", static_cast<double>(frames) / FRAMES_PER_SECOND);
    return text;
}

// Keys in the order pressed; a run of steps is the up arrow held down.
std::string keyLine(const std::vector<RouteStep>& steps)
{
    std::string line;
    for (std::size_t i = 0; i < steps.size();) {
        std::size_t run = 1;
        while (steps[i].action == BallAction::Step && i + run < steps.size() && steps[i + run].action == BallAction::Step) {
            ++run;
        }
        line += line.empty() ? "" : ", ";
        if (run > 1) {
            line += "hold Up (" + std::to_string(run) + " steps)";
        } else {
            line += keyName(steps[i].action);
        }
        i += run;
    }
    return line;
}

bool sameList(const std::list<Vec3>& a, const std::vector<PlacedPoint>& b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](const Vec3& p, const PlacedPoint& q) {
               return p.x == q.at.x && p.y == q.at.y && p.z == q.at.z;
           });
}

bool samePoint(const Vec3& a, const Vec3& b)
{
    return a.x == b.x && a.y == b.y && a.z == b.z;
}

// N of a file named levelN.txt, or 0.
int stageNumber(const std::string& file)
{
    const std::string name = std::filesystem::path(file).filename().string();
    if (name.size() <= 9 || name.compare(0, 5, "level") != 0 || name.compare(name.size() - 4, 4, ".txt") != 0) {
        return 0;
    }
    const std::string digits = name.substr(5, name.size() - 9);
    if (digits.size() > 6 || digits[0] == '0' || digits.find_first_not_of("0123456789") != std::string::npos) {
        return 0;
    }
    return std::stoi(digits);
}

} // namespace

StageCheck::StageCheck(const StageCheckOptions& options) : options(options) {}

// The ball and the Level own GL texture names: they go before the context.
StageCheck::~StageCheck()
{
    player.reset();
    sounds.reset();
    level.reset();
}

bool StageCheck::readyToPlay(std::vector<Finding>& findings)
{
    if (!glTried) {
        glTried = true;
        std::string why;
        glReady = gl.open(why);
        if (!glReady) {
            addError(findings, 0, 0, "cannot play the stage: no OpenGL context for the game's ball and stage (" + why + ")");
            return false;
        }
        level = std::make_unique<Level>();
        sounds = std::make_unique<GameSounds>();   // never loaded: every sound stays silent
        player = std::make_unique<Player>(Vec3(0, 0, 0));
    }
    if (!glReady) {
        addError(findings, 0, 0, "cannot play the stage: no OpenGL context");
    }
    return glReady;
}

bool StageCheck::loadLevel(const std::string& file, const CheckedStage& stage, std::vector<Finding>& findings)
{
    // The same reader and the same fields as Level::load, from any path; the textures are
    // of no use to the search and are not loaded.
    std::ifstream in(file);
    StageFile read;
    const bool complete = readStageFile(in, file, read);
    level->clear();
    level->cubes = std::move(read.cubes);
    level->dice = std::move(read.dice);
    level->coins = std::move(read.coins);
    level->fallRadius = read.fallRadius;
    level->timeLimit = read.timeLimit;
    level->startPosition = read.startPosition;
    level->targetPosition = read.targetPosition;
    level->message = read.message;
    level->diceTotal = level->remainingDice();
    level->coinsTotal = level->remainingCoins();

    bool same = complete && level->cubes.size() == stage.cubes.size() && sameList(level->dice, stage.dice) &&
                sameList(level->coins, stage.coins) && level->fallRadius == stage.fallRadius &&
                level->timeLimit == stage.timeLimit && samePoint(level->startPosition, stage.start.at) &&
                samePoint(level->targetPosition, stage.target.at);
    for (std::size_t i = 0; same && i < stage.cubes.size(); ++i) {
        same = samePoint(level->cubes[i].position, stage.cubes[i].at);
    }
    if (!same) {
        addError(findings, 0, 0, "the game's stage reader does not read this file as the checker does; the route search is skipped");
    }
    return same;
}

void StageCheck::checkStart(const CheckedStage& stage, std::vector<Finding>& findings)
{
    // One frame of the ball at rest at the start, with nothing to pick up in the way.
    const std::list<Vec3> dice = level->dice;
    const std::list<Vec3> coins = level->coins;
    level->dice.assign(1, Vec3(1.0e6f, 1.0e6f, 1.0e6f));
    level->coins.clear();
    player->reset(level->startPosition);
    player->stageRunning = true;
    player->update(*level, *sounds);
    const bool rolls = player->animateRotation;
    const bool climbs = player->rollAroundWall;
    const Vec3 settled = player->Position;
    level->dice = dice;
    level->coins = coins;

    if (!player->stageRunning) {
        return;   // lost at once; said by the geometry check
    }
    if (rolls && climbs) {
        addWarning(findings, stage.start.line, stage.start.token,
                   "the start " + describe(stage.start.at) + " touches a wall: the ball climbs it at once");
    } else if (rolls) {
        addWarning(findings, stage.start.line, stage.start.token,
                   "the start " + describe(stage.start.at) +
                       " does not rest on a cube after the first collision pass: the ball rolls away at once");
    } else if (std::sqrt(lengthSquared(settled - stage.start.at)) > START_SETTLE) {
        addWarning(findings, stage.start.line, stage.start.token,
                   "the first collision pass moves the ball from the start " + describe(stage.start.at) + " to " +
                       describe(settled) + ": the start lies inside a cube");
    }
}

bool StageCheck::reportRoute(const std::string& file, bool everyCoin, std::vector<Finding>& findings)
{
    // Taking every coin is the player's own ambition: a stage that does not allow it in
    // time is worth a warning, not a failure.
    auto problem = [&](const std::string& text) {
        if (everyCoin) {
            addWarning(findings, 0, 0, text);
        } else {
            addError(findings, 0, 0, text);
        }
    };
    const int limit = static_cast<int>(std::floor(level->timeLimit * FRAMES_PER_SECOND));
    const char* what = everyCoin ? "fastest route with every coin" : "fastest route";

    // A stored route stands in for the search: it is played like any found one, and what
    // it proves (the stage is won, with this much to spare) holds for the fastest route too.
    Route route;
    std::string searched;
    std::vector<BallAction> stored;
    std::string storedProblem;
    const bool useStored = !everyCoin && !options.routesDir.empty() &&
                           readStoredRoute(routeFile(options.routesDir, file), stored, storedProblem);
    if (!storedProblem.empty()) {
        addError(findings, 0, 0, storedProblem);
        return false;
    }
    if (useStored) {
        what = "stored route";
        route.found = true;
        for (BallAction action : stored) {
            route.steps.push_back({action, 0});
        }
        const Replay played = replayRoute(*player, *level, *sounds, stored);
        route.frames = played.frames;
        for (std::size_t i = 0; i < played.steps.size() && i < route.steps.size(); ++i) {
            route.steps[i].startFrame = played.steps[i].startFrame;
        }
        searched = "played from " + routeFile(options.routesDir, file);
    } else {
        const auto began = std::chrono::steady_clock::now();
        {
            RouteSearch search(*player, *level, *sounds);
            route = search.fastest(everyCoin, limit * SEARCH_LIMIT_FACTOR);
        }
        const double took = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
        char text[160];
        std::snprintf(text, sizeof text, "searched %zu states over %zu places (%zu exact ball states) in %.2f s",
                      route.statesSearched, route.places, route.ballStates, took);
        searched = text;
    }

    if (!route.found) {
        problem(std::string("no ") + (everyCoin ? "route that takes every coin" : "route") +
                     " collects every die and reaches the finish within " + std::to_string(SEARCH_LIMIT_FACTOR) +
                     " times the time limit");
        say("%s: %s: none; %s\n", file.c_str(), what, searched.c_str());
        return false;
    }

    // Played again from the start the way the game plays it, with everything lying.
    std::vector<BallAction> actions;
    for (const RouteStep& step : route.steps) {
        actions.push_back(step.action);
    }
    const Replay replay = replayRoute(*player, *level, *sounds, actions);
    if (!replay.won || replay.frames != route.frames || replay.steps.size() != actions.size()) {
        if (useStored) {
            addError(findings, 0, 0,
                     "the stored route in " + routeFile(options.routesDir, file) + " does not win the stage (" +
                         (replay.won ? "won before its last key" : "not won") + "); search again and store it anew");
        } else {
            addError(findings, 0, 0,
                     std::string("internal: the ") + what + " found (" + std::to_string(route.frames) +
                         " frames) does not win when played again (" +
                         (replay.won ? "won after " + std::to_string(replay.frames) + " frames" : "not won") + ")");
        }
        return false;
    }

    const double spare = level->timeLimit - static_cast<double>(route.frames) / FRAMES_PER_SECOND;
    const double sparePercent = 100.0 * spare / level->timeLimit;
    char summary[256];
    std::snprintf(summary, sizeof summary,
                  "%s: %s: %zu actions, %d frames = %s of the %g s limit, %.2f s (%.1f %%) to spare; takes %d of %d coins",
                  file.c_str(), what, route.steps.size(), route.frames, seconds(route.frames).c_str(),
                  static_cast<double>(level->timeLimit), spare, sparePercent, replay.coinsTaken, level->coinsTotal);
    say("%s\n", summary);
    say("  keys: %s\n", keyLine(route.steps).c_str());
    if (options.listSteps) {
        for (const ReplayedStep& step : replay.steps) {
            std::string events;
            if (step.gravityTurned) {
                events += ", gravity turns to " + describe(step.gravityAfter);
            }
            if (step.diceTaken > 0) {
                events += ", takes " + std::to_string(step.diceTaken) + (step.diceTaken == 1 ? " die" : " dice");
            }
            if (step.coinsTaken > 0) {
                events += ", takes " + std::to_string(step.coinsTaken) + (step.coinsTaken == 1 ? " coin" : " coins");
            }
            say("    frame %5d  %-5s %3d frames%s\n", step.startFrame, keyName(step.action), step.frames, events.c_str());
        }
        say("    frame %5d  finish\n", replay.frames);
    }
    say("  %s\n", searched.c_str());
    if (!everyCoin) {
        afterRoute(file, actions, route.frames, sparePercent, findings);
    }

    if (route.frames > limit) {
        problem(std::string("the ") + what + " needs " + seconds(route.frames) + ", more than the time limit of " +
                     seconds(limit));
        return false;
    }
    if (!everyCoin && sparePercent < options.minimumSpare) {
        char text[160];
        std::snprintf(text, sizeof text, "the %s leaves %.1f %% of the time limit to spare, less than %g %%", what,
                      sparePercent, static_cast<double>(options.minimumSpare));
        addError(findings, 0, 0, text);
        return false;
    }
    return true;
}

void StageCheck::afterRoute(const std::string& file, const std::vector<BallAction>& actions, int frames,
                            double sparePercent, std::vector<Finding>& findings)
{
    StageFigures f;
    f.stage = std::filesystem::path(file).filename().string();
    f.limit = level->timeLimit;
    f.frames = frames;
    f.sparePercent = sparePercent;
    f.cubes = static_cast<int>(level->cubes.size());
    f.coins = level->coinsTotal;
    f.trace = traceRoute(*player, *level, *sounds, actions);
    say("  %s\n", difficultyLine(f).c_str());

    // A ball that is ready off every face (a jump that ended against a wall) is a state
    // the game is not meant to reach; a route through it may not survive a mend of that.
    for (int index : f.trace.midAirSteps) {
        const RestingPlace& rest = f.trace.rests[static_cast<std::size_t>(index) + 1];
        addWarning(findings, 0, 0,
                   "action " + std::to_string(index + 1) + " of the route (" + keyName(actions[static_cast<std::size_t>(index)]) +
                       ") leaves the ball ready at " + describe(rest.at) + ", resting on no cube face");
    }
    if (!options.saveRoutesDir.empty()) {
        std::string why;
        if (!writeStoredRoute(routeFile(options.saveRoutesDir, file), actions, why)) {
            addError(findings, 0, 0, why);
        }
    }
    if (!options.saveTimesFile.empty()) {
        const int stage = stageNumber(file);
        if (stage > 0) {
            proven.set(stage, frames);
        } else {
            addError(findings, 0, 0, "--save-times needs stage files named levelN.txt, as the game plays them");
        }
    }
    if (!options.mapsDir.empty()) {
        const std::string map = (std::filesystem::path(options.mapsDir) / (std::filesystem::path(file).stem().string() + ".png")).string();
        std::string why;
        std::error_code error;
        std::filesystem::create_directories(options.mapsDir, error);
        if (drawStageMap(*level, f.trace, map, why)) {
            say("  map: %s\n", map.c_str());
        } else {
            addError(findings, 0, 0, "cannot draw the map " + map + ": " + why);
        }
    }
    figures.push_back(std::move(f));
}

bool StageCheck::check(const std::string& file)
{
    report.clear();
    say("%s\n", file.c_str());
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        say("%s: error: cannot open the file\n", file.c_str());
        say("%s: FAIL\n", file.c_str());
        std::fputs(report.c_str(), options.table ? stderr : stdout);
        return false;
    }
    std::ostringstream contents;
    contents << in.rdbuf();

    std::vector<Finding> findings;
    const CheckedStage stage = checkStageFormat(contents.str(), findings);
    if (stage.complete) {
        checkStageGeometry(stage, GeometryRules{}, findings);
    }
    checkStageTextures(stage, file, findings);

    // Only a stage the loader reads as written, with room and time to play, is played.
    // The game's own complaints while it plays (a ball picture missing from the working
    // folder, reloaded at every reset) say nothing about the stage and are kept quiet.
    std::vector<Finding> playFindings;
    const int logLevel = ofGetLogLevel();
    ofSetLogLevel(OF_LOG_FATAL_ERROR);
    if (stage.complete && !hasErrors(findings) && readyToPlay(playFindings) && loadLevel(file, stage, playFindings)) {
        checkStart(stage, findings);
        reportRoute(file, false, playFindings);
        if (options.allCoins && !level->coins.empty()) {
            reportRoute(file, true, playFindings);
        }
    }
    ofSetLogLevel(logLevel);
    std::stable_sort(findings.begin(), findings.end(), [](const Finding& a, const Finding& b) { return a.line < b.line; });
    findings.insert(findings.end(), playFindings.begin(), playFindings.end());
    for (const Finding& finding : findings) {
        say("%s\n", formatFinding(file, finding).c_str());
    }
    const bool pass = !hasErrors(findings) && (!options.strict || findings.empty());
    say("%s: %s\n", file.c_str(), pass ? "pass" : "FAIL");
    // The table keeps standard output to itself; a failing stage still says why.
    if (!options.table) {
        std::fputs(report.c_str(), stdout);
    } else if (!pass) {
        std::fputs(report.c_str(), stderr);
    }
    std::fflush(stdout);
    return pass;
}

void StageCheck::say(const char* format, ...)
{
    char text[1024];
    va_list args;
    va_start(args, format);
    const int length = std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    if (length >= static_cast<int>(sizeof text)) {
        // Long key lines: format again into a buffer of the right size.
        std::vector<char> longer(static_cast<std::size_t>(length) + 1);
        va_start(args, format);
        std::vsnprintf(longer.data(), longer.size(), format, args);
        va_end(args);
        report += longer.data();
    } else if (length > 0) {
        report += text;
    }
}

std::string StageCheck::table() const
{
    std::string text = tableHeader() + "\n";
    for (const StageFigures& f : figures) {
        text += tableRow(f) + "\n";
    }
    return text;
}
