#pragma once
// Our memory allocator and its samples. The allocator owns a fixed set of buffers made at Commit;
// GetBuffer hands out a free sample (waiting for one unless AM_GBF_NOWAIT) and the sample returns
// to the free list when its last reference goes. Every sample out holds a reference on the
// allocator, so the allocator outlives its samples. Decommit wakes waiters (they get
// VFW_E_NOT_COMMITTED) and frees the memory once every sample is back.
#include "qeldshow/unknown.h"

#include <dshow.h>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <vector>

class CMemAllocator;

class CMediaSample : public IMediaSample {
public:
    CMediaSample(CMemAllocator* allocator, BYTE* buffer, LONG size);
    ~CMediaSample();
    CMediaSample(const CMediaSample&) = delete;
    CMediaSample& operator=(const CMediaSample&) = delete;

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    STDMETHODIMP GetPointer(BYTE** buffer) override;
    STDMETHODIMP_(LONG) GetSize() override;
    STDMETHODIMP GetTime(REFERENCE_TIME* start, REFERENCE_TIME* stop) override;
    STDMETHODIMP SetTime(REFERENCE_TIME* start, REFERENCE_TIME* stop) override;
    STDMETHODIMP IsSyncPoint() override;
    STDMETHODIMP SetSyncPoint(BOOL sync) override;
    STDMETHODIMP IsPreroll() override;
    STDMETHODIMP SetPreroll(BOOL preroll) override;
    STDMETHODIMP_(LONG) GetActualDataLength() override;
    STDMETHODIMP SetActualDataLength(LONG length) override;
    STDMETHODIMP GetMediaType(AM_MEDIA_TYPE** type) override;
    STDMETHODIMP SetMediaType(AM_MEDIA_TYPE* type) override;
    STDMETHODIMP IsDiscontinuity() override;
    STDMETHODIMP SetDiscontinuity(BOOL discontinuity) override;
    STDMETHODIMP GetMediaTime(LONGLONG* start, LONGLONG* stop) override;
    STDMETHODIMP SetMediaTime(LONGLONG* start, LONGLONG* stop) override;

private:
    friend class CMemAllocator;
    // Back to a fresh sample before it is handed out again.
    void ResetProperties();

    CMemAllocator* allocator_;
    BYTE* buffer_;
    LONG size_;
    std::atomic<LONG> refs_{0};
    LONG actual_;
    bool timeValid_ = false;
    bool stopValid_ = false;
    REFERENCE_TIME start_ = 0;
    REFERENCE_TIME stop_ = 0;
    bool mediaTimeValid_ = false;
    LONGLONG mediaStart_ = 0;
    LONGLONG mediaStop_ = 0;
    bool sync_ = false;
    bool preroll_ = false;
    bool discontinuity_ = false;
    AM_MEDIA_TYPE* type_ = nullptr;
};

class CMemAllocator : public CUnknown, public IMemAllocator {
public:
    explicit CMemAllocator(IUnknown* outer = nullptr);
    ~CMemAllocator() override;

    // A new allocator, AddRef'd once for the caller.
    static HRESULT Create(IMemAllocator** allocator);

    DECLARE_IUNKNOWN
    STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    STDMETHODIMP SetProperties(ALLOCATOR_PROPERTIES* request, ALLOCATOR_PROPERTIES* actual) override;
    STDMETHODIMP GetProperties(ALLOCATOR_PROPERTIES* props) override;
    STDMETHODIMP Commit() override;
    STDMETHODIMP Decommit() override;
    STDMETHODIMP GetBuffer(IMediaSample** sample, REFERENCE_TIME* start, REFERENCE_TIME* stop,
                           DWORD flags) override;
    STDMETHODIMP ReleaseBuffer(IMediaSample* sample) override;

    // Samples not yet returned (for tests and diagnostics).
    LONG OutstandingCount();

private:
    void FreeMemoryLocked();

    std::mutex mutex_;
    std::condition_variable freed_;
    ALLOCATOR_PROPERTIES props_{};
    bool propsSet_ = false;
    bool committed_ = false;
    bool decommitPending_ = false;
    std::vector<std::unique_ptr<CMediaSample>> samples_;
    std::vector<CMediaSample*> free_;
    BYTE* memory_ = nullptr;
};
