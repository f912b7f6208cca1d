// The skin settings readers: one profile read per call, parsed by the value syntaxes of the core.
#include "SkinSettings.h"

#include <cstring>

#include "BoundedText.h"
#include "SkinValueSyntax.h"

using qel::skin::ScanIntList;

namespace {

// One value of the ini file into a buffer of the platform's path size. False when the section, key
// or file is missing or the value is empty. A null section or key would make the platform list
// section or key names instead of reading a value, so they count as missing.
bool ReadValue(const char* section, const char* key, const char* iniPath,
               char (&value)[qel::text::kPathBytes]) {
    if (!section || !key || !iniPath)
        return false;
    value[0] = '\0';
    GetPrivateProfileStringA(section, key, "", value, sizeof value, iniPath);
    return value[0] != '\0';
}

// A four-number list with missing numbers 0.
void ScanFour(const char* text, int32_t (&numbers)[4]) {
    std::memset(numbers, 0, sizeof numbers);
    ScanIntList(text, numbers, 4);
}

CRect RectFromOriginAndSize(const int32_t (&n)[4]) {
    return CRect(n[0], n[1], qel::skin::SaturatingAdd(n[0], n[2]), qel::skin::SaturatingAdd(n[1], n[3]));
}

// One reader: the value of section/key stored into out by `store` when there is one.
template <typename Out, typename Store>
int ReadSetting(const char* section, const char* key, const char* iniPath, Out* out, Store store) {
    char value[qel::text::kPathBytes];
    if (!out || !ReadValue(section, key, iniPath, value))
        return 0;
    store(value, out);
    return 1;
}

// Two numbers scanned straight into two fields: a number that is missing leaves its field as it was.
void ScanPairInto(const char* text, LONG* first, LONG* second) {
    int32_t numbers[2];
    const int count = ScanIntList(text, numbers, 2);
    if (count > 0)
        *first = numbers[0];
    if (count > 1)
        *second = numbers[1];
}

} // namespace

int ql_GetSettingRect(const char* section, const char* key, const char* iniPath, RECT* out) {
    return ReadSetting(section, key, iniPath, out, [](char* value, RECT* rect) { *rect = str2rect2(value); });
}

int ql_GetSettingInt(const char* section, const char* key, const char* iniPath, int* out) {
    return ReadSetting(section, key, iniPath, out,
                       [](char* value, int* number) { *number = qel::skin::ParseInt(value); });
}

int ql_GetSettingSize(const char* section, const char* key, const char* iniPath, SIZE* out) {
    return ReadSetting(section, key, iniPath, out,
                       [](char* value, SIZE* size) { ScanPairInto(value, &size->cx, &size->cy); });
}

int ql_GetSettingPoint(const char* section, const char* key, const char* iniPath, POINT* out) {
    return ReadSetting(section, key, iniPath, out,
                       [](char* value, POINT* point) { ScanPairInto(value, &point->x, &point->y); });
}

int ql_GetSettingBorder(const char* section, const char* key, const char* iniPath, CBorder* out) {
    return ReadSetting(section, key, iniPath, out,
                       [](char* value, CBorder* border) { *border = str2border(value); });
}

int ql_GetSettingString(const char* section, const char* key, const char* iniPath, char* out) {
    return ReadSetting(section, key, iniPath, out,
                       [](char* value, char* text) { std::memcpy(text, value, std::strlen(value) + 1); });
}

int ql_GetSettingColor(const char* section, const char* key, const char* iniPath, COLORREF* out) {
    return ReadSetting(section, key, iniPath, out,
                       [](char* value, COLORREF* color) { *color = str2colorref(value); });
}

int ql_GetSettingFontStyle(const char* section, const char* key, const char* iniPath, WORD* out) {
    return ReadSetting(section, key, iniPath, out,
                       [](char* value, WORD* style) { *style = str2fontstyle(value); });
}

int ql_GetSettingQuality(const char* section, const char* key, const char* iniPath, BYTE* out) {
    return ReadSetting(section, key, iniPath, out,
                       [](char* value, BYTE* quality) { *quality = str2fontquality(value); });
}

int str2bool(char* text) {
    return qel::skin::BoolFromText(text);
}

CPoint str2point(const char* text) {
    int32_t n[2] = {0, 0};
    ScanIntList(text, n, 2);
    return CPoint(n[0], n[1]);
}

CSize str2size(const char* text) {
    int32_t n[2] = {0, 0};
    ScanIntList(text, n, 2);
    return CSize(n[0], n[1]);
}

CBorder str2border(const char* text) {
    int32_t n[4];
    ScanFour(text, n);
    return CBorder(n[0], n[1], n[2], n[3]);
}

CRect str2rect(const char* text) {
    int32_t n[4];
    ScanFour(text, n);
    return CRect(n[0], n[1], n[2], n[3]);
}

CRect str2rect2(const char* text) {
    int32_t n[4];
    ScanFour(text, n);
    return RectFromOriginAndSize(n);
}

COLORREF str2colorref(const char* text) {
    int32_t n[3] = {0, 0, 0};
    ScanIntList(text, n, 3);
    return qel::skin::ColorFromRgb(n[0], n[1], n[2]);
}

WORD str2fontstyle(char* text) {
    return qel::skin::FontStyleFromText(text);
}

BYTE str2fontquality(char* text) {
    return qel::skin::FontQualityFromText(text);
}

void fontstyle2str(int style, char* out) {
    qel::skin::AppendFontStyleText(style, out);
}

void fontquality2str(int quality, char* out) {
    qel::skin::FontQualityToText(quality, out);
}
