// Rescaling and tab buttons in the gallery: the repeated centre, widths that follow the caption and the
// window, the caption's shadow, tab frames and the tab's single command.
#include <objidl.h>
#include <gdiplus.h>

#include "gallery.h"

#include <RescaleButton.h>
#include <qelImage.h>
#include <qeltest/temp_dir.h>

#include <gtest/gtest.h>

#include <string>

using namespace gallery;

namespace {

constexpr UINT kButtonId = 3001;
constexpr int kHeight = 30;
const COLORREF kLeft = RGB(200, 0, 0), kRight = RGB(0, 0, 200), kCentre = RGB(0, 160, 0), kMark = RGB(255, 255, 0);

// A strip of count frames of width frameWidth, frame i in colours[i % size]; with marked, the first
// column of every frame is kMark.
CImageArray* Strip(const std::vector<COLORREF>& colours, int count, int frameWidth, bool marked = false) {
    auto* strip = new CImageArray(frameWidth * count, kHeight, PixelFormat32bppARGB, 0);
    Gdiplus::Graphics graphics(strip);
    for (int i = 0; i < count; ++i) {
        Gdiplus::SolidBrush fill(Opaque(colours[i % colours.size()]));
        graphics.FillRectangle(&fill, i * frameWidth, 0, frameWidth, kHeight);
        if (marked) {
            Gdiplus::SolidBrush mark(Opaque(kMark));
            graphics.FillRectangle(&mark, i * frameWidth, 0, 1, kHeight);
        }
    }
    return strip;
}

template <class Button>
class PartsGallery : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(host.Open(420, 160));
        MovePointerAway();
    }

    void Make(const char* caption, int width) {
        ASSERT_TRUE(button.Create(caption, WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(20, 20, 20 + width, 20 + kHeight),
                                  &host, kButtonId));
    }

    COLORREF At(int x) {
        Repaint(host);
        return ProbeClient(button, x, kHeight / 2);
    }

    Host host;
    Button button;
};

using RescaleButton = PartsGallery<CRescaleButton>;
using TabButton = PartsGallery<CTabButtonEx>;

// A caption the window's own context measures exactly width pixels wide, when the font allows one.
std::string CaptionOfWidth(CRescaleButton& button, int width) {
    CWindowDC dc(&button);
    for (const char* pair : {"mi", "Wi", "ol", "Ml", "ni"}) {
        const int a = dc.GetTextExtent(pair, 1).cx, b = dc.GetTextExtent(pair + 1, 1).cx;
        for (int i = 0; a > 0 && i * a <= width; ++i)
            if (b > 0 && (width - i * a) % b == 0)
                return std::string(i, pair[0]) + std::string((width - i * a) / b, pair[1]);
    }
    return std::string();
}

} // namespace

TEST_F(RescaleButton, CentreIsRepeatedWholeThenItsFirstPixelsFillTheRest) {
    Make("", 51);
    ASSERT_EQ(1, button.LoadLeftBg(Strip({kLeft}, 4, 8), TRUE));
    ASSERT_EQ(1, button.LoadRightBg(Strip({kRight}, 4, 8), TRUE));
    ASSERT_EQ(1, button.LoadCenterBg(Strip({kCentre}, 4, 10, true), TRUE));
    button.SetButtonPartWidth(8, 35, 8, FALSE);
    EXPECT_EQ(kLeft, At(7));
    for (int copy = 0; copy < 4; ++copy) // three whole copies, then a five-pixel rest
        EXPECT_EQ(kMark, At(8 + copy * 10)) << "copy " << copy;
    EXPECT_EQ(kCentre, At(9));
    EXPECT_EQ(kCentre, At(42));
    EXPECT_EQ(kRight, At(43));
    EXPECT_EQ(kRight, At(50));
}

TEST_F(RescaleButton, CentreImageWithoutWidthDrawsNoCentre) {
    Make("", 51);
    button.SetBkColor(RGB(10, 20, 30));
    ASSERT_EQ(1, button.LoadLeftBg(Strip({kLeft}, 4, 8), TRUE));
    ASSERT_EQ(1, button.LoadCenterBg(new CImageArray(3, kHeight, PixelFormat32bppARGB, 0xFF00A000), TRUE));
    button.SetButtonPartWidth(8, 35, 8, FALSE);
    EXPECT_EQ(kLeft, At(4));
    EXPECT_EQ(RGB(10, 20, 30), At(20)) << "the background shows where the centre would be";
}

TEST_F(RescaleButton, UnreadablePartFilesAreRefusedAndThePartsStay) {
    qeltest::TempDir dir;
    Make("", 51);
    ASSERT_EQ(1, button.LoadLeftBg(Strip({kLeft}, 4, 8), TRUE));
    ASSERT_EQ(1, button.LoadRightBg(Strip({kRight}, 4, 8), TRUE));
    ASSERT_EQ(1, button.LoadCenterBg(Strip({kCentre}, 4, 10), TRUE));
    button.SetButtonPartWidth(8, 35, 8, FALSE);
    for (const std::string& path : UnreadablePictures(dir.Path())) {
        EXPECT_EQ(0, button.LoadLeftBg(path.c_str())) << path;
        EXPECT_EQ(0, button.LoadCenterBg(path.c_str())) << path;
        EXPECT_EQ(0, button.LoadRightBg(path.c_str())) << path;
    }
    EXPECT_EQ(kLeft, At(4));
    EXPECT_EQ(kCentre, At(20));
    EXPECT_EQ(kRight, At(46));
}

TEST_F(RescaleButton, PartWidthsStartAtZero) {
    EXPECT_EQ(0, button.GetLeftWidth());
    EXPECT_EQ(0, button.GetCenterWidth());
    EXPECT_EQ(0, button.GetRightWidth());
    EXPECT_FALSE(button.GetFixFlag());
}

TEST_F(RescaleButton, FixedWidthIsTheCapsPlusTheCaption) {
    Make("", 120);
    const std::string caption = CaptionOfWidth(button, 50);
    if (caption.empty())
        GTEST_SKIP() << "no caption of exactly 50 pixels in this system font";
    button.SetWindowText(caption.c_str());
    ASSERT_EQ(50, button.GetTextLength());
    button.LoadLeftBg(Strip({kLeft}, 4, 8), TRUE);
    button.LoadRightBg(Strip({kRight}, 4, 8), TRUE);
    button.SetButtonPartWidth(8, 0, 8, TRUE);
    button.ShowText(TRUE);
    EXPECT_EQ(66, button.GetButtonWidth());
    EXPECT_EQ(50, button.GetCenterWidth());
    EXPECT_EQ(50, button.m_textLength);

    button.ShowText(FALSE);
    EXPECT_EQ(16, button.GetButtonWidth()) << "a hidden caption takes no room";
    button.SetButtonPartWidth(8, 0, 8, FALSE);
    EXPECT_EQ(120, button.GetButtonWidth()) << "without fix, the window's width";
}

TEST_F(RescaleButton, MultiLineCaptionMeasuresItsWidestLine) {
    Make("ab\nabcd\nabc", 120);
    const int single = button.GetTextLength();
    button.SetTextLine(TextMultiLine);
    const int widest = button.GetTextLength();
    CWindowDC dc(&button);
    EXPECT_EQ(dc.GetTextExtent("abcd", 4).cx, widest);
    EXPECT_LT(widest, single);
    button.SetTextLine(static_cast<TextStyle>(2));
    EXPECT_TRUE(button.m_multiLine) << "only 0 and 1 are taken";
    button.SetTextLine(TextSingleLine);
    EXPECT_FALSE(button.m_multiLine);
}

TEST_F(RescaleButton, ResizingAFixedButtonGivesTheRestToTheCentre) {
    Make("", 60);
    button.SetButtonPartWidth(8, 20, 8, TRUE);
    button.SetWindowPos(nullptr, 0, 0, 120, kHeight, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(104, button.GetCenterWidth());

    button.SetButtonPartWidth(8, 0, 8, TRUE);
    button.SetWindowPos(nullptr, 0, 0, 90, kHeight, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(82, button.GetLeftWidth()) << "without a centre the left part takes the rest";

    button.SetButtonPartWidth(0, 0, 8, TRUE);
    button.SetWindowPos(nullptr, 0, 0, 70, kHeight, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(70, button.GetRightWidth());

    button.SetButtonPartWidth(8, 20, 8, FALSE);
    button.SetWindowPos(nullptr, 0, 0, 150, kHeight, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(20, button.GetCenterWidth()) << "without fix nothing follows the window";
}

TEST_F(RescaleButton, ShadowIsABlackCopyOnePixelRightAndDown) {
    Make("Shadow", 160);
    button.LoadCenterBg(Strip({kCentre}, 4, 10), TRUE);
    button.SetButtonPartWidth(0, 160, 0, FALSE);
    button.ShowText(TRUE);
    button.SetTextFont("Tahoma", 18, 1, NONANTIALIASED_QUALITY);
    const COLORREF white = RGB(255, 255, 255), black = RGB(0, 0, 0);
    button.SetTextColor(white, nullptr, nullptr);
    Repaint(host);
    EXPECT_EQ(0, CountColour(button, black)) << "no shadow by default";

    CSize offset(1, 1);
    button.SetTextShadowSize(offset);
    Repaint(host);
    int blacks = 0;
    for (int y = 1; y < kHeight; ++y)
        for (int x = 1; x < 160; ++x)
            if (ProbeClient(button, x, y) == black) {
                ++blacks;
                ASSERT_EQ(white, ProbeClient(button, x - 1, y - 1)) << "shadow pixel at " << x << "," << y;
            }
    EXPECT_GT(blacks, 0);
}

TEST_F(RescaleButton, HandedThePartItAlreadyOwnsKeepsIt) {
    Make("", 51);
    CImageArray* left = Strip({kLeft}, 4, 8);
    ASSERT_EQ(1, button.LoadLeftBg(left, TRUE));
    ASSERT_EQ(1, button.LoadLeftBg(left, TRUE));
    EXPECT_EQ(left, button.m_pLeftImage);
    button.SetButtonPartWidth(8, 0, 0, FALSE);
    EXPECT_EQ(kLeft, At(3));
    EXPECT_EQ(0, button.LoadLeftBg(static_cast<CImageArray*>(nullptr), TRUE));
    EXPECT_EQ(0, button.LoadCenterBg(static_cast<const char*>(nullptr)));
    EXPECT_EQ(left, button.m_pLeftImage);
}

namespace {
// Tab frames: 0 selected, 1 not selected, 2 hover, 3 and 4 disabled.
const std::vector<COLORREF> kTabCentre = {RGB(250, 250, 250), RGB(120, 120, 120), RGB(0, 200, 200), RGB(90, 0, 90),
                                          RGB(60, 60, 0)};
const std::vector<COLORREF> kTabRight = {RGB(255, 0, 0), RGB(128, 0, 0), RGB(0, 0, 255), RGB(0, 90, 90),
                                         RGB(90, 90, 90)};
} // namespace

TEST_F(TabButton, PressPostsTheCommandOnceSelectsTheTabAndKeepsFrameZeroUnderThePointer) {
    Make("Tab", 80);
    button.LoadCenterBg(Strip(kTabCentre, 5, 6), TRUE);
    button.LoadRightBg(Strip(kTabRight, 5, 6), TRUE);
    button.SetButtonPartWidth(0, 70, 10, FALSE);
    host.log.clear();
    host.commandsReached.clear();
    EXPECT_EQ(kTabCentre[1], At(20));
    EXPECT_EQ(kTabCentre[1], At(69)) << "the stretched centre's edge takes nothing of the next frame";
    EXPECT_EQ(kTabRight[1], At(75));

    MovePointerTo(button, 20, 10);
    ASSERT_TRUE(PumpUntil([&] { return button.m_hover == TRUE; })) << "no hover message";
    EXPECT_EQ(kTabCentre[2], At(20));
    LeftDown();
    EXPECT_EQ(1, host.CountPostedCommand(kButtonId)) << "posted on the press";
    EXPECT_TRUE(button.m_checked);
    LeftUp();
    Pump(100);
    EXPECT_EQ(1, host.CountPostedCommand(kButtonId));
    EXPECT_EQ(0, host.CountNotification(kButtonId, BN_CLICKED)) << "the release's click carries ID 0";
    EXPECT_EQ(static_cast<int>(kButtonId), button.GetDlgCtrlID());
    EXPECT_TRUE(button.m_hover);
    EXPECT_EQ(kTabCentre[0], At(20)) << "a selected tab keeps frame 0 under the pointer";
    EXPECT_EQ(kTabRight[0], At(75));
}

TEST_F(TabButton, DisabledTabFiresNothingAndShowsItsDisabledFrame) {
    Make("Tab", 80);
    button.LoadCenterBg(Strip(kTabCentre, 5, 6), TRUE);
    button.SetButtonPartWidth(0, 80, 0, FALSE);
    button.EnableWindow(FALSE);
    EXPECT_EQ(kTabCentre[4], At(20));
    button.SetCheck(TRUE);
    EXPECT_EQ(kTabCentre[3], At(20));
    host.commandsReached.clear();
    MovePointerTo(button, 20, 10);
    LeftDown();
    LeftUp();
    MovePointerAway();
    EXPECT_EQ(0, host.CountPostedCommand(kButtonId));
}

// Buttons of one look at three widths and a row of tabs, as a person sees them.
TEST_F(RescaleButton, GalleryPageOfPartButtonsAndTabs) {
    const std::vector<COLORREF> face = {RGB(70, 110, 170), RGB(40, 70, 120), RGB(100, 150, 210), RGB(120, 120, 120)};
    const std::vector<COLORREF> caps = {RGB(30, 50, 90), RGB(20, 30, 60), RGB(50, 80, 130), RGB(80, 80, 80)};
    CRescaleButton buttons[3];
    const char* captions[] = {"OK", "Settings", "Take a snapshot"};
    int x = 10;
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(buttons[i].Create(captions[i], WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(x, 20, x + 40, 50), &host,
                                      3100 + i));
        buttons[i].LoadLeftBg(Strip(caps, 4, 6), TRUE);
        buttons[i].LoadRightBg(Strip(caps, 4, 6), TRUE);
        buttons[i].LoadCenterBg(Strip(face, 4, 10), TRUE);
        buttons[i].SetButtonPartWidth(6, 0, 6, TRUE);
        buttons[i].ShowText(TRUE);
        buttons[i].SetTextColor(RGB(255, 255, 255), nullptr, nullptr);
        CSize shadow(1, 1);
        buttons[i].SetTextShadowSize(shadow);
        const int width = buttons[i].GetButtonWidth() + 16;
        buttons[i].SetWindowPos(nullptr, x, 20, width, kHeight, SWP_NOZORDER);
        x += width + 10;
    }
    CTabButtonEx tabs[3];
    const char* names[] = {"Photos", "Videos", "Effects"};
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(tabs[i].Create(names[i], WS_CHILD | WS_VISIBLE | BS_OWNERDRAW,
                                   CRect(10 + i * 90, 80, 10 + i * 90 + 88, 80 + kHeight), &host, 3200 + i));
        tabs[i].LoadCenterBg(Strip(kTabCentre, 5, 6), TRUE);
        tabs[i].LoadRightBg(Strip(kTabRight, 5, 4), TRUE);
        tabs[i].SetButtonPartWidth(0, 84, 4, FALSE);
        tabs[i].ShowText(TRUE);
        tabs[i].SetTextColor(RGB(0, 0, 0), nullptr, nullptr);
    }
    tabs[0].SetCheck(TRUE);
    Repaint(host);
    EXPECT_EQ(kTabCentre[0], ProbeClient(tabs[0], 4, 4));
    EXPECT_EQ(kTabCentre[1], ProbeClient(tabs[1], 4, 4));
    EXPECT_GT(CountColour(buttons[2], RGB(255, 255, 255)), 0);
    EXPECT_TRUE(SaveGalleryShot(host, "part_buttons.png"));
}
