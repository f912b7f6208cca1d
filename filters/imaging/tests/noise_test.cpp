// Noise and the Snow overlay.
#include "qelimaging/noise.h"
#include "test_frame.h"

#include <gtest/gtest.h>

namespace qel::imaging {
namespace {

using testing::PatternColour;
using testing::TestFrame;

TEST(AddNoise, NothingButACopyWithoutAmountOrCoverage) {
    TestFrame in(33, 19, 3, 1);
    in.Fill([](int x, int y) { return PatternColour(x, y); });
    NoiseRandom random(7);
    for (const auto& [amount, coverage] : {std::pair{0, 50}, std::pair{50, 0}}) {
        TestFrame out(33, 19, 3, 1);
        ASSERT_TRUE(AddNoise(in.Data(), out.Data(), in.Layout(), amount, coverage, random));
        EXPECT_TRUE(out.PixelsEqual(in));
        EXPECT_TRUE(out.PaddingIntact());
    }
}

TEST(AddNoise, ChoosesTheCoveredShareOfEveryRowAndPushesItTowardWhite) {
    TestFrame in(40, 12, 1);
    in.FillGrey([](int, int) { return 100; });
    TestFrame out(in);
    NoiseRandom random(3);
    ASSERT_TRUE(AddNoise(in.Data(), out.Data(), in.Layout(), 100, 25, random));
    for (int y = 0; y < 12; ++y) {
        int changedOrChosen = 0;
        for (int x = 0; x < 40; ++x) {
            const int v = out.At(x, y)[0];
            EXPECT_GE(v, 100);
            changedOrChosen += v != 100 ? 1 : 0;
        }
        EXPECT_LE(changedOrChosen, 10) << "25 % of 40 columns at most";
        EXPECT_GE(changedOrChosen, 5) << "a random share of zero is rare";
    }
    EXPECT_TRUE(out.PaddingIntact());
}

TEST(AddNoise, ANegativeAmountDarkensAndOutOfRangeValuesAreBounded) {
    TestFrame in(25, 9);
    in.Fill([](int, int) { return Rgb{200, 150, 250}; });
    TestFrame out(in);
    NoiseRandom random(11);
    ASSERT_TRUE(AddNoise(in.Data(), out.Data(), in.Layout(), -500, 400, random));
    int darker = 0;
    for (int y = 0; y < 9; ++y) {
        for (int x = 0; x < 25; ++x) {
            const Rgb c = out.ColourAt(x, y);
            EXPECT_LE(c.red, 200);
            EXPECT_LE(c.blue, 250);
            darker += c.red < 200 ? 1 : 0;
        }
    }
    EXPECT_GT(darker, 100) << "coverage above 100 is every column";
    EXPECT_FALSE(AddNoise(nullptr, out.Data(), in.Layout(), 10, 10, random));
}

TEST(SnowLayer, DensityZeroCopiesTheSource) {
    TestFrame in(33, 19, 3, 3);
    in.Fill([](int x, int y) { return PatternColour(x, y); });
    TestFrame out(33, 19, 3, 3);
    NoiseRandom random;
    ASSERT_TRUE(SnowLayer(in.Data(), out.Data(), in.Layout(), 0, random));
    EXPECT_TRUE(out.PixelsEqual(in));
    EXPECT_TRUE(out.PaddingIntact());
}

TEST(SnowLayer, FlakesLightenTheDarkPictureAndRepeatWithTheSeed) {
    for (int height : {48, -48}) {
        TestFrame in(64, height, 3, 4);
        in.Fill([](int, int) { return Rgb{20, 30, 40}; });
        TestFrame first(in), second(in);
        NoiseRandom a(5), b(5);
        ASSERT_TRUE(SnowLayer(in.Data(), first.Data(), in.Layout(), 100, a));
        ASSERT_TRUE(SnowLayer(in.Data(), second.Data(), in.Layout(), 100, b));
        EXPECT_TRUE(first.PixelsEqual(second));
        int flakes = 0;
        for (int y = 0; y < 48; ++y) {
            for (int x = 0; x < 64; ++x) {
                const Rgb c = first.ColourAt(x, y);
                EXPECT_GT(c.green, 30) << "brightness +10 lifts every pixel";
                flakes += c.green > 150 ? 1 : 0;
            }
        }
        EXPECT_GT(flakes, 0);
        EXPECT_LT(flakes, 64 * 48 / 2);
        EXPECT_TRUE(first.PaddingIntact());
        // In place gives the same picture.
        NoiseRandom c(5);
        ASSERT_TRUE(SnowLayer(in.Data(), in.Data(), in.Layout(), 100, c));
        EXPECT_TRUE(in.PixelsEqual(first));
    }
}

TEST(SnowLayer, OneChannelAndTinyFrames) {
    TestFrame grey(8, 8, 1);
    NoiseRandom random;
    EXPECT_FALSE(SnowLayer(grey.Data(), grey.Data(), grey.Layout(), 50, random));
    TestFrame pixel(1, 1);
    pixel.Fill([](int, int) { return Rgb{0, 0, 0}; });
    EXPECT_TRUE(SnowLayer(pixel.Data(), pixel.Data(), pixel.Layout(), 50, random));
    EXPECT_TRUE(pixel.PaddingIntact());
}

} // namespace
} // namespace qel::imaging
