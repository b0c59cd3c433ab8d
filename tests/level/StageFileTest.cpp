#include "StageFixtures.h"
#include "level/StageFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <vector>

namespace {

struct ReadResult {
    bool ok = false;
    StageFile stage;
    std::string output;   // what was logged
};

ReadResult readText(const std::string& text, const std::string& name = "data/levels/level1.txt")
{
    ReadResult result;
    std::istringstream in(text);
    testsupport::StdoutCapture capture;
    result.ok = readStageFile(in, name, result.stage);
    result.output = capture.finish();
    return result;
}

std::vector<Vec3> asVector(const std::list<Vec3>& points)
{
    return {points.begin(), points.end()};
}

std::vector<Vec3> centres(const std::vector<Cube>& cubes)
{
    std::vector<Vec3> out;
    for (const Cube& cube : cubes) {
        out.push_back(cube.position);
    }
    return out;
}

int lineCount(const std::string& text)
{
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

// A well-formed stage header with no dice, coins or cubes, ending in `rest`.
std::string header(const std::string& rest)
{
    return "f.png s.png 10 60 0 0 1 0 0 1 " + rest;
}

} // namespace

TEST(StageFile, ReadsTheExampleStageTheSameOnOneLineOrOneValueALine)
{
    for (const char* separator : {" ", "\n", "\r\n\t "}) {
        ReadResult r = readText(levelfixtures::exampleStage(separator));
        ASSERT_TRUE(r.ok) << r.output;
        EXPECT_EQ(r.output, "");
        const StageFile& s = r.stage;
        EXPECT_EQ(s.faceTexture, "face3.png");
        EXPECT_EQ(s.skyTexture, "sky3.png");
        EXPECT_EQ(s.fallRadius, 24.0f);
        EXPECT_EQ(s.timeLimit, 120.0f);
        EXPECT_EQ(s.startPosition, Vec3(0, 0, 1.35f));
        EXPECT_EQ(s.targetPosition, Vec3(0, 4, 1.5f));
        EXPECT_EQ(asVector(s.dice), std::vector<Vec3>({Vec3(0, 2, 1.5f)}));
        EXPECT_TRUE(s.coins.empty());
        EXPECT_EQ(centres(s.cubes), std::vector<Vec3>({Vec3(0, 0, 0), Vec3(0, 2, 0), Vec3(0, 4, 0)}));
        EXPECT_EQ(s.message, "go to the finish ");
    }
}

TEST(StageFile, AcceptsTheUsualRealNumberForms)
{
    ReadResult r = readText("a b 2 -4 2.1 1e1 -.5 +3 0.25E-1 7 0 0 0");
    ASSERT_TRUE(r.ok) << r.output;
    EXPECT_EQ(r.stage.fallRadius, 2.0f);
    EXPECT_EQ(r.stage.timeLimit, -4.0f);
    EXPECT_EQ(r.stage.startPosition, Vec3(2.1f, 10, -0.5f));
    EXPECT_EQ(r.stage.targetPosition, Vec3(3, 0.025f, 7));
}

TEST(StageFile, KeepsFileOrderOfDiceCoinsAndCubes)
{
    ReadResult r = readText(header("3 1 1 1 2 2 2 3 3 3  2 -1 0 0 -2 0 0  3 4 0 0 0 0 0 2 0 0"));
    ASSERT_TRUE(r.ok) << r.output;
    EXPECT_EQ(asVector(r.stage.dice), std::vector<Vec3>({Vec3(1, 1, 1), Vec3(2, 2, 2), Vec3(3, 3, 3)}));
    EXPECT_EQ(asVector(r.stage.coins), std::vector<Vec3>({Vec3(-1, 0, 0), Vec3(-2, 0, 0)}));
    EXPECT_EQ(centres(r.stage.cubes), std::vector<Vec3>({Vec3(4, 0, 0), Vec3(0, 0, 0), Vec3(2, 0, 0)}));
    EXPECT_EQ(r.stage.cubes[0].faces[3].normal, Vec3(1, 0, 0));
}

TEST(StageFile, CountsOfZeroOrLessReadNoPoints)
{
    ReadResult r = readText(header("0 -3 1 1 1 1 rest"));
    ASSERT_TRUE(r.ok) << r.output;
    EXPECT_TRUE(r.stage.dice.empty());
    EXPECT_TRUE(r.stage.coins.empty());
    // The cube count is the first token after the (empty) coin list.
    EXPECT_EQ(r.stage.cubes.size(), 1u);
    EXPECT_EQ(r.stage.message, "rest ");
}

TEST(StageFile, BuildsTheMessageFiveWordsToALine)
{
    std::string twelve;
    for (int i = 1; i <= 12; ++i) {
        twelve += " w" + std::to_string(i);
    }
    EXPECT_EQ(readText(header("0 0 0" + twelve)).stage.message,
              "w1 w2 w3 w4 w5 \nw6 w7 w8 w9 w10 \nw11 w12 ");
    EXPECT_EQ(readText(header("0 0 0 a b c d e")).stage.message, "a b c d e ");
    EXPECT_EQ(readText(header("0 0 0 a b c d e f g h i j")).stage.message, "a b c d e \nf g h i j ");
    EXPECT_EQ(readText(header("0 0 0")).stage.message, "");
    EXPECT_EQ(readText(header("0 0 0\n")).stage.message, "");
    EXPECT_EQ(readText(header("0 0 0 Hello there\n")).stage.message,
              readText(header("0 0 0 Hello there")).stage.message);
}

TEST(StageFile, TokensLeftAfterTheCountedCubesBecomeMessageWords)
{
    ReadResult r = readText(header("0 0 1 0 0 0 0 2 0.50 go"));
    ASSERT_TRUE(r.ok) << r.output;
    EXPECT_EQ(r.stage.cubes.size(), 1u);
    EXPECT_EQ(r.stage.message, "0 2 0.50 go ");
}

TEST(StageFile, AppendsToListsThatAlreadyHoldEntries)
{
    StageFile stage;
    stage.dice.push_back(Vec3(9, 9, 9));
    std::istringstream in(header("1 1 2 3 0 0"));
    ASSERT_TRUE(readStageFile(in, "x", stage));
    EXPECT_EQ(asVector(stage.dice), std::vector<Vec3>({Vec3(9, 9, 9), Vec3(1, 2, 3)}));
}

// A file cut anywhere stops the reader where it ends: what came before is kept, nothing is
// made up, and exactly one error line names the file.
TEST(StageFile, AFileCutShortAnywhereKeepsWhatWasReadWithOneErrorLine)
{
    const std::string full = header("2 1 1 1 2 2 2 1 5 5 5 2 0 0 0 0 2 0 msg");
    std::vector<std::string> tokens;
    std::istringstream split(full);
    for (std::string t; split >> t;) {
        tokens.push_back(t);
    }
    const size_t messageStart = tokens.size() - 1;
    for (size_t keep = 0; keep < messageStart; ++keep) {
        std::string cut;
        for (size_t i = 0; i < keep; ++i) {
            cut += tokens[i] + " ";
        }
        ReadResult r = readText(cut, "data/levels/level4.txt");
        SCOPED_TRACE("tokens kept: " + std::to_string(keep));
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(lineCount(r.output), 1) << r.output;
        EXPECT_NE(r.output.find("OF_ERROR: "), std::string::npos) << r.output;
        EXPECT_NE(r.output.find("[data/levels/level4.txt]"), std::string::npos) << r.output;
        EXPECT_NE(r.output.find("the end of the file"), std::string::npos) << r.output;
        EXPECT_EQ(r.stage.message, "");
        // Tokens 10 to 16 are the dice count and two dice, 21 to 27 the cube count and two cubes.
        const size_t diceRead = keep < 14 ? 0 : keep < 17 ? 1 : 2;
        EXPECT_EQ(r.stage.dice.size(), diceRead);
        EXPECT_EQ(r.stage.cubes.size(), keep < 25 ? 0u : 1u);
        if (diceRead == 2) {
            EXPECT_EQ(asVector(r.stage.dice), std::vector<Vec3>({Vec3(1, 1, 1), Vec3(2, 2, 2)}));
        }
        EXPECT_EQ(r.stage.fallRadius, keep >= 3 ? 10.0f : 0.0f);
    }
}

TEST(StageFile, ValuesNotReachedKeepWhatTheyHeld)
{
    StageFile stage;
    stage.timeLimit = 99;
    stage.targetPosition = Vec3(7, 7, 7);
    std::istringstream in("f.png s.png 12");
    testsupport::StdoutCapture capture;
    EXPECT_FALSE(readStageFile(in, "x", stage));
    capture.finish();
    EXPECT_EQ(stage.faceTexture, "f.png");
    EXPECT_EQ(stage.fallRadius, 12.0f);
    EXPECT_EQ(stage.timeLimit, 99.0f);
    EXPECT_EQ(stage.targetPosition, Vec3(7, 7, 7));
}

TEST(StageFile, AWordWhereANumberIsDueStopsTheReadAndIsNamed)
{
    ReadResult r = readText(header("2 1 1 1 one 2 2 7 0 0 0 0"), "data/levels/level2.txt");
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(asVector(r.stage.dice), std::vector<Vec3>({Vec3(1, 1, 1)}));
    EXPECT_TRUE(r.stage.coins.empty());
    EXPECT_TRUE(r.stage.cubes.empty());
    EXPECT_EQ(r.stage.message, "");
    EXPECT_EQ(r.output,
              "OF_ERROR: Stage file: [data/levels/level2.txt] expected the centre of die 2, found \"one\"; "
              "stage cut short there\n");

    r = readText(header("many 0 0"));
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.output.find("expected the dice count, found \"many\""), std::string::npos) << r.output;
}

TEST(StageFile, AHugeCountInAShortFileReadsOnlyWhatIsThere)
{
    ReadResult r = readText(header("2000000000 1 2 3 4 5 6"));
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(asVector(r.stage.dice), std::vector<Vec3>({Vec3(1, 2, 3), Vec3(4, 5, 6)}));
    EXPECT_NE(r.output.find("expected the centre of die 3, found the end of the file"), std::string::npos)
        << r.output;

    r = readText(header("0 0 2147483647 0 0 0 words here"));
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.stage.cubes.size(), 1u);
}

TEST(StageFile, CountsAndCoordinatesOutOfRangeOrNotFiniteAreRefused)
{
    struct Case {
        std::string text;
        const char* expected;
    };
    const Case cases[] = {
        {header("99999999999 0 0 0"), "expected the dice count, found a number out of range"},
        {header("-99999999999 0 0 0"), "expected the dice count, found a number out of range"},
        {"f s 1e39 60", "expected the fall radius, found a number out of range"},
        {"f s 10 -1e39", "expected the time limit, found a number out of range"},
        {header("1 0 nan 0 0 0 0"), "expected the centre of die 1, found \"nan\""},
        {header("0 1 inf 0 0 0 0"), "expected the centre of coin 1, found \"inf\""},
        {header("0 0 1 0 0 -infinity"), "expected the centre of cube 1, found \"infinity\""},
    };
    for (const Case& c : cases) {
        ReadResult r = readText(c.text);
        SCOPED_TRACE(c.text);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(lineCount(r.output), 1);
        EXPECT_NE(r.output.find(c.expected), std::string::npos) << r.output;
        EXPECT_TRUE(r.stage.dice.empty());
        EXPECT_TRUE(r.stage.coins.empty());
        EXPECT_TRUE(r.stage.cubes.empty());
    }
}

TEST(StageFile, JunkBytesEndTheReadWithoutHarm)
{
    const std::string junk("\x00\xff\x7f garbage \x01\x02 3 \x80\x81", 20);
    ReadResult r = readText(junk);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(lineCount(r.output), 1);
    EXPECT_TRUE(r.stage.cubes.empty());

    r = readText("");
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.output.find("expected the face texture name, found the end of the file"), std::string::npos);

    // The offending token is shown printable and short: a file cannot clear the screen,
    // ring the bell or flood the console through the error line.
    r = readText("f s \x1b[2J\x07\x9b" + std::string(100000, 'x') + " 60");
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(lineCount(r.output), 1);
    EXPECT_NE(r.output.find("expected the fall radius, found \"?[2J??xxx"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("xxx...\"; stage cut short there\n"), std::string::npos) << r.output;
    EXPECT_LT(r.output.size(), 160u);
    auto unprintable = [](char c) { return static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7e; };
    EXPECT_EQ(std::count_if(r.output.begin(), r.output.end(), unprintable), 1);   // the line break
}
