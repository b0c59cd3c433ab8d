#include "replay/ReplayRun.h"

#include "level/Level.h"
#include "player/GameSounds.h"
#include "player/Player.h"
#include "replay/StageRules.h"

#include <algorithm>
#include <list>

float replayTimeLeft(float startLeft, int step)
{
    return startLeft - static_cast<float>(step) / 60.0f;
}

ReplayOutcome runReplay(const ReplayData& replay, Level& level, Player& player, GameSounds& sounds,
                        const ReplayWatch& watch)
{
    ReplayOutcome outcome;
    const std::list<Vec3> dice = level.dice;
    const std::list<Vec3> coins = level.coins;
    const int angle = level.collectibleAngle;

    // As the game starts a stage.
    player.reset(level.startPosition);
    player.stageRunning = true;
    bool playing = true;
    PlayInput input;

    const int lastStep = std::min(replay.finishStep, REPLAY_MAX_STEPS) + REPLAY_OVERRUN_STEPS;
    std::size_t next = 0;
    for (int step = 0; step < lastStep; ++step) {
        for (; next < replay.events.size() && replay.events[next].step <= step; ++next) {
            const ReplayEvent& event = replay.events[next];
            if (event.step < step) {
                continue;   // out of order: not from a file readReplay accepted
            }
            if (event.press) {
                stagerules::pressKey(player, input, event.key);
                input.lookAround = false;   // the camera's business, not the ball's
            } else {
                stagerules::releaseKey(input);
            }
        }
        const float timeLeft = replayTimeLeft(replay.startLeft, step);
        level.update();
        const stagerules::StepEnd end = stagerules::step(level, player, sounds, input, playing, timeLeft);
        outcome.steps = step + 1;
        outcome.finishLeft = timeLeft;
        if (watch) {
            watch(step, player);
        }
        if (end == stagerules::StepEnd::Won) {
            outcome.end = ReplayEnd::Won;
            break;
        }
        if (end == stagerules::StepEnd::TimedOut) {
            outcome.end = ReplayEnd::TimedOut;
            break;
        }
        if (end == stagerules::StepEnd::Ended) {
            outcome.end = ReplayEnd::Fell;
            break;
        }
    }

    outcome.diceTaken = static_cast<int>(dice.size()) - level.remainingDice();
    outcome.coinsTaken = static_cast<int>(coins.size()) - level.remainingCoins();
    outcome.allDice = level.remainingDice() == 0;
    if (outcome.end == ReplayEnd::Won) {
        outcome.score = stagerules::stageScore(outcome.finishLeft, outcome.coinsTaken);
    }
    level.dice = dice;
    level.coins = coins;
    level.collectibleAngle = angle;
    return outcome;
}
