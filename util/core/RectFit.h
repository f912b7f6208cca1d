#pragma once
// Rectangle placement and proportional fitting on plain 32-bit rectangles. Platform-neutral; the
// exported ql_AlignRect, ql_GetCopyRect, ql_ShrinkPropRect and ql_CropPropRect wrap these.
// Sums and products are worked out in 64 bits and clamped to the int range, so extreme inputs give
// clamped rectangles instead of wrapped ones.
#include <cstdint>

namespace qel::geometry {

struct Rect32 {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

struct Point32 {
    int32_t x = 0;
    int32_t y = 0;
};

// Places `placement` in `container`, of which only right and bottom count: a negative left or top
// counts back from the container's right or bottom; a right or bottom below 1 does the same for the
// far edge, else the placement keeps its width or height.
Rect32 AlignRect(const Rect32& container, const Rect32& placement);

// Clips a copy of `source` placed at `position` into `destination` (whose size only counts): source
// becomes the part that is copied, destination where it lands (right and bottom inclusive, one pixel
// short of an exclusive rectangle). `clip` limits the source first.
void ClipCopyRect(Rect32* source, Rect32* destination, Point32 position, const Rect32& clip);

// Fits the proportions of `source` into `target`. With `enlarge`, a smaller source grows to fill; the
// target moves by the centring offsets only when `centre`. Returns the scale, or 0 (and changes
// nothing) when either size is not positive.
double ShrinkPropRect(const Rect32& source, Rect32* target, bool centre, bool enlarge, Point32* offset);

// The cropping variant: a source at least as large as the target keeps the target size unless `fit`;
// a smaller one is scaled by the larger of its ratios. Returns that ratio, or 0 as above.
double CropPropRect(Rect32* target, const Rect32& source, bool centre, bool fit, Point32* offset);

} // namespace qel::geometry
