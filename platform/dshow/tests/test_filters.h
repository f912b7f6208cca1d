#pragma once
// Small filters built on our base for the tests: an RGB24 push source with a recognisable pattern
// and time stamps, and a transform that inverts every byte.
#include "qeldshow/com_ptr.h"
#include "qeldshow/source_filter.h"
#include "qeldshow/transform_filter.h"

#include <atomic>
#include <mutex>
#include <vector>

namespace dshowtest {

// {5E1A7C10-8B2D-4F3E-9A61-0C4D2B7E9F01}, {5E1A7C11-...}: test-only class IDs.
extern const CLSID CLSID_TestPushSource;
extern const CLSID CLSID_TestInvert;

// Byte i of frame n: (n * 7 + i) & 0xFF.
inline BYTE PatternByte(LONG frame, size_t index) { return static_cast<BYTE>((frame * 7 + index) & 0xFF); }

struct SourceSettings {
    LONG width = 32;
    LONG height = 24;
    REFERENCE_TIME frameTime = 333333;  // 30 fps
    LONG frameCount = 10;               // then end of stream; < 0 streams until stopped
    bool live = false;                  // deliver only while running
    bool truncatedFormat = false;       // offer a VIDEOINFOHEADER block cut short
    HRESULT failAtFrame = S_OK;         // FillBuffer fails with this at frame failFrame
    LONG failFrame = -1;
    LONG stallAtFrame = -1;             // from this frame on FillBuffer waits until the stop
    bool failActive = false;            // the pin refuses to start
};

class CTestPushSource;

// Just enough IMediaSeeking on the source pin to see calls pass through a transform: the duration
// is the stream's length, the rate is remembered, the rest is not implemented.
class CTestSeeking : public IMediaSeeking {
public:
    CTestSeeking(IPin* pin, const SourceSettings& settings) : pin_(pin), settings_(settings) {}
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override { return pin_->QueryInterface(riid, ppv); }
    STDMETHODIMP_(ULONG) AddRef() override { return pin_->AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return pin_->Release(); }
    STDMETHODIMP GetCapabilities(DWORD* caps) override;
    STDMETHODIMP CheckCapabilities(DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP IsFormatSupported(const GUID* format) override;
    STDMETHODIMP QueryPreferredFormat(GUID*) override { return E_NOTIMPL; }
    STDMETHODIMP GetTimeFormat(GUID* format) override;
    STDMETHODIMP IsUsingTimeFormat(const GUID* format) override;
    STDMETHODIMP SetTimeFormat(const GUID* format) override;
    STDMETHODIMP GetDuration(LONGLONG* duration) override;
    STDMETHODIMP GetStopPosition(LONGLONG* stop) override;
    STDMETHODIMP GetCurrentPosition(LONGLONG* current) override;
    STDMETHODIMP ConvertTimeFormat(LONGLONG*, const GUID*, LONGLONG, const GUID*) override { return E_NOTIMPL; }
    STDMETHODIMP SetPositions(LONGLONG*, DWORD, LONGLONG*, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetPositions(LONGLONG*, LONGLONG*) override { return E_NOTIMPL; }
    STDMETHODIMP GetAvailable(LONGLONG*, LONGLONG*) override { return E_NOTIMPL; }
    STDMETHODIMP SetRate(double rate) override;
    STDMETHODIMP GetRate(double* rate) override;
    STDMETHODIMP GetPreroll(LONGLONG*) override { return E_NOTIMPL; }

private:
    IPin* pin_;
    const SourceSettings& settings_;
    double rate_ = 1.0;
};

class CTestStream : public CSourceStream {
public:
    CTestStream(HRESULT* result, CTestPushSource* filter, const SourceSettings& settings);
    STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    HRESULT GetMediaType(int position, CMediaType* type) override;
    HRESULT CheckMediaType(const CMediaType* type) override;
    HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override;
    HRESULT FillBuffer(IMediaSample* sample) override;
    HRESULT OnThreadStartPlay() override;
    bool DeliversWhilePaused() const override { return !settings_.live; }
    HRESULT Active() override { return settings_.failActive ? E_FAIL : CSourceStream::Active(); }

    LONG FramesFilled() const { return next_; }

private:
    SourceSettings settings_;
    std::atomic<LONG> next_{0};
    CTestSeeking seeking_;
};

class CTestPushSource : public CSource {
public:
    explicit CTestPushSource(const SourceSettings& settings = SourceSettings(), IUnknown* outer = nullptr);
    CTestStream* Stream() const { return stream_; }

private:
    CTestStream* stream_;
};

class CInvertFilter : public CTransformFilter {
public:
    explicit CInvertFilter(IUnknown* outer = nullptr);

    HRESULT CheckInputType(const CMediaType* in) override;
    HRESULT CheckTransform(const CMediaType* in, const CMediaType* out) override;
    HRESULT GetMediaType(int position, CMediaType* type) override;
    HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override;
    HRESULT Transform(IMediaSample* in, IMediaSample* out) override;
    HRESULT StartStreaming() override;
    HRESULT StopStreaming() override;

    // Shrinks the output buffers by this many bytes (to provoke a too-small buffer).
    void SetOutputShortfall(LONG bytes) { shortfall_ = bytes; }
    // Every other sample is dropped (Transform answers S_FALSE).
    void SetDropEveryOther(bool drop) { dropEveryOther_ = drop; }

    std::atomic<LONG> transformed{0};
    std::atomic<LONG> starts{0};
    std::atomic<LONG> stops{0};
    std::atomic<HRESULT> lastTransformResult{S_OK};

private:
    LONG shortfall_ = 0;
    bool dropEveryOther_ = false;
    LONG seen_ = 0;
};

// What a test sink saw of one sample.
struct ReceivedSample {
    HRESULT timeResult = S_OK;
    REFERENCE_TIME start = 0, stop = 0;
    HRESULT mediaTimeResult = S_OK;
    LONGLONG mediaStart = 0, mediaStop = 0;
    bool sync = false, preroll = false, discontinuity = false;
    bool hasMediaType = false;
    LONG length = 0;
    std::vector<BYTE> data;
};

class CTestSink;

class CTestSinkPin : public CBaseInputPin {
public:
    CTestSinkPin(HRESULT* result, CTestSink* filter);
    HRESULT CheckMediaType(const CMediaType* type) override;
    STDMETHODIMP GetAllocator(IMemAllocator** allocator) override;
    STDMETHODIMP NotifyAllocator(IMemAllocator* allocator, BOOL readOnly) override;
    STDMETHODIMP Receive(IMediaSample* sample) override;
    STDMETHODIMP EndOfStream() override;
    STDMETHODIMP BeginFlush() override;
    STDMETHODIMP EndFlush() override;
    STDMETHODIMP NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) override;

private:
    CTestSink* sink_;
};

// A renderer-like filter of ours that records every sample and stream call. It can keep the
// samples it receives (to starve the upstream allocator) until ReleaseHeld.
class CTestSink : public CBaseFilter {
public:
    CTestSink();
    ~CTestSink() override;
    int GetPinCount() override { return 1; }
    CBasePin* GetPin(int index) override { return index == 0 ? pin_ : nullptr; }

    std::vector<ReceivedSample> Samples();
    size_t Count();
    void SetHoldSamples(bool hold) { hold_ = hold; }
    // The pin offers no allocator of its own (upstream must bring one).
    void SetNoAllocator(bool none) { noAllocator_ = none; }
    // The pin offers this allocator (as a sample grabber offers the pool of its previous upstream
    // link); with onlyThat, it refuses any other.
    void SetOfferedAllocator(IMemAllocator* allocator, bool onlyThat) {
        offered_ = allocator;
        onlyOffered_ = onlyThat;
    }
    IMemAllocator* NotifiedAllocator() const { return pin_->Allocator(); }
    void ReleaseHeld();

    std::atomic<LONG> endOfStreams{0};
    std::atomic<LONG> beginFlushes{0};
    std::atomic<LONG> endFlushes{0};
    std::atomic<LONG> newSegments{0};
    REFERENCE_TIME segmentStart = 0, segmentStop = 0;
    double segmentRate = 0;

private:
    friend class CTestSinkPin;
    CCritSec lock_;
    CTestSinkPin* pin_;
    std::mutex mutex_;
    std::vector<ReceivedSample> samples_;
    std::vector<IMediaSample*> held_;
    std::atomic<bool> hold_{false};
    bool noAllocator_ = false;
    qel::ComPtr<IMemAllocator> offered_;
    bool onlyOffered_ = false;
};

} // namespace dshowtest
