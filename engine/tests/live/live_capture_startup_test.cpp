// Start-up without a camera: argument checks, the engine's own child window, defaults and destruction.
#include <type_traits>

#include <gtest/gtest.h>

#include "engine_probe.h"
#include "host_window.h"
#include "qeltest/com_test.h"

namespace enginetest {
namespace {

class LiveCaptureStartupTest : public qeltest::ComTest {};

static_assert(!std::is_copy_constructible<CLiveCapture>::value, "one owner per engine object");
static_assert(!std::is_copy_assignable<CLiveCapture>::value, "one owner per engine object");

TEST_F(LiveCaptureStartupTest, AFreshObjectHoldsTheDefaults) {
    EngineProbe engine;
    EXPECT_EQ(LIVE_CLEAN, engine.GetClassState());
    EXPECT_EQ(15, engine.m_nFrameRate);
    EXPECT_EQ(RECORD_ASF_SYSTEM, engine.m_recordFileType);
    EXPECT_EQ(22u, engine.m_nProfileID);
    EXPECT_EQ(100, engine.m_nImageQuality);
    EXPECT_EQ(100, engine.m_nVideoQuality);
    EXPECT_STREQ(L"outavi", engine.m_wszCaptureFile);
    EXPECT_EQ(-1, engine.m_nCurVideoDevice);
    EXPECT_EQ(-1, engine.m_nCurAudioDevice);
    EXPECT_EQ(-1, engine.m_nCurVideoCpr);
    EXPECT_EQ(-1, engine.m_nCurAudioCpr);
    EXPECT_EQ(9, engine.m_nDateTimePadding);
    EXPECT_EQ(0xFFFFFFFFu, engine.m_nFlipCompatibility);
    EXPECT_TRUE(engine.m_bShowPreview);
    EXPECT_EQ(nullptr, engine.GetClassNotifyHWND());
}

TEST_F(LiveCaptureStartupTest, NullInstanceOrVideoWindowIsRefusedWithoutAChildWindow) {
    HostWindow host;
    EngineProbe engine;
    EXPECT_EQ(E_INVALIDARG, engine.InitLiveCapture(nullptr, host.Handle(), host.Handle(), 0));
    EXPECT_EQ(E_INVALIDARG, engine.InitLiveCapture(host.Instance(), nullptr, host.Handle(), 0));
    EXPECT_TRUE(host.StaticChildren().empty());
    EXPECT_EQ(nullptr, engine.GetClassNotifyHWND());
}

TEST_F(LiveCaptureStartupTest, WithoutACameraTheChildWindowIsMadeAndTheResultIs1167) {
    HostWindow host(320, 240);
    EngineProbe engine;
    EXPECT_EQ(static_cast<HRESULT>(1167), engine.InitLiveCapture(host.Instance(), host.Handle(), nullptr, 0));

    // A null notify window: the video window hears the notifications.
    EXPECT_EQ(host.Handle(), engine.m_hNotifyWnd);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(host.Handle(), GWLP_WNDPROC)),
              engine.m_pfnNotifyProc);

    const HWND child = engine.GetClassNotifyHWND();
    ASSERT_NE(nullptr, child);
    EXPECT_EQ(child, engine.m_hPictureWnd);
    EXPECT_EQ(host.Handle(), GetParent(child));
    EXPECT_EQ(static_cast<LONG_PTR>(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS),
              GetWindowLongPtrA(child, GWL_STYLE) & 0xFFFF0000);
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(&CLiveCapture::s_InterWindowProc),
              GetWindowLongPtrA(child, GWLP_WNDPROC));
    ASSERT_EQ(1u, host.StaticChildren().size());

    // The picture sits over the host's whole client area.
    RECT client;
    GetClientRect(child, &client);
    EXPECT_EQ(320, client.right);
    EXPECT_EQ(240, client.bottom);

    // No compressor or audio enumeration follows the failure.
    EXPECT_EQ(0, engine.GetCprNum(DEVICE_VIDEO));
    EXPECT_EQ(0, engine.GetDeviceNum(DEVICE_AUDIO));
}

TEST_F(LiveCaptureStartupTest, NotifyWindowIsKeptApartAndItsProcedureIsNeverReplaced) {
    HostWindow video;
    HostWindow notify;
    const LONG_PTR notifyProcedure = GetWindowLongPtrA(notify.Handle(), GWLP_WNDPROC);
    EngineProbe engine;
    engine.InitLiveCapture(video.Instance(), video.Handle(), notify.Handle(), 0);
    EXPECT_EQ(video.Handle(), engine.m_hVideoWnd);
    EXPECT_EQ(notify.Handle(), engine.m_hNotifyWnd);
    EXPECT_EQ(notifyProcedure, GetWindowLongPtrA(notify.Handle(), GWLP_WNDPROC));
    EXPECT_EQ(video.Handle(), GetParent(engine.GetClassNotifyHWND()));
}

TEST_F(LiveCaptureStartupTest, DestructionDestroysTheChildWindow) {
    HostWindow host;
    HWND child = nullptr;
    {
        CLiveCapture engine;
        engine.InitLiveCapture(host.Instance(), host.Handle(), host.Handle(), 0);
        child = engine.GetClassNotifyHWND();
        ASSERT_TRUE(IsWindow(child));
    }
    EXPECT_FALSE(IsWindow(child));
    EXPECT_TRUE(host.StaticChildren().empty());
}

TEST_F(LiveCaptureStartupTest, ASecondStartUpReplacesTheFirstChildWindow) {
    HostWindow host;
    CLiveCapture engine;
    engine.InitLiveCapture(host.Instance(), host.Handle(), host.Handle(), 0);
    const HWND first = engine.GetClassNotifyHWND();
    engine.InitLiveCapture(host.Instance(), host.Handle(), host.Handle(), 0);
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(1u, host.StaticChildren().size());
}

TEST_F(LiveCaptureStartupTest, InitVideoWithoutAMatchingCameraReturns1AndLeavesTheObjectClean) {
    HostWindow host;
    EngineProbe engine;
    engine.InitLiveCapture(host.Instance(), host.Handle(), host.Handle(), 0);
    EXPECT_EQ(1, engine.InitVideo(L""));
    EXPECT_EQ(1, engine.InitVideo(nullptr));
    engine.InitLiveCapture(host.Instance(), host.Handle(), host.Handle(), 0);
    EXPECT_EQ(1, engine.InitVideo(L"No Such Camera"));
    EXPECT_EQ(LIVE_CLEAN, engine.GetClassState());
    EXPECT_EQ(nullptr, engine.GetClassNotifyHWND());
    EXPECT_TRUE(host.StaticChildren().empty());
}

TEST_F(LiveCaptureStartupTest, ChildWindowProcedureAnswersEngineMessagesWithoutAnObject) {
    HostWindow host;
    CLiveCapture engine;
    engine.InitLiveCapture(host.Instance(), host.Handle(), host.Handle(), 0);
    const HWND child = engine.GetClassNotifyHWND();
    for (UINT message :
         {WM_LIVECAP_SNAPSHOT, WM_LIVECAP_FILELIMIT, WM_LIVECAP_LOWDISK, WM_LIVECAP_GRAPHNOTIFY})
        EXPECT_EQ(1, SendMessageA(child, message, 0, 0)) << std::hex << message;
    EXPECT_TRUE(host.Notifications().empty());
}

} // namespace
} // namespace enginetest
