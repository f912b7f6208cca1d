// The program's vertical sliders driven by mouse messages: range, drag, page clicks, step buttons,
// the keyboard, a transparent thumb pixel, and the position set before any range.
#include <gtest/gtest.h>

#include <objidl.h>
#include <gdiplus.h>

#include <memory>
#include <vector>

#include <qelImage.h>

#include "VSliderCtrlEx.h"

namespace {

struct Scroll {
    int code;
    int pos;
};

// A parent window that keeps every WM_VSCROLL its slider posts.
class ScrollRecorder : public CWnd {
public:
    std::vector<Scroll> scrolls;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        // The trackbar underneath tells TB_ENDTRACK itself when it loses the mouse capture (Wine's
        // does so even when it never tracked): only the slider's own codes are kept.
        if (message == WM_VSCROLL && LOWORD(wParam) != TB_ENDTRACK)
            scrolls.push_back({LOWORD(wParam), static_cast<short>(HIWORD(wParam))});
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

void PumpPosted() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        ::DispatchMessageA(&msg);
}

// A four-frame thumb strip 24 x 24 a frame; with a transparent first column when asked.
CImageArray* MakeThumb(bool transparentEdge) {
    auto* thumb = new CImageArray(96, 24, PixelFormat32bppARGB, 0xFF2EC4B6);
    if (transparentEdge)
        for (int frame = 0; frame < 4; ++frame)
            for (int y = 0; y < 24; ++y)
                thumb->SetPixel(frame * 24, y, Gdiplus::Color(0, 0, 0, 0));
    thumb->SetCount(4);
    return thumb;
}

template <class Slider>
class SliderTest : public ::testing::Test {
protected:
    void SetUp() override {
        Gdiplus::GdiplusStartupInput input;
        ASSERT_EQ(Gdiplus::Ok, Gdiplus::GdiplusStartup(&token_, &input, nullptr));
        ASSERT_TRUE(parent.CreateEx(0, nullptr, "slider host", WS_POPUP, 0, 0, 200, 400, nullptr, nullptr));
        const RECT place = {10, 10, 34, 310};
        ASSERT_TRUE(slider.Create(WS_CHILD | WS_VISIBLE | TBS_VERT, place, &parent, 1085));
    }
    void TearDown() override {
        if (slider.GetSafeHwnd())
            slider.DestroyWindow();
        if (parent.GetSafeHwnd())
            parent.DestroyWindow();
        Gdiplus::GdiplusShutdown(token_);
    }
    // Strips loaded, thumb centre moving from y 20 to y 280, range min..max at pos.
    void Dress(int min, int max, int pos, bool transparentEdge = false) {
        ASSERT_TRUE(slider.LoadBitmap(new CImageArray(24, 40, PixelFormat24bppRGB, 0xFF101820), MakeThumb(transparentEdge),
                                      TRUE));
        slider.SetThumbRange(RECT{0, 20, 24, 280});
        slider.SetRange(min, max);
        slider.SetPos(pos);
    }
    LRESULT Mouse(UINT message, WPARAM keys, int x, int y) {
        return slider.SendMessage(message, keys, MAKELPARAM(x, y));
    }
    int ThumbCentreY() const { return (slider.m_thumbRect.top + slider.m_thumbRect.bottom) / 2; }

    ScrollRecorder parent;
    Slider slider;

private:
    ULONG_PTR token_ = 0;
};

using VSlider = SliderTest<CVSliderCtrlEx>;
using VSlider2 = SliderTest<CVSliderCtrlEx2>;

TEST_F(VSlider, AnEmptyRangeBecomesOneStep) {
    Dress(0, 10, 0);
    slider.SetRange(5, 5);
    EXPECT_EQ(5, slider.GetRangeMin());
    EXPECT_EQ(6, slider.GetRangeMax());
    EXPECT_EQ(1, slider.m_extent);
}

TEST_F(VSlider, APositionBeforeAnyRangeLeavesTheThumbAtTheTop) {
    ASSERT_TRUE(slider.LoadBitmap(new CImageArray(24, 40, PixelFormat24bppRGB, 0xFF101820), MakeThumb(false), TRUE));
    slider.SetThumbRange(RECT{0, 20, 24, 280});
    slider.SetPos(50); // no range yet: no step to divide by
    EXPECT_EQ(20, ThumbCentreY());
}

TEST_F(VSlider, ADragPastTheTopStopsAtTheMinimum) {
    Dress(0, 10, 5);
    const int x = 12, y = ThumbCentreY();
    Mouse(WM_LBUTTONDOWN, MK_LBUTTON, x, y);
    Mouse(WM_MOUSEMOVE, MK_LBUTTON, x, y - 60);
    Mouse(WM_MOUSEMOVE, MK_LBUTTON, x, -80);
    Mouse(WM_LBUTTONUP, 0, x, -80);
    PumpPosted();
    EXPECT_EQ(0, slider.GetPos());
    EXPECT_EQ(20, ThumbCentreY()) << "the thumb's centre stops on the range top";
    ASSERT_FALSE(parent.scrolls.empty());
    EXPECT_EQ(SB_THUMBTRACK, parent.scrolls.front().code);
    EXPECT_EQ(SB_THUMBPOSITION, parent.scrolls.back().code);
    EXPECT_EQ(0, parent.scrolls.back().pos);
}

TEST_F(VSlider, KeysNeverMoveTheSlider) {
    Dress(0, 10, 5);
    slider.SendMessage(WM_KEYDOWN, VK_DOWN, 0);
    slider.SendMessage(WM_KEYDOWN, VK_END, 0);
    PumpPosted();
    EXPECT_EQ(5, slider.GetPos());
    EXPECT_TRUE(parent.scrolls.empty());
}

TEST_F(VSlider, APressOnATransparentThumbPixelStartsNoDrag) {
    Dress(0, 10, 5, true);
    Mouse(WM_LBUTTONDOWN, MK_LBUTTON, slider.m_thumbRect.left, ThumbCentreY());
    EXPECT_FALSE(slider.m_dragging);
    Mouse(WM_LBUTTONUP, 0, slider.m_thumbRect.left, ThumbCentreY());
    Mouse(WM_LBUTTONDOWN, MK_LBUTTON, 12, ThumbCentreY());
    EXPECT_TRUE(slider.m_dragging);
    Mouse(WM_LBUTTONUP, 0, 12, ThumbCentreY());
}

TEST_F(VSlider2, AClickBelowTheThumbOneStepFromTheEndGivesTheMaximum) {
    Dress(0, 10, 9);
    Mouse(WM_LBUTTONDOWN, MK_LBUTTON, 12, slider.m_thumbRect.bottom + 2);
    PumpPosted();
    EXPECT_EQ(10, slider.GetPos());
    ASSERT_EQ(1u, parent.scrolls.size());
    EXPECT_EQ(SB_PAGEDOWN, parent.scrolls[0].code);
    EXPECT_EQ(10, parent.scrolls[0].pos);
}

TEST_F(VSlider2, AClickAboveTheThumbGoesTwoStepsUp) {
    Dress(0, 10, 5);
    Mouse(WM_LBUTTONDOWN, MK_LBUTTON, 12, slider.m_thumbRect.top - 3);
    PumpPosted();
    EXPECT_EQ(3, slider.GetPos());
    ASSERT_EQ(1u, parent.scrolls.size());
    EXPECT_EQ(SB_PAGEUP, parent.scrolls[0].code);
}

TEST_F(VSlider2, StepButtonsMoveOneStepAndStopAtTheEnds) {
    Dress(0, 2, 0);
    // Button 1 at the minimum: nothing moves, nothing is told.
    slider.SendMessage(WM_COMMAND, MAKEWPARAM(1, BN_CLICKED), 0);
    PumpPosted();
    EXPECT_EQ(0, slider.GetPos());
    EXPECT_TRUE(parent.scrolls.empty());
    slider.SendMessage(WM_COMMAND, MAKEWPARAM(2, BN_CLICKED), 0);
    slider.SendMessage(WM_COMMAND, MAKEWPARAM(2, BN_CLICKED), 0);
    slider.SendMessage(WM_COMMAND, MAKEWPARAM(2, BN_CLICKED), 0); // at the maximum: nothing
    PumpPosted();
    EXPECT_EQ(2, slider.GetPos());
    ASSERT_EQ(2u, parent.scrolls.size());
    EXPECT_EQ(SB_LINEDOWN, parent.scrolls[1].code);
    slider.SendMessage(WM_COMMAND, MAKEWPARAM(1, BN_CLICKED), 0);
    PumpPosted();
    EXPECT_EQ(1, slider.GetPos());
    EXPECT_EQ(SB_LINEUP, parent.scrolls.back().code);
}

TEST_F(VSlider2, LoadSettingCreatesTheStepButtonsAndPlacesTheSlider) {
    _tagSLDCTRLEX2BUF record = {};
    record.rect = RECT{20, 30, 44, 330};
    record.thumbRange = RECT{0, 34, 24, 266};
    record.border = CBorder(0, 8, 0, 8);
    record.min = 0;
    record.max = 10;
    record.pos = 0;
    record.leftPos = POINT{0, 0};
    record.rightPos = POINT{0, 280};
    record.channel = new CImageArray(24, 40, PixelFormat24bppRGB, 0xFF101820);
    record.thumb = MakeThumb(false);
    record.leftStrip = new CImageArray(96, 20, PixelFormat32bppARGB, 0xFF303030);
    record.rightStrip = new CImageArray(96, 20, PixelFormat32bppARGB, 0xFF303030);
    ASSERT_TRUE(slider.LoadSetting(record, TRUE));
    ASSERT_TRUE(slider.m_left.GetSafeHwnd());
    ASSERT_TRUE(slider.m_right.GetSafeHwnd());
    EXPECT_EQ(1, slider.m_left.GetDlgCtrlID());
    EXPECT_EQ(2, slider.m_right.GetDlgCtrlID());
    RECT place;
    slider.GetWindowRect(&place);
    parent.ScreenToClient(&place);
    EXPECT_EQ(20, place.left);
    EXPECT_EQ(30, place.top);
    EXPECT_EQ(300, place.bottom - place.top);
    EXPECT_EQ(34, ThumbCentreY());
}

TEST_F(VSlider, LoadBitmapNeedsBothStrips) {
    CImageArray* thumb = MakeThumb(false);
    EXPECT_FALSE(slider.LoadBitmap(nullptr, thumb, TRUE));
    delete thumb;
}

} // namespace
