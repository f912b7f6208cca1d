#pragma once
// Font creation with library-wide defaults (face, character set, height). Style bits: 1 bold,
// 2 italic, 4 underline, 8 strikeout. The caller owns every font returned (DeleteObject).
#include <windows.h>

#include "QelLib1Api.h"

// The LOGFONT of the first font of that face on the screen; 0 and out untouched when there is none.
QELLIB1_C_API int ql_GetLogfont(const char* face, LOGFONTA* out);
// A font of face (its enumerated description, else a zeroed one carrying the face) with height, width
// 0, charset, weight 700 when bold is 1 else 400, and the given flags and quality. Null or "" face: null.
QELLIB1_C_API HFONT ql_CreateFont(const char* face, BYTE charset, int height, int bold, BYTE italic, BYTE underline,
                                  BYTE strikeout, BYTE quality);
QELLIB1_C_API HFONT ql_CreateFont2(const char* face, BYTE charset, int height, UINT style, BYTE quality);

// The defaults: face (initially empty; at most 31 characters are kept), charset (initially
// DEFAULT_CHARSET), height (initially 11). Null outputs are skipped; face out holds 32 bytes.
QELLIB1_C_API void ql_SetFontInfo(const char* face, BYTE charset, int height);
QELLIB1_C_API void ql_GetFontInfo(char* face, BYTE* charset, int* height);

// With the defaults: height 0 takes the default height, a null face the default face or "arial" while
// that is empty; the character set is always the default.
QELLIB1_C_API HFONT ql_xCreateFont(const char* face, int height, int bold, BYTE italic, BYTE underline,
                                   BYTE strikeout, BYTE quality);
QELLIB1_C_API HFONT ql_xCreateFont2(const char* face, int height, UINT style, BYTE quality);
