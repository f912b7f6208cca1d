#include "SkinValueSyntax.h"

#include <climits>
#include <cstring>

namespace qel::skin {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int32_t Clamp(int64_t value) {
    if (value > INT32_MAX)
        return INT32_MAX;
    if (value < INT32_MIN)
        return INT32_MIN;
    return static_cast<int32_t>(value);
}

// One number at *cursor after optional blanks and sign. False (cursor unchanged) when no digit
// follows; the accumulated magnitude saturates just past the int range so it clamps correctly.
bool ReadNumber(const char** cursor, int32_t* value) {
    const char* p = *cursor;
    while (IsBlank(*p))
        ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        ++p;
    }
    if (!IsDigit(*p))
        return false;
    const int64_t limit = static_cast<int64_t>(INT32_MAX) + 1;
    int64_t magnitude = 0;
    for (; IsDigit(*p); ++p) {
        magnitude = magnitude * 10 + (*p - '0');
        if (magnitude > limit)
            magnitude = limit;
    }
    *value = Clamp(negative ? -magnitude : magnitude);
    *cursor = p;
    return true;
}

} // namespace

int ScanIntList(const char* text, int32_t* out, int count) {
    if (!text || !out)
        return 0;
    const char* p = text;
    int stored = 0;
    while (stored < count) {
        if (stored > 0) {
            if (*p != ',')
                break;
            ++p;
        }
        if (!ReadNumber(&p, &out[stored]))
            break;
        ++stored;
    }
    return stored;
}

int32_t ParseInt(const char* text) {
    int32_t value = 0;
    if (text && ReadNumber(&text, &value))
        return value;
    return 0;
}

int32_t SaturatingAdd(int32_t a, int32_t b) { return Clamp(static_cast<int64_t>(a) + b); }

uint32_t ColorFromRgb(int32_t r, int32_t g, int32_t b) {
    return (static_cast<uint32_t>(r) & 0xFFu) | ((static_cast<uint32_t>(g) & 0xFFu) << 8) |
           ((static_cast<uint32_t>(b) & 0xFFu) << 16);
}

void LowerInPlace(char* text) {
    if (!text)
        return;
    for (; *text; ++text) {
        if (*text >= 'A' && *text <= 'Z')
            *text = static_cast<char>(*text - 'A' + 'a');
    }
}

int BoolFromText(char* text) {
    if (!text)
        return 0;
    LowerInPlace(text);
    return std::strcmp(text, "true") == 0 ? 1 : 0;
}

namespace {

struct StyleWord {
    const char* word;
    uint16_t bit;
};
constexpr StyleWord kStyleWords[] = {
    {"bold", kBold}, {"italic", kItalic}, {"underline", kUnderline}, {"strikeout", kStrikeout}};

struct QualityName {
    const char* name;
    uint8_t quality;
};
constexpr QualityName kQualityNames[] = {{"default", 0}, {"draft", 1}, {"proof", 2}, {"anti-aliasing", 4}};

} // namespace

uint16_t FontStyleFromText(char* text) {
    if (!text)
        return 0;
    LowerInPlace(text);
    uint16_t style = 0;
    const char* word = text;
    for (;;) {
        const char* end = std::strchr(word, '|');
        const std::size_t length = end ? static_cast<std::size_t>(end - word) : std::strlen(word);
        for (const StyleWord& known : kStyleWords) {
            if (std::strlen(known.word) == length && std::strncmp(known.word, word, length) == 0)
                style |= known.bit;
        }
        if (!end)
            break;
        word = end + 1;
    }
    return style;
}

void AppendFontStyleText(int style, char* out) {
    if (!out)
        return;
    if ((style & 0xFFFF) == 0) {
        std::strcat(out, "normal");
        return;
    }
    for (const StyleWord& known : kStyleWords) {
        if (!(style & known.bit))
            continue;
        if (known.bit != kBold && out[0] != '\0')
            std::strcat(out, "|");
        std::strcat(out, known.word);
    }
}

uint8_t FontQualityFromText(char* text) {
    if (!text)
        return 0;
    LowerInPlace(text);
    for (const QualityName& known : kQualityNames) {
        if (std::strcmp(known.name, text) == 0)
            return known.quality;
    }
    return 0;
}

void FontQualityToText(int quality, char* out) {
    if (!out)
        return;
    for (const QualityName& known : kQualityNames) {
        if (known.quality == (quality & 0xFF)) {
            std::strcpy(out, known.name);
            return;
        }
    }
}

} // namespace qel::skin
