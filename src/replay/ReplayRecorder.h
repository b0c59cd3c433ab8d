#pragma once
// Records a run of one stage while it is played: the keys that reached the game, stamped
// with the play steps run since the stage started, and at the win what the run achieved.
// Everything stays in memory until finish().

#include "replay/ReplayFile.h"

#include <optional>
#include <string>

class ReplayRecorder {
public:
    // Starts recording `stage` (its file's stageDigest), forgetting any earlier recording.
    // `startLeft`: seconds on the clock as step 0 sees it; when that is only known at the
    // first step, pass anything here and call setStartLeft then.
    void begin(int stage, const std::string& stageDigest, float startLeft);
    void setStartLeft(float startLeft);

    // A key handed to the rules before step `step` (play steps already run).
    void press(int step, int key);
    void release(int step, int key);

    // The recording of a run won after `step` steps (the winning one included), ending it.
    // Nothing when no recording runs or when it broke off (see problem()).
    std::optional<ReplayData> finish(int step, int score, int coins, float finishLeft);
    // Ends a recording without a replay (the stage was left, lost or timed out).
    void abandon();

    bool recording() const { return active; }
    // Why the running recording will not give a replay, or "": more than REPLAY_MAX_EVENTS
    // events or REPLAY_MAX_STEPS steps (a stage held open for hours), a key code outside 0 to
    // REPLAY_MAX_KEY, or a step before the last one recorded. Past that point it keeps no
    // more events and frees those it had, so memory stays bounded.
    const std::string& problem() const { return brokenBecause; }

private:
    void add(int step, bool press, int key);
    void breakOff(const std::string& why);

    ReplayData data;
    bool active = false;
    std::string brokenBecause;
};
