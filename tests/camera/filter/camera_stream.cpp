#include "camera_stream.h"

#include <algorithm>

#include "camera_filter.h"
#include "camera_page.h"
#include "control/test_camera_exports.h"
#include "test_frame_pattern.h"

namespace {
// Statistics keep the numbers of the last dropped frames.
const size_t kDroppedFramesKept = 1024;
}  // namespace

CCameraStream::CCameraStream(HRESULT* hr, CTestCamera* camera, LPCWSTR name, const GUID& category)
    : CSourceStream("Camera stream", hr, camera, name), camera_(camera), category_(category) {}

STDMETHODIMP CCameraStream::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
    if (riid == IID_IAMStreamConfig)
        return GetInterface(static_cast<IAMStreamConfig*>(this), ppv);
    if (riid == IID_IKsPropertySet)
        return GetInterface(static_cast<IKsPropertySet*>(this), ppv);
    if (riid == IID_IAMDroppedFrames && IsCapture())
        return GetInterface(static_cast<IAMDroppedFrames*>(this), ppv);
    if (riid == IID_ISpecifyPropertyPages && IsCapture() && (camera_->Variant() & qelcam::kWithPropertyPages))
        return GetInterface(static_cast<ISpecifyPropertyPages*>(this), ppv);
    return CSourceStream::NonDelegatingQueryInterface(riid, ppv);
}

STDMETHODIMP CCameraStream::GetPages(CAUUID* pages) { return CameraPageList(pages); }

// ---- formats ---------------------------------------------------------------------------------

HRESULT CCameraStream::GetMediaType(int position, CMediaType* type) {
    if (position < 0)
        return E_INVALIDARG;
    // The current format first; while it is open, every capability after it.
    const bool onlyCurrent = camera_->FormatFixed() || camera_->OtherPinConnected(this);
    if (position == 0) {
        *type = CameraMediaType(camera_->Format());
        return type->IsValid() ? S_OK : E_OUTOFMEMORY;
    }
    if (onlyCurrent || position > CameraCapabilityCount())
        return VFW_S_NO_MORE_ITEMS;
    *type = CameraMediaType(CameraCapability(position - 1));
    return type->IsValid() ? S_OK : E_OUTOFMEMORY;
}

HRESULT CCameraStream::CheckMediaType(const CMediaType* type) {
    CameraFormat format;
    if (!type || !ParseCameraFormat(*type, &format))
        return VFW_E_TYPE_NOT_ACCEPTED;
    if ((camera_->FormatFixed() || camera_->OtherPinConnected(this)) && !format.SameSize(camera_->Format()))
        return VFW_E_TYPE_NOT_ACCEPTED;
    return S_OK;
}

HRESULT CCameraStream::SetMediaType(const CMediaType* type) {
    CameraFormat format;
    if (!ParseCameraFormat(*type, &format))
        return VFW_E_TYPE_NOT_ACCEPTED;
    // Stored as we rebuild it, so that a caller's wrong image size never sizes our buffers.
    const CMediaType rebuilt = CameraMediaType(format);
    const HRESULT hr = CSourceStream::SetMediaType(&rebuilt);
    if (SUCCEEDED(hr))
        camera_->ConnectionFormat(format);
    return hr;
}

void CCameraStream::UpdateFrameInterval(REFERENCE_TIME interval) {
    if (!IsConnected() || m_mt.formattype != FORMAT_VideoInfo || m_mt.cbFormat < sizeof(VIDEOINFOHEADER))
        return;
    reinterpret_cast<VIDEOINFOHEADER*>(m_mt.pbFormat)->AvgTimePerFrame = interval;
}

HRESULT CCameraStream::DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) {
    const VIDEOINFOHEADER* info = VideoInfoOf(m_mt);
    if (!info)
        return E_UNEXPECTED;
    const size_t frameBytes = DibImageSize(info->bmiHeader.biWidth, info->bmiHeader.biHeight, 24);
    if (frameBytes == 0)
        return E_UNEXPECTED;
    request->cBuffers = std::max(request->cBuffers, 3L);
    request->cbBuffer = std::max(request->cbBuffer, static_cast<LONG>(frameBytes));
    request->cbAlign = std::max(request->cbAlign, 1L);
    ALLOCATOR_PROPERTIES actual = {};
    const HRESULT hr = allocator->SetProperties(request, &actual);
    if (FAILED(hr))
        return hr;
    if (actual.cBuffers < 1 || actual.cbBuffer < static_cast<LONG>(frameBytes))
        return E_FAIL;
    return S_OK;
}

// ---- IAMStreamConfig ----------------------------------------------------------------------------

STDMETHODIMP CCameraStream::SetFormat(AM_MEDIA_TYPE* type) {
    if (!type)
        return E_POINTER;
    return camera_->SetStreamFormat(*type);
}

STDMETHODIMP CCameraStream::GetFormat(AM_MEDIA_TYPE** type) {
    if (!type)
        return E_POINTER;
    const CMediaType current = CameraMediaType(camera_->Format());
    *type = CreateMediaType(&current);
    return *type ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP CCameraStream::GetNumberOfCapabilities(int* count, int* size) {
    if (!count || !size)
        return E_POINTER;
    *count = CameraCapabilityCount();
    *size = sizeof(VIDEO_STREAM_CONFIG_CAPS);
    return S_OK;
}

STDMETHODIMP CCameraStream::GetStreamCaps(int index, AM_MEDIA_TYPE** type, BYTE* caps) {
    if (!type || !caps)
        return E_POINTER;
    *type = nullptr;
    if (index < 0)
        return E_INVALIDARG;
    if (index >= CameraCapabilityCount())
        return S_FALSE;
    const CameraFormat format = CameraCapability(index);
    const CMediaType capability = CameraMediaType(format);
    *type = CreateMediaType(&capability);
    if (!*type)
        return E_OUTOFMEMORY;
    FillCameraCaps(format, reinterpret_cast<VIDEO_STREAM_CONFIG_CAPS*>(caps));
    return S_OK;
}

// ---- IKsPropertySet: the pin category, read only ---------------------------------------------

STDMETHODIMP CCameraStream::Set(REFGUID set, DWORD, LPVOID, DWORD, LPVOID, DWORD) {
    return set == AMPROPSETID_Pin ? E_PROP_ID_UNSUPPORTED : E_PROP_SET_UNSUPPORTED;
}

STDMETHODIMP CCameraStream::Get(REFGUID set, DWORD id, LPVOID, DWORD, LPVOID data, DWORD dataSize,
                                DWORD* returned) {
    if (set != AMPROPSETID_Pin)
        return E_PROP_SET_UNSUPPORTED;
    if (id != AMPROPERTY_PIN_CATEGORY)
        return E_PROP_ID_UNSUPPORTED;
    if (!data && !returned)
        return E_POINTER;
    if (returned)
        *returned = sizeof(GUID);
    if (!data)
        return S_OK;  // a size query
    if (dataSize < sizeof(GUID))
        return E_UNEXPECTED;
    *static_cast<GUID*>(data) = category_;
    return S_OK;
}

STDMETHODIMP CCameraStream::QuerySupported(REFGUID set, DWORD id, DWORD* support) {
    if (set != AMPROPSETID_Pin)
        return E_PROP_SET_UNSUPPORTED;
    if (id != AMPROPERTY_PIN_CATEGORY)
        return E_PROP_ID_UNSUPPORTED;
    if (support)
        *support = KSPROPERTY_SUPPORT_GET;
    return S_OK;
}

// ---- IAMDroppedFrames ------------------------------------------------------------------------

STDMETHODIMP CCameraStream::GetNumDropped(LONG* count) {
    if (!count)
        return E_POINTER;
    std::lock_guard<std::mutex> hold(statsLock_);
    *count = dropped_;
    return S_OK;
}

STDMETHODIMP CCameraStream::GetNumNotDropped(LONG* count) {
    if (!count)
        return E_POINTER;
    std::lock_guard<std::mutex> hold(statsLock_);
    *count = notDropped_;
    return S_OK;
}

STDMETHODIMP CCameraStream::GetDroppedInfo(LONG size, LONG* frames, LONG* copied) {
    if (!frames || !copied)
        return E_POINTER;
    if (size <= 0)
        return E_INVALIDARG;
    std::lock_guard<std::mutex> hold(statsLock_);
    const LONG count = std::min(size, static_cast<LONG>(droppedFrames_.size()));
    std::copy(droppedFrames_.begin(), droppedFrames_.begin() + count, frames);
    *copied = count;
    return S_OK;
}

STDMETHODIMP CCameraStream::GetAverageFrameSize(LONG* size) {
    if (!size)
        return E_POINTER;
    std::lock_guard<std::mutex> hold(statsLock_);
    *size = notDropped_ > 0 ? frameBytes_ : 0;
    return S_OK;
}

// ---- streaming ---------------------------------------------------------------------------------

HRESULT CCameraStream::Active() {
    {
        std::lock_guard<std::mutex> hold(statsLock_);
        dropped_ = 0;
        notDropped_ = 0;
        droppedFrames_.clear();
    }
    return CSourceStream::Active();
}

HRESULT CCameraStream::Deliver(IMediaSample* sample) {
    // A frame filled while the stream was being stopped is not sent: S_FALSE ends the streaming loop
    // quietly (no end of stream, which a stopping camera does not send).
    if (IsStopping())
        return S_FALSE;
    const HRESULT hr = CSourceStream::Deliver(sample);
    // Counted once downstream has it: a recording holds exactly the frames counted here.
    if (hr == S_OK) {
        std::lock_guard<std::mutex> hold(statsLock_);
        ++notDropped_;
    }
    return hr;
}

HRESULT CCameraStream::OnThreadStartPlay() {
    frameIndex_ = 0;
    firstFrame_ = true;
    QueryPerformanceCounter(&wallStart_);
    return S_OK;
}

bool CCameraStream::Now(REFERENCE_TIME* now, bool* fromClock) {
    *fromClock = SUCCEEDED(camera_->StreamTime(*now));
    if (*fromClock)
        return true;
    LARGE_INTEGER counter = {}, frequency = {};
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    *now = static_cast<REFERENCE_TIME>(static_cast<double>(counter.QuadPart - wallStart_.QuadPart) * 1e7 /
                                       static_cast<double>(frequency.QuadPart));
    return true;
}

bool CCameraStream::WaitUntil(REFERENCE_TIME due) {
    for (;;) {
        REFERENCE_TIME now = 0;
        bool fromClock = false;
        Now(&now, &fromClock);
        if (now >= due)
            return !IsStopping();
        // In slices: the clock may be changed or run at another pace than the wait.
        if (!WaitUnlessStopping(static_cast<DWORD>(std::min<REFERENCE_TIME>((due - now + 9999) / 10000, 20))))
            return false;
    }
}

HRESULT CCameraStream::FillBuffer(IMediaSample* sample) {
    // A camera switched off by the test delivers nothing until it is switched on again; the frames
    // it did not take meanwhile are not drops.
    bool resumed = false;
    while (!camera_->Controls().Delivering()) {
        if (!WaitUnlessStopping(10))
            return S_OK;  // Deliver discards it
        resumed = true;
    }

    const VIDEOINFOHEADER* info = VideoInfoOf(m_mt);
    if (!info)
        return E_UNEXPECTED;
    const LONG width = info->bmiHeader.biWidth;
    const LONG height = info->bmiHeader.biHeight;
    interval_ = info->AvgTimePerFrame > 0 ? info->AvgTimePerFrame : kFastestFrameInterval;
    const size_t frameBytes = DibImageSize(width, height, 24);
    BYTE* buffer = nullptr;
    if (FAILED(sample->GetPointer(&buffer)) || frameBytes == 0 || sample->GetSize() < static_cast<long>(frameBytes))
        return E_UNEXPECTED;

    // Frame n is due at stream time n x interval. A frame more than one interval late was missed
    // (downstream held us up): those are dropped frames, and the stream goes on with the current one.
    REFERENCE_TIME now = 0;
    bool fromClock = false;
    Now(&now, &fromClock);
    const LONGLONG current = now > 0 ? now / interval_ : 0;
    if (current > frameIndex_ + 1 || resumed) {
        const LONGLONG missed = current - frameIndex_;
        if (!resumed && missed > 0) {
            std::lock_guard<std::mutex> hold(statsLock_);
            dropped_ += static_cast<LONG>(missed);
            for (LONGLONG n = frameIndex_; n < current && droppedFrames_.size() < kDroppedFramesKept; ++n)
                droppedFrames_.push_back(static_cast<LONG>(n));
        }
        if (current > frameIndex_)
            frameIndex_ = current;
    }
    REFERENCE_TIME start = frameIndex_ * interval_;
    if (!WaitUntil(start))
        return S_OK;  // stopping: Deliver discards it

    // A held camera shows one picture while its frames go on at the normal pace and times.
    LONGLONG shown = frameIndex_;
    camera_->Controls().HeldFrame(&shown);
    qelcam::DrawTestFrame(buffer, width, height, static_cast<ptrdiff_t>(DibStride(width, 24)),
                          static_cast<uint32_t>(shown));
    sample->SetActualDataLength(static_cast<long>(frameBytes));
    REFERENCE_TIME stop = start + interval_;
    // Without a clock a live source cannot say when a frame was taken.
    Now(&now, &fromClock);
    sample->SetTime(fromClock ? &start : nullptr, fromClock ? &stop : nullptr);
    LONGLONG mediaStart = frameIndex_, mediaStop = frameIndex_ + 1;
    sample->SetMediaTime(&mediaStart, &mediaStop);
    sample->SetSyncPoint(TRUE);
    sample->SetDiscontinuity(firstFrame_ || resumed);
    firstFrame_ = false;
    ++frameIndex_;
    {
        std::lock_guard<std::mutex> hold(statsLock_);
        frameBytes_ = static_cast<LONG>(frameBytes);
    }
    return S_OK;
}
