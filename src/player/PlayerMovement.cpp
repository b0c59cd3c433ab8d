// The four animated actions of the ball. Each runs for 20 frames of fixed increments and
// ends in a 21st frame that clears its flag.

#include "player/Player.h"

#include <cmath>
#include <numbers>

namespace {

const int ACTION_FRAMES = 20;
const float QUARTER_TURN = 90.0f;   // degrees of one turn or roll
const float CUBE_STEP = 2.0f;       // world units from the middle of one face to the next
// A jump's speed against Gravity follows 3 * -cos of its phase, which turns by 9 degrees a
// frame so that the 20 frames span half a period: up at 3 units per action on the first
// frame, 0 at the top (frame 10), almost 3 down on the last. The ball rises about 1.03.
const double JUMP_LIFT = 3.0;
const double JUMP_PHASE_STEP = 180.0 / ACTION_FRAMES;   // degrees per frame
// Frames at the start of a jump without collision tests, so that the face under the ball
// does not hold it down while it leaves it.
const int JUMP_TAKE_OFF_FRAMES = 4;

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
        StepSize = CUBE_STEP;
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
        double lift = JUMP_LIFT * std::sin(k * JUMP_PHASE_STEP * std::numbers::pi / 180.0 - std::numbers::pi / 2.0);
        Velocity = Front * StepSize + Gravity * static_cast<float>(lift);
        detectCollision = k >= JUMP_TAKE_OFF_FRAMES;
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
    StepSize = CUBE_STEP;
}
