#include "ReplayCheck.h"

#include "HeadlessGl.h"
#include "level/Level.h"
#include "media/ofUtils.h"
#include "player/GameSounds.h"
#include "player/Player.h"
#include "replay/BallTrace.h"
#include "replay/ReplayFile.h"
#include "replay/ReplayRun.h"
#include "replay/StageRules.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <vector>

namespace {

const char* endName(ReplayEnd end)
{
    switch (end) {
    case ReplayEnd::Won: return "reaches the finish";
    case ReplayEnd::TimedOut: return "runs out of time";
    case ReplayEnd::Fell: return "falls off the stage";
    case ReplayEnd::TooLong: return "is still running";
    }
    return "?";
}

void printTrace(int step, const Player& p)
{
    std::printf("%s\n", ballTraceLine(step, p).c_str());
}

bool fail(const std::string& file, const std::string& why)
{
    std::printf("%s: error: %s\n%s: FAIL\n", file.c_str(), why.c_str(), file.c_str());
    std::fflush(stdout);
    return false;
}

std::string seconds(float value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.3f s", static_cast<double>(value));
    return text;
}

} // namespace

bool checkReplay(const std::string& file, const ReplayCheckOptions& options)
{
    ReplayData replay;
    std::string problem;
    if (!readReplayFile(file, replay, problem)) {
        return fail(file, problem);
    }

    // The stage as the game finds it; its bytes are read once, for the digest and the play.
    const std::string stageFile = Level::stageFileName(replay.stage);
    std::ifstream in(stageFile, std::ios::binary);
    if (!in) {
        return fail(file, "stage " + std::to_string(replay.stage) + " is missing: [" + stageFile + "] cannot be opened");
    }
    const std::string stageBytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const std::string digest = stageDigest(stageBytes);
    if (digest != replay.stageDigest) {
        return fail(file, "the stage changed since the run was recorded: [" + stageFile + "] has SHA-1 " + digest +
                              ", the replay was recorded on " + replay.stageDigest);
    }

    HeadlessGl gl;
    std::string why;
    if (!gl.open(why)) {
        return fail(file, "cannot play the run: no OpenGL context for the game's ball and stage (" + why + ")");
    }
    // The ball reloads its picture at every reset; its complaints say nothing about the run.
    const int logLevel = ofGetLogLevel();
    ofSetLogLevel(OF_LOG_FATAL_ERROR);
    bool pass = true;
    {
        auto level = std::make_unique<Level>();
        GameSounds sounds;   // never loaded: silent
        auto player = std::make_unique<Player>(Vec3(0, 0, 0));
        std::istringstream stageText(stageBytes);
        std::string face;
        std::string sky;
        ofSetLogLevel(logLevel);
        readStageValues(stageText, stageFile, *level, face, sky);
        ofSetLogLevel(OF_LOG_FATAL_ERROR);
        level->diceTotal = level->remainingDice();
        level->coinsTotal = level->remainingCoins();

        ReplayWatch watch;
        if (options.trace) {
            watch = printTrace;
        }
        const ReplayOutcome run = runReplay(replay, *level, *player, sounds, watch);

        std::printf("%s: stage %d, recorded by the game %s: %zu key events, %s on the clock at the start\n", file.c_str(),
                    replay.stage, replay.gameVersion.c_str(), replay.events.size(), seconds(replay.startLeft).c_str());
        std::printf("%s: the run %s%s at step %d (%s of play), %d of %d dice, %d of %d coins", file.c_str(),
                    endName(run.end), run.end == ReplayEnd::Won && run.allDice ? " with every die collected" : "",
                    run.steps, seconds(static_cast<float>(run.steps) / stagerules::STEPS_PER_SECOND).c_str(),
                    run.diceTaken, level->diceTotal, run.coinsTaken, level->coinsTotal);
        if (run.end == ReplayEnd::Won) {
            std::printf(", %s left, score %d", seconds(run.finishLeft).c_str(), run.score);
        }
        std::printf("\n");

        // Everything the file claims, against what the run did.
        std::vector<std::string> wrong;
        if (run.end != ReplayEnd::Won) {
            wrong.push_back(std::string("the run does not win: it ") + endName(run.end) + " at step " +
                            std::to_string(run.steps));
        } else {
            if (!run.allDice) {
                wrong.push_back("the run wins with dice left lying");
            }
            if (run.steps != replay.finishStep) {
                wrong.push_back("the run wins at step " + std::to_string(run.steps) + ", the file says " +
                                std::to_string(replay.finishStep));
            }
            if (run.coinsTaken != replay.coins) {
                wrong.push_back("the run takes " + std::to_string(run.coinsTaken) + " coins, the file says " +
                                std::to_string(replay.coins));
            }
        }
        const float expectedLeft = replayTimeLeft(replay.startLeft, replay.finishStep - 1);
        if (!(std::fabs(replay.finishLeft - expectedLeft) <= REPLAY_CLOCK_TOLERANCE)) {
            wrong.push_back("the file's finish-left " + seconds(replay.finishLeft) + " does not follow from its start-left " +
                            seconds(replay.startLeft) + " and finish step " + std::to_string(replay.finishStep) + " (" +
                            seconds(expectedLeft) + ")");
        }
        const int expectedScore = stagerules::stageScore(replay.finishLeft, replay.coins);
        if (replay.score != expectedScore) {
            wrong.push_back("the file's score " + std::to_string(replay.score) + " is not what its finish-left and coins give (" +
                            std::to_string(expectedScore) + ")");
        }
        if (replay.startLeft > level->timeLimit) {
            wrong.push_back("the file's start-left " + seconds(replay.startLeft) + " is above the stage's time limit of " +
                            seconds(level->timeLimit));
        }
        for (const std::string& w : wrong) {
            std::printf("%s: error: %s\n", file.c_str(), w.c_str());
        }
        pass = wrong.empty();
        std::printf("%s: %s\n", file.c_str(), pass ? "pass" : "FAIL");
        // The ball and the Level own GL names: they go before the context.
        player.reset();
        level.reset();
    }
    ofSetLogLevel(logLevel);
    std::fflush(stdout);
    return pass;
}
