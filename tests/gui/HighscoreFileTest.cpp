#include "gui/HighscoreFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

namespace {

std::vector<HighscoreEntry> table(std::initializer_list<HighscoreEntry> entries)
{
    return std::vector<HighscoreEntry>(entries);
}

} // namespace

TEST(HighscoreFile, WritesThreeLinesOfNameAndScore)
{
    testsupport::ScratchDir dir;
    const auto file = dir.path() / "hs.txt";
    // A fourth entry is the ranking slot and never reaches the file.
    auto entries = table({{"ann", 500}, {"bob", 300}, {"cy", 100}, {"dropd", 50}});
    ASSERT_TRUE(writeHighscoreFile(file.string(), entries));
    std::ifstream in(file, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text, "ann 500\nbob 300\ncy 100\n");

    auto back = table({{}, {}, {}});
    EXPECT_EQ(readHighscoreFile(file.string(), back), HIGHSCORE_VALUES);
    EXPECT_EQ(back[0].name, "ann");
    EXPECT_EQ(back[1].score, 300);
    EXPECT_EQ(back[2].name, "cy");
    EXPECT_EQ(back[2].score, 100);
}

TEST(HighscoreFile, ReadsAcrossAnyWhiteSpace)
{
    auto entries = table({{}, {}, {}});
    EXPECT_EQ(readHighscoreText("ann\t500 bob\r\n300\n\n  cy 100", entries), HIGHSCORE_VALUES);
    EXPECT_EQ(entries[0].name, "ann");
    EXPECT_EQ(entries[0].score, 500);
    EXPECT_EQ(entries[1].name, "bob");
    EXPECT_EQ(entries[1].score, 300);
    EXPECT_EQ(entries[2].name, "cy");
    EXPECT_EQ(entries[2].score, 100);
}

TEST(HighscoreFile, ShortOrBrokenFileKeepsEveryValueAfterTheFirstFailedRead)
{
    const auto before = table({{"xa", 1}, {"xb", 2}, {"xc", 3}});

    auto shortFile = before;
    EXPECT_EQ(readHighscoreText("ann 500\nbob", shortFile), 3);
    EXPECT_EQ(shortFile[0].name, "ann");
    EXPECT_EQ(shortFile[0].score, 500);
    EXPECT_EQ(shortFile[1].name, "bob");
    EXPECT_EQ(shortFile[1].score, 2);
    EXPECT_EQ(shortFile[2].name, "xc");

    // A score that is no number ends the read: the name after it is not taken either.
    auto wordForScore = before;
    EXPECT_EQ(readHighscoreText("ann lots bob 300 cy 100", wordForScore), 1);
    EXPECT_EQ(wordForScore[0].name, "ann");
    EXPECT_EQ(wordForScore[0].score, 1);
    EXPECT_EQ(wordForScore[1].name, "xb");

    auto overflow = before;
    EXPECT_EQ(readHighscoreText("ann 99999999999 bob 3", overflow), 1);
    EXPECT_EQ(overflow[0].score, 1);

    auto empty = before;
    EXPECT_EQ(readHighscoreText("", empty), 0);
    EXPECT_EQ(empty[2].name, "xc");
    EXPECT_EQ(empty[2].score, 3);
}

TEST(HighscoreFile, MissingFileLeavesTheTableAlone)
{
    testsupport::ScratchDir dir;
    auto entries = table({{"xa", 1}, {"xb", 2}, {"xc", 3}});
    EXPECT_EQ(readHighscoreFile((dir.path() / "hs.txt").string(), entries), -1);
    EXPECT_EQ(entries[0].name, "xa");
    EXPECT_EQ(entries[2].score, 3);
}
