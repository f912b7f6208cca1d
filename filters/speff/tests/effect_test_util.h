#pragma once
// Running an effect over a test frame.
#include <gtest/gtest.h>

#include <memory>

#include "core/effect.h"
#include "core/effect_factory.h"
#include "test_frame.h"

// An effect of the index, initialised for the frame's format (as the filter does) and given strength.
inline std::unique_ptr<CEffect> MakeEffectFor(int index, const TestFrame& frame, int strength) {
    std::unique_ptr<CEffect> effect = CreateEffect(index);
    EXPECT_TRUE(effect->Init(frame.Width(), frame.Height(), 3, 8, frame.Stride(), kByteOrderBgr));
    effect->SetStrength(strength);
    return effect;
}

// Processes in into a fresh frame of the same layout; checks the result code and the guards.
inline TestFrame RunEffect(CEffect& effect, const TestFrame& in) {
    TestFrame out = in.Blank();
    EXPECT_EQ(1, effect.Process(in.Data(), out.Data()));
    EXPECT_TRUE(out.GuardsIntact()) << "effect " << effect.EffectIndex() << " wrote outside the pixels";
    EXPECT_TRUE(in.GuardsIntact());
    return out;
}

inline TestFrame RunEffect(int index, const TestFrame& in, int strength) {
    std::unique_ptr<CEffect> effect = MakeEffectFor(index, in, strength);
    return RunEffect(*effect, in);
}
