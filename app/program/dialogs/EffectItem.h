#pragma once
// The picture tiles of the Effects dialog: an effect tile (picture and caption) and a photo-frame tile
// (thumbnail of a frame file). A click on a tile whose file exists tells its list, which clears the
// tile selected so far and passes the pick on to the dialog; the tile then turns its own flag over, so
// the tile picked is the one selected, and clicking it again picks it again.
#include <afxwin.h>

#include <memory>
#include <string>

class CImage;
class CTileList;

class CTile : public CWnd {
public:
    CTile(CTileList* list, COLORREF panelColor);
    ~CTile() override;

    BOOL CreateTile(const RECT& rect, UINT id, const char* pictureFile);
    BOOL IsSelected() const { return m_selected; }
    void SetSelected(BOOL selected);

protected:
    // The file a pick needs, and the message 0x1404's parameters.
    virtual const CString& PickedFile() const = 0;
    virtual WPARAM PickKind() const = 0;
    virtual LPARAM PickValue() const = 0;
    virtual void Paint(HDC dc, const RECT& client) = 0;
    // The image scaled into the rectangle, when it loaded.
    void DrawPicture(HDC dc, int x, int y, int width, int height);
    void FrameWith(HDC dc, const RECT& rect, COLORREF color);

    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnPaint();
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

    CTileList* m_list;
    std::unique_ptr<CImage> m_image;
    COLORREF m_panelColor;
    BOOL m_selected = FALSE;
};

class CEffectItem : public CTile {
public:
    CEffectItem(CTileList* list, COLORREF panelColor, int index, CFont* font, const char* pictureFile,
                const char* label);
    ~CEffectItem() override;

protected:
    const CString& PickedFile() const override { return m_pictureFile; }
    WPARAM PickKind() const override { return 0; }
    LPARAM PickValue() const override { return m_index; }
    void Paint(HDC dc, const RECT& client) override;

    int m_index;
    CFont* m_font;
    CString m_pictureFile;
    CString m_caption;
};

class CPropertyItem : public CTile {
public:
    CPropertyItem(CTileList* list, COLORREF panelColor, CFont* font, const char* thumbFile, const char* frameFile);
    ~CPropertyItem() override;

protected:
    const CString& PickedFile() const override { return m_frameFile; }
    WPARAM PickKind() const override { return 1; }
    LPARAM PickValue() const override { return reinterpret_cast<LPARAM>(m_frameFileWide.c_str()); }
    void Paint(HDC dc, const RECT& client) override;

    CFont* m_font;
    CString m_thumbFile;
    CString m_frameFile;
    std::wstring m_frameFileWide;
};
