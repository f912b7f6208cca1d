#pragma once
// Where a capture graph builder cannot name an AVI output file (Wine's answers E_NOTIMPL): the
// platform's AVI multiplexer with full interleaving, which that multiplexer needs to run, and our
// file sink behind it, added under the builder's names ("Mux", "File Writer") with the file set.
#include <windows.h>
#include <dshow.h>

// On success *mux and *sink carry one reference each. On failure nothing stays in the graph and both
// are null.
HRESULT BuildAviMuxFallback(IGraphBuilder* graph, const WCHAR* file, IBaseFilter** mux, IFileSinkFilter** sink);
