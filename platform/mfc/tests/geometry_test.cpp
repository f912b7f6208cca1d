// CPoint, CSize and CRect.
#include <afx.h>

#include <gtest/gtest.h>

namespace {

TEST(GeometryTest, RectangleMeasuresAndMoves) {
    CRect r(10, 20, 110, 70);
    EXPECT_EQ(100, r.Width());
    EXPECT_EQ(50, r.Height());
    EXPECT_TRUE(r.Size() == CSize(100, 50));
    EXPECT_TRUE(r.TopLeft() == CPoint(10, 20));
    EXPECT_TRUE(r.BottomRight() == CPoint(110, 70));
    EXPECT_TRUE(r.CenterPoint() == CPoint(60, 45));
    EXPECT_TRUE(r.PtInRect(CPoint(10, 20)));
    EXPECT_FALSE(r.PtInRect(CPoint(110, 70))); // right and bottom lie outside

    r.OffsetRect(5, -5);
    EXPECT_TRUE(r == CRect(15, 15, 115, 65));
    r.InflateRect(5, 5);
    EXPECT_TRUE(r == CRect(10, 10, 120, 70));
    r.DeflateRect(1, 2, 3, 4);
    EXPECT_TRUE(r == CRect(11, 12, 117, 66));
    r.MoveToXY(0, 0);
    EXPECT_TRUE(r == CRect(0, 0, 106, 54));

    CRect flipped(50, 40, 10, 5);
    flipped.NormalizeRect();
    EXPECT_TRUE(flipped == CRect(10, 5, 50, 40));
}

TEST(GeometryTest, RectangleSetOperations) {
    const CRect a(0, 0, 10, 10);
    const CRect b(5, 5, 20, 20);
    EXPECT_TRUE((a & b) == CRect(5, 5, 10, 10));
    EXPECT_TRUE((a | b) == CRect(0, 0, 20, 20));
    CRect none;
    EXPECT_FALSE(none.IntersectRect(a, CRect(30, 30, 40, 40)));
    EXPECT_TRUE(none.IsRectEmpty());
    EXPECT_TRUE(CRect().IsRectNull());
    EXPECT_TRUE(CRect(3, 3, 3, 9).IsRectEmpty());
    EXPECT_TRUE(CRect(CPoint(1, 2), CSize(3, 4)) == CRect(1, 2, 4, 6));

    RECT plain = {1, 2, 3, 4};
    CRect copy(plain);
    LPRECT asPointer = copy;
    EXPECT_EQ(4, asPointer->bottom);
}

TEST(GeometryTest, PointAndSizeArithmetic) {
    CPoint p(3, 4);
    p += CPoint(1, 1);
    EXPECT_TRUE(p == CPoint(4, 5));
    EXPECT_TRUE(p - CPoint(4, 5) == CPoint(0, 0));
    EXPECT_TRUE(-p == CPoint(-4, -5));
    p.Offset(-10, 0);
    EXPECT_EQ(-6, p.x);
    const CPoint packed(static_cast<LPARAM>(MAKELPARAM(static_cast<WORD>(-2), 7)));
    EXPECT_EQ(-2, packed.x); // window-message coordinates are signed
    EXPECT_EQ(7, packed.y);

    CSize s(10, 20);
    EXPECT_TRUE(s + CSize(1, 2) == CSize(11, 22));
    EXPECT_TRUE(s - CSize(10, 20) == CSize(0, 0));
    EXPECT_TRUE(s != CSize(20, 10));
}

} // namespace
