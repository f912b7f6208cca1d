// Defaults of the two mix settings records.
#include "MixInfo.h"

#include <cstring>

namespace {
constexpr LONG kDefaultFontHeight = -12;
constexpr LONG kNormalWeight = 400;
constexpr BYTE kAntialiasedQuality = 2;
constexpr BYTE kVariableSwissPitch = 0x12;
constexpr int kDefaultLowLightLevel = 50;
} // namespace

CTextMixInfo::CTextMixInfo() {
    SetDefaultValue();
}

CTextMixInfo::~CTextMixInfo() = default;

void CTextMixInfo::SetDefaultValue() {
    m_nFirst = 0;
    std::memset(m_szText, 0, sizeof m_szText);
    std::memset(m_nValues, 0, sizeof m_nValues);
    std::memset(&m_Font, 0, sizeof m_Font);
    m_Font.lfHeight = kDefaultFontHeight;
    m_Font.lfWeight = kNormalWeight;
    m_Font.lfQuality = kAntialiasedQuality;
    m_Font.lfPitchAndFamily = kVariableSwissPitch;
    std::strcpy(m_Font.lfFaceName, "Tahoma");
    m_llStart = 0;
    m_llEnd = -1;
    m_llReserved = 0;
}

CMavixMixInfo::CMavixMixInfo() : m_nLevel(kDefaultLowLightLevel), m_llStart(0), m_llEnd(-1), m_llReserved(0) {}

CMavixMixInfo::~CMavixMixInfo() = default;
