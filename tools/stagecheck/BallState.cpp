#include "BallState.h"

#include "player/Player.h"

#include <cmath>
#include <cstdint>
#include <cstring>

BallState saveBall(const Player& p)
{
    BallState s;
    s.heading = p.heading;
    s.Position = p.Position;
    s.Front = p.Front;
    s.Left = p.Left;
    s.Velocity = p.Velocity;
    s.detectCollision = p.detectCollision;
    s.animateRotation = p.animateRotation;
    s.rollAroundEdge = p.rollAroundEdge;
    s.rollAroundWall = p.rollAroundWall;
    s.playerIsJumping = p.playerIsJumping;
    s.actionFrame = p.actionFrame;
    s.rollFrame = p.rollFrame;
    s.StepSize = p.StepSize;
    s.rotationVector = p.rotationVector;
    s.rotationPoint = p.rotationPoint;
    s.orientation = p.orientation;
    s.stepRotation = p.stepRotation;
    s.spinAngle = p.spinAngle;
    s.stageRunning = p.stageRunning;
    s.stageWon = p.stageWon;
    s.moveForward = p.moveForward;
    s.turnLeft = p.turnLeft;
    s.turnRight = p.turnRight;
    s.jump = p.jump;
    s.enableMovement = p.enableMovement;
    s.radius = p.radius;
    s.Gravity = p.Gravity;
    s.touchedLastPass = p.touchedLastPass;
    s.restsOnFace = p.restsOnFace;
    return s;
}

void restoreBall(Player& p, const BallState& s)
{
    p.heading = s.heading;
    p.Position = s.Position;
    p.Front = s.Front;
    p.Left = s.Left;
    p.Velocity = s.Velocity;
    p.detectCollision = s.detectCollision;
    p.animateRotation = s.animateRotation;
    p.rollAroundEdge = s.rollAroundEdge;
    p.rollAroundWall = s.rollAroundWall;
    p.playerIsJumping = s.playerIsJumping;
    p.actionFrame = s.actionFrame;
    p.rollFrame = s.rollFrame;
    p.StepSize = s.StepSize;
    p.rotationVector = s.rotationVector;
    p.rotationPoint = s.rotationPoint;
    p.orientation = s.orientation;
    p.stepRotation = s.stepRotation;
    p.spinAngle = s.spinAngle;
    p.stageRunning = s.stageRunning;
    p.stageWon = s.stageWon;
    p.moveForward = s.moveForward;
    p.turnLeft = s.turnLeft;
    p.turnRight = s.turnRight;
    p.jump = s.jump;
    p.enableMovement = s.enableMovement;
    p.radius = s.radius;
    p.Gravity = s.Gravity;
    p.touchedLastPass = s.touchedLastPass;
    p.restsOnFace = s.restsOnFace;
}

std::vector<int> ballKey(const BallState& s, float positionStep)
{
    std::vector<int> key;
    key.reserve(24);
    // A step of 0 keeps every bit: two states then match only when the ball's future is
    // the same to the last frame.
    auto component = [](float c, float step) {
        if (step > 0.0f) {
            return static_cast<int>(std::lround(static_cast<double>(c) / step));
        }
        std::int32_t bits = 0;
        std::memcpy(&bits, &c, sizeof bits);
        return static_cast<int>(bits);
    };
    auto add = [&](const Vec3& v, float step) {
        for (float c : {v.x, v.y, v.z}) {
            key.push_back(component(c, step));
        }
    };
    const float directionStep = positionStep > 0.0f ? 0.001f : 0.0f;
    add(s.Position, positionStep);
    add(s.Front, directionStep);
    add(s.Left, directionStep);
    add(s.Velocity, directionStep);
    add(s.Gravity, directionStep);
    key.push_back(component(s.StepSize, directionStep));
    key.push_back(s.actionFrame);
    key.push_back(s.rollFrame);
    const bool flags[] = {s.detectCollision, s.animateRotation, s.rollAroundEdge, s.rollAroundWall,
                          s.playerIsJumping, s.moveForward, s.turnLeft, s.turnRight,
                          s.jump, s.enableMovement, s.touchedLastPass};
    int bits = 0;
    for (bool flag : flags) {
        bits = bits * 2 + (flag ? 1 : 0);
    }
    key.push_back(bits);
    return key;
}
