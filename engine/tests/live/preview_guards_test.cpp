// The preview's guards without a camera, the picture window's placement, and the pin lookup.
#include <qedit.h>

#include <gtest/gtest.h>

#include "engine_probe.h"
#include "host_window.h"
#include "qeltest/com_test.h"

EXTERN_C const CLSID CLSID_SampleGrabber;

namespace enginetest {
namespace {

class PreviewGuardsTest : public qeltest::ComTest {};

TEST_F(PreviewGuardsTest, WithoutACameraNothingIsBuiltOrRun) {
    HostWindow host;
    EngineProbe engine;
    engine.InitLiveCapture(host.Instance(), host.Handle(), host.Handle(), 0);
    EXPECT_FALSE(engine.BuildPreviewGraph());
    EXPECT_FALSE(engine.StartPreview());
    EXPECT_FALSE(engine.StopPreview());
    EXPECT_NE(S_OK, engine.InitCapFilters()); // no camera chosen: nothing to add to a graph
    EXPECT_EQ(nullptr, engine.m_pGraph);      // and what it made is given back
    engine.TearDownGraph();
    EXPECT_EQ(LIVE_CLEAN, engine.GetClassState());
}

TEST_F(PreviewGuardsTest, ShowRectMovesThePictureWindowWhileNothingRuns) {
    HostWindow host;
    EngineProbe engine;
    engine.InitLiveCapture(host.Instance(), host.Handle(), host.Handle(), 0);
    EXPECT_EQ(0, engine.SetShowRect(10, 20, 200, 100));
    EXPECT_EQ(10, engine.m_rcShow.left);
    EXPECT_EQ(120, engine.m_rcShow.bottom);
    RECT placed;
    GetWindowRect(engine.GetClassNotifyHWND(), &placed);
    MapWindowPoints(nullptr, host.Handle(), reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_EQ(10, placed.left);
    EXPECT_EQ(20, placed.top);
    EXPECT_EQ(210, placed.right);
    EXPECT_EQ(120, placed.bottom);
}

TEST_F(PreviewGuardsTest, ShowPreviewBeforeAPreviewOnlyKeepsTheFlag) {
    EngineProbe engine;
    EXPECT_EQ(1, engine.ShowPreview(0));
    EXPECT_FALSE(engine.m_bShowPreview);
    EXPECT_EQ(1, engine.ShowPreview(1));
    EXPECT_TRUE(engine.m_bShowPreview);
}

TEST_F(PreviewGuardsTest, VmrSwitchIsKeptForTheNextBuild) {
    EngineProbe engine;
    engine.EnableVMR(TRUE);
    EXPECT_TRUE(engine.m_bUseVMR);
    engine.EnableVMR(FALSE);
    EXPECT_FALSE(engine.m_bUseVMR);
}

TEST_F(PreviewGuardsTest, GetPinCountsPinsOfOneDirection) {
    CLiveCapture engine;
    IBaseFilter* grabber = nullptr;
    ASSERT_EQ(S_OK, CoCreateInstance(CLSID_SampleGrabber, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                     reinterpret_cast<void**>(&grabber)));
    IPin* pin = reinterpret_cast<IPin*>(1);
    EXPECT_EQ(E_FAIL, engine.GetPin(grabber, PINDIR_INPUT, 1, &pin));
    EXPECT_EQ(nullptr, pin);
    ASSERT_EQ(S_OK, engine.GetPin(grabber, PINDIR_INPUT, 0, &pin));
    PIN_DIRECTION direction;
    pin->QueryDirection(&direction);
    EXPECT_EQ(PINDIR_INPUT, direction);
    pin->Release();

    IPin* out = engine.GetOutPin(grabber, 0);
    ASSERT_NE(nullptr, out);
    out->QueryDirection(&direction);
    EXPECT_EQ(PINDIR_OUTPUT, direction);
    out->Release();
    EXPECT_EQ(nullptr, engine.GetInPin(grabber, 1));
    EXPECT_EQ(nullptr, engine.GetOutPin(nullptr, 0));
    grabber->Release();
}

} // namespace
} // namespace enginetest
