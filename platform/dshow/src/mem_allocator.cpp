#include "qeldshow/mem_allocator.h"

#include "qeldshow/media_type.h"

#include <cstdint>
#include <malloc.h>
#include <new>

// ---- CMediaSample ----------------------------------------------------------------------------

CMediaSample::CMediaSample(CMemAllocator* allocator, BYTE* buffer, LONG size)
    : allocator_(allocator), buffer_(buffer), size_(size), actual_(size) {}

CMediaSample::~CMediaSample() { DeleteMediaType(type_); }

void CMediaSample::ResetProperties() {
    actual_ = size_;
    timeValid_ = stopValid_ = mediaTimeValid_ = false;
    start_ = stop_ = mediaStart_ = mediaStop_ = 0;
    sync_ = preroll_ = discontinuity_ = false;
    DeleteMediaType(type_);
    type_ = nullptr;
}

STDMETHODIMP CMediaSample::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv)
        return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IMediaSample)
        return GetInterface(static_cast<IMediaSample*>(this), ppv);
    *ppv = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CMediaSample::AddRef() { return static_cast<ULONG>(++refs_); }

STDMETHODIMP_(ULONG) CMediaSample::Release() {
    const LONG left = --refs_;
    if (left == 0) {
        // Back to the free list; the allocator may free this sample inside the call.
        allocator_->ReleaseBuffer(this);
        return 0;
    }
    return static_cast<ULONG>(left);
}

STDMETHODIMP CMediaSample::GetPointer(BYTE** buffer) {
    if (!buffer)
        return E_POINTER;
    *buffer = buffer_;
    return S_OK;
}

STDMETHODIMP_(LONG) CMediaSample::GetSize() { return size_; }

STDMETHODIMP CMediaSample::GetTime(REFERENCE_TIME* start, REFERENCE_TIME* stop) {
    if (!start || !stop)
        return E_POINTER;
    if (!timeValid_)
        return VFW_E_SAMPLE_TIME_NOT_SET;
    *start = start_;
    if (!stopValid_) {
        *stop = start_ + 1;
        return VFW_S_NO_STOP_TIME;
    }
    *stop = stop_;
    return S_OK;
}

STDMETHODIMP CMediaSample::SetTime(REFERENCE_TIME* start, REFERENCE_TIME* stop) {
    if (!start) {
        timeValid_ = stopValid_ = false;
        return S_OK;
    }
    timeValid_ = true;
    start_ = *start;
    stopValid_ = stop != nullptr;
    stop_ = stop ? *stop : 0;
    return S_OK;
}

STDMETHODIMP CMediaSample::IsSyncPoint() { return sync_ ? S_OK : S_FALSE; }
STDMETHODIMP CMediaSample::SetSyncPoint(BOOL sync) {
    sync_ = sync != FALSE;
    return S_OK;
}
STDMETHODIMP CMediaSample::IsPreroll() { return preroll_ ? S_OK : S_FALSE; }
STDMETHODIMP CMediaSample::SetPreroll(BOOL preroll) {
    preroll_ = preroll != FALSE;
    return S_OK;
}
STDMETHODIMP CMediaSample::IsDiscontinuity() { return discontinuity_ ? S_OK : S_FALSE; }
STDMETHODIMP CMediaSample::SetDiscontinuity(BOOL discontinuity) {
    discontinuity_ = discontinuity != FALSE;
    return S_OK;
}

STDMETHODIMP_(LONG) CMediaSample::GetActualDataLength() { return actual_; }

STDMETHODIMP CMediaSample::SetActualDataLength(LONG length) {
    if (length < 0 || length > size_)
        return VFW_E_BUFFER_OVERFLOW;
    actual_ = length;
    return S_OK;
}

STDMETHODIMP CMediaSample::GetMediaType(AM_MEDIA_TYPE** type) {
    if (!type)
        return E_POINTER;
    *type = nullptr;
    if (!type_)
        return S_FALSE;
    *type = CreateMediaType(type_);
    return *type ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP CMediaSample::SetMediaType(AM_MEDIA_TYPE* type) {
    DeleteMediaType(type_);
    type_ = nullptr;
    if (!type)
        return S_OK;
    type_ = CreateMediaType(type);
    return type_ ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP CMediaSample::GetMediaTime(LONGLONG* start, LONGLONG* stop) {
    if (!start || !stop)
        return E_POINTER;
    if (!mediaTimeValid_)
        return VFW_E_MEDIA_TIME_NOT_SET;
    *start = mediaStart_;
    *stop = mediaStop_;
    return S_OK;
}

STDMETHODIMP CMediaSample::SetMediaTime(LONGLONG* start, LONGLONG* stop) {
    if (!start || !stop) {
        mediaTimeValid_ = false;
        return S_OK;
    }
    mediaTimeValid_ = true;
    mediaStart_ = *start;
    mediaStop_ = *stop;
    return S_OK;
}

// ---- CMemAllocator ---------------------------------------------------------------------------

CMemAllocator::CMemAllocator(IUnknown* outer) : CUnknown("memory allocator", outer) {}

CMemAllocator::~CMemAllocator() {
    std::lock_guard<std::mutex> lock(mutex_);
    FreeMemoryLocked();
}

HRESULT CMemAllocator::Create(IMemAllocator** allocator) {
    if (!allocator)
        return E_POINTER;
    auto* created = new (std::nothrow) CMemAllocator();
    if (!created) {
        *allocator = nullptr;
        return E_OUTOFMEMORY;
    }
    return created->NonDelegatingQueryInterface(IID_IMemAllocator, reinterpret_cast<void**>(allocator));
}

STDMETHODIMP CMemAllocator::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
    if (!ppv)
        return E_POINTER;
    if (riid == IID_IMemAllocator)
        return GetInterface(static_cast<IMemAllocator*>(this), ppv);
    return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

STDMETHODIMP CMemAllocator::SetProperties(ALLOCATOR_PROPERTIES* request, ALLOCATOR_PROPERTIES* actual) {
    if (!request || !actual)
        return E_POINTER;
    std::lock_guard<std::mutex> lock(mutex_);
    if (committed_)
        return VFW_E_ALREADY_COMMITTED;
    if (free_.size() != samples_.size())
        return VFW_E_BUFFERS_OUTSTANDING;
    const LONG align = request->cbAlign;
    if (align <= 0 || (align & (align - 1)) != 0)
        return VFW_E_BADALIGN;
    if (request->cBuffers <= 0 || request->cbBuffer < 0 || request->cbPrefix < 0)
        return E_INVALIDARG;
    // Each buffer, prefix included, starts on the alignment; the spare tail is granted to cbBuffer.
    const int64_t span = static_cast<int64_t>(request->cbPrefix) + request->cbBuffer;
    const int64_t alignedSpan = (span + align - 1) / align * align;
    if (alignedSpan > 0x7FFFFFFF || alignedSpan * request->cBuffers > 0x7FFFFFFF)
        return E_OUTOFMEMORY;
    FreeMemoryLocked();
    props_ = *request;
    props_.cbBuffer = static_cast<LONG>(alignedSpan - request->cbPrefix);
    propsSet_ = true;
    *actual = props_;
    return S_OK;
}

STDMETHODIMP CMemAllocator::GetProperties(ALLOCATOR_PROPERTIES* props) {
    if (!props)
        return E_POINTER;
    std::lock_guard<std::mutex> lock(mutex_);
    *props = props_;
    return S_OK;
}

STDMETHODIMP CMemAllocator::Commit() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!propsSet_)
        return VFW_E_SIZENOTSET;
    if (committed_)
        return S_OK;
    if (decommitPending_) {
        // Samples from before the decommit are still out: keep using the same memory.
        decommitPending_ = false;
        committed_ = true;
        return S_OK;
    }
    const LONG span = props_.cbPrefix + props_.cbBuffer;
    const size_t total = static_cast<size_t>(span) * static_cast<size_t>(props_.cBuffers);
    memory_ = static_cast<BYTE*>(_aligned_malloc(total ? total : 1, static_cast<size_t>(props_.cbAlign)));
    if (!memory_)
        return E_OUTOFMEMORY;
    samples_.reserve(static_cast<size_t>(props_.cBuffers));
    for (LONG i = 0; i < props_.cBuffers; ++i) {
        BYTE* buffer = memory_ + static_cast<size_t>(i) * static_cast<size_t>(span) + props_.cbPrefix;
        samples_.push_back(std::make_unique<CMediaSample>(this, buffer, props_.cbBuffer));
        free_.push_back(samples_.back().get());
    }
    committed_ = true;
    return S_OK;
}

STDMETHODIMP CMemAllocator::Decommit() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!committed_)
            return S_OK;
        committed_ = false;
        if (free_.size() == samples_.size())
            FreeMemoryLocked();
        else
            decommitPending_ = true;
    }
    freed_.notify_all();
    return S_OK;
}

STDMETHODIMP CMemAllocator::GetBuffer(IMediaSample** sample, REFERENCE_TIME*, REFERENCE_TIME*, DWORD flags) {
    if (!sample)
        return E_POINTER;
    *sample = nullptr;
    CMediaSample* taken = nullptr;
    {
        std::unique_lock<std::mutex> lock(mutex_);
        for (;;) {
            if (!committed_)
                return VFW_E_NOT_COMMITTED;
            if (!free_.empty())
                break;
            if (flags & AM_GBF_NOWAIT)
                return VFW_E_TIMEOUT;
            freed_.wait(lock);
        }
        taken = free_.back();
        free_.pop_back();
        taken->ResetProperties();
        taken->refs_ = 1;
    }
    AddRef();  // released when the sample comes back
    *sample = taken;
    return S_OK;
}

STDMETHODIMP CMemAllocator::ReleaseBuffer(IMediaSample* sample) {
    if (!sample)
        return E_POINTER;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        CMediaSample* ours = nullptr;
        for (const auto& owned : samples_)
            if (static_cast<IMediaSample*>(owned.get()) == sample)
                ours = owned.get();
        if (!ours)
            return E_INVALIDARG;
        free_.push_back(ours);
        if (decommitPending_ && free_.size() == samples_.size())
            FreeMemoryLocked();
    }
    freed_.notify_all();
    Release();  // may be the last reference: nothing of this object is touched afterwards
    return S_OK;
}

LONG CMemAllocator::OutstandingCount() {
    std::lock_guard<std::mutex> lock(mutex_);
    return static_cast<LONG>(samples_.size() - free_.size());
}

void CMemAllocator::FreeMemoryLocked() {
    free_.clear();
    samples_.clear();
    if (memory_)
        _aligned_free(memory_);
    memory_ = nullptr;
    decommitPending_ = false;
}
