#include "player/Player.h"

#include "level/Level.h"
#include "media/ofUtils.h"
#include "player/GameSounds.h"

#include <GL/gl.h>

#include <cmath>
#include <numbers>

namespace {

// Velocities are in world units per action of 20 frames: a step's Velocity is its length.
// One frame moves the ball by its share of that.
const float FRAME_SHARE = 1.0f / 20.0f;
// Added to Velocity along Gravity in every frame the ball moves by itself: what makes a
// jump come down and a ball in the air fall ever faster. Units per action, per frame.
const float GRAVITY_PULL = 0.1f;

} // namespace

Player::Player(const Vec3& startPosition)
    : orientation(0.0f, Vec3()), stepRotation(0.0f, Vec3())
{
    // The picture is only uploaded through ballTexture; a texture of its own would be an
    // unused copy rebuilt at every reset.
    ballImage.setUseTexture(false);
    reset(startPosition);
}

void Player::reset(const Vec3& startPosition)
{
    Position = startPosition;
    heading = 90.0f;

    detectCollision = true;
    animateRotation = false;
    rollAroundEdge = false;
    rollAroundWall = false;
    playerIsJumping = false;
    stageRunning = false;
    stageWon = false;
    moveForward = false;
    turnLeft = false;
    turnRight = false;
    jump = false;
    enableMovement = true;
    touchedLastPass = false;
    restsOnFace = false;

    actionFrame = 0;
    rollFrame = 0;
    radius = 0.35f;
    StepSize = 2.0f;
    spinAngle = 0.0f;
    orientation = Quaternion(1.0f, Vec3());
    stepRotation = orientation;
    Gravity = Vec3(0.0f, 0.0f, -1.0f);
    Velocity = Vec3();
    Front = Vec3(0.0f, 1.0f, 0.0f);
    Left = Vec3(-1.0f, 0.0f, 0.0f);
    rotationVector = Vec3();
    rotationPoint = Vec3();

    // A picture that cannot be read leaves the texture as it was (empty at first) rather
    // than uploading an empty buffer.
    if (!ballImage.loadImage("soccer.png")) {
        ofLog(OF_LOG_ERROR, "Failed to load player's image");
        return;
    }
    ballTexture.buildMipmappedTexture(ballImage, GL_REPEAT, GL_CLAMP);
}

void Player::update(Level& level, GameSounds& sounds)
{
    checkPickups(level, sounds);

    // The heading frame within the face, turned by every roll so far.
    double h = heading * std::numbers::pi / 180.0;
    Front = Vec3(static_cast<float>(std::cos(h)), static_cast<float>(std::sin(h)), 0.0f);
    Left = Vec3(-Front.y, Front.x, 0.0f);
    Front = rotate(orientation, Front);
    Left = rotate(orientation, Left);

    // Directions drift through repeated rotation; they are always axis vectors once no
    // animation is turning them.
    if (!turnLeft && !turnRight && !animateRotation) {
        Front.snapToWhole();
    }
    if (!turnLeft && !turnRight) {
        Left.snapToWhole();
    }
    if (!animateRotation) {
        Gravity.snapToAxis();
    }

    if (!animateRotation) {
        Position = Position + Velocity * FRAME_SHARE;
        Velocity = Velocity + Gravity * GRAVITY_PULL;
    }

    if (turnLeft || turnRight) {
        turnStep();
    }
    if (moveForward) {
        forwardStep();
    }
    restsOnFace = false;
    if (detectCollision) {
        detectCollisions(level, sounds);
    }

    // A roll, once begun, runs to its end. A new one waits while the ball is in the air or
    // turning: a roll turns about Left, which a turn is still moving. The ball is ready only
    // on a face under it with no roll begun or due, never in mid-air against a wall.
    const bool rollDue = rollAroundWall || rollAroundEdge;
    const bool turning = turnLeft || turnRight;
    if (animateRotation || (rollDue && !playerIsJumping && !jump && !turning)) {
        rollStep();
    } else if (!rollDue && !turning && !moveForward && !playerIsJumping && restsOnFace) {
        enableMovement = true;
        Velocity = Vec3();
    }

    if (jump) {
        jumpStep();
    }

    // The ball visibly rolls only while it steps forward, by the same angle every game step
    // whatever the frame rate, so that it never seems to slide.
    if (moveForward) {
        spinAngle += SPIN_PER_STEP;
        if (spinAngle > 360.0f) {
            spinAngle -= 360.0f;
        }
    }
}
