// Automatic tone and enhance: the tone table, the colour cube and the frame routine.
#include "qelimaging/auto_tone.h"
#include "test_frame.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace qel::imaging {
namespace {

using namespace autotone;
using testing::FrameShape;
using testing::KernelShapes;
using testing::PatternColour;
using testing::TestFrame;

TEST(AutoTone, SampleGridOfAbout128Points) {
    const SampleGrid vga = MakeSampleGrid(640, 480);
    EXPECT_EQ(vga.rowStep, 4);
    EXPECT_EQ(vga.columnStep, 6);
    EXPECT_EQ(vga.count, 120 * 106);
    EXPECT_EQ(MakeSampleGrid(0, 0).count, 0);
    EXPECT_EQ(MakeSampleGrid(1, 1).count, 1);
}

TEST(AutoTone, AFlatFrameGetsOnlyTheWidenedLevelsStretch) {
    // Levels 120..125: range 5, widened about 122 by 64 each side to 58..186; no equalisation.
    TestFrame frame(64, 64);
    frame.FillGrey([](int x, int y) { return 120 + (x + y) % 6; });
    std::uint8_t table[256];
    BuildToneTable(frame.Data(), frame.Layout(), 100, table);
    for (int x = 0; x < 256; ++x) {
        const int expected = x < 58 ? 0 : (x < 186 ? (x - 58) * 255 / 128 : 255);
        ASSERT_EQ(table[x], expected) << x;
    }
}

TEST(AutoTone, AUniformMidGreyFrameStaysMidGrey) {
    TestFrame frame(50, 40);
    frame.Fill([](int, int) { return Rgb{128, 128, 128}; });
    TestFrame out(frame);
    ASSERT_TRUE(AutoCorrectFrame(frame.Data(), out.Data(), frame.Layout(), 50, AutoCorrection::Tone));
    EXPECT_TRUE(out.PixelsEqual(frame));
    ASSERT_TRUE(AutoCorrectFrame(frame.Data(), out.Data(), frame.Layout(), 100, AutoCorrection::Enhance));
    EXPECT_NEAR(out.ColourAt(3, 3).green, 128, 1);
}

TEST(AutoTone, TwoLevelsAreEqualisedApart) {
    // Half the samples at 60, half at 180: window 35..205, levelled to 37 and 217, equalised to 74 and 178.
    TestFrame frame(64, 64);
    frame.FillGrey([](int x, int) { return x < 32 ? 60 : 180; });
    std::uint8_t full[256], half[256];
    BuildToneTable(frame.Data(), frame.Layout(), 100, full);
    BuildToneTable(frame.Data(), frame.Layout(), 50, half);
    EXPECT_EQ(full[60], 74);
    EXPECT_EQ(full[180], 178);
    EXPECT_EQ(half[60], 67);
    EXPECT_EQ(half[180], 179);
}

TEST(AutoTone, StrengthZeroLeavesEveryFrameUnchanged) {
    for (const FrameShape& shape : KernelShapes()) {
        for (AutoCorrection mode : {AutoCorrection::Tone, AutoCorrection::Enhance}) {
            TestFrame in(shape.width, shape.height, 3, shape.extraPadding);
            in.Fill([](int x, int y) { return PatternColour(x, y, 4); });
            TestFrame out(shape.width, shape.height, 3, shape.extraPadding);
            ASSERT_TRUE(AutoCorrectFrame(in.Data(), out.Data(), in.Layout(), 0, mode));
            EXPECT_TRUE(out.PixelsEqual(in));
            EXPECT_TRUE(out.PaddingIntact());
        }
    }
}

TEST(AutoTone, TheFrameIsMappedThroughItsOwnTableAtEveryShape) {
    for (const FrameShape& shape : KernelShapes()) {
        SCOPED_TRACE(::testing::Message() << shape.width << "x" << shape.height);
        TestFrame in(shape.width, shape.height, 3, shape.extraPadding);
        in.Fill([](int x, int y) {
            const Rgb c = PatternColour(x, y, 2);
            return Rgb{40 + c.red / 3, 50 + c.green / 3, 60 + c.blue / 4};
        });
        std::uint8_t table[256];
        BuildToneTable(in.Data(), in.Layout(), 70, table);
        TestFrame out(shape.width, shape.height, 3, shape.extraPadding);
        ASSERT_TRUE(AutoCorrectFrame(in.Data(), out.Data(), in.Layout(), 70, AutoCorrection::Tone));
        for (int y = 0; y < RowCount(in.Layout()); ++y) {
            for (int x = 0; x < shape.width; ++x) {
                ASSERT_EQ(out.ColourAt(x, y).red, table[in.ColourAt(x, y).red]);
                ASSERT_EQ(out.ColourAt(x, y).blue, table[in.ColourAt(x, y).blue]);
            }
        }
        EXPECT_TRUE(out.PaddingIntact());
        ASSERT_TRUE(AutoCorrectFrame(in.Data(), in.Data(), in.Layout(), 70, AutoCorrection::Enhance));
        EXPECT_TRUE(in.PaddingIntact());
    }
}

TEST(AutoEnhance, AGreyFrameStaysGrey) {
    TestFrame in(33, 19);
    in.FillGrey([](int x, int y) { return (x * 8 + y * 5) % 256; });
    ColourCube cube;
    BuildEnhanceCube(in.Data(), in.Layout(), 50, cube);
    ColourCube identity;
    InitCube(identity);
    EXPECT_TRUE(std::equal(&cube.nodes[0][0], &cube.nodes[0][0] + sizeof cube.nodes, &identity.nodes[0][0]));
    TestFrame out(33, 19);
    ASSERT_TRUE(AutoCorrectFrame(in.Data(), out.Data(), in.Layout(), 80, AutoCorrection::Enhance));
    for (int y = 0; y < 19; ++y) {
        for (int x = 0; x < 33; ++x) {
            const Rgb c = out.ColourAt(x, y);
            ASSERT_EQ(c.red, c.green);
            ASSERT_EQ(c.green, c.blue);
        }
    }
}

TEST(AutoEnhance, TheCubeRaisesSaturationAndTheStrengthScalesTheChange) {
    // A dull scene: colours of saturation about 40 of 128.
    TestFrame in(64, 64);
    in.Fill([](int x, int y) { return (x + y) % 2 ? Rgb{150, 110, 100} : Rgb{100, 120, 150}; });
    ColourCube computed, none, doubled;
    BuildEnhanceCube(in.Data(), in.Layout(), 50, computed);
    BuildEnhanceCube(in.Data(), in.Layout(), 0, none);
    BuildEnhanceCube(in.Data(), in.Layout(), 100, doubled);
    ColourCube identity;
    InitCube(identity);
    EXPECT_TRUE(std::equal(&none.nodes[0][0], &none.nodes[0][0] + sizeof none.nodes, &identity.nodes[0][0]));
    // Node (r 9, g 7, b 6) = (153, 119, 102): its red rises, its blue falls, twice as far at strength 100.
    const int n = ColourCube::Index(6, 7, 9);
    EXPECT_GT(computed.nodes[n][0], 153);
    EXPECT_LT(computed.nodes[n][2], 102);
    EXPECT_NEAR(doubled.nodes[n][0] - 153, 2 * (computed.nodes[n][0] - 153), 2);

    // At strength 50 the frame goes through exactly the computed cube (after the tone step).
    TestFrame toned(in), enhanced(in);
    ASSERT_TRUE(AutoCorrectFrame(in.Data(), toned.Data(), in.Layout(), 50, AutoCorrection::Tone));
    ASSERT_TRUE(AutoCorrectFrame(in.Data(), enhanced.Data(), in.Layout(), 50, AutoCorrection::Enhance));
    ColourCube fromToned;
    BuildEnhanceCube(toned.Data(), toned.Layout(), 50, fromToned);
    const Rgb expected = LookupCube(fromToned, toned.ColourAt(1, 0));
    EXPECT_EQ(enhanced.ColourAt(1, 0).red, expected.red);
    EXPECT_EQ(enhanced.ColourAt(1, 0).blue, expected.blue);
}

// Enhance as two steps: the frame through its tone table, the cube measured on that toned frame, then
// every pixel through the cube by the plain lookup.
TestFrame TwoStepEnhance(const TestFrame& in, int strength) {
    Lut tone;
    tone.channels = 1;
    BuildToneTable(in.Data(), in.Layout(), strength, tone.table[0]);
    TestFrame out(in);
    EXPECT_TRUE(ApplyLut(in.Data(), out.Data(), in.Layout(), nullptr, tone));
    ColourCube cube;
    BuildEnhanceCube(out.Data(), out.Layout(), strength, cube);
    for (int y = 0; y < RowCount(in.Layout()); ++y) {
        for (int x = 0; x < in.Layout().width; ++x) {
            out.SetColour(x, y, LookupCube(cube, out.ColourAt(x, y)));
        }
    }
    return out;
}

TEST(AutoEnhance, OnePassEqualsToneThenCubeWhateverFramesAndStrengthsFollow) {
    // Pictures of different saturation (and a grey one, whose cube is the identity) in turn, so that a
    // cube kept from the frame before must be built again whenever it no longer fits.
    TestFrame colourful(67, 41), dull(67, 41), grey(67, 41);
    colourful.Fill([](int x, int y) { return PatternColour(x, y, 7); });
    dull.Fill([](int x, int y) {
        const Rgb c = PatternColour(x, y, 8);
        return Rgb{90 + c.red / 4, 100 + c.green / 5, 95 + c.blue / 4};
    });
    grey.Fill([](int x, int y) {
        const int v = (x * 9 + y * 4) % 256;
        return Rgb{v, v, v};
    });
    const struct {
        const TestFrame* frame;
        int strength;
    } runs[] = {{&colourful, 50}, {&dull, 50},  {&colourful, 50}, {&colourful, 100}, {&colourful, 30},
                {&grey, 80},      {&dull, 100}, {&dull, 100},     {&colourful, 1}};
    const auto kept = std::make_unique<EnhanceTables>();
    int run = 0;
    for (const auto& r : runs) {
        SCOPED_TRACE(::testing::Message() << "run " << run++);
        const TestFrame expected = TwoStepEnhance(*r.frame, r.strength);
        TestFrame once(*r.frame), fresh(*r.frame);
        ASSERT_TRUE(AutoCorrectFrame(r.frame->Data(), once.Data(), r.frame->Layout(), r.strength,
                                     AutoCorrection::Enhance, kept.get()));
        EXPECT_EQ(once.MaxDifference(expected), 0);
        EXPECT_TRUE(once.PaddingIntact());
        ASSERT_TRUE(AutoCorrectFrame(r.frame->Data(), fresh.Data(), r.frame->Layout(), r.strength,
                                     AutoCorrection::Enhance));
        EXPECT_EQ(fresh.MaxDifference(expected), 0) << "without kept tables";
    }
    EXPECT_EQ(EnhanceGain(grey.Data(), grey.Layout()), -1);
    EXPECT_GT(EnhanceGain(dull.Data(), dull.Layout()), EnhanceGain(colourful.Data(), colourful.Layout()))
        << "the duller picture is raised more";
}

TEST(AutoEnhance, RaiseSaturationKeepsGreysAndHue) {
    const Rgb grey = RaiseSaturation(Rgb{77, 77, 77}, 96);
    EXPECT_EQ(grey.red, 77);
    const Rgb raised = RaiseSaturation(Rgb{170, 85, 85}, 96);
    EXPECT_GT(raised.red, 170);
    EXPECT_LT(raised.green, 85);
    EXPECT_EQ(raised.green, raised.blue) << "a pure red hue stays red";
}

TEST(AutoTone, BadArguments) {
    TestFrame grey(8, 8, 1);
    EXPECT_FALSE(AutoCorrectFrame(grey.Data(), grey.Data(), grey.Layout(), 50, AutoCorrection::Tone));
    TestFrame in(8, 8);
    EXPECT_FALSE(AutoCorrectFrame(nullptr, in.Data(), in.Layout(), 50, AutoCorrection::Tone));
    PixelLayout empty = in.Layout();
    empty.width = 0;
    EXPECT_TRUE(AutoCorrectFrame(in.Data(), in.Data(), empty, 50, AutoCorrection::Enhance))
        << "no pixels, no work";
    EXPECT_EQ(BrighteningCurve()[255], 255);
    EXPECT_EQ(BrighteningCurve()[128], 144);
}

} // namespace
} // namespace qel::imaging
