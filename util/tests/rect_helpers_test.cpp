// The exported rectangle helpers: their null handling and the examples of their contracts (the
// arithmetic itself is covered by the core's tests).
#include <qelLib1.h>

#include <gtest/gtest.h>

namespace {

TEST(RectHelpers, AlignRectPlacesFromTheContainersFarEdges) {
    const RECT container{0, 0, 200, 100};
    const RECT fromRight{-30, 10, -10, 30};
    RECT out{1, 1, 1, 1};
    EXPECT_EQ(&out, ql_AlignRect(&out, &container, &fromRight));
    EXPECT_EQ(CRect(170, 10, 190, 30), CRect(out));
    const RECT fromBottom{10, -20, 0, -5};
    ql_AlignRect(&out, &container, &fromBottom);
    EXPECT_EQ(CRect(10, 80, 200, 95), CRect(out));
    const RECT empty{0, 0, 0, 0};
    ql_AlignRect(&out, &empty, &empty);
    EXPECT_EQ(CRect(0, 0, 0, 0), CRect(out));

    out = RECT{1, 1, 1, 1};
    EXPECT_EQ(&out, ql_AlignRect(&out, nullptr, &fromRight));
    EXPECT_EQ(CRect(0, 0, 0, 0), CRect(out));
    out = RECT{1, 1, 1, 1};
    ql_AlignRect(&out, &container, nullptr);
    EXPECT_EQ(CRect(0, 0, 0, 0), CRect(out));
    EXPECT_EQ(nullptr, ql_AlignRect(nullptr, &container, &fromRight));
}

TEST(RectHelpers, GetCopyRectDefaultsAndNulls) {
    RECT source{0, 0, 100, 50};
    RECT destination{0, 0, 40, 30};
    POINT at{10, 5};
    EXPECT_EQ(1, ql_GetCopyRect(&source, &destination, &at, nullptr));
    EXPECT_EQ(CRect(0, 0, 29, 24), CRect(source));
    EXPECT_EQ(CRect(10, 5, 38, 28), CRect(destination));

    // No position: 0, 0; a clip limits the source first.
    RECT clipped{0, 0, 20, 20};
    RECT wide{0, 0, 100, 100};
    RECT clip{5, 5, 15, 15};
    EXPECT_EQ(1, ql_GetCopyRect(&clipped, &wide, nullptr, &clip));
    EXPECT_EQ(CRect(5, 5, 15, 15), CRect(clipped));
    EXPECT_EQ(CRect(0, 0, 9, 9), CRect(wide));

    // Zero-size source.
    RECT none{0, 0, 0, 0};
    RECT into{0, 0, 10, 10};
    EXPECT_EQ(1, ql_GetCopyRect(&none, &into, nullptr, nullptr));
    EXPECT_EQ(CRect(0, 0, -1, -1), CRect(into));

    EXPECT_EQ(0, ql_GetCopyRect(nullptr, &destination, &at, nullptr));
    EXPECT_EQ(0, ql_GetCopyRect(&source, nullptr, &at, nullptr));
}

TEST(RectHelpers, ProportionalFitsThroughTheExports) {
    RECT target{0, 0, 200, 200};
    POINT offset{-1, -1};
    EXPECT_DOUBLE_EQ(0.5, ql_ShrinkPropRect(RECT{0, 0, 400, 300}, &target, TRUE, FALSE, &offset));
    EXPECT_EQ(CRect(0, 25, 200, 175), CRect(target));
    EXPECT_EQ(CPoint(0, 25), CPoint(offset));

    RECT small{0, 0, 400, 400};
    EXPECT_DOUBLE_EQ(1.0, ql_ShrinkPropRect(RECT{0, 0, 100, 50}, &small, TRUE, FALSE, &offset));
    EXPECT_EQ(CRect(150, 175, 250, 225), CRect(small));
    EXPECT_EQ(CPoint(150, 175), CPoint(offset));

    RECT zero{0, 0, 0, 0};
    offset = POINT{7, 7};
    EXPECT_EQ(0.0, ql_ShrinkPropRect(RECT{0, 0, 10, 10}, &zero, TRUE, TRUE, &offset));
    EXPECT_EQ(CRect(0, 0, 0, 0), CRect(zero));
    EXPECT_EQ(CPoint(7, 7), CPoint(offset));
    EXPECT_EQ(0.0, ql_ShrinkPropRect(RECT{0, 0, 10, 10}, nullptr, TRUE, TRUE, nullptr));

    RECT cropped{0, 0, 100, 100};
    EXPECT_DOUBLE_EQ(4.0, ql_CropPropRect(&cropped, RECT{0, 0, 400, 300}, TRUE, TRUE, nullptr));
    EXPECT_EQ(CRect(0, 13, 100, 88), CRect(cropped));
    EXPECT_EQ(0.0, ql_CropPropRect(&cropped, RECT{0, 0, 0, 0}, TRUE, TRUE, nullptr));
    EXPECT_EQ(0.0, ql_CropPropRect(nullptr, RECT{0, 0, 10, 10}, TRUE, TRUE, nullptr));
}

} // namespace
