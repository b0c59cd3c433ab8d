#include "progress/ProvenTimes.h"
#include "progress/Records.h"
#include "progress/StageSelect.h"
#include "progress/Worlds.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <regex>

TEST(StageSelect, LeftAndRightTurnWorldsUpAndDownMoveStagesBothStoppingAtTheEnds)
{
    StageSelect select(25);   // two worlds of ten and one of five
    EXPECT_EQ(select.worldCount(), 3);
    EXPECT_EQ(select.stage(), 1);
    EXPECT_EQ(select.world(), 1);

    select.up();
    EXPECT_EQ(select.stage(), 1);
    for (int i = 0; i < 12; ++i) {
        select.down();
    }
    EXPECT_EQ(select.stage(), 10);   // the page's end, not the next world

    select.select(7);
    select.right();
    EXPECT_EQ(select.world(), 2);
    EXPECT_EQ(select.stage(), 17);   // same place on the page
    select.right();
    EXPECT_EQ(select.stage(), 25);   // the short last world: its last stage
    EXPECT_EQ(select.firstStage(), 21);
    EXPECT_EQ(select.lastStage(), 25);
    select.right();
    EXPECT_EQ(select.stage(), 25);
    select.down();
    EXPECT_EQ(select.stage(), 25);
    select.left();
    select.left();
    select.left();
    EXPECT_EQ(select.stage(), 5);
    EXPECT_EQ(select.world(), 1);

    // Fewer stages than the cursor names: it moves to the last one; none: nothing to select.
    select.select(25);
    select.setStageCount(12);
    EXPECT_EQ(select.stage(), 12);
    select.setStageCount(0);
    EXPECT_EQ(select.stage(), 0);
    EXPECT_EQ(select.world(), 0);
    select.right();
    select.down();
    EXPECT_EQ(select.stage(), 0);
}

TEST(StageSelect, StagesBeyondTheSavesStageAreLocked)
{
    EXPECT_FALSE(StageSelect::locked(1, 1));
    EXPECT_FALSE(StageSelect::locked(1, 0));   // a fresh save still plays stage 1
    EXPECT_TRUE(StageSelect::locked(2, 1));
    EXPECT_FALSE(StageSelect::locked(14, 14));
    EXPECT_TRUE(StageSelect::locked(15, 14));
    EXPECT_FALSE(StageSelect::locked(100, 101));   // the game finished: all open
}

TEST(StageSelect, MedalsOfAWorldCountedFromTheBestTimes)
{
    ProvenTimes proven;
    for (int stage = 1; stage <= 20; ++stage) {
        proven.set(stage, 100);
    }
    Records records;
    records.recordWin(11, 300, 0, 1);   // bronze ...
    records.recordWin(11, 105, 0, 2);   // ... then gold: the best time counts
    records.recordWin(12, 110, 0, 1);   // gold on the boundary
    records.recordWin(13, 150, 0, 1);   // silver
    records.recordWin(14, 151, 0, 1);   // bronze
    records.recordWin(3, 100, 0, 1);    // another world
    const StageSelect select(20);
    const WorldMedals second = select.medals(2, records, proven);
    EXPECT_EQ(second.gold, 2);
    EXPECT_EQ(second.silver, 1);
    EXPECT_EQ(second.bronze, 1);
    EXPECT_EQ(second.stages, 10);
    EXPECT_EQ(select.medals(1, records, proven).gold, 1);
    EXPECT_EQ(select.medals(3, records, proven).stages, 0);
    EXPECT_EQ(StageSelect::medalOf(15, records, proven), Medal::None);
}

TEST(Worlds, NamesFromTheFileAndNumbersForTheRest)
{
    Worlds worlds;
    {
        testsupport::StdoutCapture capture;
        EXPECT_TRUE(worlds.loadText("tumbrix-worlds 1\nworld 1  First Moves \nworld 2 Towers\n", "worlds.txt"));
        EXPECT_EQ(capture.finish(), "");
    }
    EXPECT_EQ(worlds.name(1), "First Moves");
    EXPECT_EQ(worlds.name(2), "Towers");
    EXPECT_EQ(worlds.name(3), "World 3");

    // Bad lines: one message in all, those worlds numbered, the good names kept.
    testsupport::StdoutCapture capture;
    EXPECT_FALSE(worlds.loadText("tumbrix-worlds 1\nworld 1 Fine\nworld x Bad\nworld 3 \x01\x02\n"
                                 "world 4 a name far too long to fit on the stage select screen\n",
                                 "worlds.txt"));
    std::string said = capture.finish();
    EXPECT_EQ(said, "OF_ERROR: worlds: [worlds.txt] line 3: bad world 'x' (3 bad lines skipped); those worlds are numbered\n");
    EXPECT_EQ(worlds.name(1), "Fine");
    EXPECT_EQ(worlds.name(3), "World 3");
    EXPECT_EQ(worlds.name(4), "World 4");

    // Missing or foreign files: every world numbered, one message.
    testsupport::ScratchDir dir;
    for (const std::string& contents : {std::string("world 1 No Header\n"), std::string("\0\0\0\xff", 4)}) {
        testsupport::StdoutCapture again;
        EXPECT_FALSE(worlds.load(dir.write("worlds.txt", contents).string()));
        said = again.finish();
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
        EXPECT_EQ(worlds.name(1), "World 1");
    }
    testsupport::StdoutCapture missing;
    EXPECT_FALSE(worlds.load((dir.path() / "none.txt").string()));
    EXPECT_NE(missing.finish().find("cannot be opened; the worlds are numbered"), std::string::npos);
}

TEST(Worlds, ShippedNamesAreTheWorldsOfTheStagePage)
{
    // Every world of the hundred stages is named, as docs/stages.md's worlds table names it.
    Worlds worlds;
    testsupport::StdoutCapture capture;
    ASSERT_TRUE(worlds.load((testsupport::sourceDir() / WORLDS_FILE_PATH).string()));
    EXPECT_EQ(capture.finish(), "");
    EXPECT_EQ(worlds.named(), Worlds::worldCount(100));

    std::ifstream page(testsupport::sourceDir() / "docs" / "stages.md");
    const std::regex row(R"(^\| (\d+) \| ([^|]+?) \| \d+-\d+ \|)");
    std::string line;
    int rows = 0;
    while (std::getline(page, line)) {
        std::smatch match;
        if (std::regex_search(line, match, row)) {
            ++rows;
            EXPECT_EQ(worlds.name(std::stoi(match[1])), match[2].str()) << line;
        }
    }
    EXPECT_EQ(rows, 10);
    EXPECT_EQ(Worlds::worldOf(10), 1);
    EXPECT_EQ(Worlds::worldOf(11), 2);
    EXPECT_EQ(Worlds::firstStage(10), 91);
}
