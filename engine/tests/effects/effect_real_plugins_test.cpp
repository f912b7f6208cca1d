// The chain with the project's own plug-ins instead of the stand-in: the rotate plug-in, the flip
// plug-in and, where they are built, the special-effect and auto-enhance plug-ins.
#include "effects_fixture.h"

#include "QelFilterParams.h"
#include "QelPluginIds.h"

#include <gmock/gmock.h>

#include <memory>

#include "qeltest/pump.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace enginetest {
namespace {

const wchar_t kCamera[] = L"Qel Real Plug-in Camera";

// A plug-in module registered for the life of the object, and unregistered after.
class RealPlugin {
public:
    explicit RealPlugin(const wchar_t* module) : module_(LoadLibraryW((std::wstring(module) + L".ax").c_str())) {
        registered_ = Call("DllRegisterServer") == S_OK;
    }
    ~RealPlugin() {
        if (registered_)
            Call("DllUnregisterServer");
        if (module_)
            FreeLibrary(module_);
    }
    RealPlugin(const RealPlugin&) = delete;
    RealPlugin& operator=(const RealPlugin&) = delete;
    bool Registered() const { return registered_; }

private:
    HRESULT Call(const char* entry) const {
        typedef HRESULT(STDAPICALLTYPE * Entry)();
        auto function = module_ ? reinterpret_cast<Entry>(reinterpret_cast<void*>(GetProcAddress(module_, entry))) : nullptr;
        return function ? function() : E_NOINTERFACE;
    }
    HMODULE module_;
    bool registered_ = false;
};

CLSID ClassOf(IBaseFilter* filter) {
    CLSID clsid = GUID_NULL;
    if (filter)
        filter->GetClassID(&clsid);
    return clsid;
}

class RealPluginTest : public EffectsTest {};

TEST_F(RealPluginTest, TheRealRotateAndFlipPlugInsAreSplicedAndTakeTheirValues) {
    RealPlugin rotate(L"QelFilter_Rotate");
    RealPlugin flip(L"QelFilter_Flip");
    ASSERT_TRUE(rotate.Registered() && flip.Registered()) << "the rotate and flip plug-ins are built beside the tests";
    Preview(kCamera);
    engine->SetRotateEnable(1, 90, kQelRotateZoom, RGB(1, 2, 3));
    engine->SetFlipEnable(1, 1);

    EXPECT_TRUE(IsEqualCLSID(CLSID_QelFilter_Rotate, ClassOf(engine->m_pPreRotateFilter)));
    EXPECT_TRUE(IsEqualCLSID(CLSID_QelFilter_Flip, ClassOf(engine->m_pPreFlipFilter)));
    const std::vector<std::wstring> expected = {L"Q&LFilter - Flip", L"Q&LFilter - Rotate", L"Q&LFilter - Digital Zoom"};
    EXPECT_EQ(expected, ChainInFrontOf(L"SampleGrabber"));
    EXPECT_THAT(standins.Log(CLSID_QelFilter_Rotate, true), IsEmpty()) << "the stand-in is not involved";

    IQelRotateParams* rotateParams = nullptr;
    ASSERT_EQ(S_OK, engine->m_pPreRotateFilter->QueryInterface(IID_IQelRotateParams,
                                                                reinterpret_cast<void**>(&rotateParams)));
    int angle = 0, method = -1, enabled = 0;
    COLORREF color = 0;
    rotateParams->GetAngle(&angle);
    rotateParams->GetMethod(&method);
    rotateParams->GetBackColor(&color);
    rotateParams->GetEnable(&enabled);
    rotateParams->Release();
    EXPECT_EQ(90, angle);
    EXPECT_EQ(kQelRotateZoom, method);
    EXPECT_EQ(RGB(1, 2, 3), color);
    EXPECT_EQ(1, enabled);

    IQelFlipParams* flipParams = nullptr;
    ASSERT_EQ(S_OK, engine->m_pPreFlipFilter->QueryInterface(IID_IQelFilterParams, reinterpret_cast<void**>(&flipParams)));
    int mirror = 0, upsideDown = 0;
    flipParams->GetValue2(&mirror);
    flipParams->GetValue(&upsideDown);
    EXPECT_EQ(1, mirror);
    EXPECT_EQ(0, upsideDown);
    engine->SetFlipEnable(0, 1);
    flipParams->GetEnable(&enabled);
    flipParams->GetValue2(&mirror);
    flipParams->Release();
    EXPECT_EQ(0, enabled) << "switched off through its enable switch";
    EXPECT_EQ(1, mirror) << "the value itself is never sent back to 0";

    qeltest::PumpMessagesFor(300);   // frames go through the turned and mirrored chain
    EXPECT_TRUE(Running());
    EXPECT_THAT(boxes.Texts(), IsEmpty());
}

TEST_F(RealPluginTest, TheRealSpecialEffectPlugInShowsTheSelectedEffect) {
    RealPlugin special(L"QelFilter_SpEff");
    if (!special.Registered())
        GTEST_SKIP() << "the special-effect plug-in is not built in this tree";
    Preview(kCamera);
    engine->SetMosaicEnable(1, 8);
    EXPECT_TRUE(IsEqualCLSID(CLSID_QelFilter_SpecialEffect, ClassOf(engine->m_pPreEffect[CLiveCapture::EFFECT_SPECIAL])));
    IQelSpecialEffectParams* params = nullptr;
    ASSERT_EQ(S_OK, engine->m_pPreEffect[CLiveCapture::EFFECT_SPECIAL]->QueryInterface(
                        IID_IQelFilterParams, reinterpret_cast<void**>(&params)));
    int effect = -1;
    params->GetEffect(&effect);
    EXPECT_EQ(6, effect);
    engine->SetSwirlEnable(1, 0);
    params->GetEffect(&effect);
    EXPECT_EQ(7, effect);
    params->Release();
    qeltest::PumpMessagesFor(200);
    EXPECT_TRUE(Running());
    EXPECT_THAT(boxes.Texts(), IsEmpty());
}

TEST_F(RealPluginTest, EveryBuiltPlugInJoinsTheRunningPreview) {
    std::vector<std::unique_ptr<RealPlugin>> plugins;
    std::vector<std::wstring> missing;
    for (const QelPluginIdentity& identity : kQelPlugins) {
        plugins.push_back(std::make_unique<RealPlugin>(identity.module));
        if (!plugins.back()->Registered())
            missing.push_back(identity.module);
    }
    if (!missing.empty())
        GTEST_SKIP() << "not every plug-in is built in this tree";
    Preview(kCamera);
    engine->SetEnhanceEnable(1, 50);
    engine->SetToneEnable(1, 50);
    engine->SetLowLightEnable(1, 50);
    engine->SetWhiteBoardEnable(1, 50);
    engine->SetCBEnable(1, 10, 10);
    engine->SetDigitalZoomEnable(1, 1);
    engine->SetDateTimeEnable(1, 4);
    engine->SetSepiaEnable(1, 50);
    engine->SetRotateEnable(1, 180, 0, 0);
    engine->SetFlipEnable(1, 1);
    EXPECT_EQ((std::vector<std::wstring>{L"Q&LFilter - Flip", L"Q&LFilter - Rotate", L"Q&LFilter - Digital Zoom",
                                         L"Q&LFilter - Auto Enhance", L"Q&LFilter - Auto Tone",
                                         L"Q&LFilter - Low Light", L"Q&LFilter - Whiteboard",
                                         L"Q&LFilter - Contrast Brightness", L"Q&LFilter - Date & Time",
                                         L"Q&LFilter - Special Effect"}),
              ChainInFrontOf(L"SampleGrabber"));
    qeltest::PumpMessagesFor(300);
    EXPECT_TRUE(Running());
    EXPECT_THAT(boxes.Texts(), IsEmpty());
}

} // namespace
} // namespace enginetest
