#include "RouteTrace.h"

#include "level/Level.h"
#include "player/GameSounds.h"
#include "player/Player.h"

#include <cmath>
#include <cstdio>
#include <set>
#include <tuple>

namespace {

constexpr int MAX_ACTION_FRAMES = 3000;   // 50 s: an action that has not ended by then never will
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
    const std::list<Vec3> dice = level.dice;
    const std::list<Vec3> coins = level.coins;
    player.reset(level.startPosition);
    player.stageRunning = true;

    std::set<Key> gravities;
    std::set<std::pair<int, Key>> faces;
    auto rest = [&]() {
        RestingPlace place{player.Position, player.Gravity, false};
        const int cube = cubeUnder(level, player.Position, player.Gravity);
        place.onFace = cube >= 0;
        if (place.onFace) {
            faces.insert({cube, rounded(player.Gravity, 1.0f)});
        }
        gravities.insert(rounded(player.Gravity, 1.0f));
        trace.rests.push_back(place);
    };
    trace.path.push_back(player.Position);
    rest();

    for (BallAction action : actions) {
        if (!player.enableMovement) {
            break;
        }
        ++trace.actions;
        trace.jumps += action == BallAction::Jump ? 1 : 0;
        pressKey(player, action);
        bool edge = false;
        bool wall = false;
        bool ended = false;
        for (int frame = 0; frame < MAX_ACTION_FRAMES && !ended; ++frame) {
            player.update(level, sounds);
            ++trace.frames;
            trace.path.push_back(player.Position);
            // A roll counts once, however many frames it animates.
            if (player.rollAroundEdge && !edge) {
                ++trace.edgeRolls;
            }
            if (player.rollAroundWall && !wall) {
                ++trace.wallClimbs;
            }
            edge = player.rollAroundEdge;
            wall = player.rollAroundWall;
            trace.won = player.stageWon;
            ended = player.stageWon || !player.stageRunning || player.enableMovement;
        }
        if (trace.won || !player.stageRunning) {
            break;
        }
        rest();
        if (!trace.rests.back().onFace) {
            trace.midAirSteps.push_back(trace.actions - 1);
        }
    }
    trace.gravityDirections = static_cast<int>(gravities.size());
    trace.facesVisited = static_cast<int>(faces.size());
    trace.coinsTaken = static_cast<int>(coins.size() - level.coins.size());
    level.dice = dice;
    level.coins = coins;
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
