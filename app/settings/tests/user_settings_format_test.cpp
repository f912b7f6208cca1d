// The value rules of the user settings file: times, sizes, lists, file types and capture names.
#include "UserSettingsFormat.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using namespace qelapp;

TEST(SettingsTimes, DefaultsAreWrittenPaddedAndReadBack) {
    EXPECT_EQ("0:30", DefaultCaptureTimeText());
    EXPECT_EQ("0:5", DefaultIntervalTimeText());
    EXPECT_EQ(30, ReadCaptureSeconds(DefaultCaptureTimeText()));
    EXPECT_EQ(5, ReadIntervalSeconds(DefaultIntervalTimeText()));
    EXPECT_EQ("  0:30", FormatCaptureTime(30));
    EXPECT_EQ("00:05", FormatIntervalTime(5));
    EXPECT_EQ(30, ReadCaptureSeconds(FormatCaptureTime(30)));
    EXPECT_EQ(5, ReadIntervalSeconds(FormatIntervalTime(5)));
}

TEST(SettingsTimes, MinutesAndSecondsAddUpAndAreWrittenBackNormalised) {
    EXPECT_EQ(125, ReadCaptureSeconds("2:5"));
    EXPECT_EQ("  2:05", FormatCaptureTime(125));
    EXPECT_EQ(90, ReadCaptureSeconds("0:90"));
    EXPECT_EQ("  1:30", FormatCaptureTime(90));
    EXPECT_EQ("100:00", FormatCaptureTime(6000));
    EXPECT_EQ("10:00", FormatIntervalTime(600));
}

TEST(SettingsTimes, TextsMissingThePatternTakeTheDefaults) {
    for (const char* bad : {"", "abc", "5", ":30", "1;30", "-1:0"}) {
        EXPECT_EQ(30, ReadCaptureSeconds(bad)) << bad;
        EXPECT_EQ(5, ReadIntervalSeconds(bad)) << bad;
    }
}

TEST(SettingsTimes, IntervalBelowOneSecondReadsAsOneSecond) {
    EXPECT_EQ(1, ReadIntervalSeconds("0:0"));
    EXPECT_EQ(1, ReadIntervalSeconds("00:01"));
    EXPECT_EQ(0, ReadCaptureSeconds("0:0")); // the limit itself may be zero: the clock stops at once
}

TEST(SettingsSize, PatternSidesAndText) {
    int width = 7, height = 8;
    EXPECT_TRUE(ParseSize("640x480", &width, &height));
    EXPECT_EQ(640, width);
    EXPECT_EQ(480, height);
    for (const char* bad : {"", "640", "640*480", "0x480", "640x-1", "x480"}) {
        width = 7;
        height = 8;
        EXPECT_FALSE(ParseSize(bad, &width, &height)) << bad;
        EXPECT_EQ(7, width);
        EXPECT_EQ(8, height);
    }
    EXPECT_EQ("352x288", FormatSize(352, 288));
}

TEST(SettingsLists, FrameSizesAndDepthsAreKeptAsIndexes) {
    EXPECT_EQ(0, FrameSizeIndexOf("128x96"));
    EXPECT_EQ(5, FrameSizeIndexOf("640x480"));
    EXPECT_EQ(-1, FrameSizeIndexOf("800x600"));
    EXPECT_EQ(-1, FrameSizeIndexOf("320X240"));
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(i, FrameSizeIndexOf(FrameSizeText(i)));
    EXPECT_EQ("320x240", FrameSizeText(6));
    EXPECT_EQ("320x240", FrameSizeText(-1));
    EXPECT_EQ(0, ColorDepthIndexOf("16"));
    EXPECT_EQ(2, ColorDepthIndexOf("32"));
    EXPECT_EQ(-1, ColorDepthIndexOf("8"));
    EXPECT_EQ("24", ColorDepthText(3));
}

TEST(SettingsFileTypes, TablesRecordKindAndExtensions) {
    EXPECT_EQ(0, RecordKindOf(0));
    EXPECT_EQ(2, RecordKindOf(2));
    EXPECT_EQ(3, RecordKindOf(3));
    EXPECT_EQ(3, RecordKindOf(7));
    EXPECT_EQ(3, RecordKindOf(-1));
    EXPECT_STREQ(".AVI", VideoExtension(0));
    EXPECT_STREQ(".ASF", VideoExtension(1));
    EXPECT_STREQ(".WMV", VideoExtension(2));
    // Kind 3 keeps videoFileType 3: the engine's system-profile ASF, named like type 2.
    EXPECT_STREQ(".WMV", VideoExtension(3));
    EXPECT_STREQ(".ASF", VideoExtension(4));
    EXPECT_EQ(1, ValidVideoFileType(3));
    EXPECT_EQ(1, ValidVideoFileType(-1));
    EXPECT_EQ(2, ValidVideoFileType(2));
    const char* images[] = {".BMP", ".JPG", ".PNG", ".TIF", ".GIF"};
    for (int i = 0; i < 5; ++i)
        EXPECT_STREQ(images[i], ImageExtension(i));
    EXPECT_EQ(1, ValidImageFileType(5));
    EXPECT_STREQ(".JPG", ImageExtension(5));
    EXPECT_STREQ(".JPG", ImageExtension(-2));
}

TEST(CaptureNames, FourDigitsAndTheWrapAfter9999) {
    EXPECT_EQ("C:\\Pics\\DREM0001.AVI", CaptureFileName("C:\\Pics", "DREM", 1, ".AVI"));
    EXPECT_EQ("C:\\Pics\\DREM9999.JPG", CaptureFileName("C:\\Pics", "DREM", 9999, ".JPG"));
    EXPECT_EQ(2, NextCount(1));
    EXPECT_EQ(1, NextCount(9999));
    EXPECT_EQ(1, ValidCount(0));
    EXPECT_EQ(1, ValidCount(10000));
    EXPECT_EQ(9999, ValidCount(9999));
}

TEST(CaptureNames, TakenNamesAreSkippedAndEveryNameBuiltAdvancesTheCount) {
    const std::set<std::string> taken = {"F\\DREM0005.JPG"};
    auto exists = [&](const std::string& name) { return taken.count(name) != 0; };
    int count = 5;
    EXPECT_EQ("F\\DREM0006.JPG", NextFreeCaptureName("F", "DREM", &count, ".JPG", exists));
    EXPECT_EQ(7, count);
    count = 9999;
    EXPECT_EQ("F\\DREM9999.JPG", NextFreeCaptureName("F", "DREM", &count, ".JPG", exists));
    EXPECT_EQ(1, count);
}

TEST(CaptureNames, AllNamesTakenEndsWithoutAName) {
    int calls = 0;
    int count = 42;
    EXPECT_EQ("", NextFreeCaptureName("F", "DREM", &count, ".AVI", [&](const std::string&) {
        ++calls;
        return true;
    }));
    EXPECT_EQ(9999, calls);
    EXPECT_EQ(42, count);
}

// A hand-edited prefix must not reach outside the capture folder: only its last part names the file.
TEST(CaptureNames, APrefixWithAFolderPartKeepsOnlyItsLastPart) {
    EXPECT_EQ("escape", UsableNamePrefix("..\\..\\..\\escape"));
    EXPECT_EQ("x", UsableNamePrefix("../../x"));
    EXPECT_EQ("clip", UsableNamePrefix("sub\\clip"));
    EXPECT_EQ("clip", UsableNamePrefix("C:clip"));
    EXPECT_EQ("clip", UsableNamePrefix("D:\\Other/clip"));
    EXPECT_EQ("x", UsableNamePrefix("\\\\server\\share\\x"));
    // What the user may well mean stays as written: dots inside a name are no folder part.
    EXPECT_EQ("DREM", UsableNamePrefix("DREM"));
    EXPECT_EQ("my..clip.", UsableNamePrefix("my..clip."));
    EXPECT_EQ("", UsableNamePrefix(""));
    EXPECT_EQ("C:\\Pics\\escape0003.AVI", CaptureFileName("C:\\Pics", "..\\..\\..\\escape", 3, ".AVI"));
}

TEST(CaptureNames, APrefixWithNothingUsableLeftTakesTheDefault) {
    for (const char* prefix : {"..", ".", "..\\", "x\\..", "a/.", "C:", "C:\\", "/", "\\\\"})
        EXPECT_EQ(kDefaultNamePrefix, UsableNamePrefix(prefix)) << prefix;
    const std::set<std::string> taken = {"F\\DREM0001.JPG"};
    int count = 1;
    EXPECT_EQ("F\\DREM0002.JPG",
              NextFreeCaptureName("F", "..\\", &count, ".JPG", [&](const std::string& name) { return taken.count(name) != 0; }));
    EXPECT_EQ(3, count);
}

} // namespace
