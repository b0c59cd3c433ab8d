// Keeping the ball on the cubes, deciding when it must roll, and collecting what it reaches.

#include "player/Player.h"

#include "level/Level.h"
#include "player/GameSounds.h"

namespace {

const float HALF_EDGE = 1.0f;         // cubes span their centre +- 1 on every axis
const float TOUCH_BAND = 0.01f;       // a resting ball keeps touching its face in every pass
// Squared distances from the ball's centre within which a die, the finish and a coin are
// taken, as float values widened to double. About 0.55 and 0.53 units: a ball passing the
// middle of a face comes within them even 0.1 off after a roll over an edge and sampled once
// a frame (0.1 of travel), while the middle of every other face stays more than a unit away.
const double DIE_REACH = 0.3f;
const double FINISH_REACH = 0.3f;
const double COIN_REACH = 0.28f;

bool within(float value, float centre)
{
    return centre - HALF_EDGE <= value && value <= centre + HALF_EDGE;
}

} // namespace

void Player::collideWithBlock(Cube& cube)
{
    const Vec3 b = cube.position;
    const float rest = HALF_EDGE + radius;           // centre-to-face distance at rest
    const float reach = HALF_EDGE + radius + TOUCH_BAND;

    for (CubeFace& face : cube.faces) {
        face.touched = false;
    }

    // The guards test the centre against the cube itself, not widened by the radius, so a
    // ball whose centre has passed an edge no longer rests on that cube. Axes z, x, y.
    if (within(Position.x, b.x) && within(Position.y, b.y)) {
        if (b.z < Position.z && Position.z < b.z + reach) {
            Position.z = b.z + rest;
            cube.faces[0].touched = true;
        }
        if (b.z - reach < Position.z && Position.z < b.z) {
            Position.z = b.z - rest;
            cube.faces[1].touched = true;
        }
    }
    if (within(Position.z, b.z) && within(Position.y, b.y)) {
        if (b.x - reach < Position.x && Position.x < b.x) {
            Position.x = b.x - rest;
            cube.faces[2].touched = true;
        }
        if (b.x < Position.x && Position.x < b.x + reach) {
            Position.x = b.x + rest;
            cube.faces[3].touched = true;
        }
    }
    if (within(Position.z, b.z) && within(Position.x, b.x)) {
        if (b.y - reach < Position.y && Position.y < b.y) {
            Position.y = b.y - rest;
            cube.faces[5].touched = true;
        }
        if (b.y < Position.y && Position.y < b.y + reach) {
            Position.y = b.y + rest;
            cube.faces[4].touched = true;
        }
    }
}

void Player::detectCollisions(Level& level, GameSounds& sounds)
{
    bool touchedAny = false;
    bool touchedOther = false;   // a face that is not under the ball: a wall or a ceiling
    restsOnFace = false;

    for (Cube& cube : level.cubes) {
        collideWithBlock(cube);
        for (const CubeFace& face : cube.faces) {
            if (face.touched) {
                touchedAny = true;
                if (face.normal == -Gravity) {
                    restsOnFace = true;
                } else {
                    touchedOther = true;
                }
            } else {
                // The pivot of an edge roll: the contact point snapped to the cube grid,
                // which lies on the edge the centre has just crossed.
                rotationPoint = (Position + Gravity * radius).snapToWhole();
                rotationVector = Position - rotationPoint;
            }
        }
    }

    // An airborne ball that stays against a wall is pushed onto it again in every frame;
    // the bounce belongs to the first contact only.
    if (touchedAny && playerIsJumping && !touchedLastPass) {
        sounds.playBounce();
    }
    touchedLastPass = touchedAny;
    // Only a face under the ball ends a jump. Against a wall the ball is still in the air
    // and falls on along it into the corner at its foot.
    if (restsOnFace) {
        playerIsJumping = false;
    }
    rollAroundEdge = !touchedAny;
    rollAroundWall = touchedOther && !playerIsJumping;
}

void Player::checkPickups(Level& level, GameSounds& sounds)
{
    if (lengthSquared(Position) > level.fallRadius * level.fallRadius) {
        reset(level.startPosition);
        sounds.playLose();
        return;
    }

    if (level.dice.empty()) {
        if (static_cast<double>(lengthSquared(Position - level.targetPosition)) < FINISH_REACH) {
            reset(level.startPosition);
            stageWon = true;
            sounds.playWin();
            return;
        }
    }

    for (auto die = level.dice.begin(); die != level.dice.end(); ++die) {
        if (static_cast<double>(lengthSquared(Position - *die)) < DIE_REACH) {
            sounds.playKey();
            level.dice.erase(die);
            break;
        }
    }

    for (auto coin = level.coins.begin(); coin != level.coins.end(); ++coin) {
        if (static_cast<double>(lengthSquared(Position - *coin)) < COIN_REACH) {
            sounds.playBonus();
            level.coins.erase(coin);
            break;
        }
    }
}
