// Recording the run being played, watching a recorded run, and racing the ghost of one.
#include "app/Application.h"

#include "media/ofAppRunner.h"
#include "media/ofUtils.h"
#include "replay/ReplayRun.h"

std::string Application::replayPath(int stage, const char* which)
{
    return "data/replays/stage" + std::to_string(stage) + "-" + which + ".replay";
}

void Application::recordStart()
{
    recorder.abandon();
    // A watched run is not recorded again, and a stage file of one's own has no place in
    // the records.
    if (watching || launch.mode == LaunchOptions::Mode::Play) {
        return;
    }
    std::string digest;
    if (!stageFileDigest(Level::stageFileName(stage), digest)) {
        return;
    }
    // The seconds left as the first step sees them are known at that step (update).
    recorder.begin(stage, digest, timeLimit);
}

void Application::recordKey(int key, bool press)
{
    if (!recorder.recording()) {
        return;
    }
    if (press) {
        recorder.press(playSteps, key);
    } else {
        recorder.release(playSteps, key);
    }
}

void Application::saveReplays(int score, bool newBest)
{
    const std::optional<ReplayData> run = recorder.finish(finishStep, score, gui.coinsCollected, finishLeft);
    if (!run) {
        if (!recorder.problem().empty()) {
            ofLog(OF_LOG_WARNING, "replay of stage %d not kept: %s", stage, recorder.problem().c_str());
        }
        return;
    }
    // A replay that cannot be written costs the replay (writeReplayFile says so), never the
    // game or the save.
    writeReplayFile(replayPath(stage, "last"), *run);
    if (newBest) {
        writeReplayFile(replayPath(stage, "best"), *run);
    }
}

bool Application::watchBest(int pick)
{
    ReplayData best;
    std::string problem;
    if (!readReplayFile(replayPath(pick, "best"), best, problem)) {
        notice = "no best run of stage " + std::to_string(pick) + " to watch yet";
        return false;
    }
    fromStageSelect = true;
    return watchReplay(best, replayPath(pick, "best"));
}

bool Application::watchReplay(const ReplayData& data, const std::string& source)
{
    std::string digest;
    if (!stageFileDigest(Level::stageFileName(data.stage), digest)) {
        notice = "stage " + std::to_string(data.stage) + " of this run is not here";
        return false;
    }
    if (digest != data.stageDigest) {
        notice = "stage " + std::to_string(data.stage) + " has changed since this run was recorded";
        return false;
    }
    ofLog(OF_LOG_NOTICE, "watching [%s]: stage %d, %d steps, score %d", source.c_str(), data.stage, data.finishStep,
          data.score);
    // The stage plays as it did; the save's stage comes back when the run ends.
    reachedStage = stage;
    practiceTotal = gui.totalScore;
    stage = data.stage;
    watched = data;
    watchedNext = 0;
    watching = true;
    showStageSelect = false;
    startStage();
    return true;
}

// Before each step of a watched run: its keys of that step, and the clock as it ran.
void Application::feedWatchedKeys()
{
    while (watchedNext < watched.events.size() && watched.events[watchedNext].step <= playSteps) {
        const ReplayEvent& event = watched.events[watchedNext++];
        if (event.step < playSteps) {
            continue;
        }
        if (event.press) {
            if (stagerules::pressKey(player, input, event.key)) {
                takeLookAround();
            }
        } else {
            stagerules::releaseKey(input);
        }
    }
}

void Application::stopWatching()
{
    watching = false;
    player.stageWon = false;
    if (playing) {
        player.reset(level.startPosition);
        playing = false;
    }
    stage = reachedStage;
    gui.totalScore = practiceTotal;
    if (launch.mode == LaunchOptions::Mode::Replay) {
        std::exit(0);
    }
    showStageSelect = fromStageSelect;
    fromStageSelect = false;
}

bool Application::buildGhost(const ReplayData& data)
{
    std::string digest;
    if (!stageFileDigest(Level::stageFileName(stage), digest) || digest != data.stageDigest) {
        notice = "the stage has changed since its best run: no ghost";
        return false;
    }
    if (!ghostBall) {
        ghostBall = std::make_unique<Player>(level.startPosition);
    }
    GameSounds silent;
    const float before = ofGetGameTimef();
    const bool built = ghost.build(data, level, *ghostBall, silent);
    // The path is worked out while the clock stands: it costs the player nothing.
    ofPassTimeUnsimulated();
    endTime += ofGetGameTimef() - before;
    return built;
}

void Application::drawGhost()
{
    if (racing && ghostBall && (playing || player.stageWon)) {
        ghost.draw(player.stageWon ? ghost.finishStep() : playSteps, *ghostBall);
    }
}
