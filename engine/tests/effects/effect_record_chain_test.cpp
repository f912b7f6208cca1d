// The record build's effect step: second instances in front of the multiplexer, flip and rotate
// always, then the enabled effects in their fixed order.
#include "effects_fixture.h"

#include "QelPluginIds.h"
#include "test_mux.h"

#include <gmock/gmock.h>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace enginetest {
namespace {

const wchar_t kCamera[] = L"Qel Record Effects Camera";

class RecordChainTest : public EffectsTest {
protected:
    // The preview's effects are set, then the graph is emptied and a record branch made by hand:
    // the camera's capture pin into a two-input sink named "Mux".
    void BuildRecordBranch(IBaseFilter* firstSource = nullptr) {
        ASSERT_TRUE(engine->StopPreview());
        engine->TearDownGraph();
        standins.ClearLog();
        mux_ = CreateTestMux();
        ASSERT_NE(nullptr, mux_);
        ASSERT_EQ(S_OK, engine->m_pGraph->AddFilter(mux_, L"Mux"));
        if (firstSource) {   // another stream takes the multiplexer's first input
            ASSERT_EQ(S_OK, engine->m_pGraph->AddFilter(firstSource, L"Other Camera"));
            ASSERT_TRUE(SUCCEEDED(engine->m_pBuilder->RenderStream(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video,
                                                                   firstSource, nullptr, mux_)));
        }
        ASSERT_TRUE(SUCCEEDED(engine->m_pBuilder->RenderStream(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video,
                                                               engine->m_pVideoCapFilter, nullptr, mux_)));
    }
    void TearDown() override {
        if (mux_)
            mux_->Release();
        EffectsTest::TearDown();
    }
    IBaseFilter* mux_ = nullptr;
};

TEST_F(RecordChainTest, EveryEnabledEffectGoesInFrontOfTheMultiplexerInTheFixedOrder) {
    Preview(kCamera);
    engine->SetMosaicEnable(1, 8);
    engine->SetEnhanceEnable(1, 40);
    engine->SetSepiaEnable(1, 3);            // selected beside Mosaic
    engine->SetDigitalZoomEnable(1, 2);
    engine->SetRotateEnable(0, 180, 1, 0x0A0B0C);
    engine->SetFlipEnable(1, 1);
    engine->SetToneEnable(1, 5);
    engine->SetToneEnable(0, 5);             // not wanted: not recorded
    BuildRecordBranch();
    engine->m_bWantPreview = FALSE;          // only the record branch here
    engine->m_recordFileType = RECORD_AVI;   // the video is on the multiplexer's first input

    EXPECT_TRUE(engine->xInsertCaptureEffects());
    EXPECT_EQ((std::vector<std::wstring>{L"Q&LFilter - Flip", L"Q&LFilter - Rotate", L"Q&LFilter - Digital Zoom",
                                         L"Q&LFilter - Auto Enhance", L"Q&LFilter - Special Effect"}),
              ChainInFrontOf(L"Mux"));
    EXPECT_THAT(Calls(CLSID_QelFilter_Flip), ElementsAre("#2 SetEnable(1)", "#2 SetValue2(1)"));
    EXPECT_THAT(Calls(CLSID_QelFilter_Rotate),
                ElementsAre("#2 SetEnable(1)", "#2 SetAngle(180)", "#2 SetMethod(1)", "#2 SetBackColor(0x0a0b0c)"));
    EXPECT_THAT(Calls(CLSID_QelFilter_DigitalZoom), ElementsAre("#2 SetEnable(1)", "#2 SetZoom(200)"));
    EXPECT_THAT(Calls(CLSID_QelFilter_AutoEnhance), ElementsAre("#2 SetEnable(1)", "#2 SetStrength(40)"));
    EXPECT_THAT(Calls(CLSID_QelFilter_AutoTone), IsEmpty());
    // One shared instance: spliced once, then each further effect only selected, open for the whole
    // recording; Mosaic comes after Sepia in the kept order and shows.
    EXPECT_THAT(Calls(CLSID_QelFilter_SpecialEffect),
                ElementsAre("#2 SetEnable(1)", "#2 AddRange(-1,-1)", "#2 SetEffect(1)", "#2 SetEnable(1)",
                            "#2 AddRange(-1,-1)", "#2 SetEffect(6)"));
    EXPECT_THAT(boxes.Texts(), IsEmpty());
    EXPECT_FALSE(engine->m_bFlipInPreview);
}

TEST_F(RecordChainTest, ARecordingWithoutEffectsStillCarriesFlipAndRotateAndThePreviewGetsItsOwn) {
    Preview(kCamera);
    BuildRecordBranch();
    // The record graph's preview branch: the camera's preview pin to a renderer.
    ASSERT_TRUE(SUCCEEDED(engine->m_pBuilder->RenderStream(&PIN_CATEGORY_PREVIEW, &MEDIATYPE_Video,
                                                           engine->m_pVideoCapFilter, nullptr, nullptr)));
    engine->m_recordFileType = RECORD_AVI_NOAUDIO;
    EXPECT_TRUE(engine->xInsertCaptureEffects());
    EXPECT_EQ((std::vector<std::wstring>{L"Q&LFilter - Flip", L"Q&LFilter - Rotate"}), ChainInFrontOf(L"Mux"));
    // The preview branch got new preview instances of flip, rotate and the zoom, in front of its renderer.
    EXPECT_TRUE(engine->m_bFlipInPreview);
    EXPECT_TRUE(engine->m_bRotateInPreview);
    EXPECT_EQ(2, standins.LiveInstances(CLSID_QelFilter_Flip));
    EXPECT_EQ(2, standins.LiveInstances(CLSID_QelFilter_Rotate));
    EXPECT_THAT(boxes.Texts(), IsEmpty());
}

TEST_F(RecordChainTest, WhereBothInputsCarryVideoTheSecondOneIsTheRecordedOne) {
    qelcam::ScopedTestCamera* other = AddCamera(L"Qel Record Other Camera", qelcam::kWithPreviewPin);
    Preview(kCamera);
    IBaseFilter* otherFilter = nullptr;
    ASSERT_EQ(S_OK, other->Bind(&otherFilter));
    BuildRecordBranch(otherFilter);
    engine->m_bWantPreview = FALSE;
    engine->m_recordFileType = RECORD_ASF_SYSTEM;
    EXPECT_TRUE(engine->xInsertCaptureEffects());
    IPin* second = engine->FindInputPin(engine->m_pGraph, "Mux", 1);
    ASSERT_NE(nullptr, second);
    IPin* peer = nullptr;
    ASSERT_EQ(S_OK, second->ConnectedTo(&peer));
    PIN_INFO info = {};
    peer->QueryPinInfo(&info);
    FILTER_INFO filter = {};
    info.pFilter->QueryFilterInfo(&filter);
    EXPECT_STREQ(L"Q&LFilter - Rotate", filter.achName);
    if (filter.pGraph)
        filter.pGraph->Release();
    info.pFilter->Release();
    peer->Release();
    second->Release();
    otherFilter->Release();
}

TEST_F(RecordChainTest, ARecordingNeedsFlipAndRotate) {
    Preview(kCamera);
    BuildRecordBranch();
    engine->m_bWantPreview = FALSE;
    engine->m_bEffectOn[CLiveCapture::EFFECT_ZOOM] = TRUE;
    ASSERT_EQ(S_OK, standins.Unregister(CLSID_QelFilter_Rotate));
    EXPECT_FALSE(engine->xInsertCaptureEffects());
    EXPECT_THAT(boxes.Texts(), ElementsAre("Failed to create Rotate Filter when Capture"));
    EXPECT_NE(nullptr, engine->m_pCapFlipFilter);
    EXPECT_EQ(nullptr, engine->m_pCapRotateFilter);
    EXPECT_THAT(Calls(CLSID_QelFilter_DigitalZoom), IsEmpty()) << "the rows after the failure are not processed";

    ASSERT_EQ(S_OK, standins.Unregister(CLSID_QelFilter_Flip));
    engine->xReleaseCapEffFilters();
    EXPECT_FALSE(engine->xInsertCaptureEffects());
    EXPECT_THAT(boxes.Texts(), ElementsAre("Failed to create Rotate Filter when Capture",
                                           "Failed to create Flip Filter when capturing"));
}

TEST_F(RecordChainTest, WithoutAMultiplexerTheInsertionReportsItsTarget) {
    Preview(kCamera);
    IBaseFilter* plugin = nullptr;
    ASSERT_EQ(S_OK, CoCreateInstance(CLSID_QelFilter_AutoEnhance, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                     reinterpret_cast<void**>(&plugin)));
    const auto names = FilterNames();
    EXPECT_EQ(0, engine->ApplyCaptureQelFilter(QF_ENHANCE, plugin, 10));
    EXPECT_THAT(boxes.Texts(), ElementsAre("Capture::Failed to video filer input pin"));
    EXPECT_EQ(names, FilterNames());
    EXPECT_TRUE(Running()) << "the preview goes on as it was";
    plugin->Release();
}

} // namespace
} // namespace enginetest
