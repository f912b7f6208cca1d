#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>
#include <vector>

#include "test_frame.h"
#include "core/zoom_engine.h"
#include "core/zoom_scaler.h"

namespace {

qel::imaging::PixelLayout FormatOf(const TestFrame& frame) {
    return qel::imaging::PixelLayout{frame.Width(), frame.Height(), frame.Stride(), frame.PixelBytes()};
}

// The frame the scaler makes for this percent, built independently of any engine.
std::vector<uint8_t> Expected(int percent, const TestFrame& src) {
    const qel::imaging::PixelLayout format = FormatOf(src);
    const ZoomPlan plan = BuildZoomPlan(percent, &format);
    if (plan.mode != ZoomMode::Scale)
        return std::vector<uint8_t>(src.Data(), src.Data() + src.Bytes());
    // The scaler leaves the padding at the end of each row alone; the frames under test start zeroed.
    std::vector<uint8_t> out(src.Bytes(), 0);
    ScaleZoomFrame(src.Data(), out.data(), format, plan.columns, plan.rows);
    return out;
}

bool SameBytes(const TestFrame& frame, const std::vector<uint8_t>& bytes) {
    return frame.Bytes() == bytes.size() && std::memcmp(frame.Data(), bytes.data(), bytes.size()) == 0;
}

TEST(ZoomEngine, ANewEngineCopiesUnzoomed) {
    ZoomEngine engine;
    EXPECT_EQ(engine.Zoom(), 100);
    TestFrame src = TestFrame::DataPadded(33, 19);
    src.FillRandom(1);
    TestFrame dst = TestFrame::DataPadded(33, 19);
    EXPECT_EQ(engine.Process(src.Data(), src.Bytes(), dst.Data(), dst.Bytes()), ZoomResult::Copied);
    EXPECT_EQ(std::memcmp(src.Data(), dst.Data(), src.Bytes()), 0);
    EXPECT_TRUE(dst.GuardsIntact());
}

TEST(ZoomEngine, AValueThatIsNoStepCopiesAndIsKept) {
    ZoomEngine engine;
    TestFrame src = TestFrame::DataPadded(640, 480);
    src.FillRandom(2);
    TestFrame dst = TestFrame::DataPadded(640, 480);
    engine.SetFormat(FormatOf(src));
    engine.SetZoom(175);
    EXPECT_EQ(engine.Zoom(), 175);
    EXPECT_EQ(engine.Process(src.Data(), src.Bytes(), dst.Data(), dst.Bytes()), ZoomResult::Copied);
    EXPECT_EQ(std::memcmp(src.Data(), dst.Data(), src.Bytes()), 0);
}

TEST(ZoomEngine, ZoomSetBeforeTheFormatAppliesOnceTheFormatArrives) {
    ZoomEngine engine;
    engine.SetZoom(250);
    TestFrame src = TestFrame::DataPadded(160, -120);
    src.FillRandom(3);
    TestFrame dst = TestFrame::DataPadded(160, -120);
    EXPECT_EQ(engine.Process(src.Data(), src.Bytes(), dst.Data(), dst.Bytes()), ZoomResult::Copied);
    engine.SetFormat(FormatOf(src));
    EXPECT_EQ(engine.Process(src.Data(), src.Bytes(), dst.Data(), dst.Bytes()), ZoomResult::Scaled);
    EXPECT_TRUE(SameBytes(dst, Expected(250, src)));
}

TEST(ZoomEngine, AFormatChangeRebuildsTheTablesForTheNewSize) {
    ZoomEngine engine;
    engine.SetZoom(300);
    engine.SetFormat(qel::imaging::PixelLayout{640, 480, 1920, 3});
    TestFrame src = TestFrame::DataPadded(33, 19);
    src.FillRandom(4);
    TestFrame dst = TestFrame::DataPadded(33, 19);
    engine.SetFormat(FormatOf(src));
    EXPECT_EQ(engine.Process(src.Data(), src.Bytes(), dst.Data(), dst.Bytes()), ZoomResult::Scaled);
    EXPECT_TRUE(SameBytes(dst, Expected(300, src)));
    EXPECT_TRUE(dst.GuardsIntact());
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
            TestFrame src = TestFrame::DataPadded(size, size);
            src.FillRandom(static_cast<unsigned>(size));
            TestFrame dst = TestFrame::DataPadded(size, size);
            engine.SetFormat(FormatOf(src));
            engine.SetZoom(c.percent);
            EXPECT_EQ(engine.Process(src.Data(), src.Bytes(), dst.Data(), dst.Bytes()), ZoomResult::Copied);
            EXPECT_EQ(std::memcmp(src.Data(), dst.Data(), src.Bytes()), 0) << c.percent << " at " << size;
            EXPECT_TRUE(dst.GuardsIntact());
        }
    }
}

// A sample shorter than the connected format is copied as far as it goes, never scaled past its end.
TEST(ZoomEngine, BuffersShorterThanTheFormatAreCopiedNotScaled) {
    ZoomEngine engine;
    engine.SetFormat(qel::imaging::PixelLayout{64, 48, 192, 3});
    engine.SetZoom(200);
    TestFrame src = TestFrame::DataPadded(64, 20);
    src.FillRandom(5);
    TestFrame dst = TestFrame::DataPadded(64, 20);
    EXPECT_EQ(engine.Process(src.Data(), src.Bytes(), dst.Data(), dst.Bytes()), ZoomResult::Copied);
    EXPECT_EQ(std::memcmp(src.Data(), dst.Data(), src.Bytes()), 0);
    EXPECT_TRUE(dst.GuardsIntact());
}

TEST(ZoomEngine, AFrameKeepsThePlanItStartedWith) {
    ZoomEngine engine;
    TestFrame src = TestFrame::DataPadded(96, 64);
    src.FillRandom(6);
    TestFrame dst = TestFrame::DataPadded(96, 64);
    engine.SetFormat(FormatOf(src));
    engine.SetZoom(200);

    const std::shared_ptr<const ZoomPlan> framePlan = engine.Snapshot();
    engine.SetZoom(300);  // arrives while the frame is being scaled
    EXPECT_EQ(framePlan->percent, 200);
    EXPECT_EQ(ApplyZoomPlan(*framePlan, src.Data(), src.Bytes(), dst.Data(), dst.Bytes()), ZoomResult::Scaled);
    EXPECT_TRUE(SameBytes(dst, Expected(200, src)));

    EXPECT_EQ(engine.Process(src.Data(), src.Bytes(), dst.Data(), dst.Bytes()), ZoomResult::Scaled);
    EXPECT_TRUE(SameBytes(dst, Expected(300, src)));
}

// While another thread keeps switching the step, every frame shows exactly one of the two steps.
TEST(ZoomEngine, FramesNeverMixTwoGeometriesUnderConcurrentChanges) {
    ZoomEngine engine;
    TestFrame src = TestFrame::DataPadded(120, 90);
    src.FillRandom(8);
    TestFrame dst = TestFrame::DataPadded(120, 90);
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
        engine.Process(src.Data(), src.Bytes(), dst.Data(), dst.Bytes());
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
