#include "StageGeometryCheck.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <numeric>
#include <tuple>

namespace {

constexpr float HALF_EDGE = 1.0f;          // a cube spans its centre +- 1 on each axis
constexpr float EDGE_OVERSHOOT = 0.1f;     // how far past an edge the ball's centre gets before it rolls
constexpr float GRID_TOLERANCE = 0.001f;

const char* const FACE_NAMES[6] = {"+z", "-z", "-x", "+x", "+y", "-y"};
const int FACE_AXIS[6] = {2, 2, 0, 0, 1, 1};
const float FACE_SIGN[6] = {1, -1, -1, 1, 1, -1};

float component(const Vec3& v, int axis)
{
    return axis == 0 ? v.x : (axis == 1 ? v.y : v.z);
}

std::string describe(const Vec3& p)
{
    char text[96];
    std::snprintf(text, sizeof text, "(%g, %g, %g)", p.x, p.y, p.z);
    return text;
}

std::string describeDistance(float d)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", d);
    return text;
}

using CellKey = std::tuple<long, long, long>;

CellKey keyOf(const Vec3& p)
{
    auto milli = [](float v) { return std::lround(static_cast<double>(v) * 1000.0); };
    return {milli(p.x), milli(p.y), milli(p.z)};
}

Vec3 faceNormal(int face)
{
    Vec3 n(0, 0, 0);
    (FACE_AXIS[face] == 0 ? n.x : (FACE_AXIS[face] == 1 ? n.y : n.z)) = FACE_SIGN[face];
    return n;
}

// Where the ball's centre can be while it moves on one free face: the face's square pushed
// out by one radius, widened by how far the ball overshoots an edge, and lifted by a jump.
struct BallSheet {
    float low[3];
    float high[3];
};

BallSheet sheetOf(const Vec3& centre, int face, const GeometryRules& rules)
{
    BallSheet sheet{};
    for (int axis = 0; axis < 3; ++axis) {
        const float c = component(centre, axis);
        if (axis == FACE_AXIS[face]) {
            const float nearSide = c + FACE_SIGN[face] * (HALF_EDGE + rules.ballRadius);
            const float farSide = nearSide + FACE_SIGN[face] * rules.jumpRise;
            sheet.low[axis] = std::min(nearSide, farSide);
            sheet.high[axis] = std::max(nearSide, farSide);
        } else {
            sheet.low[axis] = c - HALF_EDGE - EDGE_OVERSHOOT;
            sheet.high[axis] = c + HALF_EDGE + EDGE_OVERSHOOT;
        }
    }
    return sheet;
}

float distanceTo(const BallSheet& sheet, const Vec3& p)
{
    float squared = 0;
    for (int axis = 0; axis < 3; ++axis) {
        const float v = component(p, axis);
        const float outside = std::max({sheet.low[axis] - v, 0.0f, v - sheet.high[axis]});
        squared += outside * outside;
    }
    return std::sqrt(squared);
}

class CubeIndex {
public:
    explicit CubeIndex(const std::vector<PlacedPoint>& cubes) : cubes(cubes)
    {
        for (const PlacedPoint& cube : cubes) {
            occupied.emplace(keyOf(cube.at), 0);
        }
    }

    bool faceIsFree(std::size_t cube, int face) const
    {
        return occupied.count(keyOf(cubes[cube].at + faceNormal(face) * (2 * HALF_EDGE))) == 0;
    }

    // The smallest distance from `p` to where the ball's centre can be on a free face.
    float nearestBallDistance(const Vec3& p, const GeometryRules& rules) const
    {
        float best = INFINITY;
        for (std::size_t i = 0; i < cubes.size(); ++i) {
            for (int face = 0; face < 6; ++face) {
                if (faceIsFree(i, face)) {
                    best = std::min(best, distanceTo(sheetOf(cubes[i].at, face, rules), p));
                }
            }
        }
        return best;
    }

private:
    const std::vector<PlacedPoint>& cubes;
    std::map<CellKey, int> occupied;
};

bool onWholeNumbers(const Vec3& p)
{
    for (int axis = 0; axis < 3; ++axis) {
        const float v = component(p, axis);
        if (std::fabs(v - std::round(v)) > GRID_TOLERANCE) {
            return false;
        }
    }
    return true;
}

void checkGridAndOverlaps(const CheckedStage& stage, std::vector<Finding>& findings)
{
    const std::vector<PlacedPoint>& cubes = stage.cubes;
    for (std::size_t i = 0; i < cubes.size(); ++i) {
        if (!onWholeNumbers(cubes[i].at)) {
            addWarning(findings, cubes[i].line, cubes[i].token,
                       "cube " + std::to_string(i + 1) + " at " + describe(cubes[i].at) +
                           " is off the whole-number grid: the ball rolls over edges on whole numbers");
        }
    }

    // Sweep along x: only cubes less than one edge apart in x can overlap.
    std::vector<std::size_t> order(cubes.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return cubes[a].at.x < cubes[b].at.x; });
    const float edge = 2 * HALF_EDGE - GRID_TOLERANCE;
    for (std::size_t a = 0; a < order.size(); ++a) {
        for (std::size_t b = a + 1; b < order.size(); ++b) {
            const PlacedPoint& first = cubes[std::min(order[a], order[b])];
            const PlacedPoint& second = cubes[std::max(order[a], order[b])];
            if (cubes[order[b]].at.x - cubes[order[a]].at.x >= edge) {
                break;
            }
            if (std::fabs(first.at.y - second.at.y) >= edge || std::fabs(first.at.z - second.at.z) >= edge) {
                continue;
            }
            const std::size_t firstNumber = std::min(order[a], order[b]) + 1;
            const std::size_t secondNumber = std::max(order[a], order[b]) + 1;
            const bool same = keyOf(first.at) == keyOf(second.at);
            addWarning(findings, second.line, second.token,
                       "cube " + std::to_string(secondNumber) + " at " + describe(second.at) +
                           (same ? " repeats cube " : " overlaps cube ") + std::to_string(firstNumber) + " (line " +
                           std::to_string(first.line) + ")");
        }
    }
}

void checkReach(const CheckedStage& stage, const GeometryRules& rules, std::vector<Finding>& findings)
{
    const CubeIndex index(stage.cubes);
    auto check = [&](const PlacedPoint& p, const std::string& name, float reach) {
        const float distance = index.nearestBallDistance(p.at, rules);
        if (distance >= reach) {
            const std::string nearest =
                std::isinf(distance) ? "there is no free cube face" : "the ball's centre comes no nearer than " + describeDistance(distance);
            addWarning(findings, p.line, p.token,
                       name + " at " + describe(p.at) + " is out of reach of every cube face: " + nearest +
                           ", and it must come within " + describeDistance(reach));
        }
    };
    for (std::size_t i = 0; i < stage.dice.size(); ++i) {
        check(stage.dice[i], "die " + std::to_string(i + 1), rules.dieReach);
    }
    for (std::size_t i = 0; i < stage.coins.size(); ++i) {
        check(stage.coins[i], "coin " + std::to_string(i + 1), rules.coinReach);
    }
    check(stage.target, "the finish", rules.finishReach);
}

void checkFallRadius(const CheckedStage& stage, const GeometryRules& rules, std::vector<Finding>& findings)
{
    const float radius = stage.fallRadius;
    auto beyond = [&](const Vec3& p) { return lengthSquared(p) > radius * radius; };
    if (beyond(stage.start.at)) {
        addError(findings, stage.start.line, stage.start.token,
                 "the start " + describe(stage.start.at) + " lies beyond the fall radius " + describeDistance(radius) +
                     ": the ball is lost at once");
    }
    if (beyond(stage.target.at)) {
        addWarning(findings, stage.target.line, stage.target.token,
                   "the finish " + describe(stage.target.at) + " lies beyond the fall radius " + describeDistance(radius));
    }
    auto items = [&](const std::vector<PlacedPoint>& list, const std::string& name) {
        for (std::size_t i = 0; i < list.size(); ++i) {
            if (beyond(list[i].at)) {
                addWarning(findings, list[i].line, list[i].token,
                           name + " " + std::to_string(i + 1) + " at " + describe(list[i].at) +
                               " lies beyond the fall radius " + describeDistance(radius));
            }
        }
    };
    items(stage.dice, "die");
    items(stage.coins, "coin");

    // A ball resting on a free face beyond the radius counts as fallen off.
    const CubeIndex index(stage.cubes);
    for (std::size_t i = 0; i < stage.cubes.size(); ++i) {
        std::string faces;
        for (int face = 0; face < 6; ++face) {
            const Vec3 rest = stage.cubes[i].at + faceNormal(face) * (HALF_EDGE + rules.ballRadius);
            if (index.faceIsFree(i, face) && beyond(rest)) {
                faces += (faces.empty() ? "" : ", ") + std::string(FACE_NAMES[face]);
            }
        }
        if (!faces.empty()) {
            addWarning(findings, stage.cubes[i].line, stage.cubes[i].token,
                       "cube " + std::to_string(i + 1) + " at " + describe(stage.cubes[i].at) +
                           ": a ball resting on its " + faces + " face lies beyond the fall radius " +
                           describeDistance(radius) + " and is lost");
        }
    }
}

} // namespace

void checkStageGeometry(const CheckedStage& stage, const GeometryRules& rules, std::vector<Finding>& findings)
{
    if (stage.cubes.empty()) {
        addError(findings, 0, 0, "the stage has no cubes: the ball has nothing to stand on");
    }
    checkGridAndOverlaps(stage, findings);
    checkReach(stage, rules, findings);
    checkFallRadius(stage, rules, findings);
}

void checkStageTextures(const CheckedStage& stage, const std::filesystem::path& stageFile,
                        std::vector<Finding>& findings)
{
    const std::filesystem::path folder = stageFile.parent_path() / "levelTextures";
    const std::pair<const std::string*, int> textures[] = {{&stage.faceTexture, stage.faceLine},
                                                           {&stage.skyTexture, stage.skyLine}};
    for (const auto& [name, line] : textures) {
        std::error_code ec;
        if (!std::filesystem::is_regular_file(folder / *name, ec)) {
            addWarning(findings, line, 0,
                       "texture " + (folder / *name).string() + " is missing: the game logs \"Failed to load image\"");
        }
    }
}
