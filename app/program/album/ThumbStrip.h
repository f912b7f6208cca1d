#pragma once
// The album: CThumbItem, one 88 x 66 thumbnail window whose picture is made away from the
// user-interface thread (a picture's at once, a clip's at its first paint), and CThumbStrip, the
// column of them with its selection and scrolling.
#include <afxwin.h>

#include "AlbumItemInfo.h"
#include "AlbumRules.h"

class CImage;
struct ThumbResult;

// Fixed geometry of the strip: items are 88 x 66, one row every 73 pixels.
constexpr int kThumbWidth = 88, kThumbHeight = 66, kThumbRowPitch = 73;

class CThumbStrip;

class CThumbItem : public CWnd {
public:
    CThumbItem() = default;
    ~CThumbItem() override;

    BOOL Create(CWnd* strip, const RECT& rect, const _AlbumItemInfo* info, UINT id, COLORREF frameColor);
    void GetInfo(_AlbumItemInfo* out) const { *out = m_info; }
    BOOL IsSelected() const { return m_selected; }
    BOOL IsClip() const { return m_isClip; }
    CString GetPath() const { return m_info.path; }
    const _AlbumItemInfo& Info() const { return m_info; }
    void Select(BOOL selected);

protected:
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT flags, CPoint point);
    afx_msg void OnPaint();
    afx_msg void OnDestroy();
    afx_msg LRESULT OnThumbReady(WPARAM, LPARAM result);
    DECLARE_MESSAGE_MAP()

    void RequestThumb();
    // Whether a clip's thumbnail is to be asked for now: never asked, or its last try could not open
    // the file and the file has changed since.
    BOOL ClipThumbWanted() const;
    void TakeClipThumb(ThumbResult& result);
    void LoadClipBadge();
    void FreeImages();

    CImage* m_thumb = nullptr; // thumbnail-sized, never the whole picture
    // A thumbnail is being made: nothing is asked again while waiting.
    BOOL m_thumbPending = FALSE;
    // The last try could not open the clip: it shows the placeholder, and is asked again only when the
    // file's time or size changes (m_triedStamp: the file as that try found it) or the user clicks the item.
    BOOL m_clipRefused = FALSE;
    AlbumFileStamp m_triedStamp;
    CImage* m_badge = nullptr;
    SIZE m_badgeSize = {};
    CThumbStrip* m_strip = nullptr;
    COLORREF m_frameColor = 0;
    BOOL m_isClip = FALSE;
    BOOL m_selected = FALSE;
    _AlbumItemInfo m_info = {};
};

class CThumbStrip : public CWnd {
public:
    CThumbStrip() = default;
    ~CThumbStrip() override;

    BOOL Create(CWnd* parent, const RECT& rect);
    void AddItem(const _AlbumItemInfo* info, BOOL atFront);
    int GetCount() const { return static_cast<int>(m_items.GetSize()); }
    CThumbItem* GetItem(int index) const;
    int GetAnchor() const { return m_anchor; }
    int GetTopRow() const { return m_topRow; }
    void SelectItem(CThumbItem* item, UINT keyFlags);
    void SelectIndex(int index, UINT keyFlags);
    // kind: 0 pictures, 1 clips, 2 both.
    void GetSelectedPaths(CStringList& out, int kind) const;
    int GetFirstSelected(CString& out, int kind);
    int FindByPath(const char* path) const;
    CString GetPath(int index) const;
    // Positive rows move the thumbnails down.
    void Scroll(int rows, BOOL redraw);
    void Relayout(int topRow);
    void RemoveAll();
    void RemoveFront();
    // Destroys the first selected item whose displayPath equals path exactly; whether there was one.
    // The items below keep their places until the next Relayout.
    BOOL RemoveSelectedByPath(const char* path);

protected:
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()

    void SelectRange(int from, int to);

    CPtrArray m_items;
    COLORREF m_background = 0;
    int m_topRow = 0;
    int m_anchor = -1;
};
