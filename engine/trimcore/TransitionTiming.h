#pragma once
// Timing of transitions and fades on the trim timeline, in 100-ns units. A transition never lasts more
// than half of a clip it touches, so that a clip is never covered by two transitions at once.
#include <cstdint>

namespace qeltrim {

// Black added after the last clip so that its fade-out ends on a black frame (0.05 s).
constexpr std::int64_t kTailBlack = 500000;

// Half of a clip's length, truncated toward zero.
std::int64_t HalfOf(std::int64_t length);

// The fade from black into the first clip: [start, start + duration) on the node and its filler.
struct FadeIn {
    bool cut;                 // negative type: the transition leaves the timeline
    std::int64_t duration;    // min(transition, half the clip)
};
FadeIn PlanFirstClip(int type, std::int64_t transDuration, std::int64_t nextLength);

// A transition between two clips. `end` is the end of the timeline so far; the next clip overlaps it
// by the duration (none for a cut) and only its length clipOut - clipIn is used.
struct Overlap {
    bool cut;
    std::int64_t duration;    // 0 for a cut
    std::int64_t start;       // the next clip's timeline start, also the transition's start
    std::int64_t end;         // the new end of the timeline
};
Overlap PlanBetweenClips(int type, std::int64_t transDuration, std::int64_t previousLength,
                         std::int64_t nextLength, std::int64_t end, std::int64_t clipIn, std::int64_t clipOut);

// The fade from the last clip into black. `start` 0 means a lone clip, whose first filler already
// serves the fade-in, so the fade-out uses its second filler.
struct FadeOut {
    bool cut;
    std::int64_t duration;
    std::int64_t transStart, transStop;       // the transition node
    bool useSecondFiller;
    std::int64_t fillerMediaStop;             // filler media times are 0..this
    std::int64_t fillerStart, fillerStop;     // filler timeline times
    std::int64_t end;                         // the new end of the timeline
};
FadeOut PlanLastClip(int type, std::int64_t transDuration, std::int64_t previousLength, std::int64_t start,
                     std::int64_t end);

// The audio volume envelope of an effect kind: 1 fades out, 2 fades in, over two seconds.
constexpr std::int64_t kAudioFadeLength = 20000000;
struct EnvelopePoint {
    double level;
    std::int64_t time;
    int interpolation;   // 1: linear from the previous point
};
struct AudioEnvelope {
    int count;           // 0 for a kind without an envelope
    EnvelopePoint points[2];
};
AudioEnvelope AudioEnvelopeFor(int kind);

} // namespace qeltrim
