// Arming snapshots and the sink window's handling of taken frames, in a graph that holds only the
// sample grabber: frames are handed to the grabber callback by the test.
#include <windows.h>
#include <qedit.h>

#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine_probe.h"
#include "host_window.h"
#include "picture_reader.h"
#include "qeltest/com_test.h"
#include "qeltest/temp_dir.h"

namespace enginetest {
namespace {

class SnapshotArmingTest : public qeltest::ComTest {
protected:
    void SetUp() override {
        qeltest::ComTest::SetUp();
        engine.InitLiveCapture(host.Instance(), host.Handle(), host.Handle(), 0);
        ASSERT_NE(nullptr, engine.GetClassNotifyHWND());
        ASSERT_EQ(S_OK, CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                         reinterpret_cast<void**>(&engine.m_pGraph)));
        ASSERT_EQ(S_OK, engine.BuilderSampleGrabber());
        // The format a 4 x 2 RGB24 connection records.
        engine.m_bihGrabber = {};
        engine.m_bihGrabber.biSize = sizeof(BITMAPINFOHEADER);
        engine.m_bihGrabber.biWidth = 4;
        engine.m_bihGrabber.biHeight = 2;
        engine.m_bihGrabber.biPlanes = 1;
        engine.m_bihGrabber.biBitCount = 24;
        engine.m_bihGrabber.biSizeImage = 24;
    }

    // The grabber hands over a frame, and the sink window gets the snapshot message it posted.
    void DeliverFrame(const std::vector<BYTE>& frame) {
        engine.GrabberCallback()->BufferCB(0, const_cast<BYTE*>(frame.data()),
                                           static_cast<long>(frame.size()));
        MSG message;
        while (PeekMessageA(&message, engine.GetClassNotifyHWND(), WM_LIVECAP_SNAPSHOT, WM_LIVECAP_SNAPSHOT,
                            PM_REMOVE))
            DispatchMessageA(&message);
    }
    LRESULT Sink(UINT message, WPARAM wParam, LPARAM lParam) {
        return SendMessageA(engine.GetClassNotifyHWND(), message, wParam, lParam);
    }
    LPARAM Self() { return reinterpret_cast<LPARAM>(static_cast<CLiveCapture*>(&engine)); }
    std::wstring Wide(const std::string& s) { return std::wstring(s.begin(), s.end()); }

    static std::vector<BYTE> Frame(size_t length, BYTE seed) {
        std::vector<BYTE> frame(length);
        for (size_t i = 0; i < length; ++i)
            frame[i] = static_cast<BYTE>(seed + i * 3);
        return frame;
    }

    HostWindow host;
    EngineProbe engine;
    qeltest::TempDir dir;
};

TEST_F(SnapshotArmingTest, NamesThatCannotBeSavedAreRefusedAndNothingIsArmed) {
    EXPECT_FALSE(engine.OneSnapshot(static_cast<const WCHAR*>(nullptr)));
    EXPECT_FALSE(engine.OneSnapshot(L"bmp"));
    EXPECT_FALSE(engine.OneSnapshot(L""));
    EXPECT_FALSE(engine.OneSnapshot(std::wstring(300, L'x').append(L".bmp").c_str()));
    // Fits as itself, but its temporary BMP name would not.
    const std::wstring longJpg = Wide(dir.File(std::string(258 - dir.Path().size() - 5, 'j') + ".jpg"));
    ASSERT_EQ(258u, longJpg.size());
    EXPECT_FALSE(engine.OneSnapshot(longJpg.c_str()));
    if (GetACP() != CP_UTF8) {
        // A character the ANSI code page lacks would name another file.
        EXPECT_FALSE(engine.OneSnapshot(Wide(dir.File("shot")).append(L"\x4E2D\x6587.bmp").c_str()));
    }
    EXPECT_FALSE(engine.m_bSnapPending);
    EXPECT_EQ('\0', engine.m_szSnapFile[0]);
    // With no name given yet, the last name cannot be reused.
    EXPECT_FALSE(engine.OneSnapshot());
    EXPECT_FALSE(engine.m_bSnapPending);
}

TEST_F(SnapshotArmingTest, ASecondFileSnapshotBeforeTheFrameIsRefusedAndKeepsTheFirstName) {
    const std::string first = dir.File("first.bmp");
    EXPECT_TRUE(engine.OneSnapshot(Wide(first).c_str()));
    EXPECT_TRUE(engine.m_bSnapPending);
    EXPECT_FALSE(engine.OneSnapshot(Wide(dir.File("second.bmp")).c_str()));
    EXPECT_FALSE(engine.OneSnapshot());
    EXPECT_EQ(first, engine.m_szSnapFile);

    DeliverFrame(Frame(24, 1));
    EXPECT_EQ(54 + 24, FileSize(first));
    EXPECT_EQ(-1, FileSize(dir.File("second.bmp")));
    ASSERT_EQ(1u, host.Notifications().size());
    EXPECT_EQ(WM_LIVECAP_SNAPSHOT, host.Notifications()[0].message);
    EXPECT_EQ(0u, host.Notifications()[0].wParam);
    EXPECT_EQ(1, host.Notifications()[0].lParam);

    // The last name again.
    ASSERT_TRUE(DeleteFileA(first.c_str()));
    EXPECT_TRUE(engine.OneSnapshot());
    DeliverFrame(Frame(24, 2));
    EXPECT_EQ(54 + 24, FileSize(first));
    EXPECT_EQ(2u, host.Notifications().size());
}

TEST_F(SnapshotArmingTest, WithoutAGrabberFileSnapshotsWaitAndMayBeArmedAgain) {
    engine.TearDownGraph();
    ASSERT_FALSE(engine.m_bGrabberReady);
    std::vector<BYTE> hostBuffer(16);
    EXPECT_FALSE(engine.OneSnapshot(hostBuffer.data(), 16));
    EXPECT_TRUE(engine.OneSnapshot(Wide(dir.File("one.bmp")).c_str()));
    EXPECT_TRUE(engine.OneSnapshot(Wide(dir.File("two.png")).c_str()));
    EXPECT_TRUE(engine.OneSnapshot());
    EXPECT_TRUE(engine.m_bSnapPending);
    EXPECT_EQ(dir.File("two.png"), engine.m_szSnapFile);
    // A memory snapshot still waits for the pending file snapshot.
    EXPECT_FALSE(engine.OneSnapshot(hostBuffer.data(), 16));
}

TEST_F(SnapshotArmingTest, MemorySnapshotsNeedABufferAndNoPendingSnapshot) {
    std::vector<BYTE> hostBuffer(16);
    EXPECT_FALSE(engine.OneSnapshot(nullptr, 16));
    EXPECT_TRUE(engine.OneSnapshot(hostBuffer.data(), 16));
    std::vector<BYTE> other(16);
    EXPECT_FALSE(engine.OneSnapshot(other.data(), 16));
    EXPECT_FALSE(engine.OneSnapshot(Wide(dir.File("x.bmp")).c_str()));
    EXPECT_EQ(hostBuffer.data(), engine.m_pSnapBuffer);

    const std::vector<BYTE> frame = Frame(24, 5);
    DeliverFrame(frame);
    EXPECT_EQ(0, std::memcmp(frame.data(), hostBuffer.data(), 16));
    ASSERT_EQ(1u, host.Notifications().size());
    EXPECT_EQ(1u, host.Notifications()[0].wParam);
    EXPECT_EQ(24, host.Notifications()[0].lParam);
    EXPECT_EQ(std::vector<BYTE>(16, 0), other);
}

TEST_F(SnapshotArmingTest, AFileSnapshotDropsAWaitingHostBufferWithoutTouchingIt) {
    std::vector<BYTE> hostBuffer(8, 0xAA);
    ASSERT_TRUE(engine.OneSnapshot(hostBuffer.data(), 8));
    // The grabber leaves the graph before the frame came; the memory snapshot is still pending.
    engine.TearDownGraph();
    const std::string path = dir.File("instead.bmp");
    ASSERT_TRUE(engine.OneSnapshot(Wide(path).c_str()));
    EXPECT_EQ(nullptr, engine.m_pSnapBuffer);
    EXPECT_FALSE(engine.m_bSnapCallerBuffer);

    ASSERT_EQ(S_OK, engine.BuilderSampleGrabber());
    DeliverFrame(Frame(24, 9));
    EXPECT_EQ(std::vector<BYTE>(8, 0xAA), hostBuffer);
    EXPECT_EQ(54 + 24, FileSize(path));
}

TEST_F(SnapshotArmingTest, TheEnginesBufferFollowsALargerLaterFrame) {
    const std::string small = dir.File("small.bmp"), large = dir.File("large.bmp");
    ASSERT_TRUE(engine.OneSnapshot(Wide(small).c_str()));
    DeliverFrame(Frame(24, 1));
    ASSERT_TRUE(engine.OneSnapshot(Wide(large).c_str()));
    const std::vector<BYTE> bigger = Frame(64 * 1024, 7);
    DeliverFrame(bigger);
    EXPECT_EQ(64u * 1024, engine.m_nSnapLength);
    const std::vector<uint8_t> file = [&] {
        std::vector<uint8_t> bytes(static_cast<size_t>(FileSize(large)));
        HANDLE h =
            CreateFileA(large.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        DWORD read = 0;
        ReadFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
        CloseHandle(h);
        return bytes;
    }();
    ASSERT_EQ(54 + bigger.size(), file.size());
    EXPECT_EQ(0, std::memcmp(bigger.data(), file.data() + 54, bigger.size()));
    EXPECT_EQ(54 + 24, FileSize(small));
}

TEST_F(SnapshotArmingTest, TheSinkWindowForwardsEveryHandledSnapshotAndNothingElse) {
    // No engine object, or no frame: nothing reaches the host.
    EXPECT_EQ(1, Sink(WM_LIVECAP_SNAPSHOT, 0, 0));
    EXPECT_EQ(1, Sink(WM_LIVECAP_SNAPSHOT, 0, Self()));
    EXPECT_TRUE(host.Notifications().empty());

    // A file that cannot be written is still reported as handled, and as not written, with why.
    ASSERT_TRUE(engine.OneSnapshot(Wide(dir.File("missing\\shot.jpg")).c_str()));
    DeliverFrame(Frame(24, 3));
    ASSERT_EQ(1u, host.Notifications().size());
    EXPECT_EQ(LIVECAP_SNAPSHOT_NOT_WRITTEN, host.Notifications()[0].lParam);
    EXPECT_EQ(static_cast<DWORD>(ERROR_PATH_NOT_FOUND), engine.GetSnapshotError());
    EXPECT_TRUE(FilesIn(dir.Path()).empty());

    // A memory snapshot that took the buffer's place before the file message was handled: the host's
    // buffer is not written to the file.
    ASSERT_TRUE(engine.OneSnapshot(Wide(dir.File("late.bmp")).c_str()));
    engine.GrabberCallback()->BufferCB(0, Frame(24, 4).data(), 24);
    std::vector<BYTE> hostBuffer(24);
    ASSERT_TRUE(engine.OneSnapshot(hostBuffer.data(), 24));
    MSG message;
    while (PeekMessageA(&message, engine.GetClassNotifyHWND(), WM_LIVECAP_SNAPSHOT, WM_LIVECAP_SNAPSHOT,
                        PM_REMOVE))
        DispatchMessageA(&message);
    EXPECT_EQ(-1, FileSize(dir.File("late.bmp")));
    EXPECT_EQ(1u, host.Notifications().size());
}

TEST_F(SnapshotArmingTest, LimitsReachTheHostAlsoWithoutACapture) {
    EXPECT_EQ(1, Sink(WM_LIVECAP_FILELIMIT, 0, 0));
    EXPECT_EQ(1, Sink(WM_LIVECAP_LOWDISK, 0, 0));
    EXPECT_EQ(1, Sink(WM_LIVECAP_GRAPHNOTIFY, 0, 0));
    EXPECT_TRUE(host.Notifications().empty());

    EXPECT_EQ(1, Sink(WM_LIVECAP_FILELIMIT, 0, Self()));
    EXPECT_EQ(1, Sink(WM_LIVECAP_LOWDISK, 100 * 1048576, Self()));
    ASSERT_EQ(2u, host.Notifications().size());
    EXPECT_EQ(WM_LIVECAP_FILELIMIT, host.Notifications()[0].message);
    EXPECT_EQ(0u, host.Notifications()[0].wParam);
    EXPECT_EQ(1, host.Notifications()[0].lParam);
    EXPECT_EQ(WM_LIVECAP_LOWDISK, host.Notifications()[1].message);
    EXPECT_EQ(0u, host.Notifications()[1].wParam);
    EXPECT_EQ(1, host.Notifications()[1].lParam);
}

TEST_F(SnapshotArmingTest, GraphEventsThatAreNotTheEnginesAreDropped) {
    // The graph without a camera: a lost device cannot be the camera, a stopped stream is no capture's.
    ASSERT_EQ(S_OK, engine.m_pGraph->QueryInterface(IID_IMediaEventEx,
                                                    reinterpret_cast<void**>(&engine.m_pMediaEvent)));
    IMediaEventSink* sink = nullptr;
    ASSERT_EQ(S_OK, engine.m_pGraph->QueryInterface(IID_IMediaEventSink, reinterpret_cast<void**>(&sink)));
    sink->Notify(EC_DEVICE_LOST, reinterpret_cast<LONG_PTR>(static_cast<IUnknown*>(engine.m_pGrabberFilter)),
                 0);
    sink->Notify(EC_STREAM_CONTROL_STOPPED, 0, 0);
    sink->Notify(EC_ERRORABORT, E_FAIL, 0);
    sink->Release();
    long message = 0, wParam = 7, lParam = 7;
    ASSERT_TRUE(engine.HandleDirectShowNotify(&message, &wParam, &lParam));
    EXPECT_EQ(WM_LIVECAP_ERRORABORT, message);
    EXPECT_EQ(0, wParam);
    EXPECT_EQ(0, lParam);
    EXPECT_FALSE(engine.HandleDirectShowNotify(&message, &wParam, &lParam));
    EXPECT_TRUE(engine.m_bWantPreview); // no capture was running
}

} // namespace
} // namespace enginetest
