// Switching effects, strengths and formats while frames stream.
#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "effect_test_util.h"
#include "core/effect_slot.h"
#include "core/mosaic_effect.h"

namespace {

TestFrame Process(CEffectSlot& slot, const TestFrame& in, bool expectProcessed = true) {
    TestFrame out = in.Blank();
    EXPECT_EQ(expectProcessed, slot.ProcessFrame(in.Data(), in.Bytes(), out.Data(), out.Bytes()));
    EXPECT_TRUE(out.GuardsIntact());
    return out;
}

bool SetFormatOf(CEffectSlot& slot, const TestFrame& frame) {
    return slot.SetFormat(frame.Width(), frame.Height(), 3, frame.Stride());
}

TEST(EffectSlot, StartsNeutralAtStrength50AndCopiesBeforeAFormatIsKnown) {
    CEffectSlot slot;
    EXPECT_EQ(-1, slot.EffectIndex());
    EXPECT_EQ(50, slot.Strength());
    TestFrame frame(33, 19);
    frame.FillNoise(1);
    EXPECT_TRUE(slot.SetEffect(2));
    EXPECT_TRUE(Process(slot, frame, false).SamePicture(frame));
}

TEST(EffectSlot, AppliesTheChosenEffectOnceConnected) {
    CEffectSlot slot;
    TestFrame frame(33, 19);
    frame.FillNoise(2);
    ASSERT_TRUE(SetFormatOf(slot, frame));
    ASSERT_TRUE(slot.SetEffect(2));
    EXPECT_TRUE(Process(slot, frame).SamePicture(RunEffect(2, frame, 50)));
}

TEST(EffectSlot, UnknownIndicesGiveTheNeutralEffectButAreReported) {
    CEffectSlot slot;
    TestFrame frame(33, 19);
    frame.FillNoise(3);
    ASSERT_TRUE(SetFormatOf(slot, frame));
    for (int index : {9, -5}) {
        ASSERT_TRUE(slot.SetEffect(index));
        EXPECT_EQ(index, slot.EffectIndex());
        EXPECT_TRUE(Process(slot, frame).SamePicture(frame));
    }
}

TEST(EffectSlot, SameIndexOrStrengthBuildsNothing) {
    int built = 0;
    CEffectSlot slot([&built](int index) {
        ++built;
        return CreateEffect(index);
    });
    const int afterConstruction = built;
    EXPECT_TRUE(slot.SetEffect(-1));
    EXPECT_TRUE(slot.SetStrength(50));
    EXPECT_EQ(afterConstruction, built);
    EXPECT_TRUE(slot.SetEffect(3));
    EXPECT_TRUE(slot.SetEffect(3));
    EXPECT_EQ(afterConstruction + 1, built);
}

TEST(EffectSlot, StrengthReachesAPendingEffect) {
    CEffectSlot slot;
    TestFrame frame(33, 19);
    frame.FillNoise(4);
    ASSERT_TRUE(SetFormatOf(slot, frame));
    ASSERT_TRUE(slot.SetEffect(6));
    ASSERT_TRUE(slot.SetStrength(4));  // before any frame took the mosaic
    EXPECT_TRUE(Process(slot, frame).SamePicture(RunEffect(6, frame, 4)));
    ASSERT_TRUE(slot.SetStrength(9));  // and the live one
    EXPECT_TRUE(Process(slot, frame).SamePicture(RunEffect(6, frame, 9)));
}

TEST(EffectSlot, ReconnectKeepsTheChosenEffectForTheNewFormat) {
    CEffectSlot slot;
    TestFrame small(33, 19);
    small.FillNoise(5);
    ASSERT_TRUE(SetFormatOf(slot, small));
    ASSERT_TRUE(slot.SetEffect(7));
    ASSERT_TRUE(slot.SetStrength(70));
    EXPECT_TRUE(Process(slot, small).SamePicture(RunEffect(7, small, 70)));
    TestFrame large(64, -48);  // a new connection, top-down this time
    large.FillNoise(6);
    ASSERT_TRUE(SetFormatOf(slot, large));
    EXPECT_EQ(7, slot.EffectIndex());
    EXPECT_TRUE(Process(slot, large).SamePicture(RunEffect(7, large, 70)));
}

TEST(EffectSlot, DeliversWholeFramesWithTheInputsRowPadding) {
    CEffectSlot slot;
    TestFrame in(33, 19);  // one byte of padding a row
    in.FillNoise(11);
    for (int row = 0; row < 19; ++row)
        in.Data()[row * in.Stride() + 99] = static_cast<uint8_t>(row);
    ASSERT_TRUE(SetFormatOf(slot, in));
    ASSERT_TRUE(slot.SetEffect(4));
    std::vector<uint8_t> out(in.Bytes(), 0xEE);
    ASSERT_TRUE(slot.ProcessFrame(in.Data(), in.Bytes(), out.data(), out.size()));
    for (int row = 0; row < 19; ++row)
        EXPECT_EQ(row, out[static_cast<size_t>(row) * in.Stride() + 99]);
}

TEST(EffectSlot, FormatsNoEffectCanProcessAreCopied) {
    CEffectSlot slot;
    ASSERT_TRUE(slot.SetEffect(2));
    EXPECT_FALSE(slot.SetFormat(33, 19, 4, 132));
    TestFrame frame(33, 19);
    frame.FillNoise(7);
    EXPECT_TRUE(Process(slot, frame, false).SamePicture(frame));
}

TEST(EffectSlot, ShortBuffersAreCopiedNotOverrun) {
    CEffectSlot slot;
    TestFrame frame(33, 19);
    ASSERT_TRUE(SetFormatOf(slot, frame));
    ASSERT_TRUE(slot.SetEffect(4));
    TestFrame shorter(33, 18);
    shorter.FillNoise(8);
    TestFrame out(33, 18);
    EXPECT_FALSE(slot.ProcessFrame(shorter.Data(), shorter.Bytes(), out.Data(), out.Bytes()));
    EXPECT_EQ(0, std::memcmp(out.Data(), shorter.Data(), shorter.Bytes()));
    TestFrame bigOut(33, 19);
    EXPECT_FALSE(slot.ProcessFrame(frame.Data(), frame.Bytes(), bigOut.Data(), shorter.Bytes()));
    EXPECT_FALSE(slot.ProcessFrame(nullptr, 0, bigOut.Data(), bigOut.Bytes()));
}

// An effect that holds its frame until released, to switch while it runs.
class CHeldEffect : public CEffect {
public:
    struct Gate {
        std::mutex mutex;
        std::condition_variable changed;
        bool inside = false;
        bool release = false;
        std::atomic<int> destroyed{0};
    };

    CHeldEffect(Gate* gate) : CEffect(5), gate_(gate) {}
    ~CHeldEffect() override { ++gate_->destroyed; }
    int Process(const uint8_t* src, uint8_t* dst) override {
        std::unique_lock<std::mutex> lock(gate_->mutex);
        gate_->inside = true;
        gate_->changed.notify_all();
        gate_->changed.wait(lock, [this] { return gate_->release; });
        const int destroyedDuringFrame = gate_->destroyed.load();
        lock.unlock();
        EXPECT_EQ(0, destroyedDuringFrame);
        return CopyFrame(src, dst);
    }

private:
    Gate* gate_;
};

TEST(EffectSlot, AFrameInProgressFinishesWithItsEffectAndTheNextTakesTheNewOne) {
    CHeldEffect::Gate gate;
    CEffectSlot slot([&gate](int index) -> std::unique_ptr<CEffect> {
        if (index == 5)
            return std::make_unique<CHeldEffect>(&gate);
        return CreateEffect(index);
    });
    TestFrame frame(33, 19);
    frame.FillNoise(9);
    ASSERT_TRUE(SetFormatOf(slot, frame));
    ASSERT_TRUE(slot.SetEffect(5));
    TestFrame held(33, 19);
    std::thread streaming([&] { slot.ProcessFrame(frame.Data(), frame.Bytes(), held.Data(), held.Bytes()); });
    {
        std::unique_lock<std::mutex> lock(gate.mutex);
        gate.changed.wait(lock, [&] { return gate.inside; });
    }
    ASSERT_TRUE(slot.SetEffect(2));  // while the held frame runs
    EXPECT_EQ(0, gate.destroyed.load());
    {
        std::lock_guard<std::mutex> lock(gate.mutex);
        gate.release = true;
    }
    gate.changed.notify_all();
    streaming.join();
    EXPECT_TRUE(held.SamePicture(frame));  // the old effect's copy, whole
    EXPECT_TRUE(Process(slot, frame).SamePicture(RunEffect(2, frame, 50)));
    EXPECT_EQ(1, gate.destroyed.load());
}

// Ten thousand switches of effect and strength from one thread while another streams frames: every
// frame comes out as one whole effect at one strength.
TEST(EffectSlot, SwitchingWhileStreamingAlwaysGivesOneWholeEffect) {
    TestFrame frame(33, 19);
    frame.FillNoise(10);
    const std::vector<std::pair<int, int>> settings = {{-1, 50}, {0, 50}, {1, 50}, {2, 50}, {3, 50}, {3, 20}, {1, 20},
                                                       {4, 20},  {6, 20}, {6, 7},  {7, 7},  {7, 90}, {8, 90}, {-1, 90}};
    std::vector<TestFrame> expected;
    for (const auto& [index, strength] : settings)
        expected.push_back(RunEffect(index, frame, strength));

    CEffectSlot slot;
    ASSERT_TRUE(SetFormatOf(slot, frame));
    std::atomic<bool> switching{true};
    std::thread setter([&] {
        for (int i = 0; i < 10000; ++i) {
            const auto& [index, strength] = settings[static_cast<size_t>(i) % settings.size()];
            slot.SetEffect(index);
            slot.SetStrength(strength);
        }
        switching = false;
    });
    int frames = 0, unmatched = 0;
    TestFrame out(33, 19);
    while (switching || frames < 100) {
        slot.ProcessFrame(frame.Data(), frame.Bytes(), out.Data(), out.Bytes());
        ++frames;
        bool matched = false;
        for (const TestFrame& candidate : expected)
            matched = matched || out.SamePicture(candidate);
        unmatched += matched ? 0 : 1;
        ASSERT_TRUE(out.GuardsIntact());
    }
    setter.join();
    EXPECT_EQ(0, unmatched) << "of " << frames << " frames";
    // After the last switch the last setting is the one in use.
    EXPECT_TRUE(Process(slot, frame).SamePicture(expected[9999 % settings.size()]));
}

}  // namespace
