#pragma once
// The platform's AVI multiplexer with our file sink behind it, added under the names a capture graph
// builder gives them ("Mux", "File Writer") with the file set. Every AVI recording is written this
// way, whatever the builder could do, because our sink keeps a recording cut short repairable; the
// trim editor takes it where the builder cannot name an AVI output file (Wine's answers E_NOTIMPL).
#include <windows.h>
#include <dshow.h>

// The multiplexer interleaves fully: Wine's runs in no other mode (it accepts the others and then
// fails in the stream). On success *mux and *sink carry one reference each. On failure nothing stays
// in the graph and both are null.
HRESULT BuildAviMuxWithSink(IGraphBuilder* graph, const WCHAR* file, IBaseFilter** mux, IFileSinkFilter** sink);
