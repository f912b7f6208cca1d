#pragma once
// Small pieces the reader's graph builders share: making and adding filters, the grabber ends of both
// graphs, connecting a pin through a grabber into a renderer, and media-type clean-up.
#include <windows.h>
#include <dshow.h>
#include <qedit.h>

#include "qeldshow/com_ptr.h"

namespace readerparts {

// Creates a filter by class id; null (and *hr set when given) when it cannot be made.
qel::ComPtr<IBaseFilter> CreateFilter(REFCLSID clsid, HRESULT* hr = nullptr);
// Creates and adds a filter under name; null when either step fails (*hr says why).
qel::ComPtr<IBaseFilter> AddNewFilter(IGraphBuilder* graph, REFCLSID clsid, const wchar_t* name, HRESULT* hr = nullptr);

// A sample grabber for the given major and subtype, added under name. For video the outside grabber
// class is tried first. *grabber gets its ISampleGrabber.
HRESULT AddGrabber(IGraphBuilder* graph, bool video, const wchar_t* name, qel::ComPtr<IBaseFilter>* filter,
                   qel::ComPtr<ISampleGrabber>* grabber);

// A grabber (as AddGrabber) and a Null Renderer added under sinkName: the end of either stream's graph.
HRESULT AddGrabberAndSink(IGraphBuilder* graph, bool video, qel::ComPtr<IBaseFilter>* grabberFilter,
                          qel::ComPtr<ISampleGrabber>* grabber, qel::ComPtr<IBaseFilter>* sink);

// RenderStream from feed (a pin or a filter) through grabber into sink; where the builder cannot
// render from it, the three are connected directly.
HRESULT RenderThrough(ICaptureGraphBuilder2* builder, IGraphBuilder* graph, IUnknown* feed, const GUID* mediaType,
                      IBaseFilter* grabber, IBaseFilter* sink);

// Whether the filter's class is clsid.
bool HasClass(IBaseFilter* filter, REFCLSID clsid);
// The output pin connected to the filter's first input pin (null when none), and that input pin.
qel::ComPtr<IPin> UpstreamOfFirstInput(IBaseFilter* filter, qel::ComPtr<IPin>* input);
// The owner filter of a pin.
qel::ComPtr<IBaseFilter> OwnerOf(IPin* pin);

void FreeMediaType(AM_MEDIA_TYPE& type);
// Wide form of an ANSI path, at most MAX_PATH characters.
void WidePath(const char* path, wchar_t (&wide)[MAX_PATH]);
// Drops every event waiting in the graph's queue.
void DrainEvents(IMediaEvent* events);
// Waits for the graph's EC_COMPLETE (or an abort) through its event queue, at most limitMs; true when
// it came. Wine's WaitForCompletion answers at once for a graph that completed once before, so the
// queue is read instead; drain it before the run.
bool WaitForGraphEnd(IMediaEvent* events, long limitMs);

// Takes the graph's reference clock away, so that it runs as fast as the grabbers let it.
HRESULT RunWithoutClock(IGraphBuilder* graph);

} // namespace readerparts
