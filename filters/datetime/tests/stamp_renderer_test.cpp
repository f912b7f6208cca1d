#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <thread>

#include "test_frame.h"
#include "core/settings_snapshot.h"
#include "core/stamp_renderer.h"

namespace {

// Stands in for the platform's text rendering: 6 x 10 pixels a character, solid, wrapped into lines
// of at most maxWidth pixels.
class FakeRasteriser : public StampRasteriser {
public:
    bool Rasterise(const std::string& text, int maxWidth, StampMask& mask) override {
        ++calls;
        if (fail)
            return false;
        const int naturalWidth = static_cast<int>(text.size()) * 6;
        const int width = std::min(naturalWidth, maxWidth);
        const int lines = (naturalWidth + width - 1) / width;
        mask.width = width;
        mask.height = lines * 10;
        mask.coverage.assign(static_cast<size_t>(mask.width) * mask.height, 255);
        return true;
    }

    int calls = 0;
    bool fail = false;
};

qel::imaging::PixelLayout FormatOf(const TestFrame& frame) {
    return qel::imaging::PixelLayout{frame.Width(), frame.Height(), frame.Stride(), 3};
}

StampSettings BottomRight() {
    StampSettings settings;
    settings.colour = StampColour{255, 0, 0};
    settings.layout.alignment = kStampBottomRight;
    settings.layout.paddingX = 5;
    settings.layout.paddingY = 5;
    return settings;
}

bool IsRed(const uint8_t* pixel) {
    return pixel[0] == 0 && pixel[1] == 0 && pixel[2] == 255;
}

const std::string kText = "2026.12.09  06:23:05";  // 20 characters: 120 x 10

TEST(StampRenderer, TheStampLandsBottomRightFivePixelsIn) {
    for (int height : {480, -480}) {
        TestFrame frame = TestFrame::DataPadded(640, height);
        FakeRasteriser rasteriser;
        StampRenderer renderer;
        ASSERT_TRUE(renderer.Draw(frame.Data(), frame.Bytes(), FormatOf(frame), kText, BottomRight(), rasteriser));
        EXPECT_EQ(renderer.LastPlace().x, 635 - 120);
        EXPECT_EQ(renderer.LastPlace().y, 475 - 10);
        EXPECT_TRUE(IsRed(frame.FromTop(515, 465)));
        EXPECT_TRUE(IsRed(frame.FromTop(634, 474)));
        EXPECT_FALSE(IsRed(frame.FromTop(514, 465)));
        EXPECT_FALSE(IsRed(frame.FromTop(635, 474)));
        EXPECT_FALSE(IsRed(frame.FromTop(634, 475)));
        EXPECT_FALSE(IsRed(frame.FromTop(515, 464)));
        EXPECT_TRUE(frame.GuardsIntact());
    }
}

TEST(StampRenderer, TheMaskIsRenderedAgainOnlyWhenTextFontOrWidthChange) {
    TestFrame frame = TestFrame::DataPadded(640, 480);
    FakeRasteriser rasteriser;
    StampRenderer renderer;
    StampSettings settings = BottomRight();
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(renderer.Draw(frame.Data(), frame.Bytes(), FormatOf(frame), kText, settings, rasteriser));
    EXPECT_EQ(rasteriser.calls, 1);

    settings.colour = StampColour{0, 255, 0};
    settings.layout.alignment = kStampTopLeft;
    ASSERT_TRUE(renderer.Draw(frame.Data(), frame.Bytes(), FormatOf(frame), kText, settings, rasteriser));
    EXPECT_EQ(rasteriser.calls, 1);

    ASSERT_TRUE(renderer.Draw(frame.Data(), frame.Bytes(), FormatOf(frame), "2026.12.09  06:23:06", settings,
                              rasteriser));
    EXPECT_EQ(rasteriser.calls, 2);
    ++settings.fontRevision;
    ASSERT_TRUE(renderer.Draw(frame.Data(), frame.Bytes(), FormatOf(frame), "2026.12.09  06:23:06", settings,
                              rasteriser));
    EXPECT_EQ(rasteriser.calls, 3);
    TestFrame smaller = TestFrame::DataPadded(320, 240);
    ASSERT_TRUE(renderer.Draw(smaller.Data(), smaller.Bytes(), FormatOf(smaller), "2026.12.09  06:23:06", settings,
                              rasteriser));
    EXPECT_EQ(rasteriser.calls, 4);
    renderer.Reset();
    ASSERT_TRUE(renderer.Draw(smaller.Data(), smaller.Bytes(), FormatOf(smaller), "2026.12.09  06:23:06", settings,
                              rasteriser));
    EXPECT_EQ(rasteriser.calls, 5);
}

TEST(StampRenderer, NoTextDrawsNothing) {
    TestFrame frame = TestFrame::DataPadded(64, 48);
    FakeRasteriser rasteriser;
    StampRenderer renderer;
    EXPECT_FALSE(renderer.Draw(frame.Data(), frame.Bytes(), FormatOf(frame), "", BottomRight(), rasteriser));
    EXPECT_EQ(rasteriser.calls, 0);
    for (size_t i = 0; i < frame.Bytes(); ++i)
        ASSERT_EQ(frame.Data()[i], 0);
}

TEST(StampRenderer, AFailedRenderingDrawsNothingAndIsTriedAgain) {
    TestFrame frame = TestFrame::DataPadded(64, 48);
    FakeRasteriser rasteriser;
    rasteriser.fail = true;
    StampRenderer renderer;
    EXPECT_FALSE(renderer.Draw(frame.Data(), frame.Bytes(), FormatOf(frame), "x", BottomRight(), rasteriser));
    for (size_t i = 0; i < frame.Bytes(); ++i)
        ASSERT_EQ(frame.Data()[i], 0);
    rasteriser.fail = false;
    EXPECT_TRUE(renderer.Draw(frame.Data(), frame.Bytes(), FormatOf(frame), "x", BottomRight(), rasteriser));
    EXPECT_EQ(rasteriser.calls, 2);
}

TEST(StampRenderer, OnlyWholeRgb24FramesAreDrawnOn) {
    TestFrame frame = TestFrame::DataPadded(64, 48);
    FakeRasteriser rasteriser;
    StampRenderer renderer;
    qel::imaging::PixelLayout rgb32{64, 48, 256, 4};
    EXPECT_FALSE(renderer.Draw(frame.Data(), frame.Bytes(), rgb32, kText, BottomRight(), rasteriser));
    EXPECT_FALSE(renderer.Draw(frame.Data(), frame.Bytes() - 1, FormatOf(frame), kText, BottomRight(), rasteriser));
    EXPECT_FALSE(renderer.Draw(nullptr, frame.Bytes(), FormatOf(frame), kText, BottomRight(), rasteriser));
    EXPECT_EQ(rasteriser.calls, 0);
}

// Text wrapped to the frame's width is as wide as the frame: aligned right it starts left of the
// frame and is cut there rather than vanishing.
TEST(StampRenderer, WrappedTextIsDrawnCutAtTheEdges) {
    TestFrame frame = TestFrame::DataPadded(100, 60);
    FakeRasteriser rasteriser;
    StampRenderer renderer;
    ASSERT_TRUE(renderer.Draw(frame.Data(), frame.Bytes(), FormatOf(frame), kText, BottomRight(), rasteriser));
    EXPECT_EQ(renderer.BoxWidth(), 100);
    EXPECT_EQ(renderer.BoxHeight(), 20);
    EXPECT_EQ(renderer.LastPlace().x, -5);
    EXPECT_TRUE(IsRed(frame.FromTop(0, 60 - 5 - 20)));
    EXPECT_TRUE(IsRed(frame.FromTop(94, 54)));
    EXPECT_FALSE(IsRed(frame.FromTop(95, 54)));
    EXPECT_TRUE(frame.GuardsIntact());
}

TEST(StampRenderer, AStartPositionOutsideTheFrameDrawsNothing) {
    TestFrame frame = TestFrame::DataPadded(64, 48);
    FakeRasteriser rasteriser;
    StampRenderer renderer;
    StampSettings settings = BottomRight();
    settings.layout.alignment = kStampAtStartPosition;
    settings.layout.start = {64, 0};
    EXPECT_FALSE(renderer.Draw(frame.Data(), frame.Bytes(), FormatOf(frame), "x", settings, rasteriser));
    settings.layout.start = {-6, 0};
    EXPECT_FALSE(renderer.Draw(frame.Data(), frame.Bytes(), FormatOf(frame), "x", settings, rasteriser));
    settings.layout.start = {-5, -9};
    EXPECT_TRUE(renderer.Draw(frame.Data(), frame.Bytes(), FormatOf(frame), "x", settings, rasteriser));
    EXPECT_TRUE(IsRed(frame.FromTop(0, 0)));
    EXPECT_FALSE(IsRed(frame.FromTop(1, 0)));
    EXPECT_FALSE(IsRed(frame.FromTop(0, 1)));
}

// A setter changes colour and place together; every copy the drawing takes holds one whole change.
TEST(StampSettingsSnapshot, ACopyNeverMixesTwoChanges) {
    SettingsSnapshot<StampSettings> store;
    std::atomic<bool> stop{false};
    std::thread setter([&] {
        for (int i = 0; !stop.load(); ++i)
            store.Update([i](StampSettings& s) {
                s.colour = i % 2 ? StampColour{1, 1, 1} : StampColour{2, 2, 2};
                s.layout.alignment = i % 2 ? kStampTopLeft : kStampBottomRight;
                s.layout.start = i % 2 ? StampPoint{1, 1} : StampPoint{2, 2};
            });
    });
    for (int i = 0; i < 20000; ++i) {
        const StampSettings s = store.Get();
        const int tag = s.colour.red;
        if (tag == 255)
            continue;  // not yet changed
        ASSERT_EQ(s.colour.green, tag);
        ASSERT_EQ(s.colour.blue, tag);
        ASSERT_EQ(s.layout.alignment, tag == 1 ? kStampTopLeft : kStampBottomRight);
        ASSERT_EQ(s.layout.start.x, tag);
        ASSERT_EQ(s.layout.start.y, tag);
    }
    stop = true;
    setter.join();
}

}  // namespace
