#include "player/Player.h"

#include "level/Level.h"
#include "media/ofUtils.h"
#include "player/GameSounds.h"

#include <GL/gl.h>

#include <cmath>
#include <numbers>

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
        Gravity.snapToWhole();
    }

    if (!animateRotation) {
        Position = Position + Velocity * 0.05f;
        Velocity = Velocity + Gravity * 0.1f;
    }

    if (turnLeft || turnRight) {
        turnStep();
    }
    if (moveForward) {
        forwardStep();
    }
    if (detectCollision) {
        detectCollisions(level, sounds);
    }

    if ((rollAroundWall || rollAroundEdge) && !playerIsJumping) {
        rollStep();
    } else if (!turnLeft && !turnRight && !moveForward && !playerIsJumping) {
        enableMovement = true;
        Velocity = Vec3();
    }

    if (jump) {
        jumpStep();
    }
}
