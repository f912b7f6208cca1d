#pragma once
// Reading one skin value by section and key from an ini file, and the parsers and printers of the
// value syntaxes. Readers return 1 when the key has a non-empty value (the output is then written,
// even when the value does not parse) and 0 otherwise, leaving the output untouched. A value is read
// into 260 characters, so it holds at most 259. Numbers outside the int range clamp to it.
#include <windows.h>

#include <atltypes.h>

#include "QelBorder.h"
#include "QelLib1Api.h"

// x,y,w,h into (x, y, x+w, y+h); missing numbers 0.
QELLIB1_C_API int ql_GetSettingRect(const char* section, const char* key, const char* iniPath, RECT* out);
// As atol reads it: leading blanks, sign, digits up to the first non-digit; no digits give 0.
QELLIB1_C_API int ql_GetSettingInt(const char* section, const char* key, const char* iniPath, int* out);
// cx,cy: each number present is stored, a missing one leaves its field as it was.
QELLIB1_C_API int ql_GetSettingSize(const char* section, const char* key, const char* iniPath, SIZE* out);
// x,y: as for sizes.
QELLIB1_C_API int ql_GetSettingPoint(const char* section, const char* key, const char* iniPath, POINT* out);
// left,top,right,bottom; missing numbers 0.
QELLIB1_C_API int ql_GetSettingBorder(const char* section, const char* key, const char* iniPath, CBorder* out);
// The value whole; out holds at least 260 bytes.
QELLIB1_C_API int ql_GetSettingString(const char* section, const char* key, const char* iniPath, char* out);
// r,g,b, each masked to 8 bits.
QELLIB1_C_API int ql_GetSettingColor(const char* section, const char* key, const char* iniPath, COLORREF* out);
// Style words such as "bold|italic" (see str2fontstyle).
QELLIB1_C_API int ql_GetSettingFontStyle(const char* section, const char* key, const char* iniPath, WORD* out);
// "draft", "proof", "anti-aliasing" or anything else for default (see str2fontquality).
QELLIB1_C_API int ql_GetSettingQuality(const char* section, const char* key, const char* iniPath, BYTE* out);

// Parsers: a null or empty text gives the zero value. The lists are "%d,%d..." scans.
QELLIB1_C_API int str2bool(char* text); // "true" in any case; text is lower-cased in place
QELLIB1_C_API CPoint str2point(const char* text);
QELLIB1_C_API CSize str2size(const char* text);
QELLIB1_C_API CBorder str2border(const char* text);
QELLIB1_C_API CRect str2rect(const char* text);  // left,top,right,bottom as they stand
QELLIB1_C_API CRect str2rect2(const char* text); // x,y,w,h
QELLIB1_C_API COLORREF str2colorref(const char* text);
QELLIB1_C_API WORD str2fontstyle(char* text);   // 1 bold, 2 italic, 4 underline, 8 strikeout; lower-cases text
QELLIB1_C_API BYTE str2fontquality(char* text); // 1 draft, 2 proof, 4 anti-aliasing, else 0; lower-cases text

// Printers. fontstyle2str appends to the text already in out; fontquality2str copies over out and
// leaves it alone for a quality it has no name for. A null out: nothing.
QELLIB1_C_API void fontstyle2str(int style, char* out);
QELLIB1_C_API void fontquality2str(int quality, char* out);
