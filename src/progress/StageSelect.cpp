#include "progress/StageSelect.h"

#include "progress/ProvenTimes.h"
#include "progress/Records.h"
#include "progress/Worlds.h"

#include <algorithm>

StageSelect::StageSelect(int stageCount)
{
    setStageCount(stageCount);
}

void StageSelect::setStageCount(int stageCount)
{
    stages = std::max(stageCount, 0);
    cursor = stages == 0 ? 0 : std::clamp(cursor, 1, stages);
}

int StageSelect::worldCount() const
{
    return Worlds::worldCount(stages);
}

int StageSelect::world() const
{
    return stages == 0 ? 0 : Worlds::worldOf(cursor);
}

int StageSelect::stage() const
{
    return cursor;
}

int StageSelect::firstStage() const
{
    return stages == 0 ? 0 : Worlds::firstStage(world());
}

int StageSelect::lastStage() const
{
    return stages == 0 ? 0 : std::min(firstStage() + STAGES_PER_WORLD - 1, stages);
}

void StageSelect::left()
{
    if (world() > 1) {
        select(cursor - STAGES_PER_WORLD);
    }
}

void StageSelect::right()
{
    if (world() < worldCount()) {
        select(cursor + STAGES_PER_WORLD);
    }
}

void StageSelect::up()
{
    if (cursor > firstStage()) {
        --cursor;
    }
}

void StageSelect::down()
{
    if (cursor < lastStage()) {
        ++cursor;
    }
}

void StageSelect::select(int stage)
{
    cursor = stages == 0 ? 0 : std::clamp(stage, 1, stages);
}

Medal StageSelect::medalOf(int stage, const Records& records, const ProvenTimes& proven)
{
    const StageRecord* record = records.find(stage);
    return record == nullptr ? Medal::None : proven.medalFor(stage, record->bestSteps);
}

WorldMedals StageSelect::medals(int world, const Records& records, const ProvenTimes& proven) const
{
    WorldMedals counts;
    if (world < 1 || world > worldCount()) {
        return counts;
    }
    const int first = Worlds::firstStage(world);
    const int last = std::min(first + STAGES_PER_WORLD - 1, stages);
    counts.stages = last - first + 1;
    for (int stage = first; stage <= last; ++stage) {
        switch (medalOf(stage, records, proven)) {
        case Medal::Gold:
            ++counts.gold;
            break;
        case Medal::Silver:
            ++counts.silver;
            break;
        case Medal::Bronze:
            ++counts.bronze;
            break;
        case Medal::None:
            break;
        }
    }
    return counts;
}
