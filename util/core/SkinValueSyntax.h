#pragma once
// The value syntaxes of the skin settings file: comma-separated integer lists, single integers,
// colours, booleans, font-style words and font-quality names. Platform-neutral; the exported readers
// and parsers of qelLib1 wrap these.
#include <cstdint>

namespace qel::skin {

// Reads up to `count` decimal ints the way a "%d,%d,..." scan reads them: blanks may precede a
// number, a sign is optional, and each following number must come right after a single comma.
// Scanning stops at the first character that does not fit. Numbers beyond the int range are clamped
// to it. Returns how many numbers were stored; a null text stores none.
int ScanIntList(const char* text, int32_t* out, int count);

// The value as atol reads it (leading blanks, optional sign, digits up to the first non-digit; no
// digits gives 0), clamped to the int range. Null gives 0.
int32_t ParseInt(const char* text);

// x + w computed without overflow, clamped to the int range (list values may be clamped extremes).
int32_t SaturatingAdd(int32_t a, int32_t b);

// 0x00BBGGRR from r, g, b, each masked to its low 8 bits.
uint32_t ColorFromRgb(int32_t r, int32_t g, int32_t b);

// ASCII letters of text lower-cased in place; null is ignored.
void LowerInPlace(char* text);

// 1 when text equals "true" in any letter case; the text is lower-cased in place. Null gives 0.
int BoolFromText(char* text);

// Font style bits: 1 bold, 2 italic, 4 underline, 8 strikeout.
enum FontStyleBits : uint16_t { kBold = 1, kItalic = 2, kUnderline = 4, kStrikeout = 8 };

// The "|"-separated words of text (lower-cased in place), each compared whole with "bold", "italic",
// "underline" and "strikeout"; unknown words add nothing. Null gives 0.
uint16_t FontStyleFromText(char* text);

// Appends the words of the low 16 bits of style to out ("normal" when none is set); a "|" goes before
// every word but "bold" whenever out is not empty at that moment. Null out: nothing.
void AppendFontStyleText(int style, char* out);

// "draft" 1, "proof" 2, "anti-aliasing" 4, anything else 0; text is lower-cased in place first.
uint8_t FontQualityFromText(char* text);

// Copies the name of the low byte of quality ("default", "draft", "proof", "anti-aliasing") over out;
// other values leave out as it was. Null out: nothing.
void FontQualityToText(int quality, char* out);

} // namespace qel::skin
