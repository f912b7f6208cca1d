// Splicing an effect plug-in into the running graph: in front of the preview's renderer (or frame
// grabber) and in front of a recording's multiplexer. The graph is stopped while pins are
// reconnected and restarted when it was running. A splice that fails puts the graph back as it
// was, without the plug-in, so that the preview never runs half connected.
#include "EffectChain.h"
#include "OutsideFilters.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

// Position, length and state of the graph before a splice stopped it.
class StoppedGraph {
public:
    explicit StoppedGraph(IGraphBuilder* graph) {
        graph->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(&control_));
        graph->QueryInterface(IID_IMediaSeeking, reinterpret_cast<void**>(&seeking_));
        if (seeking_) {
            seeking_->GetDuration(&duration_);
            seeking_->GetCurrentPosition(&position_);
        }
        if (control_) {
            control_->GetState(INFINITE, &state_);
            control_->Stop();
        }
    }
    ~StoppedGraph() {
        SafeRelease(control_);
        SafeRelease(seeking_);
    }
    StoppedGraph(const StoppedGraph&) = delete;
    StoppedGraph& operator=(const StoppedGraph&) = delete;

    void Restore() {
        if (seeking_)
            seeking_->SetPositions(&position_, AM_SEEKING_AbsolutePositioning, &duration_,
                                   AM_SEEKING_AbsolutePositioning);
        if (control_ && state_ == State_Running)
            control_->Run();
    }

private:
    IMediaControl* control_ = nullptr;
    IMediaSeeking* seeking_ = nullptr;
    LONGLONG duration_ = 0;
    LONGLONG position_ = 0;
    OAFilterState state_ = State_Stopped;
};

// A direct connection taken apart by the splice, kept with its media type so that a failed splice can
// make it again.
struct TakenLink {
    IPin* out = nullptr;
    IPin* in = nullptr;
    AM_MEDIA_TYPE type = {};
    bool haveType = false;

    ~TakenLink() {
        if (haveType)
            CLiveCapture::WixFreeMediaType(&type);
        SafeRelease(out);
        SafeRelease(in);
    }
    // Records the link that ends in `in` (nothing when it is not connected).
    void Keep(IPin* input) {
        IPin* peer = nullptr;
        if (!input || FAILED(input->ConnectedTo(&peer)) || !peer)
            return;
        out = peer;
        in = input;
        in->AddRef();
        haveType = SUCCEEDED(in->ConnectionMediaType(&type));
    }
    void Remake(IGraphBuilder* graph) {
        if (!out || !in)
            return;
        IPin* peer = nullptr;
        if (SUCCEEDED(in->ConnectedTo(&peer)) && peer) {   // still (or again) connected
            peer->Release();
            return;
        }
        if (FAILED(graph->ConnectDirect(out, in, haveType ? &type : nullptr)))
            graph->Connect(out, in);
    }
};

IPin* PeerOf(IPin* pin) {
    IPin* peer = nullptr;
    if (!pin || FAILED(pin->ConnectedTo(&peer)))
        return nullptr;
    return peer;
}

// Some filters cannot answer the media type of a pin that is not connected: ask only a connected one.
bool IsVideoConnection(IPin* pin) {
    IPin* peer = PeerOf(pin);
    if (!peer)
        return false;
    peer->Release();
    AM_MEDIA_TYPE type = {};
    if (FAILED(pin->ConnectionMediaType(&type)))
        return false;
    const bool video = type.majortype == MEDIATYPE_Video || type.majortype == MEDIATYPE_Interleaved;
    CLiveCapture::WixFreeMediaType(&type);
    return video;
}

std::vector<IBaseFilter*> FiltersOf(IGraphBuilder* graph) {
    std::vector<IBaseFilter*> filters;
    IEnumFilters* walk = nullptr;
    if (FAILED(graph->EnumFilters(&walk)))
        return filters;
    IBaseFilter* filter = nullptr;
    while (walk->Next(1, &filter, nullptr) == S_OK)
        filters.push_back(filter);
    walk->Release();
    return filters;
}

void ReleaseAll(std::vector<IBaseFilter*>& filters) {
    for (IBaseFilter* filter : filters)
        filter->Release();
    filters.clear();
}

// The renderer where the graph's filters are not named as the splice expects (a capture graph
// builder may add its renderer under a name of its own): the first filter with inputs only that
// owns a video window.
IBaseFilter* FindUnnamedVideoRenderer(CLiveCapture* engine, IGraphBuilder* graph) {
    std::vector<IBaseFilter*> filters = FiltersOf(graph);
    IBaseFilter* found = nullptr;
    for (IBaseFilter* filter : filters) {
        IPin* input = engine->GetInPin(filter, 0);
        IPin* output = engine->GetOutPin(filter, 0);
        IVideoWindow* window = nullptr;
        const bool renderer = input && !output &&
                              SUCCEEDED(filter->QueryInterface(IID_IVideoWindow, reinterpret_cast<void**>(&window)));
        SafeRelease(window);
        SafeRelease(input);
        SafeRelease(output);
        if (renderer) {
            found = filter;
            found->AddRef();
            break;
        }
    }
    ReleaseAll(filters);
    return found;
}

} // namespace

namespace {

// The pin of the given direction and index on the first filter whose name contains name.
IPin* FindPinOfNamedFilter(CLiveCapture* engine, IGraphBuilder* graph, const char* name, PIN_DIRECTION direction,
                           int index) {
    if (!graph || !name)
        return nullptr;
    IEnumFilters* walk = nullptr;
    if (FAILED(graph->EnumFilters(&walk)))
        return nullptr;
    IPin* pin = nullptr;
    IBaseFilter* filter = nullptr;
    while (walk->Next(1, &filter, nullptr) == S_OK) {
        FILTER_INFO info = {};
        bool match = false;
        if (SUCCEEDED(filter->QueryFilterInfo(&info))) {
            char ansi[256] = {0};
            WideCharToMultiByte(CP_ACP, 0, info.achName, -1, ansi, sizeof ansi - 1, nullptr, nullptr);
            match = std::strstr(ansi, name) != nullptr;
            SafeRelease(info.pGraph);
        }
        if (match)
            engine->GetPin(filter, direction, index, &pin);
        filter->Release();
        if (match)
            break;
    }
    walk->Release();
    return pin;
}

} // namespace

IPin* CLiveCapture::FindInputPin(IGraphBuilder* graph, const char* name, int index) {
    return FindPinOfNamedFilter(this, graph, name, PINDIR_INPUT, index);
}

IPin* CLiveCapture::FindOutputPin(IGraphBuilder* graph, const char* name, int index) {
    return FindPinOfNamedFilter(this, graph, name, PINDIR_OUTPUT, index);
}

int CLiveCapture::ApplyPreviewQelFilter(QelFilter row, IBaseFilter* plugin, int value) {
    return xSpliceQelFilter(row, plugin, value, FALSE);
}

int CLiveCapture::ApplyCaptureQelFilter(QelFilter row, IBaseFilter* plugin, int value) {
    return xSpliceQelFilter(row, plugin, value, TRUE);
}

int CLiveCapture::xSpliceQelFilter(QelFilter row, IBaseFilter* plugin, int value, BOOL record) {
    const EffectRowInfo* info = EffectRow(row);
    if (!m_pGraph || !plugin || !info || !info->graphName)
        return 0;
    StoppedGraph stopped(m_pGraph);

    if (FAILED(m_pGraph->AddFilter(plugin, info->graphName))) {
        ShowEffectMessage(record ? splicetext::kCaptureAdd : splicetext::kPreviewAdd);
        stopped.Restore();
        return 0;
    }
    // Everything from here on is undone when a step fails: filters that an intelligent connect
    // added, the plug-in, and the links the splice took apart.
    std::vector<IBaseFilter*> before = FiltersOf(m_pGraph);
    IPin* pluginIn = GetInPin(plugin, 0);
    IPin* pluginOut = GetOutPin(plugin, 0);
    IPin* target = nullptr;
    IPin* upstream = nullptr;
    IPin* rendererPin = nullptr;
    IPin* rendererUpstream = nullptr;
    TakenLink targetLink;
    TakenLink rendererLink;
    const char* failure = nullptr;
    char formatted[160] = {0};

    auto fail = [&](const char* text) { failure = text; };

    if (!pluginIn || !pluginOut) {
        fail(record ? splicetext::kCapturePins : splicetext::kPreviewPins);
    } else if (record) {
        // The multiplexer's input that carries the video: the pin the container's layout puts it on
        // when that one does, else whichever input is connected to a video stream.
        const int preferred = m_recordFileType == RECORD_AVI_NOAUDIO ? 0 : 1;
        target = FindInputPin(m_pGraph, "Mux", preferred);
        if (!target || !IsVideoConnection(target)) {
            for (int n = 0;; ++n) {
                IPin* candidate = FindInputPin(m_pGraph, "Mux", n);
                if (!candidate)
                    break;
                if (IsVideoConnection(candidate)) {
                    SafeRelease(target);
                    target = candidate;
                    break;
                }
                candidate->Release();
            }
        }
        if (!target) {
            fail(splicetext::kCaptureNoTarget);
        } else {
            upstream = PeerOf(target);
            targetLink.Keep(target);
            if (FAILED(m_pGraph->Disconnect(target)))
                fail(splicetext::kCaptureDisconnectTarget);
            else if (upstream && FAILED(m_pGraph->Disconnect(upstream)))
                fail(splicetext::kCaptureDisconnectUpstream);
            else if (IPin* fresh = xFreshMuxInput(target)) {
                SafeRelease(target);
                target = fresh;
            }
        }
    } else if (m_bUseVMR) {
        target = FindInputPin(m_pGraph, "VMR", 0);
        if (!target) {
            fail(splicetext::kPreviewNoTarget);
        } else {
            upstream = PeerOf(target);
            if (!upstream)
                ShowEffectMessage(splicetext::kNoRenderToPin);
            targetLink.Keep(target);
            if (FAILED(m_pGraph->Disconnect(target)))
                fail(splicetext::kPreviewDisconnectVmr);
            else if (upstream && FAILED(m_pGraph->Disconnect(upstream)))
                fail(splicetext::kPreviewDisconnectUpstream);
        }
    } else {
        target = FindInputPin(m_pGraph, "SampleGrabber", 0);
        const bool throughGrabber = target != nullptr;
        rendererPin = FindInputPin(m_pGraph, "Video Renderer", 0);
        if (!rendererPin) {
            if (IBaseFilter* renderer = FindUnnamedVideoRenderer(this, m_pGraph)) {
                rendererPin = GetInPin(renderer, 0);
                renderer->Release();
            }
        }
        if (!throughGrabber) {
            target = rendererPin;
            rendererPin = nullptr;
        }
        if (throughGrabber && !rendererPin) {
            fail(splicetext::kPreviewNoRendererPin);
        } else if (!target) {
            fail(splicetext::kPreviewNoTarget);
        } else {
            if (rendererPin) {
                rendererUpstream = PeerOf(rendererPin);
                if (!rendererUpstream)
                    ShowEffectMessage(splicetext::kNoRendererUpstream);
            }
            upstream = PeerOf(target);
            if (!upstream)
                ShowEffectMessage(splicetext::kNoUpstream);
            rendererLink.Keep(rendererPin);
            targetLink.Keep(target);
            bool ok = true;
            if (rendererPin)
                ok = SUCCEEDED(m_pGraph->Disconnect(rendererPin)) &&
                     (!rendererUpstream || SUCCEEDED(m_pGraph->Disconnect(rendererUpstream)));
            else
                ok = upstream != nullptr;   // the renderer's input must be connected to be spliced
            if (ok)
                ok = SUCCEEDED(m_pGraph->Disconnect(target));
            if (!ok)
                fail(splicetext::kPreviewDisconnectGrabber);
            else if (upstream && FAILED(m_pGraph->Disconnect(upstream)))
                fail(splicetext::kPreviewDisconnectUpstream);
        }
    }

    if (!failure) {
        const HRESULT in = upstream ? m_pGraph->Connect(upstream, pluginIn) : E_POINTER;
        if (FAILED(in)) {
            if (record) {
                std::snprintf(formatted, sizeof formatted, splicetext::kCaptureConnectInputFormat,
                              static_cast<unsigned>(in));
                fail(formatted);
            } else {
                fail(splicetext::kPreviewConnectInput);
            }
        } else if (FAILED(m_pGraph->Connect(pluginOut, target))) {
            fail(record ? splicetext::kCaptureConnectOutput : splicetext::kPreviewConnectOutput);
        }
    }

    if (failure) {
        ShowEffectMessage(failure);
        if (record && failure == formatted && !upstream)
            ShowEffectMessage(splicetext::kCaptureNoUpstream);
        // Put the graph back: take out what the splice added, then make the links it took apart.
        std::vector<IBaseFilter*> now = FiltersOf(m_pGraph);
        for (IBaseFilter* filter : now) {
            bool wasThere = false;
            for (IBaseFilter* old : before)
                wasThere = wasThere || old == filter;
            if (!wasThere)
                m_pGraph->RemoveFilter(filter);
        }
        ReleaseAll(now);
        m_pGraph->RemoveFilter(plugin);
        targetLink.Remake(m_pGraph);
        rendererLink.Remake(m_pGraph);
    } else {
        // The frame grabber's output was taken off the renderer so that its input could take a new
        // format: render it again.
        if (rendererUpstream)
            m_pGraph->Render(rendererUpstream);
        xPassEffectParams(row, plugin, value, record ? PASS_RECORD_SPLICE : PASS_PREVIEW_SPLICE);
    }
    ReleaseAll(before);
    SafeRelease(pluginIn);
    SafeRelease(pluginOut);
    SafeRelease(target);
    SafeRelease(upstream);
    SafeRelease(rendererPin);
    SafeRelease(rendererUpstream);
    stopped.Restore();
    return failure ? 0 : 1;
}

// A stand-alone flip splice in front of the frame grabber (or renderer); it sends no parameters and
// leaves the flip flags alone. The graph is stopped before anything is taken out of it. On a
// failure the links are made again and the graph restarted as for the other splices; the failure
// code is returned (the result of Stop when pins or the target are missing).
HRESULT CLiveCapture::BuildPreFlip() {
    IBaseFilter* flip = nullptr;
    HRESULT hr = CreateFlipPlugin(&flip);
    if (hr != S_OK) {
        SafeRelease(flip);
        return hr;
    }
    SafeRelease(m_pPreFlipFilter);
    m_pPreFlipFilter = flip;
    if (!m_pGraph) {
        SafeRelease(m_pPreFlipFilter);
        return E_POINTER;
    }
    StoppedGraph stopped(m_pGraph);
    IMediaControl* control = nullptr;
    if (SUCCEEDED(m_pGraph->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(&control)))) {
        hr = control->Stop();
        control->Release();
    }
    // A flip already in the graph goes; its neighbours are joined again so the chain stays whole.
    IBaseFilter* old = nullptr;
    if (SUCCEEDED(m_pGraph->FindFilterByName(kFlipGraphName, &old)) && old) {
        IPin* oldIn = GetInPin(old, 0);
        IPin* oldOut = GetOutPin(old, 0);
        IPin* before = PeerOf(oldIn);
        IPin* after = PeerOf(oldOut);
        m_pGraph->RemoveFilter(old);
        if (before && after)
            m_pGraph->Connect(before, after);
        SafeRelease(before);
        SafeRelease(after);
        SafeRelease(oldIn);
        SafeRelease(oldOut);
        old->Release();
    }
    const HRESULT added = m_pGraph->AddFilter(m_pPreFlipFilter, kFlipGraphName);
    if (added != S_OK) {
        SafeRelease(m_pPreFlipFilter);
        stopped.Restore();
        return added;
    }
    IPin* pluginIn = GetInPin(m_pPreFlipFilter, 0);
    IPin* pluginOut = GetOutPin(m_pPreFlipFilter, 0);
    IPin* target = nullptr;
    IPin* upstream = nullptr;
    TakenLink link;
    const char* failure = nullptr;
    if (!pluginIn || !pluginOut) {
        failure = splicetext::kPreFlipPins;
    } else {
        target = FindInputPin(m_pGraph, "SampleGrabber", 0);
        if (!target)
            target = FindInputPin(m_pGraph, "Video Renderer", 0);
        if (!target) {
            if (IBaseFilter* renderer = FindUnnamedVideoRenderer(this, m_pGraph)) {
                target = GetInPin(renderer, 0);
                renderer->Release();
            }
        }
        if (!target)
            failure = splicetext::kPreFlipNoTarget;
    }
    if (!failure) {
        upstream = PeerOf(target);
        link.Keep(target);
        HRESULT step = m_pGraph->Disconnect(target);
        if (FAILED(step)) {
            failure = splicetext::kPreFlipDisconnectTarget;
        } else if (upstream && FAILED(step = m_pGraph->Disconnect(upstream))) {
            failure = splicetext::kPreFlipDisconnectUpstream;
        } else if (FAILED(step = upstream ? m_pGraph->Connect(upstream, pluginIn) : E_POINTER)) {
            failure = splicetext::kPreFlipConnectInput;
        } else if (FAILED(step = m_pGraph->Connect(pluginOut, target))) {
            failure = splicetext::kPreFlipConnectOutput;
        }
        if (failure)
            hr = step;
    }
    if (failure) {
        ShowEffectMessage(failure);
        m_pGraph->RemoveFilter(m_pPreFlipFilter);
        link.Remake(m_pGraph);
        SafeRelease(m_pPreFlipFilter);
    } else {
        hr = S_OK;
    }
    SafeRelease(pluginIn);
    SafeRelease(pluginOut);
    SafeRelease(target);
    SafeRelease(upstream);
    stopped.Restore();
    return hr;
}
