#include "playback_fixture.h"

#include "../filter_name.h"
#include "OutsideFilters.h"
#include "QelPluginIds.h"

using qel::ComPtr;

namespace playbacktest {
namespace {

using enginetest::NameOf;

ComPtr<IPin> FirstPin(IBaseFilter* filter, PIN_DIRECTION wanted) {
    ComPtr<IEnumPins> pins;
    if (FAILED(filter->EnumPins(&pins)))
        return nullptr;
    ComPtr<IPin> pin;
    while (pins->Next(1, pin.ReleaseAndGetAddressOf(), nullptr) == S_OK) {
        PIN_DIRECTION direction;
        if (SUCCEEDED(pin->QueryDirection(&direction)) && direction == wanted)
            return pin;
    }
    return nullptr;
}

} // namespace

std::vector<CLSID> PlaybackClasses() {
    return {CLSID_QelFilter_AutoEnhance, CLSID_QelFilter_AutoTone, CLSID_QelFilter_Whiteboard,
            CLSID_QelFilter_LowLight, CLSID_TarnTextMix};
}

void PlaybackTest::SetUp() {
    PlayerTest::SetUp();
    ASSERT_TRUE(standins.Loaded()) << "the stand-in plug-in " << standin::kModuleFile << " cannot be loaded";
    for (const CLSID& clsid : PlaybackClasses())
        ASSERT_EQ(S_OK, standins.Register(clsid));
    standins.ClearLog();
}

ComPtr<IGraphBuilder> PlaybackTest::RenderClip(const std::string& name) {
    const std::string path = MakeClip(name, playertest::ClipSpec(30));
    ComPtr<IGraphBuilder> graph;
    EXPECT_EQ(S_OK, CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&graph)));
    if (!graph)
        return nullptr;
    // Wine's own choice of renderer refuses RGB24 on reconnection: offer the plain one first, as the
    // rendered graphs of Windows end in it.
    ComPtr<IBaseFilter> renderer;
    EXPECT_EQ(S_OK, CoCreateInstance(CLSID_VideoRenderer, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&renderer)));
    if (renderer) {
        EXPECT_EQ(S_OK, graph->AddFilter(renderer.Get(), L"Video Renderer"));
    }
    const HRESULT hr = graph->RenderFile(playertest::Wide(path).c_str(), nullptr);
    EXPECT_TRUE(SUCCEEDED(hr)) << std::hex << hr;
    return graph;
}

std::vector<std::wstring> PlaybackTest::ChainBeforeRenderer(IGraphBuilder* graph) {
    std::vector<std::wstring> chain;
    ComPtr<IBaseFilter> filter;
    if (FAILED(graph->FindFilterByName(L"Video Renderer", &filter)))
        return chain;
    for (int guard = 0; guard < 16 && filter; ++guard) {
        const ComPtr<IPin> input = FirstPin(filter.Get(), PINDIR_INPUT);
        ComPtr<IPin> peer;
        if (!input || FAILED(input->ConnectedTo(&peer)))
            break;
        PIN_INFO info = {};
        peer->QueryPinInfo(&info);
        filter = qel::TakeOver(info.pFilter);
        if (filter)
            chain.insert(chain.begin(), NameOf(filter.Get()));
    }
    return chain;
}

std::vector<std::wstring> PlaybackTest::FilterNames(IGraphBuilder* graph) {
    std::vector<std::wstring> names;
    ComPtr<IEnumFilters> filters;
    if (FAILED(graph->EnumFilters(&filters)))
        return names;
    ComPtr<IBaseFilter> filter;
    while (filters->Next(1, filter.ReleaseAndGetAddressOf(), nullptr) == S_OK)
        names.push_back(NameOf(filter.Get()));
    return names;
}

bool PlaybackTest::PlainRenderer(IGraphBuilder* graph, std::string* what) {
    ComPtr<IBaseFilter> renderer;
    CLSID clsid = GUID_NULL;
    if (FAILED(graph->FindFilterByName(L"Video Renderer", &renderer)) || FAILED(renderer->GetClassID(&clsid))) {
        *what = "no filter named Video Renderer";
        return false;
    }
    wchar_t text[40] = {0};
    StringFromGUID2(clsid, text, 40);
    *what = "the renderer of class " + std::string(text, text + wcslen(text));
    return clsid == CLSID_VideoRenderer;
}

HRESULT PlaybackTest::UsePlainRenderer(IGraphBuilder* graph) {
    std::string what;
    if (PlainRenderer(graph, &what))
        return S_FALSE;
    ComPtr<IBaseFilter> old;
    HRESULT hr = graph->FindFilterByName(L"Video Renderer", &old);
    if (FAILED(hr))
        return hr;
    ComPtr<IPin> upstream;
    const ComPtr<IPin> oldInput = FirstPin(old.Get(), PINDIR_INPUT);
    if (!oldInput || FAILED(hr = oldInput->ConnectedTo(&upstream)))
        return FAILED(hr) ? hr : E_FAIL;
    if (FAILED(hr = graph->RemoveFilter(old.Get())))
        return hr;
    ComPtr<IBaseFilter> renderer;
    if (FAILED(hr = CoCreateInstance(CLSID_VideoRenderer, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&renderer))) ||
        FAILED(hr = graph->AddFilter(renderer.Get(), L"Video Renderer")))
        return hr;
    return graph->Connect(upstream.Get(), FirstPin(renderer.Get(), PINDIR_INPUT).Get());
}

OAFilterState PlaybackTest::State(IGraphBuilder* graph) {
    ComPtr<IMediaControl> control;
    OAFilterState state = -1;
    if (SUCCEEDED(graph->QueryInterface(IID_PPV_ARGS(&control))))
        control->GetState(2000, &state);
    return state;
}

LONGLONG PlaybackTest::Position(IGraphBuilder* graph) {
    ComPtr<IMediaSeeking> seeking;
    LONGLONG position = -1;
    if (SUCCEEDED(graph->QueryInterface(IID_PPV_ARGS(&seeking))))
        seeking->GetCurrentPosition(&position);
    return position;
}

HRESULT PlaybackTest::Run(IGraphBuilder* graph) {
    ComPtr<IMediaControl> control;
    HRESULT hr = graph->QueryInterface(IID_PPV_ARGS(&control));
    return SUCCEEDED(hr) ? control->Run() : hr;
}

void PlaybackTest::StopPumping(IGraphBuilder* graph) {
    IMediaControl* control = nullptr;
    if (!graph || FAILED(graph->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(&control))))
        return;
    const HANDLE thread = CreateThread(
        nullptr, 0,
        [](LPVOID parameter) -> DWORD {
            static_cast<IMediaControl*>(parameter)->Stop();
            return 0;
        },
        control, 0, nullptr);
    while (thread && MsgWaitForMultipleObjects(1, &thread, FALSE, 30000, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
    }
    if (thread)
        CloseHandle(thread);
    control->Release();
}

HRESULT PlaybackTest::Pause(IGraphBuilder* graph) {
    ComPtr<IMediaControl> control;
    HRESULT hr = graph->QueryInterface(IID_PPV_ARGS(&control));
    return SUCCEEDED(hr) ? control->Pause() : hr;
}

HRESULT PlaybackTest::SeekTo(IGraphBuilder* graph, LONGLONG position) {
    ComPtr<IMediaSeeking> seeking;
    HRESULT hr = graph->QueryInterface(IID_PPV_ARGS(&seeking));
    return SUCCEEDED(hr) ? seeking->SetPositions(&position, AM_SEEKING_AbsolutePositioning, nullptr,
                                                 AM_SEEKING_NoPositioning)
                         : hr;
}

} // namespace playbacktest
