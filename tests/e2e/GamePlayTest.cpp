// The real game binary on its own virtual screen, on fixture data: the menu over the stage,
// a stage played to its finish with the up arrow, the tally, the save file, the title.
#include "E2e.h"
#include "Screens.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;

using namespace e2e;

// Three cubes in a row along +y; the ball starts on the first and the finish stands above
// the third, two cubes ahead.
const char* const ROW_STAGE =
    "face.png\nface.png\n24\n90\n0 0 1.35\n0 4 1.7\n0\n1\n0 1 1.5\n3\n0 0 0\n0 2 0\n0 4 0\nup up and away\n";

void writeFixture(const testsupport::ScratchDir& dir)
{
    const fs::path from = testsupport::sourceDir() / "data";
    const fs::path to = dir.path() / "data";
    testsupport::copyGameAssets(to);
    // A blue face and sky keep the scene clear of the overlay's yellow.
    fs::copy_file(from / "levels" / "levelTextures" / "face_blue_tiles.png", to / "levels" / "levelTextures" / "face.png");
    dir.write("data/levels/level1.txt", ROW_STAGE);
    dir.write("data/levels/level2.txt", ROW_STAGE);
}

} // namespace

TEST(GamePlay, MenuThenAStageWonWithTheUpArrowAndSaved)
{
    e2e::Run run;
    writeFixture(run.workDir);
    ASSERT_TRUE(run.start("tumbrix")) << run.program->output();
    ASSERT_TRUE(run.fullScreen()) << run.program->output();

    Screenshot shot;
    // The panel darkens the stage behind it; the title and the Continue item stand on it.
    ASSERT_TRUE(waitForScreen(run, menuShowing, shot)) << run.program->output();
    // The highlight lines under the Continue item: translucent yellow, the top one longest.
    auto highlight = [](const Rgb& c) { return c.r > 100 && c.g > 100 && c.b < c.r / 2; };
    EXPECT_GT(shot.count(CX + 163, CY - 8, 6, 8, highlight), 2);
    EXPECT_EQ(shot.count(CX + 175, CY - 8, 10, 8, highlight), 0);
    const std::string title = run.display.windowTitle(run.window);
    EXPECT_TRUE(isFrameRateTitle(title)) << "title: \"" << title << "\"";

    ASSERT_TRUE(run.key("Return"));
    ASSERT_TRUE(waitForScreen(run, hudShowing, shot)) << "the stage did not start";
    EXPECT_FALSE(panelShowing(shot));

    // Held, the up arrow steps on by itself until the finish two cubes ahead.
    ASSERT_TRUE(run.display.xdotool("keydown Up"));
    const bool won = waitForScreen(run, tallyShowing, shot);
    run.display.xdotool("keyup Up");
    ASSERT_TRUE(won) << "no tally after holding up";
    EXPECT_TRUE(panelShowing(shot));
    EXPECT_FALSE(fs::exists(run.workDir.path() / "data" / "DoNotReadMe.txt"));

    ASSERT_TRUE(run.key("Return"));
    const fs::path save = run.workDir.path() / "data" / "DoNotReadMe.txt";
    std::string saved;
    for (int i = 0; i < 100 && saved.empty(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        saved = readFile(save);
    }
    ASSERT_EQ(saved.rfind("2 ", 0), 0u) << "save file: \"" << saved << "\"";
    const int score = std::atoi(saved.c_str() + 2);
    EXPECT_GT(score, 100);   // the coin on the way and some seconds left
    EXPECT_EQ(saved, "2 " + std::to_string(score));
    EXPECT_TRUE(waitForScreen(run, menuShowing, shot)) << "no menu after the tally";
    EXPECT_TRUE(isFrameRateTitle(run.display.windowTitle(run.window)));

    ASSERT_TRUE(run.key("Escape"));
    std::optional<int> status = run.program->wait(e2e::EXIT_TIMEOUT_MS);
    ASSERT_TRUE(status.has_value()) << "still running after Escape";
    EXPECT_EQ(*status, 0) << run.program->output();
    EXPECT_EQ(readFile(save), saved);   // nothing is written at exit

    // The win left its record and its run, best and last; the stage checker, with no
    // window, plays the run again and finds the score the game gave.
    const std::string records = readFile(run.workDir.path() / "data" / "records.txt");
    EXPECT_EQ(records.rfind("tumbrix-records 1\nstage 1 time ", 0), 0u) << records;
    EXPECT_NE(records.find(" score " + std::to_string(score) + " "), std::string::npos) << records;
    EXPECT_EQ(readFile(run.workDir.path() / "data" / "replays" / "stage1-best.replay"),
              readFile(run.workDir.path() / "data" / "replays" / "stage1-last.replay"));
    testsupport::ChildProcess check(testsupport::binaryDir() / "stagecheck",
                                    {"--replay", "data/replays/stage1-best.replay"}, run.workDir.path(), {});
    const std::optional<int> checked = check.wait(60000);
    ASSERT_TRUE(checked.has_value());
    EXPECT_EQ(*checked, 0) << check.output();
    EXPECT_NE(check.output().find("score " + std::to_string(score)), std::string::npos) << check.output();
}

TEST(GamePlay, CommandLineStartsAStageOrAStageFileOfOnesOwn)
{
    // --help needs no display: it is read before any window opens.
    testsupport::ScratchDir plain;
    testsupport::ChildProcess help(testsupport::binaryDir() / "tumbrix", {"--help"}, plain.path(), {"DISPLAY="});
    ASSERT_EQ(help.wait(e2e::EXIT_TIMEOUT_MS), std::optional<int>(0)) << help.output();
    for (const char* option : {"--stage N", "--play FILE", "--replay FILE"}) {
        EXPECT_NE(help.output().find(option), std::string::npos) << help.output();
    }
    testsupport::ChildProcess wrong(testsupport::binaryDir() / "tumbrix", {"--stage", "two"}, plain.path(), {"DISPLAY="});
    EXPECT_EQ(wrong.wait(e2e::EXIT_TIMEOUT_MS), std::optional<int>(2)) << wrong.output();

    // A stage the save has not reached: one line, and the menu.
    {
        e2e::Run run;
        writeFixture(run.workDir);
        ASSERT_TRUE(run.start("tumbrix", {"--stage", "2"})) << run.program->output();
        Screenshot shot;
        ASSERT_TRUE(waitForScreen(run, menuShowing, shot)) << run.program->output();
        EXPECT_NE(run.program->output().find("--stage 2: stage 2 is locked"), std::string::npos) << run.program->output();
        run.key("Escape");
        run.program->wait(e2e::EXIT_TIMEOUT_MS);
    }

    // A stage file of one's own plays at once, again after a win, and leaves no save, no
    // record and no replay behind.
    e2e::Run run;
    writeFixture(run.workDir);
    run.workDir.write("mine.txt", ROW_STAGE);
    ASSERT_TRUE(run.start("tumbrix", {"--play", "mine.txt"})) << run.program->output();
    ASSERT_TRUE(run.fullScreen());
    Screenshot shot;
    ASSERT_TRUE(waitForScreen(run, hudShowing, shot)) << run.program->output();
    run.display.xdotool("windowfocus --sync " + std::to_string(run.window));
    ASSERT_TRUE(run.display.xdotool("keydown Up"));
    const bool won = waitForScreen(run, tallyShowing, shot);
    run.display.xdotool("keyup Up");
    ASSERT_TRUE(won) << run.program->output();
    for (int i = 0; i < 5 && !hudShowing(shot); ++i) {
        run.key("Return");
        waitForScreen(run, hudShowing, shot);
    }
    EXPECT_TRUE(hudShowing(shot)) << "the stage did not start again";
    run.key("Escape");
    EXPECT_EQ(run.program->wait(e2e::EXIT_TIMEOUT_MS), std::optional<int>(0));
    for (const char* written : {"data/DoNotReadMe.txt", "data/records.txt", "data/replays"}) {
        EXPECT_FALSE(fs::exists(run.workDir.path() / written)) << written;
    }
}

namespace {

// Sixteen cubes in a row along +y with the finish over the last: held, the up arrow takes
// the ball there in 15 steps, 5 s of game at 60 updates a second.
std::string longRowStage()
{
    std::string stage = "face.png\nface.png\n40\n60\n0 0 1.35\n0 30 1.7\n0\n0\n16\n";
    for (int i = 0; i < 16; ++i) {
        stage += "0 " + std::to_string(2 * i) + " 0\n";
    }
    return stage + "the long row\n";
}

struct RowResult {
    int score = -1;            // from the save file: ten points a whole second left
    double secondsLeft = -1;   // the clock when the finish was reached, as the game printed it
    double limit = -1;         // the stage's time limit, as the game printed it
    int steps = -1;            // game steps the ball ran to the finish
    int frameRate = -1;        // from the title, in mid-stage
    std::string output;
    std::string replay;        // the text of the run's data/replays/stage1-last.replay
    int checkStatus = -1;      // of `stagecheck --replay` on that file
    std::string checkOutput;
};

constexpr const char* LAST_REPLAY = "data/replays/stage1-last.replay";

// The long row as stages 1 and 2 below `dir`, with the game's other data.
void writeLongRowFixture(const testsupport::ScratchDir& dir)
{
    testsupport::copyGameAssets(dir.path() / "data");
    fs::copy_file(testsupport::sourceDir() / "data" / "levels" / "levelTextures" / "face_blue_tiles.png",
        dir.path() / "data" / "levels" / "levelTextures" / "face.png");
    dir.write("data/levels/level1.txt", longRowStage());
    dir.write("data/levels/level2.txt", longRowStage());
}

// "won: 55.000 left of 60.000 after 301 steps": the steps, or -1.
int wonAfterSteps(const std::string& output)
{
    const std::size_t won = output.find("won: ");
    int steps = -1;
    double left = 0;
    double limit = 0;
    if (won != std::string::npos) {
        std::sscanf(output.c_str() + won, "won: %lf left of %lf after %d steps", &left, &limit, &steps);
    }
    return steps;
}

// Runs the stage checker on a replay below `workDir`, the way a player would.
void checkReplay(const fs::path& workDir, const std::string& file, int& status, std::string& output)
{
    testsupport::ChildProcess checker(testsupport::binaryDir() / "stagecheck", {"--replay", file}, workDir,
        {"DISPLAY=:9999"});
    status = checker.wait(60000).value_or(-1);
    output = checker.output();
}

// Plays the long row in slow_game_app, its frames drawn in at least `drawMillis` each;
// with `stall`, the game is stopped for 2 s in mid-stage; with `pauseMillis`, the stage is
// paused with P for that long in mid-stage (up let go first, pressed again after).
RowResult playLongRow(int drawMillis, bool stall, int pauseMillis = 0)
{
    RowResult result;
    e2e::Run run(320, 240);   // small, so that the renderer's own time hardly counts
    writeLongRowFixture(run.workDir);
    if (!run.start("slow_game_app", {std::to_string(drawMillis)}) || !run.fullScreen()) {
        result.output = run.program ? run.program->output() : "not started";
        return result;
    }
    std::this_thread::sleep_for(std::chrono::seconds(1));
    // Continue starts stage 1 and the up arrow goes down at once, held to the finish.
    run.display.xdotool("windowfocus --sync " + std::to_string(run.window));
    run.display.xdotool("key --delay 0 Return keydown --delay 0 Up");
    std::this_thread::sleep_for(std::chrono::seconds(2));
    result.frameRate = std::atoi(run.display.windowTitle(run.window).c_str() + std::strlen("Tumbrix Velquor FPS: "));
    if (stall) {
        run.program->signal(SIGSTOP);
        std::this_thread::sleep_for(std::chrono::seconds(2));
        run.program->signal(SIGCONT);
    }
    if (pauseMillis > 0) {
        // Releasing any key ends auto-forward, and a key the busy ball gets is dropped: up is
        // let go, the ball finishes its step, P pauses, P resumes, and up goes down again.
        run.display.xdotool("keyup --delay 0 Up");
        std::this_thread::sleep_for(std::chrono::milliseconds(600));
        run.display.xdotool("key --delay 0 p");
        std::this_thread::sleep_for(std::chrono::milliseconds(pauseMillis));
        run.display.xdotool("key --delay 0 p keydown --delay 0 Up");
    }
    const bool won = run.program->waitForOutput(" steps\n", 60000);
    run.display.xdotool("keyup Up");
    result.output = run.program->output();
    if (!won) {
        return result;
    }
    const char* line = result.output.c_str() + result.output.find("won: ");
    std::sscanf(line, "won: %lf left of %lf after %d steps", &result.secondsLeft, &result.limit, &result.steps);

    // Enter on the tally saves the next stage and the score; the first tally frame must
    // have been drawn for the key to count, so it is pressed again until the file is there.
    const fs::path save = run.workDir.path() / "data" / "DoNotReadMe.txt";
    std::string saved;
    for (int i = 0; i < 50 && saved.empty(); ++i) {
        if (i % 10 == 0) {
            run.key("Return");
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        saved = readFile(save);
    }
    if (saved.rfind("2 ", 0) == 0) {
        result.score = std::atoi(saved.c_str() + 2);
    }
    run.key("Escape");
    run.program->wait(e2e::EXIT_TIMEOUT_MS);
    result.output = run.program->output();
    // The first tally frame wrote the run down; the checker plays it again.
    result.replay = readFile(run.workDir.path() / LAST_REPLAY);
    checkReplay(run.workDir.path(), LAST_REPLAY, result.checkStatus, result.checkOutput);
    return result;
}

// Watches a replay's text in slow_game_app at 60 frames a second (`--replay`) to its finish:
// the step it won at, or -1; `status` is the exit status after a key ends the watch.
int watchAt60(const std::string& replay, int& status, std::string& output)
{
    e2e::Run run(320, 240);
    writeLongRowFixture(run.workDir);
    run.workDir.write("data/replays/watched.replay", replay);
    status = -1;
    if (!run.start("slow_game_app", {"0", "--replay", "data/replays/watched.replay"})) {
        output = run.program ? run.program->output() : "not started";
        return -1;
    }
    const bool won = run.program->waitForOutput(" steps\n", 60000);
    // Any key ends a watched run, and with it a game started to watch one.
    for (int i = 0; i < 50 && run.program->running(); ++i) {
        if (i % 10 == 0) {
            run.key("Return");
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    status = run.program->wait(e2e::EXIT_TIMEOUT_MS).value_or(-1);
    output = run.program->output();
    return won ? wonAfterSteps(output) : -1;
}

// The step of the first press of the up arrow in a replay's text, or -1.
int firstUpStep(const std::string& replay)
{
    const std::size_t at = replay.find(" press 357\n");
    if (at == std::string::npos) {
        return -1;
    }
    const std::size_t lineStart = replay.rfind('\n', at);
    return std::atoi(replay.c_str() + (lineStart == std::string::npos ? 0 : lineStart + 1));
}

} // namespace

TEST(GamePlay, SlowFramesAndAStallCostTheClockNoMoreThanTheBallMoved)
{
    const RowResult paced = playLongRow(0, false);
    ASSERT_GT(paced.score, 0) << paced.output;
    // A frame of at least 45 ms: about 20 frames a second, three game steps each.
    const RowResult slow = playLongRow(45, false);
    ASSERT_GT(slow.score, 0) << slow.output;
    const RowResult stopped = playLongRow(0, true);
    ASSERT_GT(stopped.score, 0) << stopped.output;
    std::printf("frames a second %d / %d / %d; seconds left %.3f / %.3f / %.3f; scores %d / %d / %d\n",
        paced.frameRate, slow.frameRate, stopped.frameRate, paced.secondsLeft, slow.secondsLeft,
        stopped.secondsLeft, paced.score, slow.score, stopped.score);

    EXPECT_LE(slow.frameRate, 25) << "the slow run was not slow";
    // 15 steps of a third of a second: the clock used, read back from the score, is the same
    // at 20 frames a second as at 60, within a second.
    EXPECT_LE(std::abs(slow.score - paced.score), 10) << "seconds used differ by more than one";
    EXPECT_NEAR(paced.secondsLeft, 60.0 - 5.0, 1.0);
    // Two seconds stopped cost at most a tenth of a second of the clock.
    EXPECT_LE(paced.secondsLeft - stopped.secondsLeft, 0.1);

    // Each run left its replay, and the checker finds it wins exactly as it says.
    for (const RowResult* row : {&paced, &slow, &stopped}) {
        EXPECT_FALSE(row->replay.empty()) << "no " << LAST_REPLAY;
        EXPECT_EQ(row->checkStatus, 0) << row->checkOutput;
    }
    // At 15 frames a second, four steps a frame: a replay made there is the same run as one
    // made at 60 for the same keys at the same steps. Held from its first press, up wins
    // the same number of steps later at any frame rate, and the 15 frames' run, watched in
    // the game at 60, reaches the finish at the step its file names.
    const RowResult slowest = playLongRow(62, false);
    ASSERT_GT(slowest.score, 0) << slowest.output;
    EXPECT_LE(slowest.frameRate, 18) << "the slowest run was not that slow";
    EXPECT_EQ(slowest.checkStatus, 0) << slowest.checkOutput;
    ASSERT_GT(firstUpStep(paced.replay), -1) << paced.replay;
    ASSERT_GT(firstUpStep(slowest.replay), -1) << slowest.replay;
    EXPECT_EQ(slowest.steps - firstUpStep(slowest.replay), paced.steps - firstUpStep(paced.replay))
        << "at 15 frames a second:\n" << slowest.replay << "at 60:\n" << paced.replay;
    int watchStatus = -1;
    std::string watchOutput;
    const int watchedStep = watchAt60(slowest.replay, watchStatus, watchOutput);
    EXPECT_EQ(watchedStep, slowest.steps) << watchOutput;
    EXPECT_NE(slowest.replay.find("\nfinish " + std::to_string(slowest.steps) + "\n"), std::string::npos)
        << slowest.replay;
    EXPECT_EQ(watchStatus, 0) << watchOutput;
    std::printf("15 frames a second: %d frames a second, won at step %d, up first pressed at step %d; "
        "watched at 60: won at step %d\n", slowest.frameRate, slowest.steps, firstUpStep(slowest.replay),
        watchedStep);
}

TEST(GamePlay, ThreeSecondsPausedCostTheClockNothing)
{
    const RowResult straight = playLongRow(0, false);
    ASSERT_GT(straight.score, 0) << straight.output;
    const RowResult paused = playLongRow(0, false, 3000);
    ASSERT_GT(paused.score, 0) << paused.output;
    ASSERT_NE(paused.output.find("paused"), std::string::npos) << paused.output;
    // The paused run also stood idle for a moment before P and after it, which the clock
    // rightly counts: what it must not count is the pause. So the clock's seconds beyond the
    // steps the ball ran (the loading of the stage, nothing else) are the same in both.
    const double straightBeyond = straight.limit - straight.secondsLeft - straight.steps / 60.0;
    const double pausedBeyond = paused.limit - paused.secondsLeft - paused.steps / 60.0;
    std::printf("clock beyond the steps: %.3f s straight (%d steps), %.3f s with 3 s paused (%d steps)\n",
        straightBeyond, straight.steps, pausedBeyond, paused.steps);
    EXPECT_NEAR(pausedBeyond, straightBeyond, 0.1);
    EXPECT_GT(paused.steps, straight.steps);   // it did stand idle around the pause
    // The pause is no part of the run: its replay still wins as it says.
    EXPECT_EQ(paused.checkStatus, 0) << paused.checkOutput;
}
