// The basic player on generated clips: the copy's name, the full calling order with the chain and
// the copy's branch, seeking, rewinding at the end, the video window in its control and the running
// object table entry.
#include <Vostrel.h>

#include <gmock/gmock.h>

#include <algorithm>
#include <string>

#include "QelPluginIds.h"
#include "playback_fixture.h"

using qel::ComPtr;
using testing::ElementsAre;

namespace playbacktest {
namespace {

// The number of running-object-table entries of this process's filter graphs.
int RotEntriesOfThisProcess() {
    ComPtr<IRunningObjectTable> table;
    ComPtr<IEnumMoniker> entries;
    ComPtr<IBindCtx> context;
    if (FAILED(GetRunningObjectTable(0, &table)) || FAILED(table->EnumRunning(&entries)) ||
        FAILED(CreateBindCtx(0, &context)))
        return -1;
    wchar_t pid[16] = {0};
    wsprintfW(pid, L"pid %08x", GetCurrentProcessId());
    int count = 0;
    ComPtr<IMoniker> moniker;
    while (entries->Next(1, moniker.ReleaseAndGetAddressOf(), nullptr) == S_OK) {
        LPOLESTR name = nullptr;
        if (SUCCEEDED(moniker->GetDisplayName(context.Get(), nullptr, &name)) && name) {
            const std::wstring text(name);
            if (text.find(L"FilterGraph") != std::wstring::npos && text.find(pid) != std::wstring::npos)
                ++count;
            CoTaskMemFree(name);
        }
    }
    return count;
}

// An owner window with a child control for the video window, both on a thread of their own that
// pumps messages: the renderer's window thread sends to its owner while the player stops the graph,
// which must not wait on a test thread that pumps nothing.
class Control {
public:
    Control(int width, int height) : width_(width), height_(height) {
        ready_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        thread_ = CreateThread(nullptr, 0, Pump, this, 0, &threadId_);
        WaitForSingleObject(ready_, 10000);
    }
    ~Control() {
        PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
        WaitForSingleObject(thread_, 10000);
        CloseHandle(thread_);
        CloseHandle(ready_);
        window.m_hWnd = nullptr;
    }
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    HWND Owner() const { return owner_; }
    CWnd window;

private:
    static DWORD WINAPI Pump(LPVOID parameter) {
        auto* self = static_cast<Control*>(parameter);
        self->owner_ = CreateWindowExA(0, "Static", "basic player owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20,
                                       320, 240, nullptr, nullptr, nullptr, nullptr);
        self->window.m_hWnd = CreateWindowExA(0, "Static", "", WS_CHILD | WS_VISIBLE, 10, 10, self->width_,
                                              self->height_, self->owner_, nullptr, nullptr, nullptr);
        MSG message;
        PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);  // the queue exists before the quit is posted
        SetEvent(self->ready_);
        while (GetMessageA(&message, nullptr, 0, 0) > 0) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        DestroyWindow(self->owner_);
        return 0;
    }

    int width_, height_;
    HANDLE ready_ = nullptr;
    HANDLE thread_ = nullptr;
    DWORD threadId_ = 0;
    HWND owner_ = nullptr;
};

class BasicPlayerTest : public PlaybackTest {
protected:
    // The calling order a client follows, the plain renderer offered before the file is rendered.
    void Open(CBasicPlayer& player, const std::string& path, Control& control) {
        player.SetMovieName(path.c_str());
        player.SetExtFlag(path.c_str());
        ASSERT_EQ(1, player.PrepareGraph(1));
        ASSERT_EQ(1, player.CreateVideoRender());
        ASSERT_EQ(1, player.RenderMovie());
        ASSERT_EQ(1, player.AssociateVideoWinToControlVMX(control.Owner(), &control.window));
        ASSERT_EQ(1, player.IfHasVideo(0));
        player.InitializeFilters();
        ASSERT_EQ(1, player.RegisterNotificationWindow(control.Owner(), WM_APP + 5));
    }
    IGraphBuilder* GraphOf(CBasicPlayer& player) {
        graph_.Reset();
        if (player.GetEventPointer())
            player.GetEventPointer()->QueryInterface(IID_PPV_ARGS(&graph_));
        return graph_.Get();
    }
private:
    ComPtr<IGraphBuilder> graph_;
};

TEST_F(BasicPlayerTest, TheCopyIsNamedAfterTheSourceForItsPath) {
    CBasicPlayer player;
    player.SetExtFlag("D:\\clips\\walk.avi");
    EXPECT_EQ(std::string("D:\\clips\\walk_Apply.avi"), static_cast<LPCSTR>(player.SetTempMovName("D:\\clips\\walk.avi")));
    player.SetExtFlag("D:\\clips\\walk.wmv");
    EXPECT_EQ(std::string("D:\\clips\\walk_Apply.asf"), static_cast<LPCSTR>(player.SetTempMovName("D:\\clips\\walk.wmv")));
    player.SetExtFlag("D:\\clips\\walk.avi1");
    EXPECT_EQ(std::string("D:\\clips\\walk_Apply.avi1"), static_cast<LPCSTR>(player.SetTempMovName("D:\\clips\\walk.avi1")))
        << ".avi1 counts as AVI";
    EXPECT_TRUE(player.SetTempMovName("").IsEmpty());
    // With "_Apply" this copy's name needs 260 characters, one more than fits.
    const std::string longName = "C:\\" + std::string(247, 'a') + ".avi";
    EXPECT_TRUE(player.SetTempMovName(longName.c_str()).IsEmpty());
    const std::string fits = "C:\\" + std::string(246, 'b') + ".avi";
    EXPECT_FALSE(player.SetTempMovName(fits.c_str()).IsEmpty());
}

TEST_F(BasicPlayerTest, TheFullOrderPlaysThroughTheChainWithoutACopyHere) {
    const std::string path = MakeClip("walk.avi", playertest::ClipSpec(30));
    Control control(128, 96);
    CBasicPlayer player;
    Open(player, path, control);
    IGraphBuilder* graph = GraphOf(player);
    ASSERT_TRUE(graph);
    const std::vector<std::wstring> chain = ChainBeforeRenderer(graph);
    ASSERT_GE(chain.size(), 3u);
    EXPECT_THAT(std::vector<std::wstring>(chain.end() - 3, chain.end()),
                ElementsAre(L"Q&LWhiteBoard", L"Q&LAutoTone", L"Q&LAutoEnhance"));
    // The platform has no infinite pin tee: the copy cannot be linked and its filters left the graph.
    for (const std::wstring& name : FilterNames(graph)) {
        EXPECT_NE(L"AviMux", name);
        EXPECT_NE(L"FileWriter", name);
    }
    EXPECT_EQ(1, player.PlayMovie());
    EXPECT_EQ(State_Running, State(graph));
    EXPECT_EQ(1, player.ApplyVideoMavix(MAVIX_AUTOTONE, 1));
    EXPECT_EQ(1, player.ApplyVideoMavix(static_cast<VIDEOMAVIX>(4), 1));
    EXPECT_EQ(70, player.ApplyIntensityLevel(MAVIX_WHITEBOARD, 70, 1));
    EXPECT_EQ(0, player.ApplyIntensityLevel(static_cast<VIDEOMAVIX>(4), 70, 1));
    EXPECT_THAT(Calls(CLSID_QelFilter_AutoTone), testing::Contains("#1 Enable(1)"));
    EXPECT_THAT(Calls(CLSID_QelFilter_Whiteboard), testing::Contains("#1 SetStrength(70)"));
    EXPECT_EQ(State_Running, State(graph)) << "switching leaves the graph running";
    EXPECT_EQ(1, player.CleanUp());
    EXPECT_EQ(0, player.CleanUp()) << "nothing left";
    EXPECT_TRUE(boxes.Texts().empty());
}

TEST_F(BasicPlayerTest, ACopyThatCannotBeMadeLeavesThePictureFlowingToTheRenderer) {
    // The platform has no infinite pin tee: a pass-through stand-in takes its place, so that the copy's
    // branch is spliced in front of the renderer before the copy's name is found too long.
    ASSERT_EQ(S_OK, standins.Register(CLSID_InfTee));
    // A source of 256 characters: with "_Apply" its copy's name would need 262.
    const std::string file = "walk.avi";
    const size_t length = 256;
    const size_t folderName = length - folder_.Path().size() - 2 - file.size();
    ASSERT_LT(folderName, 250u);
    const std::string folder = std::string(folderName, 'd');
    ASSERT_TRUE(CreateDirectoryA(folder_.File(folder).c_str(), nullptr));
    const std::string path = MakeClip(folder + "\\" + file, playertest::ClipSpec(30));
    ASSERT_EQ(length, path.size());
    Control control(128, 96);
    CBasicPlayer player;
    Open(player, path, control);
    IGraphBuilder* graph = GraphOf(player);
    ASSERT_TRUE(graph);
    const std::vector<std::wstring> chain = ChainBeforeRenderer(graph);
    ASSERT_FALSE(chain.empty()) << "the renderer lost its feed";
    EXPECT_NE(chain.end(), std::find(chain.begin(), chain.end(), L"Q&LAutoEnhance"));
    for (const std::wstring& name : FilterNames(graph)) {
        EXPECT_NE(L"AviMux", name);
        EXPECT_NE(L"FileWriter", name);
    }
    EXPECT_EQ(1, player.PlayMovie());
    EXPECT_EQ(State_Running, State(graph));
    EXPECT_EQ(1, player.CleanUp());
    EXPECT_TRUE(boxes.Texts().empty());
}

TEST_F(BasicPlayerTest, SeekingByThousandthsAndRewindingAtTheEnd) {
    const std::string path = MakeClip("seek.avi", playertest::ClipSpec(30));
    Control control(128, 96);
    CBasicPlayer player;
    Open(player, path, control);
    IGraphBuilder* graph = GraphOf(player);
    ASSERT_TRUE(graph);
    ASSERT_EQ(1, player.PlayMovie());
    EXPECT_EQ(S_OK, player.SeekPosition(500, &TIME_FORMAT_MEDIA_TIME, 1));
    EXPECT_EQ(State_Running, State(graph));
    const LONGLONG position = Position(graph);
    EXPECT_GE(position, kSecond * 3 / 2 - kSecond / 10);
    EXPECT_LT(position, kSecond * 5 / 2);
    const long thousandths = player.CurrentMoviePosition();
    EXPECT_GE(thousandths, 490);
    EXPECT_LT(thousandths, 840);

    EXPECT_EQ(S_OK, player.SeekPosition(1000, &TIME_FORMAT_MEDIA_TIME, 0));
    EXPECT_EQ(State_Paused, State(graph));
    OAFilterState state = -1;
    EXPECT_EQ(1, player.GetState(&state));
    EXPECT_EQ(State_Paused, state);
    ASSERT_EQ(1000, player.CurrentMoviePosition()) << "at the end";
    EXPECT_EQ(1, player.PlayMovie());
    EXPECT_LT(Position(graph), kSecond) << "a play at the end starts from the beginning";
}

TEST(VideoPlacementTest, ASmallerWindowIsCentredAndALargerOneFillsTheControl) {
    const VideoPlacement centred = FitVideoToControl(10, 20, 320, 240, 640, 480);
    EXPECT_EQ(170, centred.left);
    EXPECT_EQ(140, centred.top);
    EXPECT_EQ(320, centred.width);
    EXPECT_EQ(240, centred.height);
    const VideoPlacement filled = FitVideoToControl(10, 20, 640, 480, 320, 240);
    EXPECT_EQ(10, filled.left);
    EXPECT_EQ(20, filled.top);
    EXPECT_EQ(320, filled.width);
    EXPECT_EQ(240, filled.height);
    const VideoPlacement narrow = FitVideoToControl(0, 0, 100, 500, 201, 400);
    EXPECT_EQ(50, narrow.left) << "halves rounded towards zero";
    EXPECT_EQ(-50, narrow.top) << "taller than the control yet narrower: still centred at its own size";
    EXPECT_EQ(100, narrow.width);
}

TEST_F(BasicPlayerTest, TheVideoWindowGoesIntoTheControl) {
    const std::string path = MakeClip("fit.avi", playertest::ClipSpec(10));
    Control control(32, 24);
    CBasicPlayer player;
    Open(player, path, control);
    ComPtr<IVideoWindow> window;
    ASSERT_TRUE(GraphOf(player) && SUCCEEDED(GraphOf(player)->QueryInterface(
                                       IID_IVideoWindow, reinterpret_cast<void**>(window.ReleaseAndGetAddressOf()))));
    OAHWND windowOwner = 0;
    EXPECT_EQ(S_OK, window->get_Owner(&windowOwner));
    EXPECT_EQ(reinterpret_cast<OAHWND>(control.Owner()), windowOwner);
    long visible = OAFALSE;
    EXPECT_EQ(S_OK, window->get_Visible(&visible));
    EXPECT_EQ(OATRUE, visible);
    long left = 0, top = 0, width = 0, height = 0;
    ASSERT_EQ(S_OK, window->GetWindowPosition(&left, &top, &width, &height));
    if (width != 32 || height != 24)
        GTEST_SKIP() << "Wine's video window sizes itself to the picture (" << width << "x" << height
                     << ") instead of keeping the position it was given";
    EXPECT_EQ(32, width);
}

TEST_F(BasicPlayerTest, CleanUpRevokesTheRunningObjectEntry) {
    const std::string path = MakeClip("rot.avi", playertest::ClipSpec(10));
    Control control(128, 96);
    CBasicPlayer player;
    Open(player, path, control);
    const int before = RotEntriesOfThisProcess();
    ASSERT_GE(before, 0);
    ASSERT_EQ(1, player.PlayMovie());
    EXPECT_EQ(before + 1, RotEntriesOfThisProcess());
    EXPECT_EQ(1, player.PlayMovie());
    EXPECT_EQ(before + 1, RotEntriesOfThisProcess()) << "one entry per graph";
    EXPECT_EQ(1, player.CleanUp());
    EXPECT_EQ(before, RotEntriesOfThisProcess());
}

TEST_F(BasicPlayerTest, CallsWithoutAGraphFailCleanly) {
    CBasicPlayer player;
    EXPECT_EQ(0, player.PlayMovie());
    EXPECT_EQ(0, player.PauseMovie());
    EXPECT_EQ(0, player.StopMovie());
    EXPECT_EQ(S_FALSE, player.SeekPosition(500, &TIME_FORMAT_MEDIA_TIME, 1));
    EXPECT_EQ(0, player.CurrentMoviePosition());
    EXPECT_EQ(0, player.GetState(nullptr));
    EXPECT_EQ(0, player.GraphReady());
    EXPECT_EQ(E_NOINTERFACE, player.LinkTwoFilter(nullptr, nullptr, 0, nullptr, 0));
    EXPECT_EQ(0, player.BuildMainGraph()) << "0 is success here";
    EXPECT_EQ(1, player.GraphReady());
    EXPECT_EQ(0, player.LinkInfPinTee()) << "no tee to add";
    EXPECT_EQ(0, player.RelinkAudioFilter(nullptr, nullptr));
    EXPECT_EQ(E_FAIL, player.SetShowWndSize(0, 0, 1, 1, 0, 0, nullptr));
    EXPECT_TRUE(boxes.Texts().empty());
}

} // namespace
} // namespace playbacktest
