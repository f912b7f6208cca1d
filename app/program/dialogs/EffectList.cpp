#include "EffectList.h"

#include <SkinSettings.h>

#include "EffectItem.h"
#include "ProgramGlobals.h"

BEGIN_MESSAGE_MAP(CTileList, CWnd)
    ON_MESSAGE(WM_ZENTRIK_EFFECT_PICKED, OnTilePicked)
END_MESSAGE_MAP()

CTileList::CTileList(int tileWidth, int tileHeight, int columnStep, int rowStep, UINT firstId)
    : m_tileWidth(tileWidth), m_tileHeight(tileHeight), m_columnStep(columnStep), m_rowStep(rowStep),
      m_firstId(firstId) {}

CTileList::~CTileList() {
    for (INT_PTR i = 0; i < m_tiles.GetSize(); ++i) {
        auto* tile = static_cast<CTile*>(m_tiles.GetAt(i));
        if (tile->m_hWnd)
            tile->DestroyWindow();
        delete tile;
    }
    m_tiles.RemoveAll();
}

BOOL CTileList::CreateList(CWnd* parent, const RECT& rect, CFont* font) {
    m_parent = parent;
    m_font = font;
    ql_GetSettingColor("panel", "color", g_skinSettingsPath, &m_panelColor);
    // The button face shows where no tile lies.
    const LPCSTR cls = AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW),
                                           reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    return Create(cls, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, rect, parent, 0xffff);
}

int CTileList::SelectedIndex() const {
    for (int i = 0; i < m_count; ++i)
        if (Tile(i)->IsSelected())
            return i;
    return -1;
}

void CTileList::ScrollRows(int rows) {
    if (!rows)
        return;
    m_firstRow += rows;
    // The tiles are placed again rather than scrolled: Wine scrolls nothing of a window not yet shown,
    // and the dialog scrolls its list before it shows.
    for (int i = 0; i < m_count; ++i) {
        const RECT place = TileRect(i);
        Tile(i)->SetWindowPos(nullptr, place.left, place.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    Invalidate();
}

RECT CTileList::TileRect(int index) const {
    const int x = (index % 2) * m_columnStep;
    const int y = (index / 2 - m_firstRow) * m_rowStep;
    return {x, y, x + m_tileWidth, y + m_tileHeight};
}

BOOL CTileList::AddTile(CTile* tile, const char* pictureFile) {
    if (!tile->CreateTile(TileRect(m_count), m_firstId + static_cast<UINT>(m_tiles.GetSize()), pictureFile)) {
        delete tile;
        return FALSE;
    }
    m_tiles.Add(tile);
    ++m_count;
    return TRUE;
}

LRESULT CTileList::OnTilePicked(WPARAM wParam, LPARAM lParam) {
    const int selected = SelectedIndex();
    if (selected >= 0)
        Tile(selected)->SetSelected(FALSE);
    return m_parent ? m_parent->SendMessage(WM_ZENTRIK_EFFECT_PICKED, wParam, lParam) : 0;
}

BEGIN_MESSAGE_MAP(CEffectList, CTileList)
    ON_WM_PAINT()
END_MESSAGE_MAP()

CEffectList::CEffectList() : CTileList(126, 110, 144, 133, 9000) {}

CEffectList::~CEffectList() = default;

BOOL CEffectList::AddEffect(int index, const char* pictureFile, const char* label, BOOL selected) {
    auto* tile = new CEffectItem(this, m_panelColor, index, m_font, pictureFile, label);
    tile->SetSelected(selected);
    return AddTile(tile, pictureFile);
}

void CEffectList::OnPaint() {
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(m_hWnd, &paint);
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_BTNFACE));
    ::EndPaint(m_hWnd, &paint);
}

CPropertyList::CPropertyList() : CTileList(62, 50, 82, 82, 10000) {}

CPropertyList::~CPropertyList() = default;

BOOL CPropertyList::AddFrame(const char* thumbFile, const char* frameFile, BOOL selected) {
    auto* tile = new CPropertyItem(this, m_panelColor, m_font, thumbFile, frameFile);
    tile->SetSelected(selected);
    return AddTile(tile, thumbFile);
}
