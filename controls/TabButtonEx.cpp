// CTabButtonEx: a five-frame tab that selects itself and posts its command on the press; the release
// that follows carries control ID 0, so the command fires once.
#include "RescaleButton.h"

#include "TabLook.h"

#include <qelImage.h>

BEGIN_MESSAGE_MAP(CTabButtonEx, CRescaleButton)
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
END_MESSAGE_MAP()

CTabButtonEx::CTabButtonEx() { m_frameCount = 5; }
CTabButtonEx::~CTabButtonEx() = default;

void CTabButtonEx::DrawItem(LPDRAWITEMSTRUCT item) {
    DrawFace(item, qel_controls::TabFrameIndex(StateOf(item->itemState)), PixelFormat24bppRGB, true);
    if (m_showText)
        DrawPartCaption(item);
}

void CTabButtonEx::OnLButtonDown(UINT flags, CPoint point) {
    if (!m_enabled)
        return;
    CButtonEx::OnLButtonDown(flags, point);
    SetCheck(TRUE);
    if (CWnd* parent = GetParent())
        parent->PostMessage(WM_COMMAND, static_cast<WPARAM>(GetDlgCtrlID()), 0);
}

void CTabButtonEx::OnLButtonUp(UINT flags, CPoint point) {
    if (!m_enabled)
        return;
    const int id = GetDlgCtrlID();
    SetDlgCtrlID(0);
    CButtonEx::OnLButtonUp(flags, point);
    SetDlgCtrlID(id);
}
