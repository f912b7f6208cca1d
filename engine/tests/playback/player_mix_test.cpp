// The file player's mix filters on a played clip: the low-light plug-in and the text overlay spliced
// before the renderer, the calls they receive, and the failure paths.
#include <Vostrel.h>

#include <gmock/gmock.h>

#include <cstdio>

#include "OutsideFilters.h"
#include "QelPluginIds.h"
#include "playback_fixture.h"

using qel::ComPtr;
using testing::ElementsAre;

namespace playbacktest {
namespace {

class PlayerMixTest : public PlaybackTest {
protected:
    // A player that plays a 3-second clip, at 1 s, into the plain renderer.
    void Play() {
        const std::string path = MakeClip("mix.avi", playertest::ClipSpec(30));
        ASSERT_EQ(S_OK, player.Init(owner.Handle(), playertest::Wide(path).c_str(), 0));
        graph = player.GetIGraphBuilder();
        ASSERT_TRUE(graph);
        ASSERT_TRUE(SUCCEEDED(UsePlainRenderer(graph)));
        ASSERT_TRUE(SUCCEEDED(player.Play()));
        ASSERT_TRUE(SUCCEEDED(SeekTo(graph, kSecond)));
        ASSERT_EQ(State_Running, State(graph));
        standins.ClearLog();
    }

    void TearDown() override {
        StopPumping(graph);
        PlaybackTest::TearDown();
    }

    playertest::OwnerWindow owner;
    CGraphBuilder player;
    IGraphBuilder* graph = nullptr;
};

TEST_F(PlayerMixTest, LowLightMixLandsBeforeTheRendererRunningEnabledAtItsStrength) {
    Play();
    const std::vector<std::wstring> before = ChainBeforeRenderer(graph);
    ASSERT_FALSE(before.empty());
    CMavixMixInfo record;
    record.m_nLevel = 50;
    EXPECT_EQ(0, player.AppendMavixMixInfo(&record, 1));
    std::vector<std::wstring> expected = before;
    expected.push_back(L"Q&LLowLight");
    EXPECT_EQ(expected, ChainBeforeRenderer(graph));
    EXPECT_EQ(State_Running, State(graph));
    EXPECT_GE(Position(graph), kSecond - kSecond / 10) << "the position was kept";
    EXPECT_THAT(Calls(CLSID_QelFilter_LowLight), ElementsAre("#1 Enable(0)", "#1 Enable(1)", "#1 SetStrength(50)"));

    standins.ClearLog();
    EXPECT_EQ(1, player.ApplyLowLight()) << "once per graph";
    EXPECT_TRUE(Calls(CLSID_QelFilter_LowLight).empty());
    EXPECT_EQ(50, player.LowLightLevel(1, 150));
    EXPECT_THAT(Calls(CLSID_QelFilter_LowLight), ElementsAre("#1 Enable(1)", "#1 SetStrength(50)"))
        << "an out-of-range level resends the kept one";
    standins.ClearLog();
    EXPECT_EQ(50, player.LowLightLevel(0, 80));
    EXPECT_THAT(Calls(CLSID_QelFilter_LowLight), ElementsAre("#1 Enable(0)"));
    EXPECT_EQ(State_Running, State(graph));
    EXPECT_TRUE(boxes.Texts().empty());
}

TEST_F(PlayerMixTest, ALowLightPlugInRefusingInputLeavesTheGraphPlayingAsBefore) {
    ASSERT_EQ(S_OK, standins.SetMode(CLSID_QelFilter_LowLight, standin::kRefuseInput));
    Play();
    const std::vector<std::wstring> before = ChainBeforeRenderer(graph);
    const size_t filters = FilterNames(graph).size();
    CMavixMixInfo record;
    record.m_nLevel = 30;
    EXPECT_EQ(0, player.AppendMavixMixInfo(&record, 1));
    EXPECT_THAT(boxes.Texts(), ElementsAre("Failed to Connect to the input pin of LowLight"));
    EXPECT_EQ(before, ChainBeforeRenderer(graph));
    EXPECT_EQ(filters, FilterNames(graph).size());
    EXPECT_EQ(State_Running, State(graph));
    EXPECT_EQ(1, player.ApplyLowLight()) << "a failed attempt is not repeated";
    EXPECT_EQ(1u, boxes.Texts().size());
}

TEST_F(PlayerMixTest, LowLightWithoutGraphOrRendererReportsZero) {
    EXPECT_EQ(0, player.ApplyLowLight()) << "no graph yet";
    EXPECT_EQ(0, player.LowLightLevel(1, 40)) << "nothing to send it to";
    EXPECT_TRUE(boxes.Texts().empty());
    EXPECT_EQ(1, player.AppendMavixMixInfo(nullptr, 1));
    ASSERT_EQ(S_OK, standins.Unregister(CLSID_QelFilter_LowLight));
    CMavixMixInfo record;
    record.m_nLevel = 20;
    EXPECT_EQ(1, player.AppendMavixMixInfo(&record, 1));
    EXPECT_THAT(boxes.Texts(), ElementsAre("Failed to create LowLight Filter"));
}

TEST_F(PlayerMixTest, TheTextOverlayIsSplicedWithItsRecordAndNoNullConverter) {
    Play();
    const std::vector<std::wstring> before = ChainBeforeRenderer(graph);
    CTextMixInfo record;
    record.SetDefaultValue();
    const HRESULT hr = player.AppendTextMixInfo(&record);
    // Wine lacks the colour space converter: its creation is reported, and the overlay feeds the
    // renderer directly.
    EXPECT_THAT(boxes.Texts(), ElementsAre("Failed to create Color Space Filter"));
    EXPECT_EQ(0, hr);
    std::vector<std::wstring> expected = before;
    expected.push_back(L"TarnTextMix");
    EXPECT_EQ(expected, ChainBeforeRenderer(graph));
    EXPECT_EQ(State_Running, State(graph));
    const std::vector<std::string> calls = Calls(CLSID_TarnTextMix);
    ASSERT_FALSE(calls.empty());
    EXPECT_NE(std::string::npos, calls.front().find("SetMixInfo")) << calls.front();
    EXPECT_NE(std::string::npos, calls.front().find(",0)")) << "the record goes with FALSE: " << calls.front();
    EXPECT_EQ(0, player.ApplyTextMixFilter()) << "once per graph";
    EXPECT_EQ(expected, ChainBeforeRenderer(graph));
}

TEST_F(PlayerMixTest, OnAPausedGraphTheOverlayLeavesItStoppedAndLowLightPausesItAgain) {
    Play();
    ASSERT_TRUE(SUCCEEDED(Pause(graph)));
    ASSERT_EQ(State_Paused, State(graph));
    CTextMixInfo text;
    text.SetDefaultValue();
    EXPECT_EQ(0, player.AppendTextMixInfo(&text));
    EXPECT_EQ(State_Stopped, State(graph)) << "a paused graph stays stopped after the overlay's splice";
    EXPECT_GE(Position(graph), kSecond - kSecond / 10) << "at the saved position";
    ASSERT_TRUE(SUCCEEDED(Pause(graph)));
    ASSERT_TRUE(player.CreateVideoMavixFilters());
    EXPECT_EQ(1, player.ApplyLowLight()) << testing::PrintToString(boxes.Texts());
    EXPECT_EQ(State_Paused, State(graph));
    const std::vector<std::wstring> chain = ChainBeforeRenderer(graph);
    ASSERT_GE(chain.size(), 2u);
    EXPECT_EQ(L"TarnTextMix", chain[chain.size() - 2]);
    EXPECT_EQ(L"Q&LLowLight", chain.back());
}

// The position the overlay was told by the one SetPosition call logged since the last clear, or -1.
LONGLONG ToldPosition(const std::vector<std::string>& calls) {
    const std::string call = " SetPosition(";
    if (calls.size() != 1 || calls.front().find(call) == std::string::npos)
        return -1;
    long long position = -1;
    int flag = -1;
    if (std::sscanf(calls.front().c_str() + calls.front().find(call) + call.size(), "%lld,%d)", &position,
                    &flag) != 2 ||
        flag != 1)
        return -1;
    return position;
}

TEST_F(PlayerMixTest, TheOverlayIsToldThePositionWheneverThePlayerMovesIt) {
    Play();
    CTextMixInfo record;
    record.SetDefaultValue();
    ASSERT_EQ(0, player.AppendTextMixInfo(&record));
    ASSERT_TRUE(SUCCEEDED(player.Play()));
    standins.ClearLog();
    EXPECT_EQ(S_OK, player.SeekPosition(2 * kSecond, &TIME_FORMAT_MEDIA_TIME, 0));
    EXPECT_EQ(2 * kSecond, ToldPosition(Calls(CLSID_TarnTextMix)))
        << testing::PrintToString(Calls(CLSID_TarnTextMix));
    standins.ClearLog();
    EXPECT_EQ(S_OK, player.SeekPosition(kSecond / 2, &TIME_FORMAT_MEDIA_TIME, 1));
    EXPECT_EQ(kSecond / 2, ToldPosition(Calls(CLSID_TarnTextMix)))
        << testing::PrintToString(Calls(CLSID_TarnTextMix));
    standins.ClearLog();
    ASSERT_TRUE(SUCCEEDED(player.Pause()));
    // Told where the pause landed: the graph's position then.
    const LONGLONG told = ToldPosition(Calls(CLSID_TarnTextMix));
    EXPECT_GE(told, kSecond / 2) << testing::PrintToString(Calls(CLSID_TarnTextMix));
    EXPECT_NEAR(static_cast<double>(Position(graph)), static_cast<double>(told), kSecond / 10.0);
}

TEST_F(PlayerMixTest, WithoutTheOverlayTheRecordIsRefused) {
    ASSERT_EQ(S_OK, standins.Unregister(CLSID_TarnTextMix));
    Play();
    CTextMixInfo record;
    record.SetDefaultValue();
    EXPECT_EQ(1, player.AppendTextMixInfo(&record));
    EXPECT_THAT(boxes.Texts(), ElementsAre("Failed to create TextMix Filter"));
    EXPECT_EQ(1, player.AppendTextMixInfo(nullptr));
}

} // namespace
} // namespace playbacktest
