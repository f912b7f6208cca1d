#pragma once
// One output pin of the synthetic camera: a live stream of test frames at the camera's format,
// paced by the graph's clock, with the pin category, stream configuration and drop statistics a
// capture driver's pins offer.
#include <windows.h>
#include <dshow.h>

#include <mutex>
#include <vector>

#include "camera_formats.h"
#include "qeldshow/source_filter.h"

class CTestCamera;

class CCameraStream : public CSourceStream, public IAMStreamConfig, public IKsPropertySet, public IAMDroppedFrames,
                      public ISpecifyPropertyPages {
public:
    // category: PIN_CATEGORY_CAPTURE or PIN_CATEGORY_PREVIEW.
    CCameraStream(HRESULT* hr, CTestCamera* camera, LPCWSTR name, const GUID& category);

    // A pin's interfaces answer for the pin and count on the filter (DECLARE_IUNKNOWN would loop back
    // into the pin's own AddRef).
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override { return NonDelegatingQueryInterface(riid, ppv); }
    STDMETHODIMP_(ULONG) AddRef() override { return CSourceStream::AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return CSourceStream::Release(); }
    STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    // IAMStreamConfig
    STDMETHODIMP SetFormat(AM_MEDIA_TYPE* type) override;
    STDMETHODIMP GetFormat(AM_MEDIA_TYPE** type) override;
    STDMETHODIMP GetNumberOfCapabilities(int* count, int* size) override;
    STDMETHODIMP GetStreamCaps(int index, AM_MEDIA_TYPE** type, BYTE* caps) override;
    // IKsPropertySet
    STDMETHODIMP Set(REFGUID set, DWORD id, LPVOID instance, DWORD instanceSize, LPVOID data, DWORD dataSize) override;
    STDMETHODIMP Get(REFGUID set, DWORD id, LPVOID instance, DWORD instanceSize, LPVOID data, DWORD dataSize,
                     DWORD* returned) override;
    STDMETHODIMP QuerySupported(REFGUID set, DWORD id, DWORD* support) override;
    // ISpecifyPropertyPages (the capture pin of the variant with pages)
    STDMETHODIMP GetPages(CAUUID* pages) override;
    // IAMDroppedFrames
    STDMETHODIMP GetNumDropped(LONG* count) override;
    STDMETHODIMP GetNumNotDropped(LONG* count) override;
    STDMETHODIMP GetDroppedInfo(LONG size, LONG* frames, LONG* copied) override;
    STDMETHODIMP GetAverageFrameSize(LONG* size) override;

    // CSourceStream / CBasePin
    HRESULT GetMediaType(int position, CMediaType* type) override;
    HRESULT CheckMediaType(const CMediaType* type) override;
    HRESULT SetMediaType(const CMediaType* type) override;
    HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override;
    HRESULT FillBuffer(IMediaSample* sample) override;
    HRESULT OnThreadStartPlay() override;
    bool DeliversWhilePaused() const override { return false; }
    HRESULT Active() override;
    HRESULT Deliver(IMediaSample* sample) override;

    const GUID& Category() const { return category_; }
    bool IsCapture() const { return category_ == PIN_CATEGORY_CAPTURE; }
    // Changes the connection's frame rate in place (same frame size, so no reconnection is needed).
    void UpdateFrameInterval(REFERENCE_TIME interval);

private:
    // Stream time now: the graph clock's, or time since the first frame when there is no clock.
    bool Now(REFERENCE_TIME* now, bool* fromClock);
    // Waits until stream time reaches due; false when the pin is being stopped meanwhile.
    bool WaitUntil(REFERENCE_TIME due);

    CTestCamera* camera_;
    GUID category_;

    // Streaming state (streaming thread only, statistics read under statsLock_).
    REFERENCE_TIME interval_ = 333333;
    LONGLONG frameIndex_ = 0;
    LARGE_INTEGER wallStart_ = {};
    bool firstFrame_ = true;
    std::mutex statsLock_;
    LONG dropped_ = 0;
    LONG notDropped_ = 0;
    LONG frameBytes_ = 0;
    std::vector<LONG> droppedFrames_;
};
