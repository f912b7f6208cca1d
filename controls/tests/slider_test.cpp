// The skinned slider in the gallery: thumb frames and channel probed on the screen, dragging and
// clicking with the real pointer, keys, and every WM_HSCROLL the parent is posted.
#include <objidl.h>
#include <gdiplus.h>

#include "gallery.h"

#include <SliderCtrlEx.h>
#include <qelImage.h>
#include <qeltest/temp_dir.h>

#include <gtest/gtest.h>

#include <climits>
#include <fstream>
#include <memory>
#include <string>

using namespace gallery;

namespace {

constexpr UINT kSliderId = 1100;
constexpr int kThumbWidth = 10;
constexpr int kHeight = 30;
// Thumb frames: normal, pressed, hover, disabled.
const std::vector<COLORREF> kThumbFrames = {RGB(200, 0, 0), RGB(0, 200, 0), RGB(0, 0, 200), RGB(200, 0, 200)};
constexpr COLORREF kChannel = RGB(0, 128, 128);
// The track: thumb centres from client x 50 to 150 (100 pixels).
const RECT kTrack = {50, 0, 150, kHeight};
constexpr int kTrackLeft = 50;

CImageArray* ThumbStrip() { return MakeStrip(Opaque(kThumbFrames), kThumbWidth, kHeight).release(); }

// A flat 24-bit channel image: drawn as it is.
CImageArray* FlatChannel(COLORREF colour) {
    auto channel = new CImageArray(30, kHeight, PixelFormat24bppRGB, 0);
    Gdiplus::Color c = Opaque(colour);
    channel->FillColor(c);
    return channel;
}

// Records whether the slider deleted it.
class TrackedStrip : public CImageArray {
public:
    TrackedStrip(int width, int height, bool* deleted)
        : CImageArray(width, height, PixelFormat24bppRGB, 0xFF102030), deleted_(deleted) {}
    ~TrackedStrip() override { *deleted_ = true; }

private:
    bool* deleted_;
};

_tagSLDCTRLEXBUF Record(int min, int max, int pos) {
    _tagSLDCTRLEXBUF r = {};
    r.rect = {20, 20, 220, 20 + kHeight};
    r.thumbRange = kTrack;
    r.min = min;
    r.max = max;
    r.pos = pos;
    r.channel = FlatChannel(kChannel);
    r.thumb = ThumbStrip();
    return r;
}

// A skin folder with the slider's two images and a settings file describing the same slider as Record.
// GDI+ keeps an image file open while its image lives.
struct SkinFolder {
    qeltest::TempDir dir;
    bool Write(const std::string& extraKeys, const std::string& thumbName = "thumb.png") {
        std::unique_ptr<CImageArray> channel(FlatChannel(kChannel));
        std::unique_ptr<CImageArray> thumb(ThumbStrip());
        if (channel->SaveFile(dir.File("channel.png").c_str(), -1) != 1 ||
            thumb->SaveFile(dir.File("thumb.png").c_str(), -1) != 1)
            return false;
        std::ofstream ini(dir.File("Settings.ini"));
        ini << "[PlaySlider]\nchannel=channel.png\nthumb=" << thumbName
            << "\nrect=20,20,200,30\nthumbrange=50,0,100,30\nborder=4,3,5,6\nrange=0,10\npos=3\n"
            << extraKeys;
        return ini.good();
    }
};

template <class Slider>
class SliderGallery : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(host.Open(300, 120));
        ASSERT_TRUE(slider.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), &host, kSliderId));
        MovePointerAway();
    }

    void Dress(int min, int max, int pos) {
        _tagSLDCTRLEXBUF r = Record(min, max, pos);
        ASSERT_EQ(1, slider.CSliderCtrlEx::LoadSetting(r, TRUE));
        Repaint(host);
        host.log.clear();
    }

    COLORREF ThumbShown() {
        Repaint(host);
        return ProbeClient(slider, slider.m_thumbRect.left + 2, 15);
    }
    int ThumbCentre() const { return slider.m_thumbRect.left + slider.m_thumbRect.Width() / 2; }
    int Scrolls(int code, int pos) const { return host.Count(WM_HSCROLL, MAKEWPARAM(code, pos)); }
    int AllScrolls() const {
        int n = 0;
        for (const auto& m : host.log)
            n += m.message == WM_HSCROLL && m.lParam == reinterpret_cast<LPARAM>(slider.m_hWnd);
        return n;
    }
    void ClickAt(int x) {
        MovePointerTo(slider, x, 15);
        LeftDown();
        LeftUp();
        MovePointerAway();
    }
    void Key(UINT key) {
        slider.PostMessage(WM_KEYDOWN, key, 0); // the slider reads only the message
        Pump(50);
    }

    SkinFolder skin; // first: the strips loaded from its files must be gone before it is removed
    Host host;
    Slider slider;
};

using Slider = SliderGallery<CSliderCtrlEx>;
using SteppedSlider = SliderGallery<CSliderCtrlEx2>;

} // namespace

TEST_F(Slider, ReportsItsOwnRunTimeClass) {
    EXPECT_STREQ("CSliderCtrlEx", slider.GetRuntimeClass()->m_lpszClassName);
    EXPECT_TRUE(slider.IsKindOf(RUNTIME_CLASS(CSliderCtrl)));
    CSliderCtrlEx2 stepped;
    EXPECT_STREQ("CSliderCtrlEx2", stepped.GetRuntimeClass()->m_lpszClassName);
}

TEST_F(Slider, RecordPlacesTheWindowAndCentresTheThumbOnThePosition) {
    Dress(0, 10, 3);
    CRect window;
    slider.GetWindowRect(&window);
    host.ScreenToClient(&window);
    EXPECT_EQ(CRect(20, 20, 220, 20 + kHeight), window);
    EXPECT_EQ(3, slider.GetPos());
    EXPECT_EQ(kTrackLeft + 30, ThumbCentre());
    EXPECT_EQ(kThumbFrames[0], ThumbShown());
    EXPECT_EQ(kChannel, ProbeClient(slider, 10, 15));  // a 24-bit channel is drawn as it is
    EXPECT_EQ(kChannel, ProbeClient(slider, 190, 15)); // stretched over the whole client area
}

TEST_F(Slider, EmptyRangeBecomesOneStep) {
    Dress(0, 10, 0);
    slider.SetRange(5, 5);
    EXPECT_EQ(5, slider.GetRangeMin());
    EXPECT_EQ(6, slider.GetRangeMax());
}

TEST_F(Slider, RangesAtTheIntLimitsKeepTheThumbOnTheTrack) {
    Dress(0, 10, 3);
    slider.SetRange(INT_MIN, INT_MAX); // as wide as a skin's numbers go: narrowed to what the span counts
    EXPECT_EQ(INT_MIN, slider.GetRangeMin());
    EXPECT_EQ(-1, slider.GetRangeMax());
    slider.SetPos(-1);
    EXPECT_EQ(kTrackLeft + 100, ThumbCentre());
    slider.SetPos(INT_MIN);
    EXPECT_EQ(kTrackLeft, ThumbCentre());
    slider.SetRange(INT_MAX, INT_MAX);
    EXPECT_EQ(INT_MAX - 1, slider.GetRangeMin());
    EXPECT_EQ(INT_MAX, slider.GetRangeMax());
}

TEST_F(Slider, NullImagesAreRefusedAndChangeNothing) {
    Dress(0, 10, 3);
    CImageArray* thumb = slider.m_thumb;
    _tagSLDCTRLEXBUF r = {};
    r.rect = {0, 0, 50, 50};
    r.thumb = ThumbStrip();
    EXPECT_EQ(0, slider.LoadSetting(r, TRUE));
    delete r.thumb;
    EXPECT_EQ(thumb, slider.m_thumb);
    EXPECT_EQ(3, slider.GetPos());
    EXPECT_EQ(0, slider.LoadBitmapA(static_cast<const char*>(nullptr), "thumb.png"));
}

TEST_F(Slider, HoverAndPressShowTheirFramesAndADisabledSliderFrameThree) {
    Dress(0, 10, 3);
    MovePointerTo(slider, ThumbCentre(), 15);
    EXPECT_EQ(2, slider.m_thumbState);
    EXPECT_EQ(kThumbFrames[2], ThumbShown());
    LeftDown();
    EXPECT_EQ(kThumbFrames[1], ThumbShown());
    LeftUp();
    MovePointerAway();
    EXPECT_EQ(kThumbFrames[0], ThumbShown());
    slider.EnableWindow(FALSE);
    EXPECT_EQ(kThumbFrames[3], ThumbShown());
}

TEST_F(Slider, DragSnapsToTheNearestValueAndReportsTrackThenPosition) {
    Dress(0, 10, 3);
    MovePointerTo(slider, ThumbCentre(), 15);
    LeftDown();
    MovePointerTo(slider, kTrackLeft + 34, 15);
    EXPECT_EQ(3, slider.GetPos());
    EXPECT_EQ(kTrackLeft + 30, ThumbCentre());
    EXPECT_EQ(0, AllScrolls());
    MovePointerTo(slider, kTrackLeft + 36, 15);
    EXPECT_EQ(4, slider.GetPos());
    EXPECT_EQ(kTrackLeft + 40, ThumbCentre());
    EXPECT_EQ(1, Scrolls(TB_THUMBTRACK, 4));
    LeftUp();
    EXPECT_EQ(1, Scrolls(TB_THUMBPOSITION, 4));
    MovePointerAway();
    EXPECT_EQ(kThumbFrames[0], ThumbShown());
}

TEST_F(Slider, DragPastTheEndsPinsTheThumbAndThenPostsNothing) {
    Dress(0, 10, 8);
    MovePointerTo(slider, ThumbCentre(), 15);
    LeftDown();
    MovePointerTo(slider, 195, 15);
    EXPECT_EQ(10, slider.GetPos());
    EXPECT_EQ(kTrack.right, ThumbCentre());
    const int scrolls = AllScrolls();
    MovePointerTo(slider, 198, 15);
    MovePointerTo(slider, 199, 5);
    EXPECT_EQ(scrolls, AllScrolls());
    MovePointerTo(slider, 3, 15); // across the whole track to beyond the left end
    EXPECT_EQ(0, slider.GetPos());
    EXPECT_EQ(kTrack.left, ThumbCentre());
    LeftUp();
}

TEST_F(Slider, OffsetRangeDragsOverTheWholeTrackToItsMaximum) {
    Dress(20, 30, 20);
    EXPECT_EQ(kTrack.left, ThumbCentre());
    MovePointerTo(slider, ThumbCentre(), 15);
    LeftDown();
    MovePointerTo(slider, kTrack.right, 15);
    LeftUp();
    EXPECT_EQ(30, slider.GetPos());
    EXPECT_EQ(1, Scrolls(TB_THUMBPOSITION, 30));
}

TEST_F(Slider, ClickBesideTheThumbCentresItThereAndPagesTowardsIt) {
    Dress(0, 10, 3);
    ClickAt(kTrackLeft + 71); // snaps to 70
    EXPECT_EQ(7, slider.GetPos());
    EXPECT_EQ(kTrackLeft + 70, ThumbCentre());
    EXPECT_EQ(1, Scrolls(TB_PAGEDOWN, 7));
    ClickAt(kTrackLeft - 4); // left of the track but inside its widening by half a thumb
    EXPECT_EQ(0, slider.GetPos());
    EXPECT_EQ(1, Scrolls(TB_PAGEUP, 0));
    host.log.clear();
    ClickAt(kTrackLeft - 20); // outside the widened track
    ClickAt(190);
    EXPECT_EQ(0, slider.GetPos());
    EXPECT_EQ(0, Scrolls(TB_PAGEDOWN, 10));
    EXPECT_EQ(0, Scrolls(TB_PAGEDOWN, 0) + Scrolls(TB_PAGEUP, 0));
}

TEST_F(Slider, KeysStepAndJumpAndPostEvenAtALimit) {
    Dress(0, 10, 0);
    Key(VK_LEFT);
    EXPECT_EQ(1, Scrolls(TB_LINEUP, 0)); // at the minimum: posted with the position unchanged
    Key(VK_RIGHT);
    EXPECT_EQ(1, Scrolls(TB_LINEDOWN, 1));
    Key(VK_END);
    EXPECT_EQ(1, Scrolls(TB_BOTTOM, 10));
    EXPECT_EQ(kTrack.right, ThumbCentre());
    Key(VK_HOME);
    EXPECT_EQ(1, Scrolls(TB_TOP, 0));
    Key(VK_SPACE);
    EXPECT_EQ(4, AllScrolls());
}

TEST_F(Slider, ChannelWithAlphaIsFlattenedOnTheBackgroundColour) {
    Dress(0, 10, 0);
    constexpr COLORREF kBack = RGB(250, 240, 10);
    slider.SetBgColor(kBack);
    auto channel = MakeStrip({Gdiplus::Color(0, 0, 0, 0)}, 30, kHeight).release(); // fully transparent
    ASSERT_EQ(1, slider.LoadBitmapA(channel, ThumbStrip(), TRUE));
    Repaint(host);
    EXPECT_EQ(kBack, ProbeClient(slider, 190, 15));
}

// The channel routine the horizontal and the program's vertical slider share, drawn off the screen onto
// a target that starts green: whatever green shows was not painted over.
class SliderChannel : public ::testing::Test {
protected:
    static constexpr COLORREF kBack = RGB(0, 0, 200);
    SliderChannel() : target(60, kHeight, PixelFormat32bppARGB, 0xFF00FF00) {}
    void DrawOntoTarget(CImageArray& channel) {
        Gdiplus::Graphics graphics(&target);
        const RECT client = {0, 0, 60, kHeight};
        DrawSliderChannel(graphics, channel, client, kBack);
    }
    Gdiplus::Color At(int x, int y) {
        Gdiplus::Color c;
        target.GetPixel(x, y, &c);
        return c;
    }
    CImageArray target;
};

TEST_F(SliderChannel, HalfTransparentChannelIsBlendedWithTheBackgroundNotWithWhatIsBehind) {
    CImageArray channel(30, kHeight, PixelFormat32bppARGB, 0x80FF0000); // half-transparent red
    DrawOntoTarget(channel);
    for (int x : {2, 45, 58}) { // stretched over the whole client rectangle
        const Gdiplus::Color c = At(x, 15);
        EXPECT_NEAR(128, c.GetR(), 3) << x;
        EXPECT_EQ(0, c.GetG()) << x;
        EXPECT_NEAR(100, c.GetB(), 3) << x;
        EXPECT_EQ(255, c.GetA()) << x;
    }
}

TEST_F(SliderChannel, TransparentChannelShowsExactlyTheBackground) {
    std::unique_ptr<CImageArray> clear(MakeStrip({Gdiplus::Color(0, 0, 0, 0)}, 30, kHeight));
    DrawOntoTarget(*clear);
    EXPECT_EQ(Gdiplus::Color::MakeARGB(255, 0, 0, 200), At(30, 15).GetValue());
}

TEST_F(SliderChannel, OpaqueChannelIsDrawnAsItIsWhateverTheBackground) {
    std::unique_ptr<CImageArray> channel(FlatChannel(kChannel));
    DrawOntoTarget(*channel);
    EXPECT_EQ(Gdiplus::Color::MakeARGB(255, 0, 128, 128), At(10, 15).GetValue());
    EXPECT_EQ(Gdiplus::Color::MakeARGB(255, 0, 128, 128), At(55, 15).GetValue());
}

TEST_F(Slider, HandedTheStripsItAlreadyOwnsKeepsThem) {
    bool thumbDeleted = false;
    bool channelDeleted = false;
    auto* thumb = new TrackedStrip(4 * kThumbWidth, kHeight, &thumbDeleted);
    auto* channel = new TrackedStrip(30, kHeight, &channelDeleted);
    ASSERT_EQ(1, slider.LoadBitmapA(channel, thumb, TRUE));
    ASSERT_EQ(1, slider.LoadBitmapA(channel, thumb, TRUE));
    EXPECT_FALSE(thumbDeleted);
    EXPECT_FALSE(channelDeleted);
    EXPECT_EQ(kThumbWidth, slider.m_thumbSize.cx);
    ASSERT_EQ(1, slider.LoadBitmapA(FlatChannel(kChannel), ThumbStrip(), TRUE));
    EXPECT_TRUE(thumbDeleted); // replaced owned strips do go
    EXPECT_TRUE(channelDeleted);
}

TEST_F(Slider, ZeroWidthTrackOrUnsetRangeNeverDividesAndTheThumbStays) {
    ASSERT_EQ(1, slider.LoadBitmapA(FlatChannel(kChannel), ThumbStrip(), TRUE));
    slider.SetWindowPos(nullptr, 20, 20, 200, kHeight, SWP_NOZORDER);
    const CRect before = slider.m_thumbRect;
    slider.xPosToBtnPosition(); // no range yet
    EXPECT_EQ(before, slider.m_thumbRect);
    ClickAt(100);
    EXPECT_EQ(0, slider.GetPos());

    slider.SetThumbRange(CRect(80, 0, 80, kHeight)); // zero width
    slider.SetRange(0, 10);
    slider.SetPos(6);
    EXPECT_EQ(6, slider.GetPos());
    EXPECT_EQ(80, ThumbCentre());
    ClickAt(80 + 4);
    MovePointerTo(slider, ThumbCentre(), 15);
    LeftDown();
    MovePointerTo(slider, 90, 15);
    LeftUp();
    EXPECT_EQ(80, ThumbCentre());
}

namespace {

void ExpectSame(CSliderCtrlEx& a, CSliderCtrlEx& b) {
    CRect ra, rb;
    a.GetWindowRect(&ra);
    b.GetWindowRect(&rb);
    EXPECT_EQ(ra, rb);
    EXPECT_EQ(a.m_thumbRange, b.m_thumbRange);
    EXPECT_EQ(a.m_thumbRect, b.m_thumbRect);
    EXPECT_EQ(a.GetRangeMin(), b.GetRangeMin());
    EXPECT_EQ(a.GetRangeMax(), b.GetRangeMax());
    EXPECT_EQ(a.GetPos(), b.GetPos());
    EXPECT_FLOAT_EQ(a.m_unit, b.m_unit);
    const CBorder ba = a.m_channel->GetBorder();
    const CBorder bb = b.m_channel->GetBorder();
    EXPECT_EQ(ba.left, bb.left);
    EXPECT_EQ(ba.top, bb.top);
    EXPECT_EQ(ba.right, bb.right);
    EXPECT_EQ(ba.bottom, bb.bottom);
    EXPECT_EQ(a.m_thumbSize, b.m_thumbSize);
}

} // namespace

TEST_F(Slider, SettingsFileAndEachRecordGiveTheSameSlider) {
    ASSERT_TRUE(skin.Write(""));
    ASSERT_EQ(1, slider.LoadSetting(skin.dir.Path().c_str(), "Settings.ini", "PlaySlider"));
    EXPECT_EQ(3, slider.GetPos());
    EXPECT_EQ(kTrackLeft + 30, ThumbCentre());

    CSliderCtrlEx fromNames;
    ASSERT_TRUE(fromNames.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), &host, kSliderId + 1));
    _tagSLDCTRLEX names = {};
    names.rect = {20, 20, 220, 50};
    strcpy(names.channelFile, skin.dir.File("channel.png").c_str());
    strcpy(names.thumbFile, skin.dir.File("thumb.png").c_str());
    names.thumbRange = kTrack;
    names.border = CBorder(4, 3, 5, 6);
    names.max = 10;
    names.pos = 3;
    ASSERT_EQ(1, fromNames.LoadSetting(names));
    ExpectSame(slider, fromNames);

    CSliderCtrlEx fromImages;
    ASSERT_TRUE(fromImages.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), &host, kSliderId + 2));
    _tagSLDCTRLEXBUF images = Record(0, 10, 3);
    images.border = CBorder(4, 3, 5, 6);
    ASSERT_EQ(1, fromImages.LoadSetting(images, TRUE));
    ExpectSame(slider, fromImages);
    Repaint(host);
    EXPECT_EQ(kThumbFrames[0], ProbeClient(slider, slider.m_thumbRect.left + 2, 15)); // the PNG thumb shows
}

TEST_F(Slider, SettingsFileWithAnUnreadableImageFailsAndChangesNothing) {
    Dress(0, 10, 3);
    ASSERT_TRUE(skin.Write(""));
    ASSERT_TRUE(DeleteFileA(skin.dir.File("channel.png").c_str()));
    CImageArray* thumb = slider.m_thumb;
    EXPECT_EQ(0, slider.LoadSetting(skin.dir.Path().c_str(), "Settings.ini", "PlaySlider"));
    EXPECT_EQ(thumb, slider.m_thumb);
    EXPECT_NE(nullptr, slider.m_channel);
}

TEST_F(SteppedSlider, PageClickStepsByTenClampedAndPostsTheReversedCode) {
    _tagSLDCTRLEXBUF r = Record(0, 100, 95);
    ASSERT_EQ(1, slider.CSliderCtrlEx::LoadSetting(r, TRUE));
    Repaint(host);
    host.log.clear();
    ClickAt(ThumbCentre() + 8);
    EXPECT_EQ(100, slider.GetPos());
    EXPECT_EQ(1, Scrolls(TB_PAGEUP, 100)); // code 2 after a step to the right
    ClickAt(kTrack.left);
    EXPECT_EQ(90, slider.GetPos());
    EXPECT_EQ(1, Scrolls(TB_PAGEDOWN, 90));
}

namespace {

_tagSLDCTRLEX2BUF SteppedRecord(int pos) {
    _tagSLDCTRLEX2BUF r = {};
    r.rect = {20, 20, 220, 20 + kHeight};
    r.thumbRange = kTrack;
    r.max = 100;
    r.pos = pos;
    r.leftPos = {0, 0};
    r.rightPos = {180, 0};
    r.channel = FlatChannel(kChannel);
    r.thumb = ThumbStrip();
    // Step buttons: four frames of 20 x 30.
    r.leftStrip = MakeStrip(Opaque({RGB(250, 250, 250), RGB(180, 180, 180), RGB(220, 220, 220), RGB(90, 90, 90)}),
                            20, kHeight)
                      .release();
    r.rightStrip = MakeStrip(Opaque({RGB(10, 10, 90), RGB(10, 10, 60), RGB(10, 10, 120), RGB(90, 90, 90)}), 20,
                             kHeight)
                       .release();
    return r;
}

} // namespace

TEST_F(SteppedSlider, StepButtonsSitAtTheEndsStepByOneAndStopAtTheLimits) {
    _tagSLDCTRLEX2BUF r = SteppedRecord(0);
    ASSERT_EQ(1, slider.LoadSetting(r, TRUE));
    Repaint(host);
    host.log.clear();
    ASSERT_NE(nullptr, slider.m_leftButton.GetSafeHwnd());
    EXPECT_EQ(RGB(250, 250, 250), ProbeClient(slider, 3, 3));
    EXPECT_EQ(RGB(10, 10, 90), ProbeClient(slider, 197, 3));
    EXPECT_EQ(kChannel, ProbeClient(slider, 25, 15));

    ClickAt(10); // the left button at the minimum does nothing
    EXPECT_EQ(0, slider.GetPos());
    EXPECT_EQ(0, AllScrolls());
    ClickAt(190);
    EXPECT_EQ(1, slider.GetPos());
    EXPECT_EQ(1, Scrolls(TB_LINEUP, 1)); // code 0 from the right button
    ClickAt(10);
    EXPECT_EQ(0, slider.GetPos());
    EXPECT_EQ(1, Scrolls(TB_LINEDOWN, 0)); // code 1 from the left button
}

TEST_F(SteppedSlider, DisablingDisablesBothStepButtons) {
    _tagSLDCTRLEX2BUF r = SteppedRecord(50);
    ASSERT_EQ(1, slider.LoadSetting(r, TRUE));
    slider.EnableWindow(FALSE);
    EXPECT_FALSE(slider.m_leftButton.IsWindowEnabled());
    EXPECT_FALSE(slider.m_rightButton.IsWindowEnabled());
    EXPECT_FALSE(::IsWindowEnabled(slider.m_hWnd));
    Repaint(host);
    EXPECT_EQ(RGB(90, 90, 90), ProbeClient(slider, 3, 3));
    EXPECT_EQ(kThumbFrames[3], ProbeClient(slider, slider.m_thumbRect.left + 2, 15));
}

TEST_F(SteppedSlider, SettingsFileWithAFailedImageReportsItButStillSetsUpTheButtons) {
    ASSERT_TRUE(skin.Write("l_pos=0,0\nr_pos=180,0\n", "missing.png"));
    EXPECT_EQ(0, slider.LoadSetting(skin.dir.Path().c_str(), "Settings.ini", "PlaySlider"));
    EXPECT_NE(nullptr, slider.m_leftButton.GetSafeHwnd());
    EXPECT_NE(nullptr, slider.m_rightButton.GetSafeHwnd());

    CSliderCtrlEx2 whole;
    ASSERT_TRUE(whole.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), &host, kSliderId + 1));
    ASSERT_TRUE(skin.Write("l_pos=0,0\nr_pos=180,0\n"));
    EXPECT_EQ(1, whole.LoadSetting(skin.dir.Path().c_str(), "Settings.ini", "PlaySlider"));
    EXPECT_NE(nullptr, whole.m_leftButton.GetSafeHwnd());
}

TEST_F(SteppedSlider, SlidersShowOnTheScreen) {
    _tagSLDCTRLEX2BUF r = SteppedRecord(40);
    ASSERT_EQ(1, slider.LoadSetting(r, TRUE));
    CSliderCtrlEx plain;
    ASSERT_TRUE(plain.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), &host, kSliderId + 1));
    _tagSLDCTRLEXBUF p = Record(0, 10, 7);
    p.rect = {20, 70, 220, 70 + kHeight};
    ASSERT_EQ(1, plain.LoadSetting(p, TRUE));
    Repaint(host);
    EXPECT_EQ(kThumbFrames[0], ProbeClient(plain, plain.m_thumbRect.left + 2, 15));
    EXPECT_TRUE(SaveGalleryShot(host, "sliders.png"));
}
