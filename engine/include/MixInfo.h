#pragma once
// The settings of the two mix overlays a clip can take: the text overlay and the low-light mix. The
// file player hands them to its mix filters too; their layout is what the overlay filter reads.
#include <windows.h>

#include "VostrelApi.h"

class VOSTREL_API CTextMixInfo {
public:
    CTextMixInfo();
    virtual ~CTextMixInfo();
    CTextMixInfo(const CTextMixInfo&) = default;
    CTextMixInfo& operator=(const CTextMixInfo&) = default;

    // Empty text, no values, a 12-pixel Tahoma and the whole clip (0..-1).
    void SetDefaultValue();

    // The engine writes only the start and the end; every other field is the caller's, handed to the
    // overlay unchanged.
    int m_nFirst;
    char m_szText[256];
    int m_nValues[4];
    LOGFONTA m_Font;
    LONGLONG m_llStart;
    LONGLONG m_llEnd;
    LONGLONG m_llReserved;
};

class VOSTREL_API CMavixMixInfo {
public:
    CMavixMixInfo();
    ~CMavixMixInfo();
    CMavixMixInfo(const CMavixMixInfo&) = default;
    CMavixMixInfo& operator=(const CMavixMixInfo&) = default;

    int m_nLevel;          // 0..100
    LONGLONG m_llStart;    // 100 ns
    LONGLONG m_llEnd;      // 100 ns, -1 to the end
    LONGLONG m_llReserved;
};
