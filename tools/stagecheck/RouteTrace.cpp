#include "RouteTrace.h"

#include "RouteReplay.h"

#include "level/Level.h"
#include "player/GameSounds.h"
#include "player/Player.h"

#include <cmath>
#include <cstdio>
#include <set>
#include <tuple>

namespace {

constexpr float REST = 1.35f;             // cube centre to the centre of a ball resting on it
constexpr float SETTLED = 0.05f;          // world units a resting ball may lie off its height over a face
constexpr float HALF_EDGE = 1.0f;

using Key = std::tuple<long, long, long>;

Key rounded(const Vec3& v, float unit)
{
    return {std::lround(v.x / unit), std::lround(v.y / unit), std::lround(v.z / unit)};
}

// The cube whose face holds the ball, or -1 when none does: its centre lies 1.35 along
// the ball's gravity and the ball's contact point falls within that face (a roll leaves
// the ball off the middle of its face, a climb 0.65 up a wall).
int cubeUnder(const Level& level, const Vec3& at, const Vec3& gravity)
{
    for (std::size_t i = 0; i < level.cubes.size(); ++i) {
        const Vec3 d = level.cubes[i].position - at;
        const float along = dot(d, gravity);
        const Vec3 across = d - gravity * along;
        if (std::fabs(along - REST) < SETTLED && std::fabs(across.x) <= HALF_EDGE + SETTLED &&
            std::fabs(across.y) <= HALF_EDGE + SETTLED && std::fabs(across.z) <= HALF_EDGE + SETTLED) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

} // namespace

RouteTrace traceRoute(Player& player, Level& level, GameSounds& sounds, const std::vector<BallAction>& actions)
{
    RouteTrace trace;
    std::set<Key> gravities;
    std::set<std::pair<int, Key>> faces;
    auto rest = [&](const Vec3& at, const Vec3& gravity) {
        RestingPlace place{at, gravity, false};
        const int cube = cubeUnder(level, at, gravity);
        place.onFace = cube >= 0;
        if (place.onFace) {
            faces.insert({cube, rounded(gravity, 1.0f)});
        }
        gravities.insert(rounded(gravity, 1.0f));
        trace.rests.push_back(place);
    };

    // A roll counts once, however many frames of an action it animates.
    bool edge = false;
    bool wall = false;
    const Replay replay = replayRoute(player, level, sounds, actions, [&](const Player& ball) {
        if (trace.path.empty()) {
            rest(ball.Position, ball.Gravity);
        }
        trace.path.push_back(ball.Position);
        trace.edgeRolls += ball.rollAroundEdge && !edge ? 1 : 0;
        trace.wallClimbs += ball.rollAroundWall && !wall ? 1 : 0;
        // A ready ball ends the action; the next one starts counting afresh.
        edge = ball.rollAroundEdge && !ball.enableMovement;
        wall = ball.rollAroundWall && !ball.enableMovement;
    });

    for (const ReplayedStep& step : replay.steps) {
        ++trace.actions;
        trace.jumps += step.action == BallAction::Jump ? 1 : 0;
    }
    // After every action but one that won or lost the stage, the ball is at rest.
    const std::size_t rested = replay.won || replay.fell ? replay.steps.size() - 1 : replay.steps.size();
    for (std::size_t i = 0; i < rested; ++i) {
        rest(replay.steps[i].positionAfter, replay.steps[i].gravityAfter);
        if (!trace.rests.back().onFace) {
            trace.midAirSteps.push_back(static_cast<int>(i));
        }
    }
    trace.won = replay.won;
    trace.frames = replay.frames;
    trace.gravityDirections = static_cast<int>(gravities.size());
    trace.facesVisited = static_cast<int>(faces.size());
    trace.coinsTaken = replay.coinsTaken;
    return trace;
}

std::string tableHeader()
{
    return "| Stage | Limit | Fastest | Spare | Cubes | Actions | Edge rolls | Wall climbs | Jumps | Gravities | Faces | "
           "Coins on / off route |\n"
           "|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|";
}

std::string tableRow(const StageFigures& f)
{
    char text[256];
    std::snprintf(text, sizeof text, "| %s | %g s | %.2f s | %.0f %% | %d | %d | %d | %d | %d | %d | %d | %d / %d |",
                  f.stage.c_str(), static_cast<double>(f.limit), f.frames / 60.0, f.sparePercent, f.cubes,
                  f.trace.actions, f.trace.edgeRolls, f.trace.wallClimbs, f.trace.jumps, f.trace.gravityDirections,
                  f.trace.facesVisited, f.trace.coinsTaken, f.coins - f.trace.coinsTaken);
    return text;
}

std::string difficultyLine(const StageFigures& f)
{
    char text[256];
    std::snprintf(text, sizeof text,
                  "difficulty: %d actions, %d edge rolls, %d wall climbs, %d jumps, %d gravity directions, "
                  "%d faces visited, %d coins on the route and %d off it, %.1f %% to spare",
                  f.trace.actions, f.trace.edgeRolls, f.trace.wallClimbs, f.trace.jumps, f.trace.gravityDirections,
                  f.trace.facesVisited, f.trace.coinsTaken, f.coins - f.trace.coinsTaken, f.sparePercent);
    return text;
}
