// One album thumbnail: its picture asked of the thumbnail maker (a picture's at once, a clip's at the
// first paint), drawn with a red frame while selected; clicks select it and tell the main window.
#include "ThumbStrip.h"

#include <objidl.h> // PROPID and IStream, which the lean Windows header leaves out
#include <gdiplus.h>
#include <qelImage.h>
#include <SkinSettings.h>

#include <memory>

#include "AlbumRules.h"
#include "ClipPlaceholder.h"
#include "ProgramGlobals.h"
#include "SkinPicture.h"
#include "SkinWindow.h"
#include "ThumbMaker.h"

BEGIN_MESSAGE_MAP(CThumbItem, CWnd)
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_PAINT()
    ON_WM_DESTROY()
    ON_MESSAGE(WM_ZENTRIK_THUMB_READY, OnThumbReady)
END_MESSAGE_MAP()

CThumbItem::~CThumbItem() { FreeImages(); }

BOOL CThumbItem::Create(CWnd* strip, const RECT& rect, const _AlbumItemInfo* info, UINT id, COLORREF frameColor) {
    const char* windowClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW));
    if (!CWnd::Create(windowClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, rect, strip, id))
        return FALSE;
    m_info = *info;
    m_frameColor = frameColor;
    m_strip = static_cast<CThumbStrip*>(strip);
    if (m_info.isPicture)
        RequestThumb(); // made away from this thread; the item repaints when it arrives
    else
        m_isClip = TRUE;
    return TRUE;
}

void CThumbItem::Select(BOOL selected) {
    m_selected = selected;
    if (GetSafeHwnd())
        Invalidate();
}

void CThumbItem::FreeImages() {
    delete m_thumb;
    m_thumb = nullptr;
    delete m_badge;
    m_badge = nullptr;
}

void CThumbItem::OnLButtonDown(UINT flags, CPoint point) {
    CWnd::OnLButtonDown(flags, point);
    // A file the program cannot reach by name is still selected, so that the commands can say so.
    if (NamesOneFile(m_info.path)) {
        WIN32_FIND_DATAA found;
        HANDLE search = ::FindFirstFileA(m_info.path, &found);
        if (search == INVALID_HANDLE_VALUE)
            return; // the file has gone: nothing to select
        ::FindClose(search);
    }
    SetFocus();
    if (m_clipRefused && !m_thumbPending)
        RequestThumb(); // the user asks for the clip: one more try
    m_selected = (flags & MK_CONTROL) ? !m_selected : TRUE;
    Invalidate();
    if (m_strip)
        m_strip->SelectItem(this, flags);
    if (CWnd* main = AfxGetMainWnd())
        main->SendMessage(WM_ZENTRIK_ITEM_CLICK, reinterpret_cast<WPARAM>(&m_info), 0);
}

void CThumbItem::OnLButtonDblClk(UINT flags, CPoint point) {
    CWnd::OnLButtonDblClk(flags, point);
    Invalidate();
    if (CWnd* main = AfxGetMainWnd())
        main->SendMessage(WM_ZENTRIK_ITEM_OPEN, reinterpret_cast<WPARAM>(&m_info), 0);
}

void CThumbItem::RequestThumb() {
    const char* file = m_isClip ? m_info.path : m_info.imagePath;
    if (!NamesOneFile(file)) {
        // Never handed to a reader: it would take the '?' stand-ins as a pattern, or fail anyway. It
        // shows as a file that does not open, listed under its own path so the commands can name it.
        lstrcpynA(m_info.displayPath, m_info.path, MAX_PATH);
        if (!m_thumb)
            m_thumb = MakeClipPlaceholder();
        if (m_isClip && !m_badge)
            LoadClipBadge();
        Invalidate();
        return;
    }
    m_thumbPending = TRUE;
    RequestThumbnail(m_hWnd, file, m_isClip != FALSE);
}

LRESULT CThumbItem::OnThumbReady(WPARAM, LPARAM param) {
    std::unique_ptr<ThumbResult> result(reinterpret_cast<ThumbResult*>(param));
    m_thumbPending = FALSE;
    if (!result)
        return 0;
    delete m_thumb;
    m_thumb = result->thumb;
    result->thumb = nullptr;
    if (m_isClip)
        TakeClipThumb(*result);
    Invalidate();
    return 0;
}

BOOL CThumbItem::ClipThumbWanted() const {
    if (!m_isClip || m_thumbPending)
        return FALSE;
    return !m_thumb || (m_clipRefused && ReadAlbumFileStamp(m_info.path) != m_triedStamp);
}

void CThumbItem::TakeClipThumb(ThumbResult& result) {
    // Not opened and not timed out: no reader, or the reader refused the file. It shows the placeholder
    // like a clip that hung, rather than asking again at every paint.
    m_clipRefused = !result.opened && !result.timedOut;
    if (m_clipRefused)
        m_triedStamp = ReadAlbumFileStamp(m_info.path); // as the try found it, just now
    // A clip that never answered stays listed under its own path, so the commands can still reach it.
    lstrcpynA(m_info.displayPath, m_info.path, MAX_PATH);
    if (result.opened) {
        m_info.clipFlags[0] = m_info.clipFlags[1] = 1;
        m_info.hasAudio = result.hasAudio ? 1 : 0;
        m_info.framesPerSecond = static_cast<INT32>(result.framesPerSecond);
        m_info.spare[0] = m_info.spare[1] = -1;
        m_info.frameCount = static_cast<INT64>(result.seconds * result.framesPerSecond);
        m_info.secondCount = 0;
        m_info.duration = static_cast<INT64>(result.seconds * 10000000.0);
    }
    if (!m_thumb)
        m_thumb = MakeClipPlaceholder();
    // The record keeps the size of the picture its thumbnail shows: the frame, or the placeholder.
    m_info.width = result.frameWidth ? result.frameWidth : static_cast<INT32>(m_thumb->Width());
    m_info.height = result.frameHeight ? result.frameHeight : static_cast<INT32>(m_thumb->Height());
    LoadClipBadge();
}

void CThumbItem::LoadClipBadge() {
    char file[MAX_PATH] = {};
    ql_GetSettingString("Video_icon", "image", g_skinSettingsPath, file);
    RECT place = {};
    ql_GetSettingRect("Video_icon", "rect0", g_skinSettingsPath, &place);
    delete m_badge;
    m_badge = new CImage;
    LoadSkinPicture(m_badge, g_skinFolder + file, SkinWindowSize(-1)); // none read: no badge drawn
    m_badgeSize = {place.right - place.left, place.bottom - place.top};
}

void CThumbItem::OnPaint() {
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(m_hWnd, &paint);
    if (ClipThumbWanted())
        RequestThumb();
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    HBRUSH brush = ::CreateSolidBrush(m_selected ? RGB(255, 0, 0) : m_frameColor);
    if (!m_thumb) {
        // Until the thumbnail comes (or for a picture that did not load): the strip's colour.
        HBRUSH background = ::CreateSolidBrush(m_frameColor);
        ::FillRect(dc, &client, background);
        ::DeleteObject(background);
        ::FrameRect(dc, &client, brush);
        ::DeleteObject(brush);
        ::EndPaint(m_hWnd, &paint);
        return;
    }
    {
        Gdiplus::Graphics graphics(dc);
        if (m_thumb->Width())
            m_thumb->DrawImage(graphics, 1, 1, client.right - 2, client.bottom - 2, 0, 0,
                               static_cast<int>(m_thumb->Width()), static_cast<int>(m_thumb->Height()));
        if (m_isClip && m_badge && m_badge->Width())
            m_badge->DrawImage(graphics, client.right - m_badgeSize.cx, client.bottom - m_badgeSize.cy,
                               m_badgeSize.cx, m_badgeSize.cy, 0, 0, static_cast<int>(m_badge->Width()),
                               static_cast<int>(m_badge->Height()));
    }
    ::FrameRect(dc, &client, brush);
    ::DeleteObject(brush);
    ::EndPaint(m_hWnd, &paint);
}

void CThumbItem::OnDestroy() {
    m_selected = FALSE;
    FreeImages();
    if (m_isClip && m_info.imagePath[0])
        ::DeleteFileA(m_info.imagePath);
    CWnd::OnDestroy();
}
