// The real game on a data folder with one file gone bad (missing, empty, cut in half, or
// junk): it must reach the menu, start the stage, end with status 0 on Escape, say on the
// console what is wrong, and write nothing. The test command runs a representative handful;
// scripts/robustness.sh runs every file with every damage (the disabled instantiation).
// The replay row: `tumbrix --replay` on a replay file gone bad must say so in one line and
// end with status 1 before anything is played or written; a good one plays and ends with 0.
#include "BadFiles.h"

#include "e2e/E2e.h"
#include "e2e/Screens.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <sstream>
#include <thread>

namespace badfiles {

// Names the case in GoogleTest's messages.
void PrintTo(const Case& c, std::ostream* out)
{
    *out << describe(c);
}

} // namespace badfiles

namespace {

namespace fs = std::filesystem;
using badfiles::Case;
using badfiles::Damage;

constexpr int TITLE_TIMEOUT_MS = 60000;
constexpr int PLAY_MS = 1500;   // the stage runs this long before Escape

std::string readFile(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The title carries the frame rate from the first frame on: the frame loop runs and the
// first screen, the main menu, is drawn.
bool waitForFrames(e2e::Run& run)
{
    const auto start = std::chrono::steady_clock::now();
    while (std::chrono::steady_clock::now() - start < std::chrono::milliseconds(TITLE_TIMEOUT_MS)) {
        if (run.display.windowTitle(run.window).rfind("Tumbrix Velquor FPS: ", 0) == 0) {
            return true;
        }
        if (!run.program->running()) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
}

class BadFiles : public ::testing::TestWithParam<Case> {};

TEST_P(BadFiles, GamePlaysOnSaysWhatIsWrongAndWritesNothing)
{
    const Case& c = GetParam();
    e2e::Run run;
    ASSERT_TRUE(badfiles::buildDataFolder(run.workDir.path(), c)) << badfiles::describe(c);
    const fs::path save = run.workDir.path() / "data" / "DoNotReadMe.txt";
    const fs::path table = run.workDir.path() / "data" / "hs.txt";
    const std::string saveBefore = readFile(save);
    const std::string tableBefore = readFile(table);

    ASSERT_TRUE(run.start("tumbrix")) << run.program->output();
    ASSERT_TRUE(waitForFrames(run)) << "no frames: " << run.program->output();
    if (c.file == "hs.txt") {
        // The table is read by the highscore screen: item 2 of the menu; Enter closes it.
        ASSERT_TRUE(run.key("Down Down Return"));
        std::this_thread::sleep_for(std::chrono::milliseconds(PLAY_MS));
        ASSERT_TRUE(run.key("Return Up Up"));
    }
    // Continue: the stage the save names, or stage 1 when that is gone.
    ASSERT_TRUE(run.key("Return"));
    EXPECT_FALSE(run.program->wait(PLAY_MS).has_value()) << "ended while playing: " << run.program->output();
    ASSERT_TRUE(run.key("Up"));
    EXPECT_FALSE(run.program->wait(PLAY_MS).has_value()) << "ended while playing: " << run.program->output();

    ASSERT_TRUE(run.key("Escape"));
    const std::optional<int> status = run.program->wait(e2e::EXIT_TIMEOUT_MS);
    ASSERT_TRUE(status.has_value()) << "still running after Escape";
    const std::string output = run.program->output();
    EXPECT_EQ(*status, 0) << output;

    const std::string expected = badfiles::expectedMessage(c);
    if (!expected.empty()) {
        EXPECT_NE(output.find(expected), std::string::npos) << "expected \"" << expected << "\" in:\n" << output;
    }
    // Nothing is written without a won stage; a bad save or table stays as the player left it.
    EXPECT_EQ(readFile(save), saveBefore);
    EXPECT_EQ(readFile(table), tableBefore);
    EXPECT_EQ(output.find("runtime error"), std::string::npos) << output;
}

// The folder's files the game may write, read before and after a run.
struct Written {
    std::string save;
    std::string table;
    std::string replays;   // the names and bytes below data/replays/

    static Written read(const fs::path& workDir)
    {
        Written w;
        w.save = readFile(workDir / "data" / "DoNotReadMe.txt");
        w.table = readFile(workDir / "data" / "hs.txt");
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator(workDir / "data" / "replays", ec)) {
            w.replays += entry.path().filename().string() + ":" + readFile(entry.path()) + "\n";
        }
        return w;
    }
    bool operator==(const Written&) const = default;
};

// The sanitizers' own reports, which end a program with a status of their own.
void expectNoSanitizerReport(const std::string& output)
{
    EXPECT_EQ(output.find("runtime error"), std::string::npos) << output;
    EXPECT_EQ(output.find("Sanitizer"), std::string::npos) << output;
}

// A replay that wins stage 1 as shipped, made by replay_maker_app on the run's display (the
// ball needs GL, and this program runs without a display); "" when it could not be made.
std::string makeGoodReplay(e2e::Run& run, std::string& output)
{
    if (!run.display.ok()) {
        output = "no display";
        return "";
    }
    const fs::path source = testsupport::sourceDir();
    const fs::path made = run.workDir.path() / "good.replay";
    const char* asan = std::getenv("ASAN_OPTIONS");
    testsupport::ChildProcess maker(testsupport::binaryDir() / "replay_maker_app",
        {"1", (source / "data" / "levels" / "level1.txt").string(),
            (source / "tools" / "stagecheck" / "routes" / "level1.route").string(), made.string()},
        run.workDir.path(),
        {"DISPLAY=" + run.display.name(), std::string("ASAN_OPTIONS=") + (asan != nullptr ? asan : "") + ":detect_leaks=0"});
    const std::optional<int> status = maker.wait(e2e::START_TIMEOUT_MS);
    output = maker.output();
    const std::string text = status == 0 ? readFile(made) : "";
    std::error_code ec;
    fs::remove(made, ec);
    return text;
}

class BadReplayFiles : public ::testing::TestWithParam<Damage> {};

TEST_P(BadReplayFiles, GameSaysWhatIsWrongEndsWithStatusOneAndWritesNothing)
{
    e2e::Run run;
    std::string made;
    const std::string good = makeGoodReplay(run, made);
    ASSERT_FALSE(good.empty()) << "no replay of stage 1: " << made;
    ASSERT_TRUE(badfiles::buildReplayFolder(run.workDir.path(), good, GetParam()));
    const Written before = Written::read(run.workDir.path());

    ASSERT_TRUE(run.launch("tumbrix", {"--replay", badfiles::REPLAY_FILE}));
    const std::optional<int> status = run.program->wait(TITLE_TIMEOUT_MS);
    ASSERT_TRUE(status.has_value()) << "still running: " << run.program->output();
    const std::string output = run.program->output();
    EXPECT_EQ(*status, 1) << output;

    // One line: what the file is, what is wrong with it, and that nothing is played.
    const std::string expected = badfiles::expectedReplayMessage(GetParam());
    std::istringstream lines(output);
    int said = 0;
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind(expected, 0) == 0) {
            ++said;
            EXPECT_TRUE(line.ends_with("; nothing to play")) << line;
        }
    }
    EXPECT_EQ(said, 1) << "expected one line starting \"" << expected << "\" in:\n" << output;
    EXPECT_EQ(output.find("watching ["), std::string::npos) << output;
    expectNoSanitizerReport(output);
    EXPECT_TRUE(Written::read(run.workDir.path()) == before) << "a file was written";
}

TEST(BadReplayFiles, AGoodReplayPlaysToItsFinishAndEndsWithStatusZero)
{
    e2e::Run run;
    std::string made;
    const std::string good = makeGoodReplay(run, made);
    ASSERT_FALSE(good.empty()) << "no replay of stage 1: " << made;
    // The folder without the replay, then the replay whole.
    ASSERT_TRUE(badfiles::buildReplayFolder(run.workDir.path(), good, Damage::Missing));
    run.workDir.write(badfiles::REPLAY_FILE, good);
    const Written before = Written::read(run.workDir.path());

    ASSERT_TRUE(run.start("tumbrix", {"--replay", badfiles::REPLAY_FILE})) << run.program->output();
    ASSERT_TRUE(run.fullScreen()) << run.program->output();
    // The run plays itself to the tally; a key then ends it, and the game with it.
    e2e::Screenshot shot;
    const bool tally = e2e::waitForScreen(run, e2e::tallyShowing, shot);
    ASSERT_TRUE(run.key("Return"));
    const std::optional<int> status = run.program->wait(e2e::EXIT_TIMEOUT_MS);
    ASSERT_TRUE(status.has_value()) << "still running after a key";
    const std::string output = run.program->output();
    EXPECT_TRUE(tally) << "no tally: the run did not reach the finish\n" << output;
    EXPECT_EQ(*status, 0) << output;
    EXPECT_EQ(output.find("replay: ["), std::string::npos) << output;
    expectNoSanitizerReport(output);
    // Watching is no play: no save, no table, no replay of its own.
    EXPECT_TRUE(Written::read(run.workDir.path()) == before) << "a file was written";
}

std::string damageCaseName(const ::testing::TestParamInfo<Damage>& info)
{
    return std::string("replay_") + badfiles::damageName(info.param);
}

INSTANTIATE_TEST_SUITE_P(Representative, BadReplayFiles, ::testing::Values(Damage::Junk), damageCaseName);
INSTANTIATE_TEST_SUITE_P(DISABLED_Everything, BadReplayFiles,
    ::testing::Values(Damage::Missing, Damage::Empty, Damage::Truncated, Damage::Junk), damageCaseName);

std::string caseName(const ::testing::TestParamInfo<Case>& info)
{
    return badfiles::testName(info.param);
}

// One of each kind of reader, each with a different damage.
INSTANTIATE_TEST_SUITE_P(Representative, BadFiles,
    ::testing::Values(Case{"levels/level1.txt", Damage::Junk}, Case{"die/die.3ds", Damage::Truncated},
        Case{"soccer.png", Damage::Empty}, Case{"comic_reg.ttf", Damage::Truncated},
        Case{"DoNotReadMe.txt", Damage::Junk}, Case{"bounce.wav", Damage::Missing}, Case{"lose.wav", Damage::Truncated}),
    caseName);

INSTANTIATE_TEST_SUITE_P(DISABLED_Everything, BadFiles, ::testing::ValuesIn(badfiles::allCases()), caseName);

} // namespace
