// Clip and filler placement on the A/B tracks.
#include "TrimPlacement.h"

namespace qeltrim {

TrackSide TrackForClip(long index) {
    return index % 2 == 0 ? TrackSide::kA : TrackSide::kB;
}

FillerPlan FillersForClip(long index, long count) {
    FillerPlan plan{0, {TrackSide::kB, TrackSide::kB}};
    if (count == 1) {
        plan.count = 2;
    } else if (count > 1 && index == 0) {
        plan.count = 1;
    } else if (count > 1 && index == count - 1) {
        plan.count = 1;
        plan.tracks[0] = TrackForClip(index) == TrackSide::kA ? TrackSide::kB : TrackSide::kA;
    }
    return plan;
}

} // namespace qeltrim
