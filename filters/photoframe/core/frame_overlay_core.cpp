#include "core/frame_overlay_core.h"

#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <utility>

#include "core/overlay_blend.h"
#include "core/overlay_path.h"

namespace {

bool IsBlendableFormat(const qel::imaging::PixelLayout& format) {
    return qel::imaging::IsValidLayout(format) && format.channels == 3 && format.width > 0 &&
           format.height != 0;
}

void CopyFrame(const uint8_t* src, uint8_t* dst, size_t length) {
    if (src != dst && length > 0)
        std::memmove(dst, src, length);
}

}  // namespace

FrameOverlayCore::FrameOverlayCore(OverlayDecoder& decoder) : decoder_(decoder) {}

bool FrameOverlayCore::SetPath(const wchar_t* path) {
    if (!path)
        return false;
    std::lock_guard<std::mutex> control(controlLock_);
    const size_t length = std::wcslen(path);
    if (!IsFramePathLengthAccepted(length)) {
        decoded_.reset();
        decodedPath_.clear();
        std::lock_guard<std::mutex> shared(sharedLock_);
        pathSet_ = false;
        path_.clear();
        state_ = OverlayLoadState::Idle;
        // The blend drops its frame at the next swap; it may be reading it right now.
        pending_.reset();
        swapPending_ = true;
        return false;
    }

    bool initialised;
    {
        std::lock_guard<std::mutex> shared(sharedLock_);
        if (pathSet_ && path_ == path)
            return true;
        path_ = path;
        pathSet_ = true;
        state_ = OverlayLoadState::LoadWanted;
        initialised = initialised_;
    }
    if (initialised)
        Load();
    return true;
}

std::wstring FrameOverlayCore::Path() const {
    std::lock_guard<std::mutex> shared(sharedLock_);
    return pathSet_ ? path_ : std::wstring();
}

void FrameOverlayCore::Init(const qel::imaging::PixelLayout& format) {
    std::lock_guard<std::mutex> control(controlLock_);
    bool pathSet;
    {
        std::lock_guard<std::mutex> shared(sharedLock_);
        format_ = format;
        initialised_ = true;
        state_ = OverlayLoadState::LoadWanted;
        pathSet = pathSet_;
    }
    if (pathSet)
        Load();
}

void FrameOverlayCore::Forget() {
    std::lock_guard<std::mutex> control(controlLock_);
    decoded_.reset();
    decodedPath_.clear();
    std::lock_guard<std::mutex> shared(sharedLock_);
    format_ = qel::imaging::PixelLayout{};
    initialised_ = false;
    state_ = OverlayLoadState::Idle;
    pending_.reset();
    swapPending_ = true;
}

OverlayLoadState FrameOverlayCore::State() const {
    std::lock_guard<std::mutex> shared(sharedLock_);
    return state_;
}

bool FrameOverlayCore::Load() {
    std::wstring path;
    qel::imaging::PixelLayout format;
    {
        std::lock_guard<std::mutex> shared(sharedLock_);
        if (!pathSet_ || !initialised_)
            return false;
        state_ = OverlayLoadState::Loading;
        path = path_;
        format = format_;
    }

    // The decoded picture is kept, so a new video format only needs a rescale.
    if (!decoded_ || decodedPath_ != path) {
        decoded_.reset();
        decodedPath_.clear();
        auto decoded = std::make_unique<OverlayImage>();
        if (!HasFrameImageExtension(path) || !decoder_.Decode(path, *decoded) || decoded->empty()) {
            std::lock_guard<std::mutex> shared(sharedLock_);
            PublishLocked(nullptr);
            return false;
        }
        decoded_ = std::move(decoded);
        decodedPath_ = path;
    }

    auto rescaled = std::make_unique<OverlayImage>();
    const bool ok = RescaleOverlay(*decoded_, format.width, qel::imaging::RowCount(format), *rescaled);
    std::lock_guard<std::mutex> shared(sharedLock_);
    PublishLocked(ok ? std::move(rescaled) : nullptr);
    return ok;
}

void FrameOverlayCore::PublishLocked(std::unique_ptr<OverlayImage> frame) {
    // A frame published earlier and not yet swapped in was never read by a blend: replacing it is safe.
    pending_ = std::move(frame);
    swapPending_ = true;
    state_ = OverlayLoadState::Ready;
}

bool FrameOverlayCore::Blend(const uint8_t* src, uint8_t* dst, size_t length) {
    if (!src || !dst)
        return false;
    std::unique_ptr<OverlayImage> retired;
    qel::imaging::PixelLayout format;
    bool drawable;
    {
        std::lock_guard<std::mutex> shared(sharedLock_);
        if (swapPending_) {
            retired = std::move(live_);
            live_ = std::move(pending_);
            swapPending_ = false;
            if (state_ == OverlayLoadState::Ready)
                state_ = OverlayLoadState::Idle;
        }
        format = format_;
        drawable = initialised_ && pathSet_ && state_ != OverlayLoadState::LoadWanted &&
                   state_ != OverlayLoadState::Loading;
    }
    retired.reset();  // the frame the previous blends read, freed by the thread that read it

    const size_t frameBytes = qel::imaging::ImageBytes(format);
    if (!drawable || !live_ || !IsBlendableFormat(format) || length < frameBytes ||
        !BlendOverlayFrame(src, dst, format, *live_)) {
        CopyFrame(src, dst, length);
        return false;
    }
    CopyFrame(src + frameBytes, dst + frameBytes, length - frameBytes);
    return true;
}
