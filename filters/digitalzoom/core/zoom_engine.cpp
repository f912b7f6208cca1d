#include "core/zoom_engine.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "core/zoom_scaler.h"

namespace {

ZoomResult CopyFrame(const uint8_t* src, size_t srcLength, uint8_t* dst, size_t dstLength, size_t frameBytes) {
    const size_t bytes = std::min({srcLength, dstLength, frameBytes});
    if (src && dst && bytes > 0 && src != dst)
        std::memmove(dst, src, bytes);
    return ZoomResult::Copied;
}

bool Overlaps(const uint8_t* a, const uint8_t* b, size_t bytes) {
    return a < b + bytes && b < a + bytes;
}

}  // namespace

ZoomResult ApplyZoomPlan(const ZoomPlan& plan, const uint8_t* src, size_t srcLength, uint8_t* dst,
                         size_t dstLength) {
    if (!plan.formatKnown)
        return CopyFrame(src, srcLength, dst, dstLength, srcLength);
    const qel::imaging::PixelLayout& format = plan.format;
    const size_t frameBytes = static_cast<size_t>(format.stride) * static_cast<size_t>(std::abs(format.height));
    if (plan.mode != ZoomMode::Scale || !src || !dst || srcLength < frameBytes || dstLength < frameBytes ||
        Overlaps(src, dst, frameBytes))
        return CopyFrame(src, srcLength, dst, dstLength, frameBytes);
    if (!ScaleZoomFrame(src, dst, format, plan.columns, plan.rows))
        return CopyFrame(src, srcLength, dst, dstLength, frameBytes);
    return ZoomResult::Scaled;
}

ZoomEngine::ZoomEngine() {
    RebuildLocked();
}

void ZoomEngine::SetFormat(const qel::imaging::PixelLayout& format) {
    std::lock_guard<std::mutex> guard(lock_);
    format_ = format;
    formatKnown_ = true;
    RebuildLocked();
}

void ZoomEngine::ForgetFormat() {
    std::lock_guard<std::mutex> guard(lock_);
    format_ = qel::imaging::PixelLayout{};
    formatKnown_ = false;
    RebuildLocked();
}

void ZoomEngine::SetZoom(int percent) {
    std::lock_guard<std::mutex> guard(lock_);
    if (percent == percent_)
        return;
    percent_ = percent;
    RebuildLocked();
}

int ZoomEngine::Zoom() const {
    std::lock_guard<std::mutex> guard(lock_);
    return percent_;
}

std::shared_ptr<const ZoomPlan> ZoomEngine::Snapshot() const {
    std::lock_guard<std::mutex> guard(lock_);
    return plan_;
}

ZoomResult ZoomEngine::Process(const uint8_t* src, size_t srcLength, uint8_t* dst, size_t dstLength) const {
    const std::shared_ptr<const ZoomPlan> plan = Snapshot();
    return ApplyZoomPlan(*plan, src, srcLength, dst, dstLength);
}

void ZoomEngine::RebuildLocked() {
    // A frame still scaling with the old plan holds its own reference; the old plan goes with the last one.
    plan_ = std::make_shared<const ZoomPlan>(BuildZoomPlan(percent_, formatKnown_ ? &format_ : nullptr));
}
