#include "BoundedText.h"
#include "FileSizeText.h"
#include "PathParts.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

using qel::path::PathParts;
using qel::path::SplitPath;

TEST(SplitPath, DriveFolderNameAndExtensionFollowThePlatformsRules) {
    struct Case {
        const char* path;
        const char* drive;
        const char* folder;
        const char* name;
        const char* extension;
    };
    const Case cases[] = {
        {"C:\\Apps\\Cam\\shot.01.jpg", "C:", "\\Apps\\Cam\\", "shot.01", ".jpg"},
        {"C:shot.jpg", "C:", "", "shot", ".jpg"},
        {"\\\\server\\share\\a.b\\file", "", "\\\\server\\share\\a.b\\", "file", ""},
        {"dir/sub/readme", "", "dir/sub/", "readme", ""},
        {".profile", "", "", "", ".profile"},
        {"C:\\Apps\\", "C:", "\\Apps\\", "", ""},
        {"name.", "", "", "name", "."},
        {"", "", "", "", ""},
    };
    for (const Case& c : cases) {
        const PathParts parts = SplitPath(c.path);
        EXPECT_EQ(c.drive, parts.drive) << c.path;
        EXPECT_EQ(c.folder, parts.folder) << c.path;
        EXPECT_EQ(c.name, parts.name) << c.path;
        EXPECT_EQ(c.extension, parts.extension) << c.path;
    }
    const PathParts none = SplitPath(nullptr);
    EXPECT_TRUE(none.drive.empty() && none.folder.empty() && none.name.empty() && none.extension.empty());
}

TEST(BoundedText, ATextThatDoesNotFitIsRefusedWithoutWritingPastTheBuffer) {
    char buffer[8] = "old";
    EXPECT_TRUE(qel::text::JoinBounded(buffer, 4, {"a", "b", "c"}));
    EXPECT_STREQ("abc", buffer);
    EXPECT_FALSE(qel::text::JoinBounded(buffer, 4, {"ab", "cd"}));
    EXPECT_STREQ("abc", buffer); // left as it was
    EXPECT_TRUE(qel::text::JoinBounded(buffer, 4, {nullptr, "x", nullptr}));
    EXPECT_STREQ("x", buffer);

    char guarded[6];
    std::memset(guarded, '#', sizeof guarded);
    EXPECT_FALSE(qel::text::CopyBounded(guarded, 4, "long"));
    EXPECT_EQ('\0', guarded[0]);
    EXPECT_EQ('#', guarded[4]);
    EXPECT_TRUE(qel::text::CopyBounded(guarded, 4, "abc"));
    EXPECT_STREQ("abc", guarded);
    EXPECT_TRUE(qel::text::CopyBounded(guarded, 4, nullptr));
    EXPECT_STREQ("", guarded);
}

std::string SizeText(uint32_t size, const char* format = nullptr, const char* units = nullptr, int stride = 0,
                     const uint32_t* divisors = nullptr) {
    char out[64] = "untouched";
    EXPECT_TRUE(qel::text::FormatFileSize(out, sizeof out, size, format, units, stride, divisors));
    return out;
}

TEST(FileSizeText, UnitsChangeOnlyAboveEachDivisor) {
    EXPECT_EQ("0.49 KB", SizeText(500));
    EXPECT_EQ("0.00 KB", SizeText(0));
    EXPECT_EQ("1.50 KB", SizeText(1536));
    EXPECT_EQ("1024.00 KB", SizeText(1048576));
    EXPECT_EQ("1.00 MB", SizeText(1048577));
    EXPECT_EQ("1024.00 MB", SizeText(1073741824u));
    EXPECT_EQ("3.00 GB", SizeText(3u * 1073741824u));
    EXPECT_EQ("4.00 GB", SizeText(0xFFFFFFFFu));
}

TEST(FileSizeText, FormatUnitsAndDivisorsCanBeGiven) {
    EXPECT_EQ("2 KB", SizeText(2048, "%.0f"));
    // Units at a stride of 6; a given stride counts only with given units.
    const char units[] = "Gbyte\0Mbyte\0Kbyte";
    EXPECT_EQ("1.5 Mbyte", SizeText(1572864, "%.1f", units, 6));
    EXPECT_EQ("1.5 MB", SizeText(1572864, "%.1f", nullptr, 6));
    const uint32_t thousands[] = {1000000000u, 1000000u, 1000u};
    EXPECT_EQ("1.50 MB", SizeText(1500000, nullptr, nullptr, 0, thousands));
}

TEST(FileSizeText, ATextThatDoesNotFitIsRefused) {
    char out[6] = "abcde";
    EXPECT_FALSE(qel::text::FormatFileSize(out, sizeof out, 1536, nullptr, nullptr, 0, nullptr));
    EXPECT_STREQ("", out);
    EXPECT_FALSE(qel::text::FormatFileSize(nullptr, 10, 1536, nullptr, nullptr, 0, nullptr));
}

} // namespace
