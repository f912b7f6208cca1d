// Frame and caption choice of the skinned buttons, alignment and disable-look clamping, tooltip split.
#include "ButtonLook.h"

#include <gtest/gtest.h>

using namespace qel_controls;

namespace {

ButtonState Disabled(bool useLook, int look) {
    ButtonState s;
    s.enabled = false;
    s.useDisableLook = useLook;
    s.disableLook = look;
    s.hover = true;
    s.checked = true;
    s.selected = true;
    return s;
}

} // namespace

TEST(ButtonLook, DisabledWinsOverEveryOtherStateAndHonoursTheChosenLook) {
    EXPECT_EQ(3, ButtonFrameIndex(Disabled(false, 0)));
    for (int look = 0; look <= 2; ++look)
        EXPECT_EQ(look, ButtonFrameIndex(Disabled(true, look)));
    EXPECT_EQ(kCaptionGray, ButtonCaptionColour(Disabled(true, 1)));
}

TEST(ButtonLook, PressedAndCheckedShowFrameOneEvenUnderHover) {
    ButtonState s;
    EXPECT_EQ(0, ButtonFrameIndex(s));
    s.hover = true;
    EXPECT_EQ(2, ButtonFrameIndex(s));
    EXPECT_EQ(kCaptionHoverNormal, ButtonCaptionColour(s));
    s.checked = true;
    EXPECT_EQ(1, ButtonFrameIndex(s));
    EXPECT_EQ(kCaptionHoverDown, ButtonCaptionColour(s));
    s.hover = false;
    EXPECT_EQ(kCaptionDown, ButtonCaptionColour(s));
    s.checked = false;
    s.selected = true;
    EXPECT_EQ(1, ButtonFrameIndex(s));
    // Pressing alone does not switch the caption to the down colour.
    EXPECT_EQ(kCaptionNormal, ButtonCaptionColour(s));
}

TEST(ButtonLook, AlignmentAndDisableLookAreClamped) {
    EXPECT_EQ(3, ClampTextAlignment(7));
    EXPECT_EQ(0, ClampTextAlignment(-2));
    EXPECT_EQ(2, ClampTextAlignment(2));
    EXPECT_EQ(0, ClampDisableLook(-5));
    EXPECT_EQ(1, ClampDisableLook(1));
    EXPECT_EQ(2, ClampDisableLook(5));
}

TEST(ButtonLook, TooltipResourceSplitsAtTheFirstNewline) {
    auto parts = SplitTooltipResource("Snap\nTakes a picture.\nMore");
    EXPECT_EQ("Snap", parts.status);
    EXPECT_EQ("Takes a picture.\nMore", parts.tooltip);
    parts = SplitTooltipResource("Takes a picture.");
    EXPECT_EQ("", parts.status);
    EXPECT_EQ("Takes a picture.", parts.tooltip);
    parts = SplitTooltipResource("Word\n");
    EXPECT_EQ("Word", parts.status);
    EXPECT_EQ("", parts.tooltip);
}

TEST(ButtonLook, CheckBoxFramesFollowHoverCheckAndDisabledButNotThePress) {
    ButtonState s;
    s.selected = true;
    EXPECT_EQ(0, CheckFrameIndex(s));
    s.hover = true;
    EXPECT_EQ(1, CheckFrameIndex(s));
    s.checked = true;
    EXPECT_EQ(3, CheckFrameIndex(s));
    s.hover = false;
    EXPECT_EQ(2, CheckFrameIndex(s));
    s.enabled = false;
    s.hover = true;
    EXPECT_EQ(5, CheckFrameIndex(s));
    s.checked = false;
    EXPECT_EQ(4, CheckFrameIndex(s));
}
