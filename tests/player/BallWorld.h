#pragma once
// A real stage, ball and sound set in a scratch data folder, for driving the ball frame by
// frame the way the application does.

#include "level/Level.h"
#include "player/GameSounds.h"
#include "player/Player.h"
#include "support/TestSupport.h"

#include <string>
#include <vector>

// What a stage file says; written to data/levels/level1.txt by BallWorld.
struct StageLayout {
    Vec3 start{0, 0, 1.35f};
    Vec3 target{0, 40, 1.35f};
    float fallRadius = 30.0f;
    std::vector<Vec3> dice;
    std::vector<Vec3> coins;
    std::vector<Vec3> cubes;
};

std::string stageText(const StageLayout& stage);
// A mono 16-bit WAV of a tone lasting `seconds`.
std::string toneWav(float seconds);

class BallWorld {
public:
    explicit BallWorld(const StageLayout& stage, bool withSounds = true);

    // What the application does on a key: start the action only while the ball is idle.
    bool press(bool Player::*action);
    void frame();
    // Runs frames until the ball accepts actions again; returns how many it took, or -1
    // when it is still busy after `limit` frames.
    int runUntilIdle(int limit = 400);
    // Starts an action and runs it to the end; returns the frames taken or -1.
    int act(bool Player::*action, int limit = 400);

    testsupport::ScratchDir dir;

private:
    bool glReady;
    testsupport::WorkingDir cwd;

public:
    Level level;
    GameSounds sounds;
    Player player;
};

void expectNearVec(const Vec3& actual, const Vec3& expected, float tolerance);
