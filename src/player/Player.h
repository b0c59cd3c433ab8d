#pragma once
// The ball the user steers. It moves in whole actions (a quarter turn, a step of one cube, a
// jump), each animated over 20 frames with fixed increments per frame, and rolls over cube
// edges and up walls, turning its own down direction (Gravity) with it. The application
// starts actions by setting the input flags while enableMovement is true and reads the stage
// flags; everything is public on purpose, the flags are the channel between them.
//
// Units: world units (half a cube edge), degrees for angles, one call of update per frame.

#include "level/DisplayList.h"
#include "level/MipmapTexture.h"
#include "media/ofImage.h"
#include "player/Quaternion.h"
#include "player/Vec3.h"

struct Cube;
class GameSounds;
class Level;

class Player {
public:
    // Needs a current GL context (the ball texture's name is generated here).
    explicit Player(const Vec3& startPosition);
    Player(const Player&) = delete;
    Player& operator=(const Player&) = delete;

    // Puts the ball idle at startPosition with gravity along -z and heading +y, clears the
    // stage flags, and reloads and uploads the ball picture "soccer.png".
    void reset(const Vec3& startPosition);
    // One frame: pickups, heading frame, integration, the running action, collisions, rolls.
    void update(Level& level, GameSounds& sounds);
    void draw();

    // Movement (PlayerMovement.cpp).
    void turnStep();
    void forwardStep();
    void rollStep();
    void jumpStep();

    // Collision and pickups (PlayerCollision.cpp).
    void detectCollisions(Level& level, GameSounds& sounds);
    void collideWithBlock(Cube& cube);
    void checkPickups(Level& level, GameSounds& sounds);

    ofImage ballImage;
    MipmapTexture ballTexture;
    float heading = 90.0f;        // degrees within the current face; 0 is the local x axis
    Vec3 Position;                // centre of the ball
    Vec3 Front;                   // unit heading, derived every frame
    Vec3 Left;                    // unit vector to the ball's left, derived every frame
    Vec3 Velocity;                // displacement per frame is Velocity * 0.05
    bool detectCollision = true;
    bool animateRotation = false; // a roll is being animated; only the roll moves the ball
    bool rollAroundEdge = false;  // no face holds the ball: roll over the edge
    bool rollAroundWall = false;  // not airborne, the ball touches a face not under it: climb it
    bool playerIsJumping = false; // airborne after a jump until it lands on a face under it
    int actionFrame = 0;          // 0..20 within the current turn, step or jump
    int rollFrame = 0;            // 0..20 within the current roll
    float StepSize = 2.0f;        // length of the current step, or forward speed of a jump
    Vec3 rotationVector;          // from the roll pivot to the ball's centre
    Vec3 rotationPoint;           // pivot of a roll over an edge, on the cube grid
    Quaternion orientation;       // product of every roll since reset, newest on the left
    Quaternion stepRotation;      // rotation of one roll frame
    float spinAngle = 0.0f;       // degrees the ball is drawn turned about Left
    static constexpr float SPIN_PER_STEP = 7.0f;   // degrees a game step of a forward step adds
    bool stageRunning = false;
    bool stageWon = false;
    bool moveForward = false;
    bool turnLeft = false;
    bool turnRight = false;
    bool jump = false;
    bool enableMovement = true;   // idle: the application may start one action
    float radius = 0.35f;
    Vec3 Gravity;                 // unit down direction, always an axis direction
    // The last collision pass, in this frame, found a face under the ball (its normal against
    // Gravity). Only then is the ball ready for a key, and only such a face ends a jump.
    bool restsOnFace = false;
    // The last collision pass found the ball against some face. An airborne ball that stays
    // against a wall is pushed onto it again in every frame of its jump; the bounce sound
    // belongs to the first contact only, not to each of those frames.
    bool touchedLastPass = false;
    // draw() replays the ball's sphere from a display list; false tessellates it every frame
    // (the same picture, kept to compare with).
    bool compiledDrawing = true;
    // Colour the picture is drawn with, and its opacity (a ghost ball is tinted and
    // translucent; the player's own ball is white and opaque).
    Vec3 tint{1.0f, 1.0f, 1.0f};
    float alpha = 1.0f;

private:
    // Sends the ball's textured sphere of `sphereRadius` around the current origin.
    static void sendSphere(float sphereRadius);

    DisplayList ballSphere;          // sendSphere(ballSphereRadius), compiled
    float ballSphereRadius = 0.0f;
};
