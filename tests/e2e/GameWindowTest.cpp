// The real game binary on its own virtual screen.
#include "E2e.h"

#include <gtest/gtest.h>

TEST(GameWindow, OpensFullScreenAndEscapeEndsWithStatusZero)
{
    e2e::Run run;
    ASSERT_TRUE(run.start("tumbrix")) << run.program->output();
    EXPECT_TRUE(run.fullScreen()) << "the window did not take the whole screen";
    EXPECT_TRUE(run.program->running());

    ASSERT_TRUE(run.key("Escape"));
    std::optional<int> status = run.program->wait(e2e::EXIT_TIMEOUT_MS);
    ASSERT_TRUE(status.has_value()) << "still running after Escape";
    EXPECT_EQ(*status, 0) << run.program->output();
}

TEST(GameWindow, ClosingTheWindowEndsWithStatusZero)
{
    e2e::Run run;
    ASSERT_TRUE(run.start("tumbrix")) << run.program->output();
    ASSERT_TRUE(run.fullScreen());

    run.display.requestClose(run.window);
    std::optional<int> status = run.program->wait(e2e::EXIT_TIMEOUT_MS);
    ASSERT_TRUE(status.has_value()) << "still running after the close request";
    EXPECT_EQ(*status, 0) << run.program->output();
}

TEST(GameWindow, OtherKeysDoNotEndTheGame)
{
    e2e::Run run;
    ASSERT_TRUE(run.start("tumbrix")) << run.program->output();
    ASSERT_TRUE(run.fullScreen());
    ASSERT_TRUE(run.key("Up Down Left Right Return space BackSpace a z F1"));
    EXPECT_FALSE(run.program->wait(500).has_value()) << run.program->output();

    ASSERT_TRUE(run.key("Escape"));
    EXPECT_EQ(run.program->wait(e2e::EXIT_TIMEOUT_MS), std::optional<int>(0));
}
