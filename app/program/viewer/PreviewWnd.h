#pragma once
// CPreviewWnd: the viewer of playback mode. It shows a picture, or a still of a clip read through the
// media frame reader, and plays a clip into itself through the playback library.
#include <afxwin.h>

#include <memory>

#include <qeldshow/com_ptr.h>

class CImage;
struct IMediaFrameReader;

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
    ShownKind ShowFile(const char* path);
    void Play();
    void Stop();
    // Stops at position (100-ns units), showing the media detector's still of it when there is one.
    void StopAt(LONGLONG position);
    // The reader's frame at position (100-ns units) replaces the shown image.
    void ShowFrameAt(LONGLONG position);
    // 0 when the reader opened path; nonzero when it cannot be made or cannot open the file.
    HRESULT OpenReader(const char* path);
    void GetImageSize(int* width, int* height) const;
    BOOL IsPlaying() const { return m_playing; }

protected:
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()

    // The shown image's new picture came from frame (null: not from a frame block): the block the
    // image drew from until now is freed, the new one kept for as long as the image uses its bits.
    void KeepFrameBlock(HGLOBAL frame);
    void DropImage();

    double m_framesPerSecond = 0;
    BOOL m_playing = FALSE;
    // Set while the playback library stops: its last report may come back here through the dialog.
    BOOL m_stopping = FALSE;
    std::unique_ptr<CImage> m_image;
    HGLOBAL m_frame = nullptr; // locked while the image draws from it
    CString m_path;
    LONGLONG m_heldPosition = 0;
    CWnd* m_parent = nullptr;
    qel::ComPtr<IMediaFrameReader> m_reader;
};
