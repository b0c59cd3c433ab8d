// Fixed game steps fed by a fake clock: updates per drawn frame, game time against wall
// time, and what a stage clock reading the game time is charged, at the frame rates players
// meet.
#include "media/ofFixedStep.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>

namespace {

constexpr double STEP = 1.0 / 60.0;

struct Played {
    std::map<int, int> framesWithSteps;   // updates in a frame -> frames that had that many
    int frames = 0;
    int steps = 0;
    double wallSeconds = 0.0;
    double gameSeconds = 0.0;             // game clock gained over the run
    double droppedSeconds = 0.0;
};

// Draws frames whose durations come from `frameSeconds`(frame index) for `wallSeconds` of
// wall time, running the steps each frame is due, as the window loop does.
Played play(const std::function<double(int)>& frameSeconds, double wallSeconds, double startWall = 100.0)
{
    ofFixedStep clock(60);
    clock.start(startWall);
    const double game0 = clock.gameSeconds();
    Played out;
    double wall = startWall;
    for (int frame = 0; wall - startWall < wallSeconds; ++frame) {
        wall += frameSeconds(frame);
        const int steps = clock.stepsFor(wall);
        for (int i = 0; i < steps; ++i) {
            clock.step();
        }
        out.framesWithSteps[steps] += 1;
        out.frames += 1;
        out.steps += steps;
    }
    out.wallSeconds = wall - startWall;
    out.gameSeconds = clock.gameSeconds() - game0;
    out.droppedSeconds = clock.droppedSeconds();
    return out;
}

std::string histogram(const Played& p)
{
    std::string s;
    for (const auto& [steps, frames] : p.framesWithSteps) {
        s += std::to_string(frames) + " frames with " + std::to_string(steps) + " updates; ";
    }
    return s;
}

} // namespace

TEST(FixedStep, SixtyFramesASecondGetExactlyOneUpdateEachHoweverTheyAreTimed)
{
    // The window's own pacing sleeps whole milliseconds: 16 and 17 ms frames. A display at
    // 59.94 Hz, and a retrace measured with up to a millisecond of jitter.
    const int pacing[] = {16, 17, 17, 16, 17, 17};
    const std::map<std::string, std::function<double(int)>> cases = {
        {"paced 16/17 ms", [&](int f) { return pacing[f % 6] / 1000.0; }},
        {"59.94 Hz", [](int) { return 1001.0 / 60000.0; }},
        {"60 Hz with jitter", [](int f) { return STEP + ((f * 7919) % 21 - 10) / 10000.0; }},
    };
    for (const auto& [name, frame] : cases) {
        const Played p = play(frame, 10.0);
        EXPECT_EQ(p.framesWithSteps.size(), 1u) << name << ": " << histogram(p);
        EXPECT_EQ(p.framesWithSteps.count(1), 1u) << name << ": " << histogram(p);
        // The game clock counts what was simulated: one step a frame.
        EXPECT_NEAR(p.gameSeconds, p.frames * STEP, 1e-9) << name;
        EXPECT_EQ(p.droppedSeconds, 0.0) << name;
    }
}

TEST(FixedStep, SlowFramesRunSeveralUpdatesSoTheGameKeepsItsSpeedDownToFifteen)
{
    // Frames a second -> updates every frame must run.
    const std::map<double, int> rates = {{30.0, 2}, {20.0, 3}, {15.0, 4}};
    for (const auto& [fps, perFrame] : rates) {
        const Played p = play([&](int) { return 1.0 / fps; }, 10.0);
        EXPECT_EQ(p.framesWithSteps.size(), 1u) << fps << " fps: " << histogram(p);
        EXPECT_EQ(p.framesWithSteps.count(perFrame), 1u) << fps << " fps: " << histogram(p);
        // Game time keeps up with wall time, and the clock is charged all of it.
        EXPECT_NEAR(p.gameSeconds, p.wallSeconds, STEP) << fps << " fps";
        EXPECT_EQ(p.droppedSeconds, 0.0) << fps << " fps";
    }

    // Below 15 the cap binds: four updates a frame, the game slows down, and the time it did
    // not simulate is not charged.
    const Played ten = play([](int) { return 0.1; }, 10.0);
    EXPECT_EQ(ten.framesWithSteps.size(), 1u) << histogram(ten);
    EXPECT_EQ(ten.framesWithSteps.count(ofFixedStep::MAX_STEPS_PER_FRAME), 1u) << histogram(ten);
    EXPECT_NEAR(ten.gameSeconds, ten.frames * 4 * STEP, 1e-9);
    EXPECT_NEAR(ten.gameSeconds + ten.droppedSeconds, ten.wallSeconds, 1e-6);
    EXPECT_NEAR(ten.gameSeconds / ten.wallSeconds, 2.0 / 3.0, 0.01);
}

TEST(FixedStep, FastFramesShareTheUpdatesSoTheGameStillRunsSixtyASecond)
{
    for (const double fps : {120.0, 144.0}) {
        const Played p = play([&](int) { return 1.0 / fps; }, 10.0);
        // No frame runs more than one update; some run none.
        EXPECT_EQ(p.framesWithSteps.count(2), 0u) << fps << " fps: " << histogram(p);
        EXPECT_GT(p.framesWithSteps.count(0), 0u) << fps << " fps: " << histogram(p);
        EXPECT_NEAR(p.steps, 600, 1) << fps << " fps";
        EXPECT_NEAR(p.gameSeconds, p.wallSeconds, STEP) << fps << " fps";
    }
}

TEST(FixedStep, AStallOfTwoSecondsCostsTheClockAtMostFourStepsAndNoBurst)
{
    // 60 frames a second, one frame of 2 s in the middle (the window dragged, SIGSTOP).
    const Played p = play([](int f) { return f == 300 ? 2.0 : STEP; }, 12.0);
    EXPECT_EQ(p.framesWithSteps.at(4), 1) << histogram(p);
    EXPECT_EQ(p.framesWithSteps.count(5), 0u) << histogram(p);
    EXPECT_EQ(p.framesWithSteps.at(1), p.frames - 1) << histogram(p);
    // Of the 2 s, four steps were simulated and charged, the rest dropped.
    EXPECT_NEAR(p.droppedSeconds, 2.0 - 4 * STEP, 1e-9);
    EXPECT_NEAR(p.wallSeconds - p.gameSeconds, 2.0 - 4 * STEP, 1e-6);
}

TEST(FixedStep, TimePassedUnsimulatedCountsOnTheGameClockButRunsNoUpdates)
{
    // A stage loaded between two frames: its 0.5 s counts against the clock; the next frame
    // runs its usual single update, not a catch-up burst.
    ofFixedStep clock(60);
    clock.start(10.0);
    double wall = 10.0;
    for (int f = 0; f < 30; ++f) {
        wall += STEP;
        for (int i = clock.stepsFor(wall); i > 0; --i) {
            clock.step();
        }
    }
    const double before = clock.gameSeconds();
    clock.passUnsimulated(wall + 0.005 + 0.5);
    EXPECT_NEAR(clock.gameSeconds() - before, 0.505, 1e-9);
    wall += 0.505 + STEP;
    EXPECT_EQ(clock.stepsFor(wall), 1);

    // The clock never runs backwards, whatever the wall clock says.
    EXPECT_EQ(clock.stepsFor(wall - 1.0), 0);
    clock.passUnsimulated(wall - 2.0);
    EXPECT_GE(clock.gameSeconds(), before + 0.505);
}
