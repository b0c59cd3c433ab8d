#pragma once
// A ghost of a recorded run: a translucent ball that follows the run step by step, through
// the same rolls and turns, but is only drawn. Its path is played out once, when a race
// starts, on the stage being raced with a ball of its own, so it collides with nothing in the
// race, collects nothing and cannot be touched.

#include "player/Vec3.h"
#include "replay/ReplayFile.h"

#include <vector>

class GameSounds;
class Level;
class Player;

class Ghost {
public:
    // Plays `replay` out on `level` (loaded, every die and coin lying; they are put back) with
    // `ball`, keeping where the ball was after every step. False, with the ghost empty, when
    // the run does not reach the finish on this stage.
    bool build(const ReplayData& replay, Level& level, Player& ball, GameSounds& silent);
    void clear();
    bool ready() const { return !poses.empty(); }
    // Steps the recorded run took to the finish.
    int finishStep() const { return finish; }
    // Draws `ball` where the run was after `step` steps (at the start before the first, at
    // the finish after the last), tinted and translucent, without writing depth, so the
    // player's ball shows through it.
    void draw(int step, Player& ball) const;

private:
    struct Pose {
        Vec3 position;
        Vec3 left;
        float spin = 0.0f;
    };
    std::vector<Pose> poses;   // [0] the start, [n] after step n
    int finish = 0;
};
