// The skin settings readers on ini files the tests write, and the exported parsers.
#include <qelLib1.h>

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

#include "ini_file.h"

namespace {

using utiltest::IniFile;

const IniFile& Skin() {
    static const IniFile file("[Button]\r\n"
                              "rect=10,20,30,40\r\n"
                              "short=10,20\r\n"
                              "one=5\r\n"
                              "word=abc\r\n"
                              "px=-12px\r\n"
                              "huge=99999999999\r\n"
                              "red=300,0,0\r\n"
                              "pure=255\r\n"
                              "style=Bold|Italic\r\n"
                              "normal=normal\r\n"
                              "quality=Proof\r\n"
                              "border=1,2,3,4\r\n"
                              "text=  Hello skin  \r\n"
                              "empty=\r\n"
                              "long=" + std::string(300, 'x') + "\r\n");
    return file;
}

TEST(SkinSettingsReader, RectanglesAreOriginAndSize) {
    RECT rect{-1, -1, -1, -1};
    EXPECT_EQ(1, ql_GetSettingRect("Button", "rect", Skin().Path(), &rect));
    EXPECT_EQ(CRect(10, 20, 40, 60), CRect(rect));
    EXPECT_EQ(1, ql_GetSettingRect("Button", "short", Skin().Path(), &rect));
    EXPECT_EQ(CRect(10, 20, 10, 20), CRect(rect));
    EXPECT_EQ(1, ql_GetSettingRect("Button", "word", Skin().Path(), &rect)); // 1 even when nothing parses
    EXPECT_EQ(CRect(0, 0, 0, 0), CRect(rect));
}

TEST(SkinSettingsReader, SizesAndPointsKeepTheFieldsNoNumberReached) {
    SIZE size{-1, -7};
    EXPECT_EQ(1, ql_GetSettingSize("Button", "one", Skin().Path(), &size));
    EXPECT_EQ(5, size.cx);
    EXPECT_EQ(-7, size.cy);
    POINT point{-1, -7};
    EXPECT_EQ(1, ql_GetSettingPoint("Button", "word", Skin().Path(), &point));
    EXPECT_EQ(-1, point.x);
    EXPECT_EQ(-7, point.y);
    EXPECT_EQ(1, ql_GetSettingPoint("Button", "short", Skin().Path(), &point));
    EXPECT_EQ(10, point.x);
    EXPECT_EQ(20, point.y);
}

TEST(SkinSettingsReader, IntegersReadAsAtolAndClamp) {
    int value = 777;
    EXPECT_EQ(1, ql_GetSettingInt("Button", "word", Skin().Path(), &value));
    EXPECT_EQ(0, value);
    EXPECT_EQ(1, ql_GetSettingInt("Button", "px", Skin().Path(), &value));
    EXPECT_EQ(-12, value);
    EXPECT_EQ(1, ql_GetSettingInt("Button", "huge", Skin().Path(), &value));
    EXPECT_EQ(INT_MAX, value);
}

TEST(SkinSettingsReader, ColoursStylesQualitiesAndBorders) {
    COLORREF color = 0;
    EXPECT_EQ(1, ql_GetSettingColor("Button", "red", Skin().Path(), &color));
    EXPECT_EQ(RGB(44, 0, 0), color);
    EXPECT_EQ(1, ql_GetSettingColor("Button", "pure", Skin().Path(), &color));
    EXPECT_EQ(RGB(255, 0, 0), color);

    WORD style = 99;
    EXPECT_EQ(1, ql_GetSettingFontStyle("Button", "style", Skin().Path(), &style));
    EXPECT_EQ(3, style);
    EXPECT_EQ(1, ql_GetSettingFontStyle("Button", "normal", Skin().Path(), &style));
    EXPECT_EQ(0, style);

    BYTE quality = 99;
    EXPECT_EQ(1, ql_GetSettingQuality("Button", "quality", Skin().Path(), &quality));
    EXPECT_EQ(PROOF_QUALITY, quality);

    CBorder border;
    EXPECT_EQ(1, ql_GetSettingBorder("Button", "border", Skin().Path(), &border));
    EXPECT_EQ(1, border.left);
    EXPECT_EQ(2, border.top);
    EXPECT_EQ(3, border.right);
    EXPECT_EQ(4, border.bottom);
}

TEST(SkinSettingsReader, StringsArriveWithoutSurroundingBlanksAndCutTo259Characters) {
    char text[400];
    EXPECT_EQ(1, ql_GetSettingString("Button", "text", Skin().Path(), text));
    EXPECT_STREQ("Hello skin", text);
    std::memset(text, '#', sizeof text);
    EXPECT_EQ(1, ql_GetSettingString("Button", "long", Skin().Path(), text));
    EXPECT_EQ(std::string(259, 'x'), std::string(text));
    EXPECT_EQ('#', text[260]);
}

// Every reader, for every way a value can be missing, returns 0 and leaves its output alone.
TEST(SkinSettingsReader, MissingFileSectionKeyOrEmptyValueLeavesTheOutputAlone) {
    const std::string missingFile = std::string(Skin().Path()) + ".missing";
    struct Lookup {
        const char* section;
        const char* key;
        const char* path;
    };
    const Lookup lookups[] = {
        {"Button", "rect", missingFile.c_str()}, {"Nowhere", "rect", Skin().Path()},
        {"Button", "nokey", Skin().Path()},      {"Button", "empty", Skin().Path()},
        {nullptr, "rect", Skin().Path()},        {"Button", nullptr, Skin().Path()},
    };
    for (const Lookup& l : lookups) {
        SCOPED_TRACE(std::string(l.section ? l.section : "(null)") + "/" + (l.key ? l.key : "(null)"));
        RECT rect{7, 7, 7, 7};
        EXPECT_EQ(0, ql_GetSettingRect(l.section, l.key, l.path, &rect));
        EXPECT_EQ(CRect(7, 7, 7, 7), CRect(rect));
        int value = 7;
        EXPECT_EQ(0, ql_GetSettingInt(l.section, l.key, l.path, &value));
        EXPECT_EQ(7, value);
        SIZE size{7, 7};
        EXPECT_EQ(0, ql_GetSettingSize(l.section, l.key, l.path, &size));
        EXPECT_EQ(7, size.cx);
        POINT point{7, 7};
        EXPECT_EQ(0, ql_GetSettingPoint(l.section, l.key, l.path, &point));
        EXPECT_EQ(7, point.x);
        CBorder border(7, 7, 7, 7);
        EXPECT_EQ(0, ql_GetSettingBorder(l.section, l.key, l.path, &border));
        EXPECT_EQ(7, border.left);
        char text[260] = "sentinel";
        EXPECT_EQ(0, ql_GetSettingString(l.section, l.key, l.path, text));
        EXPECT_STREQ("sentinel", text);
        COLORREF color = 7;
        EXPECT_EQ(0, ql_GetSettingColor(l.section, l.key, l.path, &color));
        EXPECT_EQ(7u, color);
        WORD style = 7;
        EXPECT_EQ(0, ql_GetSettingFontStyle(l.section, l.key, l.path, &style));
        EXPECT_EQ(7, style);
        BYTE quality = 7;
        EXPECT_EQ(0, ql_GetSettingQuality(l.section, l.key, l.path, &quality));
        EXPECT_EQ(7, quality);
    }
}

TEST(SkinValueParsers, ExportedParsersGiveTheRecordsOfTheirSyntax) {
    EXPECT_EQ(CPoint(3, -4), str2point("3,-4"));
    EXPECT_EQ(CPoint(3, 0), str2point("3"));
    EXPECT_EQ(CSize(0, 0), str2size(nullptr));
    EXPECT_EQ(CSize(8, 9), str2size("8,9"));
    EXPECT_EQ(CRect(1, 2, 3, 4), str2rect("1,2,3,4"));
    EXPECT_EQ(CRect(10, 20, 40, 60), str2rect2("10,20,30,40"));
    EXPECT_EQ(CRect(INT_MAX, 0, INT_MAX, 0), str2rect2("99999999999,0,5"));
    EXPECT_EQ(CRect(0, 0, 0, 0), str2rect2(""));
    EXPECT_EQ(RGB(1, 2, 3), str2colorref("1,2,3"));
    const CBorder border = str2border("5,6");
    EXPECT_EQ(5, border.left);
    EXPECT_EQ(6, border.top);
    EXPECT_EQ(0, border.right);
    EXPECT_EQ(0, border.bottom);

    char truth[] = "TRUE";
    EXPECT_EQ(1, str2bool(truth));
    EXPECT_STREQ("true", truth);
    char style[] = "Bold|Italic";
    EXPECT_EQ(3, str2fontstyle(style));
    char quality[] = "Proof";
    EXPECT_EQ(2, str2fontquality(quality));

    char printed[64] = "";
    fontstyle2str(3, printed);
    EXPECT_STREQ("bold|italic", printed);
    fontquality2str(3, printed);
    EXPECT_STREQ("bold|italic", printed);
    fontquality2str(2, printed);
    EXPECT_STREQ("proof", printed);
}

} // namespace
