#pragma once
// Whether a recording holds a picture, read from the file itself: a stopped recording without one
// is removed, and nothing else may decide that (a camera's frame counters start afresh when a
// graph pauses, so they can say 0 of a recording full of frames).
// Platform-neutral: reads through RecoveryFile only.
#include "avi_recovery.h"

namespace avirecovery {

enum class RecordedVideo {
    Frames,  // at least one video chunk in the recording's data (an empty one too: the file is kept)
    None,    // an AVI file whose data, read to its end, holds no video chunk
    Unknown, // not an AVI file, or data it cannot read through (zeros, a damaged chunk): keep it
};

RecordedVideo FindRecordedVideo(RecoveryFile& file);

} // namespace avirecovery
