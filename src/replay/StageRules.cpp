#include "replay/StageRules.h"

#include "level/Level.h"
#include "player/GameSounds.h"
#include "player/Player.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace stagerules {

bool pressKey(Player& player, PlayInput& input, int key)
{
    if (!player.enableMovement) {
        return false;
    }
    player.enableMovement = false;
    control(player, input, key);
    return true;
}

void control(Player& player, PlayInput& input, int key)
{
    switch (key) {
    case KEY_ENTER: player.jump = true; break;
    case KEY_SPACE: input.lookAround = true; break;
    case KEY_LEFT: player.turnLeft = true; break;
    case KEY_UP:
        input.upHeld = true;
        player.moveForward = true;
        break;
    case KEY_RIGHT: player.turnRight = true; break;
    default: break;
    }
}

void releaseKey(PlayInput& input)
{
    input.upHeld = false;
}

StepEnd step(Level& level, Player& player, GameSounds& sounds, PlayInput& input, bool& playing, float timeLeft)
{
    // While up is held, every time the ball is ready again it takes the next step by itself.
    if (input.upHeld && !player.stageWon && playing && player.enableMovement) {
        player.enableMovement = false;
        control(player, input, KEY_UP);
    }
    // A stage ends only once its time is strictly below zero.
    bool timedOut = false;
    if (playing && !player.stageWon && timeLeft < 0.0f) {
        sounds.playLose();
        player.reset(level.startPosition);
        timedOut = true;
    }
    playing = player.stageRunning;
    if (!playing) {
        return timedOut ? StepEnd::TimedOut : StepEnd::Ended;
    }
    if (player.stageWon) {
        return StepEnd::Won;
    }
    player.update(level, sounds);
    return player.stageWon ? StepEnd::Won : StepEnd::Running;
}

int stageScore(float timeLeft, int coins)
{
    // As the tally computes it: whole seconds, truncated toward zero and clamped like the
    // display's, so a stage file's huge limit cannot overflow the score.
    constexpr float MAX_WHOLE_SECONDS = 200000000.0f;
    const long whole = static_cast<long>(std::clamp(std::trunc(timeLeft), -MAX_WHOLE_SECONDS, MAX_WHOLE_SECONDS));
    const long score = whole * 10 + static_cast<long>(coins) * 100;
    return static_cast<int>(std::clamp(score, static_cast<long>(INT_MIN), static_cast<long>(INT_MAX)));
}

} // namespace stagerules
