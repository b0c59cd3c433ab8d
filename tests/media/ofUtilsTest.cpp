#include "media/ofUtils.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

TEST(ofToDataPath, PutsDataInFrontOfRelativeNamesOnly)
{
    EXPECT_EQ(ofToDataPath("soccer.png"), "data/soccer.png");
    EXPECT_EQ(ofToDataPath("die/die.3ds"), "data/die/die.3ds");
    EXPECT_EQ(ofToDataPath("data/x.txt"), "data/x.txt");
    EXPECT_EQ(ofToDataPath("/x"), "/x");
    EXPECT_EQ(ofToDataPath("C:x"), "C:x");
    EXPECT_EQ(ofToDataPath(""), "data/");
}

TEST(ofToDataPath, AbsoluteKeepsForwardSlashes)
{
    testsupport::ScratchDir dir;
    testsupport::WorkingDir cwd(dir.path());
    std::string expected = std::filesystem::current_path().string() + "/data/a/b.png";
    EXPECT_EQ(ofToDataPath("a/b.png", true), expected);
    EXPECT_EQ(ofToDataPath("/abs/c.png", true), "/abs/c.png");
}

TEST(ofToString, FixedPrecision)
{
    EXPECT_EQ(ofToString(59.7, 0), "60");
    EXPECT_EQ(ofToString(2.5, 2), "2.50");
    EXPECT_EQ(ofToString(-0.125, 1), "-0.1");
}

TEST(ofLog, PrintsPrefixedLinesAtOrAboveTheLevel)
{
    testsupport::StdoutCapture capture;
    ofLog(OF_LOG_VERBOSE, "hidden %d", 0);
    ofLog(OF_LOG_NOTICE, "hidden %d", 1);
    ofLog(OF_LOG_WARNING, "warn %s", "w");
    ofLog(OF_LOG_ERROR, "Failed to load image");
    ofLog(OF_LOG_FATAL_ERROR, "fatal");
    ofLog(7, "bare");
    EXPECT_EQ(capture.finish(), "OF_WARNING: warn w\nOF_ERROR: Failed to load image\nOF_FATAL_ERROR: fatal\nbare\n");
}

TEST(ofElapsedTime, CountsFromTheLastReset)
{
    ofResetElapsedTimeCounter();
    int before = ofGetElapsedTimeMillis();
    ofSleepMillis(30);
    int after = ofGetElapsedTimeMillis();
    EXPECT_LE(before, 5);
    EXPECT_GE(after - before, 29);
    EXPECT_NEAR(ofGetElapsedTimef(), after / 1000.0f, 0.05f);
}
