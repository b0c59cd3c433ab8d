#pragma once
// The records file the kill test's writer saves in round n, shared by the writer and the
// test: a record for each of a hundred stages, every value a function of n, so the test can
// tell which round a file holds and whether it holds it whole.

#include "progress/Records.h"

inline constexpr int KILL_RECORD_STAGES = 100;

inline Records recordsOfRound(int round)
{
    Records records;
    for (int stage = 1; stage <= KILL_RECORD_STAGES; ++stage) {
        records.recordWin(stage, 1000000 - round, round * 10 + stage, round);
    }
    return records;
}
