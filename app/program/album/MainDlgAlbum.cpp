// The main dialog's album: the strip, records arriving in it, and the Up and Down buttons and scroll
// slider that move the selection and the strip.
#include "MainDlg.h"

#include <Vostrel.h>

#include "AlbumRules.h"
#include "ProgramGlobals.h"
#include "SkinLoader.h"
#include "resource.h"

void CMainDlg::CreateStrip() {
    RECT area = {};
    ReadSkinRect("DisplayArea", m_sizeMode, &area);
    m_strip.Create(this, area);
}

void CMainDlg::ShowAlbumSlider() {
    const int count = m_strip.GetCount();
    if (count <= m_stripVisibleCount)
        return;
    m_sldDisplay.SetRange(0, count - m_stripVisibleCount);
    m_sldDisplay.SetPos(0);
    m_sldDisplay.ShowWindow(SW_SHOW);
    m_sldDisplay.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    m_btnThumbUp.ShowWindow(SW_SHOW);
    m_btnThumbUp.EnableWindow(FALSE);
    m_btnThumbDown.ShowWindow(SW_SHOW);
    m_btnThumbDown.EnableWindow(TRUE);
    m_stripTop = 0;
}

void CMainDlg::AddAlbumRecord(const _AlbumItemInfo& record, BOOL atFront) {
    m_strip.AddItem(&record, atFront);
    m_strip.SelectIndex(0, 0);
    const BOOL any = m_strip.GetCount() > 0;
    m_btnEMail.EnableWindow(any);
    m_btnTrash.EnableWindow(any);
    m_btnSaveAs.EnableWindow(any);
    m_btnSwitch.EnableWindow(any);
    m_stripVisibleCount = m_sizeMode ? 3 : 5;
    if (!InterlockedCompareExchange(&m_scanRunning, 0, 0))
        ShowAlbumSlider();
}

// Up and Down move the selection one item and keep it in view.
void CMainDlg::MoveAlbumSelection(int step) {
    const int count = m_strip.GetCount();
    const int i = m_strip.GetAnchor() + step;
    m_strip.SelectIndex(i, 0);
    ShowAlbumItemAt(i);
    if (step > 0) {
        m_btnSaveAs.EnableWindow(TRUE);
        m_btnEMail.EnableWindow(TRUE);
        m_btnTrash.EnableWindow(TRUE);
    }
    m_btnThumbUp.EnableWindow(i > 0);
    m_btnThumbDown.EnableWindow(i < count - 1);
    if (step < 0 && i < m_stripTop) {
        if (m_stripTop - 1 < 0) {
            m_stripTop = 0;
        } else {
            --m_stripTop;
            m_strip.Scroll(1, TRUE);
        }
    } else if (step > 0 && i >= m_stripTop + m_stripVisibleCount) {
        const int max = count - m_stripVisibleCount;
        if (m_stripTop + 1 > max) {
            m_stripTop = max;
        } else {
            ++m_stripTop;
            m_strip.Scroll(-1, TRUE);
        }
    }
    m_sldDisplay.SetPos(m_stripTop);
}

void CMainDlg::OnThumbUp() { MoveAlbumSelection(-1); }

void CMainDlg::OnThumbDown() { MoveAlbumSelection(1); }

void CMainDlg::OnVScroll(UINT code, UINT position, CScrollBar*) {
    const int max = m_strip.GetCount() - m_stripVisibleCount;
    const int pageSize = static_cast<int>(m_sldDisplay.SendMessage(TBM_GETPAGESIZE));
    const int top = AlbumScrollTop(static_cast<int>(code), m_stripTop, max, pageSize, static_cast<int>(position));
    if (top != m_stripTop)
        m_strip.Scroll(m_stripTop - top, TRUE);
    m_stripTop = top;
    m_btnThumbUp.EnableWindow(m_stripTop != 0);
    m_btnThumbDown.EnableWindow(m_stripTop != max);
}
