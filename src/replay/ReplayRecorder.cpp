#include "replay/ReplayRecorder.h"

#include "replay/GameVersion.h"

#include <cmath>
#include <vector>

namespace {

constexpr std::size_t EVENTS_RESERVED = 512;   // a long stage's presses and releases

} // namespace

void ReplayRecorder::begin(int stage, const std::string& stageDigest, float startLeft)
{
    data = ReplayData{};
    data.gameVersion = GAME_VERSION;
    data.stage = stage;
    data.stageDigest = stageDigest;
    data.startLeft = startLeft;
    data.events.reserve(EVENTS_RESERVED);
    active = true;
    brokenBecause.clear();
}

void ReplayRecorder::setStartLeft(float startLeft)
{
    data.startLeft = startLeft;
}

void ReplayRecorder::press(int step, int key)
{
    add(step, true, key);
}

void ReplayRecorder::release(int step, int key)
{
    add(step, false, key);
}

void ReplayRecorder::add(int step, bool press, int key)
{
    if (!active || !brokenBecause.empty()) {
        return;
    }
    if (step < 0 || step > REPLAY_MAX_STEPS) {
        breakOff("the run went on past " + std::to_string(REPLAY_MAX_STEPS) + " steps");
    } else if (!data.events.empty() && step < data.events.back().step) {
        breakOff("a key came at step " + std::to_string(step) + ", after one at step " +
                 std::to_string(data.events.back().step));
    } else if (key < 0 || key > REPLAY_MAX_KEY) {
        breakOff("key code " + std::to_string(key) + " is outside 0 to " + std::to_string(REPLAY_MAX_KEY));
    } else if (data.events.size() >= static_cast<std::size_t>(REPLAY_MAX_EVENTS)) {
        breakOff("more than " + std::to_string(REPLAY_MAX_EVENTS) + " key events");
    } else {
        data.events.push_back({step, press, key});
    }
}

void ReplayRecorder::breakOff(const std::string& why)
{
    brokenBecause = why;
    std::vector<ReplayEvent>().swap(data.events);
}

std::optional<ReplayData> ReplayRecorder::finish(int step, int score, int coins, float finishLeft)
{
    if (!active) {
        return std::nullopt;
    }
    active = false;
    if (brokenBecause.empty() && (step < 1 || step > REPLAY_MAX_STEPS)) {
        breakOff("the finish step " + std::to_string(step) + " is outside 1 to " + std::to_string(REPLAY_MAX_STEPS));
    }
    if (brokenBecause.empty() && !data.events.empty() && data.events.back().step > step) {
        breakOff("a key came at step " + std::to_string(data.events.back().step) + ", after the finish at step " +
                 std::to_string(step));
    }
    if (brokenBecause.empty() && (coins < 0 || coins > REPLAY_MAX_COINS)) {
        breakOff(std::to_string(coins) + " coins");
    }
    if (brokenBecause.empty() && !(std::isfinite(data.startLeft) && std::isfinite(finishLeft))) {
        breakOff("the clock is not a finite number of seconds");
    }
    if (!brokenBecause.empty()) {
        return std::nullopt;
    }
    data.finishStep = step;
    data.score = score;
    data.coins = coins;
    data.finishLeft = finishLeft;
    ReplayData done = std::move(data);
    data = ReplayData{};
    return done;
}

void ReplayRecorder::abandon()
{
    active = false;
    data = ReplayData{};
    brokenBecause.clear();
}
