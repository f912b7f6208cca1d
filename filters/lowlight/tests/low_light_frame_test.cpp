// The low-light frame path: levels, gamma and contrast together on real frames.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "core/low_light_frame.h"
#include "qelimaging/auto_levels.h"
#include "qelimaging/cpu_features.h"
#include "test_frame.h"

namespace {

// A dark picture: every channel within 10..70.
void FillDark(TestFrame& frame) {
    frame.FillNoise(7);
    for (int line = 0; line < frame.Lines(); ++line)
        for (int i = 0; i < frame.Width() * 3; ++i)
            frame.Pixel(0, line)[i] = static_cast<uint8_t>(10 + frame.Pixel(0, line)[i] % 61);
}

double MeanLevel(const TestFrame& frame) {
    double sum = 0;
    for (int line = 0; line < frame.Lines(); ++line)
        for (int i = 0; i < frame.Width() * 3; ++i)
            sum += frame.Pixel(0, line)[i];
    return sum / (frame.Lines() * frame.Width() * 3.0);
}

TestFrame Brighten(CLowLightFrame& lowLight, const TestFrame& in) {
    TestFrame out = in.Blank();
    EXPECT_TRUE(lowLight.Process(in.Data(), out.Data(), in.Layout()));
    EXPECT_TRUE(out.GuardsIntact());
    return out;
}

TEST(LowLightFrame, StrengthReachesTheGammaTable) {
    CLowLightFrame lowLight;
    EXPECT_EQ(150, lowLight.Params().contrastStrength);  // the default strength 50
    EXPECT_EQ(128, lowLight.GammaTable().table[1][64]);   // gamma 2
    lowLight.SetStrength(0);
    for (int i = 0; i < 256; ++i)
        ASSERT_EQ(i, lowLight.GammaTable().table[0][i]);
}

TEST(LowLightFrame, StrengthZeroStretchesTheLevelsToTheFullRange) {
    TestFrame frame(33, 19);
    FillDark(frame);
    CLowLightFrame lowLight;
    lowLight.SetStrength(0);
    TestFrame out = Brighten(lowLight, frame);
    int darkest = 255, brightest = 0;
    for (int line = 0; line < 19; ++line) {
        for (int i = 0; i < 33 * 3; ++i) {
            darkest = std::min<int>(darkest, out.Pixel(0, line)[i]);
            brightest = std::max<int>(brightest, out.Pixel(0, line)[i]);
        }
    }
    EXPECT_EQ(0, darkest);
    EXPECT_EQ(255, brightest);
}

TEST(LowLightFrame, MoreStrengthGivesABrighterPicture) {
    TestFrame frame(64, 48);
    FillDark(frame);
    CLowLightFrame lowLight;
    double previous = 0;
    for (int strength : {0, 50, 100}) {
        lowLight.SetStrength(strength);
        const double mean = MeanLevel(Brighten(lowLight, frame));
        EXPECT_GT(mean, previous) << "strength " << strength;
        previous = mean;
    }
    EXPECT_GT(previous, MeanLevel(frame) + 60);
}

TEST(LowLightFrame, SmallFramesGetTheSamePictureInBothOrientations) {
    for (const auto& [width, height] : {std::make_pair(1, 1), std::make_pair(33, 19), std::make_pair(5, 2)}) {
        TestFrame frame(width, height);
        FillDark(frame);
        CLowLightFrame lowLight;
        EXPECT_TRUE(Brighten(lowLight, frame.Flipped()).SamePicture(Brighten(lowLight, frame))) << width << "x" << height;
    }
}

TEST(LowLightFrame, CameraSizesKeepTheGuards) {
    for (const auto& [width, height] : {std::make_pair(640, 480), std::make_pair(1280, -720), std::make_pair(641, 3)}) {
        TestFrame frame(width, height);
        FillDark(frame);
        CLowLightFrame lowLight;
        lowLight.SetStrength(75);
        EXPECT_GT(MeanLevel(Brighten(lowLight, frame)), MeanLevel(frame));
    }
}

// The filter's steps one after another with the plain kernels: levels and gamma into the output, then
// the contrast measured on that output and applied over it.
TestFrame TwoPassReference(const TestFrame& in, int strength) {
    using namespace qel::imaging;
    LimitWideKernels(WideKernels::None);
    CLowLightFrame derived;
    derived.SetStrength(strength);
    TestFrame out = in.Blank();
    const PixelLayout& layout = in.Layout();
    int high[3], low[3];
    EXPECT_TRUE(AutoLevelsPoints(in.Data(), layout, nullptr, high, low));
    Lut levels = MakeIdentityLut(3);
    BuildLevelsLut(levels, high, low);
    ComposeLut(levels, derived.GammaTable());
    EXPECT_TRUE(ApplyLut(in.Data(), out.Data(), layout, nullptr, levels));
    if (derived.Params().contrastStrength != 0) {
        EXPECT_TRUE(AutoContrast(out.Data(), out.Data(), layout, nullptr, nullptr, derived.Params().contrastStrength));
    }
    LimitWideKernels(WideKernels::Avx512Vbmi);
    return out;
}

TEST(LowLightFrame, OnePassGivesTheTwoPassPictureWithEveryKernel) {
    using qel::imaging::WideKernels;
    for (const auto& [width, height] : {std::make_pair(1280, 720), std::make_pair(33, -19), std::make_pair(641, 3)}) {
        TestFrame frame(width, height);
        FillDark(frame);
        for (int strength : {0, 26, 50, 100}) {
            const TestFrame expected = TwoPassReference(frame, strength);
            for (WideKernels widest : {WideKernels::None, WideKernels::Avx2, WideKernels::Avx512Vbmi}) {
                qel::imaging::LimitWideKernels(widest);
                CLowLightFrame lowLight;
                lowLight.SetStrength(strength);
                EXPECT_TRUE(Brighten(lowLight, frame).SamePicture(expected))
                    << width << "x" << height << " strength " << strength << " kernels " << static_cast<int>(widest);
                TestFrame inPlace = frame;
                ASSERT_TRUE(lowLight.Process(inPlace.Data(), inPlace.Data(), inPlace.Layout()));
                EXPECT_TRUE(inPlace.SamePicture(expected)) << "in place, strength " << strength;
            }
            qel::imaging::LimitWideKernels(WideKernels::Avx512Vbmi);
        }
    }
}

TEST(LowLightFrame, RefusedFramesAreReported) {
    TestFrame frame(8, 4);
    CLowLightFrame lowLight;
    EXPECT_FALSE(lowLight.Process(nullptr, frame.Data(), qel::imaging::PixelLayout{8, 4, frame.Stride(), 3}));
    EXPECT_FALSE(lowLight.Process(frame.Data(), nullptr, qel::imaging::PixelLayout{8, 4, frame.Stride(), 3}));
    EXPECT_FALSE(lowLight.Process(frame.Data(), frame.Data(),
                                  qel::imaging::PixelLayout{8, 4, 20, 3})); // rows shorter than the picture
}

}  // namespace
