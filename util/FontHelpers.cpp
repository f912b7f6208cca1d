// Fonts from a face name, and the library-wide defaults the x-variants fill in.
#include "FontHelpers.h"

#include <afxwin.h>

#include <cstring>

namespace {

// The library-wide defaults. The library takes no locks: the user-interface thread sets them.
struct FontDefaults {
    char face[LF_FACESIZE] = "";
    BYTE charset = DEFAULT_CHARSET;
    int height = 11;
};
FontDefaults g_defaults;

// Copies at most LF_FACESIZE - 1 characters, always terminated.
void CopyFace(char (&out)[LF_FACESIZE], const char* face) {
    lstrcpynA(out, face ? face : "", LF_FACESIZE);
}

int CALLBACK TakeFirstFont(const LOGFONTA* font, const TEXTMETRICA*, DWORD, LPARAM context) {
    *reinterpret_cast<LOGFONTA*>(context) = *font;
    return 0; // the first one is enough
}

const char* DefaultFace(const char* face) {
    if (face)
        return face;
    return g_defaults.face[0] ? g_defaults.face : "arial";
}

} // namespace

int ql_GetLogfont(const char* face, LOGFONTA* out) {
    if (!face || !out)
        return 0;
    CClientDC screen(nullptr);
    if (!screen.GetSafeHdc())
        return 0;
    LOGFONTA wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    CopyFace(wanted.lfFaceName, face);
    LOGFONTA found{};
    found.lfFaceName[0] = '\0';
    EnumFontFamiliesExA(screen.GetSafeHdc(), &wanted, TakeFirstFont, reinterpret_cast<LPARAM>(&found), 0);
    if (!found.lfFaceName[0])
        return 0;
    *out = found;
    return 1;
}

HFONT ql_CreateFont(const char* face, BYTE charset, int height, int bold, BYTE italic, BYTE underline,
                    BYTE strikeout, BYTE quality) {
    if (!face || !*face)
        return nullptr;
    // Without an installed font of that face the font mapper picks one for the name.
    LOGFONTA font{};
    CopyFace(font.lfFaceName, face);
    ql_GetLogfont(face, &font);
    font.lfHeight = height;
    font.lfWidth = 0;
    font.lfCharSet = charset;
    font.lfWeight = bold == 1 ? FW_BOLD : FW_NORMAL;
    font.lfItalic = italic;
    font.lfUnderline = underline;
    font.lfStrikeOut = strikeout;
    font.lfQuality = quality;
    return CreateFontIndirectA(&font);
}

HFONT ql_CreateFont2(const char* face, BYTE charset, int height, UINT style, BYTE quality) {
    return ql_CreateFont(face, charset, height, (style & 1) ? 1 : 0, (style & 2) ? 1 : 0, (style & 4) ? 1 : 0,
                         (style & 8) ? 1 : 0, quality);
}

void ql_SetFontInfo(const char* face, BYTE charset, int height) {
    CopyFace(g_defaults.face, face);
    g_defaults.charset = charset;
    g_defaults.height = height;
}

void ql_GetFontInfo(char* face, BYTE* charset, int* height) {
    if (face)
        std::memcpy(face, g_defaults.face, std::strlen(g_defaults.face) + 1);
    if (charset)
        *charset = g_defaults.charset;
    if (height)
        *height = g_defaults.height;
}

HFONT ql_xCreateFont(const char* face, int height, int bold, BYTE italic, BYTE underline, BYTE strikeout,
                     BYTE quality) {
    return ql_CreateFont(DefaultFace(face), g_defaults.charset, height ? height : g_defaults.height, bold, italic,
                         underline, strikeout, quality);
}

HFONT ql_xCreateFont2(const char* face, int height, UINT style, BYTE quality) {
    return ql_CreateFont2(DefaultFace(face), g_defaults.charset, height ? height : g_defaults.height, style,
                          quality);
}
