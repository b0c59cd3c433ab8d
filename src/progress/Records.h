#pragma once
// The player's records of every stage: the fastest finish in game steps and the best stage
// score, each with the moment it was set. Kept beside the save in a text file:
//
//   tumbrix-records 1
//   stage 12 time 1234 1765300000 score 1130 1765300000
//
// one line a stage won at least once: stage number, "time", best steps and when (unix
// seconds), "score", best score and when. Read with the policy of every file beside the save
// (progress/SideFile.h), written whole with replaceFileAtomically.

#include "progress/SideFile.h"

#include <map>
#include <string>

inline constexpr const char* RECORDS_FILE_PATH = "data/records.txt";
inline constexpr const char* RECORDS_HEADER = "tumbrix-records 1";
// Highest stage number a record line may name; the stages themselves end at the first number
// without a file, far below this.
inline constexpr int RECORDS_MAX_STAGE = 100000;

struct StageRecord {
    int bestSteps = 0;            // game steps (1/60 s) of the fastest finish, at least 1
    long long bestStepsAt = 0;    // unix seconds
    int bestScore = 0;            // the tally's score of the stage
    long long bestScoreAt = 0;    // unix seconds
};

// What one win changed.
struct RecordWin {
    bool firstWin = false;        // the stage had no record before
    bool newBestTime = false;     // fewer steps than the best before (also on the first win)
    bool newBestScore = false;    // a higher score than the best before (also on the first win)
    int previousBestSteps = 0;    // 0 when there was none
    int previousBestScore = 0;    // 0 when there was none

    bool improved() const { return newBestTime || newBestScore; }
};

class Records {
public:
    // Reads `path`. No file: no records, silently. A bad line (a stage number below 1 or
    // above RECORDS_MAX_STAGE, a bad number, a second line for one stage, junk) is skipped
    // with a message naming file and line, and the good lines are written back at once. A
    // file that cannot be read at all is kept aside under a new name and the game goes on
    // with no records (readSideFile says so). What was held before is replaced in every case.
    //
    // Records of stages above `stageCount` (a player's own stage whose file is missing for
    // now) are kept and written back, not dropped: they count again once the stage returns.
    SideFileResult load(const std::string& path, int stageCount);

    // Writes every record to `path` as a whole. False with one message when it cannot (a
    // read-only folder, or an unreadable file at `path` that could not be moved aside and
    // must not be overwritten).
    bool save(const std::string& path) const;

    // Takes a win of `stage` in `steps` game steps with `score`, at `unixTime`; the fewer steps
    // and the higher score are kept, each independently, with the moment each was set. A stage
    // outside 1..RECORDS_MAX_STAGE or steps below 1 change nothing.
    RecordWin recordWin(int stage, int steps, int score, long long unixTime);

    // The record of `stage`, or null when it was never won.
    const StageRecord* find(int stage) const;
    const std::map<int, StageRecord>& all() const { return records; }
    int stageCount() const { return stages; }
    void clear() { records.clear(); }

    // The file's text: the header, then one line a stage in stage order, each ending in '\n'.
    std::string recordsText() const;
    // Reads `text` as load() reads a file, without messages: false (and no records) when the
    // header is wrong; else the number of bad lines skipped goes to `skipped`.
    bool parseText(const std::string& text, int stageCount, int& skipped);

private:
    // Adds the record of one line; returns what is wrong with it, or "".
    std::string parseLine(const std::string& line);

    std::map<int, StageRecord> records;
    int stages = 0;                // stage count the game has
    bool mayWrite = true;          // false while an unreadable file could not be moved aside
    std::string keptPath;          // that file
};

// "12.34": steps as seconds to the hundredth, for the tally and the stage select.
std::string stepsAsSeconds(int steps);
