// What the checker says about stage files the game's loader would misread.

#include "CheckerRun.h"

#include <gtest/gtest.h>

namespace {

CheckerRun checkText(const StageFolder& folder, const std::string& text, const std::vector<std::string>& options = {})
{
    folder.write("stage.txt", text);
    std::vector<std::string> args = options;
    args.push_back("data/levels/stage.txt");
    return runChecker(args, folder.path());
}

StageText shortRow()
{
    StageText stage;
    stage.dice = {{0, 2, 1.35f}};
    stage.cubes = rowOfCubes(3);
    return stage;
}

} // namespace

TEST(FormatReport, MissingFileAndBadCommandLines)
{
    StageFolder folder;
    CheckerRun missing = runChecker({"data/levels/nothing.txt"}, folder.path());
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(linesWith(missing.output, "data/levels/nothing.txt: error: cannot open the file").size(), 1u) << missing.output;

    EXPECT_EQ(runChecker({}, folder.path()).status, 2);
    CheckerRun unknown = runChecker({"--fastest", "data/levels/nothing.txt"}, folder.path());
    EXPECT_EQ(unknown.status, 2);
    EXPECT_EQ(linesWith(unknown.output, "unknown option --fastest").size(), 1u) << unknown.output;
}

TEST(FormatReport, FileEndingEarlyNamesTheFieldThatIsDue)
{
    StageFolder folder;
    CheckerRun empty = checkText(folder, "");
    EXPECT_EQ(empty.status, 1);
    EXPECT_EQ(linesWith(empty.output, "error: the file ends where the face texture name is due (the file is empty)").size(), 1u)
        << empty.output;

    CheckerRun cut = checkText(folder, "face.png sky.png\n24\n60\n0 0 1.35\n0 4\n");
    EXPECT_EQ(cut.status, 1);
    EXPECT_EQ(linesWith(cut.output, "stage.txt:5: error: the file ends where the finish position z is due (after token 9)").size(), 1u)
        << cut.output;
}

TEST(FormatReport, EveryUnreadableNumberIsReportedWithLineAndToken)
{
    StageFolder folder;
    StageText stage = shortRow();
    stage.timeLimit = "sixty";
    stage.fallRadius = "1e50";
    std::string text = stage.text();
    // The y of the start, on line 5, written with a letter O.
    text.replace(text.find("0 0 1.35"), 8, "0 O 1.35");
    CheckerRun run = checkText(folder, text);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(linesWith(run.output, "stage.txt:3: token 3: error: expected the fall radius (a number), found \"1e50\", out of range").size(), 1u)
        << run.output;
    EXPECT_EQ(linesWith(run.output, "stage.txt:4: token 4: error: expected the time limit (a number), found \"sixty\"").size(), 1u)
        << run.output;
    EXPECT_EQ(linesWith(run.output, "stage.txt:5: token 6: error: expected the start position y (a number), found \"O\"").size(), 1u)
        << run.output;
    EXPECT_EQ(linesWith(run.output, "stage.txt: FAIL").size(), 1u) << run.output;
}

TEST(FormatReport, CountsMustBeWholeAndNotNegative)
{
    StageFolder folder;
    std::string text = shortRow().text();
    // "1" dice on line 7 becomes "1.0": the loader would read 1 and then ".0" as a coordinate.
    text.replace(text.find("\n1\n"), 3, "\n1.0\n");
    CheckerRun real = checkText(folder, text);
    EXPECT_EQ(real.status, 1);
    EXPECT_EQ(linesWith(real.output, "stage.txt:7: token 11: error: expected the dice count (a whole number), found \"1.0\"").size(), 1u)
        << real.output;

    StageText negative = shortRow();
    std::string negativeText = negative.text();
    negativeText.replace(negativeText.find("\n0\n"), 3, "\n-2\n");   // the coin count
    CheckerRun run = checkText(folder, negativeText);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(linesWith(run.output, "stage.txt:9: token 15: error: the coin count is -2; a count must be 0 or more").size(), 1u)
        << run.output;
}

TEST(FormatReport, CountsThatDisagreeWithThePointsWritten)
{
    StageFolder folder;
    StageText stage = shortRow();

    // One cube too many announced: the list runs into the message.
    std::string tooMany = stage.text();
    tooMany.replace(tooMany.find("\n3\n"), 3, "\n4\n");
    CheckerRun many = checkText(folder, tooMany);
    EXPECT_EQ(many.status, 1);
    EXPECT_EQ(linesWith(many.output, "stage.txt:14: token 26: error: the cube count is 4 but 3 cubes follow before the message").size(), 1u)
        << many.output;

    // One cube too few: the last point's coordinates become message words.
    std::string tooFew = stage.text();
    tooFew.replace(tooFew.find("\n3\n"), 3, "\n2\n");
    CheckerRun few = checkText(folder, tooFew);
    EXPECT_EQ(linesWith(few.output, "stage.txt:13: token 23: warning: the message starts with 3 numbers (\"0 4 0\")").size(), 1u)
        << few.output;

    // A coordinate missing from the last cube.
    std::string cut = stage.text();
    cut.replace(cut.find("0 4 0\n"), 6, "0 4\n");
    CheckerRun missing = checkText(folder, cut);
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(linesWith(missing.output, "the cube count is 3 but 2 cubes and 2 more numbers follow before the message: a coordinate is missing").size(), 1u)
        << missing.output;

    // A count far beyond what the file holds is not trusted.
    std::string huge = stage.text();
    huge.replace(huge.find("\n1\n"), 3, "\n2000000000\n");
    CheckerRun hugeRun = checkText(folder, huge);
    EXPECT_EQ(hugeRun.status, 1);
    EXPECT_EQ(linesWith(hugeRun.output, "error: the dice count is 2000000000 but").size(), 1u) << hugeRun.output;
}

TEST(FormatReport, MessageAndTexturesAreChecked)
{
    StageFolder folder;
    StageText stage = shortRow();
    stage.message = "";
    stage.sky = "night.png";
    CheckerRun run = checkText(folder, stage.text());
    EXPECT_EQ(linesWith(run.output, "warning: no message after the 3 cubes").size(), 1u) << run.output;
    EXPECT_EQ(linesWith(run.output, "stage.txt:2: warning: texture data/levels/levelTextures/night.png is missing").size(), 1u)
        << run.output;
    EXPECT_EQ(linesWith(run.output, "face.png is missing").size(), 0u) << run.output;
}
