#pragma once
// Medals of a stage, earned by the best time against the stage's proven fastest time (the
// stage checker's route, in game steps). One rule for every stage: gold within 10 % of the
// proven time, silver within 50 %, bronze for any win.

#include <algorithm>
#include <climits>

enum class Medal { None, Bronze, Silver, Gold };

// Most steps that still earn gold (silver) against `provenSteps`; 0 when no time is proven.
constexpr int goldSteps(int provenSteps)
{
    return provenSteps > 0 ? static_cast<int>(std::min<long long>(static_cast<long long>(provenSteps) * 11 / 10, INT_MAX)) : 0;
}
constexpr int silverSteps(int provenSteps)
{
    return provenSteps > 0 ? static_cast<int>(std::min<long long>(static_cast<long long>(provenSteps) * 3 / 2, INT_MAX)) : 0;
}

// The medal of a win in `steps` (none for steps <= 0, no win); without a proven time a win
// is bronze.
constexpr Medal medalForSteps(int steps, int provenSteps)
{
    if (steps <= 0) {
        return Medal::None;
    }
    if (provenSteps > 0 && steps <= goldSteps(provenSteps)) {
        return Medal::Gold;
    }
    if (provenSteps > 0 && steps <= silverSteps(provenSteps)) {
        return Medal::Silver;
    }
    return Medal::Bronze;
}

constexpr const char* medalName(Medal medal)
{
    switch (medal) {
    case Medal::Gold:
        return "gold";
    case Medal::Silver:
        return "silver";
    case Medal::Bronze:
        return "bronze";
    case Medal::None:
        break;
    }
    return "none";
}
