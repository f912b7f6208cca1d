#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>
#include <vector>

#include "guarded_frame.h"
#include "zoom_engine.h"
#include "zoom_scaler.h"

namespace {

using frametest::GuardedFrame;

ZoomFormat FormatOf(const GuardedFrame& frame) {
    return ZoomFormat{frame.width(), frame.height(), frame.bytesPerPixel(), frame.stride()};
}

// The frame the scaler makes for this percent, built independently of any engine.
std::vector<uint8_t> Expected(int percent, const GuardedFrame& src) {
    const ZoomFormat format = FormatOf(src);
    const ZoomPlan plan = BuildZoomPlan(percent, &format);
    if (plan.mode != ZoomMode::Scale)
        return std::vector<uint8_t>(src.data(), src.data() + src.size());
    // The scaler leaves the padding at the end of each row alone; the frames under test start zeroed.
    std::vector<uint8_t> out(src.size(), 0);
    ScaleZoomFrame(src.data(), out.data(), format.width, format.height, format.stride, 3, plan.columns, plan.rows);
    return out;
}

bool SameBytes(const GuardedFrame& frame, const std::vector<uint8_t>& bytes) {
    return frame.size() == bytes.size() && std::memcmp(frame.data(), bytes.data(), bytes.size()) == 0;
}

TEST(ZoomEngine, ANewEngineCopiesUnzoomed) {
    ZoomEngine engine;
    EXPECT_EQ(engine.Zoom(), 100);
    GuardedFrame src(33, 19, 3);
    src.FillRandom(1);
    GuardedFrame dst(33, 19, 3);
    EXPECT_EQ(engine.Process(src.data(), src.size(), dst.data(), dst.size()), ZoomResult::Copied);
    EXPECT_EQ(std::memcmp(src.data(), dst.data(), src.size()), 0);
    EXPECT_TRUE(dst.GuardIntact());
}

TEST(ZoomEngine, AValueThatIsNoStepCopiesAndIsKept) {
    ZoomEngine engine;
    GuardedFrame src(640, 480, 3);
    src.FillRandom(2);
    GuardedFrame dst(640, 480, 3);
    engine.SetFormat(FormatOf(src));
    engine.SetZoom(175);
    EXPECT_EQ(engine.Zoom(), 175);
    EXPECT_EQ(engine.Process(src.data(), src.size(), dst.data(), dst.size()), ZoomResult::Copied);
    EXPECT_EQ(std::memcmp(src.data(), dst.data(), src.size()), 0);
}

TEST(ZoomEngine, ZoomSetBeforeTheFormatAppliesOnceTheFormatArrives) {
    ZoomEngine engine;
    engine.SetZoom(250);
    GuardedFrame src(160, -120, 3);
    src.FillRandom(3);
    GuardedFrame dst(160, -120, 3);
    EXPECT_EQ(engine.Process(src.data(), src.size(), dst.data(), dst.size()), ZoomResult::Copied);
    engine.SetFormat(FormatOf(src));
    EXPECT_EQ(engine.Process(src.data(), src.size(), dst.data(), dst.size()), ZoomResult::Scaled);
    EXPECT_TRUE(SameBytes(dst, Expected(250, src)));
}

TEST(ZoomEngine, AFormatChangeRebuildsTheTablesForTheNewSize) {
    ZoomEngine engine;
    engine.SetZoom(300);
    engine.SetFormat(ZoomFormat{640, 480, 3, 1920});
    GuardedFrame src(33, 19, 3);
    src.FillRandom(4);
    GuardedFrame dst(33, 19, 3);
    engine.SetFormat(FormatOf(src));
    EXPECT_EQ(engine.Process(src.data(), src.size(), dst.data(), dst.size()), ZoomResult::Scaled);
    EXPECT_TRUE(SameBytes(dst, Expected(300, src)));
    EXPECT_TRUE(dst.GuardIntact());
}

TEST(ZoomEngine, FramesTooSmallForTheStepPassThrough) {
    struct TooSmall {
        int percent;
        std::vector<int> sizes;
    };
    const TooSmall cases[] = {{150, {1, 2, 3}}, {200, {1, 3}}, {250, {1, 2, 3, 4}}, {300, {1, 2}}};
    for (const TooSmall& c : cases) {
        for (int size : c.sizes) {
            ZoomEngine engine;
            GuardedFrame src(size, size, 3);
            src.FillRandom(static_cast<unsigned>(size));
            GuardedFrame dst(size, size, 3);
            engine.SetFormat(FormatOf(src));
            engine.SetZoom(c.percent);
            EXPECT_EQ(engine.Process(src.data(), src.size(), dst.data(), dst.size()), ZoomResult::Copied);
            EXPECT_EQ(std::memcmp(src.data(), dst.data(), src.size()), 0) << c.percent << " at " << size;
            EXPECT_TRUE(dst.GuardIntact());
        }
    }
}

// A sample shorter than the connected format is copied as far as it goes, never scaled past its end.
TEST(ZoomEngine, BuffersShorterThanTheFormatAreCopiedNotScaled) {
    ZoomEngine engine;
    engine.SetFormat(ZoomFormat{64, 48, 3, 192});
    engine.SetZoom(200);
    GuardedFrame src(64, 20, 3);
    src.FillRandom(5);
    GuardedFrame dst(64, 20, 3);
    EXPECT_EQ(engine.Process(src.data(), src.size(), dst.data(), dst.size()), ZoomResult::Copied);
    EXPECT_EQ(std::memcmp(src.data(), dst.data(), src.size()), 0);
    EXPECT_TRUE(dst.GuardIntact());
}

TEST(ZoomEngine, AFrameKeepsThePlanItStartedWith) {
    ZoomEngine engine;
    GuardedFrame src(96, 64, 3);
    src.FillRandom(6);
    GuardedFrame dst(96, 64, 3);
    engine.SetFormat(FormatOf(src));
    engine.SetZoom(200);

    const std::shared_ptr<const ZoomPlan> framePlan = engine.Snapshot();
    engine.SetZoom(300);  // arrives while the frame is being scaled
    EXPECT_EQ(framePlan->percent, 200);
    EXPECT_EQ(ApplyZoomPlan(*framePlan, src.data(), src.size(), dst.data(), dst.size()), ZoomResult::Scaled);
    EXPECT_TRUE(SameBytes(dst, Expected(200, src)));

    EXPECT_EQ(engine.Process(src.data(), src.size(), dst.data(), dst.size()), ZoomResult::Scaled);
    EXPECT_TRUE(SameBytes(dst, Expected(300, src)));
}

// While another thread keeps switching the step, every frame shows exactly one of the two steps.
TEST(ZoomEngine, FramesNeverMixTwoGeometriesUnderConcurrentChanges) {
    ZoomEngine engine;
    GuardedFrame src(120, 90, 3);
    src.FillRandom(8);
    GuardedFrame dst(120, 90, 3);
    engine.SetFormat(FormatOf(src));
    engine.SetZoom(150);
    const std::vector<uint8_t> zoom150 = Expected(150, src);
    const std::vector<uint8_t> zoom300 = Expected(300, src);

    std::atomic<bool> stop{false};
    std::thread setter([&] {
        for (int i = 0; !stop.load(); ++i)
            engine.SetZoom(i % 2 ? 300 : 150);
    });
    int seen150 = 0, seen300 = 0;
    for (int frame = 0; frame < 400; ++frame) {
        engine.Process(src.data(), src.size(), dst.data(), dst.size());
        if (SameBytes(dst, zoom150))
            ++seen150;
        else if (SameBytes(dst, zoom300))
            ++seen300;
        else
            ADD_FAILURE() << "frame " << frame << " mixes two zoom steps";
    }
    stop = true;
    setter.join();
    EXPECT_EQ(seen150 + seen300, 400);
}

}  // namespace
