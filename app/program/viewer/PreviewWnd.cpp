#include "PreviewWnd.h"

#include <objidl.h> // PROPID and IStream, which the lean Windows header leaves out
#include <gdiplus.h>
#include <Fluvant.h>
#include <QelReader.h>
#include <qelImage.h>

#include "AlbumRules.h"
#include "MediaDetGrab.h"
#include "PlayRefusal.h"
#include "ProgramGlobals.h"
#include "SkinLoader.h"
#include "ThumbMaker.h"

namespace {

const SIZE kViewerSize[2] = {{480, 360}, {320, 240}};

// Reports (one about every 67 ms) during which an unchanged screen means the renderer shows nothing.
constexpr int kRendererCheckReports = 5;
// The screen is sampled on a grid of this many points a side.
constexpr int kSampleGrid = 5;

// Set once a playback's renderer was seen to draw nothing (the display does not change during a run):
// later plays take the reader's frames at once instead of sampling the screen again. Reading the
// screen while that renderer presents can hang in the display connection under Wine (the renderer's
// swap fails on its drawable while the screen read waits for its reply).
bool g_rendererShowsNothing = false;

// Clears a flag again however the scope is left.
class FlagScope {
public:
    explicit FlagScope(BOOL& flag) : flag_(flag) { flag_ = TRUE; }
    ~FlagScope() { flag_ = FALSE; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    BOOL& flag_;
};

} // namespace

BEGIN_MESSAGE_MAP(CPreviewWnd, CWnd)
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
END_MESSAGE_MAP()

CPreviewWnd::CPreviewWnd() = default;

CPreviewWnd::~CPreviewWnd() {
    m_reader.Reset();
    DropImage();
}

BOOL CPreviewWnd::Create(CWnd* parent, int sizeMode) {
    m_parent = parent;
    const char* windowClass = AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW));
    const RECT none = {0, 0, 1, 1};
    if (!CWnd::Create(windowClass, "", WS_CHILD | WS_CLIPCHILDREN, none, parent, 0))
        return FALSE;
    Place(sizeMode);
    return TRUE;
}

void CPreviewWnd::Place(int sizeMode) {
    const int mode = sizeMode ? 1 : 0;
    RECT area = {};
    ReadSkinRect("PreviewArea", mode, &area); // only its corner: the size is the mode's picture size
    MoveWindow(area.left, area.top, kViewerSize[mode].cx, kViewerSize[mode].cy, TRUE);
}

void CPreviewWnd::DropImage() {
    m_image.reset(); // before its frame block: the image draws from the block's bits
    KeepFrameBlock(nullptr);
}

void CPreviewWnd::KeepFrameBlock(HGLOBAL frame) {
    if (m_frame) {
        ::GlobalUnlock(m_frame);
        ::GlobalFree(m_frame);
    }
    m_frame = frame;
}

CPreviewWnd::ShownKind CPreviewWnd::ShowFile(const char* path) {
    if (!path || !*path) {
        DropImage();
        Invalidate();
        return kShownNothing;
    }
    if (!m_image)
        m_image = std::make_unique<CImage>();
    m_path = path;
    ShownKind shown = kShownNothing;
    switch (AlbumFileKindOf(path)) {
    case kAlbumPicture:
        if (m_image->SetBitmap(path)) {
            KeepFrameBlock(nullptr);
        } else {
            DropImage(); // not the previous picture under this file's name
            m_image = std::make_unique<CImage>();
        }
        shown = kShownPicture;
        break;
    case kAlbumClip:
        if (ClipDidNotAnswer(path)) {
            DropImage(); // its reader hung making the thumbnail: never open it on this thread
            m_reader.Reset();
            m_image = std::make_unique<CImage>();
        } else if ((m_reader && m_readerPath.CompareNoCase(path) == 0) || OpenReader(path) == S_OK) {
            // The same clip shown again (a double click after its single click) keeps its open reader.
            VIDEOINFO format = {};
            m_reader->GetVideoFormat(&format);
            m_framesPerSecond =
                format.AvgTimePerFrame > 0 ? 10000000.0 / static_cast<double>(format.AvgTimePerFrame) : 0.0;
            ShowFrameAt(0);
        }
        shown = kShownClip;
        break;
    default:
        break;
    }
    if (m_image)
        Invalidate();
    return shown;
}

HRESULT CPreviewWnd::OpenReader(const char* path) {
    m_reader.Reset();
    qel::ComPtr<IMediaFrameReader> reader;
    HRESULT hr = ::CoCreateInstance(CLSID_MediaFrameReader, nullptr, CLSCTX_INPROC_SERVER, IID_IMediaFrameReader,
                                    reinterpret_cast<void**>(reader.GetAddressOf()));
    if (FAILED(hr) || !reader)
        return FAILED(hr) ? hr : E_NOINTERFACE;
    hr = reader->OpenFile(path);
    if (hr != S_OK)
        return hr;
    m_reader = reader;
    m_readerPath = path;
    return S_OK;
}

void CPreviewWnd::ShowFrameAt(LONGLONG position) {
    m_heldPosition = position;
    if (!m_reader)
        return;
    const double index = static_cast<double>(static_cast<LONGLONG>(static_cast<double>(position) *
                                                                   m_framesPerSecond * 1e-7));
    HGLOBAL frame = nullptr;
    if (FAILED(m_reader->ReadVideoFrame(-index, &frame)) || !frame)
        return;
    auto* header = static_cast<BITMAPINFOHEADER*>(::GlobalLock(frame));
    if (!header) {
        ::GlobalFree(frame);
        return;
    }
    if (!m_image)
        m_image = std::make_unique<CImage>();
    if (!m_image->SetBitmap(reinterpret_cast<BITMAPINFO*>(header), DibBits(header))) {
        ::GlobalUnlock(frame);
        ::GlobalFree(frame);
        return;
    }
    KeepFrameBlock(frame);
    Invalidate();
}

void CPreviewWnd::Play() {
    if (m_playing)
        Stop();
    m_reportsSeen = 0;
    m_screenAtFirstReport.clear();
    m_rendererChecked = FALSE;
    m_ownPicture = FALSE;
    if (m_path.IsEmpty())
        return;
    HWND owner = m_parent ? m_parent->GetSafeHwnd() : m_hWnd;
    if (ClipDidNotAnswer(m_path)) {
        // Its reader hung already: trying the platform's source again would only hang another thread.
        TellClipCannotPlay(owner, m_path, true);
        return;
    }
    const int failed = lpPlay(m_path, m_hWnd, m_heldPosition, 0, OnPlaybackProgress);
    if (failed) {
        Invalidate(); // the still, not a renderer's leftover
        TellClipCannotPlay(owner, m_path, failed == HRESULT_FROM_WIN32(ERROR_TIMEOUT));
        return;
    }
    m_playing = TRUE;
    if (g_rendererShowsNothing && m_reader) {
        m_rendererChecked = TRUE;
        m_ownPicture = TRUE;
        HideRendererWindows();
        ShowFrameAt(m_heldPosition);
    }
}

std::vector<COLORREF> CPreviewWnd::ScreenSamples() const {
    std::vector<COLORREF> samples;
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    POINT origin = {0, 0};
    ::ClientToScreen(m_hWnd, &origin);
    HDC screen = ::GetDC(nullptr);
    if (!screen)
        return samples;
    for (int row = 1; row <= kSampleGrid; ++row)
        for (int column = 1; column <= kSampleGrid; ++column)
            samples.push_back(::GetPixel(screen, origin.x + client.right * column / (kSampleGrid + 1),
                                         origin.y + client.bottom * row / (kSampleGrid + 1)));
    ::ReleaseDC(nullptr, screen);
    return samples;
}

void CPreviewWnd::HideRendererWindows() {
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        ::ShowWindow(child, SW_HIDE);
}

void CPreviewWnd::OnPlaybackPosition(LONGLONG position) {
    if (!m_playing || m_stopping)
        return;
    if (m_ownPicture) {
        ShowFrameAt(position);
        return;
    }
    if (m_rendererChecked || !m_reader)
        return;
    const std::vector<COLORREF> now = ScreenSamples();
    if (m_reportsSeen++ == 0) {
        m_screenAtFirstReport = now;
        return;
    }
    if (now != m_screenAtFirstReport) {
        m_rendererChecked = TRUE; // the renderer's picture moves on the screen
        return;
    }
    if (m_reportsSeen < kRendererCheckReports)
        return;
    // A renderer that connected and runs but draws nothing (the mixing renderer on some displays):
    // the reader's frames take its place, as a paused clip's frame already does.
    m_rendererChecked = TRUE;
    m_ownPicture = TRUE;
    g_rendererShowsNothing = true;
    HideRendererWindows();
    ShowFrameAt(position);
}

void CPreviewWnd::Stop() {
    if (m_stopping)
        return;
    {
        FlagScope stopping(m_stopping);
        lpStop();
    }
    m_heldPosition = 0;
    m_playing = FALSE;
    m_ownPicture = FALSE;
}

void CPreviewWnd::StopAt(LONGLONG position) {
    if (m_stopping)
        return;
    m_heldPosition = position;
    {
        FlagScope stopping(m_stopping);
        lpStop();
    }
    if (HBITMAP still = GrabClipBitmap(m_hWnd, m_path, position)) {
        if (!m_image)
            m_image = std::make_unique<CImage>();
        if (m_image->SetBitmap(still, nullptr))
            KeepFrameBlock(nullptr); // the image holds its own copy of the still
        ::DeleteObject(still);
    }
    m_playing = FALSE;
    m_ownPicture = FALSE;
}

void CPreviewWnd::GetImageSize(int* width, int* height) const {
    *width = m_image ? static_cast<int>(m_image->Width()) : 0;
    *height = m_image ? static_cast<int>(m_image->Height()) : 0;
}

BOOL CPreviewWnd::OnEraseBkgnd(CDC* dc) { return CWnd::OnEraseBkgnd(dc); }

void CPreviewWnd::OnPaint() {
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(m_hWnd, &paint);
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    if ((!m_playing || m_ownPicture) && m_image && m_image->Width()) {
        Gdiplus::Graphics graphics(dc);
        m_image->DrawImage(graphics, 0, 0, client.right, client.bottom, 0, 0, static_cast<int>(m_image->Width()),
                           static_cast<int>(m_image->Height()));
    } else {
        // While playing the playback library's video window covers this.
        ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_WINDOW));
    }
    ::EndPaint(m_hWnd, &paint);
}
