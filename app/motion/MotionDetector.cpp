// The motion detector's state and its comparison of one region.
#include "MotionDetector.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

namespace {

// Bytes a pixel of the frames MD_Detect compares.
constexpr int kPixelBytes = 3;
// A frame becomes the new reference after this many counts (899 comparisons).
constexpr int kReferenceRenewal = 900;
// More marked bytes than this in one channel of a region are motion.
constexpr int kMotionBytes = 100;
// Keeps n x n within a 32-bit count of cells.
constexpr int kMaxGrid = 4096;

struct DetectorState {
    std::unique_ptr<std::uint8_t[]> reference;
    std::unique_ptr<std::uint32_t[]> cellMask;
    int gridSize = 0;
    int width = 0;
    int height = 0;
    int rowLength = 0;
    int frameCounter = 0;
    int sensitivity = 100;
};

DetectorState& State() {
    static DetectorState state;
    return state;
}

std::size_t FrameBytes(int height, int rowLength) {
    return static_cast<std::size_t>(height) * static_cast<std::size_t>(rowLength);
}

// The difference image of one region as the noise filter reads it: zero outside the region, the
// absolute byte difference inside.
class RegionDifference {
public:
    RegionDifference(const std::uint8_t* frame, const std::uint8_t* reference, int width, int height, int rowLength,
                     int bytesPerPixel, const MD_Rect& rect)
        : frame_(frame), reference_(reference), width_(width), height_(height), rowLength_(rowLength),
          bpp_(bytesPerPixel), rect_(rect) {}

    int Columns() const { return rect_.right - rect_.left + 2; }
    std::size_t RowBytes() const { return static_cast<std::size_t>(Columns()) * static_cast<std::size_t>(bpp_); }

    // Image row y (clamped to the frame) over the columns left - 1 .. right, each clamped to the frame.
    void FillRow(int y, std::uint8_t* row) const {
        y = std::clamp(y, 0, height_ - 1);
        if (y < rect_.top || y >= rect_.bottom) {
            std::memset(row, 0, RowBytes());
            return;
        }
        for (int j = 0; j < Columns(); ++j) {
            const int x = std::clamp(rect_.left - 1 + j, 0, width_ - 1);
            std::uint8_t* out = row + static_cast<std::size_t>(j) * static_cast<std::size_t>(bpp_);
            if (x < rect_.left || x >= rect_.right) {
                std::memset(out, 0, static_cast<std::size_t>(bpp_));
                continue;
            }
            const std::size_t at = static_cast<std::size_t>(y) * static_cast<std::size_t>(rowLength_) +
                                   static_cast<std::size_t>(x) * static_cast<std::size_t>(bpp_);
            for (int k = 0; k < bpp_; ++k)
                out[k] = static_cast<std::uint8_t>(std::abs(frame_[at + k] - reference_[at + k]));
        }
    }

private:
    const std::uint8_t* frame_;
    const std::uint8_t* reference_;
    int width_, height_, rowLength_, bpp_;
    MD_Rect rect_;
};

bool AnyChannelMoved(const std::vector<int>& counts) {
    return std::any_of(counts.begin(), counts.end(), [](int count) { return count > kMotionBytes; });
}

// Without memory for the filter's rows the plain differences count.
bool RegionMovedUnfiltered(const RegionDifference& difference, const MD_Rect& rect, int bytesPerPixel) {
    std::unique_ptr<std::uint8_t[]> row(new (std::nothrow) std::uint8_t[difference.RowBytes()]);
    if (!row)
        return false;
    std::vector<int> counts(static_cast<std::size_t>(bytesPerPixel));
    const int columns = rect.right - rect.left;
    for (int y = rect.top; y < rect.bottom; ++y) {
        difference.FillRow(y, row.get());
        for (int i = bytesPerPixel; i < (columns + 1) * bytesPerPixel; ++i)
            if (row[i] != 0)
                ++counts[static_cast<std::size_t>(i % bytesPerPixel)];
    }
    return AnyChannelMoved(counts);
}

// Counts the marked bytes of each channel over the region: a byte is marked when the five taps
// (left above, left, itself, right, left below) of its channel sum to more than five thresholds.
// Three rolling rows of differences keep every tap unfiltered.
bool RegionMoved(const RegionDifference& difference, const MD_Rect& rect, int bytesPerPixel, int threshold) {
    const std::size_t rowBytes = difference.RowBytes();
    std::unique_ptr<std::uint8_t[]> rows(new (std::nothrow) std::uint8_t[rowBytes * 3]);
    if (!rows)
        return RegionMovedUnfiltered(difference, rect, bytesPerPixel);
    std::vector<int> counts(static_cast<std::size_t>(bytesPerPixel));
    std::uint8_t* above = rows.get();
    std::uint8_t* current = above + rowBytes;
    std::uint8_t* below = current + rowBytes;
    difference.FillRow(rect.top - 1, above);
    difference.FillRow(rect.top, current);
    const int limit = 5 * threshold;
    const std::size_t pixel = static_cast<std::size_t>(bytesPerPixel);
    const std::size_t columns = static_cast<std::size_t>(rect.right - rect.left);
    for (int y = rect.top; y < rect.bottom; ++y) {
        difference.FillRow(y + 1, below);
        for (std::size_t j = 1; j <= columns; ++j) {
            const std::size_t left = (j - 1) * pixel, here = left + pixel, right = here + pixel;
            for (std::size_t k = 0; k < pixel; ++k) {
                const int sum = above[left + k] + current[left + k] + current[here + k] + current[right + k] +
                                below[left + k];
                if (sum > limit)
                    ++counts[k];
            }
        }
        std::swap(above, current);
        std::swap(current, below);
    }
    return AnyChannelMoved(counts);
}

} // namespace

int MD_GetVersion(char* text) {
    if (text)
        std::memcpy(text, "1, 0, 0, 0", sizeof "1, 0, 0, 0");
    return kMdOk;
}

int MD_Init(int n, const std::uint32_t* cellMask, int width, int height, int rowLength, int sensitivity) {
    DetectorState& state = State();
    const bool sameSize = state.reference && width == state.width && height == state.height &&
                          rowLength == state.rowLength;
    if (!sameSize) {
        // A row must hold the three bytes of every pixel the comparison reads.
        if (width < 1 || height < 1 || rowLength < 1 ||
            static_cast<long long>(rowLength) < static_cast<long long>(width) * kPixelBytes)
            return kMdBadArguments;
        std::unique_ptr<std::uint8_t[]> buffer(new (std::nothrow) std::uint8_t[FrameBytes(height, rowLength)]);
        if (!buffer)
            return kMdBadArguments;
        state.reference = std::move(buffer);
        state.width = width;
        state.height = height;
        state.rowLength = rowLength;
    }
    if (!cellMask || n < 1 || n > kMaxGrid)
        return kMdBadArguments;
    const std::size_t cells = static_cast<std::size_t>(n) * static_cast<std::size_t>(n);
    if (!state.cellMask || state.gridSize != n) {
        std::unique_ptr<std::uint32_t[]> mask(new (std::nothrow) std::uint32_t[cells]);
        if (!mask)
            return kMdBadArguments;
        state.cellMask = std::move(mask);
        state.gridSize = n;
    }
    std::memcpy(state.cellMask.get(), cellMask, cells * sizeof(std::uint32_t));
    state.sensitivity = std::clamp(sensitivity, 0, 100);
    return kMdOk;
}

int MD_Detect(const std::uint8_t* frame, int width, int height, int rowLength, int* moved) {
    if (moved)
        *moved = 0;
    DetectorState& state = State();
    if (!state.reference || width != state.width || height != state.height || rowLength != state.rowLength)
        return kMdOtherSize;
    if (!frame)
        return kMdBadArguments;
    if (state.frameCounter == 0) {
        std::memcpy(state.reference.get(), frame, FrameBytes(height, rowLength));
        state.frameCounter = 1;
        return kMdOk;
    }
    if (++state.frameCounter >= kReferenceRenewal)
        state.frameCounter = 0;
    const int n = state.gridSize;
    for (int i = 0; i < n * n; ++i) {
        if (state.cellMask[i] == 0)
            continue;
        const int column = i % n, row = i / n;
        const MD_Rect cell = {column * width / n, row * height / n, (column + 1) * width / n,
                              (row + 1) * height / n};
        if (MD_CompareRegion(frame, state.reference.get(), width, height, rowLength, kPixelBytes, cell,
                             state.sensitivity)) {
            if (moved)
                *moved = 1;
            break;
        }
    }
    return kMdOk;
}

int MD_Reset() {
    State() = DetectorState();
    return kMdOk;
}

int MD_CompareRegion(const std::uint8_t* frame, const std::uint8_t* reference, int width, int height, int rowLength,
                     int bytesPerPixel, MD_Rect rect, int sensitivity) {
    if (!frame || !reference || width < 1 || height < 1 || bytesPerPixel < 1 ||
        static_cast<long long>(rowLength) < static_cast<long long>(width) * bytesPerPixel)
        return 0;
    MD_Rect r = {std::min(rect.left, rect.right), std::min(rect.top, rect.bottom), std::max(rect.left, rect.right),
                 std::max(rect.top, rect.bottom)};
    r.left = std::clamp(r.left, 0, width);
    r.right = std::clamp(r.right, 0, width);
    r.top = std::clamp(r.top, 0, height);
    r.bottom = std::clamp(r.bottom, 0, height);
    if (r.left >= r.right || r.top >= r.bottom)
        return 0;
    const int threshold = ((100 - std::clamp(sensitivity, 0, 100)) * 255) / 100;
    const RegionDifference difference(frame, reference, width, height, rowLength, bytesPerPixel, r);
    return RegionMoved(difference, r, bytesPerPixel, threshold) ? 1 : 0;
}

int MD_FrameRowLength(int width) { return (width * kPixelBytes + 3) / 4 * 4; }
