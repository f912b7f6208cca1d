// Skinned labels in the gallery: fonts, wrapping, alignment, the disabled colour, background brush and
// image, the indicator's frame choice, and strip ownership.
#include <objidl.h>
#include <gdiplus.h>

#include "gallery.h"

#include <StaticEx.h>
#include <qelImage.h>
#include <qeltest/temp_dir.h>

#include <gtest/gtest.h>

using namespace gallery;

namespace {

constexpr COLORREF kInk = RGB(255, 255, 255);
constexpr COLORREF kGray = RGB(255, 40, 40);
constexpr COLORREF kPaper = RGB(0, 0, 90);

// Top and bottom rows (client coordinates) holding the colour; -1 when none.
std::pair<int, int> RowsWith(CWnd& wnd, COLORREF colour) {
    CRect client;
    wnd.GetClientRect(&client);
    int top = -1, bottom = -1;
    for (int y = 0; y < client.bottom; ++y)
        for (int x = 0; x < client.right; ++x)
            if (ProbeClient(wnd, x, y) == colour) {
                if (top < 0)
                    top = y;
                bottom = y;
                break;
            }
    return {top, bottom};
}

std::pair<int, int> ColumnsWith(CWnd& wnd, COLORREF colour) {
    CRect client;
    wnd.GetClientRect(&client);
    int left = -1, right = -1;
    for (int x = 0; x < client.right; ++x)
        for (int y = 0; y < client.bottom; ++y)
            if (ProbeClient(wnd, x, y) == colour) {
                if (left < 0)
                    left = x;
                right = x;
                break;
            }
    return {left, right};
}

class Labels : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(host.Open(320, 160));
        MovePointerAway();
    }

    // A label with a dark brush and white, non-antialiased text.
    void Make(CStaticEx& label, const char* text, DWORD style, const CRect& rect, UINT id) {
        ASSERT_TRUE(label.Create(text, WS_CHILD | WS_VISIBLE | style, rect, &host, id));
        label.SetBrushColor(kPaper);
        label.SetTextFont("Arial", 14, 0, NONANTIALIASED_QUALITY);
        label.SetTextColor(const_cast<COLORREF*>(&kInk), const_cast<COLORREF*>(&kGray));
    }

    Host host;
};

int FontHeight(HFONT font) {
    LOGFONTA description = {};
    GetObjectA(font, sizeof description, &description);
    return description.lfHeight;
}

} // namespace

TEST(LabelClasses, RunTimeClassesNameThemselves) {
    EXPECT_STREQ("CStaticEx", RUNTIME_CLASS(CStaticEx)->m_lpszClassName);
    EXPECT_STREQ("CStaticEx2", RUNTIME_CLASS(CStaticEx2)->m_lpszClassName);
    EXPECT_EQ(RUNTIME_CLASS(CStatic), RUNTIME_CLASS(CStaticEx)->GetBaseClass());
}

TEST(LabelFont, PositiveSizeIsKeptNegatedAsACharacterHeight) {
    CStaticEx label;
    label.SetTextFont("Arial", 12, 0, 0);
    EXPECT_EQ(-12, label.m_fontSize);
    ASSERT_NE(nullptr, label.m_font);
    EXPECT_EQ(-12, FontHeight(label.m_font));
    label.SetTextFont("Arial", -9, 0, 0);
    EXPECT_EQ(-9, label.m_fontSize);
    EXPECT_EQ(-9, FontHeight(label.m_font));
}

TEST(LabelFont, CopiesAFontItIsGivenAndRefusesNull) {
    CStaticEx label;
    HFONT given = CreateFontA(-20, 0, 0, 0, FW_BOLD, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
    label.SetTextFont(given);
    ASSERT_NE(nullptr, label.m_font);
    EXPECT_NE(given, label.m_font) << "the label keeps its own copy";
    DeleteObject(given);
    EXPECT_EQ(-20, FontHeight(label.m_font));
    HFONT copy = label.m_font;
    label.SetTextFont(static_cast<HFONT>(nullptr));
    EXPECT_EQ(copy, label.m_font);
}

TEST(LabelColours, NullGrayMeansTheNormalColour) {
    CStaticEx label;
    COLORREF c = RGB(1, 2, 3);
    label.SetTextColor(&c, nullptr);
    EXPECT_EQ(c, label.m_textColor);
    EXPECT_EQ(c, label.m_grayColor);
    const COLORREF before = label.m_textColor;
    label.SetTextColor(nullptr, &c);
    EXPECT_EQ(before, label.m_textColor);
}

TEST_F(Labels, CentredTextWrapsAndNoWrapStaysOnOneLine) {
    CStaticEx wrapped, single;
    const char* text = "Snap photos at once";
    Make(wrapped, text, SS_CENTER, CRect(10, 10, 90, 100), 1201);
    Make(single, text, SS_LEFTNOWORDWRAP, CRect(110, 10, 190, 100), 1202);
    Repaint(host);
    const auto wrapRows = RowsWith(wrapped, kInk);
    const auto singleRows = RowsWith(single, kInk);
    ASSERT_GE(singleRows.first, 0);
    const int lineHeight = singleRows.second - singleRows.first + 1;
    EXPECT_LE(lineHeight, 16);
    EXPECT_GT(wrapRows.second - wrapRows.first + 1, lineHeight + 8) << "two or more lines";
    const auto singleColumns = ColumnsWith(single, kInk);
    EXPECT_LE(singleColumns.first, 2);
    EXPECT_GE(singleColumns.second, 77) << "one line, cut at the right edge";
}

TEST_F(Labels, CentreAndRightAlignmentComeFromTheStyle) {
    CStaticEx left, centre, right;
    Make(left, "ab", 0, CRect(10, 10, 110, 40), 1201);
    Make(centre, "ab", SS_CENTER, CRect(10, 50, 110, 80), 1202);
    Make(right, "ab", SS_RIGHT, CRect(10, 90, 110, 120), 1203);
    Repaint(host);
    const auto l = ColumnsWith(left, kInk);
    const auto c = ColumnsWith(centre, kInk);
    const auto r = ColumnsWith(right, kInk);
    EXPECT_LE(l.first, 2);
    EXPECT_NEAR(50, (c.first + c.second) / 2, 2);
    EXPECT_GE(r.second, 96);
}

TEST_F(Labels, DisabledLabelDrawsInTheGrayColourWithoutAnEnableMessage) {
    CStaticEx label;
    Make(label, "Record", 0, CRect(10, 10, 150, 40), 1201);
    Repaint(host);
    EXPECT_GT(CountColour(label, kInk), 0);
    host.log.clear();
    label.EnableWindow(FALSE);
    Pump(50);
    EXPECT_TRUE(label.GetStyle() & WS_DISABLED);
    EXPECT_EQ(0, CountColour(label, kInk));
    EXPECT_GT(CountColour(label, kGray), 0);
    label.EnableWindow(TRUE);
    Pump(50);
    EXPECT_GT(CountColour(label, kInk), 0);
}

TEST_F(Labels, SettingTheTextRedrawsAtOnce) {
    CStaticEx label;
    Make(label, "", 0, CRect(10, 10, 150, 40), 1201);
    Repaint(host);
    EXPECT_EQ(0, CountColour(label, kInk));
    label.SetWindowTextA("Zoom");
    EXPECT_GT(CountColour(label, kInk), 0) << "painted without waiting for the message loop";
}

TEST_F(Labels, BackgroundImageIsDrawnOverTheBrush) {
    CStaticEx label;
    Make(label, "", 0, CRect(10, 10, 150, 40), 1201);
    constexpr COLORREF kImage = RGB(20, 200, 120);
    ASSERT_EQ(1, label.LoadBitmapA(MakeStrip({Opaque(kImage)}, 12, 12).release(), TRUE));
    Repaint(host);
    EXPECT_EQ(kImage, ProbeClient(label, 2, 2));
    EXPECT_EQ(kImage, ProbeClient(label, 137, 27)); // stretched over the whole label
    EXPECT_EQ(0, label.LoadBitmapA(static_cast<CImageArray*>(nullptr), TRUE));
    EXPECT_EQ(0, label.LoadBitmapA(static_cast<const char*>(nullptr)));
    EXPECT_NE(nullptr, label.m_image);
}

namespace {

class TrackedStrip : public CImageArray {
public:
    TrackedStrip(bool* deleted) : CImageArray(12, 12, PixelFormat24bppRGB, 0xFF204060), deleted_(deleted) {}
    ~TrackedStrip() override { *deleted_ = true; }

private:
    bool* deleted_;
};

} // namespace

TEST_F(Labels, HandedTheImageItAlreadyOwnsKeepsIt) {
    CStaticEx label;
    Make(label, "", 0, CRect(10, 10, 150, 40), 1201);
    bool deleted = false;
    auto* image = new TrackedStrip(&deleted);
    ASSERT_EQ(1, label.LoadBitmapA(image, TRUE));
    ASSERT_EQ(1, label.LoadBitmapA(image, TRUE));
    EXPECT_FALSE(deleted);
    Repaint(host);
    EXPECT_EQ(RGB(0x20, 0x40, 0x60), ProbeClient(label, 5, 5));
    label.DestroyWindow();
    EXPECT_TRUE(deleted) << "an owned image goes with the window";
}

TEST_F(Labels, UnreadableFileIsRefusedAndTheLabelAndIndicatorKeepTheirImages) {
    qeltest::TempDir dir;
    CStaticEx label;
    Make(label, "", 0, CRect(10, 10, 150, 40), 1201);
    bool deleted = false;
    auto* image = new TrackedStrip(&deleted);
    ASSERT_EQ(1, label.LoadBitmapA(image, TRUE));
    CStaticEx2 indicator;
    ASSERT_TRUE(indicator.Create("", WS_CHILD | WS_VISIBLE, CRect(160, 10, 180, 30), &host, 1202));
    auto strip = MakeStrip(Opaque({RGB(200, 0, 0), RGB(0, 200, 0)}), 20, 20);
    strip->SetCount(2);
    CImageArray* frames = strip.get();
    ASSERT_EQ(1, indicator.LoadBitmapA(strip.release(), TRUE));
    for (const std::string& path : UnreadablePictures(dir.Path())) {
        EXPECT_EQ(0, label.LoadBitmapA(path.c_str())) << path;
        EXPECT_EQ(0, indicator.LoadBitmapA(path.c_str(), 7)) << path;
    }
    EXPECT_FALSE(deleted);
    EXPECT_EQ(frames, indicator.m_image);
    EXPECT_EQ(2u, indicator.m_count);
    Repaint(host);
    EXPECT_EQ(RGB(0x20, 0x40, 0x60), ProbeClient(label, 5, 5));
    EXPECT_EQ(RGB(200, 0, 0), ProbeClient(indicator, 5, 5));
}

TEST_F(Labels, IndicatorShowsTheChosenFrameAndStoresTheCountForAnIndexPastTheEnd) {
    const std::vector<COLORREF> frames = {RGB(200, 0, 0), RGB(0, 200, 0), RGB(0, 0, 200), RGB(200, 200, 0)};
    CStaticEx2 indicator;
    ASSERT_TRUE(indicator.Create("", WS_CHILD | WS_VISIBLE, CRect(10, 10, 30, 30), &host, 1201));
    auto strip = MakeStrip(Opaque(frames), 20, 20);
    strip->SetCount(4);
    ASSERT_EQ(1, indicator.LoadBitmapA(strip.release(), TRUE));
    EXPECT_EQ(4u, indicator.m_count);
    indicator.SetIndex(2);
    Repaint(host);
    EXPECT_EQ(frames[2], ProbeClient(indicator, 5, 5));
    indicator.SetIndex(9);
    EXPECT_EQ(4u, indicator.m_index);
    Repaint(host);
    EXPECT_EQ(frames[0], ProbeClient(indicator, 5, 5)) << "the strip draws an index past its end as frame 0";
}
