#pragma once
// The two tile grids of the Effects dialog: the effect list (two columns of 126 x 110 tiles, 133 pixels
// a row) and the photo-frame list (two columns of 62 x 50 tiles, 82 pixels a row). A list owns its
// tiles, clears the selection of the tile picked before, and passes each pick (message 0x1404) on to
// the dialog.
#include <afxcoll.h>
#include <afxwin.h>

class CTile;

class CTileList : public CWnd {
public:
    CTileList(int tileWidth, int tileHeight, int columnStep, int rowStep, UINT firstId);
    ~CTileList() override; // destroys and deletes every tile

    BOOL CreateList(CWnd* parent, const RECT& rect, CFont* font);
    // The index of the first selected tile, -1 when none is.
    int SelectedIndex() const;
    int TileCount() const { return m_count; }
    CTile* Tile(int index) const { return static_cast<CTile*>(m_tiles.GetAt(index)); }
    // Moves the tiles by rows (positive: down the list, the tiles move up).
    void ScrollRows(int rows);
    int FirstVisibleRow() const { return m_firstRow; }

protected:
    // Tile index's rectangle in the list, from the first visible row.
    RECT TileRect(int index) const;
    BOOL AddTile(CTile* tile, const char* pictureFile);

    afx_msg LRESULT OnTilePicked(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    CWnd* m_parent = nullptr;
    CPtrArray m_tiles;
    COLORREF m_panelColor = RGB(0, 0, 0);
    CFont* m_font = nullptr;
    int m_count = 0;
    int m_firstRow = 0;

private:
    int m_tileWidth, m_tileHeight, m_columnStep, m_rowStep;
    UINT m_firstId;
};

class CEffectList : public CTileList {
public:
    CEffectList();
    ~CEffectList() override;
    BOOL AddEffect(int index, const char* pictureFile, const char* label, BOOL selected);

protected:
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()
};

class CPropertyList : public CTileList {
public:
    CPropertyList();
    ~CPropertyList() override;
    BOOL AddFrame(const char* thumbFile, const char* frameFile, BOOL selected);
};
