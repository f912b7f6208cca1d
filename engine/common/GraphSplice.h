#pragma once
// Edits of a running graph as objects that undo themselves: StoppedGraph holds the graph stopped for
// the edit, GraphSplice takes links apart and inserts a filter between them, and puts the graph
// back unless the edit is committed.
#include <windows.h>
#include <dshow.h>

#include "qeldshow/com_ptr.h"

#include <functional>
#include <memory>
#include <vector>

// Stops the graph; the destructor restores its position, its length and, when it was running, its
// run state.
class StoppedGraph {
public:
    explicit StoppedGraph(IGraphBuilder* graph);
    ~StoppedGraph();
    StoppedGraph(const StoppedGraph&) = delete;
    StoppedGraph& operator=(const StoppedGraph&) = delete;

private:
    qel::ComPtr<IMediaControl> m_control;
    qel::ComPtr<IMediaSeeking> m_seeking;
    LONGLONG m_duration = 0;
    LONGLONG m_position = 0;
    OAFilterState m_state = State_Stopped;
};

// The step of a splice that failed.
enum class SpliceStep {
    kNone,
    kDisconnectInput,     // the link's input end
    kDisconnectUpstream,  // the link's output end
    kConnectInput,        // upstream into the inserted filter
    kConnectOutput,       // the inserted filter into the downstream pin
};

// One edit of a graph (best held stopped). Unless Commit is called, the destructor puts the graph
// back: the filters added since the splice began go, then the links it took apart are made again,
// the last first. An undo step that fails is handed to the failure log.
class GraphSplice {
public:
    using FailureLog = std::function<void(HRESULT)>;

    GraphSplice(IGraphBuilder* graph, FailureLog logFailure);
    ~GraphSplice();
    GraphSplice(const GraphSplice&) = delete;
    GraphSplice& operator=(const GraphSplice&) = delete;

    // Keeps the link that ends in input (nothing when it is not connected) to be made again on undo,
    // without touching the graph.
    void Keep(IPin* input);
    // Keeps the link that ends in input and disconnects both its ends, input first. S_OK, or the
    // failing result with the step in *failed.
    HRESULT TakeApart(IPin* input, SpliceStep* failed);
    // Disconnects one pin; its link must have been kept for the undo to make it again.
    HRESULT Disconnect(IPin* pin);
    // Connects upstream to in, then out to downstream (intelligent connects: filters the graph puts
    // between go on undo too). E_POINTER without an upstream pin. S_OK, or the failing result with
    // the step in *failed.
    HRESULT Insert(IPin* upstream, IPin* in, IPin* out, IPin* downstream, SpliceStep* failed);
    // The edit stays.
    void Commit() { m_committed = true; }

private:
    // A direct connection taken apart, kept with its media type so that the undo can make it again.
    class TakenLink {
    public:
        TakenLink(qel::ComPtr<IPin> out, qel::ComPtr<IPin> in);
        ~TakenLink();
        TakenLink(const TakenLink&) = delete;
        TakenLink& operator=(const TakenLink&) = delete;
        // S_OK when the link stands again (or still stands); the failing result otherwise.
        HRESULT Remake(IGraphBuilder* graph);

    private:
        qel::ComPtr<IPin> m_out;
        qel::ComPtr<IPin> m_in;
        AM_MEDIA_TYPE m_type = {};
        bool m_haveType = false;
    };

    void Undo();

    qel::ComPtr<IGraphBuilder> m_graph;
    FailureLog m_logFailure;
    std::vector<qel::ComPtr<IBaseFilter>> m_filtersBefore;
    std::vector<std::unique_ptr<TakenLink>> m_links;
    bool m_committed = false;
};

// The pin at the other end of pin's link, or null.
qel::ComPtr<IPin> PeerOf(IPin* pin);
// Every filter of the graph, in enumeration order.
std::vector<qel::ComPtr<IBaseFilter>> FiltersOf(IGraphBuilder* graph);
