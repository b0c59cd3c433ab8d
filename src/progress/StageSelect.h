#pragma once
// The stage select screen's state, without drawing: a page a world of ten stages and a
// cursor on one stage of it. Left and right turn the page, up and down move the cursor; both
// stop at the ends (no wrapping). Stages above the one the save has reached are locked; the
// screen shows them and refuses to start them.

#include "progress/Medal.h"

class ProvenTimes;
class Records;

struct WorldMedals {
    int gold = 0;     // stages of the world whose best time earns gold
    int silver = 0;   // ... silver (gold not counted again)
    int bronze = 0;   // ... bronze only
    int stages = 0;   // stages in the world
};

class StageSelect {
public:
    explicit StageSelect(int stageCount = 0);

    // Keeps the cursor where it is when it still names a stage, else on the last stage.
    void setStageCount(int stageCount);
    int stageCount() const { return stages; }
    int worldCount() const;

    int world() const;        // page shown, from 1; 0 when there are no stages
    int stage() const;        // stage under the cursor, from 1; 0 when there are no stages
    int firstStage() const;   // first and last stage of the page shown
    int lastStage() const;

    // The page before or after, the cursor on the same place of the page (or the page's last
    // stage when the last world is shorter).
    void left();
    void right();
    // The stage before or after on the same page.
    void up();
    void down();
    // Puts the cursor on `stage` (clamped to 1..stageCount) and shows its page.
    void select(int stage);

    // A stage is locked while it lies beyond `reachedStage`, the stage the save plays next;
    // the first stage never is.
    static bool locked(int stage, int reachedStage) { return stage > 1 && stage > reachedStage; }

    // The medal of `stage` from its best time.
    static Medal medalOf(int stage, const Records& records, const ProvenTimes& proven);
    // The medals won on world `world`'s stages.
    WorldMedals medals(int world, const Records& records, const ProvenTimes& proven) const;

private:
    int stages = 0;
    int cursor = 0;   // stage under the cursor; 0 with no stages
};
