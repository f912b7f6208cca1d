// What every effect shares (format checks, the uninitialised case, orientation, odd sizes) and the
// per-pixel effects (black and white, negative, the neutral effect).
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <tuple>

#include "effect_test_util.h"
#include "core/black_white_effect.h"
#include "core/negative_effect.h"
#include "core/no_effect.h"

namespace {

TEST(BlackWhiteEffect, PureRedGreenAndBlueBecomeTheirLuminance) {
    TestFrame frame(33, 19);
    frame.Fill(0, 0, 255);
    TestFrame out = RunEffect(0, frame, 50);
    EXPECT_EQ(76, out.Pixel(5, 7)[0]);
    EXPECT_EQ(76, out.Pixel(5, 7)[1]);
    EXPECT_EQ(76, out.Pixel(5, 7)[2]);
    frame.Fill(0, 255, 0);
    EXPECT_EQ(149, RunEffect(0, frame, 50).Pixel(32, 18)[2]);
    frame.Fill(255, 0, 0);
    EXPECT_EQ(29, RunEffect(0, frame, 50).Pixel(0, 0)[1]);
}

TEST(BlackWhiteEffect, ByteOrderDecidesWhichByteIsRed) {
    TestFrame frame(4, 2);
    frame.Fill(255, 0, 0);  // first byte 255: red in red-green-blue order
    TestFrame out(4, 2);
    qel::imaging::PixelLayout layout{4, 2, frame.Stride(), 3, qel::imaging::ByteOrder::RGB};
    ASSERT_TRUE(BlackWhiteFrame(frame.Data(), out.Data(), layout));
    EXPECT_EQ(76, out.Pixel(1, 1)[0]);
    layout.order = qel::imaging::ByteOrder::BGR;
    ASSERT_TRUE(BlackWhiteFrame(frame.Data(), out.Data(), layout));
    EXPECT_EQ(29, out.Pixel(1, 1)[0]);
}

TEST(NegativeEffect, InvertsEveryByteAndTwiceGivesTheInput) {
    TestFrame frame(33, 19);
    frame.FillNoise(3);
    TestFrame once = RunEffect(2, frame, 50);
    EXPECT_EQ(255 - frame.Pixel(10, 4)[1], once.Pixel(10, 4)[1]);
    EXPECT_TRUE(RunEffect(2, once, 50).SamePicture(frame));
}

TEST(NoEffect, CopiesTheWholeFrame) {
    TestFrame frame(33, 19);
    frame.FillNoise(4);
    TestFrame out = RunEffect(-1, frame, 50);
    EXPECT_EQ(0, std::memcmp(out.Data(), frame.Data(), frame.Bytes()));
}

TEST(EffectKernels, RefuseBadFramesAndWriteNothing) {
    TestFrame frame(8, 4);
    TestFrame out(8, 4);
    out.Fill(1, 2, 3);
    EXPECT_FALSE(NegativeFrame(nullptr, out.Data(), qel::imaging::PixelLayout{8, 4, frame.Stride(), 3}));
    EXPECT_FALSE(NegativeFrame(frame.Data(), out.Data(),
                               qel::imaging::PixelLayout{8, 4, 23, 3})); // rows shorter than 8 pixels
    EXPECT_FALSE(NegativeFrame(frame.Data(), out.Data(), qel::imaging::PixelLayout{0, 4, frame.Stride(), 3}));
    EXPECT_FALSE(
        BlackWhiteFrame(frame.Data(), out.Data(), qel::imaging::PixelLayout{8, 0, frame.Stride(), 3}));
    EXPECT_FALSE(
        BlackWhiteFrame(frame.Data(), out.Data(), qel::imaging::PixelLayout{8, 4, frame.Stride(), 1}));
    EXPECT_EQ(1, out.Pixel(0, 0)[0]);
}

TEST(EffectLayout, AcceptsOnlyFramesItCanAddress) {
    const qel::imaging::PixelLayout topDown{33, -19, 100, 3};
    EXPECT_TRUE(IsEffectLayout(topDown));
    EXPECT_EQ(static_cast<size_t>(18 * 100), PictureLineOffset(topDown, 0)); // line 0 is the bottom
    EXPECT_EQ(static_cast<size_t>(18 * 100),
              PictureLineOffset(qel::imaging::PixelLayout{33, 19, 100, 3}, 18));
    EXPECT_FALSE(IsEffectLayout(qel::imaging::PixelLayout{33, 19, 132, 4}));
    EXPECT_FALSE(IsEffectLayout(qel::imaging::PixelLayout{33, 19, 98, 3}));
    EXPECT_FALSE(IsEffectLayout(qel::imaging::PixelLayout{33, INT_MIN, 100, 3}));
    EXPECT_FALSE(
        IsEffectLayout(qel::imaging::PixelLayout{INT_MAX, 2, INT_MAX, 3})); // width x 3 beyond any stride
    EXPECT_FALSE(IsEffectLayout(qel::imaging::PixelLayout{0, 19, 100, 3}));
}

class EveryEffect : public testing::TestWithParam<int> {};

TEST_P(EveryEffect, UninitialisedReturnsZeroAndWritesNothing) {
    std::unique_ptr<CEffect> effect = CreateEffect(GetParam());
    TestFrame in(8, 4), out(8, 4);
    in.FillNoise(1);
    out.Fill(9, 9, 9);
    EXPECT_EQ(0, effect->Process(in.Data(), out.Data()));
    ASSERT_TRUE(effect->Init(8, 4, 3, 8, in.Stride(), kByteOrderBgr));
    effect->SetStrength(37);
    effect->Reset();
    EXPECT_FALSE(effect->IsInitialised());
    EXPECT_EQ(0, effect->Stride());
    EXPECT_EQ(37, effect->Strength());  // the strength outlives the format
    EXPECT_EQ(0, effect->Process(in.Data(), out.Data()));
    EXPECT_EQ(9, out.Pixel(3, 2)[1]);
    EXPECT_TRUE(out.GuardsIntact());
}

TEST_P(EveryEffect, RejectsFormatsItCannotProcess) {
    std::unique_ptr<CEffect> effect = CreateEffect(GetParam());
    EXPECT_FALSE(effect->Init(8, 4, 4, 8, 32, kByteOrderBgr));
    EXPECT_FALSE(effect->Init(8, 4, 3, 16, 24, kByteOrderBgr));
    EXPECT_FALSE(effect->Init(0, 4, 3, 8, 24, kByteOrderBgr));
    EXPECT_FALSE(effect->Init(8, 0, 3, 8, 24, kByteOrderBgr));
    EXPECT_FALSE(effect->Init(8, 4, 3, 8, 20, kByteOrderBgr));
    EXPECT_FALSE(effect->IsInitialised());
    EXPECT_EQ(0u, effect->FrameBytes());
}

TEST_P(EveryEffect, NullBuffersReturnZero) {
    TestFrame frame(5, 3);
    std::unique_ptr<CEffect> effect = MakeEffectFor(GetParam(), frame, 50);
    EXPECT_EQ(0, effect->Process(nullptr, frame.Data()));
    EXPECT_EQ(0, effect->Process(frame.Data(), nullptr));
}

INSTANTIATE_TEST_SUITE_P(AllIndices, EveryEffect, testing::Range(-1, kEffectCount));

// Every effect at odd, tiny and camera sizes, both orientations, padded rows: the guards hold and a
// top-down frame gets the same picture as the bottom-up one.
class EffectAtSize : public testing::TestWithParam<std::tuple<int, std::pair<int, int>>> {};

TEST_P(EffectAtSize, SamePictureInBothOrientations) {
    const int index = std::get<0>(GetParam());
    const auto [width, height] = std::get<1>(GetParam());
    TestFrame bottomUp(width, height);
    bottomUp.FillNoise(static_cast<uint32_t>(width * 31 + height));
    const int strength = index == 7 ? 80 : 50;
    TestFrame fromBottomUp = RunEffect(index, bottomUp, strength);
    TestFrame topDown = bottomUp.Flipped();
    TestFrame fromTopDown = RunEffect(index, topDown, strength);
    EXPECT_TRUE(fromTopDown.SamePicture(fromBottomUp)) << "effect " << index << " at " << width << "x" << height;
}

std::string SizeName(const testing::TestParamInfo<EffectAtSize::ParamType>& info) {
    const int index = std::get<0>(info.param);
    const auto size = std::get<1>(info.param);
    return "effect" + std::string(index < 0 ? "None" : std::to_string(index)) + "_" + std::to_string(size.first) +
           "x" + std::to_string(size.second);
}

INSTANTIATE_TEST_SUITE_P(
    OddTinyAndCameraSizes, EffectAtSize,
    // Snow is left out: its flakes are random.
    testing::Combine(testing::Values(-1, 0, 1, 2, 3, 4, 6, 7, 8),
                     testing::Values(std::make_pair(1, 1), std::make_pair(2, 3), std::make_pair(3, 2),
                                     std::make_pair(33, 19), std::make_pair(641, 5), std::make_pair(640, 480),
                                     std::make_pair(1280, 720))),
    SizeName);

// Rows padded well beyond the DIB rule: the picture is the same as with packed rows.
class EffectWithWideRows : public testing::TestWithParam<int> {};

TEST_P(EffectWithWideRows, GiveTheSamePictureAsPackedRows) {
    for (const auto& [width, height] : {std::make_pair(1, 1), std::make_pair(33, 19), std::make_pair(641, -5)}) {
        TestFrame packed(width, height);
        packed.FillRamp();
        TestFrame wide = TestFrame::WithStride(width, height, width * 3 + 13);
        for (int line = 0; line < packed.Lines(); ++line)
            std::memcpy(wide.Pixel(0, line), packed.Pixel(0, line), static_cast<size_t>(width) * 3);
        EXPECT_TRUE(RunEffect(GetParam(), wide, 50).SamePicture(RunEffect(GetParam(), packed, 50)))
            << width << "x" << height;
    }
}

INSTANTIATE_TEST_SUITE_P(AllIndices, EffectWithWideRows, testing::Range(-1, kEffectCount));

}  // namespace
