// The outside filters' helpers: creation by class ID, and the calls the text overlay and the flip
// plug-in get, checked against a stand-in that declares the overlay's interface on its own.
#include "effects_fixture.h"

#include "OutsideFilters.h"
#include "QelPluginIds.h"

#include <gmock/gmock.h>

using ::testing::ElementsAre;

namespace enginetest {
namespace {

class OutsideFiltersTest : public EffectsTest {};

TEST_F(OutsideFiltersTest, TheTextOverlayGetsItsThreeCallsInItsSlotOrder) {
    ASSERT_EQ(S_OK, standins.Register(CLSID_TarnTextMix));
    IBaseFilter* overlay = nullptr;
    ASSERT_EQ(S_OK, CreateTextMixFilter(&overlay));
    ASSERT_NE(nullptr, overlay);
    int record = 0;   // the overlay only receives the address
    TextMixSetMixInfo(overlay, reinterpret_cast<CTextMixInfo*>(&record), FALSE);
    TextMixSetPosition(overlay, 123456789012LL, TRUE);
    TextMixClearMixInfo(overlay);
    overlay->Release();
    EXPECT_THAT(standins.Log(CLSID_TarnTextMix),
                ElementsAre("#1 SetMixInfo(info,0)", "#1 SetPosition(123456789012,1)", "#1 ClearMixInfo"));
}

TEST_F(OutsideFiltersTest, WithoutTheOverlayCreationFailsAndTheCallsDoNothing) {
    if (standins.Unregister(CLSID_TarnTextMix) == S_FALSE)
        GTEST_SKIP() << "another module serves the text overlay in this prefix";
    IBaseFilter* overlay = reinterpret_cast<IBaseFilter*>(1);
    EXPECT_TRUE(FAILED(CreateTextMixFilter(&overlay)));
    EXPECT_EQ(nullptr, overlay);
    EXPECT_EQ(E_POINTER, CreateTextMixFilter(nullptr));
    TextMixSetPosition(nullptr, 1, TRUE);
    TextMixClearMixInfo(nullptr);
    // A filter that is no overlay gets nothing.
    IBaseFilter* flip = nullptr;
    ASSERT_EQ(S_OK, CreateFlipPlugin(&flip));
    TextMixSetPosition(flip, 5, TRUE);
    EXPECT_THAT(standins.Log(CLSID_QelFilter_Flip), ::testing::IsEmpty());
    flip->Release();
}

TEST_F(OutsideFiltersTest, TheFlipPassSendsOnlyOnesForItsBits) {
    IBaseFilter* flip = nullptr;
    ASSERT_EQ(S_OK, CreateFlipPlugin(&flip));
    FlipSendParams(flip, 0);
    FlipSendParams(flip, 2);
    FlipSendParams(flip, 3);
    FlipSwitchOff(flip);
    flip->Release();
    EXPECT_THAT(standins.Log(CLSID_QelFilter_Flip),
                ElementsAre("#1 SetEnable(1)", "#1 SetEnable(1)", "#1 SetValue(1)", "#1 SetEnable(1)",
                            "#1 SetValue2(1)", "#1 SetValue(1)", "#1 SetEnable(0)"));
    EXPECT_TRUE(IsEqualCLSID(CLSID_QelFlipPlugin, CLSID_QelFilter_Flip));
}

} // namespace
} // namespace enginetest
