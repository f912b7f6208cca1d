// Plug-ins that cannot be created and splices that fail: the fixed message, and a preview that
// goes on as it was.
#include "effects_fixture.h"

#include "QelPluginIds.h"

#include <gmock/gmock.h>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace enginetest {
namespace {

const wchar_t kCamera[] = L"Qel Failing Effects Camera";

class EffectFailureTest : public EffectsTest {
protected:
    std::vector<std::wstring> BaseChain() const {
        return {L"Q&LFilter - Flip", L"Q&LFilter - Rotate", L"Q&LFilter - Digital Zoom"};
    }
};

TEST_F(EffectFailureTest, AnUnregisteredPlugInGivesItsMessageAndThePreviewGoesOn) {
    Preview(kCamera);
    ASSERT_EQ(S_OK, standins.Unregister(CLSID_QelFilter_AutoTone));
    ASSERT_EQ(S_OK, standins.Unregister(CLSID_QelFilter_ContrastBrightness));
    ASSERT_EQ(S_OK, standins.Unregister(CLSID_QelFilter_SpecialEffect));
    ASSERT_EQ(S_OK, standins.Unregister(CLSID_QelFilter_DateTime));
    const size_t before = FilterCount();
    engine->SetToneEnable(1, 50);
    engine->SetCBEnable(1, 3, 4);
    engine->SetSepiaEnable(1, 2);
    LOGFONTA font = {};
    engine->SetDateTimeFont(font);
    EXPECT_THAT(boxes.Texts(), ElementsAre("Failed to create Tone Filter", "Failed to create Brightness Filter",
                                           "Failed to create SpEff Filter", "Failed to create DateTime Filter"));
    EXPECT_FALSE(engine->m_bEffectOn[CLiveCapture::EFFECT_TONE]);
    EXPECT_FALSE(engine->m_bEffectInPreview[CLiveCapture::EFFECT_TONE]);
    EXPECT_FALSE(engine->m_bSpecialSelected[CLiveCapture::SPEFF_SEPIA]);
    EXPECT_EQ(nullptr, engine->m_pPreEffect[CLiveCapture::EFFECT_TONE]);
    EXPECT_EQ(before, FilterCount());
    EXPECT_EQ(BaseChain(), ChainInFrontOf(L"SampleGrabber"));
    EXPECT_TRUE(Running());
}

TEST_F(EffectFailureTest, WithoutFlipRotateAndZoomThePreviewStillRunsAfterTheirMessages) {
    for (const CLSID& clsid : {CLSID_QelFilter_Flip, CLSID_QelFilter_Rotate, CLSID_QelFilter_DigitalZoom})
        ASSERT_EQ(S_OK, standins.Unregister(clsid));
    Preview(kCamera);
    // The zoom is switched on and then off at every build: only the first reaches creation.
    EXPECT_THAT(boxes.Texts(), ElementsAre("Failed to create Flip Filter", "Failed to create Rotate Filter",
                                           "Failed to create DigitalZoom Filter"));
    EXPECT_THAT(ChainInFrontOf(L"SampleGrabber"), IsEmpty());
    EXPECT_TRUE(Running());
}

TEST_F(EffectFailureTest, APlugInThatRefusesTheCameraLeavesThePreviewRunningAsItWas) {
    Preview(kCamera);
    const auto names = FilterNames();
    ASSERT_EQ(S_OK, standins.SetMode(CLSID_QelFilter_AutoEnhance, standin::kRefuseInput));
    engine->SetEnhanceEnable(1, 40);
    EXPECT_THAT(boxes.Texts(), ElementsAre("Preview::Failed to Connect to the input pin of QelFilter"));
    EXPECT_EQ(names, FilterNames()) << "the plug-in is taken out again";
    EXPECT_EQ(BaseChain(), ChainInFrontOf(L"SampleGrabber"));
    EXPECT_TRUE(Running());
    EXPECT_EQ(LIVE_PREVIEWING, engine->GetClassState());
    // As after any splice attempt, the row counts as in the preview: a repeat only sends values.
    EXPECT_TRUE(engine->m_bEffectInPreview[CLiveCapture::EFFECT_ENHANCE]);
    engine->SetEnhanceEnable(1, 50);
    EXPECT_EQ(1u, boxes.Texts().size());
    EXPECT_THAT(Calls(CLSID_QelFilter_AutoEnhance), ElementsAre("#1 SetEnable(1)", "#1 SetStrength(50)"));
}

TEST_F(EffectFailureTest, APlugInWhoseOutputConnectsNowhereLeavesThePreviewRunningAsItWas) {
    Preview(kCamera);
    const auto names = FilterNames();
    ASSERT_EQ(S_OK, standins.SetMode(CLSID_QelFilter_SpecialEffect, standin::kRefuseOutput));
    engine->SetEmbossEnable(1, 4);
    EXPECT_THAT(boxes.Texts(),
                ElementsAre("Preview::Failed to Connect to the output pin of QelFilter to input of renderer"));
    EXPECT_EQ(names, FilterNames());
    EXPECT_EQ(BaseChain(), ChainInFrontOf(L"SampleGrabber"));
    EXPECT_TRUE(Running());
    EXPECT_THAT(Calls(CLSID_QelFilter_SpecialEffect), IsEmpty()) << "no parameters after a failed splice";
}

TEST_F(EffectFailureTest, AnUnconnectedGrabberIsReportedAndNoNullPinIsDisconnected) {
    Preview(kCamera);
    // Take the grabber's input off its upstream filter, as a broken graph would leave it.
    IPin* grabberIn = engine->FindInputPin(engine->m_pGraph, "SampleGrabber", 0);
    ASSERT_NE(nullptr, grabberIn);
    IPin* upstream = nullptr;
    ASSERT_EQ(S_OK, grabberIn->ConnectedTo(&upstream));
    ASSERT_TRUE(engine->StopPreview());
    engine->m_pGraph->Disconnect(grabberIn);
    engine->m_pGraph->Disconnect(upstream);
    upstream->Release();
    const auto names = FilterNames();

    EXPECT_EQ(0, engine->ApplyPreviewQelFilter(QF_LOWLIGHT, nullptr, 1)) << "no plug-in: nothing to do";
    IBaseFilter* plugin = nullptr;
    ASSERT_EQ(S_OK, CoCreateInstance(CLSID_QelFilter_LowLight, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                     reinterpret_cast<void**>(&plugin)));
    EXPECT_EQ(0, engine->ApplyPreviewQelFilter(QF_LOWLIGHT, plugin, 30));
    EXPECT_THAT(boxes.Texts(),
                ElementsAre("Cant get some Pins!!!", "Preview::Failed to Connect to the input pin of QelFilter"));
    EXPECT_EQ(names, FilterNames());
    IPin* stillFree = nullptr;
    EXPECT_EQ(VFW_E_NOT_CONNECTED, grabberIn->ConnectedTo(&stillFree));
    grabberIn->Release();
    plugin->Release();
}

TEST_F(EffectFailureTest, WithoutAGraphTheSpliceAndTheSwitchOffDoNothing) {
    IBaseFilter* plugin = nullptr;
    ASSERT_EQ(S_OK, CoCreateInstance(CLSID_QelFilter_Whiteboard, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                     reinterpret_cast<void**>(&plugin)));
    EXPECT_EQ(0, engine->ApplyPreviewQelFilter(QF_WHITEBOARD, plugin, 3));
    EXPECT_EQ(0, engine->ApplyCaptureQelFilter(QF_WHITEBOARD, plugin, 3));
    engine->SetOffPreviewFilter(QF_WHITEBOARD, plugin);
    EXPECT_THAT(Calls(CLSID_QelFilter_Whiteboard), IsEmpty());
    // The update path needs no graph; a plug-in that does not answer gets nothing and the value back.
    EXPECT_EQ(100, engine->SetPreviewFilterPercent(QF_WHITEBOARD, plugin, 130));
    EXPECT_THAT(Calls(CLSID_QelFilter_Whiteboard), ElementsAre("#1 SetEnable(1)", "#1 SetStrength(100)"));
    IBaseFilter* other = nullptr;   // answers the rotate interface only
    ASSERT_EQ(S_OK, CoCreateInstance(CLSID_QelFilter_Rotate, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                     reinterpret_cast<void**>(&other)));
    EXPECT_EQ(130, engine->SetPreviewFilterPercent(QF_WHITEBOARD, other, 130));
    EXPECT_THAT(Calls(CLSID_QelFilter_Rotate), IsEmpty());
    other->Release();
    plugin->Release();
    EXPECT_THAT(boxes.Texts(), IsEmpty());
}

TEST_F(EffectFailureTest, TheLookupByGraphNameMatchesAnyPartOfTheNameWithItsCase) {
    Preview(kCamera);
    IPin* pin = engine->FindInputPin(engine->m_pGraph, "Grabb", 0);
    EXPECT_NE(nullptr, pin);
    if (pin)
        pin->Release();
    EXPECT_EQ(nullptr, engine->FindInputPin(engine->m_pGraph, "samplegrabber", 0));
    EXPECT_EQ(nullptr, engine->FindInputPin(engine->m_pGraph, "SampleGrabber", 1)) << "one input only";
    pin = engine->FindOutputPin(engine->m_pGraph, "Rotate", 0);
    EXPECT_NE(nullptr, pin);
    if (pin)
        pin->Release();
}

} // namespace
} // namespace enginetest
