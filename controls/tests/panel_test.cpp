// Panels, the scroll panel and the hyperlink in the gallery: image borders by thirds, filling the
// parent, line and page scrolling of the content, and a link that opens its text through the shell.
#include <objidl.h>
#include <gdiplus.h>

#include "gallery.h"

#include <HyperLink.h>
#include <Panel.h>
#include <StaticEx.h>
#include <qelImage.h>
#include <qeltest/temp_dir.h>

#include <gtest/gtest.h>

#include <string>

using namespace gallery;

namespace {

constexpr COLORREF kFill = RGB(30, 140, 60);

class Panels : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(host.Open(320, 180));
        MovePointerAway();
    }
    Host host;
};

CRect RectInParent(CWnd& wnd) {
    CRect r;
    wnd.GetWindowRect(&r);
    wnd.GetParent()->ScreenToClient(&r);
    return r;
}

} // namespace

TEST(PanelClasses, RunTimeClassesNameThemselves) {
    EXPECT_STREQ("CPanel", RUNTIME_CLASS(CPanel)->m_lpszClassName);
    EXPECT_STREQ("CScrollPanel", RUNTIME_CLASS(CScrollPanel)->m_lpszClassName);
    EXPECT_EQ(RUNTIME_CLASS(CPanel), RUNTIME_CLASS(CScrollPanel)->GetBaseClass());
}

TEST(PanelImage, BorderIsAThirdOfTheImageOnEachSide) {
    CPanel panel;
    EXPECT_EQ(0, panel.GetBorder().left);
    ASSERT_EQ(1, panel.LoadBitmapA(MakeStrip({Opaque(kFill)}, 90, 60).release(), TRUE));
    const CBorder border = panel.GetBorder();
    EXPECT_EQ(30, border.left);
    EXPECT_EQ(20, border.top);
    EXPECT_EQ(30, border.right);
    EXPECT_EQ(20, border.bottom);
    EXPECT_TRUE(panel.HasBitmap());
    EXPECT_EQ(0, panel.LoadBitmapA(static_cast<CImageArray*>(nullptr), TRUE));
}

TEST(PanelImage, UnreadableFileIsRefusedAndThePanelKeepsItsImage) {
    qeltest::TempDir dir;
    CPanel panel;
    ASSERT_EQ(1, panel.LoadBitmapA(MakeStrip({Opaque(kFill)}, 90, 60).release(), TRUE));
    for (const std::string& path : UnreadablePictures(dir.Path()))
        EXPECT_EQ(0, panel.LoadBitmapA(path.c_str())) << path;
    EXPECT_TRUE(panel.HasBitmap());
    EXPECT_EQ(30, panel.GetBorder().left) << "the image it had keeps its border";
}

TEST(PanelImage, HandedTheImageItAlreadyOwnsKeepsIt) {
    struct Tracked : CImageArray {
        explicit Tracked(bool* deleted) : CImageArray(9, 9, PixelFormat24bppRGB, 0), deleted_(deleted) {}
        ~Tracked() override { *deleted_ = true; }
        bool* deleted_;
    };
    bool deleted = false;
    {
        CPanel panel;
        auto* image = new Tracked(&deleted);
        ASSERT_EQ(1, panel.LoadBitmapA(image, TRUE));
        ASSERT_EQ(1, panel.LoadBitmapA(image, TRUE));
        EXPECT_FALSE(deleted);
        EXPECT_EQ(3, panel.GetBorder().left); // reads the image: freed memory would not give this
    }
    EXPECT_TRUE(deleted);
}

TEST(PanelBrush, ColourIsRecordedOnlyByTheColourSetter) {
    CPanel panel;
    EXPECT_EQ(0xFFFFFFu, panel.GetBrushColor());
    panel.SetBrushColor(kFill);
    EXPECT_EQ(kFill, panel.GetBrushColor());
    panel.SetBrush(CreateSolidBrush(RGB(1, 1, 1)));
    EXPECT_EQ(kFill, panel.GetBrushColor());
}

TEST_F(Panels, PanelFillsItsParentWithItsBrushOrImage) {
    CPanel panel;
    ASSERT_TRUE(panel.Create(nullptr, nullptr, WS_VISIBLE, CRect(0, 0, 10, 10), &host, 1301));
    EXPECT_TRUE(panel.GetStyle() & WS_CLIPCHILDREN);
    panel.SetBrushColor(kFill);
    panel.xSize(); // the empty placement: the whole client area
    EXPECT_EQ(CRect(0, 0, 320, 180), RectInParent(panel));
    Repaint(host);
    EXPECT_EQ(kFill, ProbeClient(panel, 300, 170));
    constexpr COLORREF kImage = RGB(200, 180, 20);
    ASSERT_EQ(1, panel.LoadBitmapA(MakeStrip({Opaque(kImage)}, 30, 30).release(), TRUE));
    Repaint(host);
    EXPECT_EQ(kImage, ProbeClient(panel, 300, 170));
}

namespace {

class Scrolling : public Panels {
protected:
    void SetUp() override {
        Panels::SetUp();
        ASSERT_TRUE(scroller.Create(nullptr, nullptr, WS_VISIBLE, CRect(10, 10, 210, 110), &host, 1302));
        content = new CPanel;
        ASSERT_TRUE(content->Create(nullptr, nullptr, WS_VISIBLE, CRect(0, 0, 10, 10), &scroller, 1303));
        content->SetBrushColor(kFill);
        scroller.SetPanel(content);
    }
    int ContentLeft() { return RectInParent(*content).left; }
    int ContentTop() { return RectInParent(*content).top; }

    CScrollPanel scroller;
    CPanel* content = nullptr; // owned by the scroll panel
};

} // namespace

TEST_F(Scrolling, CreatedViewFitsAndShowsNoBar) {
    EXPECT_EQ(CSize(200, 100), scroller.m_viewSize);
    EXPECT_EQ(0, scroller.m_scrollMax[0]);
    EXPECT_EQ(0, scroller.m_scrollMax[1]);
    EXPECT_FALSE(scroller.GetStyle() & WS_HSCROLL);
}

TEST_F(Scrolling, LineStepMovesTheContentOnePixelAndPageStepsStopAtTheMaximum) {
    scroller.SetScrollMode(0);
    ASSERT_EQ(1, scroller.xSetViewSize(500, 60));
    const int page = scroller.m_scrollPage[0];
    EXPECT_EQ(499, scroller.m_scrollMax[0]);
    EXPECT_EQ(200, page) << "no vertical bar is needed, so none takes width";
    const int max = scroller.m_scrollMax[0] - page + 1;
    EXPECT_EQ(0, ContentLeft());
    scroller.SendMessage(WM_HSCROLL, SB_LINERIGHT, 0);
    EXPECT_EQ(1, scroller.m_scrollPos[0]);
    EXPECT_EQ(-1, ContentLeft());
    for (int i = 0; i < 5; ++i)
        scroller.SendMessage(WM_HSCROLL, SB_PAGERIGHT, 0);
    EXPECT_EQ(max, scroller.m_scrollPos[0]);
    EXPECT_EQ(-max, ContentLeft());
    EXPECT_EQ(max, scroller.GetScrollPos(SB_HORZ));
    scroller.SendMessage(WM_HSCROLL, SB_LEFT, 0);
    EXPECT_EQ(0, ContentLeft());
    EXPECT_FALSE(scroller.xHScroll(SB_LINELEFT, 0)) << "nothing left of 0";
}

TEST_F(Scrolling, BothAxesScrollWhenTheViewIsLargerBothWays) {
    scroller.SetScrollMode(0);
    ASSERT_EQ(1, scroller.xSetViewSize(400, 300));
    EXPECT_EQ(100 - GetSystemMetrics(SM_CYHSCROLL), scroller.m_scrollPage[1]);
    EXPECT_EQ(200 - GetSystemMetrics(SM_CXVSCROLL), scroller.m_scrollPage[0]);
    scroller.SendMessage(WM_VSCROLL, SB_PAGEDOWN, 0);
    EXPECT_EQ(scroller.m_scrollPage[1], scroller.m_scrollPos[1]);
    EXPECT_EQ(-scroller.m_scrollPage[1], ContentTop());
    EXPECT_EQ(CSize(399, 299), RectInParent(*content).Size());
}

TEST_F(Scrolling, AlwaysShownBarStaysVisibleDisabledAndTakesItsRoom) {
    scroller.SetScrollMode(2); // the horizontal bar always shown
    ASSERT_EQ(1, scroller.xSetViewSize(150, 60)); // fits both ways
    EXPECT_TRUE(scroller.GetStyle() & WS_HSCROLL);
    SCROLLBARINFO bar = {};
    bar.cbSize = sizeof bar;
    ASSERT_TRUE(GetScrollBarInfo(scroller.m_hWnd, OBJID_HSCROLL, &bar));
    EXPECT_TRUE(bar.rgstate[0] & STATE_SYSTEM_UNAVAILABLE) << "shown, but disabled while not needed";
    EXPECT_EQ(CSize(200, 100 - GetSystemMetrics(SM_CYHSCROLL)), RectInParent(*content).Size());
}

TEST_F(Scrolling, BarNotAllowedNeverScrolls) {
    scroller.SetScrollMode(8); // no horizontal bar
    ASSERT_EQ(1, scroller.xSetViewSize(500, 60));
    EXPECT_EQ(0, scroller.m_scrollMax[0]);
    scroller.SendMessage(WM_HSCROLL, SB_LINERIGHT, 0);
    EXPECT_EQ(0, ContentLeft());
}

TEST(HyperLinkDefaults, ColoursUrlAndHandCursor) {
    CHyperLink link;
    EXPECT_EQ(0xEE0000u, link.m_normalColor);
    EXPECT_EQ(0x8B1A55u, link.m_visitedColor);
    EXPECT_EQ(0x0000FFu, link.m_hoverColor);
    HMODULE library = GetModuleHandleA("qelControl.dll");
    ASSERT_NE(nullptr, library);
    HCURSOR hand = LoadCursorA(library, MAKEINTRESOURCEA(4004));
    ASSERT_NE(nullptr, hand) << "the library carries the hand cursor 4004";
    EXPECT_EQ(hand, link.m_cursor);
    link.SetColor(1, 2, 0xFFFFFFFF);
    EXPECT_EQ(1u, link.m_hoverColor);
    link.SetURL("Site", "http://x");
    EXPECT_EQ(CString("http://x"), link.m_url);
    CHyperLink copy(link);
    EXPECT_EQ(link.m_url, copy.m_url);
}

TEST_F(Panels, LinkDrawsInItsColoursAndShowsTheHandOverIt) {
    CHyperLink link;
    link.Init(host.m_hWnd, CRect(20, 20, 20, 20));
    link.SetURL("Open the album", "");
    link.FitText(0);
    EXPECT_GT(link.m_rect.Width(), 60);
    EXPECT_GE(link.m_rect.Height(), 14);
    Repaint(host);
    {
        CClientDC dc(&host);
        EXPECT_EQ(1, link.Draw(&dc));
    }
    Pump(50); // Wine shows what a window context drew once the window's surface is flushed
    EXPECT_GT(CountColour(host, 0xEE0000), 20);
    EXPECT_EQ(1, link.OnMouseMove(link.m_rect.CenterPoint()));
    EXPECT_EQ(link.m_cursor, GetCursor());
    EXPECT_TRUE(link.m_hover);
    EXPECT_EQ(0, link.OnMouseMove(CPoint(300, 150)));
    EXPECT_FALSE(link.m_hover);
    EXPECT_TRUE(SaveGalleryShot(host, "link.png"));
}

TEST_F(Panels, LinkWithAnEmptyUrlOpensItsText) {
    char self[MAX_PATH] = {};
    ASSERT_TRUE(GetModuleFileNameA(nullptr, self, MAX_PATH));
    std::string program = self;
    program = program.substr(0, program.find_last_of('\\') + 1) + "controls_link_marker.exe";
    const std::string marker = program + ".marker";
    DeleteFileA(marker.c_str());
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(program.c_str())) << program;

    CHyperLink link;
    link.Init(host.m_hWnd, CRect(10, 10, 200, 30));
    link.SetURL(program.c_str(), "");
    EXPECT_EQ(0, link.OnClicked(CPoint(250, 100))) << "outside the link";
    EXPECT_FALSE(link.m_visited);
    EXPECT_EQ(1, link.OnClicked(CPoint(20, 20)));
    EXPECT_TRUE(link.m_visited);
    EXPECT_TRUE(PumpUntil([&] { return GetFileAttributesA(marker.c_str()) != INVALID_FILE_ATTRIBUTES; }))
        << "the program named by the text did not run";
    DeleteFileA(marker.c_str());
}

TEST_F(Panels, LabelsPanelAndLinkShowOnTheScreen) {
    CPanel panel;
    ASSERT_TRUE(panel.Create(nullptr, nullptr, WS_VISIBLE, CRect(0, 0, 10, 10), &host, 1301));
    constexpr COLORREF kPage = RGB(232, 234, 240);
    panel.SetBrushColor(kPage);
    panel.xSize();
    CStaticEx title, note;
    ASSERT_TRUE(title.Create("Camera", WS_CHILD | WS_VISIBLE | SS_CENTER, CRect(10, 10, 310, 40), &panel, 1304));
    ASSERT_TRUE(note.Create("Pictures are saved in the album folder below.", WS_CHILD | WS_VISIBLE,
                            CRect(10, 50, 150, 140), &panel, 1305));
    COLORREF ink = RGB(20, 24, 40);
    for (CStaticEx* label : {&title, &note}) {
        label->SetBrushColor(kPage);
        label->SetTextColor(&ink, nullptr);
        label->SetTextFont("Arial", 16, 0, ANTIALIASED_QUALITY);
    }
    title.SetTextFont("Arial", 22, 1, ANTIALIASED_QUALITY);
    Repaint(host);
    CHyperLink link;
    link.Init(panel.m_hWnd, CRect(170, 60, 170, 60));
    link.SetURL("Open the album", "");
    link.FitText(0);
    {
        CClientDC dc(&panel);
        link.Draw(&dc);
    }
    Pump(50);
    EXPECT_GT(CountColour(title, ink), 0);
    EXPECT_GT(CountColour(note, ink), 0);
    EXPECT_TRUE(SaveGalleryShot(host, "labels.png"));
}
