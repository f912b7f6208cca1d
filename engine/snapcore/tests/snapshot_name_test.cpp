#include "SnapshotName.h"

#include <gtest/gtest.h>

#include <string>

namespace {

SnapshotPlan Plan(const std::string& name) {
    SnapshotPlan plan;
    EXPECT_TRUE(PlanSnapshotSave(name.c_str(), &plan)) << name;
    return plan;
}

TEST(SnapshotName, BmpInAnyLetterCaseIsWrittenDirectly) {
    for (const char* name : {"C:\\shots\\shot.bmp", "shot.Bmp", "SHOT.BMP"}) {
        const SnapshotPlan plan = Plan(name);
        EXPECT_EQ(SnapshotFormat::Bmp, plan.format) << name;
        EXPECT_TRUE(plan.temporaryName.empty()) << name;
    }
}

TEST(SnapshotName, EncodedFormatsGoThroughATemporaryBmpBesideTheTarget) {
    struct Case {
        const char* name;
        SnapshotFormat format;
        const char* temporary;
    };
    const Case cases[] = {
        {"C:\\shots\\shot.jpg", SnapshotFormat::Jpeg, "C:\\shots\\shot.bmp~bmp~"},
        {"shot.JPG", SnapshotFormat::Jpeg, "shot.bmp~bmp~"},
        {"shot.png", SnapshotFormat::Png, "shot.bmp~bmp~"},
        {"shot.tif", SnapshotFormat::Tiff, "shot.bmp~bmp~"},
        {"shot.gif", SnapshotFormat::Gif, "shot.bmp~bmp~"},
        // Four-letter extensions name their own formats.
        {"shot.jpeg", SnapshotFormat::Jpeg, "shot.bmp~bmp~"},
        {"shot.TIFF", SnapshotFormat::Tiff, "shot.bmp~bmp~"},
        // Any other extension is GIF.
        {"shot.xyz", SnapshotFormat::Gif, "shot.bmp~bmp~"},
        {".png", SnapshotFormat::Png, ".bmp~bmp~"},
    };
    for (const Case& c : cases) {
        const SnapshotPlan plan = Plan(c.name);
        EXPECT_EQ(c.format, plan.format) << c.name;
        EXPECT_EQ(c.temporary, plan.temporaryName) << c.name;
    }
}

TEST(SnapshotName, NamesThatCannotBeSavedSafelyAreRefused) {
    SnapshotPlan plan;
    plan.temporaryName = "kept";
    EXPECT_FALSE(PlanSnapshotSave(nullptr, &plan));
    for (const char* name : {"", "a", "bmp", "jpg"})
        EXPECT_FALSE(PlanSnapshotSave(name, &plan)) << name;
    EXPECT_EQ("kept", plan.temporaryName);
    EXPECT_FALSE(PlanSnapshotSave("shot.bmp", nullptr));
}

TEST(SnapshotName, NamesMustFitTheBufferAndSoMustTheirTemporaryNames) {
    // 259 characters and a terminator fill the buffer.
    const std::string longestBmp = std::string(255, 'a') + ".bmp";
    ASSERT_EQ(259u, longestBmp.size());
    EXPECT_EQ(SnapshotFormat::Bmp, Plan(longestBmp).format);
    SnapshotPlan plan;
    EXPECT_FALSE(PlanSnapshotSave((longestBmp + "x.bmp").c_str(), &plan));

    // The temporary name is five characters longer than a name with a three-letter extension.
    const std::string longestJpg = std::string(250, 'a') + ".jpg";
    EXPECT_EQ(259u, Plan(longestJpg).temporaryName.size());
    EXPECT_FALSE(PlanSnapshotSave(("a" + longestJpg).c_str(), &plan));

    // A name with no terminator within the buffer is never read beyond it.
    const std::string unterminated(300, 'b');
    EXPECT_FALSE(PlanSnapshotSave(unterminated.c_str(), &plan));
}

TEST(SnapshotName, MimeTypesOfTheEncoders) {
    EXPECT_STREQ(L"image/jpeg", SnapshotMimeType(SnapshotFormat::Jpeg));
    EXPECT_STREQ(L"image/png", SnapshotMimeType(SnapshotFormat::Png));
    EXPECT_STREQ(L"image/tiff", SnapshotMimeType(SnapshotFormat::Tiff));
    EXPECT_STREQ(L"image/gif", SnapshotMimeType(SnapshotFormat::Gif));
    EXPECT_STREQ(L"image/bmp", SnapshotMimeType(SnapshotFormat::Bmp));
}

} // namespace
