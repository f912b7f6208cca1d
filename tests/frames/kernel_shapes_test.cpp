// Every frame kernel over every shared frame shape: nothing written outside the pixels (guards and
// row padding keep their sentinel), the source left as it was, the same result as on the same picture
// in a plain aligned bottom-up frame, and the kernel's independent reference where it has one.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

#include "core/contrast_brightness_frame.h"
#include "core/effect_layout.h"
#include "core/flip_kernel.h"
#include "core/overlay_blend.h"
#include "core/rotate_kernel.h"
#include "core/stamp_paint.h"
#include "core/stamp_renderer.h"
#include "core/zoom_plan.h"
#include "core/zoom_scaler.h"
#include "kernel_cases.h"

namespace {

using kernelcases::KernelCase;
using kernelcases::RowOrder;
using qel::testing::FrameShape;

const std::vector<KernelCase>& Cases() {
    static const std::vector<KernelCase> cases = kernelcases::AllKernels();
    return cases;
}

// The rows a kernel of this order is compared by: buffer rows, or picture lines.
const std::uint8_t* RowOf(const TestFrame& frame, RowOrder order, int index) {
    return order == RowOrder::Buffer ? frame.At(0, index) : frame.Pixel(0, index);
}

// The first row (in the kernel's order) where the pixels differ, or -1.
int FirstDifferentRow(const TestFrame& a, const TestFrame& b, RowOrder order) {
    for (int i = 0; i < a.Lines(); ++i)
        if (std::memcmp(RowOf(a, order, i), RowOf(b, order, i), static_cast<std::size_t>(a.Width()) * 3) != 0)
            return i;
    return -1;
}

// The same picture as `frame` in a plain frame: aligned, bottom-up, DIB rows. Rows are carried over in
// the kernel's order, so that the kernel must give the same rows back.
TestFrame PlainCopy(const TestFrame& frame, RowOrder order) {
    TestFrame plain(FrameShape{frame.Width(), frame.Lines()});
    for (int i = 0; i < frame.Lines(); ++i)
        std::memcpy(const_cast<std::uint8_t*>(RowOf(plain, order, i)), RowOf(frame, order, i),
                    static_cast<std::size_t>(frame.Width()) * 3);
    return plain;
}

// One kernel a test (each test is a process of its own under Wine), every shape within it.
class EveryKernel : public ::testing::TestWithParam<int> {
protected:
    const KernelCase& Kernel() const { return Cases()[static_cast<std::size_t>(GetParam())]; }
};

TEST_P(EveryKernel, WritesOnlyPixelsOnEveryShapeAndGivesThePlainFramesResult) {
    const KernelCase& kernel = Kernel();
    for (const FrameShape& shape : qel::testing::KernelShapes()) {
        SCOPED_TRACE(qel::testing::ShapeName(shape));
        TestFrame in(shape);
        in.Fill([](int x, int row) { return qel::testing::PatternColour(x, row, 3); });
        const TestFrame original = in;

        TestFrame out = in.Blank();
        ASSERT_TRUE(kernel.run(in, out));
        EXPECT_TRUE(out.GuardsIntact()) << "wrote outside the pixels";
        EXPECT_TRUE(in.GuardsIntact() && in.PixelsEqual(original)) << "changed its source";

        const TestFrame plainIn = PlainCopy(in, kernel.order);
        TestFrame plainOut = plainIn.Blank();
        ASSERT_TRUE(kernel.run(plainIn, plainOut));
        EXPECT_EQ(-1, FirstDifferentRow(out, plainOut, kernel.order))
            << "differs from the plain frame's result";

        if (kernel.reference) {
            TestFrame expected = in.Blank();
            kernel.reference(in, expected);
            EXPECT_EQ(0, out.MaxDifference(expected)) << "differs from the reference";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Kernels, EveryKernel, ::testing::Range(0, static_cast<int>(Cases().size())),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return Cases()[static_cast<std::size_t>(info.param)].name;
                         });

// A height of INT_MIN has no row count (its absolute value does not exist): every kernel refuses it
// before computing one, and writes nothing.
TEST(KernelLayouts, RefuseAHeightWithoutARowCount) {
    TestFrame frame(8, 4);
    frame.FillNoise(2);
    const TestFrame original = frame;
    const qel::imaging::PixelLayout noRows{8, INT_MIN, frame.Stride(), 3};
    std::uint8_t* pixels = frame.Data();

    const ZoomPlan plan = BuildZoomPlan(150, &noRows);
    EXPECT_FALSE(plan.formatKnown);
    EXPECT_FALSE(ScaleZoomFrame(pixels, pixels, noRows, plan.columns, plan.rows));
    OverlayImage overlay;
    overlay.width = 8;
    overlay.height = 4;
    overlay.pixels.assign(8 * 4 * 4, 255);
    EXPECT_FALSE(BlendOverlayFrame(original.Data(), pixels, noRows, overlay));
    StampMask mask;
    mask.width = mask.height = 2;
    mask.coverage.assign(4, 255);
    EXPECT_FALSE(PaintStampMask(pixels, noRows, mask, StampPoint{0, 0}, StampColour{}));
    EXPECT_FALSE(FlipFrame(original.Data(), pixels, noRows, FlipParams{true, true}));
    EXPECT_FALSE(RotateFrame(original.Data(), pixels, noRows, RotateParams{90, kRotateCut, 0}));
    EXPECT_FALSE(CContrastBrightnessFrame().Process(original.Data(), pixels, noRows));
    EXPECT_FALSE(IsEffectLayout(noRows));

    struct OneBoxRasteriser : StampRasteriser {
        bool Rasterise(const std::string&, int, StampMask& out) override {
            out.width = out.height = 2;
            out.coverage.assign(4, 255);
            return true;
        }
    } rasteriser;
    StampRenderer renderer;
    EXPECT_FALSE(renderer.Draw(pixels, frame.Bytes(), noRows, "12:00", StampSettings{}, rasteriser));

    EXPECT_TRUE(frame.PixelsEqual(original) && frame.GuardsIntact());
}

// The frame itself: the checks above are only as good as its guards.
TEST(GuardedTestFrame, NoticesWritesIntoPaddingAndGuardsButNotIntoPixels) {
    for (const FrameShape& shape : qel::testing::KernelShapes()) {
        SCOPED_TRACE(qel::testing::ShapeName(shape));
        TestFrame frame(shape);
        frame.FillNoise(1);
        EXPECT_TRUE(frame.GuardsIntact());
        frame.Data()[-1] ^= 1;
        EXPECT_FALSE(frame.GuardsIntact()) << "a write just before the frame";
        frame.Data()[-1] ^= 1;
        const int padding = frame.Stride() - frame.Width() * 3;
        if (padding > 0) {
            frame.At(frame.Width(), frame.Lines() - 1)[padding - 1] ^= 1;
            EXPECT_FALSE(frame.GuardsIntact()) << "a write into the last row's padding";
        }
    }
}

TEST(GuardedTestFrame, UnalignedShapesStartOffEveryAlignmentAndFlippedKeepsThePicture) {
    for (const FrameShape& shape : qel::testing::KernelShapes()) {
        SCOPED_TRACE(qel::testing::ShapeName(shape));
        TestFrame frame(shape);
        EXPECT_EQ(shape.unaligned, reinterpret_cast<std::uintptr_t>(frame.Data()) % 2 == 1);
        frame.FillNoise(4);
        const TestFrame flipped = frame.Flipped();
        EXPECT_EQ(-shape.height, flipped.Height());
        EXPECT_TRUE(flipped.SamePicture(frame));
        EXPECT_EQ(shape.height == 1 || shape.height == -1, flipped.PixelsEqual(frame));
    }
}

} // namespace
