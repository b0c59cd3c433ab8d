// The real game on a data folder with one file gone bad (missing, empty, cut in half, or
// junk): it must reach the menu, start the stage, end with status 0 on Escape, say on the
// console what is wrong, and write nothing. The test command runs a representative handful;
// scripts/robustness.sh runs every file with every damage (the disabled instantiation).
#include "BadFiles.h"

#include "e2e/E2e.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <iterator>
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
