#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "gdi_stamp_rasteriser.h"
#include "test_frame.h"
#include "core/stamp_renderer.h"

namespace {

const std::string kStamp = "2026.12.09  06:23:05";

LOGFONTA Font(const char* face, int height) {
    LOGFONTA font{};
    font.lfHeight = height;
    std::strcpy(font.lfFaceName, face);
    return font;
}

int SetPixels(const StampMask& mask, int firstRow, int lastRow) {
    int count = 0;
    for (int y = firstRow; y <= lastRow; ++y)
        for (int x = 0; x < mask.width; ++x)
            count += mask.coverage[static_cast<size_t>(y) * mask.width + x] != 0;
    return count;
}

bool IsStampColour(const uint8_t* pixel) {
    return pixel[0] == 0 && pixel[1] == 255 && pixel[2] == 255;  // yellow: blue 0, green 255, red 255
}

StampSettings BottomRightYellow() {
    StampSettings settings;
    settings.colour = StampColour{255, 255, 0};
    settings.layout.alignment = kStampBottomRight;
    settings.layout.paddingX = 5;
    settings.layout.paddingY = 5;
    return settings;
}

TEST(GdiStampRasteriser, RendersTheStampInTheDefaultFont) {
    CGdiStampRasteriser rasteriser;
    StampMask mask;
    ASSERT_TRUE(rasteriser.Rasterise(kStamp, 640, mask));
    EXPECT_GT(mask.width, 60);
    EXPECT_LT(mask.width, 200);
    EXPECT_GE(mask.height, 10);
    EXPECT_LE(mask.height, 20);
    EXPECT_GT(SetPixels(mask, 0, mask.height - 1), 100);
}

// A "T" has its bar at the top: the top of the mask is its first row.
TEST(GdiStampRasteriser, TheMaskIsUpright) {
    CGdiStampRasteriser rasteriser;
    rasteriser.SetFont(Font("Tahoma", -48));
    StampMask mask;
    ASSERT_TRUE(rasteriser.Rasterise("T", 640, mask));
    int top = -1, bottom = -1;
    for (int y = 0; y < mask.height; ++y)
        if (SetPixels(mask, y, y) > 0) {
            if (top < 0)
                top = y;
            bottom = y;
        }
    ASSERT_GE(top, 0);
    const int quarter = (bottom - top + 1) / 4;
    EXPECT_GT(SetPixels(mask, top, top + quarter - 1), 2 * SetPixels(mask, bottom - quarter + 1, bottom));
}

TEST(GdiStampRasteriser, ATextWiderThanTheFrameIsWrappedToItsWidth) {
    CGdiStampRasteriser rasteriser;
    StampMask single;
    ASSERT_TRUE(rasteriser.Rasterise(kStamp, 640, single));
    StampMask wrapped;
    ASSERT_TRUE(rasteriser.Rasterise(kStamp, single.width - 20, wrapped));
    EXPECT_LE(wrapped.width, single.width - 20);
    EXPECT_GE(wrapped.height, single.height * 2 - 2);
}

TEST(GdiStampRasteriser, LineBreaksGiveTheWidestLinesWidth) {
    CGdiStampRasteriser rasteriser;
    StampMask date, both;
    ASSERT_TRUE(rasteriser.Rasterise("2026.12.09", 640, date));
    ASSERT_TRUE(rasteriser.Rasterise("2026.12.09\r\n06:23", 640, both));
    EXPECT_EQ(both.width, date.width);
    EXPECT_GE(both.height, date.height * 2 - 2);
}

TEST(GdiStampRasteriser, AnUnknownFaceFallsBackToAnotherFont) {
    CGdiStampRasteriser rasteriser;
    rasteriser.SetFont(Font("No Such Face Anywhere", -12));
    StampMask mask;
    ASSERT_TRUE(rasteriser.Rasterise(kStamp, 640, mask));
    EXPECT_GT(SetPixels(mask, 0, mask.height - 1), 0);
}

// At 640 x 480 the stamp's box ends 5 pixels from the right and bottom edges, in both orientations.
TEST(GdiStampRasteriser, TheStampLandsBottomRightAt640x480) {
    for (int height : {480, -480}) {
        TestFrame frame = TestFrame::DataPadded(640, height);
        CGdiStampRasteriser rasteriser;
        StampRenderer renderer;
        ASSERT_TRUE(renderer.Draw(frame.Data(), frame.Bytes(),
                                  qel::imaging::PixelLayout{640, height, frame.Stride(), 3}, kStamp,
                                  BottomRightYellow(), rasteriser));
        const int cx = renderer.BoxWidth(), cy = renderer.BoxHeight();
        EXPECT_EQ(renderer.LastPlace().x, 635 - cx);
        EXPECT_EQ(renderer.LastPlace().y, 475 - cy);
        int inside = 0, outside = 0;
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x) {
                const bool inBox = x >= 635 - cx && x < 635 && y >= 475 - cy && y < 475;
                if (IsStampColour(frame.FromTop(x, y)))
                    ++(inBox ? inside : outside);
            }
        EXPECT_GT(inside, 100) << height;
        EXPECT_EQ(outside, 0) << height;
        EXPECT_TRUE(frame.GuardsIntact());
    }
}

// The same text drawn on a bottom-up and on a top-down frame gives the same picture.
TEST(GdiStampRasteriser, TopDownFramesShowTheStampUpright) {
    TestFrame bottomUp = TestFrame::DataPadded(320, 240);
    TestFrame topDown = TestFrame::DataPadded(320, -240);
    CGdiStampRasteriser rasteriser;
    rasteriser.SetFont(Font("Tahoma", -24));
    StampRenderer renderer;
    StampSettings settings = BottomRightYellow();
    settings.layout.alignment = kStampTopLeft;
    ASSERT_TRUE(renderer.Draw(bottomUp.Data(), bottomUp.Bytes(),
                              qel::imaging::PixelLayout{320, 240, bottomUp.Stride(), 3}, "Tp", settings,
                              rasteriser));
    ASSERT_TRUE(renderer.Draw(topDown.Data(), topDown.Bytes(),
                              qel::imaging::PixelLayout{320, -240, topDown.Stride(), 3}, "Tp", settings,
                              rasteriser));
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 320; ++x)
            ASSERT_EQ(std::memcmp(bottomUp.FromTop(x, y), topDown.FromTop(x, y), 3), 0) << x << "," << y;
}

TEST(GdiStampRasteriser, AStampAtTheEdgeIsCut) {
    TestFrame frame = TestFrame::DataPadded(640, 480);
    CGdiStampRasteriser rasteriser;
    StampRenderer renderer;
    StampSettings settings = BottomRightYellow();
    settings.layout.alignment = kStampAtStartPosition;
    settings.layout.start = {600, 470};
    ASSERT_TRUE(renderer.Draw(frame.Data(), frame.Bytes(),
                              qel::imaging::PixelLayout{640, 480, frame.Stride(), 3}, kStamp, settings,
                              rasteriser));
    int drawn = 0;
    for (int y = 470; y < 480; ++y)
        for (int x = 600; x < 640; ++x)
            drawn += IsStampColour(frame.FromTop(x, y));
    EXPECT_GT(drawn, 0);
    for (int y = 0; y < 470; ++y)
        for (int x = 0; x < 600; ++x)
            ASSERT_FALSE(IsStampColour(frame.FromTop(x, y)));
    EXPECT_TRUE(frame.GuardsIntact());
}

// Every rendering frees what it made: 20,000 of them (a new text each) and the stamp still appears.
// Where the process's GDI objects are not counted (Wine answers 0), the renderings go on until even
// one leaked handle each would have run out Wine's table of 65,536.
TEST(GdiStampRasteriser, TwentyThousandRenderingsLeakNoGdiObjects) {
    CGdiStampRasteriser rasteriser;
    const DWORD before = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    const int renderings = before != 0 ? 20000 : 70000;
    StampMask mask;
    for (int i = 0; i < renderings; ++i)
        ASSERT_TRUE(rasteriser.Rasterise("2026.12.09  06:" + std::to_string(i), 640, mask)) << "rendering " << i;
    EXPECT_GT(SetPixels(mask, 0, mask.height - 1), 50);
    if (before != 0) {
        EXPECT_LE(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), before + 2);
    }
}

}  // namespace
