#pragma once
// Where the editor puts a clip and its black fillers: clips alternate between the two tracks of an
// editing track (A/B rolling) so that neighbours can overlap under a transition.
namespace qeltrim {

enum class TrackSide { kA, kB };

// Even indices go on track A, odd ones on track B.
TrackSide TrackForClip(long index);

// The black fillers a clip gets: the first clip fades in from black on track B, the last fades out
// into black on the track the clip is not on, and a lone clip gets both fillers on track B.
struct FillerPlan {
    int count;               // 0, 1 or 2
    TrackSide tracks[2];     // the tracks of the fillers, in the order they are made
};
FillerPlan FillersForClip(long index, long count);

} // namespace qeltrim
