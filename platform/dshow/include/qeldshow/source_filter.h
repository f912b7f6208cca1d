#pragma once
// A push source: a filter whose output pins (CSourceStream) each run a streaming thread that fills
// and delivers samples while the filter is paused or running.
//
// Deriving: make a CSource subclass that creates its pins in its constructor
// (new MyStream(&hr, this, L"Capture") adds itself to the filter, which deletes it), and a
// CSourceStream subclass that implements
//   GetMediaType(position, type)  the output types (position 0 is proposed first)
//   CheckMediaType(type)          S_OK for a type the pin can produce
//   DecideBufferSize(alloc, rq)   set rq->cBuffers/cbBuffer, SetProperties, check Actual
//   FillBuffer(sample)            write one frame: data, actual length, time stamps, flags;
//                                 S_OK delivers it, S_FALSE ends the stream (end of stream is sent
//                                 downstream), a failure ends it with EC_ERRORABORT as well
// and optionally OnThreadCreate/OnThreadDestroy (on the streaming thread, around the loop) and
// OnThreadStartPlay (before the first sample).
//
// The thread starts when the filter leaves Stopped and is joined when it stops; COM is initialised
// (multithreaded) on it. By default it also delivers while paused, as a file source would; a live
// source returns false from DeliversWhilePaused and the thread then waits until the filter runs.
// FillBuffer must not take the filter's state lock (m_cStateLock): Stop holds it while it waits
// for the thread to end. Use a lock of your own for values shared with the application thread.
// A live source also answers VFW_S_CANT_CUE from GetState while paused (override GetState).
#include "qeldshow/output_pin.h"

#include <vector>

class CSourceStream;

class CSource : public CBaseFilter {
public:
    CSource(const char* name, IUnknown* outer, REFCLSID clsid);
    ~CSource() override;

    int GetPinCount() override;
    CBasePin* GetPin(int index) override;
    // Wakes streams that wait for the filter to run (once the state says Running).
    STDMETHODIMP Run(REFERENCE_TIME start) override;

    // Pins register themselves here; the filter owns and deletes them.
    HRESULT AddPin(CSourceStream* stream);
    HRESULT RemovePin(CSourceStream* stream);
    CCritSec* pStateLock() { return &m_cStateLock; }

protected:
    CCritSec m_cStateLock;
    std::vector<CSourceStream*> m_paStreams;
};

class CSourceStream : public CBaseOutputPin {
public:
    CSourceStream(const char* objectName, HRESULT* result, CSource* filter, LPCWSTR pinName);
    ~CSourceStream() override;

    virtual HRESULT FillBuffer(IMediaSample* sample) = 0;
    virtual HRESULT OnThreadCreate() { return S_OK; }
    virtual HRESULT OnThreadDestroy() { return S_OK; }
    virtual HRESULT OnThreadStartPlay() { return S_OK; }
    virtual bool DeliversWhilePaused() const { return true; }

    HRESULT Active() override;
    HRESULT Inactive() override;
    // Tells a thread waiting for Running to look at the state again.
    void WakeUp();

    // For FillBuffer: waits up to ms (pacing a live source, or waiting for a frame that may never
    // come) and answers false at once when the stream is being stopped; FillBuffer should then
    // return S_FALSE. INFINITE waits until the stop.
    bool WaitUnlessStopping(DWORD ms);
    bool IsStopping() const { return m_stopRequested; }

    bool ThreadExists() const { return m_thread != nullptr; }
    // Samples delivered since the last start (for diagnostics and tests).
    LONG DeliveredCount() const { return m_delivered; }

protected:
    CSource* m_pFilter;

private:
    static DWORD WINAPI ThreadEntry(void* self);
    void StreamingLoop();
    // Waits until the filter runs or the thread is told to stop; true when it should go on.
    bool WaitUntilRunningOrStop();

    HANDLE m_thread = nullptr;
    HANDLE m_wake = nullptr;  // manual-reset: set when the filter runs and on stop
    HANDLE m_stopping = nullptr;  // manual-reset: set from the stop request until the next start
    volatile bool m_stopRequested = false;
    volatile LONG m_delivered = 0;
};
