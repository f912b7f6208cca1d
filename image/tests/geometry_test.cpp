// Geometry conversions, rotations and angles, font families, and the drawing object read back from
// 32-bit target images.
#include <gtest/gtest.h>

#include "image_test_support.h"

using namespace Gdiplus;

namespace {

constexpr ARGB kWhite = 0xFFFFFFFF;

} // namespace

TEST(GeometryClasses, RectanglesConvertBothWays) {
    const CXRect fromCRect(CRect(10, 20, 110, 70));
    EXPECT_EQ(CRect(10, 20, 110, 70), static_cast<CRect>(fromCRect));
    const Rect gdi = fromCRect;
    EXPECT_EQ(10, gdi.X);
    EXPECT_EQ(20, gdi.Y);
    EXPECT_EQ(100, gdi.Width);
    EXPECT_EQ(50, gdi.Height);
    EXPECT_EQ(100, fromCRect.nWidth());
    EXPECT_EQ(50, fromCRect.nHeight());

    const CXRect fromRectF(RectF(1.7f, 2.2f, 3.9f, 4.5f));
    EXPECT_FLOAT_EQ(1, fromRectF.X);
    EXPECT_FLOAT_EQ(2, fromRectF.Y);
    EXPECT_FLOAT_EQ(3, fromRectF.Width);
    EXPECT_FLOAT_EQ(4, fromRectF.Height);

    CXRect sized(CPoint(-5, 6), CSize(7, 8));
    EXPECT_EQ(CRect(-5, 6, 2, 14), static_cast<CRect>(sized));
    sized = CXRect(Point(1, 2), Size(3, 4));
    EXPECT_EQ(CRect(1, 2, 4, 6), static_cast<CRect>(sized));
    CXRect fractional(0, 0, 1, 1);
    fractional.X = 0.6f;
    fractional.Width = 0.6f;
    EXPECT_EQ(1, static_cast<CRect>(fractional).right); // truncated after the addition

    const CXPoint point(CPoint(-3, 4));
    EXPECT_EQ(CPoint(-3, 4), static_cast<CPoint>(point));
    const Point gdiPoint = CXPoint(Point(5, 6));
    EXPECT_EQ(5, gdiPoint.X);
    const CXSize size(CSize(9, 10));
    EXPECT_EQ(CSize(9, 10), static_cast<CSize>(size));
    const Size gdiSize = CXSize(11, 12);
    EXPECT_EQ(12, gdiSize.Height);
}

TEST(GeometryRotation, PointsRectanglesAndAngles) {
    POINT points[2] = {{10, 0}, {0, 10}};
    qi_RotatePt(points, 2, 0, 0, 90);
    EXPECT_EQ(0, points[0].x);
    EXPECT_EQ(10, points[0].y);
    EXPECT_EQ(-10, points[1].x);
    EXPECT_EQ(0, points[1].y);
    POINT unchanged = {7, 3};
    qi_RotatePt(&unchanged, 1, 0, 0, -360);
    EXPECT_EQ(7, unchanged.x);
    POINT half = {3, 0};
    qi_RotatePtF(&half, 1, 0.5f, 0.5f, 180); // (-2, 1)
    EXPECT_EQ(-2, half.x);
    EXPECT_EQ(1, half.y);

    RECT rect = {0, 0, 100, 50};
    qi_RotateRect(&rect, 90, nullptr);
    EXPECT_EQ(CRect(25, -25, 75, 75), CRect(rect));
    RECT flipped = {0, 0, 100, 50};
    POINT elsewhere = {500, 500};
    qi_RotateRectF(&flipped, -180, &elsewhere);
    EXPECT_EQ(CRect(0, 0, 100, 50), CRect(flipped)); // half turns leave it, even about another centre
    RECT about = {0, 0, 10, 10};
    POINT origin = {0, 0};
    qi_RotateRect(&about, 90, &origin);
    EXPECT_EQ(CRect(-10, 0, 0, 10), CRect(about));

    POINT corners[4];
    RECT box = {1, 2, 3, 4};
    qi_GetRect2VPt(&box, corners);
    EXPECT_EQ(3, corners[2].x);
    EXPECT_EQ(2, corners[1].y);
    EXPECT_EQ(1, corners[3].x);
    RECT back;
    qi_GetVPt2Rect(corners, &back);
    EXPECT_EQ(CRect(1, 2, 3, 4), CRect(back));

    EXPECT_FLOAT_EQ(360, qi_GetRotateAngleF(10, 0, 0, 0));
    EXPECT_FLOAT_EQ(90, qi_GetRotateAngleF(0, 10, 0, 0));
    EXPECT_FLOAT_EQ(180, qi_GetRotateAngleF(-10, 0, 0, 0));
    EXPECT_FLOAT_EQ(270, qi_GetRotateAngleF(0, -10, 0, 0));
    EXPECT_NEAR(315, qi_GetRotateAngleF(10, -10, 0, 0), 1e-3);
    EXPECT_FLOAT_EQ(360, qi_GetRotateAngleF(5, 5, 5.0f, 5.0f)); // the centre itself
}

TEST(GeometryFonts, FamilyFromAnAnsiName) {
    CFontFamily tahoma("Tahoma", nullptr);
    EXPECT_EQ(Ok, tahoma.GetLastStatus());
    CFontFamily unknown("No Such Family Qel", nullptr);
    EXPECT_NE(Ok, unknown.GetLastStatus());
    CFontFamily none(nullptr, nullptr);
    EXPECT_NE(Ok, none.GetLastStatus());
}

TEST(DrawObj, DefaultsAreTheSystemButtonColours) {
    CDrawObj draw;
    EXPECT_EQ(1, draw.m_nPenWidth);
    EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), draw.m_crShadow);
    EXPECT_EQ(GetSysColor(COLOR_BTNHIGHLIGHT), draw.m_crHilight);
    EXPECT_EQ(CSize(0, 0), draw.m_szCorner);
    EXPECT_EQ(CSize(0, 0), draw.m_szHilightOffset);
    draw.SetParam(2, CSize(4, 4), CSize(1, 1), RGB(1, 2, 3), RGB(4, 5, 6));
    EXPECT_EQ(2, draw.m_nPenWidth);
    EXPECT_EQ(RGB(4, 5, 6), draw.m_crHilight);
}

TEST(DrawObj, RoundRectWithoutCornersIsAPlainRectangle) {
    ImagePtr target = SolidImage(30, 30, kWhite);
    Graphics graphics(target.get());
    CDrawObj draw;
    Pen pen(Color(0xFF000000), 1);
    CRect rect(5, 5, 20, 15);
    draw.DrawRoundRect(&graphics, pen, rect, 0, 6);
    EXPECT_EQ(0xFF000000u, PixelOf(*target, 5, 5));   // a square corner
    EXPECT_EQ(0xFF000000u, PixelOf(*target, 20, 15));
    EXPECT_EQ(0xFF000000u, PixelOf(*target, 12, 5));
    EXPECT_EQ(kWhite, PixelOf(*target, 12, 10));
    ImagePtr rounded = SolidImage(30, 30, kWhite);
    Graphics roundedGraphics(rounded.get());
    draw.DrawRoundRect(&roundedGraphics, pen, rect, 8, 8);
    EXPECT_EQ(kWhite, PixelOf(*rounded, 5, 5)); // the arc cuts the corner
    EXPECT_EQ(0xFF000000u, PixelOf(*rounded, 12, 5));
}

TEST(DrawObj, GroupBoxDrawsTheHighlightAtItsOffsetThenTheShadow) {
    ImagePtr target = SolidImage(40, 40, kWhite);
    Graphics graphics(target.get());
    CDrawObj draw;
    draw.SetParam(1, CSize(0, 0), CSize(1, 1), RGB(128, 0, 0), RGB(0, 0, 255));
    CRect rect(5, 5, 30, 30);
    draw.DrawGroupBox(&graphics, rect);
    EXPECT_EQ(0xFF800000u, PixelOf(*target, 5, 15));  // shadow frame in place
    EXPECT_EQ(0xFF0000FFu, PixelOf(*target, 6, 15));  // highlight frame one pixel right and down
    EXPECT_EQ(0xFF0000FFu, PixelOf(*target, 31, 15));
    EXPECT_EQ(0xFF800000u, PixelOf(*target, 6, 5));   // the shadow drawn last, over the highlight
    EXPECT_EQ(kWhite, PixelOf(*target, 15, 15));
    CRect empty(5, 5, 5, 30);
    ImagePtr untouched = SolidImage(40, 40, kWhite);
    Graphics untouchedGraphics(untouched.get());
    draw.DrawGroupBox(&untouchedGraphics, empty);
    draw.DrawGroupBox(nullptr, rect);
    EXPECT_EQ(kWhite, PixelOf(*untouched, 5, 15));

    ImagePtr line = SolidImage(40, 40, kWhite);
    Graphics lineGraphics(line.get());
    CRect horizontal(2, 10, 30, 10);
    draw.DrawLine(&lineGraphics, horizontal);
    EXPECT_EQ(0xFF800000u, PixelOf(*line, 15, 10));
    EXPECT_EQ(0xFF0000FFu, PixelOf(*line, 15, 11));
}

TEST(DrawObj, ShadowDarkensOnlyRightOfAndBelowTheRectangle) {
    const CRect rect(10, 10, 40, 30);
    ImagePtr none = SolidImage(60, 50, kWhite);
    {
        Graphics graphics(none.get());
        CRect copy(rect);
        EXPECT_EQ(1, qi_DrawShadow(&graphics, &copy, 0, 10, RGB(0, 0, 0)));
    }
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 60; ++x)
            ASSERT_EQ(kWhite, PixelOf(*none, x, y)) << x << "," << y;

    ImagePtr shadow = SolidImage(60, 50, kWhite);
    {
        Graphics graphics(shadow.get());
        CDrawObj draw;
        CRect copy(rect);
        draw.DrawShadow(&graphics, copy, 3, 10, RGB(0, 0, 0));
    }
    int darkened = 0;
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 60; ++x)
            if (PixelOf(*shadow, x, y) != kWhite) {
                ++darkened;
                EXPECT_TRUE(x >= rect.right || y >= rect.bottom) << x << "," << y;
            }
    EXPECT_GT(darkened, 40);
    EXPECT_NE(kWhite, PixelOf(*shadow, 40, 20)); // the column just right of the rectangle
    EXPECT_NE(kWhite, PixelOf(*shadow, 25, 30)); // the row just below it
}
