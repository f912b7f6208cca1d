#include <gtest/gtest.h>

#include <ctime>

#include "core/stamp_text.h"

namespace {

std::tm Time(int year, int month, int day, int hour, int minute, int second) {
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    return t;
}

TEST(StampText, DateAndTimeWithTwoBlanksBetween) {
    const std::tm t = Time(2026, 12, 9, 18, 23, 59);
    EXPECT_EQ(FormatStampText(&t), "2026.12.09  18:23:59");
}

TEST(StampText, FieldsArePaddedWithZeros) {
    const std::tm t = Time(987, 1, 2, 3, 4, 5);
    EXPECT_EQ(FormatStampText(&t), "0987.01.02  03:04:05");
}

TEST(StampText, NoTimeGivesNoText) {
    EXPECT_EQ(FormatStampText(nullptr), "");
}

TEST(StampText, FieldsOutsideTheirRangeAreWrittenAsTheyAre) {
    std::tm t = Time(2026, 1, 1, 0, 0, 60);  // a leap second
    EXPECT_EQ(FormatStampText(&t), "2026.01.01  00:00:60");
    t.tm_year = 20000 - 1900;
    EXPECT_EQ(FormatStampText(&t).substr(0, 6), "20000.");
}

}  // namespace
