#include "GraphSplice.h"

#include "EngineCom.h"

#include <algorithm>
#include <utility>

using qel::ComPtr;

// ---- StoppedGraph ----

StoppedGraph::StoppedGraph(IGraphBuilder* graph) {
    graph->QueryInterface(IID_PPV_ARGS(&m_control));
    graph->QueryInterface(IID_PPV_ARGS(&m_seeking));
    if (m_seeking) {
        m_seeking->GetDuration(&m_duration);
        m_seeking->GetCurrentPosition(&m_position);
    }
    if (m_control) {
        m_control->GetState(INFINITE, &m_state);
        m_control->Stop();
    }
}

StoppedGraph::~StoppedGraph() {
    if (m_seeking)
        m_seeking->SetPositions(&m_position, AM_SEEKING_AbsolutePositioning, &m_duration,
                                AM_SEEKING_AbsolutePositioning);
    if (m_control && m_state == State_Running)
        m_control->Run();
}

// ---- helpers ----

ComPtr<IPin> PeerOf(IPin* pin) {
    ComPtr<IPin> peer;
    if (!pin || FAILED(pin->ConnectedTo(&peer)))
        return nullptr;
    return peer;
}

std::vector<ComPtr<IBaseFilter>> FiltersOf(IGraphBuilder* graph) {
    std::vector<ComPtr<IBaseFilter>> filters;
    ComPtr<IEnumFilters> walk;
    if (!graph || FAILED(graph->EnumFilters(&walk)) || !walk)
        return filters;
    ComPtr<IBaseFilter> filter;
    while (walk->Next(1, filter.ReleaseAndGetAddressOf(), nullptr) == S_OK)
        filters.push_back(filter);
    return filters;
}

// ---- GraphSplice ----

GraphSplice::TakenLink::TakenLink(ComPtr<IPin> out, ComPtr<IPin> in) : m_out(std::move(out)), m_in(std::move(in)) {
    m_haveType = SUCCEEDED(m_in->ConnectionMediaType(&m_type));
}

GraphSplice::TakenLink::~TakenLink() {
    if (m_haveType)
        FreeMediaTypeFields(m_type);
}

HRESULT GraphSplice::TakenLink::Remake(IGraphBuilder* graph) {
    if (PeerOf(m_in.Get()))  // still (or again) connected
        return S_OK;
    if (SUCCEEDED(graph->ConnectDirect(m_out.Get(), m_in.Get(), m_haveType ? &m_type : nullptr)))
        return S_OK;
    return graph->Connect(m_out.Get(), m_in.Get());
}

GraphSplice::GraphSplice(IGraphBuilder* graph, FailureLog logFailure)
    : m_graph(graph), m_logFailure(std::move(logFailure)), m_filtersBefore(FiltersOf(graph)) {}

GraphSplice::~GraphSplice() {
    if (!m_committed)
        Undo();
}

void GraphSplice::Keep(IPin* input) {
    ComPtr<IPin> peer = PeerOf(input);
    if (!peer)
        return;
    m_links.push_back(std::make_unique<TakenLink>(peer, input));
}

HRESULT GraphSplice::Disconnect(IPin* pin) { return m_graph->Disconnect(pin); }

HRESULT GraphSplice::TakeApart(IPin* input, SpliceStep* failed) {
    *failed = SpliceStep::kNone;
    ComPtr<IPin> upstream = PeerOf(input);
    Keep(input);
    HRESULT hr = m_graph->Disconnect(input);
    if (FAILED(hr)) {
        *failed = SpliceStep::kDisconnectInput;
        return hr;
    }
    if (upstream && FAILED(hr = m_graph->Disconnect(upstream.Get()))) {
        *failed = SpliceStep::kDisconnectUpstream;
        return hr;
    }
    return S_OK;
}

HRESULT GraphSplice::Insert(IPin* upstream, IPin* in, IPin* out, IPin* downstream, SpliceStep* failed) {
    *failed = SpliceStep::kNone;
    HRESULT hr = upstream ? m_graph->Connect(upstream, in) : E_POINTER;
    if (FAILED(hr)) {
        *failed = SpliceStep::kConnectInput;
        return hr;
    }
    hr = m_graph->Connect(out, downstream);
    if (FAILED(hr))
        *failed = SpliceStep::kConnectOutput;
    return hr;
}

void GraphSplice::Undo() {
    // What the edit added goes first, so that the links it took apart find their pins free.
    for (const ComPtr<IBaseFilter>& filter : FiltersOf(m_graph.Get())) {
        const auto wasThere = [&](const ComPtr<IBaseFilter>& old) { return old.Get() == filter.Get(); };
        if (std::any_of(m_filtersBefore.begin(), m_filtersBefore.end(), wasThere))
            continue;
        const HRESULT hr = m_graph->RemoveFilter(filter.Get());
        if (FAILED(hr))
            m_logFailure(hr);
    }
    for (auto link = m_links.rbegin(); link != m_links.rend(); ++link) {
        const HRESULT hr = (*link)->Remake(m_graph.Get());
        if (FAILED(hr))
            m_logFailure(hr);
    }
}
