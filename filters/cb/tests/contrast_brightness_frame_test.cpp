// The contrast/brightness frame path.
#include <gtest/gtest.h>

#include <cstring>

#include "core/contrast_brightness_frame.h"
#include "test_frame.h"

namespace {

TestFrame Adjust(const CContrastBrightnessFrame& cb, const TestFrame& in) {
    TestFrame out = in.Blank();
    EXPECT_TRUE(cb.Process(in.Data(), out.Data(), in.Layout()));
    EXPECT_TRUE(out.GuardsIntact());
    return out;
}

TEST(ContrastBrightnessFrame, ZeroAndZeroGiveTheInput) {
    CContrastBrightnessFrame cb;
    for (const auto& [width, height] :
         {std::make_pair(1, 1), std::make_pair(33, 19), std::make_pair(33, -19), std::make_pair(640, 480),
          std::make_pair(1280, -720)}) {
        TestFrame frame(width, height);
        frame.FillNoise(static_cast<uint32_t>(width));
        EXPECT_TRUE(Adjust(cb, frame).SamePicture(frame)) << width << "x" << height;
    }
}

TEST(ContrastBrightnessFrame, FullBrightnessTurnsBlackWhite) {
    CContrastBrightnessFrame cb;
    cb.SetValues(0, 100);
    EXPECT_EQ(255, cb.Table().table[0][0]);
    TestFrame frame(33, 19);
    frame.Fill(0, 0, 0);
    EXPECT_EQ(255, Adjust(cb, frame).Pixel(32, 18)[1]);
}

TEST(ContrastBrightnessFrame, FullContrastIsNearlyAThresholdAtMiddleGrey) {
    CContrastBrightnessFrame cb;
    cb.SetValues(100, 0);  // slope tan(89 degrees), about 57
    EXPECT_EQ(0, cb.Table().table[2][125]);
    EXPECT_EQ(255, cb.Table().table[2][130]);
    for (int i = 1; i < 256; ++i)
        ASSERT_GE(cb.Table().table[1][i], cb.Table().table[1][i - 1]);
}

TEST(ContrastBrightnessFrame, NewValuesRebuildTheTable) {
    CContrastBrightnessFrame cb;
    cb.SetValues(-50, 20);
    EXPECT_EQ(-50, cb.Contrast());
    EXPECT_EQ(20, cb.Brightness());
    TestFrame frame(33, 19);
    frame.FillRamp();
    TestFrame lower = Adjust(cb, frame);
    cb.SetValues(0, 0);
    EXPECT_TRUE(Adjust(cb, frame).SamePicture(frame));
    EXPECT_FALSE(lower.SamePicture(frame));
}

TEST(ContrastBrightnessFrame, RefusedFramesAreReportedAndLeftAlone) {
    CContrastBrightnessFrame cb;
    cb.SetValues(40, 40);
    TestFrame frame(8, 4), out(8, 4);
    out.Fill(1, 2, 3);
    EXPECT_FALSE(cb.Process(nullptr, out.Data(), qel::imaging::PixelLayout{8, 4, frame.Stride(), 3}));
    EXPECT_FALSE(cb.Process(frame.Data(), out.Data(), qel::imaging::PixelLayout{8, 4, 20, 3}));
    EXPECT_EQ(1, out.Pixel(0, 0)[0]);
}

}  // namespace
