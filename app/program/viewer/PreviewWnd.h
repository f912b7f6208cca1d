#pragma once
// CPreviewWnd: the viewer of playback mode. It shows a picture, or a still of a clip read through the
// media frame reader, and plays a clip into itself through the playback library. Whatever a file does,
// the window's thread never waits on it here: pictures are decoded, frames, stills and the screen read
// on work lanes (WorkLane.h), each answer posted back and shown only when it is still of what is shown.
#include <afxwin.h>

#include <memory>
#include <vector>

#include <qeldshow/com_ptr.h>

#include "RendererCheck.h"
#include "ScreenSampler.h"
#include "WorkLane.h"

class CImage;
struct IMediaFrameReader;

// Sent to the viewer's parent when a clip's still (or its placeholder) has replaced the shown image.
constexpr UINT WM_ZENTRIK_VIEWER_STILL = WM_APP + 0x41;

class CPreviewWnd : public CWnd {
public:
    enum ShownKind { kShownNothing, kShownPicture, kShownClip };

    CPreviewWnd();
    ~CPreviewWnd() override;

    // A child of parent at the skin's [PreviewArea] place, the size mode's picture size; hidden.
    BOOL Create(CWnd* parent, int sizeMode);
    // Back to the size mode's place and size.
    void Place(int sizeMode);
    // A picture, or a clip's first frame; what it was, so that the caller can show the playback controls.
    // No path (or an empty one) stops a running playback and lets go of the shown file: the image,
    // the reader and every handle on the file are released, so that it can be deleted or replaced
    // (the playback's graph may still be going down behind the window for a moment: lpFileHeld).
    // A picture is shown once it is decoded (the parent is sent WM_ZENTRIK_VIEWER_STILL then).
    ShownKind ShowFile(const char* path);
    // A clip whose first still is still on its way plays once it came: until then it was not tried,
    // and trying it here could hold the window for as long as the platform's source hangs. The play
    // starts behind the window: its outcome comes back as a message, a refusal is said then.
    void Play();
    void Stop();
    // Stops at position (100-ns units), showing the media detector's still of it when there is one.
    void StopAt(LONGLONG position);
    // The reader's frame at position (100-ns units) replaces the shown image once it is read.
    void ShowFrameAt(LONGLONG position);
    void GetImageSize(int* width, int* height) const;
    // At the end, before GDI+ goes: the playback stops and its graphs go down, the shown image and the
    // reader are let go, and a picture's decode under way is waited for at most waitMs. Whether GDI+
    // may go (no decode is inside it).
    bool DropShownImage(DWORD waitMs = 2000);
    // Playing, or starting to.
    BOOL IsPlaying() const { return m_playing || m_starting; }
    // A position report of the playback (100-ns units). Where the platform's renderer shows nothing
    // (the screen under the viewer stays the same while the clip plays), the play goes on in a graph
    // whose video window stays hidden and the viewer draws the reader's frame of each report itself.
    void OnPlaybackPosition(LONGLONG position);

protected:
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    afx_msg void OnPaint();
    afx_msg LRESULT OnStillReady(WPARAM, LPARAM result);
    afx_msg LRESULT OnFrameRead(WPARAM, LPARAM answer);
    afx_msg LRESULT OnScreenCompared(WPARAM, LPARAM answer);
    afx_msg LRESULT OnPictureDecoded(WPARAM, LPARAM answer);
    afx_msg LRESULT OnPlayOutcome(WPARAM outcome, LPARAM play);
    DECLARE_MESSAGE_MAP()

    void ShowPicture(const char* path);
    // The reader goes with its lane; answers it still owes are dropped.
    void DropReader();
    CWorkLane* Lane(std::unique_ptr<CWorkLane>& lane, CWorkLane::Com com);
    void ApplyRendererReport(const viewer::RendererReport& report, LONGLONG position);
    void TellParentStillShown();

    // Shows the placeholder (or keeps the same clip's picture) and asks the thumbnail maker for the
    // clip's first frame and an open reader.
    void ShowClipStill(const char* path);
    // The frame block's picture replaces the shown image; the block is kept or freed.
    void ShowFrameBlock(HGLOBAL frame);
    // The shown image's new picture came from frame (null: not from a frame block): the block the
    // image drew from until now is freed, the new one kept for as long as the image uses its bits.
    void KeepFrameBlock(HGLOBAL frame);
    void DropImage();
    void LetGoOfShownFile();
    // The renderer check's sample points on the screen, row by row.
    std::vector<POINT> SamplePoints() const;
    // Whether a window of the renderer (a child of the viewer) is what the screen shows at every point:
    // the viewer shown, its window neither minimised nor covered by another window there.
    bool RendererInView(const std::vector<POINT>& points) const;
    double FrameIndexAt(LONGLONG position) const;

    double m_framesPerSecond = 0;
    BOOL m_playing = FALSE;
    BOOL m_starting = FALSE; // the playback library builds and starts the play asked for
    DWORD m_startingPlay = 0; // its number, which its outcome carries
    // Set while the playback library stops: its last report may come back here through the dialog.
    BOOL m_stopping = FALSE;
    std::unique_ptr<CImage> m_image;
    HGLOBAL m_frame = nullptr; // locked while the image draws from it
    CString m_path;
    CString m_readerPath; // the file the open reader reads, or whose still is shown
    UINT m_stillRequest = 0; // the number of the latest still asked for; earlier answers are dropped
    LONGLONG m_heldPosition = 0;
    CWnd* m_parent = nullptr;
    qel::ComPtr<IMediaFrameReader> m_reader;
    // The renderer check of the running playback, and whether the viewer draws the frames itself.
    viewer::RendererCheck m_rendererCheck;
    BOOL m_ownPicture = FALSE;
    // The lanes: the reader's calls and the screen's reads (its lane goes with the reader), the media
    // detector (its lane goes with the clip) and the pictures' decodes.
    std::unique_ptr<CWorkLane> m_frameLane;
    std::unique_ptr<CWorkLane> m_detectorLane;
    std::unique_ptr<CWorkLane> m_pictureLane;
    // Frames (the reader's and the detector's) are numbered as asked for: an answer is shown when it is
    // newer than the one shown and than the last change of the reader or the file.
    UINT m_frameAsked = 0;
    UINT m_frameShown = 0;
    UINT m_frameFloor = 0;
    // Reads the screen for the renderer check, from a process of its own; started at the first check.
    std::shared_ptr<CScreenSampler> m_screenSampler;
    BOOL m_samplerTried = FALSE;
    UINT m_playNumber = 0;        // a new number at each play and stop: a screen check of an earlier one is dropped
    BOOL m_screenCheckAsked = FALSE;
    BOOL m_stillPending = FALSE;  // the shown clip's still (its first try) is on its way
    BOOL m_playWhenTried = FALSE; // Play was asked for meanwhile
};
