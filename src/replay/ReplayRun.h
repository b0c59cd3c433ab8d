#pragma once
// Plays a recorded run again without a window: the same rules, in the same order, as the
// game's steps, so the ball goes exactly where it went when the run was recorded. Also
// gives the path of a ghost ball, through the watch.

#include "replay/ReplayFile.h"

#include <functional>

class GameSounds;
class Level;
class Player;

enum class ReplayEnd {
    Won,        // the ball reached the finish
    TimedOut,   // the clock ran out
    Fell,       // the ball left the stage (or the stage stopped running otherwise)
    TooLong,    // still running REPLAY_OVERRUN_STEPS steps after the file's finish step
};

struct ReplayOutcome {
    ReplayEnd end = ReplayEnd::TooLong;
    int steps = 0;              // steps run, the last one included
    int diceTaken = 0;
    int coinsTaken = 0;
    bool allDice = false;       // no die was left lying
    float finishLeft = 0.0f;    // replayTimeLeft of the last step run
    int score = 0;              // stagerules::stageScore(finishLeft, coinsTaken); 0 unless Won
};

// Steps a replay may run beyond its file's finish step before it is given up: ten seconds.
inline constexpr int REPLAY_OVERRUN_STEPS = 600;

// Seconds on the clock in step `step` (from 0) of a run whose step 0 saw `startLeft`:
// exactly the float expression startLeft - static_cast<float>(step) / 60.0f, the same for
// the recorder's check, the replay and the ghost.
float replayTimeLeft(float startLeft, int step);

// Called after every step with the step's number (from 0) and the ball after it.
using ReplayWatch = std::function<void(int step, const Player& player)>;

// Plays `replay` on `level`, which holds the loaded stage with all its dice and coins: the
// ball reset to the start and running, a fresh PlayInput, then for each step the events
// stamped with it (press: stagerules::pressKey, release: releaseKey), Level::update and
// stagerules::step. Ends at a win, a time-out, a fall, or REPLAY_OVERRUN_STEPS past the
// file's finish step. The dice and coins taken, and the spin, are put back afterwards, so the
// level can be played again; `sounds` may be an unloaded, silent GameSounds.
ReplayOutcome runReplay(const ReplayData& replay, Level& level, Player& player, GameSounds& sounds,
                        const ReplayWatch& watch = {});
