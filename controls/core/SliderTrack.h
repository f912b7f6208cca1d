#pragma once
// Where a skinned slider's thumb sits for a value and which value a thumb place means: the track is
// the span its centre moves along, split into (max - min) equal steps. Platform-neutral so that it
// runs natively under the sanitizers. Every division is guarded: a track of zero width or a range not
// yet set leaves the thumb where it is instead of dividing by zero. The numbers come from skin files,
// so sums and products are worked out in 64 bits and results clamped to the int range: an absurd
// skin gives a pinned thumb, never a wrapped one.
namespace qel_controls {

struct SliderTrack {
    int left = 0;       // the thumb centre's leftmost place
    int right = 0;      // and its rightmost
    int min = 0;
    int span = 0;       // max - min; 0 until a range is set
    float unit = 0.0f;  // pixels per value step
    int halfThumb = 0;  // thumb frame width / 2
    long long Width() const { return static_cast<long long>(right) - left; }
};

// Range as the slider keeps it: an empty or reversed range becomes min..min+1 (INT_MAX-1..INT_MAX at
// the top of the int range), and a range wider than an int can count is narrowed to min..min+INT_MAX,
// so that max - min always fits the span.
struct SliderRange {
    int min;
    int max;
    int Span() const { return max - min; }
};
SliderRange NormalRange(int min, int max);
float UnitOf(long long trackWidth, int span); // 0 when either is 0 or less

// Thumb centre for a value (a value outside the range counts as its nearer end); false (nothing to
// move) while no range is set.
bool CentreForPos(const SliderTrack& track, int pos, int* centre);
// Value for a thumb centre: the left end gives min, past the right end max, between them the nearest step.
int PosForCentre(const SliderTrack& track, int centre);
// Thumb left edge snapped to the value step nearest the pointer's x.
int SnappedThumbLeft(const SliderTrack& track, int pointX);

// One mouse move of the thumb. thumbLeft/thumbWidth give the thumb now, lastX the point of the last
// accepted move. Returns false when nothing moves (the candidate lies outside the track and was not
// inside before, or it lands where the thumb already is); else newLeft is the thumb's new left edge.
bool AdjustThumb(const SliderTrack& track, int thumbLeft, int thumbWidth, int lastX, int pointX, int* newLeft);

// Which way a click on the track beside the thumb pages: +1 right of it, -1 left, 0 on it.
int PageDirection(int thumbLeft, int thumbRight, int pointX);
// The two-button slider's page click: pos moved by step in that direction, clamped to [min, max].
int PagedPos(int pos, int direction, int step, int min, int max);

} // namespace qel_controls
