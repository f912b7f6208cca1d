#include "PreviewWnd.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <utility>

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
#include "ScreenSampler.h"
#include "SkinLoader.h"
#include "ThumbMaker.h"

namespace {

const SIZE kViewerSize[2] = {{480, 360}, {320, 240}};

// How long the end waits for the playback's graphs to go down; one that makes no progress is given up
// by the playback library sooner.
constexpr DWORD kGraphsDownAtEndMs = 15000;

// The screen and the reader's frames are sampled on a grid of this many points a side.
constexpr int kSampleGrid = 5;
// How long a read of the screen is waited for on the lane; a sampler that does not answer is not asked again.
constexpr DWORD kScreenSampleLimitMs = 2000;

// Set once a playback's renderer was seen to draw nothing (the display does not change during a run):
// later plays take the reader's frames at once instead of sampling the screen again.
bool g_rendererShowsNothing = false;

// The viewer's own answers from its lanes; lParam is the answer, which the window takes over.
constexpr UINT WM_VIEWER_FRAME_READ = WM_APP + 0x42;
constexpr UINT WM_VIEWER_SCREEN_COMPARED = WM_APP + 0x43;
constexpr UINT WM_VIEWER_PICTURE_DECODED = WM_APP + 0x44;
// The playback library's outcome of a play: wParam the outcome, lParam the play's number.
constexpr UINT WM_VIEWER_PLAY_OUTCOME = WM_APP + 0x45;

// The kinds of job on a lane: a waiting job is replaced by a newer one of its kind.
enum LaneJob { kReadFrame, kCompareScreen, kGrabStill, kDecodePicture };

struct FrameAnswer {
    UINT number = 0;
    HGLOBAL frame = nullptr;
    FrameAnswer() = default;
    FrameAnswer(const FrameAnswer&) = delete;
    FrameAnswer& operator=(const FrameAnswer&) = delete;
    ~FrameAnswer() {
        if (frame)
            ::GlobalFree(frame);
    }
};

struct ScreenAnswer {
    UINT play = 0;
    LONGLONG position = 0;
    viewer::RendererReport report;
};

struct PictureAnswer {
    UINT request = 0;
    std::unique_ptr<CImage> image; // null when the file could not be decoded
};

// Posts answer to window, which takes it over; it goes here when the window is gone.
template <class Answer>
void PostAnswer(HWND window, UINT message, std::unique_ptr<Answer> answer) {
    if (::PostMessageA(window, message, 0, reinterpret_cast<LPARAM>(answer.get())))
        answer.release();
}

// The reader's frame at index; null when it cannot be read.
HGLOBAL ReadFrame(IMediaFrameReader* reader, double index) {
    HGLOBAL frame = nullptr;
    if (FAILED(reader->ReadVideoFrame(-index, &frame))) {
        if (frame)
            ::GlobalFree(frame);
        return nullptr;
    }
    return frame;
}

// The reader's frame at index, at the sample grid's relative points; empty when it cannot be read.
std::vector<uint32_t> FrameSamplesAt(IMediaFrameReader* reader, double index) {
    std::vector<uint32_t> samples;
    HGLOBAL frame = ReadFrame(reader, index);
    if (!frame)
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
    ON_MESSAGE(WM_VIEWER_FRAME_READ, OnFrameRead)
    ON_MESSAGE(WM_VIEWER_SCREEN_COMPARED, OnScreenCompared)
    ON_MESSAGE(WM_VIEWER_PICTURE_DECODED, OnPictureDecoded)
    ON_MESSAGE(WM_VIEWER_PLAY_OUTCOME, OnPlayOutcome)
END_MESSAGE_MAP()

CPreviewWnd::CPreviewWnd() = default;

CPreviewWnd::~CPreviewWnd() {
    DropReader();
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

bool CPreviewWnd::DropShownImage(DWORD waitMs) {
    if (m_playing || m_starting)
        Stop();
    // A graph still going down when the process ends can take the process with it.
    lpWaitUntilDown(kGraphsDownAtEndMs);
    DropReader();
    m_screenSampler.reset();
    m_detectorLane.reset();
    DropImage();
    if (!m_pictureLane)
        return true;
    const bool idle = m_pictureLane->WaitUntilIdle(waitMs);
    m_pictureLane.reset();
    return idle;
}

void CPreviewWnd::DropReader() {
    m_reader.Reset();
    m_readerPath.Empty();
    m_frameLane.reset(); // its waiting reads go; a read inside the reader keeps its own reference
    m_frameFloor = m_frameAsked;
    m_screenCheckAsked = FALSE;
}

CWorkLane* CPreviewWnd::Lane(std::unique_ptr<CWorkLane>& lane, CWorkLane::Com com) {
    if (!lane)
        lane = std::make_unique<CWorkLane>(com);
    return lane.get();
}

void CPreviewWnd::TellParentStillShown() {
    if (m_parent && m_parent->GetSafeHwnd())
        m_parent->SendMessage(WM_ZENTRIK_VIEWER_STILL);
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
    if (m_playing || m_starting)
        Stop();
    DropImage();
    DropReader();
    m_detectorLane.reset();
    m_path.Empty();
}

CPreviewWnd::ShownKind CPreviewWnd::ShowFile(const char* path) {
    ++m_stillRequest; // a still or a picture still on its way is of an earlier file
    m_frameFloor = m_frameAsked;
    m_stillPending = FALSE;
    m_playWhenTried = FALSE; // a play asked for the earlier file is not for this one
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
        ShowPicture(path);
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

void CPreviewWnd::ShowPicture(const char* path) {
    // Nothing meanwhile: not the previous picture under this file's name. A picture can take long to
    // decode (a huge one, or one on a slow drive), so it is decoded on the lane.
    DropImage();
    m_image = std::make_unique<CImage>();
    CWorkLane* lane = Lane(m_pictureLane, CWorkLane::Com::kNone);
    const std::string file = path;
    const HWND window = m_hWnd;
    const UINT request = m_stillRequest;
    lane->Post(kDecodePicture, [file, window, request] {
        auto answer = std::make_unique<PictureAnswer>();
        answer->request = request;
        auto image = std::make_unique<CImage>();
        if (image->SetBitmap(file.c_str()))
            answer->image = std::move(image);
        PostAnswer(window, WM_VIEWER_PICTURE_DECODED, std::move(answer));
    });
}

LRESULT CPreviewWnd::OnPictureDecoded(WPARAM, LPARAM param) {
    std::unique_ptr<PictureAnswer> answer(reinterpret_cast<PictureAnswer*>(param));
    if (!answer || answer->request != m_stillRequest)
        return 0; // of a file no longer shown
    if (answer->image) {
        DropImage();
        m_image = std::move(answer->image);
        Invalidate();
    }
    TellParentStillShown();
    return 0;
}

void CPreviewWnd::ShowClipStill(const char* path) {
    // A clip may hang the platform's reader for good: it is opened on the thumbnail maker's threads
    // only. The same clip shown again keeps its picture until the new still comes; another shows the
    // placeholder meanwhile, and for good when it does not answer.
    if (m_readerPath.CompareNoCase(path) != 0 || !m_image) {
        DropReader();
        m_detectorLane.reset(); // a still of the earlier clip the detector may be stuck on
        m_framesPerSecond = 0;
        DropImage();
        m_image.reset(MakeClipPlaceholder());
    }
    m_heldPosition = 0;
    RequestClipStill(m_hWnd, path, m_stillRequest);
    m_stillPending = TRUE;
}

LRESULT CPreviewWnd::OnStillReady(WPARAM, LPARAM param) {
    std::unique_ptr<ThumbResult> result(reinterpret_cast<ThumbResult*>(param));
    if (!result || result->request != m_stillRequest)
        return 0; // of a file no longer shown
    m_stillPending = FALSE;
    if (IMediaFrameReader* reader = result->TakeReader()) {
        DropReader();
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
    TellParentStillShown();
    if (m_playWhenTried) {
        m_playWhenTried = FALSE;
        Play();
    }
    return 0;
}

double CPreviewWnd::FrameIndexAt(LONGLONG position) const {
    return static_cast<double>(static_cast<LONGLONG>(static_cast<double>(position) * m_framesPerSecond * 1e-7));
}

void CPreviewWnd::ShowFrameAt(LONGLONG position) {
    m_heldPosition = position;
    if (!m_reader)
        return;
    CWorkLane* lane = Lane(m_frameLane, CWorkLane::Com::kMultiThreaded); // the reader's apartment
    qel::ComPtr<IMediaFrameReader> reader = m_reader;
    const double index = FrameIndexAt(position);
    const HWND window = m_hWnd;
    const UINT number = ++m_frameAsked;
    lane->Post(kReadFrame, [reader, index, window, number] {
        auto answer = std::make_unique<FrameAnswer>();
        answer->number = number;
        answer->frame = ReadFrame(reader.Get(), index);
        PostAnswer(window, WM_VIEWER_FRAME_READ, std::move(answer));
    });
}

LRESULT CPreviewWnd::OnFrameRead(WPARAM, LPARAM param) {
    std::unique_ptr<FrameAnswer> answer(reinterpret_cast<FrameAnswer*>(param));
    if (!answer || !answer->frame || answer->number <= m_frameShown || answer->number <= m_frameFloor)
        return 0; // none, or older than what is shown or than the shown file
    m_frameShown = answer->number;
    HGLOBAL frame = answer->frame;
    answer->frame = nullptr;
    ShowFrameBlock(frame);
    return 0;
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
    if (m_playing || m_starting)
        Stop();
    m_rendererCheck = viewer::RendererCheck();
    m_ownPicture = FALSE;
    ++m_playNumber;
    m_screenCheckAsked = FALSE;
    if (m_path.IsEmpty())
        return;
    if (m_stillPending && !m_reader) {
        // The clip's first try is under way on the thumbnail maker's threads: its answer says whether
        // the platform's source answers at all, and the play follows it.
        m_playWhenTried = TRUE;
        return;
    }
    HWND owner = m_parent ? m_parent->GetSafeHwnd() : m_hWnd;
    if (ClipDidNotAnswer(m_path)) {
        // Its reader hung already: trying the platform's source again would only hang another thread.
        TellClipCannotPlay(owner, m_path, true);
        return;
    }
    DWORD play = 0;
    const HRESULT begun = lpPlayAsync(m_path, m_hWnd, m_heldPosition, 0, OnPlaybackProgress, WM_VIEWER_PLAY_OUTCOME, &play);
    if (FAILED(begun)) {
        Invalidate(); // the still, not a renderer's leftover
        TellClipCannotPlay(owner, m_path, begun == HRESULT_FROM_WIN32(ERROR_TIMEOUT));
        return;
    }
    if (begun == S_OK) {
        m_starting = TRUE;
        m_startingPlay = play;
    }
}

LRESULT CPreviewWnd::OnPlayOutcome(WPARAM outcome, LPARAM play) {
    if (!m_starting || static_cast<DWORD>(play) != m_startingPlay)
        return 0; // of a play stopped or replaced since
    m_starting = FALSE;
    const HRESULT failed = static_cast<HRESULT>(outcome);
    if (failed) {
        Invalidate(); // the still, not a renderer's leftover
        TellClipCannotPlay(m_parent ? m_parent->GetSafeHwnd() : m_hWnd, m_path,
                           failed == HRESULT_FROM_WIN32(ERROR_TIMEOUT));
        return 0;
    }
    m_playing = TRUE;
    if (g_rendererShowsNothing && m_reader) {
        m_ownPicture = TRUE; // the play keeps its video window hidden: the viewer draws the frames
        ShowFrameAt(m_heldPosition);
    }
    return 0;
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

void CPreviewWnd::OnPlaybackPosition(LONGLONG position) {
    if (!m_playing || m_stopping)
        return;
    if (m_ownPicture) {
        ShowFrameAt(position);
        return;
    }
    if (m_rendererCheck.Verdict() != viewer::RendererVerdict::kWatching || !m_reader || m_screenCheckAsked)
        return; // decided, or the comparison asked for is not back: this report is skipped
    const std::vector<POINT> points = SamplePoints();
    if (!RendererInView(points)) { // the screen says nothing of the renderer
        ApplyRendererReport(viewer::RendererReport(), position);
        return;
    }
    // The screen is read by the sampler's own process: a read from this process while the renderer
    // presents can leave the reader, the renderer and this thread waiting on the display for good under
    // Wine. Its answer and the frame (which may wait on the file) come on the reader's lane, the
    // verdict taken here when they are back.
    if (!m_screenSampler && !m_samplerTried) {
        m_samplerTried = TRUE; // once: a sampler that cannot start will not start at the next report
        m_screenSampler = CScreenSampler::Start();
    }
    if (!m_screenSampler)
        return; // no sampler: the screen says nothing, the renderer is left alone
    CWorkLane* lane = Lane(m_frameLane, CWorkLane::Com::kMultiThreaded);
    qel::ComPtr<IMediaFrameReader> reader = m_reader;
    std::shared_ptr<CScreenSampler> sampler = m_screenSampler;
    const double index = FrameIndexAt(position);
    const HWND window = m_hWnd;
    const UINT play = m_playNumber;
    m_screenCheckAsked = lane->Post(kCompareScreen, [reader, sampler, index, window, play, position, points] {
        auto answer = std::make_unique<ScreenAnswer>();
        answer->play = play;
        answer->position = position;
        answer->report.rendererInView = true;
        answer->report.screen = sampler->Sample(points, kScreenSampleLimitMs);
        answer->report.frame = FrameSamplesAt(reader.Get(), index);
        PostAnswer(window, WM_VIEWER_SCREEN_COMPARED, std::move(answer));
    });
}

LRESULT CPreviewWnd::OnScreenCompared(WPARAM, LPARAM param) {
    std::unique_ptr<ScreenAnswer> answer(reinterpret_cast<ScreenAnswer*>(param));
    if (!answer || answer->play != m_playNumber || !m_screenCheckAsked)
        return 0; // of an earlier play, or of a reader let go since
    m_screenCheckAsked = FALSE;
    if (m_playing && !m_stopping && !m_ownPicture && m_reader)
        ApplyRendererReport(answer->report, answer->position);
    return 0;
}

void CPreviewWnd::ApplyRendererReport(const viewer::RendererReport& report, LONGLONG position) {
    if (m_rendererCheck.Report(report) != viewer::RendererVerdict::kShowsNothing)
        return;
    // A renderer that connected and runs but draws nothing (the mixing renderer on some displays):
    // the reader's frames take its place, as a paused clip's frame already does. Its window is not
    // hidden under the running graph (under Wine that can hang the renderer and this thread on the
    // display for good): the play goes on from here in a new graph whose video window stays hidden,
    // this graph's window going only once it has stopped.
    g_rendererShowsNothing = true;
    lpShowVideo(FALSE);
    Stop();
    m_heldPosition = position;
    Play();
}

void CPreviewWnd::Stop() {
    m_playWhenTried = FALSE;
    if (m_stopping)
        return;
    m_starting = FALSE;
    ++m_playNumber;
    {
        FlagScope stopping(m_stopping);
        lpStop();
    }
    m_heldPosition = 0;
    m_playing = FALSE;
    m_ownPicture = FALSE;
}

void CPreviewWnd::StopAt(LONGLONG position) {
    m_playWhenTried = FALSE;
    if (m_stopping)
        return;
    m_starting = FALSE;
    ++m_playNumber;
    m_heldPosition = position;
    {
        FlagScope stopping(m_stopping);
        lpStop();
    }
    // The media detector opens the clip itself, on its lane: only a clip whose reader the thumbnail
    // maker opened in time is given to it, never one that hung the platform's source or was not tried
    // yet. Its still is numbered as a frame: the reader's frame asked for after it replaces it.
    if (m_reader && !ClipDidNotAnswer(m_path)) {
        CWorkLane* lane = Lane(m_detectorLane, CWorkLane::Com::kNone);
        const std::string file = static_cast<const char*>(m_path);
        const HWND window = m_hWnd;
        const UINT number = ++m_frameAsked;
        lane->Post(kGrabStill, [file, position, window, number] {
            auto answer = std::make_unique<FrameAnswer>();
            answer->number = number;
            answer->frame = GrabClipFrame(file.c_str(), position);
            PostAnswer(window, WM_VIEWER_FRAME_READ, std::move(answer));
        });
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
