// The photo frame overlay: its path, its load states, and the swap of a newly loaded frame into
// the blend. The setters (path, video format) run on the caller's thread and decode and rescale
// there; the blend runs on the streaming thread. A loaded frame waits in a pending slot until the
// next blend swaps it in; the blend alone owns the frame it reads, so no setter ever frees or
// resizes the buffer of a running blend.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "core/overlay_image.h"
#include "qelimaging/pixel_layout.h"

// Turns a frame-image file into 32-bit BGRA pixels (the plug-in decodes with the platform's codecs).
class OverlayDecoder {
public:
    virtual ~OverlayDecoder() = default;
    virtual bool Decode(const std::wstring& path, OverlayImage& image) = 0;
};

enum class OverlayLoadState {
    Idle = 0,        // nothing to do
    LoadWanted = 1,  // a path or a format arrived; the frame must be (re)loaded
    Loading = 2,
    Ready = 3,       // a load finished (a rescaled frame, or none after a failure) and waits for the next blend
};

class FrameOverlayCore {
public:
    explicit FrameOverlayCore(OverlayDecoder& decoder);

    // Accepts paths of 1..259 characters (an unchanged path changes nothing) and loads at once when
    // the video format is known. An empty or too long path drops the frame and is refused; so is a
    // null path, which changes nothing.
    bool SetPath(const wchar_t* path);
    std::wstring Path() const;  // empty while no path is set

    // The connected video format. A frame already decoded is rescaled to it before it is blended again.
    void Init(const qel::imaging::PixelLayout& format);
    // Forgets the format and drops the frame (the filter's buffers are released).
    void Forget();

    OverlayLoadState State() const;

    // One frame: dst receives src with the frame laid over it (true), or src unchanged (false) when
    // there is no frame, a load is under way, or the buffers (length bytes each) are shorter than
    // the format. Nothing is written when a buffer is null.
    bool Blend(const uint8_t* src, uint8_t* dst, size_t length);

private:
    bool Load();  // with controlLock_ held
    void PublishLocked(std::unique_ptr<OverlayImage> frame);

    OverlayDecoder& decoder_;

    // Serialises the setters; guards the decoded picture, which only they touch.
    std::mutex controlLock_;
    std::unique_ptr<OverlayImage> decoded_;
    std::wstring decodedPath_;

    // Guards what setters and the blend share; held only briefly, never while decoding or blending.
    mutable std::mutex sharedLock_;
    qel::imaging::PixelLayout format_;
    bool initialised_ = false;
    std::wstring path_;
    bool pathSet_ = false;
    OverlayLoadState state_ = OverlayLoadState::Idle;
    std::unique_ptr<OverlayImage> pending_;
    bool swapPending_ = false;

    // Read and replaced by the blend only.
    std::unique_ptr<OverlayImage> live_;
};
