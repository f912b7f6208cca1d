// CImage drawing read back from 32-bit target images: display modes, drawing into the three kinds of
// target, tiling, text, and proportional fitting.
#include <gtest/gtest.h>

#include <cstdlib>

#include "image_test_support.h"

using namespace Gdiplus;

namespace {

constexpr ARGB kBackground = 0xFF102030;

// A 30 x 30 image of nine 10 x 10 solid cells, cell (column, row) coloured CellColour(column, row).
ARGB CellColour(int column, int row) { return 0xFF000000u | (static_cast<ARGB>(40 + column * 80) << 16) | (static_cast<ARGB>(40 + row * 80) << 8) | 0x99; }

ImagePtr NineCellImage(int cell = 10) {
    ImagePtr image = SolidImage(3 * cell, 3 * cell, 0);
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column) {
            std::vector<ARGB> block(static_cast<size_t>(cell) * cell, CellColour(column, row));
            image->PutBlock(column * cell, row * cell, column * cell + cell - 1, row * cell + cell - 1,
                            reinterpret_cast<BYTE*>(block.data()), PixelFormat32bppARGB);
        }
    return image;
}

} // namespace

TEST(ImageDisplay, NaturalSizeIsClippedToTheRectangle) {
    ImagePtr image = CoordinateImage(100, 50);
    ImagePtr target = SolidImage(120, 100, kBackground);
    Graphics graphics(target.get());
    image->Display(graphics, 0, 0, 60, 80, 0);
    EXPECT_EQ(CoordinateColour(0, 0), PixelOf(*target, 0, 0));
    EXPECT_EQ(CoordinateColour(59, 49), PixelOf(*target, 59, 49));
    EXPECT_EQ(kBackground, PixelOf(*target, 60, 0));
    EXPECT_EQ(kBackground, PixelOf(*target, 0, 50));
}

TEST(ImageDisplay, CentredAtNaturalSize) {
    ImagePtr image = CoordinateImage(100, 50);
    ImagePtr target = SolidImage(200, 200, kBackground);
    Graphics graphics(target.get());
    RECT rect = {0, 0, 200, 200};
    image->Display(graphics, &rect, 1);
    EXPECT_EQ(CoordinateColour(0, 0), PixelOf(*target, 50, 75));
    EXPECT_EQ(CoordinateColour(99, 49), PixelOf(*target, 149, 124));
    EXPECT_EQ(kBackground, PixelOf(*target, 49, 75));
    EXPECT_EQ(kBackground, PixelOf(*target, 150, 125));
}

TEST(ImageDisplay, TiledWholeImagesReachPastTheRectangle) {
    ImagePtr image = CoordinateImage(30, 30);
    ImagePtr target = SolidImage(80, 80, kBackground);
    Graphics graphics(target.get());
    image->Display(graphics, 0, 0, 50, 40, 2);
    EXPECT_EQ(CoordinateColour(0, 0), PixelOf(*target, 30, 30));
    EXPECT_EQ(CoordinateColour(29, 29), PixelOf(*target, 59, 59));
    EXPECT_EQ(kBackground, PixelOf(*target, 60, 10));
    EXPECT_EQ(kBackground, PixelOf(*target, 10, 60));
}

TEST(ImageDisplay, FittedKeepsProportionsAtTheTopLeft) {
    ImagePtr image = SolidImage(400, 300, 0xFFAA5500);
    ImagePtr target = SolidImage(240, 240, kBackground);
    Graphics graphics(target.get());
    image->Display(graphics, 10, 10, 200, 200, 4);
    EXPECT_EQ(0xFFAA5500u, PixelOf(*target, 11, 11));
    EXPECT_EQ(0xFFAA5500u, PixelOf(*target, 208, 158));
    EXPECT_EQ(kBackground, PixelOf(*target, 100, 161));
    EXPECT_EQ(kBackground, PixelOf(*target, 211, 100));
}

TEST(ImageDisplay, NineCellsByThirds) {
    ImagePtr image = NineCellImage();
    ImagePtr target = SolidImage(100, 100, kBackground);
    Graphics graphics(target.get());
    image->Display(graphics, 0, 0, 100, 100, 5);
    EXPECT_EQ(CellColour(0, 0), PixelOf(*target, 5, 5));
    EXPECT_EQ(CellColour(2, 0), PixelOf(*target, 95, 5));
    EXPECT_EQ(CellColour(0, 2), PixelOf(*target, 5, 95));
    EXPECT_EQ(CellColour(2, 2), PixelOf(*target, 95, 95));
    EXPECT_EQ(CellColour(1, 0), PixelOf(*target, 50, 5));
    EXPECT_EQ(CellColour(0, 1), PixelOf(*target, 5, 50));
    EXPECT_EQ(CellColour(1, 1), PixelOf(*target, 50, 50));
    EXPECT_EQ(CellColour(2, 1), PixelOf(*target, 95, 50));
    EXPECT_EQ(CellColour(1, 2), PixelOf(*target, 50, 95));
}

TEST(ImageDisplay, ImagesWithoutCellsOrSizeDrawNothingAndReturn) {
    ImagePtr target = SolidImage(40, 40, kBackground);
    Graphics graphics(target.get());
    ImagePtr tiny = SolidImage(2, 2, 0xFFFFFFFF);
    tiny->Display(graphics, 0, 0, 40, 40, 5);
    CImage empty;
    empty.Display(graphics, 0, 0, 40, 40, 2);
    empty.Display(graphics, 0, 0, 40, 40, 5);
    tiny->Display(graphics, 0, 0, 40, 40, 6);
    tiny->Display(graphics, 0, 0, 40, 40, -1);
    for (int y = 0; y < 40; y += 13)
        for (int x = 0; x < 40; x += 13)
            EXPECT_EQ(kBackground, PixelOf(*target, x, y)) << x << "," << y;
}

TEST(ImageDisplay, TheThreeTargetsGiveTheSamePixels) {
    ImagePtr image = NineCellImage();
    // Through a graphics on an image, a device context, and the image-target drawing member.
    ImagePtr viaGraphics = SolidImage(70, 50, kBackground);
    {
        Graphics graphics(viaGraphics.get());
        image->DrawImage(graphics, 5, 5, 60, 40, 0, 0, 30, 30);
    }
    ImagePtr viaImage = SolidImage(70, 50, kBackground);
    image->DrawImage(*viaImage, 5, 5, 60, 40, 0, 0, 30, 30);
    DibTarget viaDc(70, 50, RGB(0x10, 0x20, 0x30));
    image->DrawImage(viaDc.Dc(), 5, 5, 60, 40, 0, 0, 30, 30);
    // Blended edge pixels may round differently on a device context: one step per channel at most.
    auto withinOneStep = [](DWORD a, DWORD b) {
        for (int shift = 0; shift < 24; shift += 8)
            if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > 1)
                return false;
        return true;
    };
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 70; ++x) {
            ASSERT_EQ(PixelOf(*viaGraphics, x, y), PixelOf(*viaImage, x, y)) << x << "," << y;
            ASSERT_PRED2(withinOneStep, PixelOf(*viaGraphics, x, y) & 0x00FFFFFF, viaDc.RgbAt(x, y)) << x << "," << y;
        }
    EXPECT_EQ(CellColour(1, 1) & 0x00FFFFFF, viaDc.RgbAt(35, 25));
    // Display through a device context draws the same as through a graphics.
    DibTarget displayed(100, 100, RGB(0x10, 0x20, 0x30));
    RECT rect = {0, 0, 100, 100};
    image->Display(displayed.Dc(), &rect, 5);
    EXPECT_EQ(CellColour(2, 2) & 0x00FFFFFF, displayed.RgbAt(95, 95));
    EXPECT_EQ(CellColour(1, 1) & 0x00FFFFFF, displayed.RgbAt(50, 50));
}

TEST(ImageDrawing, WholeImageIntoARectangleOfAnother) {
    ImagePtr image = SolidImage(4, 4, 0xFF00FF00);
    ImagePtr target = SolidImage(20, 20, kBackground);
    RECT rect = {2, 3, 12, 13};
    image->Draw(*target, rect);
    // Scaling blends the outermost pixels with what lies outside the source; the inside is exact.
    EXPECT_EQ(0xFF00FF00u, PixelOf(*target, 4, 5));
    EXPECT_EQ(0xFF00FF00u, PixelOf(*target, 9, 10));
    EXPECT_EQ(kBackground, PixelOf(*target, 12, 13));
    EXPECT_EQ(kBackground, PixelOf(*target, 1, 3));
}

TEST(ImageDrawing, TileRepeatsTheSourceFromTheDestinationsCorner) {
    ImagePtr image = CoordinateImage(20, 20);
    ImagePtr target = SolidImage(60, 40, kBackground);
    Graphics graphics(target.get());
    image->TileImage(graphics, 7, 3, 40, 30, 4, 5, 10, 8);
    EXPECT_EQ(CoordinateColour(4, 5), PixelOf(*target, 7, 3));
    EXPECT_EQ(CoordinateColour(4, 5), PixelOf(*target, 17, 11));
    EXPECT_EQ(CoordinateColour(13, 12), PixelOf(*target, 16, 10));
    EXPECT_EQ(CoordinateColour(9, 6), PixelOf(*target, 42, 4));
    EXPECT_EQ(kBackground, PixelOf(*target, 47, 3));
    EXPECT_EQ(kBackground, PixelOf(*target, 7, 33));
}

TEST(ImageDrawing, StringWithLengthMinusOneDrawsTheWholeText) {
    FontFamily family(L"Tahoma");
    if (family.GetLastStatus() != Ok)
        GTEST_SKIP() << "Tahoma is not installed in this prefix";
    Font font(&family, 16, FontStyleRegular, UnitPixel);
    SolidBrush brush(Color(0xFF000000));
    auto inkColumns = [](CImage& image) {
        int last = -1;
        for (int x = 0; x < static_cast<int>(image.Width()); ++x)
            for (int y = 0; y < static_cast<int>(image.Height()); ++y)
                if ((PixelOf(image, x, y) & 0x00FFFFFF) != 0x00FFFFFF)
                    last = x;
        return last;
    };
    ImagePtr whole = SolidImage(120, 30, 0xFFFFFFFF);
    ImagePtr counted = SolidImage(120, 30, 0xFFFFFFFF);
    ImagePtr first = SolidImage(120, 30, 0xFFFFFFFF);
    CImage painter;
    painter.DrawString(*whole, L"WWW", -1, &font, PointF(2, 2), nullptr, &brush);
    painter.DrawString(*counted, L"WWW", 3, &font, PointF(2, 2), nullptr, &brush);
    painter.DrawString(*first, L"WWW", 1, &font, PointF(2, 2), nullptr, &brush);
    EXPECT_EQ(inkColumns(*counted), inkColumns(*whole));
    EXPECT_GT(inkColumns(*whole), inkColumns(*first) + 10);
}

TEST(ImageFitting, ShrinkIntoTargetCentred) {
    CImage image;
    CRect target(0, 0, 200, 200);
    image.ShrinkPropRect(CRect(0, 0, 400, 300), target, 1, 0);
    EXPECT_EQ(CRect(0, 25, 200, 175), target);

    CRect notCentred(10, 10, 210, 210);
    image.ShrinkPropRect(CRect(0, 0, 400, 300), notCentred, 0, 1);
    EXPECT_EQ(CRect(10, 10, 210, 160), notCentred);

    CRect small(0, 0, 160, 120); // a smaller source stays its size without enlarging
    image.ShrinkPropRect(CRect(0, 0, 100, 50), small, 1, 0);
    EXPECT_EQ(CRect(30, 35, 130, 85), small);
    CRect enlarged(0, 0, 160, 120);
    image.ShrinkPropRect(CRect(0, 0, 100, 50), enlarged, 1, 1);
    EXPECT_EQ(CRect(0, 20, 160, 100), enlarged);

    CRect untouched(0, 0, 0, 100);
    image.ShrinkPropRect(CRect(0, 0, 10, 10), untouched, 1, 1);
    EXPECT_EQ(CRect(0, 0, 0, 100), untouched);
}

TEST(ImageFitting, CropCoversTheTarget) {
    CImage image;
    CRect target(0, 0, 100, 100);
    image.CropPropRect(target, CRect(0, 0, 400, 200), 1, 1); // wider source, fitted: height kept
    EXPECT_EQ(CRect(-49, 0, 151, 100), target); // offsets truncate toward zero
    CRect same(0, 0, 100, 100);
    image.CropPropRect(same, CRect(0, 0, 400, 200), 1, 0);
    EXPECT_EQ(CRect(0, 0, 100, 100), same);
    CRect smaller(0, 0, 100, 100); // a source smaller than the target: its proportions across the width
    image.CropPropRect(smaller, CRect(0, 0, 50, 25), 1, 0);
    EXPECT_EQ(CRect(0, 25, 100, 75), smaller);
}

TEST(ImageFitting, PropRectWithTheImagesOwnSize) {
    CImage image(400, 300, PixelFormat24bppRGB, 0);
    CRect rect(0, 0, 200, 200);
    image.GetPropRect(rect, 0);
    EXPECT_EQ(CRect(0, 25, 200, 175), rect);
    CRect covered(0, 0, 200, 200);
    image.GetPropRect(covered, 1);
    EXPECT_EQ(CRect(-32, 0, 234, 200), covered);
    Rect gdiRect(10, 10, 200, 200);
    image.GetPropRect(gdiRect, 0);
    EXPECT_EQ(10, gdiRect.X);
    EXPECT_EQ(35, gdiRect.Y);
    EXPECT_EQ(200, gdiRect.Width);
    EXPECT_EQ(150, gdiRect.Height);

    CRect a(0, 0, 400, 300);
    CRect b(0, 0, 200, 200);
    image.GetPropRect(a, b, 0, 1, 0);
    EXPECT_EQ(CRect(0, 25, 200, 175), b);
}
