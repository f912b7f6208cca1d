// The preview's sample grabber set-up and its buffer callback, in a graph without a camera.
#include <qedit.h>

#include <cstring>
#include <vector>

#include <gtest/gtest.h>

#include "engine_probe.h"
#include "host_window.h"
#include "qeltest/com_test.h"
#include "qeltest/pump.h"

namespace enginetest {
namespace {

class GrabberCallbackTest : public qeltest::ComTest {
protected:
    void SetUp() override {
        qeltest::ComTest::SetUp();
        engine.InitLiveCapture(host.Instance(), host.Handle(), host.Handle(), 0);
        ASSERT_EQ(S_OK, CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                         reinterpret_cast<void**>(&engine.m_pGraph)));
        ASSERT_EQ(S_OK, engine.BuilderSampleGrabber());
        ASSERT_TRUE(engine.m_bGrabberReady);
        ASSERT_NE(nullptr, engine.GrabberCallback());
    }
    int GrabbersInGraph() {
        int count = 0;
        IEnumFilters* filters = nullptr;
        engine.m_pGraph->EnumFilters(&filters);
        IBaseFilter* filter = nullptr;
        while (filters->Next(1, &filter, nullptr) == S_OK) {
            FILTER_INFO info = {};
            filter->QueryFilterInfo(&info);
            if (wcscmp(info.achName, L"SampleGrabber") == 0)
                ++count;
            if (info.pGraph)
                info.pGraph->Release();
            filter->Release();
        }
        filters->Release();
        return count;
    }
    HostWindow host;
    EngineProbe engine;
};

TEST_F(GrabberCallbackTest, OneGrabberNamedSampleGrabberStaysInTheGraph) {
    EXPECT_EQ(1, GrabbersInGraph());
    ASSERT_EQ(S_OK, engine.BuilderSampleGrabber());
    EXPECT_EQ(1, GrabbersInGraph());
    ISampleGrabberCB* callback = engine.GrabberCallback();
    void* asCallback = nullptr;
    EXPECT_EQ(S_OK, callback->QueryInterface(IID_ISampleGrabberCB, &asCallback));
    EXPECT_EQ(callback, asCallback);
    void* other = reinterpret_cast<void*>(1);
    EXPECT_EQ(E_NOINTERFACE, callback->QueryInterface(IID_IBaseFilter, &other));
    EXPECT_EQ(nullptr, other);
    EXPECT_EQ(0, callback->SampleCB(0, nullptr));
}

TEST_F(GrabberCallbackTest, FramesPassUntouchedUntilASnapshotIsArmed) {
    BYTE frame[16] = {1, 2, 3};
    EXPECT_EQ(0, engine.GrabberCallback()->BufferCB(0, frame, sizeof frame));
    EXPECT_EQ(nullptr, engine.m_pSnapBuffer);
}

TEST_F(GrabberCallbackTest, AMemorySnapshotCopiesAtMostTheFrameAndReportsItsLength) {
    std::vector<BYTE> hostBuffer(64, 0xEE);
    engine.m_pSnapBuffer = hostBuffer.data();
    engine.m_nSnapLength = static_cast<UINT>(hostBuffer.size());
    engine.m_bSnapCallerBuffer = TRUE;
    engine.m_bSnapPending = TRUE;
    BYTE frame[24];
    for (int i = 0; i < 24; ++i)
        frame[i] = static_cast<BYTE>(i);
    EXPECT_EQ(0, engine.GrabberCallback()->BufferCB(0, frame, sizeof frame));
    EXPECT_FALSE(engine.m_bSnapPending);
    EXPECT_EQ(24u, engine.m_nSnapLength);
    EXPECT_EQ(nullptr, engine.m_pSnapBuffer); // the buffer stays the host's
    EXPECT_EQ(0, std::memcmp(frame, hostBuffer.data(), 24));
    EXPECT_EQ(0xEE, hostBuffer[24]);

    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, engine.GetClassNotifyHWND(), WM_LIVECAP_SNAPSHOT, WM_LIVECAP_SNAPSHOT,
                             PM_REMOVE));
    EXPECT_EQ(1u, message.wParam);
    EXPECT_EQ(reinterpret_cast<LPARAM>(static_cast<CLiveCapture*>(&engine)), message.lParam);
}

TEST_F(GrabberCallbackTest, AFileSnapshotKeepsTheFrameInTheEnginesBuffer) {
    engine.m_bSnapCallerBuffer = FALSE;
    engine.m_bSnapPending = TRUE;
    BYTE frame[12] = {9, 8, 7, 6, 5, 4, 3, 2, 1, 0, 1, 2};
    EXPECT_EQ(0, engine.GrabberCallback()->BufferCB(0, frame, sizeof frame));
    ASSERT_NE(nullptr, engine.m_pSnapBuffer);
    EXPECT_EQ(12u, engine.m_nSnapLength);
    EXPECT_EQ(0, std::memcmp(frame, engine.m_pSnapBuffer, 12));
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, engine.GetClassNotifyHWND(), WM_LIVECAP_SNAPSHOT, WM_LIVECAP_SNAPSHOT,
                             PM_REMOVE));
    EXPECT_EQ(0u, message.wParam);
}

TEST_F(GrabberCallbackTest, AMemorySnapshotWhoseBufferIsGoneEndsWithoutAMessage) {
    engine.m_bSnapCallerBuffer = TRUE;
    engine.m_pSnapBuffer = nullptr;
    engine.m_bSnapPending = TRUE;
    BYTE frame[4] = {};
    EXPECT_EQ(1, engine.GrabberCallback()->BufferCB(0, frame, sizeof frame));
    EXPECT_FALSE(engine.m_bSnapPending);
    MSG message;
    EXPECT_FALSE(PeekMessageA(&message, engine.GetClassNotifyHWND(), WM_LIVECAP_SNAPSHOT, WM_LIVECAP_SNAPSHOT,
                              PM_REMOVE));
}

TEST_F(GrabberCallbackTest, TearDownGivesTheGrabberBackAndClearsTheReadyFlag) {
    engine.TearDownGraph();
    EXPECT_FALSE(engine.m_bGrabberReady);
    EXPECT_EQ(nullptr, engine.m_pGrabberFilter);
    BITMAPINFOHEADER header;
    EXPECT_FALSE(engine.GetSnapshotHeader(&header));
}

} // namespace
} // namespace enginetest
