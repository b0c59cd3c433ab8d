// Writes a replay that wins a stage, for the tests of `tumbrix --replay`: the stage's stored
// route played by the game's rules, each key handed over in the step the ball is ready, with
// Continue's Enter let go at step 0 as in the game. The ball needs a GL context, which a test
// program run without a display lacks; this one opens a hidden window on $DISPLAY.
//   replay_maker_app STAGE STAGE_FILE ROUTE_FILE OUT_FILE
// Exit status 0 when the route won and the file was written.
#include "level/Level.h"
#include "media/ofAppGlutWindow.h"
#include "media/ofAppRunner.h"
#include "player/GameSounds.h"
#include "player/Player.h"
#include "replay/ReplayFile.h"
#include "replay/ReplayRecorder.h"
#include "replay/ReplayRun.h"
#include "replay/StageRules.h"

#include <GL/freeglut.h>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr float LOADING_CHARGED = 0.25f;   // seconds the clock lost to loading before step 0
constexpr int GIVE_UP_STEPS = 20000;

std::string readAll(const char* path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The replay of `keys` on the stage, or nothing when they do not win it.
std::optional<ReplayData> record(int stage, const std::string& stageBytes, const std::vector<int>& keys)
{
    Level level;
    std::istringstream stageText(stageBytes);
    std::string face;
    std::string sky;
    if (!readStageValues(stageText, "stage", level, face, sky)) {
        return std::nullopt;
    }
    GameSounds sounds;   // never loaded: silent
    Player player(level.startPosition);
    player.reset(level.startPosition);
    player.stageRunning = true;
    bool playing = true;
    PlayInput input;
    const float startLeft = level.timeLimit - LOADING_CHARGED;
    const int coinsBefore = level.remainingCoins();
    ReplayRecorder recorder;
    recorder.begin(stage, stageDigest(stageBytes), startLeft);
    recorder.release(0, stagerules::KEY_ENTER);
    std::size_t next = 0;
    for (int step = 0; step < GIVE_UP_STEPS; ++step) {
        if (player.enableMovement && next < keys.size()) {
            const int key = keys[next++];
            recorder.press(step, key);
            stagerules::pressKey(player, input, key);
            recorder.release(step, key);
            stagerules::releaseKey(input);
        }
        const float timeLeft = replayTimeLeft(startLeft, step);
        level.update();
        const stagerules::StepEnd end = stagerules::step(level, player, sounds, input, playing, timeLeft);
        if (end == stagerules::StepEnd::Won) {
            const int coins = coinsBefore - level.remainingCoins();
            return recorder.finish(step + 1, stagerules::stageScore(timeLeft, coins), coins, timeLeft);
        }
        if (end != stagerules::StepEnd::Running) {
            break;
        }
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 5) {
        std::fprintf(stderr, "usage: replay_maker_app STAGE STAGE_FILE ROUTE_FILE OUT_FILE\n");
        return 2;
    }
    std::istringstream route(readAll(argv[3]));
    std::vector<int> keys;
    for (std::string word; route >> word;) {
        keys.push_back(word == "Up"      ? stagerules::KEY_UP
                       : word == "Left"  ? stagerules::KEY_LEFT
                       : word == "Right" ? stagerules::KEY_RIGHT
                                         : stagerules::KEY_ENTER);
    }
    static ofAppGlutWindow window;
    ofSetupOpenGL(&window, 64, 64, 0);
    glutHideWindow();
    const std::optional<ReplayData> run = record(std::atoi(argv[1]), readAll(argv[2]), keys);
    if (!run) {
        std::fprintf(stderr, "replay_maker_app: the route [%s] does not win [%s]\n", argv[3], argv[2]);
        return 1;
    }
    return writeReplayFile(argv[4], *run) ? 0 : 1;
}
