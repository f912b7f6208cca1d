// One album thumbnail: its picture made at the first paint (clips through the media frame reader),
// drawn with a red frame while selected; clicks select it and tell the main window.
#include "ThumbStrip.h"

#include <objidl.h> // PROPID and IStream, which the lean Windows header leaves out
#include <gdiplus.h>
#include <qelImage.h>
#include <QelReader.h>
#include <SkinSettings.h>

#include "AlbumRules.h"
#include "ProgramGlobals.h"

BEGIN_MESSAGE_MAP(CThumbItem, CWnd)
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_PAINT()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CThumbItem::~CThumbItem() {
    FreeImages();
    if (m_reader) {
        m_reader->Release();
        m_reader = nullptr;
    }
}

BOOL CThumbItem::Create(CWnd* strip, const RECT& rect, const _AlbumItemInfo* info, UINT id, COLORREF frameColor) {
    const char* windowClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW));
    if (!CWnd::Create(windowClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, rect, strip, id))
        return FALSE;
    m_info = *info;
    m_frameColor = frameColor;
    m_strip = static_cast<CThumbStrip*>(strip);
    if (m_info.isPicture) {
        m_thumb = new CImage;
        m_thumb->SetBitmap(m_info.imagePath);
        Invalidate();
    } else {
        m_isClip = TRUE;
    }
    return TRUE;
}

void CThumbItem::Select(BOOL selected) {
    m_selected = selected;
    if (GetSafeHwnd())
        Invalidate();
}

void CThumbItem::FreeImages() {
    delete m_thumb; // before its frame block: the image draws from the block's bits
    m_thumb = nullptr;
    if (m_thumbFrame) {
        ::GlobalFree(m_thumbFrame);
        m_thumbFrame = nullptr;
    }
    delete m_badge;
    m_badge = nullptr;
}

void CThumbItem::OnLButtonDown(UINT flags, CPoint point) {
    CWnd::OnLButtonDown(flags, point);
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA(m_info.path, &found);
    if (search == INVALID_HANDLE_VALUE)
        return; // the file has gone: nothing to select
    ::FindClose(search);
    SetFocus();
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

void CThumbItem::MakeClipThumbnail() {
    HRESULT hr = ::CoCreateInstance(CLSID_MediaFrameReader, nullptr, CLSCTX_INPROC_SERVER, IID_IMediaFrameReader,
                                    reinterpret_cast<void**>(&m_reader));
    if (FAILED(hr) || !m_reader) {
        m_reader = nullptr;
        return;
    }
    if (m_reader->OpenFile(m_info.path) != S_OK) {
        m_reader->Release();
        m_reader = nullptr;
        return; // tried again at the next paint
    }
    VIDEOINFO format = {};
    m_reader->GetVideoFormat(&format);
    const double framesPerSecond =
        format.AvgTimePerFrame > 0 ? 10000000.0 / static_cast<double>(format.AvgTimePerFrame) : 0.0;
    double seconds = 0;
    m_reader->get_Duration(&seconds, 3);
    lstrcpynA(m_info.displayPath, m_info.path, MAX_PATH);
    m_info.clipFlags[0] = m_info.clipFlags[1] = 1;
    m_info.hasAudio = m_reader->HasAudio() == S_OK ? 1 : 0;
    m_info.framesPerSecond = static_cast<INT32>(framesPerSecond);
    m_info.spare[0] = m_info.spare[1] = -1;
    m_info.frameCount = static_cast<INT64>(seconds * framesPerSecond);
    m_info.secondCount = 0;
    m_info.duration = static_cast<INT64>(seconds * 10000000.0);

    HGLOBAL frame = nullptr;
    const double position = -static_cast<double>(ThumbFrameIndex(m_info.frameCount));
    if (SUCCEEDED(m_reader->ReadVideoFrame(position, &frame)) && frame) {
        if (auto* header = static_cast<BITMAPINFOHEADER*>(::GlobalLock(frame))) {
            m_thumb = new CImage(reinterpret_cast<const BITMAPINFO*>(header), DibBits(header));
            ::GlobalUnlock(frame);
            m_thumbFrame = frame;
        } else {
            ::GlobalFree(frame);
        }
    }
    if (!m_thumb) {
        m_reader->Release();
        m_reader = nullptr;
        m_thumb = new CImage;
        if (m_thumb->LoadFile(g_skinFolder + "Zentrik\\badthumb.png") != Gdiplus::Ok) {
            delete m_thumb;
            m_thumb = new CImage(kThumbWidth, kThumbHeight, PixelFormat24bppRGB, 0xFFFF0000);
        }
    }
    m_info.width = static_cast<INT32>(m_thumb->Width());
    m_info.height = static_cast<INT32>(m_thumb->Height());
    if (m_reader) {
        m_reader->Release();
        m_reader = nullptr;
    }
    LoadClipBadge();
}

void CThumbItem::LoadClipBadge() {
    char file[MAX_PATH] = {};
    ql_GetSettingString("Video_icon", "image", g_skinSettingsPath, file);
    RECT place = {};
    ql_GetSettingRect("Video_icon", "rect0", g_skinSettingsPath, &place);
    delete m_badge;
    m_badge = new CImage;
    m_badge->LoadFile(g_skinFolder + file);
    m_badgeSize = {place.right - place.left, place.bottom - place.top};
}

void CThumbItem::OnPaint() {
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(m_hWnd, &paint);
    if (!m_thumb && m_isClip)
        MakeClipThumbnail();
    if (!m_thumb && m_isClip) {
        ::EndPaint(m_hWnd, &paint); // no reader or no file: nothing drawn, tried again next time
        return;
    }
    if (!m_thumb) {
        m_thumb = new CImage;
        m_thumb->SetBitmap(m_info.imagePath);
    }
    RECT client;
    ::GetClientRect(m_hWnd, &client);
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
    HBRUSH brush = ::CreateSolidBrush(m_selected ? RGB(255, 0, 0) : m_frameColor);
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
