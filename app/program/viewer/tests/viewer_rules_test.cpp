// The viewer's plain rules: the time label, the seek slider, the drag band and the label texts.
#include <gtest/gtest.h>

#include "ViewerRules.h"

namespace {

constexpr double kSecond = 10000000.0;

TEST(ViewerRules, TimeLabelShowsWholeHoursMinutesAndSecondsOfBothTimes) {
    EXPECT_EQ("00:00:00 / 00:01:05", PlayTimeText(0, 65 * kSecond)) << "a clip of 65 s";
    EXPECT_EQ("00:00:05 / 00:00:10", PlayTimeText(5.9999 * kSecond, 10 * kSecond)) << "seconds are truncated";
    EXPECT_EQ("01:01:01 / 02:00:00", PlayTimeText(3661 * kSecond, 7200 * kSecond));
    EXPECT_EQ("00:07:15 / 00:07:20", PlayTimeText(435.6 * kSecond, 440 * kSecond)) << "past 2^32 x 100 ns";
}

TEST(ViewerRules, SeekSliderFollowsThePositionAndStaysForAZeroDuration) {
    int pos = -1;
    ASSERT_TRUE(SeekSliderPos(5 * kSecond, 10 * kSecond, &pos));
    EXPECT_EQ(50, pos);
    ASSERT_TRUE(SeekSliderPos(10 * kSecond, 10 * kSecond, &pos));
    EXPECT_EQ(100, pos);
    pos = 7;
    EXPECT_FALSE(SeekSliderPos(3 * kSecond, 0, &pos));
    EXPECT_EQ(7, pos) << "a picture's duration of 0 leaves the slider alone";
    EXPECT_EQ(5 * kSecond, SeekPosition(50, 10 * kSecond));
    EXPECT_EQ(0, SeekPosition(80, 0));
}

TEST(ViewerRules, DragBandIs191PixelsHighWithSidesSlantingInwards) {
    EXPECT_FALSE(InDragBand(70, 190)) << "left of the slanted edge at the band's foot";
    EXPECT_TRUE(InDragBand(86, 190));
    EXPECT_TRUE(InDragBand(85, 190)) << "69 + 190 x 16 / 190";
    EXPECT_TRUE(InDragBand(69, 0));
    EXPECT_FALSE(InDragBand(68, 0));
    EXPECT_TRUE(InDragBand(775, 0));
    EXPECT_FALSE(InDragBand(776, 0));
    EXPECT_TRUE(InDragBand(759, 190));
    EXPECT_FALSE(InDragBand(760, 190));
    EXPECT_FALSE(InDragBand(300, 191)) << "below the band";
    EXPECT_FALSE(InDragBand(300, -1));
}

TEST(ViewerRules, SizeLabelRoundsUpToWholeKilobytesBeyondFourGigabytes) {
    EXPECT_EQ("0 KB", FileSizeKbText(0));
    EXPECT_EQ("1 KB", FileSizeKbText(1));
    EXPECT_EQ("1 KB", FileSizeKbText(1024));
    EXPECT_EQ("2 KB", FileSizeKbText(1025));
    EXPECT_EQ("5242881 KB", FileSizeKbText((5ULL << 30) + 1)) << "the high part of the size counts";
}

TEST(ViewerRules, DateAndCaptureSizeTexts) {
    SYSTEMTIME day = {};
    day.wYear = 2026;
    day.wMonth = 3;
    day.wDay = 4;
    EXPECT_EQ("2026/03/4", FileDateText(day));
    EXPECT_EQ("320X240", CaptureSizeText(320, 240, FALSE));
    EXPECT_EQ("1280X960", CaptureSizeText(1280, 960, FALSE)) << "snapshots keep the camera's size";
    EXPECT_EQ("320x240", CaptureSizeText(320, 240, TRUE));
    EXPECT_EQ("640x480", CaptureSizeText(800, 240, TRUE)) << "video is clamped once a side exceeds 640x480";
    EXPECT_EQ("640x480", CaptureSizeText(320, 600, TRUE));
    EXPECT_EQ(10u, CurrentDateText().size()) << CurrentDateText();
}

} // namespace
