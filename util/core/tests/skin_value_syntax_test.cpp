#include "SkinValueSyntax.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace qel::skin {
namespace {

// The numbers a four-number scan stores, sentinels (777) marking the fields it left alone.
std::vector<int32_t> Scan(const char* text) {
    std::vector<int32_t> values(4, 777);
    values.resize(static_cast<std::size_t>(ScanIntList(text, values.data(), 4)));
    return values;
}

TEST(SkinValueLists, NumbersAreReadUntilTheFirstCharacterThatDoesNotFit) {
    struct Case {
        const char* text;
        std::vector<int32_t> numbers;
    };
    const Case cases[] = {
        {"10,20,30,40", {10, 20, 30, 40}},
        {"10,20", {10, 20}},
        {" 1, -2,+3,  4", {1, -2, 3, 4}},
        {"1,2,3,4,5", {1, 2, 3, 4}},
        {"1 ,2", {1}},     // nothing may stand between a number and its comma
        {"a,b,c", {}},     // no number at all
        {"10,,20", {10}},  // an empty field ends the scan
        {"5px,6", {5}},    // a unit after a number ends it
        {"-,3", {}},       // a sign alone is no number
        {"7,", {7}},
        {"", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.numbers, Scan(c.text)) << '"' << c.text << '"';
}

TEST(SkinValueLists, NumbersBeyondTheIntRangeClampToIt) {
    EXPECT_EQ((std::vector<int32_t>{INT32_MAX}), Scan("99999999999"));
    EXPECT_EQ((std::vector<int32_t>{INT32_MIN, INT32_MAX}), Scan("-99999999999,2147483648"));
    EXPECT_EQ((std::vector<int32_t>{INT32_MIN, INT32_MAX}), Scan("-2147483648,2147483647"));
    EXPECT_EQ((std::vector<int32_t>{INT32_MAX}), Scan("123456789012345678901234567890"));
}

TEST(SkinValueLists, NullTextStoresNothing) {
    int32_t value = 777;
    EXPECT_EQ(0, ScanIntList(nullptr, &value, 1));
    EXPECT_EQ(777, value);
}

TEST(SkinValueInt, ReadsLikeAtolAndClamps) {
    EXPECT_EQ(0, ParseInt("abc"));
    EXPECT_EQ(-12, ParseInt("-12px"));
    EXPECT_EQ(7, ParseInt("  +7 8"));
    EXPECT_EQ(INT32_MAX, ParseInt("99999999999"));
    EXPECT_EQ(INT32_MIN, ParseInt("-99999999999"));
    EXPECT_EQ(0, ParseInt(""));
    EXPECT_EQ(0, ParseInt(nullptr));
}

TEST(SkinValueInt, SaturatingAddClampsInsteadOfWrapping) {
    EXPECT_EQ(40, SaturatingAdd(10, 30));
    EXPECT_EQ(INT32_MAX, SaturatingAdd(INT32_MAX, 5));
    EXPECT_EQ(INT32_MIN, SaturatingAdd(INT32_MIN, -5));
}

TEST(SkinValueColor, EachComponentIsMaskedToEightBits) {
    EXPECT_EQ(44u, ColorFromRgb(300, 0, 0));
    EXPECT_EQ(0x000000FFu, ColorFromRgb(255, 0, 0));
    EXPECT_EQ(0x00030201u, ColorFromRgb(1, 2, 3));
    EXPECT_EQ(0x00FFFFFFu, ColorFromRgb(-1, -1, -1));
}

TEST(SkinValueBool, OnlyTrueInAnyCaseIsTrueAndTheTextIsLowerCased) {
    char upper[] = "TRUE";
    EXPECT_EQ(1, BoolFromText(upper));
    EXPECT_STREQ("true", upper);
    char yes[] = "yes";
    EXPECT_EQ(0, BoolFromText(yes));
    char padded[] = "true ";
    EXPECT_EQ(0, BoolFromText(padded));
    char empty[] = "";
    EXPECT_EQ(0, BoolFromText(empty));
    EXPECT_EQ(0, BoolFromText(nullptr));
}

uint16_t Style(const char* text) {
    std::string copy = text;
    return FontStyleFromText(copy.data());
}

TEST(SkinValueFontStyle, WordsAreComparedWholeInAnyCase) {
    EXPECT_EQ(3, Style("Bold|Italic"));
    EXPECT_EQ(0, Style("normal"));
    EXPECT_EQ(12, Style("underline|STRIKEOUT"));
    EXPECT_EQ(15, Style("strikeout|underline|italic|bold"));
    EXPECT_EQ(1, Style("Bold| Italic")); // " italic" is not a style word
    EXPECT_EQ(2, Style("heavy|italic|"));
    EXPECT_EQ(0, Style("bolder"));
    EXPECT_EQ(0, Style(""));
    EXPECT_EQ(0, FontStyleFromText(nullptr));
    char text[] = "BOLD";
    FontStyleFromText(text);
    EXPECT_STREQ("bold", text);
}

std::string PrintedStyle(int style, const char* before = "") {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%s", before);
    AppendFontStyleText(style, buffer);
    return buffer;
}

TEST(SkinValueFontStyle, PrintingAppendsWordsWithSeparatorsOnlyWhereTextStandsBefore) {
    EXPECT_EQ("bold|italic", PrintedStyle(3));
    EXPECT_EQ("underline|strikeout", PrintedStyle(12));
    EXPECT_EQ("bold|italic|underline|strikeout", PrintedStyle(15));
    EXPECT_EQ("normal", PrintedStyle(0));
    EXPECT_EQ("normal", PrintedStyle(0x10000)); // only the low 16 bits count
    EXPECT_EQ("italic", PrintedStyle(0x12));     // other bits are ignored
    EXPECT_EQ("Xbold", PrintedStyle(1, "X"));   // "bold" never gets a separator
    EXPECT_EQ("X|italic", PrintedStyle(2, "X"));
    EXPECT_EQ("Xnormal", PrintedStyle(0, "X"));
    AppendFontStyleText(3, nullptr); // must not crash
}

uint8_t Quality(const char* text) {
    std::string copy = text;
    return FontQualityFromText(copy.data());
}

TEST(SkinValueFontQuality, NamesMapToQualitiesAndUnknownOnesToDefault) {
    EXPECT_EQ(2, Quality("Proof"));
    EXPECT_EQ(1, Quality("DRAFT"));
    EXPECT_EQ(4, Quality("anti-aliasing"));
    EXPECT_EQ(0, Quality("default"));
    EXPECT_EQ(0, Quality("draft ")); // compared whole
    EXPECT_EQ(0, Quality(""));
    EXPECT_EQ(0, FontQualityFromText(nullptr));
}

TEST(SkinValueFontQuality, PrintingReplacesTheBufferOrLeavesItForUnknownValues) {
    char buffer[32] = "unchanged";
    FontQualityToText(3, buffer);
    EXPECT_STREQ("unchanged", buffer);
    FontQualityToText(2, buffer);
    EXPECT_STREQ("proof", buffer);
    FontQualityToText(0x104, buffer); // the low byte counts
    EXPECT_STREQ("anti-aliasing", buffer);
    FontQualityToText(0, buffer);
    EXPECT_STREQ("default", buffer);
    FontQualityToText(1, nullptr); // must not crash
}

} // namespace
} // namespace qel::skin
