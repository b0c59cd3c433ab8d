// Keys typed on a real X server reach the application with the framework's key codes.
// keylog_app opens its window exactly like the game and writes each call as a line.
#include "E2e.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

namespace {

std::vector<std::string> linesAfter(const std::string& output, const std::string& marker)
{
    std::vector<std::string> lines;
    std::istringstream in(output.substr(output.find(marker) + marker.size()));
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty()) {
            lines.push_back(line);
        }
    }
    return lines;
}

std::vector<std::string> pressAndRelease(int code)
{
    std::string c = std::to_string(code);
    return {"pressed " + c, "event pressed " + c, "released " + c, "event released " + c};
}

} // namespace

TEST(KeyCodes, AsciiAndSpecialKeysThenEscapeThroughTheExitPath)
{
    e2e::Run run;
    ASSERT_TRUE(run.start("keylog_app")) << run.program->output();
    ASSERT_TRUE(run.fullScreen());
    ASSERT_TRUE(run.program->waitForOutput("drawing", e2e::START_TIMEOUT_MS)) << run.program->output();

    ASSERT_TRUE(run.key("a Return space BackSpace Up Down Left Right F1 Escape"));
    std::optional<int> status = run.program->wait(e2e::EXIT_TIMEOUT_MS);
    ASSERT_TRUE(status.has_value()) << "still running after Escape";
    EXPECT_EQ(*status, 0);
    // The key that ended the program was released too: a key left held would repeat into
    // every program started on this server later.
    EXPECT_EQ(run.display.keysHeld(), 0);

    std::vector<std::string> expected;
    for (int code : {97, 13, 32, 8, 357, 359, 356, 358, 257}) {
        std::vector<std::string> four = pressAndRelease(code);
        expected.insert(expected.end(), four.begin(), four.end());
    }
    // Escape: the slot and the event, then the exit path; no release is seen.
    for (const char* line : {"pressed 27", "event pressed 27", "exit", "event exit", "destroyed"}) {
        expected.push_back(line);
    }
    EXPECT_EQ(linesAfter(run.program->output(), "drawing\n"), expected) << run.program->output();
}

TEST(KeyCodes, ClosingTheWindowRunsTheExitPath)
{
    e2e::Run run;
    ASSERT_TRUE(run.start("keylog_app")) << run.program->output();
    ASSERT_TRUE(run.program->waitForOutput("drawing", e2e::START_TIMEOUT_MS)) << run.program->output();

    run.display.requestClose(run.window);
    EXPECT_EQ(run.program->wait(e2e::EXIT_TIMEOUT_MS), std::optional<int>(0));
    std::vector<std::string> expected = {"exit", "event exit", "destroyed"};
    EXPECT_EQ(linesAfter(run.program->output(), "drawing\n"), expected) << run.program->output();
}

TEST(KeyCodes, HeldKeyRepeatsAsSeparatePresses)
{
    e2e::Run run;
    ASSERT_TRUE(run.start("keylog_app")) << run.program->output();
    ASSERT_TRUE(run.fullScreen());
    ASSERT_TRUE(run.program->waitForOutput("drawing", e2e::START_TIMEOUT_MS)) << run.program->output();

    // X repeats a held key after its auto-repeat delay (660 ms on Xvfb by default).
    ASSERT_TRUE(run.display.xdotool("windowfocus --sync " + std::to_string(run.window)));
    ASSERT_TRUE(run.display.xdotool("keydown Up sleep 1.5 keyup Up"));
    ASSERT_TRUE(run.program->waitForOutput("released 357", e2e::EXIT_TIMEOUT_MS));
    std::string out = run.program->output();
    size_t presses = 0;
    for (size_t at = out.find("\npressed 357"); at != std::string::npos; at = out.find("\npressed 357", at + 1)) {
        presses++;
    }
    EXPECT_GE(presses, 2u) << out;
}
