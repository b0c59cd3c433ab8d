// The real game binary on its own virtual screen, on fixture data: the menu over the stage,
// a stage played to its finish with the up arrow, the tally, the save file, the title.
#include "E2e.h"
#include "Screens.h"

#include <gtest/gtest.h>

#include <chrono>
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
}
