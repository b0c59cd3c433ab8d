// Feeds arbitrary bytes to the replay file reader. Besides the sanitizers it checks what a
// replayer relies on: a failed read leaves the data as it was; a successful one holds values
// within the format's limits, with steps in order and none past the finish, and survives being
// written and read back bit for bit.
#include "replay/ReplayFile.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace {

void require(bool condition)
{
    if (!condition) {
        __builtin_trap();
    }
}

bool sameBits(float a, float b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    ReplayData read;
    read.stage = -5;
    read.events.push_back({3, true, 7});
    const ReplayData before = read;
    std::string problem;
    if (!readReplay(bytes, read, problem)) {
        require(read == before && sameBits(read.startLeft, before.startLeft));
        require(problem.rfind("line ", 0) == 0);
        return 0;
    }
    require(problem.empty());
    require(read.stage >= 1 && read.stage <= REPLAY_MAX_STAGE);
    require(read.finishStep >= 1 && read.finishStep <= REPLAY_MAX_STEPS);
    require(read.coins >= 0 && read.coins <= REPLAY_MAX_COINS);
    require(std::isfinite(read.startLeft) && std::isfinite(read.finishLeft));
    require(read.stageDigest.size() == 40);
    require(read.events.size() <= static_cast<std::size_t>(REPLAY_MAX_EVENTS));
    int last = 0;
    for (const ReplayEvent& e : read.events) {
        require(e.step >= last && e.step <= read.finishStep && e.key >= 0 && e.key <= REPLAY_MAX_KEY);
        last = e.step;
    }
    ReplayData again;
    require(readReplay(replayText(read), again, problem));
    require(again == read && sameBits(again.startLeft, read.startLeft) && sameBits(again.finishLeft, read.finishLeft));
    return 0;
}
