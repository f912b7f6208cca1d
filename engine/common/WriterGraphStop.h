#pragma once
// Stopping a graph that writes a file while its sources still deliver. A graph stops its filters
// from the file end up, so the multiplexer closes its output while samples still arrive; Wine's AVI
// multiplexer takes samples without a lock or a state check and then writes to the stream its stop
// has already let go (a null pointer read, or two threads in its sample queue and a stop that never
// returns). Here the graph pauses, every filter but the writer's stops (their streaming threads end
// with it), and only then does the graph stop, the multiplexer writing its index with nothing arriving.
#include <windows.h>
#include <dshow.h>

#include <initializer_list>

// `writers` are the filters that write the file (the multiplexer and its sink, or one writer); null
// entries are skipped. Returns the graph's Stop result, or the error that kept it from being asked.
HRESULT StopWritingGraph(IGraphBuilder* graph, std::initializer_list<IBaseFilter*> writers);
