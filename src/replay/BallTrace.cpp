#include "replay/BallTrace.h"

#include "player/Player.h"

#include <cstdio>
#include <utility>

namespace {

void addFloat(std::string& line, float value)
{
    char text[40];
    std::snprintf(text, sizeof text, " %a", static_cast<double>(value));
    line += text;
}

void addVec(std::string& line, const char* name, const Vec3& v)
{
    line += ' ';
    line += name;
    addFloat(line, v.x);
    addFloat(line, v.y);
    addFloat(line, v.z);
}

void addQuaternion(std::string& line, const char* name, const Quaternion& q)
{
    line += ' ';
    line += name;
    addFloat(line, q.re);
    addFloat(line, q.v.x);
    addFloat(line, q.v.y);
    addFloat(line, q.v.z);
}

} // namespace

std::string ballTraceLine(int step, const Player& p)
{
    std::string line = "step " + std::to_string(step);
    line.reserve(640);
    addVec(line, "pos", p.Position);
    addVec(line, "gravity", p.Gravity);
    line += " heading";
    addFloat(line, p.heading);
    addVec(line, "front", p.Front);
    addVec(line, "left", p.Left);
    addVec(line, "velocity", p.Velocity);
    line += " size";
    addFloat(line, p.StepSize);
    addVec(line, "pivot", p.rotationPoint);
    addVec(line, "arm", p.rotationVector);
    addQuaternion(line, "orientation", p.orientation);
    addQuaternion(line, "roll", p.stepRotation);
    line += " spin";
    addFloat(line, p.spinAngle);
    line += " frames " + std::to_string(p.actionFrame) + " " + std::to_string(p.rollFrame) + " flags";
    const std::pair<const char*, bool> flags[] = {
        {"running", p.stageRunning}, {"won", p.stageWon},           {"ready", p.enableMovement},
        {"forward", p.moveForward},  {"left", p.turnLeft},          {"right", p.turnRight},
        {"jump", p.jump},            {"jumping", p.playerIsJumping}, {"rolling", p.animateRotation},
        {"edge", p.rollAroundEdge},  {"wall", p.rollAroundWall},    {"collide", p.detectCollision},
        {"rests", p.restsOnFace},    {"touched", p.touchedLastPass},
    };
    for (const auto& [name, set] : flags) {
        if (set) {
            line += ' ';
            line += name;
        }
    }
    return line;
}
