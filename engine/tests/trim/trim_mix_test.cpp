// The two mix overlays on a playing graph of a generated clip, with the stand-in plug-in registered as
// the low-light plug-in and as the text overlay.
#include <algorithm>
#include <string>

#include <gtest/gtest.h>

#include "OutsideFilters.h"
#include "QelPluginIds.h"
#include "Vostrel.h"
#include "qeltest/com_test.h"
#include "qeltest/message_box_hook.h"
#include "standin_control.h"
#include "trim_clip_graph.h"

namespace {

using trimtest::ClipGraph;

bool Has(const std::vector<std::wstring>& names, const std::wstring& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

bool Has(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

class TrimMixTest : public qeltest::ComTest {
protected:
    void SetUp() override {
        qeltest::ComTest::SetUp();
        ASSERT_TRUE(standins_.Loaded()) << "the stand-in plug-in " << standin::kModuleFile << " cannot be loaded";
        ASSERT_EQ(S_OK, standins_.Register(CLSID_QelFilter_LowLight));
        ASSERT_EQ(S_OK, standins_.Register(CLSID_TarnTextMix));
        standins_.ClearLog();
        clip_ = trimtest::WriteClip(dir_, "clip.avi");
        ASSERT_FALSE(clip_.empty());
    }

    qel::ComPtr<IBaseFilter> Create(REFCLSID clsid) {
        qel::ComPtr<IBaseFilter> filter;
        EXPECT_EQ(S_OK, CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                         reinterpret_cast<void**>(filter.GetAddressOf())));
        return filter;
    }

    // The call as the stand-in logs it for the instance of clsid this test created last: the instance
    // numbers go on across the tests of a process.
    std::string OfLastInstance(REFCLSID clsid, const std::string& call) const {
        const std::string created = " Created";
        std::string number = "#?";
        for (const std::string& line : standins_.Log(clsid, true))
            if (line.size() > created.size() &&
                line.compare(line.size() - created.size(), created.size(), created) == 0)
                number = line.substr(0, line.find(' '));
        return number + " " + call;
    }

    standin::StandinModule standins_;
    qeltest::TempDir dir_;
    std::wstring clip_;
};

TEST_F(TrimMixTest, LowLightIsSplicedInFrontOfTheRendererOfARunningGraph) {
    ClipGraph graph(clip_);
    ASSERT_TRUE(graph.Ok());
    ASSERT_TRUE(SUCCEEDED(graph.Run()));
    const std::wstring upstream = graph.NameUpstreamOf(L"Video Renderer");
    ASSERT_FALSE(upstream.empty()) << "the clip's graph has no \"Video Renderer\" fed by a filter";
    qel::ComPtr<IBaseFilter> plugin = Create(CLSID_QelFilter_LowLight);
    ASSERT_TRUE(plugin);
    qeltest::ScopedMessageBoxHook boxes;
    EXPECT_EQ(1, CVideoTrim::ApplyMavixMix(plugin.Get(), graph.Graph(), TRUE, TRUE));
    EXPECT_TRUE(boxes.Texts().empty());
    EXPECT_EQ(L"Q&LLowLight", graph.NameUpstreamOf(L"Video Renderer"));
    EXPECT_EQ(upstream, graph.NameUpstreamOf(L"Q&LLowLight"));
    EXPECT_EQ(State_Running, graph.State());
    EXPECT_TRUE(Has(standins_.Log(CLSID_QelFilter_LowLight), OfLastInstance(CLSID_QelFilter_LowLight, "Enable(1)")));
}

TEST_F(TrimMixTest, AFailedSplicePutsTheGraphBackAndTellsTheUser) {
    ClipGraph graph(clip_);
    ASSERT_TRUE(graph.Ok());
    ASSERT_TRUE(SUCCEEDED(graph.Run()));
    const std::wstring upstream = graph.NameUpstreamOf(L"Video Renderer");
    ASSERT_FALSE(upstream.empty());
    ASSERT_EQ(S_OK, standins_.SetMode(CLSID_QelFilter_LowLight, standin::kRefuseInput));
    qel::ComPtr<IBaseFilter> plugin = Create(CLSID_QelFilter_LowLight);
    ASSERT_TRUE(plugin);
    qeltest::ScopedMessageBoxHook boxes;
    EXPECT_EQ(0, CVideoTrim::ApplyMavixMix(plugin.Get(), graph.Graph(), TRUE, TRUE));
    ASSERT_EQ(1u, boxes.Texts().size());
    EXPECT_EQ("Failed to Connect to the input pin of MavixMix", boxes.Texts()[0]);
    EXPECT_FALSE(Has(graph.FilterNames(), L"Q&LLowLight"));
    EXPECT_EQ(upstream, graph.NameUpstreamOf(L"Video Renderer"));
    EXPECT_EQ(State_Running, graph.State());
    // Enable is only sent to a plug-in that stays in the graph.
    EXPECT_FALSE(Has(standins_.Log(CLSID_QelFilter_LowLight), OfLastInstance(CLSID_QelFilter_LowLight, "Enable(1)")));
}

TEST_F(TrimMixTest, TextOverlaySwitchedOffOrWithoutGraphDoesNothing) {
    ClipGraph graph(clip_);
    ASSERT_TRUE(graph.Ok());
    ASSERT_TRUE(SUCCEEDED(graph.Run()));
    qel::ComPtr<IBaseFilter> overlay = Create(CLSID_TarnTextMix);
    ASSERT_TRUE(overlay);
    const size_t filters = graph.FilterNames().size();
    EXPECT_EQ(1, CVideoTrim::ApplyTextMix(overlay.Get(), graph.Graph(), FALSE));
    EXPECT_EQ(filters, graph.FilterNames().size());
    EXPECT_EQ(State_Running, graph.State());
    EXPECT_EQ(0, CVideoTrim::ApplyTextMix(overlay.Get(), nullptr, TRUE));
    EXPECT_EQ(0, CVideoTrim::ApplyTextMix(nullptr, graph.Graph(), TRUE));
    EXPECT_EQ(0, CVideoTrim::ApplyMavixMix(nullptr, graph.Graph(), TRUE, TRUE));
    // Switched on, it goes in front of the renderer like the plug-in.
    qeltest::ScopedMessageBoxHook boxes;
    EXPECT_EQ(1, CVideoTrim::ApplyTextMix(overlay.Get(), graph.Graph(), TRUE));
    EXPECT_EQ(L"TarnTextMix", graph.NameUpstreamOf(L"Video Renderer"));
}

TEST_F(TrimMixTest, InputPinLookupMatchesPartOfTheNameFirstFilterWins) {
    qel::ComPtr<IGraphBuilder> graph;
    ASSERT_EQ(S_OK, CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                     reinterpret_cast<void**>(graph.GetAddressOf())));
    EXPECT_EQ(nullptr, CVideoTrim::FindInputPin(graph.Get(), "Video Renderer"));
    qel::ComPtr<IBaseFilter> first = Create(CLSID_QelFilter_LowLight);
    qel::ComPtr<IBaseFilter> second = Create(CLSID_TarnTextMix);
    ASSERT_TRUE(first && second);
    ASSERT_EQ(S_OK, graph->AddFilter(first.Get(), L"Video Renderer 0001"));
    ASSERT_EQ(S_OK, graph->AddFilter(second.Get(), L"Video Renderer 0002"));
    const std::wstring firstListed = trimtest::ClipGraph::FilterNameOfFirst(graph.Get());
    IPin* pin = CVideoTrim::FindInputPin(graph.Get(), "Video Renderer");
    ASSERT_NE(nullptr, pin);
    PIN_INFO info = {};
    ASSERT_EQ(S_OK, pin->QueryPinInfo(&info));
    EXPECT_EQ(PINDIR_INPUT, info.dir);
    EXPECT_EQ(firstListed, trimtest::FilterName(info.pFilter));
    info.pFilter->Release();
    pin->Release();
    EXPECT_EQ(nullptr, CVideoTrim::FindInputPin(graph.Get(), "video renderer"));
    EXPECT_EQ(nullptr, CVideoTrim::FindInputPin(nullptr, "Video Renderer"));
}

TEST_F(TrimMixTest, ClipMixSettingsGoToTheFiltersInWholeSeconds) {
    CVideoTrim editor;
    CTrimSource source;
    qeltest::ScopedMessageBoxHook boxes;
    // Not asked for by the clip: nothing is created.
    EXPECT_EQ(1, editor.SetMavixMixInfo(&source, 0, 10, 0, 10));
    EXPECT_EQ(1, editor.SetTextMixInfo(&source, 0, 10, 0, 10));
    EXPECT_EQ(0, standins_.LiveInstances(CLSID_QelFilter_LowLight));
    EXPECT_EQ(0, standins_.LiveInstances(CLSID_TarnTextMix));

    source.EnableMavixMix(TRUE);
    source.MavixMixInfo().m_nLevel = 70;
    EXPECT_EQ(1, editor.SetMavixMixInfo(&source, 19999999, 0, 5000000, 15000001));
    EXPECT_EQ(19999999, source.MavixMixInfo().m_llStart);
    EXPECT_EQ(30000000, source.MavixMixInfo().m_llEnd);
    const std::vector<std::string> log = standins_.Log(CLSID_QelFilter_LowLight);
    EXPECT_TRUE(Has(log, OfLastInstance(CLSID_QelFilter_LowLight, "SetStrength(70)")));
    EXPECT_TRUE(Has(log, OfLastInstance(CLSID_QelFilter_LowLight, "AddRange(1,3)")));
    EXPECT_EQ(1, standins_.LiveInstances(CLSID_QelFilter_LowLight));

    source.EnableTextMix(TRUE);
    EXPECT_EQ(1, editor.SetTextMixInfo(&source, 20000000, 0, 0, 10000000));
    EXPECT_EQ(20000000, source.TextMixInfo().m_llStart);
    EXPECT_EQ(30000000, source.TextMixInfo().m_llEnd);
    EXPECT_EQ("Tahoma", std::string(source.TextMixInfo().m_Font.lfFaceName));
    EXPECT_TRUE(boxes.Texts().empty());
}

TEST_F(TrimMixTest, AMixFilterThatCannotBeCreatedIsReportedAndReturned) {
    ASSERT_EQ(S_OK, standins_.Unregister(CLSID_QelFilter_LowLight));
    ASSERT_EQ(S_OK, standins_.Unregister(CLSID_TarnTextMix));
    CVideoTrim editor;
    CTrimSource source;
    source.EnableMavixMix(TRUE);
    source.EnableTextMix(TRUE);
    qeltest::ScopedMessageBoxHook boxes;
    EXPECT_TRUE(FAILED(editor.SetMavixMixInfo(&source, 0, 10, 0, 10)));
    EXPECT_TRUE(FAILED(editor.SetTextMixInfo(&source, 0, 10, 0, 10)));
    const std::vector<std::string> texts = boxes.Texts();
    ASSERT_EQ(2u, texts.size());
    EXPECT_EQ("Failed to create MavixMix Filter", texts[0]);
    EXPECT_EQ("Failed to create TextMix Filter", texts[1]);
    // A never-filled editor survives taking out filters it never made.
    editor.RemoveFilter();
}

} // namespace
