// The playback enhancement chain on a rendered clip: where each plug-in lands, what the graph looks
// like afterwards, the switch and level calls the plug-ins receive, and the failure paths.
#include <Vostrel.h>

#include <gmock/gmock.h>

#include "QelPluginIds.h"
#include "playback_fixture.h"

using qel::ComPtr;
using testing::ElementsAre;

namespace playbacktest {
namespace {

class VideoMavixTest : public PlaybackTest {};

TEST_F(VideoMavixTest, FirstSwitchOnSplicesDisabledAtThePositionSecondEnables) {
    const ComPtr<IGraphBuilder> graph = RenderClip();
    ASSERT_TRUE(graph);
    const std::vector<std::wstring> before = ChainBeforeRenderer(graph.Get());
    ASSERT_FALSE(before.empty());
    CVideoMavix chain;
    ASSERT_EQ(S_OK, chain.SetMainGraph(graph.Get()));
    EXPECT_TRUE(boxes.Texts().empty()) << "every plug-in was created";
    ASSERT_TRUE(SUCCEEDED(Run(graph.Get())));
    ASSERT_TRUE(SUCCEEDED(SeekTo(graph.Get(), kSecond * 3 / 2)));
    ASSERT_EQ(State_Running, State(graph.Get()));
    standins.ClearLog();

    EXPECT_EQ(1, chain.ApplyAutoEnhance(1));
    EXPECT_EQ(State_Running, State(graph.Get())) << "running again after the splice";
    const LONGLONG position = Position(graph.Get());
    EXPECT_GE(position, kSecond * 3 / 2 - kSecond / 10) << "the position was kept";
    EXPECT_LT(position, kSecond * 5 / 2);
    std::vector<std::wstring> expected = before;
    expected.push_back(L"Q&LAutoEnhance");
    EXPECT_EQ(expected, ChainBeforeRenderer(graph.Get()));
    EXPECT_THAT(Calls(CLSID_QelFilter_AutoEnhance), ElementsAre("#1 Enable(0)")) << "inserted switched off";

    standins.ClearLog();
    EXPECT_EQ(1, chain.ApplyAutoEnhance(1));
    EXPECT_THAT(Calls(CLSID_QelFilter_AutoEnhance), ElementsAre("#1 Enable(1)"));
    EXPECT_EQ(expected, ChainBeforeRenderer(graph.Get())) << "a second switch-on leaves the graph alone";
    standins.ClearLog();
    EXPECT_EQ(1, chain.ApplyAutoEnhance(0));
    EXPECT_THAT(Calls(CLSID_QelFilter_AutoEnhance), ElementsAre("#1 Enable(0)"));
}

TEST_F(VideoMavixTest, TheWholeChainRunsWhiteboardToneEnhanceBeforeTheRenderer) {
    const ComPtr<IGraphBuilder> graph = RenderClip();
    ASSERT_TRUE(graph);
    CVideoMavix chain;
    ASSERT_EQ(S_OK, chain.SetMainGraph(graph.Get()));
    ASSERT_TRUE(SUCCEEDED(Pause(graph.Get())));
    // Wine has no colour space converter: that step is skipped and the picture runs on without it.
    chain.ApplyColorSpace();
    EXPECT_EQ(1, chain.ApplyWhiteBoard(1));
    EXPECT_EQ(1, chain.ApplyAutoTone(1));
    EXPECT_EQ(1, chain.ApplyAutoEnhance(1));
    const std::vector<std::wstring> after = ChainBeforeRenderer(graph.Get());
    ASSERT_GE(after.size(), 3u);
    EXPECT_THAT(std::vector<std::wstring>(after.end() - 3, after.end()),
                ElementsAre(L"Q&LWhiteBoard", L"Q&LAutoTone", L"Q&LAutoEnhance"));
    EXPECT_EQ(State_Stopped, State(graph.Get())) << "a paused graph stays stopped";

    chain.CleanUp();
    for (const std::wstring& name : FilterNames(graph.Get()))
        EXPECT_EQ(std::wstring::npos, name.find(L"Q&L")) << "clean-up takes the plug-ins out";
}

TEST_F(VideoMavixTest, LevelsKeepOnlyValuesWithinRangeAndSendTheKeptOne) {
    const ComPtr<IGraphBuilder> graph = RenderClip();
    ASSERT_TRUE(graph);
    CVideoMavix chain;
    ASSERT_EQ(S_OK, chain.SetMainGraph(graph.Get()));
    standins.ClearLog();
    EXPECT_EQ(50, chain.AutoToneLevel(150, 1));
    EXPECT_EQ(0, chain.AutoToneLevel(0, 1));
    EXPECT_EQ(0, chain.AutoToneLevel(80, 0)) << "set 0 only reads";
    EXPECT_EQ(100, chain.WhiteBoardLevel(100, 1));
    EXPECT_EQ(50, chain.AutoEnhanceLevel(-1, 1));
    EXPECT_THAT(Calls(CLSID_QelFilter_AutoTone), ElementsAre("#1 SetStrength(50)", "#1 SetStrength(0)"));
    EXPECT_THAT(Calls(CLSID_QelFilter_Whiteboard), ElementsAre("#1 SetStrength(100)"));
    EXPECT_THAT(Calls(CLSID_QelFilter_AutoEnhance), ElementsAre("#1 SetStrength(50)"));

    // A switch-off before any switch-on disables the created plug-in without touching the graph.
    standins.ClearLog();
    const size_t filters = FilterNames(graph.Get()).size();
    EXPECT_EQ(1, chain.ApplyAutoTone(0));
    EXPECT_THAT(Calls(CLSID_QelFilter_AutoTone), ElementsAre("#1 Enable(0)"));
    EXPECT_EQ(filters, FilterNames(graph.Get()).size());

    chain.CleanUp();
    EXPECT_EQ(50, chain.AutoToneLevel(0, 0)) << "clean-up returns the levels to 50";
}

TEST_F(VideoMavixTest, AFailedSpliceReportsZeroAndPutsTheRunningGraphBack) {
    const ComPtr<IGraphBuilder> graph = RenderClip();
    ASSERT_TRUE(graph);
    const std::vector<std::wstring> before = ChainBeforeRenderer(graph.Get());
    const size_t filters = FilterNames(graph.Get()).size();
    ASSERT_EQ(S_OK, standins.SetMode(CLSID_QelFilter_AutoTone, standin::kRefuseInput));
    CVideoMavix chain;
    ASSERT_EQ(S_OK, chain.SetMainGraph(graph.Get()));
    ASSERT_TRUE(SUCCEEDED(Run(graph.Get())));
    ASSERT_TRUE(SUCCEEDED(SeekTo(graph.Get(), kSecond)));

    EXPECT_EQ(0, chain.ApplyAutoTone(1));
    EXPECT_EQ(before, ChainBeforeRenderer(graph.Get())) << "the renderer is fed as before";
    EXPECT_EQ(filters, FilterNames(graph.Get()).size()) << "the plug-in is out of the graph";
    EXPECT_EQ(State_Running, State(graph.Get()));
    EXPECT_GE(Position(graph.Get()), kSecond - kSecond / 10);
    // The insertion is not tried again: a later switch-on only enables the plug-in.
    standins.ClearLog();
    EXPECT_EQ(1, chain.ApplyAutoTone(1));
    EXPECT_THAT(Calls(CLSID_QelFilter_AutoTone), ElementsAre("#1 Enable(1)"));
    EXPECT_EQ(filters, FilterNames(graph.Get()).size());
}

TEST_F(VideoMavixTest, WithoutARendererNothingIsAdded) {
    ComPtr<IGraphBuilder> graph;
    ASSERT_EQ(S_OK, CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&graph)));
    CVideoMavix chain;
    ASSERT_EQ(S_OK, chain.SetMainGraph(graph.Get()));
    EXPECT_EQ(0, chain.ApplyWhiteBoard(1));
    EXPECT_TRUE(FilterNames(graph.Get()).empty());
    EXPECT_EQ(E_POINTER, chain.SetMainGraph(nullptr));
}

TEST_F(VideoMavixTest, MissingPlugInsShowOneBoxAndLaterCallsSkip) {
    for (const CLSID* clsid : {&CLSID_QelFilter_AutoEnhance, &CLSID_QelFilter_AutoTone, &CLSID_QelFilter_Whiteboard})
        ASSERT_EQ(S_OK, standins.Unregister(*clsid));
    const ComPtr<IGraphBuilder> graph = RenderClip();
    ASSERT_TRUE(graph);
    const size_t filters = FilterNames(graph.Get()).size();
    CVideoMavix chain;
    EXPECT_EQ(S_OK, chain.SetMainGraph(graph.Get())) << "the graph was taken all the same";
    EXPECT_THAT(boxes.Texts(), ElementsAre("You do not have VideoMavix Installed.\nPlease contact Q&L regarding this"));
    EXPECT_EQ(0, chain.ApplyAutoEnhance(1));
    EXPECT_EQ(1, chain.ApplyAutoTone(0));
    EXPECT_EQ(70, chain.WhiteBoardLevel(70, 1)) << "nothing to send it to, but the level is kept";
    EXPECT_EQ(70, chain.WhiteBoardLevel(0, 0));
    EXPECT_EQ(1u, boxes.Texts().size());
    EXPECT_EQ(filters, FilterNames(graph.Get()).size());
}

} // namespace
} // namespace playbacktest
