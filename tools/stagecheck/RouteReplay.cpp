#include "RouteReplay.h"

#include "level/Level.h"
#include "player/GameSounds.h"
#include "player/Player.h"

namespace {

constexpr int MAX_ACTION_FRAMES = 3000;   // 50 s: an action that has not ended by then never will

} // namespace

Replay replayRoute(Player& player, Level& level, GameSounds& sounds, const std::vector<BallAction>& actions,
                   const FrameWatch& watch)
{
    Replay replay;
    const std::list<Vec3> dice = level.dice;
    const std::list<Vec3> coins = level.coins;
    player.reset(level.startPosition);
    player.stageRunning = true;
    const std::size_t diceAtStart = level.dice.size();
    const std::size_t coinsAtStart = level.coins.size();
    if (watch) {
        watch(player);
    }

    for (BallAction action : actions) {
        if (!player.enableMovement) {
            replay.keyRefused = true;
            break;
        }
        ReplayedStep step;
        step.action = action;
        step.startFrame = replay.frames;
        const Vec3 gravityBefore = player.Gravity;
        const std::size_t dice = level.dice.size();
        const std::size_t coins = level.coins.size();
        pressKey(player, action);
        for (int frame = 0; frame < MAX_ACTION_FRAMES; ++frame) {
            player.update(level, sounds);
            ++replay.frames;
            if (watch) {
                watch(player);
            }
            if (player.stageWon) {
                replay.won = true;
                break;
            }
            if (!player.stageRunning) {
                replay.fell = true;
                break;
            }
            if (player.enableMovement) {
                break;
            }
        }
        step.frames = replay.frames - step.startFrame;
        step.diceTaken = static_cast<int>(dice - level.dice.size());
        step.coinsTaken = static_cast<int>(coins - level.coins.size());
        step.positionAfter = player.Position;
        step.gravityAfter = player.Gravity;
        step.gravityTurned = !replay.won && gravityBefore != player.Gravity;
        replay.steps.push_back(step);
        if (replay.won || replay.fell) {
            break;
        }
    }
    replay.diceTaken = static_cast<int>(diceAtStart - level.dice.size());
    replay.coinsTaken = static_cast<int>(coinsAtStart - level.coins.size());
    level.dice = dice;
    level.coins = coins;
    return replay;
}
