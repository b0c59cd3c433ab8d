// Scoring, the highscore table and the name entry of the Gui, with the files it reads and
// writes in a scratch data/ folder.
#include "GuiFixture.h"

#include <gtest/gtest.h>

using guitest::GuiWorld;

namespace {

void typeName(Gui& gui, const std::string& keys)
{
    for (char c : keys) {
        gui.nameEntryKey(c);
    }
}

} // namespace

TEST(GuiScores, TotalScoreStopsAtTheLargestIntInsteadOfWrapping)
{
    GuiWorld world;
    Gui& gui = world.gui;
    gui.totalScore = 2147483000;   // a hand-edited save file can hold anything
    gui.minutes = 20;
    gui.seconds = 0;
    gui.coinsCollected = 10;
    gui.tallyPending = true;
    gui.scoreStage();
    EXPECT_EQ(gui.totalScore, 2147483647);
}

TEST(GuiScores, NewScoreRanksBelowAnEqualOneAndPushesTheLastOut)
{
    GuiWorld world;
    Gui& gui = world.gui;
    world.writeHighscoreFile("ann 500\nbob 300\ncy 100\n");
    gui.totalScore = 300;
    gui.readHighscores();
    EXPECT_TRUE(gui.newHighscore);
    gui.playerName = "zed";
    gui.writeHighscores();
    EXPECT_EQ(world.highscoreFileText(), "ann 500\nbob 300\nzed 300\n");

    gui.totalScore = 900;
    gui.playerName = "top";
    gui.writeHighscores();
    EXPECT_EQ(world.highscoreFileText(), "top 900\nann 500\nbob 300\n");
}

TEST(GuiScores, ATotalEqualToRankThreeIsNoNewHighscore)
{
    GuiWorld world;
    Gui& gui = world.gui;
    world.writeHighscoreFile("ann 500\nbob 300\ncy 100\n");
    gui.totalScore = 100;
    gui.readHighscores();
    EXPECT_FALSE(gui.newHighscore);
    gui.totalScore = 101;
    gui.readHighscores();
    EXPECT_TRUE(gui.newHighscore);
    // Reading never lowers the flag again; only a frame of play does.
    gui.totalScore = 0;
    gui.readHighscores();
    EXPECT_TRUE(gui.newHighscore);
}

TEST(GuiScores, MissingHighscoreFileGivesAnEmptyTableThatAnyScoreBeats)
{
    GuiWorld world;
    Gui& gui = world.gui;
    testsupport::StdoutCapture capture;
    gui.totalScore = 10;
    gui.readHighscores();
    EXPECT_EQ(capture.finish(), "");
    EXPECT_TRUE(gui.newHighscore);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(gui.highscores[i].name, Gui::UNSET_NAME);
        EXPECT_EQ(gui.highscores[i].score, 0);
    }
    gui.playerName = "amy";
    gui.writeHighscores();
    EXPECT_EQ(world.highscoreFileText(), "amy 10\nempty 0\nempty 0\n");
}

TEST(GuiScores, ShortHighscoreFileIsReportedOnceAcrossFrames)
{
    GuiWorld world;
    Gui& gui = world.gui;
    world.writeHighscoreFile("ann 500\nbob");
    testsupport::StdoutCapture capture;
    for (int frame = 0; frame < 10; ++frame) {
        gui.readHighscores();
    }
    const std::string output = capture.finish();
    EXPECT_EQ(std::count(output.begin(), output.end(), '\n'), 1) << output;
    EXPECT_NE(output.find("holds 3 of 6"), std::string::npos) << output;
    EXPECT_EQ(gui.highscores[0].name, "ann");
    EXPECT_EQ(gui.highscores[1].name, "bob");
    EXPECT_EQ(gui.highscores[1].score, 0);
    EXPECT_EQ(gui.highscores[2].name, Gui::UNSET_NAME);
}

TEST(GuiScores, NameEntryTakesTwoToFiveLetters)
{
    GuiWorld world;
    Gui& gui = world.gui;
    gui.totalScore = 50;

    typeName(gui, "abcdef");
    EXPECT_EQ(gui.playerName, "abcde");
    // Backspace then a letter replaces the last letter of a full name.
    gui.nameEntryKey(8);
    gui.nameEntryKey('z');
    EXPECT_EQ(gui.playerName, "abcdz");
    for (int i = 0; i < 7; ++i) {
        gui.nameEntryKey(8);
    }
    EXPECT_EQ(gui.playerName, "");

    // Digits, blanks, punctuation, arrows and capitals never reach a name.
    for (int key : {int('1'), int(' '), int('.'), int('A'), int('Z'), 357, 27, 0}) {
        gui.nameEntryKey(key);
    }
    EXPECT_EQ(gui.playerName, "");

    gui.nameEntryKey('q');
    EXPECT_FALSE(gui.nameEntryKey(13));
    EXPECT_FALSE(std::filesystem::exists(world.dataDir() / "hs.txt"));
    gui.nameEntryKey('x');
    EXPECT_TRUE(gui.nameEntryKey(13));
    EXPECT_EQ(world.highscoreFileText(), "qx 50\nempty 0\nempty 0\n");
}
