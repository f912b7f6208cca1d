// The property pages' dialog helpers on real controls: numbers typed and shown, trackbar set-up and
// the notifications that end a trackbar move.
#include "page_controls.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>

namespace {

constexpr int kEditId = 101;

class PageControlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES};
        ASSERT_TRUE(InitCommonControlsEx(&controls));
        page_ = CreateWindowExW(0, L"STATIC", L"page", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(page_, nullptr);
        edit_ = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 0, 0, 100, 20, page_,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEditId)), GetModuleHandleW(nullptr),
                                nullptr);
        ASSERT_NE(edit_, nullptr);
    }
    void TearDown() override {
        if (page_)
            DestroyWindow(page_);
    }

    qelpage::TypedNumber Typed(const char* text, int minimum, int maximum) {
        SetWindowTextA(edit_, text);
        return qelpage::ReadBoundedNumber(page_, kEditId, minimum, maximum);
    }
    std::string Shown() {
        char text[32] = {};
        GetWindowTextA(edit_, text, sizeof text);
        return text;
    }

    HWND page_ = nullptr;
    HWND edit_ = nullptr;
};

TEST_F(PageControlsTest, TypedNumbersAreBoundedToTheRange) {
    qelpage::TypedNumber typed = Typed("42", -100, 100);
    EXPECT_EQ(42, typed.value);
    EXPECT_FALSE(typed.bounded);
    typed = Typed("-100", -100, 100);
    EXPECT_EQ(-100, typed.value);
    EXPECT_FALSE(typed.bounded) << "a limit itself is in range";
    typed = Typed("150", -100, 100);
    EXPECT_EQ(100, typed.value);
    EXPECT_TRUE(typed.bounded);
    typed = Typed("-150", -100, 100);
    EXPECT_EQ(-100, typed.value);
    EXPECT_TRUE(typed.bounded);
    typed = Typed("99999999999999999999", 0, 100);
    EXPECT_EQ(100, typed.value) << "a number too long for a long still ends at the maximum";
    EXPECT_TRUE(typed.bounded);
}

TEST_F(PageControlsTest, TextWithoutANumberReadsAsZero) {
    qelpage::TypedNumber typed = Typed("", -100, 100);
    EXPECT_EQ(0, typed.value);
    EXPECT_FALSE(typed.bounded);
    typed = Typed("-", -100, 100);  // the start of a negative number
    EXPECT_EQ(0, typed.value);
    EXPECT_FALSE(typed.bounded);
    typed = Typed("abc", 2, 16);
    EXPECT_EQ(2, typed.value) << "zero lies below this range";
    EXPECT_TRUE(typed.bounded);
    typed = Typed("12px", 2, 16);
    EXPECT_EQ(12, typed.value);
}

TEST_F(PageControlsTest, ShowsWholeNumbers) {
    qelpage::ShowNumber(page_, kEditId, -25);
    EXPECT_EQ("-25", Shown());
    qelpage::ShowNumber(page_, kEditId, 2147483647);
    EXPECT_EQ("2147483647", Shown());
}

TEST_F(PageControlsTest, TrackbarGetsItsRangePageStepAndPosition) {
    const HWND trackbar = CreateWindowExW(0, TRACKBAR_CLASSW, L"", WS_CHILD | WS_VISIBLE, 0, 30, 200, 30, page_,
                                          nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(trackbar, nullptr);
    qelpage::SetUpTrackbar(trackbar, -100, 100, 10, -30);
    EXPECT_EQ(-100, SendMessageW(trackbar, TBM_GETRANGEMIN, 0, 0));
    EXPECT_EQ(100, SendMessageW(trackbar, TBM_GETRANGEMAX, 0, 0));
    EXPECT_EQ(10, SendMessageW(trackbar, TBM_GETPAGESIZE, 0, 0));
    EXPECT_EQ(-30, SendMessageW(trackbar, TBM_GETPOS, 0, 0));
    qelpage::SetUpTrackbar(trackbar, 2, 16, 2, 40);
    EXPECT_EQ(16, SendMessageW(trackbar, TBM_GETPOS, 0, 0)) << "a position past the range stops at its end";
}

TEST(PageControls, OnlyTheEndOfAMoveCounts) {
    EXPECT_TRUE(qelpage::IsFinishedMove(TB_ENDTRACK));
    EXPECT_TRUE(qelpage::IsFinishedMove(MAKEWPARAM(TB_THUMBPOSITION, 70))) << "the position rides in the high word";
    EXPECT_FALSE(qelpage::IsFinishedMove(MAKEWPARAM(TB_THUMBTRACK, 70)));
    EXPECT_FALSE(qelpage::IsFinishedMove(TB_LINEDOWN));
}

} // namespace
