#pragma once
// A recorded run of one stage and its text file: which keys reached the game at which game
// step, and what the run achieved, so that the run can be played again exactly and checked.
//
//   tumbrix-replay 1
//   game 1.0.0
//   stage 7
//   stage-sha1 <40 lowercase hex digits: the SHA-1 of the stage file's bytes>
//   finish 1234
//   score 1520
//   coins 2
//   start-left 0x1.2cp+5
//   finish-left 0x1.b8p+3
//   events 3
//   0 release 13
//   12 press 357
//   40 release 357
//   end
//
// One item a line, in this order, '\n' or "\r\n" line ends. Floats are C hex floats, so they
// read back bit for bit. An event line is "<step> press|release <key>": the key reached the
// game after `step` play steps had run since the stage started (it is handed over before
// step `step`, counted from 0), in file order within a step.

#include <string>
#include <vector>

inline constexpr int REPLAY_FORMAT_VERSION = 1;
// A run is at most four hours of steps and a hundred thousand key events: beyond any stage's
// limit, and it keeps a file below REPLAY_MAX_BYTES.
inline constexpr int REPLAY_MAX_STEPS = 60 * 60 * 60 * 4;
inline constexpr int REPLAY_MAX_EVENTS = 100000;
inline constexpr int REPLAY_MAX_KEY = 511;         // letters, Enter, Space, and the arrows at 356 to 359
inline constexpr int REPLAY_MAX_STAGE = 1000000;
inline constexpr int REPLAY_MAX_COINS = 1000000;
inline constexpr long REPLAY_MAX_BYTES = 4L * 1024 * 1024;

struct ReplayEvent {
    int step = 0;        // play steps run before the key reached the game
    bool press = true;   // false: released
    int key = 0;         // as handed to the rules: letters lowercase, 13 Enter, 32 Space, 356 to 359 arrows

    bool operator==(const ReplayEvent&) const = default;
};

struct ReplayData {
    int formatVersion = REPLAY_FORMAT_VERSION;
    std::string gameVersion;   // of the game that recorded it (GAME_VERSION)
    int stage = 1;
    std::string stageDigest;   // stageDigest() of the stage file played
    int finishStep = 0;        // steps run when the ball won, the winning step included
    int score = 0;             // the stage's score: stagerules::stageScore(finishLeft, coins)
    int coins = 0;             // coins taken
    float startLeft = 0.0f;    // seconds on the clock as step 0 saw it (loading already charged)
    float finishLeft = 0.0f;   // seconds on the clock in the winning step
    std::vector<ReplayEvent> events;   // steps non-decreasing

    bool operator==(const ReplayData&) const = default;
};

// The file's text for `data`, always in format REPLAY_FORMAT_VERSION.
std::string replayText(const ReplayData& data);

// Reads the text of a replay file. False, with `data` unchanged and `problem` naming the line
// and what stopped making sense ("line 5: expected 'finish <step>', found 'fnish 9'"), when
// anything is missing, out of its limits, out of order, or follows the end line.
bool readReplay(const std::string& bytes, ReplayData& data, std::string& problem);

// The same from a file of at most REPLAY_MAX_BYTES; `problem` then starts with
// "replay: [path] ". Prints nothing: the caller says what it does about it.
bool readReplayFile(const std::string& path, ReplayData& data, std::string& problem);

// Writes the file atomically (replaceFileAtomically), making its folder first. False, with one
// error line on the console, when the folder or the file cannot be written (a read-only
// folder, a full disk); an older file of that name is then left as it was.
bool writeReplayFile(const std::string& path, const ReplayData& data);

// The SHA-1 of a stage file's bytes as 40 lowercase hex digits.
std::string stageDigest(const std::string& bytes);
// The digest of the file at `path`; false when it cannot be read (or is absurdly big).
bool stageFileDigest(const std::string& path, std::string& digest);
