#include "replay/Ghost.h"

#include "player/Player.h"
#include "replay/ReplayRun.h"

#include <GL/gl.h>
#include <algorithm>

namespace {

const Vec3 GHOST_TINT{0.55f, 0.85f, 1.0f};
constexpr float GHOST_ALPHA = 0.45f;

} // namespace

bool Ghost::build(const ReplayData& replay, Level& level, Player& ball, GameSounds& silent)
{
    clear();
    std::vector<Pose> path;
    path.reserve(static_cast<std::size_t>(std::max(replay.finishStep, 0)) + 2);
    const ReplayOutcome outcome = runReplay(replay, level, ball, silent, [&path](int step, const Player& after) {
        if (step == 0) {
            // Before its first step the ball stands at the start, where the first step
            // leaves it but for a settling of a hundredth of a unit.
            path.push_back(Pose{after.Position, after.Left, 0.0f});
        }
        path.push_back(Pose{after.Position, after.Left, after.spinAngle});
    });
    if (outcome.end != ReplayEnd::Won || path.empty()) {
        return false;
    }
    poses = std::move(path);
    finish = outcome.steps;
    return true;
}

void Ghost::clear()
{
    poses.clear();
    finish = 0;
}

void Ghost::draw(int step, Player& ball) const
{
    if (poses.empty()) {
        return;
    }
    const Pose& pose = poses[static_cast<std::size_t>(std::clamp(step, 0, static_cast<int>(poses.size()) - 1))];
    ball.Position = pose.position;
    ball.Left = pose.left;
    ball.spinAngle = pose.spin;
    ball.tint = GHOST_TINT;
    ball.alpha = GHOST_ALPHA;

    glPushAttrib(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_ENABLE_BIT);
    {
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glDepthMask(GL_FALSE);
        ball.draw();
    }
    glPopAttrib();
}
