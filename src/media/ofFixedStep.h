#pragma once
// Fixed game steps from the wall-clock times of drawn frames. The game advances in steps of
// exactly 1 / stepsPerSecond of game time, as many per drawn frame as the time since the
// last frame calls for, so motion keeps its speed whatever the frame rate:
// - A frame time within SNAP_SECONDS of a whole number of steps counts as exactly that
//   number, so a display at 60 Hz (59.94 Hz, or a pacing whose sleeps are whole
//   milliseconds, 16 and 17 ms) gets exactly one step every frame and never a frame with
//   none followed by one with two.
// - At most maxStepsPerFrame steps run for one frame. The time beyond them (a stall: the
//   window moved, the machine suspended, a slow disk) is dropped, not simulated: the game
//   slows down instead of jumping ahead, and the game clock does not count it.
// The game clock (gameSeconds) advances by one step per step run; a stage clock that reads
// it is charged for what was simulated and nothing else.
class ofFixedStep {
public:
    static constexpr int MAX_STEPS_PER_FRAME = 4;
    static constexpr double SNAP_SECONDS = 0.002;

    explicit ofFixedStep(int stepsPerSecond, int maxStepsPerFrame = MAX_STEPS_PER_FRAME);

    // The clock starts: game time is `wallSeconds` and nothing is owed.
    void start(double wallSeconds);
    // A frame is about to be drawn at `wallSeconds`: how many steps to run before it. Call
    // step() once for each as it runs.
    int stepsFor(double wallSeconds);
    // One step runs: the game clock moves on by stepSeconds().
    void step();
    // The time from the last frame to `wallSeconds` counts on the game clock but is not
    // simulated (something the game did then must cost time, such as loading a stage, but
    // leaves nothing to catch up).
    void passUnsimulated(double wallSeconds);

    double stepSeconds() const { return stepLength; }
    double gameSeconds() const { return gameTime; }
    // Wall time that was neither simulated nor counted: stalls beyond the cap.
    double droppedSeconds() const { return dropped; }
    int maxSteps() const { return maxStepsPerFrame; }

private:
    double stepLength;
    int maxStepsPerFrame;
    bool started = false;
    double lastFrame = 0.0;   // wall s of the last frame
    double owed = 0.0;        // wall s not yet simulated, less than a step after each frame
    double gameTime = 0.0;    // s of game time
    double dropped = 0.0;     // s
};
