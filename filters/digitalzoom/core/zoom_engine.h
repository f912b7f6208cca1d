// The zoom engine: holds the frame format and the requested zoom, and the plan built from them.
// Setters run on the caller's thread and build a new plan at once; a frame takes one plan at its
// start and keeps it to its end, so a change made while a frame is scaled shows from the next frame
// and no frame ever mixes two geometries.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>

#include "core/zoom_plan.h"

enum class ZoomResult {
    Scaled,
    Copied,  // no zoom, a frame too small for the step, or buffers shorter than the format
};

// Scales one frame with a plan; the frame is copied (as many bytes as both buffers hold, at most
// one frame) when the plan does not scale or a buffer is shorter than the plan's format.
ZoomResult ApplyZoomPlan(const ZoomPlan& plan, const uint8_t* src, size_t srcLength, uint8_t* dst,
                         size_t dstLength);

class ZoomEngine {
public:
    ZoomEngine();

    void SetFormat(const qel::imaging::PixelLayout& format);
    void ForgetFormat();
    void SetZoom(int percent);
    int Zoom() const;

    // The plan a frame starting now uses; it stays valid and unchanged while the caller holds it.
    std::shared_ptr<const ZoomPlan> Snapshot() const;

    ZoomResult Process(const uint8_t* src, size_t srcLength, uint8_t* dst, size_t dstLength) const;

private:
    void RebuildLocked();

    mutable std::mutex lock_;  // guards the fields below; held only to build or take a plan
    int percent_ = 100;
    bool formatKnown_ = false;
    qel::imaging::PixelLayout format_;
    std::shared_ptr<const ZoomPlan> plan_;
};
