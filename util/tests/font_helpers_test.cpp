// Fonts with the library-wide defaults, read back with GetObject.
#include <qelLib1.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

// The font's LOGFONT; the font is deleted.
LOGFONTA Described(HFONT font) {
    LOGFONTA description{};
    EXPECT_NE(nullptr, font);
    if (font) {
        EXPECT_EQ(static_cast<int>(sizeof description), GetObjectA(font, sizeof description, &description));
        DeleteObject(font);
    }
    return description;
}

// Restores the defaults a test changed (they are library-wide).
class FontDefaults : public ::testing::Test {
protected:
    void SetUp() override { ql_GetFontInfo(face_, &charset_, &height_); }
    void TearDown() override { ql_SetFontInfo(face_, charset_, height_); }

private:
    char face_[LF_FACESIZE] = "";
    BYTE charset_ = 0;
    int height_ = 0;
};

TEST_F(FontDefaults, StartAsElevenUnitsOfArialInTheDefaultCharacterSet) {
    char face[LF_FACESIZE] = "unset";
    BYTE charset = 0;
    int height = 0;
    ql_GetFontInfo(face, &charset, &height);
    EXPECT_STREQ("", face);
    EXPECT_EQ(DEFAULT_CHARSET, charset);
    EXPECT_EQ(11, height);

    const LOGFONTA font = Described(ql_xCreateFont2(nullptr, 0, 0, 0));
    EXPECT_EQ(11, font.lfHeight);
    EXPECT_STREQ("arial", font.lfFaceName);
    EXPECT_EQ(DEFAULT_CHARSET, font.lfCharSet);
    EXPECT_EQ(FW_NORMAL, font.lfWeight);
}

TEST_F(FontDefaults, SetDefaultsAreUsedAndTheFaceIsKeptToThirtyOneCharacters) {
    ql_SetFontInfo("Tahoma", ANSI_CHARSET, -13);
    const LOGFONTA font = Described(ql_xCreateFont2(nullptr, 0, 1 | 4, ANTIALIASED_QUALITY));
    EXPECT_STREQ("Tahoma", font.lfFaceName);
    EXPECT_EQ(-13, font.lfHeight);
    EXPECT_EQ(ANSI_CHARSET, font.lfCharSet);
    EXPECT_EQ(FW_BOLD, font.lfWeight);
    EXPECT_EQ(0, font.lfItalic);
    EXPECT_EQ(1, font.lfUnderline);
    EXPECT_EQ(ANTIALIASED_QUALITY, font.lfQuality);

    // A given face and height win; the character set is always the default.
    const LOGFONTA given = Described(ql_xCreateFont("Courier", 20, 2, 1, 0, 1, DRAFT_QUALITY));
    EXPECT_STREQ("Courier", given.lfFaceName);
    EXPECT_EQ(20, given.lfHeight);
    EXPECT_EQ(ANSI_CHARSET, given.lfCharSet);
    EXPECT_EQ(FW_NORMAL, given.lfWeight); // only a bold of exactly 1 is bold
    EXPECT_EQ(1, given.lfItalic);
    EXPECT_EQ(1, given.lfStrikeOut);

    const std::string longFace(40, 'f');
    ql_SetFontInfo(longFace.c_str(), DEFAULT_CHARSET, 11);
    char face[LF_FACESIZE + 8];
    std::memset(face, '#', sizeof face);
    ql_GetFontInfo(face, nullptr, nullptr);
    EXPECT_EQ(std::string(31, 'f'), face);
    EXPECT_EQ('#', face[LF_FACESIZE]);
}

TEST(FontCreation, StyleBitsAndEmptyFaces) {
    const LOGFONTA font = Described(ql_CreateFont2("Tahoma", SYMBOL_CHARSET, -9, 2 | 8, PROOF_QUALITY));
    EXPECT_EQ(-9, font.lfHeight);
    EXPECT_EQ(SYMBOL_CHARSET, font.lfCharSet);
    EXPECT_EQ(FW_NORMAL, font.lfWeight);
    EXPECT_EQ(1, font.lfItalic);
    EXPECT_EQ(0, font.lfUnderline);
    EXPECT_EQ(1, font.lfStrikeOut);
    EXPECT_EQ(PROOF_QUALITY, font.lfQuality);

    EXPECT_EQ(nullptr, ql_xCreateFont2("", 0, 0, 0));
    EXPECT_EQ(nullptr, ql_CreateFont(nullptr, 0, 10, 0, 0, 0, 0, 0));
    EXPECT_EQ(nullptr, ql_CreateFont2("", 0, 10, 0, 0));
}

TEST(FontCreation, GetLogfontCopiesAnInstalledFaceAndLeavesTheOutputForOthers) {
    LOGFONTA untouched{};
    untouched.lfHeight = 77;
    EXPECT_EQ(0, ql_GetLogfont("No Such Face Anywhere", &untouched));
    EXPECT_EQ(77, untouched.lfHeight);
    EXPECT_EQ(0, ql_GetLogfont(nullptr, &untouched));

    LOGFONTA found{};
    if (!ql_GetLogfont("Tahoma", &found))
        GTEST_SKIP() << "Tahoma is not installed in this prefix";
    EXPECT_STRCASEEQ("Tahoma", found.lfFaceName);
    EXPECT_NE(0, found.lfHeight);
}

} // namespace
