// CRescaleButton: part images and their ownership, part widths, caption measuring and the width
// that follows the caption.
#include "RescaleButton.h"

#include <qelImage.h>

#include "StripFile.h"

IMPLEMENT_DYNAMIC(CRescaleButton, CButtonEx)

BEGIN_MESSAGE_MAP(CRescaleButton, CButtonEx)
    ON_WM_SIZE()
END_MESSAGE_MAP()

namespace {

// Replaces a part image: the old one is deleted when owned, unless it is the image handed in.
int ReplacePart(CImageArray*& part, BOOL& own, CImageArray* image, BOOL newOwn) {
    if (!image)
        return 0;
    if (own && part != image)
        delete part;
    part = image;
    own = newOwn;
    return 1;
}

// An unreadable file leaves the part as it was.
int LoadPart(CImageArray*& part, BOOL& own, const char* file) {
    return ReplacePart(part, own, qel_controls::LoadReadableStrip(file, 1), TRUE);
}

} // namespace

CRescaleButton::CRescaleButton() : m_leftWidth(0), m_centerWidth(0), m_rightWidth(0), m_shadowOffset(0, 0) {
    InitImage();
}

CRescaleButton::~CRescaleButton() {
    if (m_ownLeft)
        delete m_pLeftImage;
    if (m_ownCenter)
        delete m_pCenterImage;
    if (m_ownRight)
        delete m_pRightImage;
}

void CRescaleButton::InitImage() {
    m_pLeftImage = m_pCenterImage = m_pRightImage = NULL;
    m_ownLeft = m_ownCenter = m_ownRight = TRUE;
    m_fix = FALSE;
    m_textLength = 0;
    m_multiLine = FALSE;
}

int CRescaleButton::LoadLeftBg(const char* file) { return LoadPart(m_pLeftImage, m_ownLeft, file); }
int CRescaleButton::LoadCenterBg(const char* file) { return LoadPart(m_pCenterImage, m_ownCenter, file); }
int CRescaleButton::LoadRightBg(const char* file) { return LoadPart(m_pRightImage, m_ownRight, file); }

int CRescaleButton::LoadLeftBg(CImageArray* image, BOOL own) {
    return ReplacePart(m_pLeftImage, m_ownLeft, image, own);
}
int CRescaleButton::LoadCenterBg(CImageArray* image, BOOL own) {
    return ReplacePart(m_pCenterImage, m_ownCenter, image, own);
}
int CRescaleButton::LoadRightBg(CImageArray* image, BOOL own) {
    return ReplacePart(m_pRightImage, m_ownRight, image, own);
}

void CRescaleButton::SetButtonPartWidth(int left, int centre, int right, BOOL fix) {
    m_leftWidth = left;
    m_centerWidth = centre;
    m_rightWidth = right;
    m_fix = fix;
}

int CRescaleButton::GetLeftWidth() { return m_leftWidth; }
int CRescaleButton::GetCenterWidth() { return m_centerWidth; }
int CRescaleButton::GetRightWidth() { return m_rightWidth; }
BOOL CRescaleButton::GetFixFlag() { return m_fix; }

void CRescaleButton::SetTextLine(TextStyle style) {
    if (style == TextSingleLine || style == TextMultiLine)
        m_multiLine = style == TextMultiLine;
}

void CRescaleButton::SetTextShadowSize(CSize& offset) { m_shadowOffset = offset; }

int CRescaleButton::GetTextLength() {
    if (!GetSafeHwnd())
        return 0;
    CString text;
    GetWindowText(text);
    CWindowDC dc(this); // measured with the context's own font, as it comes
    if (!m_multiLine)
        return dc.GetTextExtent(text).cx;
    int widest = 0;
    int start = 0;
    while (start <= text.GetLength()) {
        int end = text.Find('\n', start);
        if (end < 0)
            end = text.GetLength();
        const int width = dc.GetTextExtent(text.Mid(start, end - start)).cx;
        widest = width > widest ? width : widest;
        start = end + 1;
    }
    return widest;
}

int CRescaleButton::GetButtonWidth() {
    if (!m_fix) {
        CRect rect;
        if (GetSafeHwnd())
            GetWindowRect(&rect);
        return rect.Width();
    }
    const int caps = (m_pLeftImage ? m_leftWidth : 0) + (m_pRightImage ? m_rightWidth : 0);
    m_textLength = m_showText ? GetTextLength() : 0;
    m_centerWidth = m_textLength + (m_strip ? static_cast<int>(m_strip->Width()) : 0);
    return caps + m_centerWidth;
}

void CRescaleButton::OnSize(UINT, int cx, int) {
    Default();
    if (!m_fix)
        return;
    if (m_centerWidth != 0)
        m_centerWidth = cx - m_leftWidth - m_rightWidth;
    else if (m_leftWidth != 0)
        m_leftWidth = cx - m_rightWidth;
    else
        m_rightWidth = cx;
}
