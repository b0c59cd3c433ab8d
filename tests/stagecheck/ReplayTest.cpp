// Replays: the file format, the recorder, and `stagecheck --replay` on a run recorded the way
// the game records one, through the same rules, from a shipped stage's stored route.

#include "CheckerRun.h"
#include "KeyReplay.h"

#include "level/Level.h"
#include "player/GameSounds.h"
#include "player/Player.h"
#include "replay/GameVersion.h"
#include "replay/ReplayFile.h"
#include "replay/ReplayRecorder.h"
#include "replay/ReplayRun.h"
#include "replay/StageRules.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>

namespace {

namespace fs = std::filesystem;

constexpr int STAGE = 10;                   // two dice, a coin and two jumps on its stored route
constexpr float LOADING_CHARGED = 0.25f;    // seconds the clock lost to loading before step 0
constexpr int GIVE_UP_STEPS = 20000;

std::string readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

fs::path shippedStage(int stage)
{
    return testsupport::sourceDir() / Level::stageFileName(stage);
}

// The keys of a stored route, 0 for a wait; and the same as a checker "keys:" line.
std::vector<int> routeKeys(int stage, std::string& keyLine)
{
    std::istringstream in(readFile(testsupport::sourceDir() / "tools" / "stagecheck" / "routes" /
                                   ("level" + std::to_string(stage) + ".route")));
    std::vector<int> keys;
    std::string word;
    while (in >> word) {
        keyLine += (keyLine.empty() ? "" : ", ") + word;
        keys.push_back(word == "Up"      ? stagerules::KEY_UP
                       : word == "Left"  ? stagerules::KEY_LEFT
                       : word == "Right" ? stagerules::KEY_RIGHT
                       : word == "Enter" ? stagerules::KEY_ENTER
                                         : 0);
    }
    return keys;
}

// The stage's values read into `level` by the game's reader, as the checker reads them.
void loadStage(Level& level, const std::string& bytes)
{
    std::istringstream in(bytes);
    std::string face;
    std::string sky;
    ASSERT_TRUE(readStageValues(in, "stage", level, face, sky));
    level.diceTotal = level.remainingDice();
    level.coinsTotal = level.remainingCoins();
}

// Plays `keys` as the game does and records the run: each key pressed and released before
// the step after the one in which the ball became ready (a wait lets one step pass), with
// Enter's release from the menu as the first event.
ReplayData recordRun(int stage, const std::vector<int>& keys)
{
    const std::string bytes = readFile(shippedStage(stage));
    Level level;
    loadStage(level, bytes);
    GameSounds sounds;
    Player player(level.startPosition);
    const float startLeft = level.timeLimit - LOADING_CHARGED;

    ReplayRecorder recorder;
    recorder.begin(stage, stageDigest(bytes), startLeft);
    recorder.release(0, stagerules::KEY_ENTER);
    player.reset(level.startPosition);
    player.stageRunning = true;
    bool playing = true;
    PlayInput input;
    stagerules::releaseKey(input);
    std::size_t next = 0;
    for (int step = 0; step < GIVE_UP_STEPS; ++step) {
        if (player.enableMovement && next < keys.size()) {
            const int key = keys[next++];
            if (key != 0) {
                recorder.press(step, key);
                stagerules::pressKey(player, input, key);
                recorder.release(step, key);
                stagerules::releaseKey(input);
            }
        }
        const float timeLeft = replayTimeLeft(startLeft, step);
        level.update();
        const stagerules::StepEnd end = stagerules::step(level, player, sounds, input, playing, timeLeft);
        if (end == stagerules::StepEnd::Won) {
            const int coins = level.coinsTotal - level.remainingCoins();
            std::optional<ReplayData> done = recorder.finish(step + 1, stagerules::stageScore(timeLeft, coins), coins, timeLeft);
            EXPECT_TRUE(done.has_value()) << recorder.problem();
            return done.value_or(ReplayData{});
        }
        if (end != stagerules::StepEnd::Running) {
            break;
        }
    }
    ADD_FAILURE() << "the stored route of stage " << stage << " does not win when recorded";
    return {};
}

// A working folder with the shipped stage as the game finds it.
class ReplayFolder {
public:
    explicit ReplayFolder(int stage)
    {
        dir.write(Level::stageFileName(stage), readFile(shippedStage(stage)));
    }
    const fs::path& path() const { return dir.path(); }
    CheckerRun check(const ReplayData& data, std::vector<std::string> more = {}) const
    {
        EXPECT_TRUE(writeReplayFile((dir.path() / "data/replays/run.txt").string(), data));
        return checkFile("data/replays/run.txt", std::move(more));
    }
    CheckerRun checkFile(const std::string& file, std::vector<std::string> more = {}) const
    {
        more.insert(more.begin(), {"--replay", file});
        return runChecker(more, dir.path());
    }
    fs::path write(const std::string& relative, const std::string& bytes) const { return dir.write(relative, bytes); }

private:
    testsupport::ScratchDir dir;
};

bool sameBits(float a, float b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

ReplayData sample()
{
    ReplayData d;
    d.gameVersion = GAME_VERSION;
    d.stage = 42;
    d.stageDigest = stageDigest("a stage\n");
    d.finishStep = 1234;
    d.score = -70;
    d.coins = 3;
    d.startLeft = 0.1f;
    d.finishLeft = -0.0f;
    d.events = {{0, false, 13}, {0, true, 357}, {17, false, 357}, {17, true, 'q'}, {1234, false, 356}};
    return d;
}

} // namespace

TEST(ReplayFormat, WrittenFilesReadBackBitForBitAndBadOnesAreNamedByLine)
{
    ReplayData written = sample();
    std::string problem;
    for (float left : {0.1f, -0.0f, 1.0e-40f, 3.4e38f, -27.98333f}) {
        written.startLeft = left;
        written.finishLeft = -left;
        ReplayData read;
        ASSERT_TRUE(readReplay(replayText(written), read, problem)) << problem << "\n" << replayText(written);
        EXPECT_EQ(read, written);
        EXPECT_TRUE(sameBits(read.startLeft, left) && sameBits(read.finishLeft, -left)) << replayText(written);
    }
    EXPECT_EQ(stageDigest("abc"), "a9993e364706816aba3e25717850c26c9cd0d89d");   // the standard SHA-1 test vector

    // One change each; the reader names the line and what it found, and keeps what it had.
    const std::string text = replayText(sample());
    auto changed = [&](const std::string& from, const std::string& to) {
        std::string t = text;
        const std::size_t at = t.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        return at == std::string::npos ? t : t.replace(at, from.size(), to);
    };
    const std::pair<std::string, std::string> cases[] = {
        {changed("finish 1234", "fnish 9"), "line 5: expected 'finish <step>', found 'fnish 9'"},
        {changed("tumbrix-replay 1", "tumbrix-replay 2"), "line 1: format version 2, this game reads version 1"},
        {changed("coins 3", "coins -1"), "line 7: coins '-1' is not a whole number from 0 to"},
        {changed("start-left 0x", "start-left 0q"), "line 8: start-left '0q"},
        {changed("events 5", "events 90"), "line 10: 90 events promised"},
        {changed("17 press 113", "16 press 113"), "line 14: step 16 comes before the step of the event above (17)"},
        {changed("17 press 113", "17 press 512"), "line 14: key '512' is not a key code from 0 to 511"},
        {changed("17 press 113", "17 hold 113"), "line 14: expected '<step> press|release <key>', found '17 hold 113'"},
        {changed("1234 release 356", "1235 release 356"), "line 15: step '1235' is not a whole number from 0 to the finish step 1234"},
        {text.substr(0, text.size() - 4), "line 16: expected 'end', found the end of the file"},
        {text + "more\n", "line 17: text after the end line: 'more'"},
        {std::string("\x89PNG\r\n", 6), "line 1: expected 'tumbrix-replay 1', found '\\x89PNG'"},
    };
    for (const auto& [bad, expected] : cases) {
        ReplayData kept = sample();
        kept.stage = 7;
        const ReplayData before = kept;
        EXPECT_FALSE(readReplay(bad, kept, problem)) << bad;
        EXPECT_NE(problem.find(expected), std::string::npos) << "problem: " << problem << "\nexpected: " << expected;
        EXPECT_EQ(kept, before);
    }
}

TEST(ReplayFormat, GameVersionIsThePackagesVersion)
{
    const std::string install = readFile(testsupport::sourceDir() / "cmake" / "Install.cmake");
    std::smatch match;
    ASSERT_TRUE(std::regex_search(install, match, std::regex(R"(set\(TUMBRIX_VERSION ([^)\s]+)\))")));
    EXPECT_EQ(match[1].str(), GAME_VERSION);
}

TEST(ReplayFormat, WritingIntoAFolderThatCannotBeMadeFailsAndKeepsNothing)
{
    testsupport::ScratchDir dir;
    dir.write("data/replays", "a file where the folder should be");
    EXPECT_FALSE(writeReplayFile((dir.path() / "data/replays/run.txt").string(), sample()));
    EXPECT_EQ(readFile(dir.path() / "data/replays"), "a file where the folder should be");

    // A missing folder is made.
    const fs::path file = dir.path() / "new/replays/run.txt";
    ASSERT_TRUE(writeReplayFile(file.string(), sample()));
    ReplayData read;
    std::string problem;
    EXPECT_TRUE(readReplayFile(file.string(), read, problem)) << problem;
    EXPECT_EQ(read, sample());
}

TEST(ReplayRecorder, KeepsKeysInOrderAndGivesUpPastItsCaps)
{
    ReplayRecorder recorder;
    EXPECT_FALSE(recorder.finish(10, 0, 0, 1.0f).has_value()) << "nothing was begun";

    recorder.begin(3, stageDigest("x"), 20.0f);
    recorder.press(0, stagerules::KEY_UP);
    recorder.release(4, stagerules::KEY_UP);
    const std::optional<ReplayData> done = recorder.finish(9, 190, 0, 19.9f);
    ASSERT_TRUE(done.has_value()) << recorder.problem();
    EXPECT_EQ(done->events, (std::vector<ReplayEvent>{{0, true, stagerules::KEY_UP}, {4, false, stagerules::KEY_UP}}));
    EXPECT_EQ(done->gameVersion, GAME_VERSION);
    EXPECT_EQ(done->finishStep, 9);
    EXPECT_FALSE(recorder.recording());

    // A stage held open with keys hammered: the events stop at the cap and no replay is made.
    recorder.begin(3, stageDigest("x"), 20.0f);
    for (int i = 0; i <= REPLAY_MAX_EVENTS; ++i) {
        recorder.press(i / 4, 'a');
    }
    EXPECT_NE(recorder.problem().find("more than 100000 key events"), std::string::npos) << recorder.problem();
    EXPECT_FALSE(recorder.finish(REPLAY_MAX_EVENTS, 0, 0, 1.0f).has_value());

    recorder.begin(3, stageDigest("x"), 20.0f);
    recorder.press(5, 'a');
    recorder.press(4, 'a');
    EXPECT_FALSE(recorder.finish(9, 0, 0, 1.0f).has_value()) << "a step going backwards";
}

TEST(ReplayCheck, RecordedRunOfAShippedStagePassesAndEveryTamperingFails)
{
    ASSERT_TRUE(testsupport::ensureGlContext());
    std::string keyLine;
    const std::vector<int> keys = routeKeys(STAGE, keyLine);
    const ReplayData run = recordRun(STAGE, keys);
    ASSERT_GT(run.finishStep, 0);
    // An independent witness: the same keys handed straight to the ball win in as many frames.
    const KeyPlay witness = playKeys(testsupport::sourceDir(), keyLine, STAGE);
    ASSERT_TRUE(witness.won) << keyLine;
    EXPECT_EQ(run.finishStep, witness.frames);
    EXPECT_EQ(run.coins, witness.coinsTaken);

    // Played in the test's own process twice on one Level: the same run, the Level as it was.
    {
        Level level;
        loadStage(level, readFile(shippedStage(STAGE)));
        GameSounds sounds;
        Player player(level.startPosition);
        const std::list<Vec3> dice = level.dice;
        std::vector<Vec3> path;
        const ReplayOutcome first = runReplay(run, level, player, sounds, [&](int, const Player& p) { path.push_back(p.Position); });
        const ReplayOutcome second = runReplay(run, level, player, sounds);
        EXPECT_EQ(first.end, ReplayEnd::Won);
        EXPECT_EQ(first.steps, run.finishStep);
        EXPECT_EQ(path.size(), static_cast<std::size_t>(run.finishStep));
        EXPECT_TRUE(first.allDice);
        EXPECT_EQ(first.score, run.score);
        EXPECT_EQ(second.steps, first.steps);
        EXPECT_EQ(second.coinsTaken, first.coinsTaken);
        EXPECT_EQ(level.dice.size(), dice.size());
    }

    ReplayFolder folder(STAGE);
    const CheckerRun good = folder.check(run);
    EXPECT_EQ(good.status, 0) << good.output;
    const std::string summary = "reaches the finish with every die collected at step " + std::to_string(run.finishStep);
    EXPECT_EQ(linesWith(good.output, summary).size(), 1u) << good.output;
    EXPECT_EQ(linesWith(good.output, "score " + std::to_string(run.score)).size(), 1u) << good.output;
    EXPECT_EQ(linesWith(good.output, "run.txt: pass").size(), 1u) << good.output;

    // Each tampering, and what the checker must say about it.
    ReplayData score = run;
    score.score += 10;
    ReplayData finish = run;
    finish.finishStep += 1;
    finish.finishLeft = replayTimeLeft(run.startLeft, finish.finishStep - 1);
    ReplayData coins = run;
    coins.coins += 1;
    coins.score += 100;
    ReplayData lastKey = run;
    lastKey.events.pop_back();
    lastKey.events.pop_back();
    ReplayData early = run;
    early.startLeft = 1000.0f;
    early.finishLeft = replayTimeLeft(early.startLeft, early.finishStep - 1);
    early.score = stagerules::stageScore(early.finishLeft, early.coins);
    const std::pair<ReplayData, std::string> tampered[] = {
        {score, "the file's score"},
        {finish, "the run wins at step " + std::to_string(run.finishStep) + ", the file says " + std::to_string(run.finishStep + 1)},
        {coins, "coins, the file says"},
        {lastKey, "the run does not win"},
        {early, "above the stage's time limit"},
    };
    for (const auto& [data, expected] : tampered) {
        const CheckerRun bad = folder.check(data);
        EXPECT_EQ(bad.status, 1) << bad.output;
        EXPECT_EQ(linesWith(bad.output, expected).size(), 1u) << "expected: " << expected << "\n" << bad.output;
        EXPECT_EQ(linesWith(bad.output, "run.txt: FAIL").size(), 1u) << bad.output;
    }

    // The stage with its first cube moved one place up: not the stage the run was played on.
    std::string stage = readFile(shippedStage(STAGE));
    std::istringstream lines(stage);
    std::vector<std::string> text;
    for (std::string line; std::getline(lines, line);) {
        text.push_back(line);
    }
    const std::size_t diceAt = 6;
    const std::size_t coinsAt = diceAt + 1 + std::stoul(text[diceAt]);
    const std::size_t cubesAt = coinsAt + 1 + std::stoul(text[coinsAt]);
    const std::string firstCube = text[cubesAt + 1];
    stage.replace(stage.find("\n" + firstCube + "\n") + 1, firstCube.size(), firstCube.substr(0, firstCube.rfind(' ')) + " 2");
    folder.write(Level::stageFileName(STAGE), stage);
    const CheckerRun moved = folder.check(run);
    EXPECT_EQ(moved.status, 1) << moved.output;
    EXPECT_EQ(linesWith(moved.output, "the stage changed since the run was recorded").size(), 1u) << moved.output;
}

TEST(ReplayCheck, TraceIsTheSameOnEveryRunAndEndsWithTheWin)
{
    ASSERT_TRUE(testsupport::ensureGlContext());
    std::string keyLine;
    const ReplayData run = recordRun(STAGE, routeKeys(STAGE, keyLine));
    ReplayFolder folder(STAGE);
    const CheckerRun first = folder.check(run, {"--trace"});
    const CheckerRun second = folder.checkFile("data/replays/run.txt", {"--trace"});
    EXPECT_EQ(first.status, 0) << first.output;
    const std::vector<std::string> steps = linesWith(first.output, "step ");
    const std::vector<std::string> stepsAgain = linesWith(second.output, "step ");
    ASSERT_EQ(steps.size(), static_cast<std::size_t>(run.finishStep + 1)) << "one a step, and the summary";
    EXPECT_EQ(steps, stepsAgain);
    const std::string hex = R"(-?0x[0-9a-f.]+p[-+]\d+)";
    EXPECT_TRUE(std::regex_search(steps.front(), std::regex("^step 0 pos " + hex + " " + hex + " " + hex + " gravity ")))
        << steps.front();
    EXPECT_NE(steps[steps.size() - 2].find(" won"), std::string::npos) << steps[steps.size() - 2];
    EXPECT_EQ(steps[steps.size() - 3].find(" won"), std::string::npos) << steps[steps.size() - 3];
}

// The bad-file cases of a replay: missing, empty, cut in half, junk; and a stage that is gone.
TEST(ReplayCheck, DamagedReplayFilesAndAMissingStageAreRefusedByName)
{
    ReplayData run = sample();
    run.stage = STAGE;
    run.stageDigest = stageDigest(readFile(shippedStage(STAGE)));
    const std::string text = replayText(run);
    std::string junk(4096, '\0');
    uint32_t state = 0x2545F491u;
    for (char& c : junk) {
        state = state * 1664525u + 1013904223u;
        c = static_cast<char>(state >> 24);
    }
    ReplayFolder folder(STAGE);
    const std::pair<std::string, std::string> cases[] = {
        {"", "is empty"},
        {text.substr(0, text.size() / 2), ": expected '"},
        {junk, "line 1: expected 'tumbrix-replay 1', found '"},
    };
    for (const auto& [bytes, expected] : cases) {
        folder.write("data/replays/run.txt", bytes);
        const CheckerRun bad = folder.checkFile("data/replays/run.txt");
        EXPECT_EQ(bad.status, 1) << bad.output;
        EXPECT_EQ(linesWith(bad.output, "replay: [data/replays/run.txt] " + std::string(bytes.empty() ? "" : "line ")).size(), 1u)
            << bad.output;
        EXPECT_EQ(linesWith(bad.output, expected).size(), 1u) << "expected: " << expected << "\n" << bad.output;
    }
    const CheckerRun missing = folder.checkFile("data/replays/none.txt");
    EXPECT_EQ(missing.status, 1) << missing.output;
    EXPECT_EQ(linesWith(missing.output, "replay: [data/replays/none.txt] cannot be opened").size(), 1u) << missing.output;

    EXPECT_EQ(runChecker({"--trace", "data/levels/level10.txt"}, folder.path()).status, 2) << "--trace without --replay";
    EXPECT_EQ(runChecker({"--replay", "data/replays/run.txt", "data/levels/level10.txt"}, folder.path()).status, 2);

    run.stage = STAGE + 1000;
    folder.write("data/replays/run.txt", replayText(run));
    const CheckerRun noStage = folder.checkFile("data/replays/run.txt");
    EXPECT_EQ(noStage.status, 1) << noStage.output;
    EXPECT_EQ(linesWith(noStage.output, "stage 1010 is missing: [data/levels/level1010.txt] cannot be opened").size(), 1u)
        << noStage.output;
}
