#pragma once
// Everything of a Player that its update reads or changes from one frame to the next, so
// the route search can put the ball back into a state it has seen and play on from there.
// The picture and its texture are left out: they only serve the drawing.

#include "player/Quaternion.h"
#include "player/Vec3.h"

#include <cstddef>
#include <vector>

class Player;

struct BallState {
    float heading = 0;
    Vec3 Position;
    Vec3 Front;
    Vec3 Left;
    Vec3 Velocity;
    bool detectCollision = false;
    bool animateRotation = false;
    bool rollAroundEdge = false;
    bool rollAroundWall = false;
    bool playerIsJumping = false;
    int actionFrame = 0;
    int rollFrame = 0;
    float StepSize = 0;
    Vec3 rotationVector;
    Vec3 rotationPoint;
    Quaternion orientation;
    Quaternion stepRotation;
    float spinAngle = 0;
    bool stageRunning = false;
    bool stageWon = false;
    bool moveForward = false;
    bool turnLeft = false;
    bool turnRight = false;
    bool jump = false;
    bool enableMovement = false;
    float radius = 0;
    Vec3 Gravity;
    bool touchedLastPass = false;
    bool restsOnFace = false;
};

BallState saveBall(const Player& player);
void restoreBall(Player& player, const BallState& state);

// What decides the ball's future, for recognising a state seen before: with a
// `positionStep` of 0 every value exactly, otherwise positions rounded to multiples of it
// (world units) and directions to thousandths. The heading and the orientation are
// represented by the heading frame (Front, Left) that they produce; the drawing spin, and
// the roll pivot and restsOnFace, which every collision pass computes afresh, are left out.
std::vector<int> ballKey(const BallState& state, float positionStep);
