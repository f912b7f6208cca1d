// The recording clock's label and its three stop rules, with figures.
#include <gtest/gtest.h>

#include "CaptureClock.h"

namespace {

TEST(CaptureClock, WithTheLimitCountsDownAndStopsAtZero) {
    CaptureClockTick tick = ReadCaptureClock(1, 30, 0, 5000, 5000);
    EXPECT_EQ(30, tick.shownSeconds);
    EXPECT_FALSE(tick.limitReached);
    tick = ReadCaptureClock(1, 30, 29, 5000, 4990);
    EXPECT_EQ(1, tick.shownSeconds);
    EXPECT_EQ(10, tick.usedMB);
    EXPECT_FALSE(tick.limitReached) << "one second left still records";
    tick = ReadCaptureClock(1, 30, 30, 5000, 4990);
    EXPECT_EQ(0, tick.shownSeconds);
    EXPECT_TRUE(tick.limitReached);
    tick = ReadCaptureClock(1, 30, 45, 5000, 4990);
    EXPECT_EQ(0, tick.shownSeconds) << "a late tick never shows negative time";
    EXPECT_TRUE(tick.limitReached);
}

TEST(CaptureClock, WithoutTheLimitCountsUpAndNeverStopsForTime) {
    const CaptureClockTick tick = ReadCaptureClock(0, 30, 4000, 5000, 4000);
    EXPECT_EQ(4000, tick.shownSeconds);
    EXPECT_FALSE(tick.limitReached);
    EXPECT_FALSE(tick.fileTooLarge);
    EXPECT_FALSE(tick.diskLow);
}

TEST(CaptureClock, TwoGigabytesTakenStopTheRecording) {
    EXPECT_FALSE(ReadCaptureClock(0, 0, 10, 10000, 10000 - 2047).fileTooLarge);
    EXPECT_TRUE(ReadCaptureClock(0, 0, 10, 10000, 10000 - 2048).fileTooLarge);
    EXPECT_TRUE(ReadCaptureClock(0, 0, 10, 10000, 10000 - 3000).fileTooLarge);
    EXPECT_FALSE(ReadCaptureClock(0, 0, 10, 10000, 10500).fileTooLarge) << "space freed meanwhile";
}

TEST(CaptureClock, UnderOneHundredAndOneMegabytesFreeStopTheRecording) {
    EXPECT_FALSE(ReadCaptureClock(0, 0, 1, 500, 101).diskLow);
    EXPECT_TRUE(ReadCaptureClock(0, 0, 1, 500, 100).diskLow);
    EXPECT_TRUE(ReadCaptureClock(0, 0, 1, 500, 0).diskLow) << "an unreadable disk reads as 0 MB";
}

TEST(CaptureClock, RulesAreIndependent) {
    const CaptureClockTick tick = ReadCaptureClock(1, 3, 3, 3000, 50);
    EXPECT_TRUE(tick.limitReached);
    EXPECT_TRUE(tick.fileTooLarge);
    EXPECT_TRUE(tick.diskLow);
}

TEST(CaptureClock, LabelsKeepTheirFormats) {
    EXPECT_EQ("00:00:02 / 0000 MB ", FormatRecordingClock(2, 0));
    EXPECT_EQ("01:01:01 / 0042 MB ", FormatRecordingClock(3661, 42));
    EXPECT_EQ("27:46:39 / 12345 MB ", FormatRecordingClock(99999, 12345));
    EXPECT_EQ("00:00:00 / 0000 MB", FormatIdleClock());
}

} // namespace
