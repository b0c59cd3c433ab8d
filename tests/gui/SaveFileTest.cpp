#include "gui/SaveFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace {

std::string contentsOf(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct ReadOutcome {
    bool ok;
    SaveState state;
    std::string output;
};

// Starts from what the game starts from: stage 1, score 0.
ReadOutcome readFile(const std::filesystem::path& file, SaveState before = SaveState{})
{
    ReadOutcome result{false, before, ""};
    testsupport::StdoutCapture capture;
    result.ok = readSaveFile(file.string(), result.state);
    result.output = capture.finish();
    return result;
}

} // namespace

TEST(SaveFile, WritesStageBlankScoreAndNothingMore)
{
    testsupport::ScratchDir dir;
    const auto file = dir.path() / "DoNotReadMe.txt";
    ASSERT_TRUE(writeSaveFile(file.string(), SaveState{4, 2730}));
    EXPECT_EQ(contentsOf(file), "4 2730");

    // A shorter save replaces a longer one as a whole: no digits of the old one are left.
    dir.write("DoNotReadMe.txt", "12 9876543");
    ASSERT_TRUE(writeSaveFile(file.string(), SaveState{2, 5}));
    EXPECT_EQ(contentsOf(file), "2 5");
    EXPECT_FALSE(std::filesystem::exists(file.string() + ".tmp"));
}

TEST(SaveFile, ReadsWhatWasWrittenAndAnyWhiteSpaceBetween)
{
    testsupport::ScratchDir dir;
    const auto file = dir.path() / "DoNotReadMe.txt";
    ASSERT_TRUE(writeSaveFile(file.string(), SaveState{7, 1130}));
    ReadOutcome read = readFile(file);
    EXPECT_TRUE(read.ok);
    EXPECT_EQ(read.state.stage, 7);
    EXPECT_EQ(read.state.totalScore, 1130);
    EXPECT_EQ(read.output, "");

    SaveState edited;
    EXPECT_TRUE(readSaveText(" \t3\n\n 250\n", edited));
    EXPECT_EQ(edited.stage, 3);
    EXPECT_EQ(edited.totalScore, 250);
    // Text after the two numbers is not part of the save and does not spoil it.
    EXPECT_TRUE(readSaveText("5 40 and more", edited));
    EXPECT_EQ(edited.stage, 5);
    EXPECT_EQ(edited.totalScore, 40);
}

TEST(SaveFile, MissingFileStartsAFreshGameSilently)
{
    testsupport::ScratchDir dir;
    ReadOutcome read = readFile(dir.path() / "DoNotReadMe.txt");
    EXPECT_FALSE(read.ok);
    EXPECT_EQ(read.state.stage, 1);
    EXPECT_EQ(read.state.totalScore, 0);
    EXPECT_EQ(read.output, "");
}

TEST(SaveFile, GarbledFileStartsAFreshGameWithOneMessage)
{
    testsupport::ScratchDir dir;
    for (const char* text : {"", "four 2730", "99999999999 10", "\x01\xff 7"}) {
        SCOPED_TRACE(testing::Message() << "contents: \"" << text << "\"");
        const auto file = dir.write("DoNotReadMe.txt", text);
        ReadOutcome read = readFile(file);
        EXPECT_FALSE(read.ok);
        EXPECT_EQ(read.state.stage, 1);
        EXPECT_EQ(read.state.totalScore, 0);
        EXPECT_NE(read.output.find("OF_ERROR: save file: ["), std::string::npos) << read.output;
        EXPECT_NE(read.output.find("DoNotReadMe.txt]"), std::string::npos) << read.output;
        EXPECT_EQ(std::count(read.output.begin(), read.output.end(), '\n'), 1) << read.output;
    }
}

TEST(SaveFile, HalfAReadSaveKeepsTheStageThatRead)
{
    testsupport::ScratchDir dir;
    for (const char* text : {"4", "4 lots", "4 -99999999999", " 4\n"}) {
        SCOPED_TRACE(testing::Message() << "contents: \"" << text << "\"");
        const auto file = dir.write("DoNotReadMe.txt", text);
        ReadOutcome read = readFile(file);
        EXPECT_FALSE(read.ok);
        EXPECT_EQ(read.state.stage, 4);
        EXPECT_EQ(read.state.totalScore, 0);
        EXPECT_EQ(read.output, "OF_ERROR: save file: [" + file.string() +
                                   "] holds a stage number but no score, starting at stage 4 with score 0\n");
    }
    // A score that cannot be read keeps whatever it was before, not only 0.
    ReadOutcome kept = readFile(dir.write("DoNotReadMe.txt", "6 x"), SaveState{2, 750});
    EXPECT_EQ(kept.state.stage, 6);
    EXPECT_EQ(kept.state.totalScore, 750);
}

TEST(SaveFile, FailedWriteIsReportedAndLeavesNothingBehind)
{
    testsupport::ScratchDir dir;
    const auto file = dir.path() / "no-such-folder" / "DoNotReadMe.txt";
    testsupport::StdoutCapture capture;
    EXPECT_FALSE(writeSaveFile(file.string(), SaveState{2, 100}));
    const std::string output = capture.finish();
    EXPECT_NE(output.find("OF_ERROR: could not save ["), std::string::npos) << output;
    EXPECT_FALSE(std::filesystem::exists(file.parent_path()));
}
