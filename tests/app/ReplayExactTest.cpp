// A recorded run plays again exactly: random games on the shipped stages, played through the
// real Application with keys at random steps and frames of one to four steps, recorded by
// the game itself, then watched in a fresh Application and checked by the stage checker.
// The ball after every step must be the same to the last bit in all three, and so must the
// way the run ends. A difference is state that hangs on the frame rate, the wall clock,
// uninitialised memory or the order of drawing.
#include "app/AppWorld.h"
#include "media/ofAppRunner.h"
#include "replay/BallTrace.h"
#include "replay/ReplayFile.h"
#include "replay/ReplayRun.h"
#include "support/ChildProcess.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// A random game runs at most this many steps (15 s of play), and never more than half its
// stage's time limit; a game that follows the stage's stored route at most three quarters of
// the limit. With the clock held as the steps run (holdClock), no game can end by the clock:
// every end is the ball's own doing.
constexpr int MAX_GAME_STEPS = 900;
constexpr int CHECKER_TIMEOUT_MS = 120000;
const int PLAY_KEYS[] = {Application::KEY_UP, Application::KEY_LEFT, Application::KEY_RIGHT, Application::KEY_ENTER,
                         Application::KEY_SPACE};

enum class End { Won, Fell, Running };

const char* endName(End end)
{
    return end == End::Won ? "won" : end == End::Fell ? "fell" : "still running";
}

// A run as one of the three players saw it: the ball after every step, and how it ended.
struct StepTrace {
    std::vector<std::string> trace;
    End end = End::Running;
    int steps() const { return static_cast<int>(trace.size()); }
};

End endOf(const Player& ball)
{
    return ball.stageWon ? End::Won : !ball.stageRunning ? End::Fell : End::Running;
}

// The game keeps its clock in the steps the window's fixed-step loop has simulated; no such
// loop runs here, so before each step the clock is set to what those steps would have left
// (the wall time of the frame itself is microseconds). The limit is never approached anyway.
void holdClock(Application& app)
{
    app.endTime = ofGetGameTimef() + (app.timeLimit - static_cast<float>(app.playSteps) / 60.0f);
}

// One update of a stage in play, the ball's line added to `run`. False once the stage has
// ended: at a win, or in the step after a fall, which the game and the checker both run
// (it finds the ball gone and ends the stage).
bool playStep(Application& app, StepTrace& run)
{
    if (!app.playing || app.player.stageWon) {
        return false;
    }
    app.update();
    run.trace.push_back(ballTraceLine(run.steps(), app.player));
    run.end = endOf(app.player);
    return app.playing && !app.player.stageWon;
}

// The keys of the stage's stored route (tools/stagecheck/routes), which win it when each is
// pressed as soon as the ball is ready; empty when it has none.
std::vector<int> storedRoute(int stage)
{
    std::ifstream in(testsupport::sourceDir() / "tools" / "stagecheck" / "routes" /
                     ("level" + std::to_string(stage) + ".route"));
    std::vector<int> keys;
    for (std::string word; in >> word;) {
        keys.push_back(word == "Up"     ? Application::KEY_UP
                       : word == "Left" ? Application::KEY_LEFT
                       : word == "Right" ? Application::KEY_RIGHT
                                         : Application::KEY_ENTER);
    }
    return keys;
}

// Plays stage `stage` from the menu, in frames of one to four steps (60 to 15 frames a
// second), with the keys `random` picks or, given a `route`, with its keys each tapped a
// random number of frames after the ball is ready (and a random Space now and then, which
// only turns the camera but keeps the ball busy for a step). `replay` gets the run as the
// game recorded it: its -last.replay file after a win, else what the recorder holds.
StepTrace playGame(apptest::AppWorld& world, int stage, std::mt19937& random, const std::vector<int>& route,
                   ReplayData& replay, std::string& problem)
{
    Application& app = *world.app;
    StepTrace run;
    app.stage = stage;
    std::error_code gone;
    fs::remove(Application::replayPath(stage, "last"), gone);   // an earlier game's
    world.tap(Application::KEY_ENTER);   // Continue: its release is the recording's first event
    if (!app.playing) {
        problem = "the stage did not start";
        return run;
    }
    const int limitSteps = static_cast<int>(app.timeLimit * 60.0f);
    const int maxSteps = route.empty() ? std::min(MAX_GAME_STEPS, limitSteps / 2) : limitSteps * 3 / 4;
    std::size_t routeNext = 0;
    // The recorder as it was after the latest keys: the one the game holds is dropped in the
    // step the ball falls.
    ReplayRecorder keysSoFar = app.recorder;
    std::vector<int> held;
    bool going = true;
    while (going && run.steps() < maxSteps) {
        const int frameSteps = 1 + static_cast<int>(random() % 4);
        for (int i = 0; i < frameSteps && going && run.steps() < maxSteps; ++i) {
            holdClock(app);
            going = playStep(app, run);
        }
        // Drawing is what costs here (the software rasteriser): a third of the frames are
        // drawn, so that draws fall between steps in another pattern than when watched.
        if (random() % 3 == 0) {
            app.draw();
        }
        if (!going) {
            continue;
        }
        if (!route.empty()) {
            if (random() % 16 == 0) {
                world.tap(Application::KEY_SPACE);
            } else if (app.player.enableMovement && routeNext < route.size() && random() % 2 == 0) {
                world.tap(route[routeNext++]);
            }
            keysSoFar = app.recorder;
            continue;
        }
        if (random() % 3 != 0) {
            continue;
        }
        // Keys between frames, as the window delivers them: a key held down, one of those
        // held let go, or one tapped. Up held steps on by itself until any key is released.
        const unsigned pick = random() % 10;
        if (pick < 3 && !held.empty()) {
            const std::size_t which = random() % held.size();
            app.keyReleased(held[which]);
            held.erase(held.begin() + static_cast<long>(which));
        } else {
            const int key = PLAY_KEYS[random() % std::size(PLAY_KEYS)];
            if (std::find(held.begin(), held.end(), key) != held.end()) {
                continue;
            }
            app.keyPressed(key);
            if (pick < 7) {
                held.push_back(key);
            } else {
                app.keyReleased(key);
            }
        }
        keysSoFar = app.recorder;
    }
    // A fall in the bound's own step still has its closing step to run.
    if (going && run.end == End::Fell) {
        holdClock(app);
        playStep(app, run);
    }

    if (run.end == End::Won) {
        // The first tally frame writes the run's replay.
        app.draw();
        if (!readReplayFile(Application::replayPath(stage, "last"), replay, problem)) {
            return run;
        }
    } else {
        ReplayRecorder& recorder = run.end == End::Fell ? keysSoFar : app.recorder;
        const std::optional<ReplayData> kept =
            recorder.finish(run.steps(), 0, 0, replayTimeLeft(app.startLeft, run.steps() - 1));
        if (!kept) {
            problem = "the recorder kept no run: " + recorder.problem();
            return run;
        }
        replay = *kept;
    }
    for (int key : held) {
        app.keyReleased(key);
    }
    // Back to the menu: a won stage with Enter on the tally (and after the last stage, when
    // the total is a new highscore, a name of at least its shortest length), a stage still
    // running by its clock.
    if (run.end == End::Won) {
        if (app.allCleared && app.gui.newHighscore) {
            for (int key : {'a', 'b', 'c'}) {
                world.tap(key);
            }
        }
        world.tap(Application::KEY_ENTER);
    } else if (run.end == End::Running) {
        app.endTime = ofGetGameTimef() - 1.0f;
    }
    app.update();
    app.draw();
    if (app.playing) {
        problem = "the stage did not end";
    }
    return run;
}

// Watches `replay` in an Application of its own, drawing after every fifth step, for at
// most `maxSteps` steps.
StepTrace watchInGame(const ReplayData& replay, int maxSteps, std::string& problem)
{
    StepTrace run;
    Application app;
    app.setup();
    app.update();
    if (!app.watchReplay(replay, "the random game")) {
        problem = "the game would not watch the run: " + app.notice;
        return run;
    }
    while (run.steps() < maxSteps && playStep(app, run)) {
        if (run.steps() % 5 == 0) {
            app.draw();
        }
    }
    app.draw();
    return run;
}

// Runs the stage checker on `file` below the working folder with --trace.
StepTrace checkInTool(const fs::path& workDir, const std::string& file, int& status, std::string& summary)
{
    StepTrace run;
    testsupport::ChildProcess checker(testsupport::binaryDir() / "stagecheck", {"--replay", file, "--trace"}, workDir,
                                      {"DISPLAY=:9999"});
    status = checker.wait(CHECKER_TIMEOUT_MS).value_or(-1);
    std::istringstream out(checker.output());
    for (std::string line; std::getline(out, line);) {
        if (line.rfind("step ", 0) == 0) {
            run.trace.push_back(line);
            continue;
        }
        // "<file>: the run falls off the stage at step 74 (1.233 s of play), ..."
        const std::size_t verdict = line.find(": the run ");
        if (verdict == std::string::npos || line.find(": error: ") != std::string::npos ||
            line.find(" at step ", verdict) == std::string::npos) {
            continue;
        }
        summary = line;
        const std::string how = line.substr(verdict + 10);
        run.end = how.rfind("reaches the finish", 0) == 0    ? End::Won
                  : how.rfind("falls off the stage", 0) == 0 ? End::Fell
                                                             : End::Running;
    }
    return run;
}

// The first step at which two traces differ, over the first `steps` of them; -1 when none.
int firstDifference(const StepTrace& a, const StepTrace& b, int steps)
{
    for (int i = 0; i < steps; ++i) {
        if (i >= a.steps() || i >= b.steps() || a.trace[i] != b.trace[i]) {
            return i;
        }
    }
    return -1;
}

std::string lineAt(const StepTrace& run, int step)
{
    return step < run.steps() ? run.trace[step] : "(no step " + std::to_string(step) + ")";
}

} // namespace

TEST(ReplayExact, RandomGamesPlayBackBitForBitInTheGameAndInTheChecker)
{
    // TUMBRIX_REPLAY_GAMES games, game i on stage i % stages + 1 with seed i; the long run
    // (scripts/replay-games.sh) plays 1000. The stage clock never runs out (see holdClock).
    const char* games = std::getenv("TUMBRIX_REPLAY_GAMES");
    const int gameCount = games != nullptr && *games != '\0' ? std::max(1, std::atoi(games)) : 10;
    // TUMBRIX_REPLAY_FIRST: the number of the first game, to go on where a long run stopped.
    const char* first = std::getenv("TUMBRIX_REPLAY_FIRST");
    const int firstGame = first != nullptr ? std::max(0, std::atoi(first)) : 0;
    const int stages = apptest::shippedStageCount();
    ASSERT_GT(stages, 0);

    apptest::AppWorld world;
    world.copyShippedStages(false);
    world.start();
    const auto started = std::chrono::steady_clock::now();
    int won = 0;
    int fell = 0;
    int running = 0;
    long long stepsCompared = 0;

    for (int game = firstGame; game < firstGame + gameCount; ++game) {
        const int stage = game % stages + 1;
        std::mt19937 random(static_cast<unsigned>(game));
        SCOPED_TRACE("game " + std::to_string(game) + " (seed " + std::to_string(game) + "), stage " +
                     std::to_string(stage) + (game % 3 == 2 ? ", along the stored route" : ", random keys"));

        ReplayData replay;
        std::string problem;
        // Every third game follows the stage's stored route, so that runs that win are checked too.
        const std::vector<int> route = game % 3 == 2 ? storedRoute(stage) : std::vector<int>{};
        const StepTrace played = playGame(world, stage, random, route, replay, problem);
        ASSERT_EQ(problem, "");
        ASSERT_GT(played.steps(), 0);
        if (played.end == End::Won) {
            EXPECT_EQ(replay.finishStep, played.steps()) << "the replay file's finish step";
        }

        const StepTrace watched = watchInGame(replay, played.steps(), problem);
        ASSERT_EQ(problem, "");

        const std::string file = "data/replays/random-game.replay";
        ASSERT_TRUE(writeReplayFile(file, replay));
        int status = -1;
        std::string summary;
        const StepTrace checked = checkInTool(world.scratch.path(), file, status, summary);
        // The checker plays a run that has not ended on past its file's finish step.
        EXPECT_EQ(status, played.end == End::Won ? 0 : 1) << summary;
        ASSERT_FALSE(summary.empty()) << "the checker gave no verdict (status " << status << ")";

        const int inGame = firstDifference(played, watched, std::max(played.steps(), watched.steps()));
        ASSERT_EQ(inGame, -1) << "played and watched in the game differ at step " << inGame << ":\n  played  "
                               << lineAt(played, inGame) << "\n  watched " << lineAt(watched, inGame) << "\n"
                               << replayText(replay);
        const int inTool = firstDifference(played, checked, played.steps());
        ASSERT_EQ(inTool, -1) << "played in the game and checked differ at step " << inTool << ":\n  played  "
                              << lineAt(played, inTool) << "\n  checked " << lineAt(checked, inTool) << "\n"
                              << replayText(replay);
        // The same end at the same step: a run that had not ended goes on in the checker.
        EXPECT_EQ(watched.end, played.end) << endName(watched.end) << " when watched, " << endName(played.end)
                                           << " when played";
        if (played.end == End::Running) {
            EXPECT_GT(checked.steps(), played.steps()) << summary;
        } else {
            EXPECT_EQ(checked.end, played.end) << endName(checked.end) << " in the checker: " << summary;
            EXPECT_EQ(checked.steps(), played.steps()) << summary;
        }
        stepsCompared += played.steps();
        (played.end == End::Won ? won : played.end == End::Fell ? fell : running) += 1;
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("%d random games over %d stages, %lld steps compared three ways: %d won, %d fell, %d still running "
                "at their bound; %.0f s\n",
                gameCount, std::min(gameCount, stages), stepsCompared, won, fell, running, seconds);
}
