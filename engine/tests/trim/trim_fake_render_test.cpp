// Preview and render of a one-clip timeline through the fake render engine, whose graph plays a
// generated clip: the window, pause, the ends, the file written, the mixes and the free-space watch.
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "GraphBuilderVolume.h"
#include "OutsideFilters.h"
#include "QelPluginIds.h"
#include "Vostrel.h"
#include "fakes/fake_editing.h"
#include "qeltest/com_test.h"
#include "qeltest/message_box_hook.h"
#include "qeltest/pump.h"
#include "standin_control.h"
#include "trim_clip_graph.h"

namespace {

constexpr UINT kGraphNotify = 0x1500;
constexpr UINT kPreviewDone = 0x1501;
constexpr UINT kProcessDone = 0x1502;
constexpr UINT kLowDisk = 0x1503;
constexpr unsigned kClipEndWaitMs = 20000;
constexpr UINT kMarginMegabytes = 32;

// The owner: a window that counts the low-disk messages the watch sends and the graph's event
// notices, which carry the editor's address.
class Owner {
public:
    Owner() {
        WNDCLASSA type = {};
        type.lpfnWndProc = &Owner::Proc;
        type.hInstance = GetModuleHandleA(nullptr);
        type.lpszClassName = "TrimFakeOwner";
        RegisterClassA(&type);
        hwnd_ = CreateWindowA("TrimFakeOwner", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 160, nullptr,
                              nullptr, type.hInstance, nullptr);
        s_lowDisk = 0;
        s_graphNotices = 0;
    }
    ~Owner() { DestroyWindow(hwnd_); }
    HWND Get() const { return hwnd_; }
    static LONG LowDiskMessages() { return s_lowDisk; }
    static LONG GraphNotices() { return s_graphNotices; }

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == kLowDisk)
            InterlockedIncrement(&s_lowDisk);
        if (message == kGraphNotify)
            InterlockedIncrement(&s_graphNotices);
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
    static LONG s_lowDisk;
    static LONG s_graphNotices;
    HWND hwnd_ = nullptr;
};
LONG Owner::s_lowDisk = 0;
LONG Owner::s_graphNotices = 0;

// The references an object holds, read without changing them.
ULONG References(IUnknown* object) {
    object->AddRef();
    return object->Release();
}

bool HasChildWindow(HWND parent) { return FindWindowExA(parent, nullptr, nullptr, nullptr) != nullptr; }

class TrimFakeRenderTest : public qeltest::ComTest {
protected:
    void SetUp() override {
        qeltest::ComTest::SetUp();
        clip_ = trimtest::WriteClip(dir_, "clip.avi");
        ASSERT_FALSE(clip_.empty());
        trimfake::FakeOptions options;
        options.clip = clip_;
        options.volumeProbe = volumeProbe_;
        fakes_ = std::make_unique<trimfake::ScopedFakeEditing>(options);
        editor_ = std::make_unique<CVideoTrim>();
        ASSERT_EQ(S_OK, editor_->Initial(owner_.Get(), FALSE));
        ASSERT_EQ(S_OK, editor_->InitialTrack(&track_, &MEDIATYPE_Video, 0, nullptr));
        ASSERT_EQ(S_OK, editor_->InitialVideoSource(&source_, &track_, &trans_, 0, 1));
        ASSERT_EQ(S_OK, editor_->SetSrcFile(&source_, &clip_[0], FALSE, 30000000, 64, 48));
        ASSERT_EQ(S_OK, editor_->SetDuration(&source_, 0, 30000000, 0, 30000000));
    }
    void TearDown() override {
        if (editor_) {
            editor_->ReleaseObj(&source_);
            editor_->ReleaseObj(&trans_);
            editor_->ReleaseObj(&track_);
        }
        editor_.reset();
        fakes_.reset();
        qeltest::ComTest::TearDown();
    }
    // Waits for the graph's ending event through the owner's callback.
    bool WaitForEnd(UINT* message, LONG* lParam) {
        return qeltest::PumpUntil([&] { return editor_->GraphEventCallback(*message, *lParam) != FALSE; },
                                  kClipEndWaitMs);
    }
    std::vector<std::wstring> GraphFilters() {
        qel::ComPtr<IGraphBuilder> graph = qel::TakeOver(fakes_->LastGraph());
        std::vector<std::wstring> names;
        qel::ComPtr<IEnumFilters> walk;
        if (!graph || FAILED(graph->EnumFilters(&walk)))
            return names;
        qel::ComPtr<IBaseFilter> filter;
        while (walk->Next(1, filter.ReleaseAndGetAddressOf(), nullptr) == S_OK)
            names.push_back(trimtest::FilterName(filter.Get()));
        return names;
    }

    // The name of the filter feeding the graph's video renderer, "" when nothing feeds it.
    static std::wstring RendererFeed(IGraphBuilder* graph) {
        qel::ComPtr<IEnumFilters> walk;
        qel::ComPtr<IBaseFilter> filter;
        if (!graph || FAILED(graph->EnumFilters(&walk)))
            return L"";
        while (walk->Next(1, filter.ReleaseAndGetAddressOf(), nullptr) == S_OK) {
            if (trimtest::FilterName(filter.Get()).find(L"Video Renderer") == std::wstring::npos)
                continue;
            qel::ComPtr<IEnumPins> pins;
            qel::ComPtr<IPin> pin, peer;
            PIN_INFO info = {};
            if (FAILED(filter->EnumPins(&pins)) || pins->Next(1, &pin, nullptr) != S_OK ||
                FAILED(pin->ConnectedTo(&peer)) || FAILED(peer->QueryPinInfo(&info)))
                return L"";
            const qel::ComPtr<IBaseFilter> upstream = qel::TakeOver(info.pFilter);
            return trimtest::FilterName(upstream.Get());
        }
        return L"";
    }

    bool volumeProbe_ = false;
    qeltest::TempDir dir_;
    std::wstring clip_;
    Owner owner_;
    std::unique_ptr<trimfake::ScopedFakeEditing> fakes_;
    std::unique_ptr<CVideoTrim> editor_;
    CTrimTrack track_;
    CTrimSource source_;
    CTrimTrans trans_;
};

TEST_F(TrimFakeRenderTest, PreviewPlaysInTheOwnersWindowPausesAndEnds) {
    // The result is the graph's audio query, which the graph manager answers itself.
    EXPECT_EQ(S_OK, editor_->StartPreview(owner_.Get(), 0, 0, 64, 48, TRUE, nullptr));
    EXPECT_EQ(TrimStatePreviewing, editor_->GetTrimState());
    EXPECT_TRUE(HasChildWindow(owner_.Get()));
    EXPECT_TRUE(editor_->PauseNContinuous());
    EXPECT_EQ(TrimStatePaused, editor_->GetTrimState());
    EXPECT_TRUE(editor_->PauseNContinuous());
    EXPECT_EQ(TrimStatePreviewing, editor_->GetTrimState());
    LONGLONG total = 0;
    EXPECT_TRUE(editor_->GetTotalDuration(&total));
    EXPECT_EQ(30000000, total);
    EXPECT_FALSE(editor_->SetPreviewPosition(total + 1));
    UINT message = 0;
    LONG lParam = 0;
    ASSERT_TRUE(WaitForEnd(&message, &lParam));
    EXPECT_EQ(kPreviewDone, message);
    EXPECT_EQ(-1, lParam);
    EXPECT_EQ(TrimStateReady, editor_->GetTrimState());
    // Stopped and kept: the preview resumes on the same graph.
    EXPECT_EQ(S_OK, editor_->StartPreview(owner_.Get(), 0, 0, 64, 48, FALSE, nullptr));
    EXPECT_EQ(TrimStatePreviewing, editor_->GetTrimState());
    EXPECT_EQ(S_OK, editor_->StopPreview());
    EXPECT_EQ(S_FALSE, editor_->StopPreview());
}

TEST_F(TrimFakeRenderTest, RenderWritesTheClipsFramesAndReportsCompletion) {
    const std::string path = dir_.File("out.avi");
    std::wstring out(path.begin(), path.end());
    ASSERT_EQ(S_OK, editor_->StartProcess2(&out[0], 0, TRUE, 0));
    EXPECT_EQ(TrimStateRendering, editor_->GetTrimState());
    UINT message = 0;
    LONG lParam = 0;
    ASSERT_TRUE(WaitForEnd(&message, &lParam));
    EXPECT_EQ(kProcessDone, message);
    EXPECT_EQ(-1, lParam);
    EXPECT_EQ(TrimStateReady, editor_->GetTrimState());
    // The fakes hold the render's graph last: with them gone the file is closed.
    fakes_.reset();
    _TrimMediaInfo info = {};
    CVideoTrim::GetMediaInfo(&out[0], &info);   // nonzero: the clip has no sound
    EXPECT_EQ(30, info.llFrames);
    EXPECT_EQ(64, info.nWidth);
}

TEST_F(TrimFakeRenderTest, ARenderEndedByAnErrorReportsZero) {
    const std::string path = dir_.File("out.avi");
    std::wstring out(path.begin(), path.end());
    ASSERT_EQ(S_OK, editor_->StartProcess2(&out[0], 0, TRUE, 0));
    qel::ComPtr<IGraphBuilder> graph = qel::TakeOver(fakes_->LastGraph());
    qel::ComPtr<IMediaEventSink> sink;
    ASSERT_TRUE(graph && SUCCEEDED(graph.As(&sink)));
    ASSERT_EQ(S_OK, sink->Notify(EC_ERRORABORT, E_FAIL, 0));
    UINT message = 0;
    LONG lParam = 5;
    ASSERT_TRUE(WaitForEnd(&message, &lParam));
    EXPECT_EQ(kProcessDone, message);
    EXPECT_EQ(0, lParam);
    EXPECT_EQ(TrimStateReady, editor_->GetTrimState());
}

TEST_F(TrimFakeRenderTest, AnErrorSeenByTheNotifyProcedureEndsTheRenderAndItsWatch) {
    const std::string path = dir_.File("out.avi");
    std::wstring out(path.begin(), path.end());
    ASSERT_TRUE(editor_->SetMinFreeSpace(&out[0], 1, 10));
    ASSERT_EQ(S_OK, editor_->StartProcess2(&out[0], 0, TRUE, 0));
    qel::ComPtr<IGraphBuilder> graph = qel::TakeOver(fakes_->LastGraph());
    qel::ComPtr<IMediaEventSink> sink;
    ASSERT_TRUE(graph && SUCCEEDED(graph.As(&sink)));
    ASSERT_EQ(S_OK, sink->Notify(EC_ERRORABORT, E_FAIL, 0));
    graph.Reset();
    sink.Reset();
    // The graph is torn down without a message to the owner; the editor is ready again.
    EXPECT_TRUE(qeltest::PumpUntil(
        [&] {
            CVideoTrim::s_TrimInterWindowProc(owner_.Get(), 0x1500, 0, reinterpret_cast<LPARAM>(editor_.get()));
            return editor_->GetTrimState() == TrimStateReady;
        },
        kClipEndWaitMs));
    EXPECT_EQ(S_FALSE, editor_->StopProcess());
    // A new render starts cleanly after it.
    ASSERT_EQ(S_OK, editor_->StartProcess2(&out[0], 0, TRUE, 0));
    EXPECT_EQ(S_OK, editor_->StopProcess());
}

TEST_F(TrimFakeRenderTest, StoppingThePreviewStopsItsGraph) {
    ASSERT_TRUE(SUCCEEDED(editor_->StartPreview(owner_.Get(), 0, 0, 64, 48, TRUE, nullptr)));
    EXPECT_EQ(S_OK, editor_->StopPreview());
    qel::ComPtr<IGraphBuilder> graph = qel::TakeOver(fakes_->LastGraph());
    qel::ComPtr<IMediaControl> control;
    ASSERT_TRUE(graph && SUCCEEDED(graph.As(&control)));
    OAFilterState state = State_Running;
    EXPECT_TRUE(SUCCEEDED(control->GetState(1000, &state)));
    EXPECT_EQ(State_Stopped, state);
    EXPECT_EQ(TrimStateReady, editor_->GetTrimState());
}

TEST_F(TrimFakeRenderTest, APreviewResumedAfterItsStopFeedsItsRendererWithTheOverlayBackInFront) {
    standin::StandinModule standins;
    ASSERT_TRUE(standins.Loaded());
    ASSERT_EQ(S_OK, standins.Register(CLSID_TarnTextMix));
    source_.EnableTextMix(TRUE);
    qeltest::ScopedMessageBoxHook boxes;
    EXPECT_EQ(1, editor_->SetTextMixInfo(&source_, 0, 30000000, 0, 30000000));
    ASSERT_TRUE(SUCCEEDED(editor_->StartPreview(owner_.Get(), 0, 0, 64, 48, TRUE, nullptr)));
    qel::ComPtr<IGraphBuilder> graph = qel::TakeOver(fakes_->LastGraph());
    ASSERT_TRUE(graph);
    ASSERT_EQ(L"TarnTextMix", RendererFeed(graph.Get())) << "the overlay in front of the renderer";
    EXPECT_EQ(S_OK, editor_->StopPreview());
    const std::vector<std::wstring> stopped = GraphFilters();
    EXPECT_EQ(stopped.end(), std::find(stopped.begin(), stopped.end(), L"TarnTextMix")) << "the overlay left";
    EXPECT_NE(L"", RendererFeed(graph.Get())) << "the stopped graph's renderer kept a feed";
    EXPECT_EQ(S_OK, editor_->StartPreview(owner_.Get(), 0, 0, 64, 48, FALSE, nullptr));
    EXPECT_EQ(L"TarnTextMix", RendererFeed(graph.Get())) << "the resumed preview shows the overlay again";
    qel::ComPtr<IMediaControl> control;
    ASSERT_TRUE(SUCCEEDED(graph.As(&control)));
    OAFilterState state = State_Stopped;
    control->GetState(1000, &state);
    EXPECT_EQ(State_Running, state);
    EXPECT_TRUE(boxes.Texts().empty());
    EXPECT_EQ(S_OK, editor_->StopPreview());
}

TEST_F(TrimFakeRenderTest, WithBothMixesOnlyTheLowLightPluginIsSpliced) {
    standin::StandinModule standins;
    ASSERT_TRUE(standins.Loaded());
    ASSERT_EQ(S_OK, standins.Register(CLSID_QelFilter_LowLight));
    ASSERT_EQ(S_OK, standins.Register(CLSID_TarnTextMix));
    source_.EnableMavixMix(TRUE);
    source_.EnableTextMix(TRUE);
    qeltest::ScopedMessageBoxHook boxes;
    EXPECT_EQ(1, editor_->SetMavixMixInfo(&source_, 0, 30000000, 0, 30000000));
    EXPECT_EQ(1, editor_->SetTextMixInfo(&source_, 0, 30000000, 0, 30000000));
    const std::string path = dir_.File("mixed.avi");
    std::wstring out(path.begin(), path.end());
    ASSERT_EQ(S_OK, editor_->StartProcess2(&out[0], 0, TRUE, 0));
    const std::vector<std::wstring> names = GraphFilters();
    EXPECT_NE(names.end(), std::find(names.begin(), names.end(), L"Q&LLowLight"));
    EXPECT_EQ(names.end(), std::find(names.begin(), names.end(), L"TarnTextMix"));
    EXPECT_TRUE(boxes.Texts().empty());
    // The render with the plug-in in its path runs to its completion.
    UINT message = 0;
    LONG lParam = 0;
    ASSERT_TRUE(WaitForEnd(&message, &lParam));
    EXPECT_EQ(kProcessDone, message);
    editor_->RemoveFilter();
}

TEST_F(TrimFakeRenderTest, ShortSpaceIsReportedAndTheRenderRunsUntilStopped) {
    const std::string path = dir_.File("out.avi");
    std::wstring out(path.begin(), path.end());
    ASSERT_TRUE(editor_->SetMinFreeSpace(&out[0], 1, 50));
    ASSERT_EQ(S_OK, editor_->StartProcess2(&out[0], 0, TRUE, 0));
    // Refused while rendering: the limit of a running render does not change.
    EXPECT_FALSE(editor_->SetMinFreeSpace(&out[0], 1, 50));
    EXPECT_EQ(TrimStateRendering, editor_->GetTrimState());
    EXPECT_EQ(S_OK, editor_->StopProcess());
    EXPECT_EQ(0, Owner::LowDiskMessages());
    // The limit just under the free space, then a file that takes more than the margin mid-render:
    // the watch reports once and the render goes on until it is stopped.
    ULARGE_INTEGER available = {};
    ASSERT_TRUE(GetDiskFreeSpaceExA((dir_.Path() + "\\").c_str(), &available, nullptr, nullptr));
    const UINT freeMegabytes = static_cast<UINT>(available.QuadPart / 1048576);
    ASSERT_GT(freeMegabytes, 1024u) << "too little free space for this test";
    ASSERT_TRUE(editor_->SetMinFreeSpace(&out[0], freeMegabytes - kMarginMegabytes, 20));
    ASSERT_EQ(S_OK, editor_->StartProcess2(&out[0], 0, TRUE, 0));
    {
        const std::string filler = dir_.File("filler.bin");
        HANDLE file = CreateFileA(filler.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, file);
        std::vector<char> block(1048576, 1);
        DWORD written = 0;
        for (UINT i = 0; i < 3 * kMarginMegabytes; ++i)
            WriteFile(file, block.data(), static_cast<DWORD>(block.size()), &written, nullptr);
        FlushFileBuffers(file);
        CloseHandle(file);
    }
    EXPECT_TRUE(qeltest::PumpUntil([] { return Owner::LowDiskMessages() > 0; }, 5000));
    EXPECT_EQ(1, Owner::LowDiskMessages());
    EXPECT_EQ(TrimStateRendering, editor_->GetTrimState());
    EXPECT_EQ(S_OK, editor_->StopProcess());
    EXPECT_EQ(TrimStateReady, editor_->GetTrimState());
}

// With a filter in the render's graph that records the volume the graph manager hands it.
class TrimVolumeTest : public TrimFakeRenderTest {
protected:
    void SetUp() override {
        volumeProbe_ = true;
        TrimFakeRenderTest::SetUp();
    }
};

// The volume is kept for the graphs made later, a refused one too: it then replaces the one given
// before and is refused again by each graph, which keeps its own volume.
TEST_F(TrimVolumeTest, TheVolumeGivenBeforeAGraphReachesItAndARefusedOneIsKeptInstead) {
    const std::string path = dir_.File("out.avi");
    std::wstring out(path.begin(), path.end());
    EXPECT_TRUE(editor_->SetVolume(40)); // no graph yet: kept for the next one
    ASSERT_EQ(S_OK, editor_->StartProcess2(&out[0], 0, TRUE, 0));
    EXPECT_EQ(S_OK, editor_->StopProcess());
    const std::string given = "A.put_Volume(" + std::to_string(PlayerVolumeForPercent(40)) + ")";
    EXPECT_EQ(std::vector<std::string>{given}, fakes_->CallsWith("put_Volume"));

    fakes_->ClearCalls();
    EXPECT_FALSE(editor_->SetVolume(150));
    ASSERT_EQ(S_OK, editor_->StartProcess2(&out[0], 0, TRUE, 0));
    EXPECT_EQ(S_OK, editor_->StopProcess());
    EXPECT_TRUE(fakes_->CallsWith("put_Volume").empty()) << "the refused 150 is kept, not the 40 before it";
}

TEST_F(TrimFakeRenderTest, DestroyingTheEditorMidRenderLeavesNothingBehind) {
    const std::string path = dir_.File("out.avi");
    std::wstring out(path.begin(), path.end());
    ASSERT_TRUE(editor_->SetMinFreeSpace(&out[0], 1, 10));
    ASSERT_EQ(S_OK, editor_->StartProcess2(&out[0], 0, TRUE, 0));
    qeltest::PumpMessagesFor(100);
    qel::ComPtr<IGraphBuilder> graph = qel::TakeOver(fakes_->LastGraph());
    ASSERT_TRUE(graph);
    editor_->ReleaseObj(&source_);
    editor_->ReleaseObj(&trans_);
    editor_->ReleaseObj(&track_);
    editor_.reset();
    // Notices posted before the editor went are in the queue: let them arrive first.
    qeltest::PumpMessagesFor(100);
    const LONG noticesBefore = Owner::GraphNotices();

    // The graph outlives the editor here (the fakes hold it): an event it raises now must not reach the
    // owner with the dead editor's address.
    qel::ComPtr<IMediaEventSink> sink;
    ASSERT_TRUE(SUCCEEDED(graph.As(&sink)));
    ASSERT_EQ(S_OK, sink->Notify(EC_ERRORABORT, E_FAIL, 0));
    sink.Reset();
    qeltest::PumpMessagesFor(200);
    EXPECT_EQ(noticesBefore, Owner::GraphNotices()) << "the graph still notifies the destroyed editor";
    EXPECT_EQ(0, Owner::LowDiskMessages());

    // With the fakes gone, this test holds the graph's only reference; releasing it closes the file.
    fakes_.reset();
    EXPECT_EQ(1u, References(graph.Get())) << "the editor left references on its graph";
    graph.Reset();
    HANDLE file =
        CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(INVALID_HANDLE_VALUE, file) << "the output file is still open, error " << GetLastError();
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
}

} // namespace
