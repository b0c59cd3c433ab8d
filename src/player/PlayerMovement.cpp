// The four animated actions of the ball. Each runs for 20 frames of fixed increments and
// ends in a 21st frame that clears its flag.

#include "player/Player.h"

#include <cmath>
#include <numbers>

namespace {

const int ACTION_FRAMES = 20;
const float QUARTER_TURN = 90.0f;   // degrees of one turn or roll

} // namespace

void Player::turnStep()
{
    if (actionFrame >= ACTION_FRAMES) {
        turnLeft = false;
        turnRight = false;
        actionFrame = 0;
        return;
    }
    if (turnLeft) {
        heading += QUARTER_TURN / ACTION_FRAMES;
    }
    if (turnRight) {
        heading -= QUARTER_TURN / ACTION_FRAMES;
    }
    ++actionFrame;
}

void Player::forwardStep()
{
    if (actionFrame >= ACTION_FRAMES) {
        Velocity = Vec3();
        moveForward = false;
        actionFrame = 0;
        detectCollision = true;
        StepSize = 2.0f;
        return;
    }
    Velocity = Front * StepSize;
    ++actionFrame;
}

void Player::rollStep()
{
    animateRotation = true;
    detectCollision = false;
    moveForward = false;
    enableMovement = false;
    actionFrame = 0;
    Velocity = Vec3();

    if (rollFrame < ACTION_FRAMES) {
        // Positive about Left tips Front toward Gravity: over an edge the ball turns forward
        // and down; up a wall it turns the other way.
        float angle = (rollAroundWall ? -QUARTER_TURN : QUARTER_TURN) / ACTION_FRAMES;
        orientation = Quaternion::fromAxisAngle(angle, Left) * orientation;
        stepRotation = Quaternion::fromAxisAngle(angle, Left);
        Gravity = rotate(stepRotation, Gravity);
        if (rollAroundEdge) {
            rotationVector = rotate(stepRotation, rotationVector);
            Position = rotationPoint + rotationVector;
        }
        ++rollFrame;
        return;
    }

    // The roll is done: a step without collision tests carries the ball to the middle of the
    // new face, from the edge (1.0) or from the foot of the wall (1 - radius).
    StepSize = rollAroundWall ? 1.0f - radius : 1.0f;
    rollAroundEdge = false;
    rollAroundWall = false;
    animateRotation = false;
    moveForward = true;
    rollFrame = 0;
}

void Player::jumpStep()
{
    int k = actionFrame;
    if (k == 0) {
        touchedLastPass = false;   // leaving the floor: the next contact is a new one
    }
    if (k < ACTION_FRAMES) {
        playerIsJumping = true;
        enableMovement = false;
        // Up at 3 on the first frame, through 0 at the top (k = 10), almost 3 down at k = 19.
        double lift = 3.0 * std::sin(k * 9.0 * std::numbers::pi / 180.0 - std::numbers::pi / 2.0);
        Velocity = Front * StepSize + Gravity * static_cast<float>(lift);
        // Collision stays off for the first frames so the ball can leave the floor.
        detectCollision = k >= 4;
        ++actionFrame;
        return;
    }

    // Keep only the speed along the gravity axis: the ball falls straight down from here.
    Velocity.x *= Gravity.x;
    Velocity.y *= Gravity.y;
    Velocity.z *= Gravity.z;
    if (Gravity.x < 0.0f) {
        Velocity.x = -Velocity.x;
    }
    if (Gravity.y < 0.0f) {
        Velocity.y = -Velocity.y;
    }
    if (Gravity.z < 0.0f) {
        Velocity.z = -Velocity.z;
    }
    jump = false;
    actionFrame = 0;
    StepSize = 2.0f;
}
