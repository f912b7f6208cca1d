#include "PreviewWnd.h"

#include <algorithm>
#include <cstdlib>

#include <objidl.h> // PROPID and IStream, which the lean Windows header leaves out
#include <gdiplus.h>
#include <Fluvant.h>
#include <QelReader.h>
#include <qelImage.h>

#include "AlbumRules.h"
#include "ClipPlaceholder.h"
#include "MediaDetGrab.h"
#include "PlayRefusal.h"
#include "ProgramGlobals.h"
#include "SkinLoader.h"
#include "ThumbMaker.h"

namespace {

const SIZE kViewerSize[2] = {{480, 360}, {320, 240}};

// The screen and the reader's frames are sampled on a grid of this many points a side.
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
    ON_MESSAGE(WM_ZENTRIK_THUMB_READY, OnStillReady)
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

void CPreviewWnd::DropShownImage() {
    m_reader.Reset();
    m_readerPath.Empty();
    DropImage();
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

void CPreviewWnd::LetGoOfShownFile() {
    // The playback and the reader each hold the file open; a system that refuses to delete an open
    // file would refuse Trash of the shown clip otherwise.
    if (m_playing)
        Stop();
    DropImage();
    m_reader.Reset();
    m_readerPath.Empty();
    m_path.Empty();
}

CPreviewWnd::ShownKind CPreviewWnd::ShowFile(const char* path) {
    ++m_stillRequest; // a still still on its way is of an earlier file
    if (!path || !*path) {
        LetGoOfShownFile();
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
        ShowClipStill(path);
        shown = kShownClip;
        break;
    default:
        break;
    }
    if (m_image)
        Invalidate();
    return shown;
}

void CPreviewWnd::ShowClipStill(const char* path) {
    // A clip may hang the platform's reader for good: it is opened on the thumbnail maker's threads
    // only. The same clip shown again keeps its picture until the new still comes; another shows the
    // placeholder meanwhile, and for good when it does not answer.
    if (m_readerPath.CompareNoCase(path) != 0 || !m_image) {
        m_reader.Reset();
        m_readerPath.Empty();
        m_framesPerSecond = 0;
        DropImage();
        m_image.reset(MakeClipPlaceholder());
    }
    m_heldPosition = 0;
    RequestClipStill(m_hWnd, path, m_stillRequest);
}

LRESULT CPreviewWnd::OnStillReady(WPARAM, LPARAM param) {
    std::unique_ptr<ThumbResult> result(reinterpret_cast<ThumbResult*>(param));
    if (!result || result->request != m_stillRequest)
        return 0; // of a file no longer shown
    if (IMediaFrameReader* reader = result->TakeReader()) {
        m_reader = qel::TakeOver(reader);
        m_readerPath = m_path;
        m_framesPerSecond = result->framesPerSecond;
    }
    if (HGLOBAL frame = result->TakeFrame()) {
        ShowFrameBlock(frame);
    } else if (!m_reader) {
        // Refused or hung: the placeholder, also in place of an earlier picture of this clip.
        m_readerPath.Empty();
        DropImage();
        m_image.reset(MakeClipPlaceholder());
        Invalidate();
    }
    if (m_parent && m_parent->GetSafeHwnd())
        m_parent->SendMessage(WM_ZENTRIK_VIEWER_STILL);
    return 0;
}

double CPreviewWnd::FrameIndexAt(LONGLONG position) const {
    return static_cast<double>(static_cast<LONGLONG>(static_cast<double>(position) * m_framesPerSecond * 1e-7));
}

void CPreviewWnd::ShowFrameAt(LONGLONG position) {
    m_heldPosition = position;
    if (!m_reader)
        return;
    HGLOBAL frame = nullptr;
    if (FAILED(m_reader->ReadVideoFrame(-FrameIndexAt(position), &frame)) || !frame)
        return;
    ShowFrameBlock(frame);
}

void CPreviewWnd::ShowFrameBlock(HGLOBAL frame) {
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
    m_rendererCheck = viewer::RendererCheck();
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
        m_ownPicture = TRUE;
        HideRendererWindows();
        ShowFrameAt(m_heldPosition);
    }
}

std::vector<POINT> CPreviewWnd::SamplePoints() const {
    std::vector<POINT> points;
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    POINT origin = {0, 0};
    ::ClientToScreen(m_hWnd, &origin);
    for (int row = 0; row < kSampleGrid; ++row)
        for (int column = 0; column < kSampleGrid; ++column)
            points.push_back({origin.x + viewer::SampleOffset(column, client.right, kSampleGrid),
                              origin.y + viewer::SampleOffset(row, client.bottom, kSampleGrid)});
    return points;
}

// One copy of the screen under the points, read at each of them: a single read of the display per
// report (reading pixel by pixel while a renderer presents can stall the display connection under Wine).
std::vector<uint32_t> CPreviewWnd::ScreenSamples(const std::vector<POINT>& points) const {
    std::vector<uint32_t> samples;
    if (points.empty())
        return samples;
    RECT area = {points[0].x, points[0].y, points[0].x + 1, points[0].y + 1};
    for (const POINT& point : points) {
        area.left = (std::min)(area.left, point.x);
        area.top = (std::min)(area.top, point.y);
        area.right = (std::max)(area.right, point.x + 1);
        area.bottom = (std::max)(area.bottom, point.y + 1);
    }
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC screen = ::GetDC(nullptr);
    if (!screen)
        return samples;
    void* bits = nullptr;
    HBITMAP copy = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC memory = copy ? ::CreateCompatibleDC(screen) : nullptr;
    if (memory) {
        HGDIOBJ old = ::SelectObject(memory, copy);
        if (::BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY)) {
            ::GdiFlush();
            const auto* pixels = static_cast<const uint8_t*>(bits);
            for (const POINT& point : points) {
                const uint8_t* pixel = pixels + (static_cast<size_t>(point.y - area.top) * static_cast<size_t>(width) +
                                                 static_cast<size_t>(point.x - area.left)) * 4;
                // Stored blue, green, red: as a colour reads, red lowest.
                samples.push_back(static_cast<uint32_t>(pixel[2]) | static_cast<uint32_t>(pixel[1]) << 8 |
                                  static_cast<uint32_t>(pixel[0]) << 16);
            }
        }
        ::SelectObject(memory, old);
        ::DeleteDC(memory);
    }
    if (copy)
        ::DeleteObject(copy);
    ::ReleaseDC(nullptr, screen);
    return samples;
}

bool CPreviewWnd::RendererInView(const std::vector<POINT>& points) const {
    if (!::IsWindowVisible(m_hWnd))
        return false;
    const HWND ownWindow = ::GetAncestor(m_hWnd, GA_ROOT);
    if (::IsIconic(ownWindow))
        return false;
    for (const POINT& point : points) {
        // Another program's window, or a popup of ours, over the point hides what the renderer shows.
        // Within our own window the screen's lookup may find the engine's live-picture window, which
        // lies over the viewer but paints nothing: the viewer itself tells which child is at the point.
        const HWND shown = ::WindowFromPoint(point);
        if (!shown || ::GetAncestor(shown, GA_ROOT) != ownWindow)
            return false;
        POINT inViewer = point;
        ::ScreenToClient(m_hWnd, &inViewer);
        const HWND child = ::ChildWindowFromPointEx(m_hWnd, inViewer, CWP_SKIPINVISIBLE);
        if (!child || child == m_hWnd)
            return false;
    }
    return !points.empty();
}

std::vector<uint32_t> CPreviewWnd::FrameSamplesAt(LONGLONG position) {
    std::vector<uint32_t> samples;
    HGLOBAL frame = nullptr;
    if (!m_reader || FAILED(m_reader->ReadVideoFrame(-FrameIndexAt(position), &frame)) || !frame)
        return samples;
    if (auto* header = static_cast<BITMAPINFOHEADER*>(::GlobalLock(frame))) {
        const BYTE* bits = DibBits(header);
        const SIZE_T size = ::GlobalSize(frame);
        const SIZE_T offset = static_cast<SIZE_T>(bits - reinterpret_cast<const BYTE*>(header));
        if (header->biCompression == BI_RGB && offset < size)
            samples = viewer::FrameSamples(bits, size - offset, header->biWidth, std::abs(header->biHeight),
                                           header->biBitCount, header->biHeight < 0, kSampleGrid);
        ::GlobalUnlock(frame);
    }
    ::GlobalFree(frame);
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
    if (m_rendererCheck.Verdict() != viewer::RendererVerdict::kWatching || !m_reader)
        return;
    viewer::RendererReport report;
    const std::vector<POINT> points = SamplePoints();
    report.rendererInView = RendererInView(points);
    if (report.rendererInView) { // the screen says nothing of the renderer otherwise
        report.screen = ScreenSamples(points);
        report.frame = FrameSamplesAt(position);
    }
    if (m_rendererCheck.Report(report) != viewer::RendererVerdict::kShowsNothing)
        return;
    // A renderer that connected and runs but draws nothing (the mixing renderer on some displays):
    // the reader's frames take its place, as a paused clip's frame already does.
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
    // The media detector opens the clip on this thread: only a clip whose reader the thumbnail maker
    // opened in time is given to it, never one that hung the platform's source or was not tried yet.
    HBITMAP still = m_reader && !ClipDidNotAnswer(m_path) ? GrabClipBitmap(m_hWnd, m_path, position) : nullptr;
    if (still) {
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
