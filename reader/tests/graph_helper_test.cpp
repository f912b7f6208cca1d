// The graph helper's walks on graphs that Wine builds for generated clips.
#include <windows.h>
#include <dshow.h>

#include <gtest/gtest.h>

#include "GraphHelper.h"
#include "ReaderClsids.h"
#include "reader_fixture.h"
#include "qeldshow/base_filter.h"

namespace {

using readertest::ClipSpec;

// A filter without any pin: the clean-up of unconnected filters must keep it.
class PinlessFilter : public CBaseFilter {
public:
    PinlessFilter() : CBaseFilter("pinless", nullptr, &lock_, GUID_NULL) {}
    int GetPinCount() override { return 0; }
    CBasePin* GetPin(int) override { return nullptr; }

private:
    CCritSec lock_;
};

class GraphHelperTest : public readertest::ReaderTest {
protected:
    // File source, AVI Splitter and one Null Renderer per stream, connected by hand.
    void BuildClipGraph(bool withAudio) {
        const std::wstring path = Wide(MakeClip(withAudio ? "av.avi" : "v.avi", ClipSpec(withAudio)));
        ASSERT_EQ(S_OK, CoCreateInstance(qelclsid::kFilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                         reinterpret_cast<void**>(graph_.GetAddressOf())));
        ASSERT_EQ(S_OK, graph_->AddSourceFilter(path.c_str(), L"source", source_.GetAddressOf()));
        splitter_ = Add(qelclsid::kAviSplitter, L"splitter");
        ASSERT_TRUE(splitter_);
        ASSERT_EQ(S_OK, helper_.ConnectFilters(graph_.Get(), source_.Get(), splitter_.Get()));
        videoSink_ = Add(qelclsid::kNullRenderer, L"video sink");
        ConnectStream(&MEDIATYPE_Video, videoSink_.Get());
        if (withAudio) {
            audioSink_ = Add(qelclsid::kNullRenderer, L"audio sink");
            ConnectStream(&MEDIATYPE_Audio, audioSink_.Get());
        }
    }
    qel::ComPtr<IBaseFilter> Add(REFCLSID clsid, const wchar_t* name) {
        qel::ComPtr<IBaseFilter> filter;
        if (SUCCEEDED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                       reinterpret_cast<void**>(filter.GetAddressOf())))) {
            EXPECT_EQ(S_OK, graph_->AddFilter(filter.Get(), name));
        }
        return filter;
    }
    void ConnectStream(const GUID* major, IBaseFilter* sink) {
        qel::ComPtr<IPin> out = qel::TakeOver(helper_.FindPinByMediaType(splitter_.Get(), PINDIR_OUTPUT, major, nullptr, TRUE));
        qel::ComPtr<IPin> in;
        ASSERT_TRUE(out);
        ASSERT_EQ(S_OK, helper_.GetPin(sink, PINDIR_INPUT, &in));
        ASSERT_EQ(S_OK, graph_->Connect(out.Get(), in.Get()));
    }
    bool InGraph(IBaseFilter* filter) {
        FILTER_INFO info = {};
        if (FAILED(filter->QueryFilterInfo(&info)))
            return false;
        const bool member = info.pGraph != nullptr;
        if (info.pGraph)
            info.pGraph->Release();
        return member;
    }
    static std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }
    void TearDown() override {
        audioSink_.Reset();
        videoSink_.Reset();
        splitter_.Reset();
        source_.Reset();
        graph_.Reset();
        readertest::ReaderTest::TearDown();
    }

    CGraphHelper helper_;
    qel::ComPtr<IGraphBuilder> graph_;
    qel::ComPtr<IBaseFilter> source_, splitter_, videoSink_, audioSink_;
};

TEST_F(GraphHelperTest, FindersWalkTheGraph) {
    BuildClipGraph(true);
    qel::ComPtr<IBaseFilter> source = qel::TakeOver(helper_.FindSourceFilter(graph_.Get()));
    EXPECT_EQ(source_.Get(), source.Get());
    qel::ComPtr<IBaseFilter> splitter = qel::TakeOver(helper_.FindSplitter(graph_.Get()));
    EXPECT_EQ(splitter_.Get(), splitter.Get());
    qel::ComPtr<IBaseFilter> byClass = qel::TakeOver(helper_.FindFilterByClsid(graph_.Get(), qelclsid::kAviSplitter));
    EXPECT_EQ(splitter_.Get(), byClass.Get());
    EXPECT_FALSE(qel::TakeOver(helper_.FindFilterByClsid(graph_.Get(), qelclsid::kDvSplitter)));
    EXPECT_FALSE(qel::TakeOver(helper_.FindVideoRenderer(graph_.Get()))) << "only null renderers here";
    EXPECT_FALSE(qel::TakeOver(helper_.FindStreamFilter(graph_.Get(), TRUE))) << "no decoder for uncompressed frames";
    EXPECT_FALSE(helper_.IsFilterUnconnected(graph_.Get(), splitter_.Get()));
    EXPECT_TRUE(helper_.IsFilterUnconnected(nullptr, splitter_.Get()));
    EXPECT_TRUE(helper_.IsFilterUnconnected(graph_.Get(), nullptr));
    EXPECT_FALSE(qel::TakeOver(helper_.FindSourceFilter(nullptr)));
    // The mixing renderer, the system's default, is a video renderer too: made by its own class id.
    qel::ComPtr<IBaseFilter> mixing = Add(qelclsid::kVideoMixingRenderer, L"Video Mixing Render");
    ASSERT_TRUE(mixing) << "no mixing renderer at its class id";
    EXPECT_EQ(mixing.Get(), qel::TakeOver(helper_.FindVideoRenderer(graph_.Get())).Get());
}

TEST_F(GraphHelperTest, PinLookupsHonourTheirConnectionRules) {
    BuildClipGraph(false);
    qel::ComPtr<IBaseFilter> spareSink = Add(qelclsid::kNullRenderer, L"spare");
    // Connected-only and unconnected-only lookups never cross over.
    EXPECT_FALSE(qel::TakeOver(helper_.FindPinByMajorType(spareSink.Get(), PINDIR_INPUT, nullptr)));
    qel::ComPtr<IPin> connected = qel::TakeOver(helper_.FindPinByMajorType(videoSink_.Get(), PINDIR_INPUT, nullptr));
    EXPECT_TRUE(connected);
    EXPECT_FALSE(qel::TakeOver(helper_.FindPinByMediaType(videoSink_.Get(), PINDIR_INPUT, nullptr, nullptr, TRUE)));
    EXPECT_TRUE(qel::TakeOver(helper_.FindPinByMediaType(videoSink_.Get(), PINDIR_INPUT, nullptr, nullptr, FALSE)));

    // A pin that lists no media types supports whatever is asked.
    qel::ComPtr<IPin> spareInput;
    ASSERT_EQ(S_OK, helper_.GetPin(spareSink.Get(), PINDIR_INPUT, &spareInput));
    qel::ComPtr<IEnumMediaTypes> types;
    AM_MEDIA_TYPE* first = nullptr;
    ASSERT_EQ(S_OK, spareInput->EnumMediaTypes(&types));
    if (types->Next(1, &first, nullptr) == S_OK) {
        CoTaskMemFree(first->pbFormat);
        CoTaskMemFree(first);
        GTEST_SKIP() << "this Wine's null renderer lists media types";
    }
    EXPECT_TRUE(helper_.PinSupportsMediaType(spareInput.Get(), &MEDIATYPE_Audio, &MEDIASUBTYPE_PCM));
    EXPECT_FALSE(helper_.PinSupportsMediaType(nullptr, nullptr, nullptr));
    qel::ComPtr<IPin> none;
    EXPECT_EQ(E_FAIL, helper_.GetPin(spareSink.Get(), PINDIR_OUTPUT, &none));
}

TEST_F(GraphHelperTest, CountingZeroesOnlyTheOutputCount) {
    BuildClipGraph(true);
    int inputs = 5, outputs = 7;
    EXPECT_EQ(S_OK, helper_.CountConnectedPins(splitter_.Get(), &inputs, &outputs));
    EXPECT_EQ(6, inputs) << "the input count accumulates";
    EXPECT_EQ(2, outputs);
    EXPECT_EQ(E_FAIL, helper_.CountConnectedPins(nullptr, &inputs, &outputs));
}

TEST_F(GraphHelperTest, AChainWithoutABranchHasNoSplitterAndNoBranchToRemove) {
    BuildClipGraph(false);
    EXPECT_FALSE(qel::TakeOver(helper_.FindSplitter(graph_.Get())));
    EXPECT_EQ(E_FAIL, helper_.RemoveBranch(graph_.Get(), videoSink_.Get()));
    EXPECT_TRUE(InGraph(videoSink_.Get())) << "nothing was removed";
}

TEST_F(GraphHelperTest, RemovingABranchTakesOnlyThatStream) {
    BuildClipGraph(true);
    EXPECT_EQ(S_OK, helper_.RemoveBranch(graph_.Get(), audioSink_.Get()));
    EXPECT_FALSE(InGraph(audioSink_.Get()));
    EXPECT_TRUE(InGraph(videoSink_.Get()));
    EXPECT_FALSE(qel::TakeOver(helper_.FindSplitter(graph_.Get()))) << "one stream left";
    EXPECT_EQ(S_OK, helper_.RemoveDownstream(graph_.Get(), source_.Get()));
    EXPECT_FALSE(InGraph(splitter_.Get()));
    EXPECT_FALSE(InGraph(videoSink_.Get()));
    EXPECT_TRUE(helper_.IsFilterUnconnected(graph_.Get(), source_.Get()));
}

TEST_F(GraphHelperTest, UnconnectedFiltersGoExceptThoseWithoutPins) {
    BuildClipGraph(false);
    qel::ComPtr<IBaseFilter> spare = Add(qelclsid::kNullRenderer, L"spare");
    PinlessFilter* pinless = new PinlessFilter();
    qel::ComPtr<IBaseFilter> pinlessFilter(static_cast<IBaseFilter*>(pinless));
    ASSERT_EQ(S_OK, graph_->AddFilter(pinlessFilter.Get(), L"pinless"));
    EXPECT_EQ(S_OK, helper_.RemoveUnconnectedFilters(graph_.Get()));
    EXPECT_FALSE(InGraph(spare.Get()));
    EXPECT_TRUE(InGraph(pinlessFilter.Get()));
    EXPECT_TRUE(InGraph(videoSink_.Get()));
    EXPECT_EQ(S_OK, helper_.RemoveUnconnectedFilters(graph_.Get())) << "nothing left to remove";
    graph_->RemoveFilter(pinlessFilter.Get());
}

TEST_F(GraphHelperTest, WindowsMediaIsToldByTheSourceAndByTheNameOnlyWhenRenderingFails) {
    EXPECT_FALSE(helper_.IsAsfFile(MakeClip("clip.wmv.avi", ClipSpec(false)).c_str()))
        << "rendered by the AVI source: the name does not count";
    // Files that cannot be rendered at all: only then does the name decide.
    EXPECT_TRUE(helper_.IsAsfFile(folder_.File("absent.wmv").c_str()));
    EXPECT_TRUE(helper_.IsAsfFile(folder_.File("absent.ASF.old").c_str()));
    EXPECT_FALSE(helper_.IsAsfFile(folder_.File("absent.bin").c_str()));
    EXPECT_FALSE(helper_.IsAsfFile(folder_.File("absent.Wmv").c_str())) << "only two spellings";
}

TEST_F(GraphHelperTest, AsfGraphsNeedAFileAndAGraph) {
    ASSERT_EQ(S_OK, CoCreateInstance(qelclsid::kFilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                     reinterpret_cast<void**>(graph_.GetAddressOf())));
    EXPECT_EQ(ERROR_INVALID_PARAMETER, helper_.BuildAsfGraph(folder_.File("absent.wmv").c_str(), graph_.Get(), 3, nullptr, nullptr));
    const std::string clip = MakeClip("clip.wmv", ClipSpec(true));
    EXPECT_EQ(ERROR_INVALID_PARAMETER, helper_.BuildAsfGraph(clip.c_str(), nullptr, 3, nullptr, nullptr));
    qel::ComPtr<IBaseFilter> sink = Add(qelclsid::kNullRenderer, L"sink");
    const HRESULT hr = helper_.BuildAsfGraph(clip.c_str(), graph_.Get(), 2, sink.Get(), nullptr);
    if (FAILED(hr))
        GTEST_SKIP() << "this Wine's ASF reader does not open the clip: 0x" << std::hex << hr;
    qel::ComPtr<IBaseFilter> reader = qel::TakeOver(helper_.FindFilterByClsid(graph_.Get(), qelclsid::kWmAsfReader));
    ASSERT_TRUE(reader);
    qel::ComPtr<IBaseFilter> source = qel::TakeOver(helper_.FindSourceFilter(graph_.Get()));
    EXPECT_EQ(reader.Get(), source.Get());
    EXPECT_EQ(S_OK, helper_.RemoveDownstream(graph_.Get(), reader.Get()));
}

} // namespace
