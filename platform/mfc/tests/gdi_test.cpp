// GDI objects and device contexts: ownership, handle maps, drawing read back as pixels.
#include <afxwin.h>

#include <gtest/gtest.h>

namespace {

// A 40x30 memory context with a bitmap selected.
class MemoryDC : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
        CClientDC screen(nullptr);
        ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&screen, 40, 30));
        old = dc.SelectObject(&bitmap);
        ASSERT_NE(nullptr, old);
    }
    void TearDown() override { dc.SelectObject(old); }

    CDC dc;
    CBitmap bitmap;
    CBitmap* old = nullptr;
};

TEST_F(MemoryDC, FillsReadsAndFramesColours) {
    dc.FillSolidRect(0, 0, 40, 30, RGB(10, 20, 30));
    EXPECT_EQ(RGB(10, 20, 30), dc.GetPixel(39, 29));
    EXPECT_EQ(RGB(10, 20, 30), dc.GetBkColor()); // left set, as MFC does

    CBrush red(RGB(255, 0, 0));
    dc.FillRect(CRect(5, 5, 15, 15), &red);
    EXPECT_EQ(RGB(255, 0, 0), dc.GetPixel(10, 10));
    EXPECT_EQ(RGB(10, 20, 30), dc.GetPixel(15, 15));

    dc.Draw3dRect(CRect(20, 0, 30, 10), RGB(255, 255, 255), RGB(0, 0, 0));
    EXPECT_EQ(RGB(255, 255, 255), dc.GetPixel(20, 0));
    EXPECT_EQ(RGB(0, 0, 0), dc.GetPixel(29, 9));
    EXPECT_EQ(RGB(10, 20, 30), dc.GetPixel(25, 5));

    CPen pen(PS_SOLID, 1, RGB(0, 255, 0));
    CPen* oldPen = dc.SelectObject(&pen);
    dc.MoveTo(0, 25);
    dc.LineTo(40, 25);
    dc.SelectObject(oldPen);
    EXPECT_EQ(RGB(0, 255, 0), dc.GetPixel(17, 25));
    EXPECT_EQ(CPoint(40, 25), dc.GetCurrentPosition());
}

TEST_F(MemoryDC, BlitsBetweenContextsAndSelectsFonts) {
    dc.FillSolidRect(0, 0, 40, 30, RGB(0, 0, 255));
    CDC other;
    ASSERT_TRUE(other.CreateCompatibleDC(&dc));
    CBitmap target;
    ASSERT_TRUE(target.CreateCompatibleBitmap(&dc, 10, 10));
    CBitmap* previous = other.SelectObject(&target);
    ASSERT_TRUE(other.BitBlt(0, 0, 10, 10, &dc, 0, 0, SRCCOPY));
    EXPECT_EQ(RGB(0, 0, 255), other.GetPixel(5, 5));
    EXPECT_EQ(&target, other.GetCurrentBitmap()); // the attached object, not a wrapper
    other.SelectObject(previous);

    CFont font;
    ASSERT_TRUE(font.CreatePointFont(120, "Tahoma", &dc));
    LOGFONTA logFont = {};
    ASSERT_TRUE(font.GetLogFont(&logFont));
    EXPECT_STREQ("Tahoma", logFont.lfFaceName);
    EXPECT_EQ(-MulDiv(12, dc.GetDeviceCaps(LOGPIXELSY), 72), logFont.lfHeight);
    CFont* oldFont = dc.SelectObject(&font);
    EXPECT_EQ(&font, dc.GetCurrentFont());
    const CSize extent = dc.GetTextExtent(CString("Zentrik"));
    EXPECT_GT(extent.cx, 0);
    EXPECT_GT(extent.cy, 0);
    dc.SelectObject(oldFont);

    BITMAP info = {};
    ASSERT_TRUE(target.GetBitmap(&info));
    EXPECT_EQ(10, info.bmWidth);
}

TEST(GdiObjectTest, OwnsItsHandleUntilDetached) {
    HBRUSH kept = nullptr;
    {
        CBrush brush;
        ASSERT_TRUE(brush.CreateSolidBrush(RGB(1, 2, 3)));
        kept = static_cast<HBRUSH>(brush.Detach());
        EXPECT_EQ(nullptr, brush.GetSafeHandle());
    }
    LOGBRUSH logBrush = {};
    EXPECT_EQ(static_cast<int>(sizeof logBrush), GetObjectA(kept, sizeof logBrush, &logBrush)); // alive
    HBRUSH deleted = nullptr;
    {
        CBrush brush;
        brush.Attach(kept);
        deleted = brush;
    }
    EXPECT_EQ(0, GetObjectA(deleted, sizeof logBrush, &logBrush)); // deleted with its owner

    CGdiObject* none = nullptr;
    EXPECT_EQ(nullptr, none->GetSafeHandle());
}

TEST(GdiObjectTest, FromHandleGivesTheAttachedObjectOrOneTemporaryWrapper) {
    CFont font;
    font.CreateStockObject(DEFAULT_GUI_FONT);
    EXPECT_EQ(&font, CFont::FromHandle(static_cast<HFONT>(font.m_hObject)));
    font.Detach();

    HRGN raw = CreateRectRgn(0, 0, 4, 4);
    CRgn* first = CRgn::FromHandle(raw);
    EXPECT_EQ(first, CRgn::FromHandle(raw));
    EXPECT_TRUE(first->PtInRegion(1, 1));
    CGdiObject::DeleteTempMap(); // the wrapper goes, the region stays
    EXPECT_NE(NULLREGION, CombineRgn(raw, raw, nullptr, RGN_COPY));
    DeleteObject(raw);
    EXPECT_EQ(nullptr, CGdiObject::FromHandle(nullptr));
}

TEST(GdiObjectTest, RegionsCombineAndCompare) {
    CRgn a, b, both;
    a.CreateRectRgn(0, 0, 10, 10);
    b.CreateRectRgnIndirect(CRect(5, 5, 20, 20));
    both.CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(COMPLEXREGION, both.CombineRgn(&a, &b, RGN_OR));
    CRect box;
    both.GetRgnBox(&box);
    EXPECT_EQ(CRect(0, 0, 20, 20), box);
    EXPECT_TRUE(both.PtInRegion(CPoint(15, 15)));
    EXPECT_FALSE(both.PtInRegion(15, 2));
    CRgn copy;
    copy.CreateRectRgn(0, 0, 0, 0);
    copy.CopyRgn(&both);
    EXPECT_TRUE(copy.EqualRgn(&both));
    copy.OffsetRgn(1, 0);
    EXPECT_FALSE(copy.EqualRgn(&both));
}

// A plain top-level window for the window contexts.
class WindowDC : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASSA cls = {};
        cls.lpfnWndProc = DefWindowProcA;
        cls.hInstance = GetModuleHandleA(nullptr);
        cls.lpszClassName = "QelMfcGdiTest";
        RegisterClassA(&cls);
        window = CreateWindowA("QelMfcGdiTest", "gdi", WS_POPUP | WS_VISIBLE, 10, 10, 60, 40, nullptr, nullptr,
                               cls.hInstance, nullptr);
        ASSERT_NE(nullptr, window);
        UpdateWindow(window);
    }
    void TearDown() override { DestroyWindow(window); }
    HWND window = nullptr;
};

TEST_F(WindowDC, ClientAndPaintContextsDrawIntoTheWindow) {
    CWnd* wnd = CWnd::FromHandle(window);
    ASSERT_NE(nullptr, wnd);
    EXPECT_EQ(wnd, CWnd::FromHandle(window)); // one temporary per handle
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(window));
    {
        CClientDC dc(wnd);
        ASSERT_NE(nullptr, dc.GetSafeHdc());
        EXPECT_EQ(&dc, CDC::FromHandle(dc.m_hDC));
        dc.FillSolidRect(0, 0, 60, 40, RGB(0, 128, 0));
        EXPECT_EQ(RGB(0, 128, 0), dc.GetPixel(30, 20));
        EXPECT_EQ(window, dc.GetWindow()->m_hWnd);
    }
    InvalidateRect(window, nullptr, FALSE);
    {
        CPaintDC dc(wnd);
        EXPECT_NE(nullptr, dc.m_hDC);
        EXPECT_FALSE(IsRectEmpty(&dc.m_ps.rcPaint));
    }
    RECT update = {};
    EXPECT_FALSE(GetUpdateRect(window, &update, FALSE)); // EndPaint validated it
    CWindowDC whole(wnd);
    EXPECT_NE(nullptr, whole.m_hDC);
    CWnd::FromHandle(nullptr);
    CGdiObject::DeleteTempMap();
}

} // namespace
