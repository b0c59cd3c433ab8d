#pragma once
// The proven fastest time of every stage: the game steps (1/60 s) of the route the stage
// checker plays for it (tools/stagecheck/routes), shipped with the stages as
//
//   tumbrix-proven-times 1
//   stage 1 steps 164
//
// one line a stage in stage order, written by `stagecheck --save-times`. Medals are measured
// against it (progress/Medal.h).

#include "progress/Medal.h"

#include <map>
#include <string>

inline constexpr const char* PROVEN_TIMES_PATH = "data/levels/proven-times.txt";
inline constexpr const char* PROVEN_TIMES_HEADER = "tumbrix-proven-times 1";
inline constexpr int PROVEN_TIMES_MAX_STAGE = 100000;

class ProvenTimes {
public:
    // Reads the shipped file. A missing or unreadable file, or one with a wrong header, gives
    // one message and no proven times (every win is then bronze); a bad line is skipped with
    // a message naming file and line. False when nothing could be read. The file is the
    // game's own and is never moved or written here.
    bool load(const std::string& path);
    // The same on the bytes of a file named `name` in the messages.
    bool loadText(const std::string& text, const std::string& name);

    // Proven steps of `stage`, or 0 when it has none.
    int steps(int stage) const;
    void set(int stage, int steps);
    int count() const { return static_cast<int>(times.size()); }
    const std::map<int, int>& all() const { return times; }

    // Most steps that earn gold (silver) on `stage`, for the stage select to show; 0 when
    // the stage has no proven time.
    int goldTarget(int stage) const { return goldSteps(steps(stage)); }
    int silverTarget(int stage) const { return silverSteps(steps(stage)); }
    // The medal of a win of `stage` in `steps` (None for steps <= 0).
    Medal medalFor(int stage, int steps) const { return medalForSteps(steps, this->steps(stage)); }

    // The file's text: header, then the stages in order.
    std::string text() const;

private:
    std::map<int, int> times;   // stage: steps
};
