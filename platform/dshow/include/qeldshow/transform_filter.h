#pragma once
// A filter with one input and one output pin that turns each input sample into one new output
// sample (copy transform: the output buffer comes from the output pin's allocator).
//
// Deriving: implement
//   CheckInputType(in)           S_OK for an input type the filter takes
//   CheckTransform(in, out)      S_OK when it can turn in into out
//   GetMediaType(position, out)  the output types it offers (input connected at this point)
//   DecideBufferSize(alloc, rq)  set rq->cBuffers/cbBuffer, call alloc->SetProperties, check Actual
//   Transform(in, out)           write out's buffer and actual data length (CopySampleData and
//                                LockFrameBuffers below do it without overrunning either buffer);
//                                S_OK delivers out, S_FALSE drops this sample, a failure stops the
//                                stream with EC_ERRORABORT
// and optionally SetMediaType(direction, type) (called after a pin's type is set), CheckConnect,
// BreakConnect, CompleteConnect, StartStreaming/StopStreaming (Stopped <-> Paused), and
// EndOfStream/BeginFlush/EndFlush/NewSegment (the base passes them downstream).
//
// Before Transform runs, the output sample already carries the input's time stamps, media times,
// sync point, preroll and discontinuity flags and (when it changed) media type.
//
// Locks: m_csFilter is the state lock (state changes, connections); m_csReceive is held while a
// sample is processed. Stop takes both, so Transform never runs while the filter stops.
// The output pin answers IMediaSeeking and IMediaPosition by asking the filter upstream.
#include "qeldshow/input_pin.h"
#include "qeldshow/output_pin.h"

class CTransformFilter;
class CPosPassThru;

class CTransformInputPin : public CBaseInputPin {
public:
    CTransformInputPin(const char* objectName, CTransformFilter* filter, HRESULT* result, LPCWSTR pinName);

    HRESULT CheckMediaType(const CMediaType* type) override;
    HRESULT SetMediaType(const CMediaType* type) override;
    HRESULT CheckConnect(IPin* pin) override;
    HRESULT BreakConnect() override;
    HRESULT CompleteConnect(IPin* receivePin) override;

    STDMETHODIMP Receive(IMediaSample* sample) override;
    STDMETHODIMP ReceiveCanBlock() override;
    STDMETHODIMP EndOfStream() override;
    STDMETHODIMP BeginFlush() override;
    STDMETHODIMP EndFlush() override;
    STDMETHODIMP NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) override;

private:
    CTransformFilter* transform_;
};

class CTransformOutputPin : public CBaseOutputPin {
public:
    CTransformOutputPin(const char* objectName, CTransformFilter* filter, HRESULT* result, LPCWSTR pinName);
    ~CTransformOutputPin() override;

    STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    HRESULT CheckMediaType(const CMediaType* type) override;
    HRESULT GetMediaType(int position, CMediaType* type) override;
    HRESULT SetMediaType(const CMediaType* type) override;
    HRESULT CheckConnect(IPin* pin) override;
    HRESULT BreakConnect() override;
    HRESULT CompleteConnect(IPin* receivePin) override;
    HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override;

private:
    CTransformFilter* transform_;
    CPosPassThru* position_ = nullptr;  // made on first request
    // Guards only the creation of position_: the filter lock must not be taken here, because a renderer
    // asks for seeking on the streaming thread while Stop holds the filter lock and waits for that thread.
    CCritSec positionLock_;
};

class CTransformFilter : public CBaseFilter {
public:
    CTransformFilter(const char* name, IUnknown* outer, REFCLSID clsid);
    ~CTransformFilter() override;

    int GetPinCount() override { return 2; }
    CBasePin* GetPin(int index) override;

    STDMETHODIMP Stop() override;
    STDMETHODIMP Pause() override;

    // ---- what a derived filter provides ----
    virtual HRESULT CheckInputType(const CMediaType* in) = 0;
    virtual HRESULT CheckTransform(const CMediaType* in, const CMediaType* out) = 0;
    virtual HRESULT GetMediaType(int position, CMediaType* type) = 0;
    virtual HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) = 0;
    virtual HRESULT Transform(IMediaSample* in, IMediaSample* out) = 0;

    // ---- optional hooks ----
    virtual HRESULT SetMediaType(PIN_DIRECTION direction, const CMediaType* type);
    virtual HRESULT CheckConnect(PIN_DIRECTION direction, IPin* pin);
    virtual HRESULT BreakConnect(PIN_DIRECTION direction);
    virtual HRESULT CompleteConnect(PIN_DIRECTION direction, IPin* receivePin);
    virtual HRESULT StartStreaming();
    virtual HRESULT StopStreaming();
    // Called with the streaming lock held: prepare an output sample, Transform, Deliver.
    virtual HRESULT Receive(IMediaSample* sample);
    virtual HRESULT EndOfStream();
    virtual HRESULT BeginFlush();
    virtual HRESULT EndFlush();
    virtual HRESULT NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate);

    // ---- helpers for Transform ----
    // Copies in's actual data into out and sets out's actual length. When out's buffer is smaller
    // than the data, nothing is written and VFW_E_BUFFER_OVERFLOW is returned.
    static HRESULT CopySampleData(IMediaSample* in, IMediaSample* out);
    // Copies as much of in's actual data as out's buffer holds (all of it when it fits) and sets out's
    // actual length to what was copied.
    static HRESULT CopySampleDataThatFits(IMediaSample* in, IMediaSample* out);
    // The two buffers for a frame of frameBytes bytes: S_OK only when the input holds at least
    // frameBytes of data and the output buffer can take them (VFW_E_BUFFER_OVERFLOW otherwise,
    // E_POINTER for missing buffers). On success out's actual length is set to frameBytes.
    static HRESULT LockFrameBuffers(IMediaSample* in, IMediaSample* out, size_t frameBytes, const BYTE** source,
                                    BYTE** target);
    // Copies times, media times, sync point, preroll, discontinuity and (if set) the media type
    // from in to out; E_UNEXPECTED when in answers a flag query with neither S_OK nor S_FALSE.
    static HRESULT CopySampleProperties(IMediaSample* in, IMediaSample* out);

    CTransformInputPin* InputPin() const { return m_pInput; }
    CTransformOutputPin* OutputPin() const { return m_pOutput; }

protected:
    // Copies the first `length` bytes of in's buffer into out's and sets out's actual length to it.
    static HRESULT CopyLeadingBytes(IMediaSample* in, IMediaSample* out, size_t length);
    // A delivery buffer carrying in's properties (see the top of this file).
    HRESULT InitializeOutputSample(IMediaSample* in, IMediaSample** out);

    CCritSec m_csFilter;
    CCritSec m_csReceive;
    CTransformInputPin* m_pInput = nullptr;
    CTransformOutputPin* m_pOutput = nullptr;
    bool m_bEOSDelivered = false;
    bool m_bSampleSkipped = false;

    friend class CTransformInputPin;
    friend class CTransformOutputPin;
};
