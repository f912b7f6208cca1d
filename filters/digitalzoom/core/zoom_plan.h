// The geometry of one zoom step over one frame format, with the per-column and per-row tables the
// scaler reads. A plan is built when the format or the step changes, never per frame, and is
// immutable afterwards, so a frame scaled with it sees one geometry from its first row to its last.
#pragma once

#include <cstdint>
#include <vector>

#include "qelimaging/pixel_layout.h"

// One output column (or row): the two source pixels it interpolates and their weights. A tap
// whose far weight is 0 names its near pixel twice, so no pixel outside the frame is ever read.
struct ZoomTap {
    int32_t nearIndex;
    int32_t farIndex;
    int32_t nearWeight;
    int32_t farWeight;
};

// Geometry along one axis (columns or rows), in buffer columns and rows.
struct ZoomAxis {
    int blocks = 0;          // whole blocks laid out from the first output column (row)
    int covered = 0;         // output columns (rows) covered by whole blocks
    int origin = 0;          // first source column (row) of the zoomed region
    int sourcePerBlock = 0;  // source pixels a block steps by
    int outputPerBlock = 0;  // output pixels a block fills
    int weightSum = 0;       // the 1-D weights of every tap add up to this
    int firstSource = 0;     // lowest and highest source pixel any tap reads
    int lastSource = -1;
    std::vector<ZoomTap> taps;  // one per output column (row)
};

enum class ZoomMode {
    Copy,      // no zoom (100 or a value that is none of the steps): the frame is copied
    Scale,     // the centre is enlarged to the full frame
    TooSmall,  // a zoom step the frame is too small for: the frame is copied unchanged
};

struct ZoomPlan {
    int percent = 100;  // as requested
    bool formatKnown = false;
    qel::imaging::PixelLayout format;
    ZoomMode mode = ZoomMode::Copy;
    ZoomAxis columns;
    ZoomAxis rows;

    int Divisor() const { return columns.weightSum * rows.weightSum; }
    int SourceWidth() const { return columns.blocks * columns.sourcePerBlock; }
    int SourceHeight() const { return rows.blocks * rows.sourcePerBlock; }
};

// True for the percents that select a scaler: 150, 200, 250 and 300.
bool IsZoomScalePercent(int percent);

// Builds the plan of a zoom step over a format; without a format the plan copies.
ZoomPlan BuildZoomPlan(int percent, const qel::imaging::PixelLayout* format);
