#include "FrameStats.h"

#include <gtest/gtest.h>

TEST(FrameStats, PercentilesAreNearestRankOverSamplesInAnyOrder)
{
    FrameStats stats;
    for (int i = 100; i >= 1; --i) {   // arrival order must not matter
        stats.add(i);
    }
    EXPECT_EQ(stats.count(), 100u);
    EXPECT_EQ(stats.median(), 50.0);
    EXPECT_EQ(stats.percentile(99.0), 99.0);
    EXPECT_EQ(stats.maximum(), 100.0);
    EXPECT_EQ(stats.percentile(0.0), 1.0);
    EXPECT_DOUBLE_EQ(stats.mean(), 50.5);
}

TEST(FrameStats, TheTailCountsOnlyWhenMoreThanOnePercentOfFramesAreSlow)
{
    FrameStats few;
    FrameStats many;
    for (int i = 0; i < 199; ++i) {
        few.add(10.0);
    }
    few.add(40.0);
    EXPECT_EQ(few.percentile(99.0), 10.0);   // rank 198 of 200
    for (int i = 0; i < 97; ++i) {
        many.add(10.0);
    }
    for (int i = 0; i < 3; ++i) {
        many.add(40.0);
    }
    EXPECT_EQ(many.percentile(99.0), 40.0);   // rank 99 of 100 is one of the three
    EXPECT_EQ(medianAndP99(many), "10.00 / 40.00");
}

TEST(FrameStats, NoSamplesGiveZeroRatherThanGarbage)
{
    FrameStats stats;
    EXPECT_EQ(stats.median(), 0.0);
    EXPECT_EQ(stats.percentile(99.0), 0.0);
    EXPECT_EQ(stats.mean(), 0.0);
    stats.add(7.5);
    EXPECT_EQ(stats.median(), 7.5);
    EXPECT_EQ(stats.percentile(99.0), 7.5);
}
