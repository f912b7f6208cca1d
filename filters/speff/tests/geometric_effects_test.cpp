// The source map shared by swirl and fish eye, and the two effects' maps.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>

#include "effect_test_util.h"
#include "core/fish_eye_effect.h"
#include "core/source_map.h"
#include "core/swirl_effect.h"

namespace {

qel::imaging::PixelLayout GeometryOf(int width, int height) {
    const qel::imaging::PixelLayout layout{width, height, (width * 3 + 3) & ~3, 3};
    EXPECT_TRUE(IsEffectLayout(layout));
    return layout;
}

TEST(SourceMap, RefusesFramesItCannotAddress) {
    CSourceMap map;
    const qel::imaging::PixelLayout huge{100000, 20000, 300000, 3}; // 6 GB of frame
    ASSERT_TRUE(IsEffectLayout(huge));
    EXPECT_FALSE(map.Reset(huge, false));
    EXPECT_TRUE(map.Empty());
    EXPECT_FALSE(map.Reset(qel::imaging::PixelLayout{}, false));
}

TEST(SourceMap, PointsAreKeptInPictureLinesWhateverTheOrientation) {
    for (int height : {3, -3}) {
        CSourceMap map;
        ASSERT_TRUE(map.Reset(GeometryOf(4, height), false));
        EXPECT_EQ(2, map.At(2, 1).x);
        EXPECT_EQ(1, map.At(2, 1).line);
        ASSERT_TRUE(map.TrySetSource(0, 0, 2.5f, 2.0f));
        EXPECT_EQ(2, map.At(0, 0).x);
        EXPECT_EQ(2, map.At(0, 0).line);
        EXPECT_EQ(512, map.At(0, 0).fx);
    }
}

TEST(SourceMap, OnlyPointsOnThePictureBecomeSources) {
    CSourceMap map;
    ASSERT_TRUE(map.Reset(GeometryOf(4, 3), true));
    EXPECT_FALSE(map.TrySetSource(0, 0, -0.01f, 1.0f));
    EXPECT_FALSE(map.TrySetSource(0, 0, 3.01f, 1.0f));
    EXPECT_FALSE(map.TrySetSource(0, 0, 1.0f, 2.5f));
    EXPECT_FALSE(map.TrySetSource(0, 0, NAN, 1.0f));
    EXPECT_EQ(CSourceMap::kNoSource, map.At(0, 0).x);
    ASSERT_TRUE(map.TrySetSource(1, 2, 3.0f, 0.25f));
    EXPECT_EQ(3, map.At(1, 2).x);
    EXPECT_EQ(0, map.At(1, 2).line);
    EXPECT_EQ(0, map.At(1, 2).fx);
    EXPECT_EQ(256, map.At(1, 2).fy);
}

TEST(SourceMap, RemapSamplesBilinearlyAndBlanksPixelsWithoutSource) {
    TestFrame in(4, 3);
    in.Fill(0, 0, 0);
    in.Pixel(1, 0)[0] = 100;
    in.Pixel(2, 0)[0] = 200;
    CSourceMap map;
    ASSERT_TRUE(map.Reset(GeometryOf(4, 3), false));
    ASSERT_TRUE(map.TrySetSource(0, 0, 1.5f, 0.0f));   // half way from 100 to 200
    ASSERT_TRUE(map.TrySetSource(3, 0, 1.25f, 0.0f));  // a quarter of the way
    TestFrame out(4, 3);
    ASSERT_TRUE(RemapFrame(in.Data(), out.Data(), qel::imaging::PixelLayout{4, 3, in.Stride(), 3}, map));
    EXPECT_EQ(150, out.Pixel(0, 0)[0]);
    EXPECT_EQ(125, out.Pixel(3, 0)[0]);
    EXPECT_EQ(100, out.Pixel(1, 0)[0]);  // its own source
    EXPECT_TRUE(out.GuardsIntact());

    CSourceMap blank;
    ASSERT_TRUE(blank.Reset(GeometryOf(4, 3), true));
    in.Fill(50, 60, 70);
    ASSERT_TRUE(RemapFrame(in.Data(), out.Data(), qel::imaging::PixelLayout{4, 3, in.Stride(), 3}, blank));
    EXPECT_EQ(0, out.Pixel(2, 1)[2]);
    EXPECT_FALSE(RemapFrame(in.Data(), out.Data(), qel::imaging::PixelLayout{3, 3, in.Stride(), 3},
                            blank)); // map of another size
    EXPECT_FALSE(RemapFrame(in.Data(), out.Data(), qel::imaging::PixelLayout{4, -3, in.Stride(), 3},
                            blank)); // or orientation
}

// The bilinear sample of one output pixel written straight from its definition.
void ReferenceSample(const TestFrame& in, const SourcePoint& p, uint8_t* out) {
    if (p.x == CSourceMap::kNoSource) {
        out[0] = out[1] = out[2] = 0;
        return;
    }
    const int x1 = p.fx ? p.x + 1 : p.x;
    const int line1 = p.fy ? p.line + 1 : p.line;
    const int fxy = p.fx * p.fy / 1024;
    for (int k = 0; k < 3; ++k) {
        const int q00 = in.Pixel(p.x, p.line)[k], q10 = in.Pixel(x1, p.line)[k];
        const int q01 = in.Pixel(p.x, line1)[k], q11 = in.Pixel(x1, line1)[k];
        const int v = q00 + (((q10 - q00) * p.fx + (q00 + q11 - q10 - q01) * fxy + (q01 - q00) * p.fy) >> 10);
        out[k] = static_cast<uint8_t>(v < 0 ? 0 : v);
    }
}

// Odd sizes, widths either side of a multiple of eight, frames without row padding (where the last
// pixel of the buffer is a source), both orientations, frames of several whole and partial tiles;
// sources anywhere, every corner and blanks.
TEST(SourceMap, RemapMatchesTheReferenceAtEveryShape) {
    const int shapes[][2] = {{33, 19}, {33, -19}, {32, 7}, {31, 8}, {24, -5}, {17, 3}, {1, 1}, {9, 2}, {64, 48},
                             {100, 70}, {65, -33}};
    for (const auto& shape : shapes) {
        const int width = shape[0], height = shape[1];
        SCOPED_TRACE(::testing::Message() << width << "x" << height);
        TestFrame in(width, height);
        in.FillNoise(3);
        const qel::imaging::PixelLayout g = GeometryOf(width, height);
        const int lines = qel::imaging::RowCount(g);
        CSourceMap map;
        ASSERT_TRUE(map.Reset(g, true));
        uint32_t state = 11;
        auto next = [&state](int range) {
            state = state * 1664525u + 1013904223u;
            return static_cast<int>((state >> 8) % static_cast<uint32_t>(range));
        };
        for (int line = 0; line < lines; ++line) {
            for (int x = 0; x < width; ++x) {
                switch (next(5)) {
                case 0: break;  // no source: black
                case 1:
                    map.TrySetSource(x, line, static_cast<float>(width - 1), static_cast<float>(lines - 1));
                    break;
                case 2:
                    map.TrySetSource(x, line, static_cast<float>(next(width)),
                                     static_cast<float>(next(lines)));
                    break;
                default:
                    map.TrySetSource(x, line, next(width * 1024) / 1024.0f, next(lines * 1024) / 1024.0f);
                }
            }
        }
        TestFrame out(width, height);
        ASSERT_TRUE(
            RemapFrame(in.Data(), out.Data(), qel::imaging::PixelLayout{width, height, in.Stride(), 3}, map));
        EXPECT_TRUE(out.GuardsIntact());
        for (int line = 0; line < lines; ++line) {
            for (int x = 0; x < width; ++x) {
                uint8_t expected[3];
                ReferenceSample(in, map.At(x, line), expected);
                ASSERT_EQ(0, std::memcmp(expected, out.Pixel(x, line), 3)) << x << "," << line;
            }
        }
    }
}

TEST(SwirlEffect, AngleFollowsTheBoundedStrength) {
    EXPECT_EQ(180, SwirlAngleForStrength(100));
    EXPECT_EQ(180, SwirlAngleForStrength(101));
    EXPECT_EQ(-180, SwirlAngleForStrength(-101));
    EXPECT_EQ(90, SwirlAngleForStrength(50));
    EXPECT_EQ(1, SwirlAngleForStrength(1));
    CSwirlEffect effect;
    effect.SetStrength(101);
    EXPECT_EQ(100, effect.Strength());
    EXPECT_EQ(180, effect.Angle());
}

TEST(SwirlEffect, Strength101ActsAs100) {
    TestFrame frame(33, 19);
    frame.FillNoise(5);
    EXPECT_TRUE(RunEffect(7, frame, 101).SamePicture(RunEffect(7, frame, 100)));
    EXPECT_FALSE(RunEffect(7, frame, 100).SamePicture(frame));
}

TEST(SwirlEffect, StrengthZeroCopiesWithoutAMap) {
    TestFrame frame(33, 19);
    frame.FillNoise(6);
    std::unique_ptr<CEffect> effect = MakeEffectFor(7, frame, 0);
    EXPECT_FALSE(static_cast<CSwirlEffect&>(*effect).HasMap());
    EXPECT_TRUE(RunEffect(*effect, frame).SamePicture(frame));
}

TEST(SwirlEffect, TurnsTheCentreHalfATurnAndLeavesTheCornersAlone) {
    CSourceMap map;
    ASSERT_TRUE(BuildSwirlMap(GeometryOf(64, 48), 180, &map));
    // Two pixels right of the centre (32, 24), r = 1/16: the point is turned back by (15/16)^2 x 180
    // degrees, nearly to the opposite side.
    const double t = (15.0 / 16) * (15.0 / 16) * 3.14159265358979;
    const SourcePoint e = map.At(34, 24);
    EXPECT_NEAR(32 + 2 * std::cos(t), e.x + e.fx / 1024.0, 0.01);
    EXPECT_NEAR(24 - 2 * std::sin(t), e.line + e.fy / 1024.0, 0.01);
    // Outside the centred ellipse every pixel is its own source.
    EXPECT_EQ(0, map.At(0, 0).x);
    EXPECT_EQ(47, map.At(63, 47).line);
    EXPECT_EQ(0, map.At(63, 47).fx);
    // A negative angle turns the other way round.
    CSourceMap back;
    ASSERT_TRUE(BuildSwirlMap(GeometryOf(64, 48), -90, &back));
    ASSERT_TRUE(BuildSwirlMap(GeometryOf(64, 48), 90, &map));
    EXPECT_NE(back.At(36, 24).line, map.At(36, 24).line);
}

TEST(SwirlEffect, NewFormatRebuildsTheMap) {
    CSwirlEffect effect;
    effect.SetStrength(60);
    ASSERT_TRUE(effect.Init(33, 19, 3, 8, 100, kByteOrderBgr));
    EXPECT_TRUE(effect.HasMap());
    TestFrame small(5, 3);
    small.FillNoise(1);
    ASSERT_TRUE(effect.Init(5, 3, 3, 8, small.Stride(), kByteOrderBgr));
    RunEffect(effect, small);  // a map of the old size would be refused or overrun
    effect.Reset();
    EXPECT_FALSE(effect.HasMap());
}

TEST(FishEyeEffect, BorderLinesAndColumnsAreBlack) {
    TestFrame frame(33, 19);
    frame.Fill(200, 200, 200);
    TestFrame out = RunEffect(4, frame, 50);
    for (int x = 0; x < 33; ++x) {
        EXPECT_EQ(0, out.Pixel(x, 0)[0]);
        EXPECT_EQ(0, out.Pixel(x, 18)[1]);
    }
    for (int line = 0; line < 19; ++line) {
        EXPECT_EQ(0, out.Pixel(0, line)[2]);
        EXPECT_EQ(0, out.Pixel(32, line)[0]);
    }
    EXPECT_EQ(200, out.Pixel(16, 9)[0]);
}

TEST(FishEyeEffect, TheCentreStaysAndPointsAreLiftedOverTheArch) {
    CSourceMap map;
    ASSERT_TRUE(BuildFishEyeMap(GeometryOf(33, 19), &map));
    EXPECT_EQ(16, map.At(16, 9).x);  // arch at its top, no bulge on the middle line
    EXPECT_EQ(9, map.At(16, 9).line);
    // Towards the side the arch is lower: the point comes from further up, by a quarter of the height
    // less the arch.
    const SourcePoint side = map.At(4, 5);
    ASSERT_NE(CSourceMap::kNoSource, side.x);
    EXPECT_NEAR(5 + 4 - 4 * std::sqrt(1 - (12.0 / 16) * (12.0 / 16)), side.line + side.fy / 1024.0, 0.01);
    // Lines far from the middle bulge out of the picture: black.
    EXPECT_EQ(CSourceMap::kNoSource, map.At(2, 17).x);
}

TEST(FishEyeEffect, TinyFramesAreAllBorder) {
    for (int size : {1, 2}) {
        TestFrame frame(size, size);
        frame.Fill(10, 20, 30);
        TestFrame out = RunEffect(4, frame, 50);
        EXPECT_EQ(0, out.Pixel(size - 1, size - 1)[2]);
    }
}

}  // namespace
