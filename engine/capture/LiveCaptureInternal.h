#pragma once
// What the engine's sources share and the host never sees: logging, reference helpers, interface
// declarations the platform headers lack.
#include <windows.h>
#include <dshow.h>
#include <qedit.h>

#include "EngineCom.h"
#include "LiveCapture.h"

// In the platform's GUID library, but not declared by qedit.h.
EXTERN_C const CLSID CLSID_SampleGrabber;

// The source file's own name (without folders), as the error log records it.
constexpr const char* LiveCapSourceName(const char* path) {
    const char* name = path;
    for (const char* p = path; *p; ++p)
        if (*p == '/' || *p == '\\')
            name = p + 1;
    return name;
}

// Appends one record to the error log when the object's log flag is set.
#define LIVECAP_LOG(object, result) (object)->MyShowErrMSG((result), LiveCapSourceName(__FILE__), __LINE__)

// Stops each filter of the graph itself: after a failed Run or Stop some graph managers leave their
// filters paused.
void StopEveryFilter(IGraphBuilder* graph);

// The frame rate as AvgTimePerFrame: 10,000,000 / rate (32-bit division, widened).
inline REFERENCE_TIME FrameRateToAvgTime(int frameRate) {
    return static_cast<REFERENCE_TIME>(10000000 / frameRate);
}

// Error text of a result for the log (AMGetErrorTextA into a buffer of 160 characters) and the
// record "\n\n\n<text>\n in <file>\n Line <line>\nCLiveCapture,Err code: <dec>,Hex: 0x<hex8>".
VOSTREL_API CString FormatLiveCapLogRecord(HRESULT result, const char* errorText, const char* sourceFile,
                                           int line);

// Sample-grabber callback of the preview graph: owned by its engine object, not reference counted.
class CLiveCaptureGrabberCB : public ISampleGrabberCB {
public:
    explicit CLiveCaptureGrabberCB(CLiveCapture* owner) : m_pOwner(owner) {}
    virtual ~CLiveCaptureGrabberCB() = default;

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP SampleCB(double, IMediaSample*) override { return 0; }
    STDMETHODIMP BufferCB(double sampleTime, BYTE* buffer, long length) override;

private:
    CLiveCapture* m_pOwner;
};
