// The gradient progress bar in the gallery: bar length and text, gradient segments and steps, the
// text's two colours, reverse layout, the snake's wrap, the colour messages, and the sound
// behaviour for an empty range, a short gradient and a two-value format.
#include <objidl.h>
#include <gdiplus.h>

#include "gallery.h"

#include <ProgressCtrlEx.h>

#include <gtest/gtest.h>

#include <set>
#include <string>

using namespace gallery;

namespace {

constexpr UINT kBarId = 2001;

struct GradientCall {
    CRect band, clip;
    COLORREF start, end;
};
struct TextCall {
    CRect part;
    std::string text;
};

// Records what one paint asked of the drawing slots, then draws as the bar would.
template <class Bar>
class Recording : public Bar {
public:
    using Info = CProgressCtrlEx::CDrawInfo;
    std::vector<GradientCall> gradients;
    std::vector<TextCall> texts;
    int multiGradients = 0;

    void Clear() {
        gradients.clear();
        texts.clear();
        multiGradients = 0;
    }
    void DrawMultiGradient(const Info& info, const CRect& gradient, const CRect& bar) override {
        ++multiGradients;
        Bar::DrawMultiGradient(info, gradient, bar);
    }
    void DrawGradient(const Info& info, const CRect& band, const CRect& clip, COLORREF c1, COLORREF c2) override {
        gradients.push_back({band, clip, c1, c2});
        Bar::DrawGradient(info, band, clip, c1, c2);
    }
    void DrawClippedText(const Info& info, const CRect& part, CString& text, const CPoint& origin) override {
        texts.push_back({part, std::string(text)});
        Bar::DrawClippedText(info, part, text, origin);
    }
};

constexpr COLORREF kBack = RGB(0, 0, 0);
constexpr COLORREF kBarColour = RGB(0, 0, 255);

template <class Bar>
class BarGallery : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(host.Open(520, 160));
        MovePointerAway();
    }

    // A bar of the given client width (40 high) at (20, 20), black background.
    void Make(int width, DWORD style = 0) {
        ASSERT_TRUE(bar.Create(WS_CHILD | WS_VISIBLE | style, CRect(20, 20, 20 + width, 60), &host, kBarId));
        bar.SetBkColor(kBack);
    }

    void Paint() {
        bar.Clear();
        Repaint(host);
    }

    COLORREF At(int x, int y = 20) { return ProbeClient(bar, x, y); }

    // Distinct colours along the bar's middle row between x0 and x1.
    int DistinctColours(int x0, int x1) {
        std::set<COLORREF> seen;
        for (int x = x0; x < x1; ++x)
            seen.insert(At(x));
        return static_cast<int>(seen.size());
    }

    // Pixels of colour in the columns [x0, x1) of the bar.
    int CountIn(COLORREF colour, int x0, int x1) {
        CRect client;
        bar.GetClientRect(&client);
        int n = 0;
        for (int y = 0; y < client.bottom; ++y)
            for (int x = x0; x < x1; ++x)
                n += At(x, y) == colour;
        return n;
    }

    Host host;
    Recording<Bar> bar;
};

using ProgressBar = BarGallery<CProgressCtrlEx>;
using NumberBar = BarGallery<CProgressCtrlEx2>;

} // namespace

TEST_F(ProgressBar, QuarterOfFourHundredPixelsIsAHundredPixelBarReading25Percent) {
    Make(400);
    bar.SetBarColor(kBarColour);
    bar.SetTextColor(RGB(255, 255, 255), RGB(255, 255, 0));
    bar.SetRange32(0, 200);
    bar.SetPos(50);
    bar.SetShowPercent(TRUE);
    Paint();
    ASSERT_FALSE(bar.texts.empty());
    EXPECT_EQ("25%", bar.texts[0].text);
    EXPECT_EQ(0, bar.texts[0].part.left);
    EXPECT_EQ(100, bar.texts[0].part.right) << "the on-bar part is the bar";
    EXPECT_EQ(kBarColour, At(2, 2));
    EXPECT_EQ(kBarColour, At(99, 2));
    EXPECT_EQ(kBack, At(101, 2));
}

TEST_F(ProgressBar, ThreeColoursMakeTwoHalfLengthSegmentsColouredAlikeWhenPartlyFilled) {
    Make(300);
    bar.SetGradientColorsX(3, RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255));
    bar.SetRange32(0, 300);
    bar.SetPos(300);
    Paint();
    ASSERT_EQ(2u, bar.gradients.size());
    EXPECT_EQ(0, bar.gradients[0].band.left);
    EXPECT_EQ(150, bar.gradients[0].band.right);
    EXPECT_EQ(150, bar.gradients[1].band.left);
    EXPECT_EQ(300, bar.gradients[1].band.right);
    const COLORREF full[] = {At(10), At(50), At(90)};

    bar.SetPos(100);
    Paint();
    ASSERT_EQ(1u, bar.gradients.size()) << "painting stops at the bar's end";
    EXPECT_EQ(150, bar.gradients[0].band.right) << "the segment keeps its full length";
    EXPECT_EQ(100, bar.gradients[0].clip.right);
    EXPECT_EQ(full[0], At(10));
    EXPECT_EQ(full[1], At(50));
    EXPECT_EQ(full[2], At(90));
    EXPECT_EQ(kBack, At(110));
}

TEST_F(ProgressBar, RedToBlueTakesOneStepPerColourLevelUpToTheBandWidth) {
    Make(255);
    bar.SetGradientColors(RGB(255, 0, 0), RGB(0, 0, 255));
    bar.SetRange32(0, 10);
    bar.SetPos(10);
    Paint();
    EXPECT_EQ(255, DistinctColours(0, 255));
    EXPECT_EQ(RGB(255, 0, 0), At(0));

    bar.DestroyWindow();
    Make(10);
    bar.SetGradientColors(RGB(255, 0, 0), RGB(0, 0, 255));
    bar.SetRange32(0, 10);
    bar.SetPos(10);
    Paint();
    EXPECT_EQ(10, DistinctColours(0, 10));
}

TEST_F(ProgressBar, TextAtHalfIsInTheBarColourOnTheLeftAndTheBackgroundColourOnTheRight) {
    Make(400);
    CFont font;
    ASSERT_TRUE(font.CreateFont(36, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, NONANTIALIASED_QUALITY, 0, "Tahoma"));
    bar.SetFont(&font);
    const COLORREF onBar = RGB(255, 255, 255), onBack = RGB(255, 255, 0);
    bar.SetBarColor(kBarColour);
    bar.SetTextColor(onBar, onBack);
    bar.SetRange32(0, 100);
    bar.SetPos(50);
    bar.SetShowPercent(TRUE);
    Paint();
    EXPECT_GT(CountIn(onBar, 0, 200), 0);
    EXPECT_EQ(0, CountIn(onBack, 0, 200));
    EXPECT_GT(CountIn(onBack, 200, 400), 0);
    EXPECT_EQ(0, CountIn(onBar, 200, 400));
    EXPECT_EQ(2u, bar.texts.size()) << "the bar's part and the part right of it";
    EXPECT_TRUE(SaveGalleryShot(host, "progress_text.png"));
}

TEST_F(ProgressBar, ReverseBarAtAQuarterFillsTheRightmostQuarter) {
    Make(400);
    bar.SetBarColor(kBarColour);
    bar.SetReverse(TRUE);
    bar.SetRange32(0, 100);
    bar.SetPos(25);
    Paint();
    EXPECT_EQ(kBack, At(299));
    EXPECT_EQ(kBarColour, At(300));
    EXPECT_EQ(kBarColour, At(399));
    EXPECT_EQ(kBack, At(0));
}

TEST_F(ProgressBar, SnakeWithATailOfFortyWrapsPastOneHundredFortyAndRunsBack) {
    Make(400);
    bar.SetSnake(TRUE);
    bar.SetSnakeTail(40);
    bar.SetRange32(0, 100);
    bar.SetStep(10);
    EXPECT_TRUE(bar.GetSnake());
    EXPECT_TRUE(bar.GetRubberBar()) << "the snake's gradient follows the snake";
    for (int i = 0; i < 14; ++i)
        bar.StepIt();
    EXPECT_FALSE(bar.GetReverse());
    EXPECT_EQ(100, bar.m_snakeStart) << "head at 140, tail 40 behind it";
    EXPECT_EQ(100, bar.GetPos()) << "the control itself stays within its range";

    const int old = bar.StepIt();
    EXPECT_EQ(100, old);
    EXPECT_TRUE(bar.GetReverse()) << "wrapping flips the direction";
    EXPECT_EQ(10, bar.GetPos());
    EXPECT_EQ(0, bar.m_snakeStart);
}

TEST_F(ProgressBar, WithoutSnakeTheStandardPositionMessagesWork) {
    Make(200);
    bar.SetRange32(0, 100);
    bar.SetPos(30);
    EXPECT_EQ(30, bar.OffsetPos(5));
    EXPECT_EQ(35, bar.GetPos());
    EXPECT_EQ(10, bar.SetStep(7)) << "the standard step is still set";
    EXPECT_EQ(7, bar.m_step);
    bar.StepIt();
    EXPECT_EQ(42, bar.GetPos());
}

TEST_F(ProgressBar, ColourMessagesSetTheGradientAndBackgroundAndAnswerTheDefault) {
    Make(200);
    EXPECT_EQ(CLR_DEFAULT, bar.SendMessage(PBM_SETBARCOLOR, 0, RGB(1, 2, 3)));
    COLORREF start = 0, end = 0;
    bar.GetGradientColors(start, end);
    EXPECT_EQ(RGB(1, 2, 3), start);
    EXPECT_EQ(RGB(1, 2, 3), end) << "wParam 0 repeats the first colour";
    EXPECT_FALSE(bar.m_bSolidBar);
    EXPECT_EQ(CLR_DEFAULT, bar.SendMessage(PBM_SETBARCOLOR, RGB(4, 5, 6), RGB(1, 2, 3)));
    bar.GetGradientColors(start, end);
    EXPECT_EQ(RGB(4, 5, 6), end);
    EXPECT_EQ(CLR_DEFAULT, bar.SendMessage(PBM_SETBKCOLOR, 0, RGB(7, 8, 9)));
    EXPECT_EQ(RGB(7, 8, 9), bar.GetBkColor());
}

TEST_F(ProgressBar, TextSettingsReplaceOnlyTheTextBits) {
    Make(200, PBS_SMOOTH);
    bar.SetShowPosition("items");
    CString text;
    bar.GetWindowText(text);
    EXPECT_STREQ("%d/items", text);
    EXPECT_TRUE(bar.GetShowPosition());
    EXPECT_FALSE(bar.GetShowPercent());
    bar.SetShowPercent(TRUE);
    EXPECT_FALSE(bar.GetShowPosition());
    bar.HideText();
    EXPECT_EQ(0u, bar.GetStyle() & PBS_EX_SHOWTEXT);
    EXPECT_NE(0u, bar.GetStyle() & PBS_SMOOTH);
    bar.GetWindowText(text);
    EXPECT_STREQ("", text);
    bar.SetTextColor(RGB(9, 9, 9));
    EXPECT_EQ(RGB(9, 9, 9), bar.GetTextColorOnBk()) << "one colour serves both";
}

TEST_F(ProgressBar, BarColourDefaultsToTheHighlightColour) {
    Make(200);
    bar.SetRange32(0, 100);
    bar.SetPos(100);
    Paint();
    EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), At(100));
}

TEST_F(ProgressBar, EmptyRangePaintsOnlyTheBackground) {
    Make(200);
    bar.SetBarColor(kBarColour);
    bar.SetShowPercent(TRUE);
    bar.SetRange32(5, 5);
    bar.SetPos(5);
    Paint();
    EXPECT_TRUE(bar.texts.empty());
    EXPECT_EQ(0, bar.multiGradients);
    EXPECT_EQ(kBack, At(100));
    EXPECT_EQ(0, CountIn(kBarColour, 0, 200));
}

TEST_F(ProgressBar, GradientOfFewerThanTwoColoursPaintsFlat) {
    Make(200);
    bar.SetRange32(0, 100);
    bar.SetPos(100);
    bar.SetGradientColorsX(1, RGB(255, 0, 0), 0);
    Paint();
    EXPECT_EQ(1, bar.multiGradients);
    EXPECT_TRUE(bar.gradients.empty());
    EXPECT_EQ(RGB(255, 0, 0), At(10));
    EXPECT_EQ(RGB(255, 0, 0), At(190));

    bar.SetBarColor(RGB(0, 255, 0));
    bar.SetGradientColorsX(0, 0, 0);
    Paint();
    EXPECT_EQ(RGB(0, 255, 0), At(100)) << "no colours: the bar colour";
}

TEST_F(NumberBar, PositionShowsValueOverTotalWhetherSmoothOrNot) {
    for (DWORD style : {DWORD(0), DWORD(PBS_SMOOTH)}) {
        Make(300, style);
        bar.SetRange32(10, 110);
        bar.SetPos(40);
        bar.SetShowNumber(TRUE);
        EXPECT_TRUE(bar.GetShowNumber());
        Paint();
        ASSERT_FALSE(bar.texts.empty());
        EXPECT_EQ("30 / 100", bar.texts[0].text) << "style " << style;
        bar.DestroyWindow();
    }
}

TEST_F(NumberBar, ConversionsOtherThanIntegersAreShownAsWritten) {
    Make(300);
    bar.SetRange32(0, 100);
    bar.SetPos(30);
    bar.SetTextFormat("%s: %d of %d %d", PBS_EX_SHOWPOSITION);
    Paint();
    ASSERT_FALSE(bar.texts.empty());
    EXPECT_EQ("%s: 30 of 100 %d", bar.texts[0].text) << "no argument is read that is not there";
}

TEST_F(NumberBar, PercentModeIsTheBaseBars) {
    Make(300);
    bar.SetRange32(0, 200);
    bar.SetPos(50);
    bar.SetShowPercent(TRUE);
    Paint();
    ASSERT_FALSE(bar.texts.empty());
    EXPECT_EQ("25%", bar.texts[0].text);
}

// Bars of every layout side by side, as a person sees them.
TEST(ProgressGallery, BarsOfEveryLayoutShowOnTheScreen) {
    Host host;
    ASSERT_TRUE(host.Open(520, 230));
    CFont font;
    ASSERT_TRUE(font.CreateFont(16, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, NONANTIALIASED_QUALITY, 0, "Tahoma"));
    CProgressCtrlEx gradient, reverse, tied, snake, vertical;
    CProgressCtrlEx2 number;
    struct Row {
        CProgressCtrlEx* bar;
        CRect rect;
        DWORD style;
        int pos;
    } rows[] = {{&gradient, CRect(20, 20, 420, 44), 0, 70},   {&reverse, CRect(20, 54, 420, 78), PBS_EX_REVERSE, 40},
                {&tied, CRect(20, 88, 420, 112), PBS_EX_TIEDTEXT, 55}, {&snake, CRect(20, 122, 420, 146), 0, 60},
                {&number, CRect(20, 156, 420, 180), PBS_SMOOTH, 30},  {&vertical, CRect(450, 20, 480, 180), PBS_VERTICAL, 65}};
    for (Row& row : rows) {
        ASSERT_TRUE(row.bar->Create(WS_CHILD | WS_VISIBLE | row.style, row.rect, &host, 2100));
        row.bar->SetFont(&font);
        row.bar->SetBkColor(RGB(30, 30, 30));
        row.bar->SetRange32(0, 100);
        row.bar->SetTextColor(RGB(255, 255, 255), RGB(200, 200, 200));
    }
    gradient.SetGradientColorsX(3, RGB(200, 0, 0), RGB(230, 200, 0), RGB(0, 170, 0));
    gradient.SetShowPercent(TRUE);
    reverse.SetGradientColors(RGB(0, 60, 160), RGB(80, 180, 255));
    reverse.SetShowPercent(TRUE);
    tied.SetBarColor(RGB(120, 40, 160));
    tied.SetShowPosition(" items");
    snake.SetGradientColors(RGB(0, 120, 0), RGB(160, 255, 160));
    snake.SetSnake(TRUE);
    number.SetBarColor(RGB(0, 120, 160));
    number.SetShowNumber(TRUE);
    vertical.SetGradientColors(RGB(160, 0, 0), RGB(255, 160, 160));
    for (Row& row : rows)
        row.bar->SetPos(row.pos);
    Repaint(host);
    EXPECT_EQ(RGB(200, 0, 0), ProbeClient(gradient, 0, 12));
    EXPECT_EQ(RGB(30, 30, 30), ProbeClient(reverse, 2, 12)) << "a reverse bar starts on the right";
    EXPECT_EQ(RGB(30, 30, 30), ProbeClient(vertical, 15, 2)) << "a vertical bar starts at the bottom";
    EXPECT_TRUE(SaveGalleryShot(host, "progress_bars.png"));
}
