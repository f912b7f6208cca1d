// The photo views in the gallery: placement and panning limits, fitting and scaling, a real drag,
// the dropper's and the pan's posted messages, the class cursor, the scroll-bar view, and the refusal
// of zooms, images and insets that leave nothing to show.
#include <objidl.h>
#include <gdiplus.h>

#include "gallery.h"

#include <PhotoWnd.h>
#include <qelImage.h>

#include <gtest/gtest.h>

#include <memory>

using namespace gallery;

namespace {

constexpr UINT kViewId = 4001;
constexpr int kAreaWidth = 600, kAreaHeight = 400;
const COLORREF kQuadrants[4] = {RGB(220, 40, 40), RGB(40, 200, 40), RGB(40, 40, 220), RGB(230, 200, 30)};

// An image in four flat quadrants: red top-left, green top-right, blue bottom-left, yellow bottom-right.
std::unique_ptr<CImage> Picture(int w, int h) {
    auto image = std::make_unique<CImage>(w, h, PixelFormat24bppRGB, 0);
    Gdiplus::Graphics graphics(image.get());
    for (int i = 0; i < 4; ++i) {
        Gdiplus::SolidBrush brush(Opaque(kQuadrants[i]));
        graphics.FillRectangle(&brush, (i % 2) * (w / 2), (i / 2) * (h / 2), w - w / 2, h - h / 2);
    }
    return image;
}

template <class View>
class PhotoGallery : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(host.Open(kAreaWidth, kAreaHeight));
        MovePointerAway();
    }
    void TearDown() override {
        if (view.GetSafeHwnd())
            view.DestroyWindow();
    }

    void Make(int w, int h, float zoom) {
        image = Picture(w, h);
        ASSERT_TRUE(view.Create(CRect(0, 0, kAreaWidth, kAreaHeight), nullptr, &host, kViewId));
        view.Show(1);
        EXPECT_EQ(nullptr, view.SetImage(image.get()));
        view.SetZoom(zoom, TRUE);
        host.log.clear();
    }

    CRect Placed() {
        CRect r;
        view.GetWindowRect(&r);
        host.ScreenToClient(&r);
        return r;
    }

    HCURSOR ClassCursor() { return reinterpret_cast<HCURSOR>(GetClassLongPtrA(view.m_hWnd, GCLP_HCURSOR)); }

    Host host;
    View view;
    std::unique_ptr<CImage> image;
};

using PhotoView = PhotoGallery<CPhotoWnd>;
using DropperView = PhotoGallery<CPhotoWnd2>;

class ScrollView : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(host.Open(kAreaWidth, kAreaHeight)); }
    void TearDown() override {
        if (view.GetSafeHwnd())
            view.DestroyWindow();
    }
    // A view with scroll bars over the whole area showing a w x h picture at zoom 100.
    void Make(int w, int h) {
        image = Picture(w, h);
        ASSERT_TRUE(view.Create(CRect(0, 0, kAreaWidth, kAreaHeight), &host, kViewId));
        view.UseScroll(TRUE);
        view.ShowWindow(SW_SHOW);
        view.SetImage(image.get());
        view.SetZoom(100.0f);
    }
    Host host;
    CSrlWndPhoto view;
    std::unique_ptr<CImage> image;
};

} // namespace

TEST_F(PhotoView, FittingImageIsCentredAndALargerOneTakesTheAreaWithItsOffsetLimited) {
    Make(400, 300, 100);
    EXPECT_EQ(CRect(100, 50, 500, 350), Placed());
    EXPECT_FALSE(view.m_pannable);

    view.SetZoom(200, TRUE);
    EXPECT_EQ(CRect(0, 0, 600, 400), Placed());
    EXPECT_TRUE(view.m_pannable);
    view.SetOffset(CPoint(500, 500), FALSE);
    EXPECT_EQ(CPoint(100, 100), view.GetOffset());
    view.SetOffset(CPoint(-5, 30), FALSE);
    EXPECT_EQ(CPoint(0, 30), view.GetOffset());

    view.SetZoomOffset(CPoint(100, 60), FALSE);
    EXPECT_EQ(CPoint(50, 30), view.GetOffset()) << "zoomed pixels become image pixels";
    view.ShiftZoomOffset(CSize(20, 20));
    EXPECT_EQ(CPoint(60, 40), view.GetOffset());
    view.ShiftOffset(CPoint(-100, 0));
    EXPECT_EQ(CPoint(0, 40), view.GetOffset());
    EXPECT_EQ(CSize(200, 150), view.GetZoomSize(50));

    view.SetOffset(CPoint(100, 100), FALSE);
    view.SetZoom(100, TRUE);
    EXPECT_EQ(CPoint(0, 0), view.GetOffset()) << "an image that fits shows from its corner";
}

TEST_F(PhotoView, PaintShowsTheOffsetPartOfTheImageStretched) {
    Make(400, 300, 200);
    Repaint(host);
    EXPECT_EQ(kQuadrants[0], ProbeClient(view, 10, 10));
    EXPECT_EQ(kQuadrants[0], ProbeClient(view, 390, 290)) << "zoom 200: the red quadrant fills 400 x 300";
    EXPECT_EQ(kQuadrants[3], ProbeClient(view, 410, 310));
    view.SetOffset(CPoint(100, 100), TRUE);
    Repaint(host);
    EXPECT_EQ(kQuadrants[0], ProbeClient(view, 10, 10));
    EXPECT_EQ(kQuadrants[3], ProbeClient(view, 590, 390));
    EXPECT_EQ(kQuadrants[3], ProbeClient(view, 210, 110)) << "image (200, 150) now sits at (200, 100) / 2";
}

TEST_F(PhotoView, FittingShrinksOnlyAndScalingAlsoGrows) {
    Make(800, 400, 100);
    view.FitToWindow(kAreaWidth, kAreaHeight, 1);
    EXPECT_FLOAT_EQ(75.0f, view.GetZoom());
    EXPECT_TRUE(view.IsFitToWindow());
    view.FitToWindow(kAreaWidth, kAreaHeight, 0);
    EXPECT_FLOAT_EQ(100.0f, view.GetZoom()) << "turning fit off goes back to 100";
    EXPECT_FALSE(view.IsFitToWindow());

    std::unique_ptr<CImage> small = Picture(300, 200);
    view.SetImage(small.get());
    view.FitToWindow(kAreaWidth, kAreaHeight, 1);
    EXPECT_FLOAT_EQ(100.0f, view.GetZoom());
    view.ScaleToWindow(kAreaWidth, kAreaHeight, 1);
    EXPECT_FLOAT_EQ(200.0f, view.GetZoom());
    EXPECT_EQ(CRect(0, 0, 600, 400), Placed());
    view.SetImage(image.get());
}

TEST_F(PhotoView, ARealDragPansTheImageWithThePointer) {
    Make(400, 300, 200);
    view.SetPanMode(TRUE);
    EXPECT_EQ(1, view.GetSelMode());
    MovePointerTo(view, 300, 200);
    LeftDown();
    MovePointerTo(view, 200, 150);
    EXPECT_EQ(CPoint(50, 25), view.GetOffset()) << "100 and 50 screen pixels at zoom 200";
    LeftUp();
    EXPECT_EQ(nullptr, CWnd::GetCapture());
    MovePointerTo(view, 100, 100);
    EXPECT_EQ(CPoint(50, 25), view.GetOffset()) << "no pan after the release";
    MovePointerAway();
}

TEST_F(PhotoView, ClassCursorFollowsTheModeAndIsTheArrowAgainAfterTheView) {
    HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    Make(400, 300, 200);
    ASSERT_NE(nullptr, view.m_panCursor) << "cursor 4001 is in the library";
    EXPECT_EQ(arrow, ClassCursor());
    view.SetPanMode(TRUE);
    EXPECT_EQ(view.m_panCursor, ClassCursor());
    view.SetZoom(100, TRUE);
    EXPECT_EQ(arrow, ClassCursor()) << "nothing to pan at zoom 100";
    view.SetZoom(200, TRUE);
    view.SetPanMode(FALSE);
    EXPECT_EQ(arrow, ClassCursor());
    view.SetPanMode(TRUE);
    view.DestroyWindow();
    WNDCLASSA cls = {};
    ASSERT_TRUE(GetClassInfoA(GetModuleHandleA("qelControl.dll"), "QEL_PhotoWindow", &cls));
    EXPECT_EQ(arrow, cls.hCursor);
}

TEST_F(PhotoView, ZoomOfZeroOrLessAndALockedZoomAreRefused) {
    Make(400, 300, 150);
    view.SetZoom(0, TRUE);
    view.SetZoom(-20, TRUE);
    EXPECT_FLOAT_EQ(150.0f, view.GetZoom());
    EXPECT_TRUE(view.IsZoomable());
    view.SetZoomable(FALSE);
    EXPECT_FALSE(view.IsZoomable());
    view.SetZoom(50, TRUE);
    EXPECT_FLOAT_EQ(150.0f, view.GetZoom());
    view.SetZoomable(TRUE);
    view.SetZoom(50, TRUE);
    EXPECT_FLOAT_EQ(50.0f, view.GetZoom());
}

TEST_F(PhotoView, ImageWithoutSizeCountsAsNone) {
    Make(400, 300, 100);
    const CRect before = Placed();
    CImage empty(static_cast<CImage*>(nullptr));
    ASSERT_EQ(0u, empty.Width());
    EXPECT_EQ(image.get(), view.SetImage(&empty));
    view.FitToWindow(kAreaWidth, kAreaHeight, 1);
    EXPECT_FLOAT_EQ(100.0f, view.GetZoom());
    view.SetZoom(300, TRUE);
    view.SetOffset(CPoint(10, 10), TRUE);
    Repaint(host);
    EXPECT_EQ(before, Placed()) << "nothing to place";
    EXPECT_EQ(CPoint(0, 0), view.GetOffset());
    EXPECT_EQ(nullptr, view.SetImage(nullptr)) << "NULL is refused";
    EXPECT_EQ(&empty, view.GetImage());
    view._SetImage(image.get());
}

TEST_F(PhotoView, InsetsThatLeaveNoAreaKeepTheZoom) {
    image = Picture(800, 400);
    CRect border(300, 0, 300, 0);
    ASSERT_TRUE(view.Create(CRect(0, 0, kAreaWidth, kAreaHeight), &border, &host, kViewId));
    view.SetImage(image.get());
    view.SetZoom(100, TRUE);
    view.FitToWindow(kAreaWidth, kAreaHeight, 1);
    EXPECT_FLOAT_EQ(100.0f, view.GetZoom());
    view.SetBorder(CRect(10, 20, 30, 40));
    view.FitToWindow(kAreaWidth, kAreaHeight, 1);
    EXPECT_FLOAT_EQ(std::min(560.0f / 800, 340.0f / 400) * 100, view.GetZoom());
    EXPECT_EQ(10, Placed().left) << "the insets move the view";
}

TEST_F(DropperView, DropperReleasePostsThePickedImagePixel) {
    Make(2000, 1600, 50);
    view.SetOffset(CPoint(10, 20), FALSE);
    ASSERT_EQ(CPoint(10, 20), view.GetOffset());
    view.SetDropper(TRUE);
    EXPECT_EQ(view.m_dropperCursor, ClassCursor());
    view.PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 40));
    view.PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(30, 40));
    Pump(100);
    EXPECT_EQ(1, host.Count(WM_QEL_PHOTOWND2_DROPPERPOS, MAKELONG(70, 100)));
    EXPECT_EQ(0, host.Count(WM_QEL_PHOTOWND2_PANDOWN, MAKELONG(30, 40))) << "no pan in dropper mode";
    EXPECT_EQ(0, host.Count(WM_QEL_PHOTOWND2_PANUP, MAKELONG(30, 40)));
    view.SetDropper(FALSE);
    EXPECT_EQ(LoadCursorA(nullptr, IDC_ARROW), ClassCursor());
}

TEST_F(DropperView, PanPressesAndReleasesArePostedToTheNotifyWindow) {
    Make(2000, 1600, 50);
    view.SetPanMode(TRUE);
    MovePointerTo(view, 30, 40);
    LeftDown();
    LeftUp();
    MovePointerAway();
    EXPECT_EQ(1, host.Count(WM_QEL_PHOTOWND2_PANDOWN, MAKELONG(30, 40)));
    EXPECT_EQ(1, host.Count(WM_QEL_PHOTOWND2_PANUP, MAKELONG(30, 40)));

    Host other;
    ASSERT_TRUE(other.Open(10, 10));
    view.SetNotifyWindow(other.m_hWnd);
    view.SetPanMode(FALSE);
    view.PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 6));
    view.PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 6));
    Pump(100);
    EXPECT_EQ(0, other.Count(WM_QEL_PHOTOWND2_PANDOWN, MAKELONG(5, 6))) << "a press is posted in pan mode only";
    EXPECT_EQ(1, other.Count(WM_QEL_PHOTOWND2_PANUP, MAKELONG(5, 6))) << "every release is";
}

TEST(PhotoMessages, AreRegisteredUnderTheirNames) {
    EXPECT_EQ(RegisterWindowMessageA("QEL_PHOTOWND2_PANDOWN"), WM_QEL_PHOTOWND2_PANDOWN);
    EXPECT_EQ(RegisterWindowMessageA("QEL_PHOTOWND2_PANUP"), WM_QEL_PHOTOWND2_PANUP);
    EXPECT_EQ(RegisterWindowMessageA("QEL_PHOTOWND2_DROPPERPOS"), WM_QEL_PHOTOWND2_DROPPERPOS);
    EXPECT_GE(WM_QEL_PHOTOWND2_PANDOWN, 0xC000u);
}

TEST_F(ScrollView, ScrollCodesMoveByLineAndPageAndToTheEnds) {
    Make(1000, 800);
    CRect client;
    view.GetClientRect(&client);
    auto scroll = [&](UINT message, UINT code, UINT thumb = 0) {
        view.SendMessage(message, MAKEWPARAM(code, thumb), 0);
    };
    scroll(WM_HSCROLL, SB_LINERIGHT);
    EXPECT_EQ(1, view.GetScrollPos(SB_HORZ));
    EXPECT_EQ(1, view.GetOffset().x);
    scroll(WM_HSCROLL, SB_PAGELEFT);
    EXPECT_EQ(0, view.GetScrollPos(SB_HORZ));
    EXPECT_EQ(0, view.GetOffset().x);
    scroll(WM_HSCROLL, SB_RIGHT);
    EXPECT_EQ(1000 - client.Width(), view.GetOffset().x);
    scroll(WM_HSCROLL, SB_LEFT);
    EXPECT_EQ(0, view.GetOffset().x);
    EXPECT_EQ(0, view.GetScrollPos(SB_HORZ));
    scroll(WM_HSCROLL, SB_THUMBTRACK, 50);
    EXPECT_EQ(50, view.GetOffset().x);
    scroll(WM_VSCROLL, SB_LINEDOWN);
    scroll(WM_VSCROLL, SB_LINEDOWN);
    EXPECT_EQ(2, view.GetOffset().y);
    scroll(WM_VSCROLL, SB_LINEUP);
    EXPECT_EQ(1, view.GetOffset().y);
    scroll(WM_VSCROLL, SB_ENDSCROLL);
    EXPECT_EQ(1, view.GetOffset().y);
    scroll(WM_VSCROLL, SB_TOP);
    scroll(WM_VSCROLL, SB_PAGEDOWN);
    EXPECT_EQ(400, view.GetOffset().y) << "a page is the area's height in zoomed pixels";
    scroll(WM_VSCROLL, SB_PAGEUP);
    EXPECT_EQ(0, view.GetOffset().y);
    view.DestroyWindow();
}

TEST_F(ScrollView, AFittingImageIsCentredWithoutBars) {
    Make(300, 200);
    CRect r;
    view.GetWindowRect(&r);
    host.ScreenToClient(&r);
    EXPECT_EQ(CRect(150, 100, 450, 300), r);
    view.UseScroll(FALSE);
    view.Refresh();
    EXPECT_EQ(0u, view.GetStyle() & (WS_HSCROLL | WS_VSCROLL));
}

// The view at fit size, as a person sees it.
TEST_F(PhotoView, GalleryPageOfAFittedPicture) {
    Make(1200, 700, 100);
    view.FitToWindow(kAreaWidth, kAreaHeight, 1);
    Repaint(host);
    EXPECT_EQ(kQuadrants[0], ProbeClient(view, 5, 5));
    EXPECT_TRUE(SaveGalleryShot(host, "photo_view.png"));
}
