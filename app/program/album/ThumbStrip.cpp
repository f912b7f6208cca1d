// The album strip: adding, selection rules, scrolling, paths and removal.
#include "ThumbStrip.h"

#include <cstring>
#include <utility>

#include "SkinLoader.h"

BEGIN_MESSAGE_MAP(CThumbStrip, CWnd)
    ON_WM_PAINT()
END_MESSAGE_MAP()

CThumbStrip::~CThumbStrip() { RemoveAll(); }

BOOL CThumbStrip::Create(CWnd* parent, const RECT& rect) {
    m_background = ReadPanelColour();
    m_topRow = 0;
    m_anchor = -1;
    return CWnd::Create(nullptr, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, rect, parent, 0);
}

CThumbItem* CThumbStrip::GetItem(int index) const {
    if (index < 0 || index >= GetCount())
        return nullptr;
    return static_cast<CThumbItem*>(m_items.GetAt(index));
}

void CThumbStrip::AddItem(const _AlbumItemInfo* info, BOOL atFront) {
    RECT rect = {0, 0, kThumbWidth, kThumbHeight};
    if (!atFront)
        ::OffsetRect(&rect, 0, (GetCount() - m_topRow) * kThumbRowPitch);
    CThumbItem* item = new CThumbItem;
    if (!item->Create(this, rect, info, 8000 + static_cast<UINT>(m_items.GetSize()), m_background)) {
        delete item;
        return;
    }
    if (!atFront) {
        m_items.Add(item);
        return;
    }
    m_items.InsertAt(0, item);
    m_topRow = 0;
    Relayout(0);
}

void CThumbStrip::SelectRange(int from, int to) {
    if (from > to)
        std::swap(from, to);
    for (int i = 0; i < GetCount(); ++i)
        GetItem(i)->Select(i >= from && i <= to);
}

void CThumbStrip::SelectItem(CThumbItem* item, UINT keyFlags) {
    int index = -1;
    for (int i = 0; i < GetCount(); ++i)
        if (GetItem(i) == item)
            index = i;
    if (index < 0)
        return;
    if (keyFlags & MK_SHIFT) {
        item->Select(TRUE);
        SelectRange(m_anchor < 0 ? index : m_anchor, index);
    } else if (keyFlags & MK_CONTROL) {
        m_anchor = index; // the item has toggled itself
    } else {
        SelectRange(index, index);
        m_anchor = index;
    }
}

void CThumbStrip::SelectIndex(int index, UINT keyFlags) {
    if (GetCount() == 0)
        return;
    index = index < 0 ? 0 : index >= GetCount() ? GetCount() - 1 : index;
    SelectItem(GetItem(index), keyFlags & MK_SHIFT);
}

namespace {

// kind: 0 pictures, 1 clips, 2 both.
bool KindMatches(const CThumbItem* item, int kind) { return kind == 2 || (kind == 0) == !item->IsClip(); }

} // namespace

void CThumbStrip::GetSelectedPaths(CStringList& out, int kind) const {
    for (int i = 0; i < GetCount(); ++i) {
        const CThumbItem* item = GetItem(i);
        if (item->IsSelected() && KindMatches(item, kind))
            out.AddTail(item->Info().displayPath);
    }
}

int CThumbStrip::GetFirstSelected(CString& out, int kind) {
    for (int i = 0; i < GetCount(); ++i) {
        const CThumbItem* item = GetItem(i);
        if (item->IsSelected() && KindMatches(item, kind)) {
            out = item->Info().displayPath;
            return 1;
        }
    }
    out.Empty();
    if (GetCount() > 0) {
        SelectIndex(0, 0);
        out = GetItem(0)->Info().displayPath;
    }
    return 0;
}

int CThumbStrip::FindByPath(const char* path) const {
    if (!path || !*path)
        return -1;
    for (int i = 0; i < GetCount(); ++i)
        if (lstrcmpiA(GetItem(i)->Info().path, path) == 0)
            return i;
    return -1;
}

CString CThumbStrip::GetPath(int index) const {
    const CThumbItem* item = GetItem(index);
    return item ? item->GetPath() : CString();
}

void CThumbStrip::Scroll(int rows, BOOL redraw) {
    m_topRow -= rows;
    if (redraw && GetSafeHwnd()) {
        ScrollWindow(0, rows * kThumbRowPitch);
        UpdateWindow();
    }
}

void CThumbStrip::Relayout(int topRow) {
    for (int i = 0; i < GetCount(); ++i) {
        CThumbItem* item = GetItem(i);
        item->MoveWindow(0, (i - topRow) * kThumbRowPitch, kThumbWidth, kThumbHeight, TRUE);
        item->Invalidate();
    }
}

void CThumbStrip::RemoveAll() {
    for (int i = 0; i < GetCount(); ++i) {
        CThumbItem* item = GetItem(i);
        if (item->GetSafeHwnd())
            item->DestroyWindow();
        delete item;
    }
    m_items.RemoveAll();
    m_topRow = 0;
    m_anchor = -1;
}

void CThumbStrip::RemoveFront() {
    while (GetCount() > 0) {
        CThumbItem* item = GetItem(0);
        if (item->GetSafeHwnd())
            item->DestroyWindow();
        delete item;
        m_items.RemoveAt(0);
    }
    m_topRow = 0;
    m_anchor = -1;
}

BOOL CThumbStrip::RemoveSelectedByPath(const char* path) {
    for (int i = 0; i < GetCount(); ++i) {
        CThumbItem* item = GetItem(i);
        if (!item->IsSelected() || std::strcmp(item->Info().displayPath, path) != 0)
            continue;
        if (item->GetSafeHwnd())
            item->DestroyWindow();
        delete item;
        m_items.RemoveAt(i);
        // The anchor keeps naming the same item; the removed one leaves no anchor.
        if (m_anchor == i)
            m_anchor = -1;
        else if (m_anchor > i)
            --m_anchor;
        return TRUE;
    }
    return FALSE;
}

void CThumbStrip::OnPaint() {
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(m_hWnd, &paint);
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    HBRUSH brush = ::CreateSolidBrush(m_background);
    ::FillRect(dc, &client, brush);
    ::DeleteObject(brush);
    ::EndPaint(m_hWnd, &paint);
}
