// Keys during play: what reaches the ball, what is dropped, and auto-forward.
#include "AppWorld.h"
#include "support/VirtualPad.h"

#include <gtest/gtest.h>

using apptest::AppWorld;

namespace {

// A long row of cubes along +y, so steps never run out of floor.
apptest::Stage longRow()
{
    apptest::Stage stage;
    for (int i = 0; i < 12; ++i) {
        stage.cubes.push_back({0, 2.0f * i, 0});
    }
    stage.target = {0, 40, 1.7f};
    stage.dice = {{0, 30, 1.5f}};   // keeps the finish closed
    return stage;
}

struct Playing {
    AppWorld world;
    Application* app = nullptr;

    Playing()
    {
        world.writeStage(1, longRow());
        app = &world.start();
        world.chooseContinue();
        world.framesUntil([&] { return app->player.enableMovement; });
    }

    bool idle()
    {
        return world.framesUntil([&] { return app->player.enableMovement; });
    }
};

} // namespace

TEST(ApplicationControl, HeldUpChainsStepsUntilAnyKeyIsReleased)
{
    Playing play;
    Application& app = *play.app;
    const float startY = app.player.Position.y;
    app.keyPressed(Application::KEY_UP);   // held: no release
    EXPECT_TRUE(app.input.upHeld);
    play.world.frames(70);                 // more than three steps of 21 frames
    EXPECT_GT(app.player.Position.y - startY, 6.0f - 0.01f);

    // Releasing another key (here the left arrow) also ends the chain; the step under way
    // is finished and no further one starts.
    app.keyReleased(Application::KEY_LEFT);
    EXPECT_FALSE(app.input.upHeld);
    ASSERT_TRUE(play.idle());
    const float stopped = app.player.Position.y;
    play.world.frames(40);
    EXPECT_FLOAT_EQ(app.player.Position.y, stopped);
    EXPECT_NEAR(stopped - startY, 8.0f, 0.01f);
}

TEST(ApplicationControl, KeysWhileTheBallIsBusyAreDropped)
{
    Playing play;
    Application& app = *play.app;
    play.world.tap(Application::KEY_UP);
    play.world.frame();
    ASSERT_FALSE(app.player.enableMovement);

    // A turn and another up arrive during the step: neither is queued, and the dropped up
    // does not arm auto-forward.
    app.keyPressed(Application::KEY_LEFT);
    app.keyPressed(Application::KEY_UP);
    EXPECT_FALSE(app.player.turnLeft);
    EXPECT_FALSE(app.input.upHeld);
    ASSERT_TRUE(play.idle());
    EXPECT_FLOAT_EQ(app.player.heading, 90.0f);
    play.world.frames(30);
    EXPECT_TRUE(app.player.enableMovement);
}

TEST(ApplicationControl, KeysThatStartNothingStillTakeTheBallsTurn)
{
    Playing play;
    Application& app = *play.app;
    const Vec3 before = app.player.Position;
    app.keyPressed(Application::KEY_DOWN);
    EXPECT_FALSE(app.player.enableMovement);
    EXPECT_FALSE(app.player.moveForward || app.player.turnLeft || app.player.turnRight || app.player.jump);
    app.keyReleased(Application::KEY_DOWN);
    play.world.frame();
    EXPECT_TRUE(app.player.enableMovement);
    EXPECT_TRUE(app.player.Position == before);

    // Letters are lowered first; 'A' like 'a' starts nothing.
    app.keyPressed('A');
    EXPECT_FALSE(app.player.enableMovement);
    play.world.frame();
    EXPECT_TRUE(app.player.enableMovement);
}

TEST(ApplicationControl, PlayKeysStartTheirActions)
{
    Playing play;
    Application& app = *play.app;
    play.world.tap(Application::KEY_RIGHT);
    EXPECT_TRUE(app.player.turnRight);
    ASSERT_TRUE(play.idle());
    EXPECT_FLOAT_EQ(app.player.heading, 0.0f);

    play.world.tap(Application::KEY_LEFT);
    EXPECT_TRUE(app.player.turnLeft);
    ASSERT_TRUE(play.idle());
    EXPECT_FLOAT_EQ(app.player.heading, 90.0f);

    play.world.tap(Application::KEY_SPACE);
    EXPECT_TRUE(app.camera.lookAround);
    play.world.frame();

    play.world.tap(Application::KEY_ENTER);
    EXPECT_TRUE(app.player.jump);
    EXPECT_TRUE(app.playing);
}

TEST(ApplicationControl, FrameLeavesTheGlStateTheNextFrameExpects)
{
    Playing play;
    play.world.frames(2);
    GLint depth = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    EXPECT_EQ(depth, 1);
    glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &depth);
    EXPECT_EQ(depth, 1);
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_PROJECTION);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(glIsEnabled(GL_LIGHT0));
    GLfloat ambient[4] = {};
    glGetLightfv(GL_LIGHT0, GL_AMBIENT, ambient);
    EXPECT_FLOAT_EQ(ambient[0], 0.1f);
    EXPECT_FLOAT_EQ(ambient[3], 1.0f);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// The pad alone, through SDL's virtual joystick: every screen a player meets on the way from
// the menu to the highscore table, with no key typed.
TEST(ApplicationControl, APadAloneGoesThroughTheMenusPausesWinsAndEntersAName)
{
    AppWorld world;
    world.writeStage(1, apptest::rowStage());   // the only stage: winning it ends the game
    world.writeFile("data/hs.txt", "ann 30\nbob 20\ncy 10\n");
    Application& app = world.start();
    testsupport::VirtualPad pad;
    ASSERT_TRUE(pad.ok());
    const auto push = [&](PadButton button) {
        pad.press(button);
        world.frame();
        pad.release(button);
        world.frame();
    };
    world.frame();   // the game opens the pad as it is plugged in

    // Down six times to the options; the d-pad changes the music volume; B goes back.
    for (int i = 0; i < 6; ++i) {
        push(PadButton::Down);
    }
    EXPECT_EQ(app.gui.menuCursor, 6);
    push(PadButton::A);
    ASSERT_TRUE(app.showOptions);
    push(PadButton::Left);
    EXPECT_EQ(app.settings.musicVolume, 9);
    push(PadButton::B);
    EXPECT_FALSE(app.showOptions);
    // The stage select and back.
    push(PadButton::Up);
    push(PadButton::A);
    ASSERT_TRUE(app.showStageSelect);
    push(PadButton::B);
    EXPECT_FALSE(app.showStageSelect);
    // Up to Continue, A plays.
    for (int i = 0; i < 5; ++i) {
        push(PadButton::Up);
    }
    EXPECT_EQ(app.gui.menuCursor, 0);
    push(PadButton::A);
    ASSERT_TRUE(app.playing);
    ASSERT_TRUE(world.framesUntil([&] { return app.player.enableMovement; }));

    // Start pauses and resumes.
    push(PadButton::Start);
    EXPECT_TRUE(app.paused);
    push(PadButton::Start);
    EXPECT_FALSE(app.paused);

    // The stick held forward rolls on as the held up arrow does, to the finish.
    pad.stick(0, -32768);
    ASSERT_TRUE(world.framesUntil([&] { return app.player.stageWon; }));
    pad.stick(0, 0);
    world.frames(2);
    ASSERT_TRUE(app.allCleared);
    ASSERT_TRUE(app.gui.newHighscore);
    const int total = app.gui.totalScore;

    // Up offers a, then b; A takes b; down back to a, A takes it; B rubs it out; A again;
    // Start finishes.
    push(PadButton::Up);
    push(PadButton::Up);
    push(PadButton::A);
    push(PadButton::Down);
    push(PadButton::A);
    EXPECT_EQ(app.gui.playerName, "ba");
    push(PadButton::B);
    EXPECT_EQ(app.gui.playerName, "b");
    push(PadButton::A);
    push(PadButton::A);
    push(PadButton::Start);
    EXPECT_EQ(world.read("data/hs.txt"), "baa " + std::to_string(total) + "\nann 30\nbob 20\n");
    EXPECT_FALSE(app.player.stageWon);
}
