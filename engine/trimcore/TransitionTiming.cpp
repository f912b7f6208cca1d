// Transition and fade timing of the trim timeline.
#include "TransitionTiming.h"

#include <algorithm>

namespace qeltrim {

std::int64_t HalfOf(std::int64_t length) {
    return length / 2;
}

FadeIn PlanFirstClip(int type, std::int64_t transDuration, std::int64_t nextLength) {
    if (type < 0)
        return {true, 0};
    return {false, std::min(transDuration, HalfOf(nextLength))};
}

Overlap PlanBetweenClips(int type, std::int64_t transDuration, std::int64_t previousLength,
                         std::int64_t nextLength, std::int64_t end, std::int64_t clipIn, std::int64_t clipOut) {
    Overlap plan{};
    plan.cut = type < 0;
    plan.duration = plan.cut ? 0 : std::min(transDuration, HalfOf(std::min(previousLength, nextLength)));
    plan.start = end - plan.duration;
    plan.end = plan.start - clipIn + clipOut;
    return plan;
}

FadeOut PlanLastClip(int type, std::int64_t transDuration, std::int64_t previousLength, std::int64_t start,
                     std::int64_t end) {
    FadeOut plan{};
    plan.end = end;
    if (type < 0) {
        plan.cut = true;
        return plan;
    }
    plan.duration = std::min(transDuration, HalfOf(previousLength));
    plan.transStart = end - plan.duration;
    plan.transStop = end;
    plan.useSecondFiller = start == 0;
    plan.fillerMediaStop = plan.duration + kTailBlack;
    plan.fillerStart = end - plan.duration;
    plan.fillerStop = end + kTailBlack;
    plan.end = end + kTailBlack;
    return plan;
}

AudioEnvelope AudioEnvelopeFor(int kind) {
    if (kind == 1)
        return {2, {{1.0, 0, 1}, {0.0, kAudioFadeLength, 1}}};
    if (kind == 2)
        return {2, {{0.0, 0, 1}, {1.0, kAudioFadeLength, 1}}};
    return {0, {}};
}

} // namespace qeltrim
