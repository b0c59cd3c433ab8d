// The screens drawn into the test context and read back: panels, highlight lines, texts
// and where they land.
#include "GuiFixture.h"
#include "gui/InfoTexts.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

using guitest::GuiWorld;
using guitest::isBlue;
using guitest::isPanelOverBlue;

namespace {

constexpr int CX = guitest::WINDOW_W / 2;
constexpr int CY = guitest::WINDOW_H / 2;

// Whether highlight lines lie under the menu item whose text baseline is at y.
bool underlined(const GuiWorld& world, int itemY)
{
    return world.hasYellow(CX + 150, itemY + 2, 15, 8);
}

} // namespace

TEST(GuiScreens, MenuPanelHasATitleBandAClearStripAndABody)
{
    GuiWorld world;
    world.beginScreen();
    world.gui.drawMenu(1, false);
    EXPECT_TRUE(isPanelOverBlue(world.pixel(CX + 248, CY - 248)));   // title band
    EXPECT_TRUE(isBlue(world.pixel(CX + 248, CY - 75)));             // strip between
    EXPECT_TRUE(isPanelOverBlue(world.pixel(CX + 248, CY + 238)));   // body
    EXPECT_TRUE(isBlue(world.pixel(CX + 255, CY)));
    // The body reaches on below for the stage select and the options.
    EXPECT_TRUE(isPanelOverBlue(world.pixel(CX + 248, CY + 335)));
    EXPECT_TRUE(isBlue(world.pixel(CX, CY + 345)));
    // The title lies in the band, the items in the body.
    EXPECT_TRUE(world.hasYellow(CX - 180, CY - 230, 200, 40));
    EXPECT_TRUE(world.hasYellow(CX - 155, CY - 40, 200, 35));
    EXPECT_FALSE(world.hasYellow(CX - 250, CY - 95, 500, 40));
}

TEST(GuiScreens, MenuCursorWrapsWhenTheMenuIsDrawn)
{
    GuiWorld world;
    Gui& gui = world.gui;
    const int continueY = CY - 10;
    const int optionsY = CY + 315;

    gui.menuCursor = -1;   // up on Continue
    world.beginScreen();
    gui.drawMenu(1, false);
    EXPECT_EQ(gui.menuCursor, 6);
    EXPECT_TRUE(underlined(world, optionsY));
    EXPECT_FALSE(underlined(world, continueY));

    gui.menuCursor = 8;    // down twice on "options" before a frame
    world.beginScreen();
    gui.drawMenu(1, false);
    EXPECT_EQ(gui.menuCursor, 0);
    EXPECT_TRUE(underlined(world, continueY));
    EXPECT_FALSE(underlined(world, optionsY));

    gui.menuCursor = 2;
    world.beginScreen();
    gui.drawMenu(1, false);
    EXPECT_EQ(gui.menuCursor, 2);
    EXPECT_TRUE(underlined(world, CY + 115));
}

TEST(GuiScreens, MenuItemsSitOnWholePixelsWhileTheNoteDoesNot)
{
    GuiWorld world;
    Gui& gui = world.gui;
    gui.menuCursor = 3;   // keep the highlight away from the compared rows
    auto drawAtWidth = [&](int w) {
        gui.setSize(w, 600);
        world.beginScreen();
        gui.drawMenu(2, false);
    };
    drawAtWidth(800);
    const auto items800 = world.region(240, 255, 330, 95);
    const auto note800 = world.region(270, 350, 220, 22);
    drawAtWidth(801);
    const auto items801 = world.region(240, 255, 330, 95);
    const auto note801 = world.region(270, 350, 220, 22);
    // cx - 155 is 245 at width 800 and 245.5 truncated to 245 at width 801.
    EXPECT_EQ(items800, items801);
    // "(overrides old save!)" moves from 280 to 280.5.
    EXPECT_NE(note800, note801);
}

TEST(GuiScreens, ContinueOffersStageOneOnceTheLastStageIsDone)
{
    GuiWorld world;
    Gui& gui = world.gui;
    gui.menuCursor = 3;
    auto continueItem = [&](int stage, bool allCleared) {
        world.beginScreen();
        gui.drawMenu(stage, allCleared);
        return world.region(CX - 160, CY - 45, 330, 45);
    };
    const auto stageOne = continueItem(1, false);
    EXPECT_EQ(continueItem(7, true), stageOne);
    EXPECT_NE(continueItem(7, false), stageOne);
}

TEST(GuiScreens, EndScreenAndNewHighscoreScreenFollowTheTable)
{
    GuiWorld world;
    Gui& gui = world.gui;
    world.writeHighscoreFile("ann 500\nbob 300\ncy 100\n");
    const int lineY = CY + 190;

    gui.totalScore = 100;
    world.beginScreen();
    gui.drawTally(true, 3);
    EXPECT_FALSE(gui.newHighscore);
    EXPECT_FALSE(world.hasYellow(CX + 150, lineY - 2, 15, 5)) << "name line on the end screen";
    EXPECT_TRUE(world.hasYellow(CX - 220, CY + 120, 200, 35)) << "no \"sorry\" line";

    gui.totalScore = 300;
    gui.playerName = "abc";
    world.beginScreen();
    gui.drawTally(true, 3);
    EXPECT_TRUE(gui.newHighscore);
    EXPECT_TRUE(world.hasYellow(CX + 150, lineY - 2, 15, 5)) << "no name line";
    EXPECT_TRUE(world.hasYellow(CX - 80, CY + 140, 80, 40)) << "typed name not shown";
}

TEST(GuiScreens, HighscoreScreenShowsTheFileAsItIsNow)
{
    GuiWorld world;
    Gui& gui = world.gui;
    world.writeHighscoreFile("ann 500\nbob 300\ncy 100\n");
    world.beginScreen();
    gui.drawHighscores();
    EXPECT_EQ(gui.highscores[0].name, "ann");
    EXPECT_TRUE(world.hasYellow(CX + 50, CY + 20, 150, 45)) << "no score in the first row";

    world.writeHighscoreFile("kim 9000\nann 500\nbob 300\n");
    world.beginScreen();
    gui.drawHighscores();
    EXPECT_EQ(gui.highscores[0].name, "kim");
    EXPECT_EQ(gui.highscores[0].score, 9000);
    EXPECT_EQ(gui.highscores[2].name, "bob");
}

TEST(GuiScreens, InfoScreenHasItsOwnWiderPanel)
{
    GuiWorld world;
    world.beginScreen();
    world.gui.drawInfo();
    EXPECT_TRUE(isPanelOverBlue(world.pixel(CX + 320, CY - 75)));
    EXPECT_TRUE(isPanelOverBlue(world.pixel(CX - 328, CY + 248)));
    EXPECT_TRUE(isBlue(world.pixel(CX + 335, CY)));
    // Instructions, author lines and the small sound lines all show.
    EXPECT_TRUE(world.hasYellow(CX - 310, CY - 190, 200, 30));
    EXPECT_TRUE(world.hasYellow(CX - 310, CY - 55, 200, 20));
    EXPECT_TRUE(world.hasYellow(CX - 310, CY + 200, 200, 40));
}

TEST(GuiScreens, InfoCreditsAreThoseOfTheCreditsPage)
{
    std::ifstream in(testsupport::sourceDir() / "docs" / "credits.md");
    const std::string page((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::string> blocks;
    const std::string open = "```text\n";
    for (size_t at = page.find(open); at != std::string::npos; at = page.find(open, at)) {
        at += open.size();
        const size_t end = page.find("```", at);
        ASSERT_NE(end, std::string::npos);
        blocks.push_back(page.substr(at, end - at));
    }
    ASSERT_EQ(blocks.size(), 2u);
    EXPECT_EQ(std::string(INFO_AUTHOR_CREDITS) + "\n", blocks[0]);
    EXPECT_EQ(std::string(INFO_SOUND_CREDITS) + "\n", blocks[1]);
    EXPECT_EQ(std::count(blocks[0].begin(), blocks[0].end(), '\n'), 2);
    EXPECT_EQ(std::count(blocks[1].begin(), blocks[1].end(), '\n'), 15);
}

TEST(GuiScreens, ScreensLeaveTheMatrixStacksAsTheyFoundThem)
{
    GuiWorld world;
    Gui& gui = world.gui;
    GLint modelView = 0;
    GLint projection = 0;
    world.beginScreen();
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &modelView);
    glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &projection);
    gui.drawMenu(1, false);
    gui.drawTally(false, 1);
    gui.drawTally(true, 1);
    gui.drawHighscores();
    gui.drawInfo();
    GLint after = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &after);
    EXPECT_EQ(after, modelView);
    glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &after);
    EXPECT_EQ(after, projection);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
