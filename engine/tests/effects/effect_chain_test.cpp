// Switching plug-ins in and out of the running preview: where they go, what they are sent, and
// what a rebuilt preview brings back.
#include "effects_fixture.h"

#include "QelPluginIds.h"

#include <gmock/gmock.h>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace enginetest {
namespace {

const wchar_t kCamera[] = L"Qel Effects Camera";

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

std::vector<std::string> Narrow(const std::vector<std::wstring>& names) {
    std::vector<std::string> narrow;
    for (const auto& name : names)
        narrow.push_back(Narrow(name));
    return narrow;
}

class EffectChainTest : public EffectsTest {};

TEST_F(EffectChainTest, APreviewAlwaysCarriesFlipRotateAndZoomInFrontOfTheGrabber) {
    Preview(kCamera);
    EXPECT_THAT(Narrow(ChainInFrontOf(L"SampleGrabber")),
                ElementsAre("Q&LFilter - Flip", "Q&LFilter - Rotate", "Q&LFilter - Digital Zoom"));
    EXPECT_TRUE(Running());
    EXPECT_THAT(boxes.Texts(), IsEmpty());
    EXPECT_THAT(Calls(CLSID_QelFilter_Flip), ElementsAre("#1 SetEnable(1)"));
    EXPECT_THAT(Calls(CLSID_QelFilter_Rotate),
                ElementsAre("#1 SetEnable(1)", "#1 SetAngle(0)", "#1 SetMethod(0)", "#1 SetBackColor(0x000000)"));
    // On, then off again: zoom is not wanted.
    EXPECT_THAT(Calls(CLSID_QelFilter_DigitalZoom),
                ElementsAre("#1 SetEnable(1)", "#1 SetZoom(100)", "#1 SetEnable(0)"));
}

TEST_F(EffectChainTest, EffectsJoinInTheOrderOfFirstSwitchOnAndARepeatOnlySendsValues) {
    Preview(kCamera);
    const size_t base = FilterCount();
    engine->SetEnhanceEnable(1, 40);
    engine->SetCBEnable(1, -20, 30);
    engine->SetMosaicEnable(1, 8);
    engine->SetRotateEnable(1, 90, 1, 0x00FF00);
    EXPECT_THAT(Narrow(ChainInFrontOf(L"SampleGrabber")),
                ElementsAre("Q&LFilter - Flip", "Q&LFilter - Rotate", "Q&LFilter - Digital Zoom",
                            "Q&LFilter - Auto Enhance", "Q&LFilter - Contrast Brightness",
                            "Q&LFilter - Special Effect"));
    EXPECT_EQ(base + 3, FilterCount()) << "rotate was in the chain already";
    EXPECT_TRUE(Running());

    engine->SetEnhanceEnable(1, 60);   // a repeat
    engine->SetEnhanceEnable(0, 60);   // off
    engine->SetEnhanceEnable(1, 70);   // on again: the same instance where it was
    EXPECT_EQ(base + 3, FilterCount());
    EXPECT_THAT(Narrow(ChainInFrontOf(L"SampleGrabber")),
                ElementsAre("Q&LFilter - Flip", "Q&LFilter - Rotate", "Q&LFilter - Digital Zoom",
                            "Q&LFilter - Auto Enhance", "Q&LFilter - Contrast Brightness",
                            "Q&LFilter - Special Effect"));
    EXPECT_THAT(Calls(CLSID_QelFilter_AutoEnhance),
                ElementsAre("#1 SetEnable(1)", "#1 SetStrength(40)", "#1 SetEnable(1)", "#1 SetStrength(60)",
                            "#1 SetEnable(0)", "#1 SetEnable(1)", "#1 SetStrength(70)"));
    EXPECT_EQ(1, standins.LiveInstances(CLSID_QelFilter_AutoEnhance));
    EXPECT_THAT(Calls(CLSID_QelFilter_Rotate),
                ElementsAre("#1 SetEnable(1)", "#1 SetAngle(0)", "#1 SetMethod(0)", "#1 SetBackColor(0x000000)",
                            "#1 SetEnable(1)", "#1 SetAngle(90)", "#1 SetMethod(1)", "#1 SetBackColor(0x00ff00)"));
    EXPECT_TRUE(Running());
    EXPECT_THAT(boxes.Texts(), IsEmpty());
}

TEST_F(EffectChainTest, StrengthsAreClampedOnlyOnTheUpdatePath) {
    Preview(kCamera);
    engine->SetEnhanceEnable(1, 150);
    engine->SetEnhanceEnable(1, 150);
    engine->SetEnhanceEnable(1, -7);
    EXPECT_THAT(Calls(CLSID_QelFilter_AutoEnhance),
                ElementsAre("#1 SetEnable(1)", "#1 SetStrength(150)", "#1 SetEnable(1)", "#1 SetStrength(100)",
                            "#1 SetEnable(1)", "#1 SetStrength(0)"));
    EXPECT_EQ(-7, engine->m_nEnhanceLevel) << "the value given is kept";
    engine->SetToneEnable(1, 20);
    engine->SetLowLightEnable(1, 30);
    engine->SetWhiteBoardEnable(1, 101);
    engine->SetWhiteBoardEnable(0, 101);
    EXPECT_THAT(Calls(CLSID_QelFilter_AutoTone), ElementsAre("#1 SetEnable(1)", "#1 SetStrength(20)"));
    EXPECT_THAT(Calls(CLSID_QelFilter_LowLight), ElementsAre("#1 SetEnable(1)", "#1 SetStrength(30)"));
    EXPECT_THAT(Calls(CLSID_QelFilter_Whiteboard),
                ElementsAre("#1 SetEnable(1)", "#1 SetStrength(101)", "#1 SetEnable(0)"));
    EXPECT_FALSE(engine->m_bEffectOn[CLiveCapture::EFFECT_WHITEBOARD]);
    EXPECT_TRUE(engine->m_bEffectInPreview[CLiveCapture::EFFECT_WHITEBOARD]) << "a switch-off keeps it spliced";
}

TEST_F(EffectChainTest, ContrastBrightnessZoomFrameAndDateTimeSendTheirTableValues) {
    Preview(kCamera);
    engine->SetCBEnable(1, -20, 35);
    engine->SetCBEnable(1, 10, -40);
    EXPECT_THAT(Calls(CLSID_QelFilter_ContrastBrightness),
                ElementsAre("#1 SetEnable(1)", "#1 SetBrightness(-20)", "#1 SetContrast(35)", "#1 SetEnable(1)",
                            "#1 SetBrightness(10)", "#1 SetContrast(-40)"));

    standins.ClearLog();
    engine->SetDigitalZoomEnable(1, 3);
    engine->SetDigitalZoomEnable(1, 0);
    engine->SetDigitalZoomEnable(1, 9);   // beyond the table: the last step
    EXPECT_THAT(Calls(CLSID_QelFilter_DigitalZoom),
                ElementsAre("#1 SetEnable(1)", "#1 SetZoom(250)", "#1 SetEnable(1)", "#1 SetZoom(100)",
                            "#1 SetEnable(1)", "#1 SetZoom(300)"));

    engine->SetPhotoFrameEnable(1, L"C:\\frames\\gold.png");
    EXPECT_THAT(Calls(CLSID_QelFilter_PhotoFrame),
                ElementsAre("#1 SetEnable(1)", "#1 SetFramePath(C:\\frames\\gold.png)"));

    engine->SetDateTimeEnable(1, 12);
    EXPECT_EQ(9, engine->m_nDateTimePadding);
    engine->SetDateTimeEnable(1, -5);
    EXPECT_EQ(0, engine->m_nDateTimePadding);
    engine->SetDateTimeEnable(1, 4);
    LOGFONTA font = {};
    font.lfHeight = -12;
    lstrcpyA(font.lfFaceName, "Arial");
    engine->SetDateTimeFont(font);
    EXPECT_THAT(Calls(CLSID_QelFilter_DateTime),
                ElementsAre("#1 SetEnable(1)", "#1 SetAlignment(9,9)", "#1 SetEnable(1)", "#1 SetAlignment(9,0)",
                            "#1 SetEnable(1)", "#1 SetAlignment(9,0)", "#1 SetFont(Arial,-12)",
                            "#1 SetAlignment(9,0)"));
    LOGFONTA back = {};
    engine->GetDateTimeFont(back);
    EXPECT_STREQ("Arial", back.lfFaceName);
    EXPECT_EQ(1, engine->GetDateTimeEnable());
    EXPECT_THAT(boxes.Texts(), IsEmpty());
}

TEST_F(EffectChainTest, SpecialEffectsShareOnePlugInThatShowsTheLastEffectSent) {
    Preview(kCamera);
    engine->SetMosaicEnable(1, 8);
    engine->SetSwirlEnable(1, 0);
    engine->SetSpotLightEnable(1, 5);
    engine->SetSpotLightEnable(0, 5);
    EXPECT_FALSE(engine->m_bEffectOn[CLiveCapture::EFFECT_SPECIAL]);
    EXPECT_TRUE(engine->m_bSpecialSelected[CLiveCapture::SPEFF_SPOTLIGHT]) << "switch-off keeps the selection";
    engine->SetNoEffect();
    EXPECT_THAT(Calls(CLSID_QelFilter_SpecialEffect),
                ElementsAre("#1 SetEnable(1)", "#1 SetEffect(6)", "#1 SetEnable(1)", "#1 SetEffect(7)",
                            "#1 SetEnable(1)", "#1 SetEffect(8)", "#1 SetEffect(8)", "#1 SetEnable(0)",
                            "#1 SetEnable(0)", "#1 SetEffect(-1)"));
    for (int i = 0; i < CLiveCapture::SPEFF_COUNT; ++i)
        EXPECT_FALSE(engine->m_bSpecialSelected[i]) << i;
    EXPECT_EQ(1, standins.LiveInstances(CLSID_QelFilter_SpecialEffect));
}

TEST_F(EffectChainTest, NoEffectBeforeAnySpecialEffectOnlyClearsTheSelections) {
    engine->m_bSpecialSelected[CLiveCapture::SPEFF_SEPIA] = TRUE;   // no engine start: no graph either
    engine->SetNoEffect();
    EXPECT_FALSE(engine->m_bSpecialSelected[CLiveCapture::SPEFF_SEPIA]);
    EXPECT_EQ(0, standins.LiveInstances(CLSID_QelFilter_SpecialEffect));
    LOGFONTA font = {};
    font.lfHeight = 77;
    engine->GetDateTimeFont(font);
    EXPECT_EQ(77, font.lfHeight) << "no date/time plug-in yet: the font is left alone";
}

TEST_F(EffectChainTest, FlipBitsSelectTheTwoValuesAndNoPassSendsZero) {
    Preview(kCamera);
    engine->SetFlipEnable(1, 1);
    engine->SetFlipEnable(1, 0);
    engine->SetFlipEnable(1, 3);
    engine->SetFlipEnable(0, 2);
    EXPECT_EQ(2, engine->m_nFlipBits);
    EXPECT_FALSE(engine->m_bFlipOn);
    EXPECT_THAT(Calls(CLSID_QelFilter_Flip),
                ElementsAre("#1 SetEnable(1)", "#1 SetEnable(1)", "#1 SetValue2(1)", "#1 SetEnable(1)",
                            "#1 SetEnable(1)", "#1 SetValue2(1)", "#1 SetValue(1)", "#1 SetEnable(0)"));
}

TEST_F(EffectChainTest, ARebuiltPreviewBringsBackEveryEnabledEffectTheZoomAndFlipAndRotate) {
    Preview(kCamera);
    engine->SetEnhanceEnable(1, 40);
    engine->SetCBEnable(1, 5, 6);
    engine->SetToneEnable(1, 10);
    engine->SetToneEnable(0, 10);            // not wanted any more: not brought back
    engine->SetBlackWhiteEnable(1, 3);
    engine->SetSepiaEnable(1, 4);            // both selected: Sepia is sent last
    engine->SetRotateEnable(0, 90, 1, 0x112233);
    engine->SetFlipEnable(0, 2);
    engine->SetDigitalZoomEnable(1, 2);
    engine->SetDigitalZoomEnable(0, 2);
    standins.ClearLog();

    ASSERT_TRUE(engine->StopPreview());
    engine->TearDownGraph();
    ASSERT_TRUE(engine->BuildPreviewGraph());
    ASSERT_TRUE(engine->StartPreview());

    EXPECT_THAT(Narrow(ChainInFrontOf(L"SampleGrabber")),
                ElementsAre("Q&LFilter - Flip", "Q&LFilter - Rotate", "Q&LFilter - Digital Zoom",
                            "Q&LFilter - Auto Enhance", "Q&LFilter - Contrast Brightness",
                            "Q&LFilter - Special Effect"));
    EXPECT_THAT(Calls(CLSID_QelFilter_Flip), ElementsAre("#2 SetEnable(1)", "#2 SetValue(1)"));
    EXPECT_THAT(Calls(CLSID_QelFilter_Rotate),
                ElementsAre("#2 SetEnable(1)", "#2 SetAngle(90)", "#2 SetMethod(1)", "#2 SetBackColor(0x112233)"));
    EXPECT_THAT(Calls(CLSID_QelFilter_DigitalZoom),
                ElementsAre("#2 SetEnable(1)", "#2 SetZoom(200)", "#2 SetEnable(0)"));
    EXPECT_THAT(Calls(CLSID_QelFilter_AutoEnhance), ElementsAre("#2 SetEnable(1)", "#2 SetStrength(40)"));
    EXPECT_THAT(Calls(CLSID_QelFilter_ContrastBrightness),
                ElementsAre("#2 SetEnable(1)", "#2 SetBrightness(5)", "#2 SetContrast(6)"));
    EXPECT_THAT(Calls(CLSID_QelFilter_AutoTone), IsEmpty());
    EXPECT_THAT(Calls(CLSID_QelFilter_SpecialEffect),
                ElementsAre("#2 SetEnable(1)", "#2 SetEffect(0)", "#2 SetEnable(1)", "#2 SetEffect(1)"));
    // The stopped preview let go of its instances; only the new ones live.
    EXPECT_EQ(1, standins.LiveInstances(CLSID_QelFilter_AutoEnhance));
    EXPECT_EQ(1, standins.LiveInstances(CLSID_QelFilter_Flip));
    EXPECT_EQ(0, standins.LiveInstances(CLSID_QelFilter_AutoTone));
    EXPECT_TRUE(Running());
}

TEST_F(EffectChainTest, ThroughTheMixingRendererTheChainSitsInFrontOfIt) {
    engine->EnableVMR(TRUE);
    Preview(kCamera);
    if (!engine->m_bUseVMR)
        GTEST_SKIP() << "no mixing renderer could be made here";
    engine->SetLowLightEnable(1, 25);
    EXPECT_THAT(Narrow(ChainInFrontOf(L"VMR")),
                ElementsAre("Q&LFilter - Flip", "Q&LFilter - Rotate", "Q&LFilter - Digital Zoom",
                            "Q&LFilter - Low Light"));
    EXPECT_THAT(Calls(CLSID_QelFilter_LowLight), ElementsAre("#1 SetEnable(1)", "#1 SetStrength(25)"));
    EXPECT_THAT(boxes.Texts(), IsEmpty());
}

TEST_F(EffectChainTest, TheStandAloneFlipSpliceReplacesTheFlipInFrontOfTheGrabber) {
    Preview(kCamera);
    const size_t base = FilterCount();
    IBaseFilter* first = engine->m_pPreFlipFilter;
    first->AddRef();
    standins.ClearLog();
    EXPECT_EQ(S_OK, engine->BuildPreFlip());
    EXPECT_NE(first, engine->m_pPreFlipFilter);
    first->Release();
    EXPECT_EQ(base, FilterCount()) << "the old flip went";
    EXPECT_THAT(Narrow(ChainInFrontOf(L"SampleGrabber")),
                ElementsAre("Q&LFilter - Rotate", "Q&LFilter - Digital Zoom", "Q&LFilter - Flip"));
    EXPECT_THAT(Calls(CLSID_QelFilter_Flip), IsEmpty()) << "no parameters";
    EXPECT_TRUE(engine->m_bFlipInPreview) << "the flags are left alone";
    EXPECT_TRUE(Running());
    EXPECT_THAT(boxes.Texts(), IsEmpty());
}

TEST_F(EffectChainTest, TheStandAloneFlipSpliceWithoutTheFlipPlugInReturnsTheCreationFailure) {
    Preview(kCamera);
    ASSERT_EQ(S_OK, standins.Unregister(CLSID_QelFilter_Flip));
    IBaseFilter* kept = engine->m_pPreFlipFilter;
    EXPECT_TRUE(FAILED(engine->BuildPreFlip()));
    EXPECT_EQ(kept, engine->m_pPreFlipFilter) << "the flip in the chain stays";
    EXPECT_THAT(Narrow(ChainInFrontOf(L"SampleGrabber")),
                ElementsAre("Q&LFilter - Flip", "Q&LFilter - Rotate", "Q&LFilter - Digital Zoom"));
    EXPECT_TRUE(Running());
}

} // namespace
} // namespace enginetest
