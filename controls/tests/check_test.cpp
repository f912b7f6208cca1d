// Check boxes and radio buttons in the gallery: six frames probed on the screen, caption placement,
// toggling by click (or not, for radio buttons), and what the parent hears.
#include <objidl.h>
#include <gdiplus.h>

#include "gallery.h"

#include <CheckEx.h>
#include <qelImage.h>
#include <qeltest/temp_dir.h>

#include <gtest/gtest.h>

using namespace gallery;

namespace {

constexpr UINT kCheckId = 1010;
constexpr int kFrameWidth = 20; // a 120-pixel strip of six frames
constexpr int kHeight = 20;
// unchecked, unchecked hover, checked, checked hover, unchecked disabled, checked disabled
const std::vector<COLORREF> kFrames = {RGB(200, 0, 0),   RGB(0, 200, 0),   RGB(0, 0, 200),
                            RGB(200, 200, 0), RGB(0, 200, 200), RGB(200, 0, 200)};

std::vector<Gdiplus::Color> FrameColours() { return Opaque(kFrames); }

// Records the check state copied into the window: an owner-drawn button keeps none of its own.
template <class Check>
class Recording : public Check {
public:
    int setChecks = 0;
    WPARAM lastSetCheck = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == BM_SETCHECK) {
            ++setChecks;
            lastSetCheck = wParam;
        }
        return Check::WindowProc(message, wParam, lParam);
    }
};

template <class Check>
class CheckGallery : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(host.Open(300, 120));
        ASSERT_TRUE(check.Create("Mirror", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(20, 20, 160, 40), &host,
                                 kCheckId));
        CButtonEx* asButton = &check; // the program reaches the loader through the virtual table
        ASSERT_EQ(1, asButton->LoadBitmapA(MakeStrip(FrameColours(), kFrameWidth, kHeight).release(), TRUE));
        MovePointerAway();
        Repaint(host);
        host.log.clear();
        host.commandsReached.clear();
    }

    COLORREF Shown() {
        Repaint(host);
        return ProbeClient(check, 2, 2);
    }

    void Click() {
        MovePointerTo(check, 5, 5);
        LeftDown();
        LeftUp();
    }

    Host host;
    Recording<Check> check;
};

using CheckBox = CheckGallery<CCheckEx>;
using SyncedCheckBox = CheckGallery<CCheckEx2>;
using RadioButton = CheckGallery<CRadioEx>;

// Leftmost client column holding the colour, or -1.
int LeftmostColumn(CWnd& wnd, COLORREF colour) {
    CRect client;
    wnd.GetClientRect(&client);
    for (int x = 0; x < client.right; ++x)
        for (int y = 0; y < client.bottom; ++y)
            if (ProbeClient(wnd, x, y) == colour)
                return x;
    return -1;
}

} // namespace

TEST(CheckClasses, RunTimeClassesNameThemselves) {
    EXPECT_STREQ("CCheckEx", RUNTIME_CLASS(CCheckEx)->m_lpszClassName);
    EXPECT_EQ(RUNTIME_CLASS(CButtonEx), RUNTIME_CLASS(CCheckEx)->GetBaseClass());
    EXPECT_STREQ("CCheckEx2", RUNTIME_CLASS(CCheckEx2)->m_lpszClassName);
    CRadioEx radio;
    EXPECT_STREQ("CCheckEx", radio.GetRuntimeClass()->m_lpszClassName);
}

TEST_F(CheckBox, VirtualLoaderKeepsTheWindowSizeAndTheCaptionStartsAfterTheImage) {
    CRect rect;
    check.GetWindowRect(&rect);
    EXPECT_EQ(140, rect.Width());
    EXPECT_EQ(kFrameWidth, check.m_imageInset);

    const COLORREF white = RGB(255, 255, 255);
    check.ShowText(TRUE);
    check.SetTextFont("Tahoma", 14, 0, NONANTIALIASED_QUALITY);
    check.SetTextColor(white, nullptr, nullptr);
    Repaint(host);
    const int left = LeftmostColumn(check, white);
    EXPECT_GE(left, kFrameWidth + 3);
    EXPECT_LE(left, kFrameWidth + 5) << "a glyph's own bearing is at most a pixel or two";
    check.SetTextOffset(10);
    Repaint(host);
    EXPECT_EQ(left + 10, LeftmostColumn(check, white));
}

TEST_F(CheckBox, UnreadableFileIsRefusedAndTheCheckBoxKeepsItsStrip) {
    qeltest::TempDir dir;
    CButtonEx* asButton = &check;
    CImageArray* before = check.m_strip;
    for (const std::string& path : UnreadablePictures(dir.Path())) {
        EXPECT_EQ(0, asButton->LoadBitmapA(path.c_str())) << path;
        EXPECT_EQ(before, check.m_strip) << path;
    }
    EXPECT_EQ(kFrameWidth, check.m_imageInset);
    EXPECT_EQ(kFrames[0], Shown());
}

TEST_F(CheckBox, ClickTogglesAndEveryStateShowsItsFrame) {
    EXPECT_EQ(kFrames[0], Shown());
    MovePointerTo(check, 5, 5);
    ASSERT_TRUE(PumpUntil([&] { return check.m_hover == TRUE; })) << "no hover message";
    EXPECT_EQ(kFrames[1], Shown());
    LeftDown();
    EXPECT_EQ(kFrames[1], Shown()) << "the press has no frame of its own";
    LeftUp();
    EXPECT_TRUE(check.GetCheck());
    EXPECT_EQ(1, host.CountNotification(kCheckId, BN_CLICKED));
    EXPECT_EQ(kFrames[3], Shown());
    MovePointerAway();
    ASSERT_TRUE(PumpUntil([&] { return check.m_hover == FALSE; }));
    EXPECT_EQ(kFrames[2], Shown());

    check.EnableWindow(FALSE);
    EXPECT_EQ(kFrames[5], Shown());
    Click();
    EXPECT_TRUE(check.GetCheck()) << "a disabled check box ignores clicks";
    EXPECT_EQ(1, host.CountNotification(kCheckId, BN_CLICKED));
    check.SetCheck(FALSE);
    MovePointerAway();
    EXPECT_EQ(kFrames[4], Shown());
}

TEST_F(CheckBox, PressInsideReleaseOutsideNeitherTogglesNorClicks) {
    MovePointerTo(check, 5, 5);
    LeftDown();
    MovePointerTo(host, 250, 100);
    LeftUp();
    EXPECT_FALSE(check.GetCheck());
    EXPECT_EQ(0, host.CountNotification(kCheckId, BN_CLICKED));
}

TEST_F(CheckBox, TransparentStripPixelsShowBlack) {
    auto colours = FrameColours();
    colours[0] = Gdiplus::Color(0, 255, 255, 255);
    ASSERT_EQ(1, check.LoadBitmapA(MakeStrip(colours, kFrameWidth, kHeight).release(), TRUE));
    EXPECT_EQ(RGB(0, 0, 0), Shown());
}

TEST_F(CheckBox, SetCheckSendsNothingToTheWindow) {
    check.SetCheck(TRUE);
    EXPECT_EQ(0, check.setChecks);
    EXPECT_EQ(kFrames[2], Shown());
}

TEST_F(SyncedCheckBox, ClickKeepsTheStandardCheckStateInStep) {
    Click();
    MovePointerAway();
    EXPECT_TRUE(check.GetCheck());
    EXPECT_EQ(1, check.setChecks);
    EXPECT_EQ(static_cast<WPARAM>(TRUE), check.lastSetCheck);
    EXPECT_EQ(kFrames[2], Shown());
}

TEST_F(RadioButton, ClickReportsButChangesOnlyOnSetCheck) {
    Click();
    MovePointerAway();
    EXPECT_FALSE(check.GetCheck());
    EXPECT_EQ(1, host.CountNotification(kCheckId, BN_CLICKED));
    EXPECT_EQ(kFrames[0], Shown());
    EXPECT_EQ(0, check.setChecks);
    check.SetCheck(TRUE);
    EXPECT_EQ(1, check.setChecks);
    EXPECT_EQ(static_cast<WPARAM>(TRUE), check.lastSetCheck);
    EXPECT_EQ(kFrames[2], Shown());
}

TEST_F(CheckBox, CaptionedCheckBoxesShowOnTheScreen) {
    Recording<CCheckEx> second;
    ASSERT_TRUE(second.Create("Flip", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(20, 50, 160, 70), &host, 1011));
    ASSERT_EQ(1, second.LoadBitmapA(MakeStrip(FrameColours(), kFrameWidth, kHeight).release(), TRUE));
    const COLORREF white = RGB(255, 255, 255);
    for (CCheckEx* c : {static_cast<CCheckEx*>(&check), static_cast<CCheckEx*>(&second)}) {
        c->ShowText(TRUE);
        c->SetTextFont("Tahoma", 14, 0, NONANTIALIASED_QUALITY);
        c->SetTextColor(white, nullptr, nullptr);
    }
    second.SetCheck(TRUE);
    Repaint(host);
    EXPECT_GT(CountColour(check, white), 0);
    EXPECT_GT(CountColour(second, white), 0);
    EXPECT_TRUE(SaveGalleryShot(host, "checks.png"));
}

using TiledRadio = CheckGallery<CRadioEx2>;

TEST_F(TiledRadio, OpaqueCaptionAreaTilesItsImageElseTheBackColour) {
    constexpr COLORREF kBack = RGB(30, 160, 90);
    constexpr COLORREF kTile = RGB(240, 120, 20);
    check.ShowText(TRUE);
    check.SetBkColor(kBack); // makes the button opaque
    Repaint(host);
    EXPECT_EQ(kBack, ProbeClient(check, 130, 2));
    std::unique_ptr<CImageArray> tile(MakeStrip({Opaque(kTile)}, 7, 5));
    check.SetTextBg(tile.get());
    Repaint(host);
    EXPECT_EQ(kTile, ProbeClient(check, 130, 2));
    EXPECT_EQ(kTile, ProbeClient(check, kFrameWidth + 1, 18)); // tiled from the image's right edge on
    EXPECT_EQ(kFrames[0], ProbeClient(check, 2, 2));
    check.SetTextBg(nullptr);
}

TEST_F(TiledRadio, ClickReportsButChangesOnlyOnSetCheck) {
    Click();
    MovePointerAway();
    EXPECT_FALSE(check.GetCheck());
    EXPECT_EQ(1, host.CountNotification(kCheckId, BN_CLICKED));
    check.SetCheck(TRUE);
    EXPECT_EQ(kFrames[2], Shown());
}

TEST(TiledRadioOwnership, CaptionBackgroundGoesWithAnOwnedStrip) {
    struct Tracked : CImageArray {
        explicit Tracked(bool* deleted) : CImageArray(4, 4, PixelFormat24bppRGB, 0), deleted_(deleted) {}
        ~Tracked() override { *deleted_ = true; }
        bool* deleted_;
    };
    bool ownedGone = false;
    {
        CRadioEx2 radio;
        radio.LoadBitmapA(MakeStrip(FrameColours(), kFrameWidth, kHeight).release(), TRUE);
        radio.SetTextBg(new Tracked(&ownedGone));
    }
    EXPECT_TRUE(ownedGone);
    bool lentGone = false;
    Tracked lent(&lentGone);
    auto strip = MakeStrip(FrameColours(), kFrameWidth, kHeight);
    {
        CRadioEx2 radio;
        radio.LoadBitmapA(strip.get(), FALSE);
        radio.SetTextBg(&lent);
    }
    EXPECT_FALSE(lentGone);
}
