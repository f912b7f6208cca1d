// The skinned push button in the gallery: frames probed on the screen in every state, caption
// colours, enabling, clicks and notifications seen by the parent, the tooltip and strip ownership.
#include <objidl.h>
#include <gdiplus.h>

#include "gallery.h"

#include <ButtonEx.h>
#include <qelImage.h>
#include <qeltest/temp_dir.h>

#include <gtest/gtest.h>

#include <string>

using namespace gallery;

namespace {

constexpr UINT kButtonId = 1003;
constexpr int kFrameWidth = 50;
constexpr int kHeight = 30;
// One flat colour per frame: normal, pressed/checked, hover, disabled.
const std::vector<COLORREF> kFrames = {RGB(200, 0, 0), RGB(0, 200, 0), RGB(0, 0, 200), RGB(200, 200, 0)};

std::vector<Gdiplus::Color> FrameColours() { return Opaque(kFrames); }

template <class Button>
class ButtonGallery : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(host.Open(300, 120));
        ASSERT_TRUE(button.Create("Snap", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(20, 20, 140, 90), &host,
                                  kButtonId));
        ASSERT_EQ(1, button.LoadBitmapA(MakeStrip(FrameColours(), kFrameWidth, kHeight).release(), TRUE));
        MovePointerAway();
        Repaint(host);
        host.log.clear();
        host.commandsReached.clear();
    }

    COLORREF Shown() {
        Repaint(host);
        return ProbeClient(button, 4, 4); // a corner, clear of the caption
    }

    void Click() {
        MovePointerTo(button, 10, 10);
        LeftDown();
        LeftUp();
        MovePointerAway();
    }

    Host host;
    Button button;
};

using PushButton = ButtonGallery<CButtonEx>;
using PressButton = ButtonGallery<CButtonEx2>;

} // namespace

TEST(ButtonClasses, RunTimeClassesNameThemselvesAndTheirBase) {
    CRuntimeClass* button = RUNTIME_CLASS(CButtonEx);
    EXPECT_STREQ("CButtonEx", button->m_lpszClassName);
    EXPECT_EQ(RUNTIME_CLASS(CButton), button->GetBaseClass());
    EXPECT_STREQ("CButtonEx2", RUNTIME_CLASS(CButtonEx2)->m_lpszClassName);
    EXPECT_EQ(button, RUNTIME_CLASS(CButtonEx2)->GetBaseClass());
}

TEST_F(PushButton, StripOfTwoHundredPixelsMakesTheButtonFiftyWideAndTheStripsHeight) {
    CRect rect;
    button.GetWindowRect(&rect);
    EXPECT_EQ(kFrameWidth, rect.Width());
    EXPECT_EQ(kHeight, rect.Height());
    EXPECT_EQ(kFrameWidth, button.GetWidth());
    EXPECT_EQ(kHeight, button.GetHeight());
}

TEST_F(PushButton, NullStripOrFileIsRefusedAndChangesNothing) {
    CImageArray* before = button.m_strip;
    EXPECT_EQ(0, button.LoadBitmapA(static_cast<CImageArray*>(nullptr), TRUE));
    EXPECT_EQ(0, button.LoadBitmapA(static_cast<const char*>(nullptr)));
    EXPECT_EQ(before, button.m_strip);
    EXPECT_EQ(kFrames[0], Shown());
}

TEST_F(PushButton, UnreadableFileIsRefusedAndTheButtonKeepsItsStripAndSize) {
    qeltest::TempDir dir;
    CImageArray* before = button.m_strip;
    for (const std::string& path : UnreadablePictures(dir.Path())) {
        EXPECT_EQ(0, button.LoadBitmapA(path.c_str())) << path;
        EXPECT_EQ(before, button.m_strip) << path;
    }
    CRect rect;
    button.GetWindowRect(&rect);
    EXPECT_EQ(kFrameWidth, rect.Width());
    EXPECT_EQ(kHeight, rect.Height());
    EXPECT_EQ(kFrames[0], Shown());
}

TEST_F(PushButton, HandedTheStripItAlreadyOwnsKeepsItAndStillDraws) {
    CImageArray* strip = button.m_strip;
    ASSERT_EQ(1, button.LoadBitmapA(strip, TRUE));
    EXPECT_EQ(strip, button.m_strip);
    EXPECT_EQ(kFrameWidth, button.GetWidth()); // reads the strip: freed memory would not give this
    EXPECT_EQ(kFrames[0], Shown());
}

TEST_F(PushButton, LoadsItsStripFromAPngFile) {
    qeltest::TempDir dir;
    const std::string path = dir.File("strip.png");
    auto strip = MakeStrip(FrameColours(), 30, 20);
    ASSERT_EQ(1, strip->SaveFile(path.c_str(), -1));
    ASSERT_EQ(1, button.LoadBitmapA(path.c_str()));
    EXPECT_EQ(30, button.GetWidth());
    EXPECT_EQ(20, button.GetHeight());
    EXPECT_EQ(kFrames[0], Shown());
}

TEST_F(PushButton, EveryStateShowsItsFrame) {
    EXPECT_EQ(kFrames[0], Shown());

    MovePointerTo(button, 10, 10);
    ASSERT_TRUE(PumpUntil([&] { return button.m_hover == TRUE; })) << "no hover message";
    EXPECT_EQ(kFrames[2], Shown());

    LeftDown(); // held
    EXPECT_EQ(kFrames[1], Shown());
    LeftUp();

    button.SetCheck(TRUE);
    EXPECT_EQ(kFrames[1], Shown()) << "checked under hover keeps frame 1";
    MovePointerAway();
    ASSERT_TRUE(PumpUntil([&] { return button.m_hover == FALSE; })) << "no leave message";
    EXPECT_EQ(kFrames[1], Shown());
    button.SetCheck(FALSE);
    EXPECT_EQ(kFrames[0], Shown());

    button.EnableWindow(FALSE);
    EXPECT_EQ(kFrames[3], Shown());
    for (int look = 0; look <= 2; ++look) {
        button.SetDisableLook(look);
        button.Enable(FALSE, TRUE);
        EXPECT_EQ(kFrames[look], Shown()) << "disable look " << look;
    }
}

TEST_F(PushButton, DisablingAnOwnerDrawnButtonLeavesItsWindowEnabled) {
    button.EnableWindow(FALSE);
    EXPECT_FALSE(button.IsWindowEnabled());
    EXPECT_TRUE(::IsWindowEnabled(button.m_hWnd));

    // A plain push button passes the flag on to the system.
    CButtonEx plain;
    ASSERT_TRUE(plain.Create("plain", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(150, 20, 200, 50), &host, 7));
    plain.EnableWindow(FALSE);
    EXPECT_FALSE(::IsWindowEnabled(plain.m_hWnd));

    CButtonEx windowless;
    EXPECT_EQ(0, windowless.EnableWindow(FALSE));
}

TEST_F(PushButton, CaptionColourFollowsTheState) {
    const COLORREF normal = RGB(255, 255, 255), down = RGB(255, 0, 255), gray = RGB(128, 128, 128);
    const COLORREF hoverNormal = RGB(0, 255, 255), hoverDown = RGB(255, 128, 0);
    button.ShowText(TRUE);
    button.SetTextFont("Tahoma", 18, 1, NONANTIALIASED_QUALITY);
    button.SetTextColor(normal, const_cast<COLORREF*>(&down), const_cast<COLORREF*>(&gray));
    button.SetHTextColor(hoverNormal, const_cast<COLORREF*>(&hoverDown));

    auto captionIn = [&](COLORREF colour) {
        Repaint(host);
        return CountColour(button, colour) > 0;
    };
    EXPECT_TRUE(captionIn(normal));
    MovePointerTo(button, 10, 10);
    ASSERT_TRUE(PumpUntil([&] { return button.m_hover == TRUE; }));
    EXPECT_TRUE(captionIn(hoverNormal));
    EXPECT_FALSE(captionIn(normal));
    button.SetCheck(TRUE);
    EXPECT_TRUE(captionIn(hoverDown));
    MovePointerAway();
    ASSERT_TRUE(PumpUntil([&] { return button.m_hover == FALSE; }));
    EXPECT_TRUE(captionIn(down));
    button.EnableWindow(FALSE);
    EXPECT_TRUE(captionIn(gray));
    EXPECT_FALSE(captionIn(down));
}

TEST_F(PushButton, SetTextColorWithoutPointersGivesEveryCaptionColourTheSame) {
    const COLORREF c = RGB(1, 2, 3);
    button.SetTextColor(c, nullptr, nullptr);
    for (COLORREF got : {button.m_textColorNormal, button.m_textColorDown, button.m_textColorGray,
                         button.m_textColorHoverNormal, button.m_textColorHoverDown})
        EXPECT_EQ(c, got);
}

TEST_F(PushButton, ClickReachesTheParentAndThePressIsPostedByControlId) {
    button.SetNotify(TRUE, FALSE);
    Click();
    EXPECT_EQ(1, host.CountNotification(kButtonId, BN_CLICKED));
    EXPECT_EQ(1, host.Count(kButtonId, WM_LBUTTONDOWN));
    EXPECT_EQ(0, host.Count(kButtonId, WM_LBUTTONUP));
}

TEST_F(PushButton, DisabledButtonGivesNoClickAndNoNotification) {
    button.SetNotify(TRUE, TRUE);
    button.EnableWindow(FALSE);
    Click();
    EXPECT_EQ(0, host.CountNotification(kButtonId, BN_CLICKED));
    EXPECT_EQ(0, host.Count(kButtonId, WM_LBUTTONDOWN));
    EXPECT_EQ(0, host.Count(kButtonId, WM_LBUTTONUP));
}

TEST_F(PushButton, PressInsideReleaseOutsideGivesNoClick) {
    MovePointerTo(button, 10, 10);
    LeftDown();
    MovePointerTo(host, 250, 100);
    LeftUp();
    EXPECT_EQ(0, host.CountNotification(kButtonId, BN_CLICKED));
}

TEST_F(PushButton, TooltipResourceSplitsIntoStatusTextAndTip) {
    CString tip;
    button.SetToolTipText(501, TRUE);
    EXPECT_STREQ("Snap", button.m_statusText);
    button.m_tooltip.GetText(tip, &button, 1);
    EXPECT_STREQ("Takes a picture now.", tip);
    EXPECT_EQ(1, button.m_tooltip.GetToolCount());

    button.SetToolTipText(502, TRUE);
    EXPECT_STREQ("", button.m_statusText);
    button.m_tooltip.GetText(tip, &button, 1);
    EXPECT_STREQ("Takes a picture now.", tip);
    EXPECT_EQ(1, button.m_tooltip.GetToolCount());
}

TEST_F(PressButton, PostsItsCommandOnThePressAndNoStandardClick) {
    MovePointerTo(button, 10, 10);
    LeftDown();
    EXPECT_EQ(1, host.CountPostedCommand(kButtonId));
    EXPECT_TRUE(button.m_pressed);
    LeftUp();
    MovePointerAway();
    EXPECT_EQ(0, host.CountNotification(kButtonId, BN_CLICKED));
    EXPECT_FALSE(button.m_pressed);
}

TEST_F(PressButton, FiresNoCommandWhileItsEnabledFlagIsOff) {
    button.EnableWindow(FALSE);
    Click();
    EXPECT_EQ(0, host.CountPostedCommand(kButtonId));
    EXPECT_EQ(0, host.CountNotification(kButtonId, BN_CLICKED));
}

// Both buttons captioned, as a person sees them: the picture goes to QEL_GALLERY_SHOTS when set.
TEST_F(PushButton, CaptionedButtonsShowOnTheScreen) {
    CButtonEx second;
    ASSERT_TRUE(second.Create("Record", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(120, 20, 200, 60), &host, 1004));
    ASSERT_EQ(1, second.LoadBitmapA(MakeStrip(FrameColours(), 90, kHeight).release(), TRUE));
    const COLORREF white = RGB(255, 255, 255);
    for (CButtonEx* b : {&button, &second}) {
        b->ShowText(TRUE);
        b->SetTextFont("Tahoma", 14, 0, NONANTIALIASED_QUALITY);
        b->SetTextColor(white, nullptr, nullptr);
    }
    second.SetCheck(TRUE);
    Repaint(host);
    EXPECT_GT(CountColour(button, white), 0);
    EXPECT_GT(CountColour(second, white), 0);
    EXPECT_TRUE(SaveGalleryShot(host, "buttons.png"));
}
