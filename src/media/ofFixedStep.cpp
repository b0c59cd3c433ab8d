#include "media/ofFixedStep.h"

#include <algorithm>
#include <cmath>

ofFixedStep::ofFixedStep(int stepsPerSecond, int maxStepsPerFrame)
    : stepLength(1.0 / (stepsPerSecond > 0 ? stepsPerSecond : 60)),
      maxStepsPerFrame(maxStepsPerFrame > 0 ? maxStepsPerFrame : 1)
{
}

void ofFixedStep::start(double wallSeconds)
{
    started = true;
    lastFrame = wallSeconds;
    owed = 0.0;
    gameTime = wallSeconds;
}

int ofFixedStep::stepsFor(double wallSeconds)
{
    if (!started) {
        start(wallSeconds);
        return 0;
    }
    double frame = wallSeconds - lastFrame;
    lastFrame = wallSeconds;
    if (frame <= 0.0) {
        return 0;   // the same instant, or a clock that went back: nothing is owed
    }
    // A frame close to a whole number of steps is exactly that many; the measured time
    // jitters, the display's period does not.
    const double whole = std::round(frame / stepLength);
    if (whole >= 1.0 && std::fabs(frame - whole * stepLength) < SNAP_SECONDS) {
        frame = whole * stepLength;
    }
    owed += frame;
    // A hair below a whole step is a whole step: rounding must not hold one back a frame.
    int steps = static_cast<int>(std::floor(owed / stepLength + 1e-9));
    owed = std::max(0.0, owed - steps * stepLength);
    if (steps > maxStepsPerFrame) {
        dropped += (steps - maxStepsPerFrame) * stepLength;
        steps = maxStepsPerFrame;
    }
    return steps;
}

void ofFixedStep::step()
{
    gameTime += stepLength;
}

void ofFixedStep::passUnsimulated(double wallSeconds)
{
    if (!started) {
        start(wallSeconds);
        return;
    }
    if (wallSeconds > lastFrame) {
        gameTime += wallSeconds - lastFrame;
        lastFrame = wallSeconds;
    }
}
