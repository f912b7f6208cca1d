// Splicing an effect plug-in into the running graph: in front of the preview's renderer (or frame
// grabber) and in front of a recording's multiplexer. The graph is stopped while pins are
// reconnected and restarted when it was running. A splice that fails puts the graph back as it
// was, without the plug-in, so that the preview never runs half connected.
#include "EffectChain.h"
#include "GraphSplice.h"
#include "NamedFilterPin.h"
#include "OutsideFilters.h"
#include "EnginePins.h"

#include <cstdio>
#include <cstring>
#include <functional>
#include <utility>

using qel::ComPtr;

namespace {

// Some filters cannot answer the media type of a pin that is not connected: ask only a connected one.
bool IsVideoConnection(IPin* pin) {
    if (!PeerOf(pin))
        return false;
    AM_MEDIA_TYPE type = {};
    if (FAILED(pin->ConnectionMediaType(&type)))
        return false;
    const bool video = type.majortype == MEDIATYPE_Video || type.majortype == MEDIATYPE_Interleaved;
    CLiveCapture::WixFreeMediaType(&type);
    return video;
}

// The renderer where the graph's filters are not named as the splice expects (a capture graph
// builder may add its renderer under a name of its own): the first filter with inputs only that
// owns a video window.
ComPtr<IBaseFilter> FindUnnamedVideoRenderer(IGraphBuilder* graph) {
    for (const ComPtr<IBaseFilter>& filter : FiltersOf(graph)) {
        ComPtr<IVideoWindow> window;
        if (PinOf(filter.Get(), PINDIR_INPUT) && !PinOf(filter.Get(), PINDIR_OUTPUT) &&
            SUCCEEDED(filter->QueryInterface(IID_IVideoWindow, &window)))
            return filter;
    }
    return nullptr;
}

// The input pin of the renderer, named or not.
ComPtr<IPin> RendererInput(IGraphBuilder* graph) {
    ComPtr<IPin> pin = FindPinOfNamedFilter(graph, "Video Renderer", PINDIR_INPUT, 0);
    if (!pin)
        pin = PinOf(FindUnnamedVideoRenderer(graph).Get(), PINDIR_INPUT);
    return pin;
}

// Runs its call when the scope ends, on every way out.
class AtScopeEnd {
public:
    explicit AtScopeEnd(std::function<void()> call) : call_(std::move(call)) {}
    ~AtScopeEnd() {
        if (call_)
            call_();
    }
    AtScopeEnd(const AtScopeEnd&) = delete;
    AtScopeEnd& operator=(const AtScopeEnd&) = delete;

private:
    std::function<void()> call_;
};

} // namespace

IPin* CLiveCapture::FindInputPin(IGraphBuilder* graph, const char* name, int index) {
    return FindPinOfNamedFilter(graph, name, PINDIR_INPUT, index).Detach();
}

IPin* CLiveCapture::FindOutputPin(IGraphBuilder* graph, const char* name, int index) {
    return FindPinOfNamedFilter(graph, name, PINDIR_OUTPUT, index).Detach();
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
    // A preview splice reconnects the renderer, whether it goes in or is undone, and a renderer
    // may then size its window back to the picture's own size: fit it again once the links are
    // back (the splice is undone before this runs) and before the graph starts again.
    AtScopeEnd refit(record ? std::function<void()>() : [this] { xFitVideoWindow(); });
    // Everything from here on is undone when a step fails: the plug-in, filters that an intelligent
    // connect added, and the links the splice took apart.
    GraphSplice splice(m_pGraph, [this](HRESULT hr) { LIVECAP_LOG(this, hr); });
    if (FAILED(m_pGraph->AddFilter(plugin, info->graphName))) {
        ShowEffectMessage(record ? splicetext::kCaptureAdd : splicetext::kPreviewAdd);
        return 0;
    }
    const ComPtr<IPin> pluginIn = PinOf(plugin, PINDIR_INPUT);
    const ComPtr<IPin> pluginOut = PinOf(plugin, PINDIR_OUTPUT);
    ComPtr<IPin> target;
    ComPtr<IPin> upstream;
    ComPtr<IPin> rendererUpstream;
    const char* failure = nullptr;
    char formatted[160] = {0};
    SpliceStep step = SpliceStep::kNone;

    if (!pluginIn || !pluginOut) {
        failure = record ? splicetext::kCapturePins : splicetext::kPreviewPins;
    } else if (record) {
        // The multiplexer's input that carries the video: the pin the container's layout puts it on
        // when that one does, else whichever input is connected to a video stream.
        const int preferred = m_recordFileType == RECORD_AVI_NOAUDIO ? 0 : 1;
        target = FindPinOfNamedFilter(m_pGraph, "Mux", PINDIR_INPUT, preferred);
        if (!target || !IsVideoConnection(target.Get())) {
            for (int n = 0;; ++n) {
                ComPtr<IPin> candidate = FindPinOfNamedFilter(m_pGraph, "Mux", PINDIR_INPUT, n);
                if (!candidate)
                    break;
                if (IsVideoConnection(candidate.Get())) {
                    target = candidate;
                    break;
                }
            }
        }
        if (!target) {
            failure = splicetext::kCaptureNoTarget;
        } else {
            upstream = PeerOf(target.Get());
            if (FAILED(splice.TakeApart(target.Get(), &step)))
                failure = step == SpliceStep::kDisconnectInput ? splicetext::kCaptureDisconnectTarget
                                                               : splicetext::kCaptureDisconnectUpstream;
            else if (ComPtr<IPin> fresh = qel::TakeOver(xFreshMuxInput(target.Get())))
                target = fresh;
        }
    } else if (m_bUseVMR) {
        target = FindPinOfNamedFilter(m_pGraph, "VMR", PINDIR_INPUT, 0);
        if (!target) {
            failure = splicetext::kPreviewNoTarget;
        } else {
            upstream = PeerOf(target.Get());
            if (!upstream)
                ShowEffectMessage(splicetext::kNoRenderToPin);
            if (FAILED(splice.TakeApart(target.Get(), &step)))
                failure = step == SpliceStep::kDisconnectInput ? splicetext::kPreviewDisconnectVmr
                                                               : splicetext::kPreviewDisconnectUpstream;
        }
    } else {
        target = FindPinOfNamedFilter(m_pGraph, "SampleGrabber", PINDIR_INPUT, 0);
        const bool throughGrabber = target != nullptr;
        ComPtr<IPin> rendererPin = RendererInput(m_pGraph);
        if (!throughGrabber)
            target.Swap(rendererPin);
        if (throughGrabber && !rendererPin) {
            failure = splicetext::kPreviewNoRendererPin;
        } else if (!target) {
            failure = splicetext::kPreviewNoTarget;
        } else {
            if (rendererPin) {
                rendererUpstream = PeerOf(rendererPin.Get());
                if (!rendererUpstream)
                    ShowEffectMessage(splicetext::kNoRendererUpstream);
            }
            upstream = PeerOf(target.Get());
            if (!upstream)
                ShowEffectMessage(splicetext::kNoUpstream);
            // The grabber's output comes off the renderer too, so that its input can take a new format.
            bool ok = rendererPin ? SUCCEEDED(splice.TakeApart(rendererPin.Get(), &step))
                                  : upstream != nullptr;   // the renderer's input must be connected to be spliced
            splice.Keep(target.Get());
            if (ok)
                ok = SUCCEEDED(splice.Disconnect(target.Get()));
            if (!ok)
                failure = splicetext::kPreviewDisconnectGrabber;
            else if (upstream && FAILED(splice.Disconnect(upstream.Get())))
                failure = splicetext::kPreviewDisconnectUpstream;
        }
    }

    if (!failure) {
        const HRESULT hr = splice.Insert(upstream.Get(), pluginIn.Get(), pluginOut.Get(), target.Get(), &step);
        if (step == SpliceStep::kConnectInput) {
            if (record) {
                std::snprintf(formatted, sizeof formatted, splicetext::kCaptureConnectInputFormat,
                              static_cast<unsigned>(hr));
                failure = formatted;
            } else {
                failure = splicetext::kPreviewConnectInput;
            }
        } else if (step == SpliceStep::kConnectOutput) {
            failure = record ? splicetext::kCaptureConnectOutput : splicetext::kPreviewConnectOutput;
        }
    }

    if (failure) {
        ShowEffectMessage(failure);
        if (record && failure == formatted && !upstream)
            ShowEffectMessage(splicetext::kCaptureNoUpstream);
        return 0;
    }
    splice.Commit();
    if (record)
        xSetMasterStream(); // the video came back on another of the multiplexer's inputs
    // The frame grabber's output was taken off the renderer so that its input could take a new
    // format: render it again.
    if (rendererUpstream)
        m_pGraph->Render(rendererUpstream.Get());
    xPassEffectParams(row, plugin, value, record ? PASS_RECORD_SPLICE : PASS_PREVIEW_SPLICE);
    return 1;
}

// A stand-alone flip splice in front of the frame grabber (or renderer); it sends no parameters and
// leaves the flip flags alone. The graph is stopped before anything is taken out of it. On a
// failure the links are made again and the graph restarted as for the other splices; the failure
// code is returned (the result of Stop when pins or the target are missing).
HRESULT CLiveCapture::BuildPreFlip() {
    ComPtr<IBaseFilter> flip;
    HRESULT hr = CreateFlipPlugin(&flip);
    if (hr != S_OK)
        return hr;
    SafeRelease(m_pPreFlipFilter);
    m_pPreFlipFilter = flip.Detach();
    if (!m_pGraph) {
        SafeRelease(m_pPreFlipFilter);
        return E_POINTER;
    }
    StoppedGraph stopped(m_pGraph);
    AtScopeEnd refit([this] { xFitVideoWindow(); }); // the renderer is reconnected here too
    ComPtr<IMediaControl> control;
    if (SUCCEEDED(m_pGraph->QueryInterface(IID_PPV_ARGS(&control))))
        hr = control->Stop();
    // A flip already in the graph goes; its neighbours are joined again so the chain stays whole.
    ComPtr<IBaseFilter> old;
    if (SUCCEEDED(m_pGraph->FindFilterByName(kFlipGraphName, &old)) && old) {
        const ComPtr<IPin> before = PeerOf(PinOf(old.Get(), PINDIR_INPUT).Get());
        const ComPtr<IPin> after = PeerOf(PinOf(old.Get(), PINDIR_OUTPUT).Get());
        m_pGraph->RemoveFilter(old.Get());
        if (before && after)
            m_pGraph->Connect(before.Get(), after.Get());
    }
    GraphSplice splice(m_pGraph, [this](HRESULT failed) { LIVECAP_LOG(this, failed); });
    const HRESULT added = m_pGraph->AddFilter(m_pPreFlipFilter, kFlipGraphName);
    if (added != S_OK) {
        SafeRelease(m_pPreFlipFilter);
        return added;
    }
    const ComPtr<IPin> pluginIn = PinOf(m_pPreFlipFilter, PINDIR_INPUT);
    const ComPtr<IPin> pluginOut = PinOf(m_pPreFlipFilter, PINDIR_OUTPUT);
    ComPtr<IPin> target;
    const char* failure = nullptr;
    if (!pluginIn || !pluginOut) {
        failure = splicetext::kPreFlipPins;
    } else {
        target = FindPinOfNamedFilter(m_pGraph, "SampleGrabber", PINDIR_INPUT, 0);
        if (!target)
            target = RendererInput(m_pGraph);
        if (!target)
            failure = splicetext::kPreFlipNoTarget;
    }
    if (!failure) {
        const ComPtr<IPin> upstream = PeerOf(target.Get());
        SpliceStep step = SpliceStep::kNone;
        HRESULT result = splice.TakeApart(target.Get(), &step);
        if (SUCCEEDED(result))
            result = splice.Insert(upstream.Get(), pluginIn.Get(), pluginOut.Get(), target.Get(), &step);
        switch (step) {
        case SpliceStep::kDisconnectInput: failure = splicetext::kPreFlipDisconnectTarget; break;
        case SpliceStep::kDisconnectUpstream: failure = splicetext::kPreFlipDisconnectUpstream; break;
        case SpliceStep::kConnectInput: failure = splicetext::kPreFlipConnectInput; break;
        case SpliceStep::kConnectOutput: failure = splicetext::kPreFlipConnectOutput; break;
        case SpliceStep::kNone: break;
        }
        if (failure)
            hr = result;
    }
    if (failure) {
        ShowEffectMessage(failure);
        SafeRelease(m_pPreFlipFilter);
        return hr;
    }
    splice.Commit();
    return S_OK;
}
