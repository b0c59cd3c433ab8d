#include "progress/ProvenTimes.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <filesystem>

TEST(Medal, GoldWithinATenthSilverWithinAHalfBronzeForAnyWin)
{
    // Proven 164 steps: gold up to 180.4, silver up to 246.
    EXPECT_EQ(goldSteps(164), 180);
    EXPECT_EQ(silverSteps(164), 246);
    EXPECT_EQ(medalForSteps(100, 164), Medal::Gold);   // quicker than the proof still is gold
    EXPECT_EQ(medalForSteps(164, 164), Medal::Gold);
    EXPECT_EQ(medalForSteps(180, 164), Medal::Gold);
    EXPECT_EQ(medalForSteps(181, 164), Medal::Silver);
    EXPECT_EQ(medalForSteps(246, 164), Medal::Silver);
    EXPECT_EQ(medalForSteps(247, 164), Medal::Bronze);
    EXPECT_EQ(medalForSteps(100000, 164), Medal::Bronze);
    EXPECT_EQ(medalForSteps(0, 164), Medal::None);

    // Exact boundaries: 10 % and 50 % on the dot earn the better medal.
    EXPECT_EQ(medalForSteps(110, 100), Medal::Gold);
    EXPECT_EQ(medalForSteps(111, 100), Medal::Silver);
    EXPECT_EQ(medalForSteps(150, 100), Medal::Silver);
    EXPECT_EQ(medalForSteps(151, 100), Medal::Bronze);

    // No proven time: a win is bronze, and there are no targets.
    EXPECT_EQ(medalForSteps(50, 0), Medal::Bronze);
    EXPECT_EQ(goldSteps(0), 0);
    // Huge proven times do not overflow.
    EXPECT_EQ(goldSteps(2000000000), INT_MAX);
    EXPECT_EQ(medalForSteps(INT_MAX, 2000000000), Medal::Gold);
}

TEST(ProvenTimes, ReadsItsLinesSkipsBadOnesAndGivesTargets)
{
    ProvenTimes proven;
    testsupport::StdoutCapture capture;
    EXPECT_TRUE(proven.loadText("tumbrix-proven-times 1\n"
                                "stage 1 steps 164\n"
                                "stage 2 steps -5\n"
                                "stage 3 steps 400\n"
                                "stage 3 steps 300\n"
                                "nonsense\n",
                                "times.txt"));
    const std::string said = capture.finish();
    EXPECT_NE(said.find("proven times: [times.txt] line 3: steps -5 out of range"), std::string::npos) << said;
    EXPECT_NE(said.find("line 5: a second time for stage 3"), std::string::npos) << said;
    EXPECT_NE(said.find("line 6: not a proven time"), std::string::npos) << said;
    EXPECT_EQ(proven.count(), 2);
    EXPECT_EQ(proven.steps(3), 400);
    EXPECT_EQ(proven.steps(2), 0);
    EXPECT_EQ(proven.goldTarget(1), 180);
    EXPECT_EQ(proven.silverTarget(1), 246);
    EXPECT_EQ(proven.medalFor(1, 200), Medal::Silver);
    EXPECT_EQ(proven.medalFor(2, 200), Medal::Bronze);
    EXPECT_EQ(proven.text(), "tumbrix-proven-times 1\nstage 1 steps 164\nstage 3 steps 400\n");
}

TEST(ProvenTimes, MissingOrForeignFileGivesOneMessageAndNoTargets)
{
    testsupport::ScratchDir dir;
    for (const std::string& contents : {std::string(), std::string("\x7f" "ELF\0\0binary", 12), std::string("stage 1 steps 5\n")}) {
        const std::filesystem::path file = dir.write("times.txt", contents);
        ProvenTimes proven;
        proven.set(1, 100);
        testsupport::StdoutCapture capture;
        EXPECT_FALSE(proven.load(file.string()));
        const std::string said = capture.finish();
        EXPECT_EQ(proven.count(), 0);
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
        EXPECT_NE(said.find("[" + file.string() + "]"), std::string::npos) << said;
    }
    ProvenTimes proven;
    testsupport::StdoutCapture capture;
    EXPECT_FALSE(proven.load((dir.path() / "none.txt").string()));
    EXPECT_NE(capture.finish().find("cannot be opened"), std::string::npos);
}

TEST(ProvenTimes, ShippedFileNamesEveryStage)
{
    ProvenTimes proven;
    testsupport::StdoutCapture capture;
    ASSERT_TRUE(proven.load((testsupport::sourceDir() / PROVEN_TIMES_PATH).string()));
    EXPECT_EQ(capture.finish(), "");
    for (int stage = 1; std::filesystem::exists(testsupport::sourceDir() / "data" / "levels" /
                                                ("level" + std::to_string(stage) + ".txt"));
         ++stage) {
        EXPECT_GT(proven.steps(stage), 0) << "stage " << stage;
    }
    EXPECT_EQ(proven.count(), 100);
}
