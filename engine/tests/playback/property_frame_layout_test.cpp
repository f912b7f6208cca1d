// The property frame's layout on a window tree made here: frame, tab control, buttons, an outer page
// and an inner page with controls, laid out as a property frame holds them.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "VostrelTestSeams.h"

namespace {

RECT ScreenRect(HWND window) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

int Height(HWND window) {
    const RECT rect = ScreenRect(window);
    return rect.bottom - rect.top;
}

// A dialog-class frame of 400x300 with two buttons at y 250, a tab control, an outer page at
// (10,30) of 380x200 and an inner page filling it, whose one control ends `gap` pixels above the
// inner page's bottom.
class FrameTree {
public:
    explicit FrameTree(int gap) {
        frame = CreateWindowExA(0, "#32770", "Camera Properties", WS_POPUP | WS_CAPTION, 100, 100, 400, 300,
                                nullptr, nullptr, nullptr, nullptr);
        tab = CreateWindowExA(0, "SysTabControl32", "", WS_CHILD, 5, 5, 390, 230, frame, nullptr, nullptr, nullptr);
        ok = CreateWindowExA(0, "Button", "OK", WS_CHILD, 200, 250, 80, 24, frame, nullptr, nullptr, nullptr);
        cancel = CreateWindowExA(0, "Button", "Cancel", WS_CHILD, 300, 250, 80, 24, frame, nullptr, nullptr, nullptr);
        outer = CreateWindowExA(0, "#32770", "", WS_CHILD, 10, 30, 380, 200, frame, nullptr, nullptr, nullptr);
        inner = CreateWindowExA(0, "#32770", "", WS_CHILD, 0, 0, 380, 200, outer, nullptr, nullptr, nullptr);
        CreateWindowExA(0, "Static", "top", WS_CHILD, 5, 5, 100, 20, inner, nullptr, nullptr, nullptr);
        CreateWindowExA(0, "Static", "low", WS_CHILD, 5, 200 - gap - 30, 100, 30, inner, nullptr, nullptr, nullptr);
    }
    ~FrameTree() { DestroyWindow(frame); }
    FrameTree(const FrameTree&) = delete;
    FrameTree& operator=(const FrameTree&) = delete;

    HWND frame, tab, ok, cancel, outer, inner;
};

// A frame being laid out is open: the closed flag, which an earlier frame of the process leaves set,
// is cleared for each test.
class PropertyFrameLayoutTest : public testing::Test {
protected:
    void SetUp() override { InterlockedExchange(&g_propertyFrameClosed, 0); }
};

TEST_F(PropertyFrameLayoutTest, AControlFivePixelsAboveTheBottomGrowsEverythingFifteen) {
    InitCommonControls();
    FrameTree tree(5);
    ASSERT_TRUE(tree.frame && tree.tab && tree.inner);
    const int frameHeight = Height(tree.frame), tabHeight = Height(tree.tab);
    const int outerHeight = Height(tree.outer), innerHeight = Height(tree.inner);
    const RECT okBefore = ScreenRect(tree.ok), cancelBefore = ScreenRect(tree.cancel);
    const RECT frameBefore = ScreenRect(tree.frame);

    EXPECT_TRUE(LayOutPropertyFrame(tree.frame));
    EXPECT_EQ(frameHeight + 15, Height(tree.frame));
    EXPECT_EQ(tabHeight + 15, Height(tree.tab));
    EXPECT_EQ(outerHeight + 15, Height(tree.outer));
    EXPECT_EQ(innerHeight + 15, Height(tree.inner));
    EXPECT_EQ(okBefore.top + 15, ScreenRect(tree.ok).top);
    EXPECT_EQ(cancelBefore.top + 15, ScreenRect(tree.cancel).top);
    EXPECT_EQ(okBefore.left, ScreenRect(tree.ok).left);
    EXPECT_EQ(frameBefore.top, ScreenRect(tree.frame).top) << "the frame keeps its place";
    EXPECT_EQ(frameBefore.right - frameBefore.left, ScreenRect(tree.frame).right - ScreenRect(tree.frame).left);
}

TEST_F(PropertyFrameLayoutTest, NothingWithinTwentyPixelsChangesNothing) {
    FrameTree tree(20);
    const int frameHeight = Height(tree.frame);
    const RECT okBefore = ScreenRect(tree.ok);
    EXPECT_FALSE(LayOutPropertyFrame(tree.frame));
    EXPECT_EQ(frameHeight, Height(tree.frame));
    EXPECT_EQ(okBefore.top, ScreenRect(tree.ok).top);
}

TEST_F(PropertyFrameLayoutTest, ATreeWithoutAnInnerPageIsLeftAlone) {
    const HWND frame = CreateWindowExA(0, "#32770", "Video Setting", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr,
                                       nullptr, nullptr);
    EXPECT_FALSE(LayOutPropertyFrame(frame));
    DestroyWindow(frame);
}

TEST_F(PropertyFrameLayoutTest, GrowthComesFromTheFirstControlThatReachesTooLow) {
    const RECT page = {0, 0, 100, 200};
    EXPECT_EQ(0, PageGrowth(page, {}));
    EXPECT_EQ(0, PageGrowth(page, {{0, 0, 10, 180}})) << "exactly 20 above the bottom";
    EXPECT_EQ(1, PageGrowth(page, {{0, 0, 10, 181}}));
    EXPECT_EQ(15, PageGrowth(page, {{0, 0, 10, 100}, {0, 0, 10, 195}, {0, 0, 10, 250}}));
    EXPECT_EQ(30, PageGrowth(page, {{0, 0, 10, 210}}));
}

TEST_F(PropertyFrameLayoutTest, TheTitleMatchesInAnyCaseWithWordsAfterIt) {
    EXPECT_TRUE(FrameTitleMatches("Video Setting", "Video Setting"));
    EXPECT_TRUE(FrameTitleMatches("VIDEO setting Properties", "Video Setting"));
    EXPECT_FALSE(FrameTitleMatches("Properties for Video Setting", "Video Setting"));
    EXPECT_FALSE(FrameTitleMatches("Video", "Video Setting"));
    EXPECT_FALSE(FrameTitleMatches(nullptr, "Video Setting"));
}

TEST_F(PropertyFrameLayoutTest, TheSearchFindsTheFrameByItsTitleAndStopsOnceClosed) {
    const HWND frame = CreateWindowExA(0, "#32770", "my camera SETTINGS and more", WS_POPUP, 0, 0, 200, 100,
                                       nullptr, nullptr, nullptr, nullptr);
    InterlockedExchange(&g_propertyFrameClosed, 0);
    EXPECT_EQ(frame, FindPropertyFrame("My Camera Settings", 41, 0));
    InterlockedExchange(&g_propertyFrameClosed, 1);
    EXPECT_EQ(nullptr, FindPropertyFrame("My Camera Settings", 41, 0)) << "a closed frame ends the search";
    DestroyWindow(frame);
    InterlockedExchange(&g_propertyFrameClosed, 0);
    EXPECT_EQ(nullptr, FindPropertyFrame("My Camera Settings", 41, 0));
}

} // namespace
