// The in-game display fed from a real Level: the clock's numbers and colour, the counts,
// the score they lead to, and where the display draws.
#include "GuiFixture.h"
#include "level/Level.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

using guitest::GuiWorld;

namespace {

// Five coins and two dice around three cubes; the message has seven words.
const char* const STAGE =
    "face.png face.png 24 90  0 0 1.35  0 4 1.7\n"
    "2  0 2 1.5  0 4 1.5\n"
    "5  0 1 1.5  0 3 1.5  1 0 1.5  1 2 1.5  1 4 1.5\n"
    "3  0 0 0  0 2 0  0 4 0\n"
    "one two three four five six seven\n";

struct HudWorld : GuiWorld {
    Level level;

    HudWorld()
    {
        std::filesystem::create_directories(dataDir() / "levels" / "levelTextures");
        std::filesystem::copy_file(testsupport::sourceDir() / "data" / "levels" / "levelTextures" / "face_blue_tiles.png",
                                   dataDir() / "levels" / "levelTextures" / "face.png");
        scratch.write("data/levels/level1.txt", STAGE);
        int stage = 1;
        int score = 0;
        level.load(stage, score);
    }

    void collectCoins(int n)
    {
        for (int i = 0; i < n; ++i) {
            level.coins.pop_front();
        }
    }
};

bool isRed(const Vec3& c) { return c == Vec3(1, 0, 0); }
bool isYellow(const Vec3& c) { return c == Vec3(0.9f, 0.9f, 0); }

} // namespace

TEST(GuiHud, StageWonWith83Point7SecondsAndThreeOfFiveCoinsScores1130Once)
{
    HudWorld world;
    Gui& gui = world.gui;
    ASSERT_EQ(world.level.coinsTotal, 5);
    world.collectCoins(3);
    gui.totalScore = 270;
    gui.updateHud(83.7f, world.level);
    EXPECT_EQ(gui.minutes, 1);
    EXPECT_EQ(gui.seconds, 23);
    EXPECT_EQ(gui.coinsCollected, 3);
    EXPECT_EQ(gui.diceCollected, 0);
    EXPECT_TRUE(gui.tallyPending);

    for (int frame = 0; frame < 4; ++frame) {
        world.beginScreen();
        gui.drawTally(false, 1);
    }
    EXPECT_EQ(gui.timeBonus, 830);
    EXPECT_EQ(gui.objectBonus, 300);
    EXPECT_EQ(gui.totalScore, 270 + 1130);
}

TEST(GuiHud, LessThanASecondLeftEarnsNoTimeBonusButCoinsStillCount)
{
    HudWorld world;
    Gui& gui = world.gui;
    world.collectCoins(1);
    gui.updateHud(0.4f, world.level);
    gui.scoreStage();
    EXPECT_EQ(gui.timeBonus, 0);
    EXPECT_EQ(gui.objectBonus, 100);
    EXPECT_EQ(gui.totalScore, 100);
}

TEST(GuiHud, ClockTurnsRedAtTenSecondsAndShowsMinutesAndTwoDigitSeconds)
{
    HudWorld world;
    Gui& gui = world.gui;
    gui.updateHud(10.01f, world.level);
    EXPECT_TRUE(isYellow(gui.timeColour));
    gui.updateHud(10.0f, world.level);
    EXPECT_TRUE(isRed(gui.timeColour));

    gui.updateHud(9.5f, world.level);
    world.beginScreen();
    gui.drawHud(world.level);
    EXPECT_EQ(gui.timeText, "0:09");
    EXPECT_TRUE(isRed(gui.timeColour));
    gui.updateHud(70.0f, world.level);
    gui.drawHud(world.level);
    EXPECT_EQ(gui.timeText, "1:10");
    EXPECT_TRUE(isYellow(gui.timeColour));
    gui.updateHud(600.9f, world.level);
    gui.drawHud(world.level);
    EXPECT_EQ(gui.timeText, "10:00");
}

TEST(GuiHud, EveryFrameOfPlayCopiesTheCountsAndClearsTheHighscoreFlag)
{
    HudWorld world;
    Gui& gui = world.gui;
    gui.newHighscore = true;
    world.level.dice.pop_back();
    gui.updateHud(50.0f, world.level);
    EXPECT_FALSE(gui.newHighscore);
    EXPECT_EQ(gui.diceCollected, 1);
    EXPECT_EQ(gui.message, world.level.message);
    EXPECT_EQ(gui.message, "one two three four five \nsix seven ");
    gui.drawHud(world.level);
    EXPECT_EQ(gui.diceText, "1/2");
}

TEST(GuiHud, AnyFiniteTimeLimitGivesDefinedNumbers)
{
    HudWorld world;
    Gui& gui = world.gui;
    gui.updateHud(3.0e30f, world.level);   // a stage file may hold any finite limit
    EXPECT_GE(gui.minutes, 0);
    EXPECT_GE(gui.seconds, 0);
    EXPECT_LT(gui.seconds, 60);
    gui.scoreStage();
    EXPECT_GT(gui.timeBonus, 0);
    EXPECT_GT(gui.totalScore, 0);
}

TEST(GuiHud, DisplayDrawsTimeTopMiddleCountBottomLeftAndTheMessageUpToTheRight)
{
    HudWorld world;
    Gui& gui = world.gui;
    gui.updateHud(83.0f, world.level);
    world.beginScreen();
    gui.drawHud(world.level);
    const int cx = guitest::WINDOW_W / 2;
    const int w = guitest::WINDOW_W;
    const int h = guitest::WINDOW_H;
    EXPECT_TRUE(world.hasYellow(cx - 60, 20, 120, 45));   // "1:23"
    EXPECT_TRUE(world.hasYellow(35, h - 80, 100, 45));    // "0/2"
    // The message starts 400 pixels left of the right edge near the bottom and climbs at
    // 45 degrees: text lies above and right of that point, none left of it or below.
    const int ox = w - 400;
    const int oy = static_cast<int>(h * 0.9f);
    EXPECT_TRUE(world.hasYellow(ox + 40, oy - 80, 60, 60));
    EXPECT_TRUE(world.hasYellow(ox + 150, oy - 190, 60, 60));
    EXPECT_FALSE(world.hasYellow(ox - 100, oy - 150, 80, 80));
    EXPECT_FALSE(world.hasYellow(ox + 150, oy + 10, 200, 50));
    // No panel behind the display.
    EXPECT_TRUE(guitest::isBlue(world.pixel(cx + 248, guitest::WINDOW_H / 2 - 248)));
}
