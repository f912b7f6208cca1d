// Image strips read back from a 32-bit target: frame choice, the six modes, nine-slice parts, and
// strips that have no usable frame.
#include <gtest/gtest.h>

#include "image_test_support.h"
#include "png_fixture.h"

using namespace Gdiplus;

namespace {

constexpr ARGB kBackground = 0xFF102030;

ARGB FrameColour(int frame) { return 0xFF000000u | (static_cast<ARGB>(50 + frame * 60) << 16) | 0x3377; }

// A strip of `count` frames of size w x h, each frame one solid colour.
std::unique_ptr<CImageArray> SolidStrip(int count, int w, int h) {
    auto strip = std::make_unique<CImageArray>(count * w, h, PixelFormat32bppARGB, 0xFF000000);
    strip->SetCount(count);
    for (int frame = 0; frame < count; ++frame) {
        std::vector<ARGB> block(static_cast<size_t>(w) * h, FrameColour(frame));
        strip->PutBlock(frame * w, 0, frame * w + w - 1, h - 1, reinterpret_cast<BYTE*>(block.data()), PixelFormat32bppARGB);
    }
    return strip;
}

// One 30 x 30 frame (placed as frame 1 of 2) whose nine regions for insets of 10 have their own colours.
ARGB RegionColour(int column, int row) { return 0xFF000000u | (static_cast<ARGB>(30 + column * 90) << 16) | (static_cast<ARGB>(30 + row * 90) << 8); }

std::unique_ptr<CImageArray> NineRegionStrip() {
    auto strip = std::make_unique<CImageArray>(60, 30, PixelFormat32bppARGB, 0xFFFFFFFF); // frame 0 white
    strip->SetCount(2);
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column) {
            std::vector<ARGB> block(100, RegionColour(column, row));
            strip->PutBlock(30 + column * 10, row * 10, 39 + column * 10, row * 10 + 9, reinterpret_cast<BYTE*>(block.data()),
                            PixelFormat32bppARGB);
        }
    strip->SetBorder(10, 10, 10, 10);
    return strip;
}

} // namespace

TEST(ImageStrip, FrameGeometryAndOutOfRangeIndexes) {
    auto strip = SolidStrip(4, 30, 20);
    EXPECT_EQ(4, strip->GetCount());
    EXPECT_EQ(30, strip->GetItemWidth());
    EXPECT_EQ(20, strip->GetItemHeight());
    EXPECT_EQ(CRect(0, 0, 30, 20), strip->GetItemRect());

    for (int index : {4, -1, 0}) {
        ImagePtr target = SolidImage(40, 30, kBackground);
        Graphics graphics(target.get());
        EXPECT_EQ(1, strip->Draw(graphics, 0, 0, 30, 20, index, 0, SRCCOPY));
        EXPECT_EQ(FrameColour(0), PixelOf(*target, 15, 10)) << index;
        EXPECT_EQ(FrameColour(0), PixelOf(*target, 29, 19)) << index;
        EXPECT_EQ(kBackground, PixelOf(*target, 30, 10)) << index;
    }
    ImagePtr target = SolidImage(40, 30, kBackground);
    Graphics graphics(target.get());
    strip->Draw(graphics, 0, 0, 30, 20, 3, 0, SRCCOPY);
    EXPECT_EQ(FrameColour(3), PixelOf(*target, 0, 0));
    EXPECT_EQ(FrameColour(3), PixelOf(*target, 29, 19));
}

TEST(ImageStrip, CentredFrameOverhangsASmallerTarget) {
    CImageArray strip(30, 30, PixelFormat32bppARGB, 0);
    ImagePtr coordinates = CoordinateImage(30, 30);
    coordinates->Draw(strip, 0, 0, 30, 30);
    ImagePtr target = SolidImage(40, 40, kBackground);
    Graphics graphics(target.get());
    strip.Draw(graphics, 0, 0, 20, 20, 0, 1, SRCCOPY);
    EXPECT_EQ(CoordinateColour(5, 5), PixelOf(*target, 0, 0));
    EXPECT_EQ(CoordinateColour(29, 29), PixelOf(*target, 24, 24));
    EXPECT_EQ(kBackground, PixelOf(*target, 25, 25));
}

TEST(ImageStrip, TiledFramesReachPastTheTarget) {
    auto strip = SolidStrip(2, 30, 30);
    ImagePtr target = SolidImage(80, 80, kBackground);
    Graphics graphics(target.get());
    strip->Draw(graphics, 0, 0, 50, 40, 1, 2, SRCCOPY);
    EXPECT_EQ(FrameColour(1), PixelOf(*target, 0, 0));
    EXPECT_EQ(FrameColour(1), PixelOf(*target, 59, 59));
    EXPECT_EQ(kBackground, PixelOf(*target, 60, 30));
    EXPECT_EQ(kBackground, PixelOf(*target, 30, 60));
}

TEST(ImageStrip, StretchedFrameFillsTheTarget) {
    auto strip = SolidStrip(3, 10, 10);
    DibTarget target(60, 40, RGB(0x10, 0x20, 0x30));
    RECT rect = {5, 5, 55, 35};
    strip->Draw(target.Dc(), rect, 2, 3, SRCCOPY);
    // Scaling blends the outermost pixels with what lies outside the source; the inside is exact.
    EXPECT_EQ(FrameColour(2) & 0xFFFFFF, target.RgbAt(8, 8));
    EXPECT_EQ(FrameColour(2) & 0xFFFFFF, target.RgbAt(30, 20));
    EXPECT_EQ(FrameColour(2) & 0xFFFFFF, target.RgbAt(44, 27));
    EXPECT_EQ(0x102030u, target.RgbAt(55, 35));
    EXPECT_EQ(0x102030u, target.RgbAt(4, 20));
}

TEST(ImageStrip, UnknownModesDrawNothing) {
    auto strip = SolidStrip(1, 10, 10);
    ImagePtr target = SolidImage(20, 20, kBackground);
    Graphics graphics(target.get());
    EXPECT_EQ(1, strip->Draw(graphics, 0, 0, 20, 20, 0, 4, SRCCOPY));
    EXPECT_EQ(1, strip->Draw(graphics, 0, 0, 20, 20, 0, 7, SRCCOPY));
    EXPECT_EQ(kBackground, PixelOf(*target, 5, 5));
}

// Modes 5 (tiled) and 6 (stretched) put every region of the frame in its place.
class NineSlice : public ::testing::TestWithParam<int> {};

TEST_P(NineSlice, RegionsLandInTheirPlaces) {
    auto strip = NineRegionStrip();
    ImagePtr target = SolidImage(120, 100, kBackground);
    Graphics graphics(target.get());
    EXPECT_EQ(1, strip->Draw(graphics, 5, 5, 100, 80, 1, GetParam(), SRCCOPY));
    // (x, y) probes inside each of the nine destination regions: corners 10 x 10, edges and centre between.
    const int xs[3] = {9, 55, 100};
    const int ys[3] = {9, 45, 80};
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            EXPECT_EQ(RegionColour(column, row), PixelOf(*target, xs[column], ys[row]))
                << "mode " << GetParam() << " region " << column << "," << row;
    EXPECT_EQ(RegionColour(0, 0), PixelOf(*target, 5, 5));
    EXPECT_EQ(RegionColour(2, 2), PixelOf(*target, 104, 84));
    EXPECT_EQ(kBackground, PixelOf(*target, 105, 50));
    EXPECT_EQ(kBackground, PixelOf(*target, 50, 85));
    EXPECT_EQ(kBackground, PixelOf(*target, 4, 50));
}

INSTANTIATE_TEST_SUITE_P(TiledAndStretched, NineSlice, ::testing::Values(5, 6));

TEST(ImageStrip, StretchedNineSliceTooSmallForItsInsetsStretchesTheWholeFrame) {
    auto strip = NineRegionStrip();
    ImagePtr target = SolidImage(40, 60, kBackground);
    Graphics graphics(target.get());
    strip->Draw(graphics, 0, 0, 15, 40, 1, 6, SRCCOPY);
    // The whole 30 x 30 frame squeezed to 15 x 40: each region keeps its third of the target.
    EXPECT_EQ(RegionColour(0, 0), PixelOf(*target, 1, 3));
    EXPECT_EQ(RegionColour(2, 2), PixelOf(*target, 12, 36));
    EXPECT_EQ(RegionColour(1, 1), PixelOf(*target, 7, 20));
    EXPECT_EQ(kBackground, PixelOf(*target, 15, 20));
}

TEST(ImageStrip, CornersDrawOnlyWhereBothInsetsArePositive) {
    // Frame: white with a black 8 x 8 bottom-right corner; insets right 8 and bottom 8 only.
    CImageArray strip(30, 30, PixelFormat32bppARGB, 0xFFFFFFFF);
    std::vector<ARGB> black(64, 0xFF000000);
    strip.PutBlock(22, 22, 29, 29, reinterpret_cast<BYTE*>(black.data()), PixelFormat32bppARGB);
    CBorder border(0, 0, 8, 8);
    strip.SetBorder(border);
    ImagePtr target = SolidImage(70, 70, kBackground);
    Graphics graphics(target.get());
    strip.Draw(graphics, 0, 0, 60, 60, 0, 6, SRCCOPY);
    EXPECT_EQ(0xFF000000u, PixelOf(*target, 52, 52));
    EXPECT_EQ(0xFF000000u, PixelOf(*target, 59, 59));
    EXPECT_EQ(0xFFFFFFFFu, PixelOf(*target, 0, 0));   // no top-left corner: the centre reaches here
    EXPECT_EQ(0xFFFFFFFFu, PixelOf(*target, 20, 20));
    EXPECT_EQ(kBackground, PixelOf(*target, 60, 60));
}

TEST(ImageStrip, StripsWithoutAUsableFrameReturnAtOnce) {
    ImagePtr target = SolidImage(40, 40, kBackground);
    Graphics graphics(target.get());

    CImageArray zeroCount(30, 10, PixelFormat32bppARGB, 0xFFFF0000);
    zeroCount.SetCount(0);
    EXPECT_EQ(1, zeroCount.GetCount());
    EXPECT_EQ(30, zeroCount.GetItemWidth());

    CImageArray narrow(3, 10, PixelFormat32bppARGB, 0xFFFF0000); // 4 frames of width 0
    narrow.SetCount(4);
    EXPECT_EQ(0, narrow.GetItemWidth());
    for (int mode = 0; mode <= 7; ++mode)
        EXPECT_EQ(1, narrow.Draw(graphics, 0, 0, 40, 40, 0, mode, SRCCOPY)) << mode;

    TestFolder folder;
    ASSERT_TRUE(WriteBytes(folder.File("broken.bmp"), {'B', 'M', 0, 1, 2}));
    CBorder border(2, 2, 2, 2);
    CImageArray broken(folder.File("broken.bmp").c_str(), 0, &border);
    EXPECT_EQ(0u, broken.Width());
    EXPECT_EQ(1, broken.GetCount());
    EXPECT_EQ(2, broken.GetBorder().right);
    for (int mode = 0; mode <= 7; ++mode)
        EXPECT_EQ(1, broken.Draw(graphics, 0, 0, 40, 40, 0, mode, SRCCOPY)) << mode;
    EXPECT_EQ(kBackground, PixelOf(*target, 20, 20));
}

TEST(ImageStrip, FileAndGdiConstructors) {
    TestFolder folder;
    auto source = SolidStrip(3, 8, 6);
    ASSERT_EQ(1, source->Save(folder.File("strip.png").c_str(), nullptr));
    CBorder border(1, 2, 3, 4);
    CImageArray fromFile(folder.File("strip.png").c_str(), 3, &border);
    EXPECT_EQ(8, fromFile.GetItemWidth());
    EXPECT_EQ(4, fromFile.GetBorder().bottom);
    CImageArray noBorder(folder.File("strip.png").c_str(), 3, nullptr);
    EXPECT_EQ(0, noBorder.GetBorder().left);

    HBITMAP gdi = CreateBitmap(12, 5, 1, 32, nullptr);
    CImageArray fromGdi(gdi);
    EXPECT_EQ(12u, fromGdi.Width());
    EXPECT_EQ(1, fromGdi.GetCount());
    DeleteObject(gdi);
}

TEST(Border, ConstructionAndAssignment) {
    RECT rect = {1, 2, 3, 4};
    CBorder fromRect(&rect);
    EXPECT_EQ(1, fromRect.left);
    EXPECT_EQ(2, fromRect.top);
    EXPECT_EQ(3, fromRect.right);
    EXPECT_EQ(4, fromRect.bottom);
    CBorder assigned;
    EXPECT_EQ(0, assigned.right);
    assigned = CRect(5, 6, 7, 8);
    EXPECT_EQ(5, assigned.left);
    EXPECT_EQ(8, assigned.bottom);
    static_assert(sizeof(CBorder) == 16, "four 32-bit ints");
}
