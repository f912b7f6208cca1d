#include "test_filters.h"

#include <algorithm>

namespace dshowtest {

const CLSID CLSID_TestPushSource = {0x5e1a7c10, 0x8b2d, 0x4f3e, {0x9a, 0x61, 0x0c, 0x4d, 0x2b, 0x7e, 0x9f, 0x01}};
const CLSID CLSID_TestInvert = {0x5e1a7c11, 0x8b2d, 0x4f3e, {0x9a, 0x61, 0x0c, 0x4d, 0x2b, 0x7e, 0x9f, 0x01}};

namespace {
size_t FrameBytesOf(const CMediaType& type) {
    const VIDEOINFOHEADER* info = VideoInfoOf(type);
    if (!info)
        return 0;
    return DibImageSize(info->bmiHeader.biWidth, info->bmiHeader.biHeight, info->bmiHeader.biBitCount);
}
} // namespace

// ---- source ------------------------------------------------------------------------------------

STDMETHODIMP CTestSeeking::GetCapabilities(DWORD* caps) {
    *caps = AM_SEEKING_CanGetDuration;
    return S_OK;
}
STDMETHODIMP CTestSeeking::IsFormatSupported(const GUID* format) {
    return *format == TIME_FORMAT_MEDIA_TIME ? S_OK : S_FALSE;
}
STDMETHODIMP CTestSeeking::GetTimeFormat(GUID* format) {
    *format = TIME_FORMAT_MEDIA_TIME;
    return S_OK;
}
STDMETHODIMP CTestSeeking::IsUsingTimeFormat(const GUID* format) {
    return *format == TIME_FORMAT_MEDIA_TIME ? S_OK : S_FALSE;
}
STDMETHODIMP CTestSeeking::SetTimeFormat(const GUID* format) {
    return *format == TIME_FORMAT_MEDIA_TIME ? S_OK : E_INVALIDARG;
}
STDMETHODIMP CTestSeeking::GetDuration(LONGLONG* duration) {
    if (settings_.frameCount < 0)
        return E_NOTIMPL;
    *duration = settings_.frameCount * settings_.frameTime;
    return S_OK;
}
STDMETHODIMP CTestSeeking::GetStopPosition(LONGLONG* stop) { return GetDuration(stop); }
STDMETHODIMP CTestSeeking::GetCurrentPosition(LONGLONG*) { return E_NOTIMPL; }
STDMETHODIMP CTestSeeking::SetRate(double rate) {
    rate_ = rate;
    return S_OK;
}
STDMETHODIMP CTestSeeking::GetRate(double* rate) {
    *rate = rate_;
    return S_OK;
}

CTestStream::CTestStream(HRESULT* result, CTestPushSource* filter, const SourceSettings& settings)
    : CSourceStream("test stream", result, filter, L"Out"), settings_(settings), seeking_(this, settings_) {}

STDMETHODIMP CTestStream::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
    if (ppv && riid == IID_IMediaSeeking)
        return GetInterface(static_cast<IMediaSeeking*>(&seeking_), ppv);
    return CSourceStream::NonDelegatingQueryInterface(riid, ppv);
}

HRESULT CTestStream::GetMediaType(int position, CMediaType* type) {
    if (position < 0)
        return E_INVALIDARG;
    if (position > 0)
        return VFW_S_NO_MORE_ITEMS;
    *type = MakeRgb24VideoType(settings_.width, settings_.height, settings_.frameTime);
    if (settings_.truncatedFormat) {
        // The block ends inside the BITMAPINFOHEADER.
        const CMediaType full(*type);
        type->SetFormat(full.Format(), sizeof(VIDEOINFOHEADER) - 12);
    }
    return S_OK;
}

HRESULT CTestStream::CheckMediaType(const CMediaType* type) {
    CMediaType ours;
    GetMediaType(0, &ours);
    return MediaTypesEqual(*type, ours) ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT CTestStream::DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) {
    const size_t frameBytes = DibImageSize(settings_.width, settings_.height, 24);
    request->cBuffers = std::max<LONG>(request->cBuffers, 2);
    request->cbBuffer = std::max<LONG>(request->cbBuffer, static_cast<LONG>(frameBytes));
    ALLOCATOR_PROPERTIES actual{};
    const HRESULT hr = allocator->SetProperties(request, &actual);
    if (FAILED(hr))
        return hr;
    return actual.cbBuffer < static_cast<LONG>(frameBytes) || actual.cBuffers < 1 ? E_FAIL : S_OK;
}

HRESULT CTestStream::OnThreadStartPlay() {
    next_ = 0;
    return S_OK;
}

HRESULT CTestStream::FillBuffer(IMediaSample* sample) {
    const LONG frame = next_;
    if (settings_.frameCount >= 0 && frame >= settings_.frameCount)
        return S_FALSE;
    if (frame == settings_.failFrame)
        return settings_.failAtFrame;
    if (settings_.stallAtFrame >= 0 && frame >= settings_.stallAtFrame) {
        // A device that stopped delivering: only the stop ends the wait.
        WaitUnlessStopping(INFINITE);
        return S_FALSE;
    }
    ++next_;
    const size_t frameBytes = DibImageSize(settings_.width, settings_.height, 24);
    BYTE* data = nullptr;
    HRESULT hr = sample->GetPointer(&data);
    if (FAILED(hr))
        return hr;
    if (static_cast<size_t>(sample->GetSize()) < frameBytes)
        return VFW_E_BUFFER_OVERFLOW;
    for (size_t i = 0; i < frameBytes; ++i)
        data[i] = PatternByte(frame, i);
    sample->SetActualDataLength(static_cast<LONG>(frameBytes));
    REFERENCE_TIME start = frame * settings_.frameTime;
    REFERENCE_TIME stop = start + settings_.frameTime;
    sample->SetTime(&start, &stop);
    LONGLONG mediaStart = frame, mediaStop = frame + 1;
    sample->SetMediaTime(&mediaStart, &mediaStop);
    sample->SetSyncPoint(TRUE);
    sample->SetDiscontinuity(frame == 0);
    return S_OK;
}

CTestPushSource::CTestPushSource(const SourceSettings& settings, IUnknown* outer)
    : CSource("test push source", outer, CLSID_TestPushSource) {
    HRESULT hr = S_OK;
    stream_ = new CTestStream(&hr, this, settings);
}

// ---- transform ---------------------------------------------------------------------------------

CInvertFilter::CInvertFilter(IUnknown* outer) : CTransformFilter("invert filter", outer, CLSID_TestInvert) {}

HRESULT CInvertFilter::CheckInputType(const CMediaType* in) {
    if (*in->Type() != MEDIATYPE_Video || *in->Subtype() != MEDIASUBTYPE_RGB24)
        return VFW_E_TYPE_NOT_ACCEPTED;
    return IsValidUncompressedVideo(*in) ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT CInvertFilter::CheckTransform(const CMediaType* in, const CMediaType* out) {
    return MediaTypesEqual(*in, *out) ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT CInvertFilter::GetMediaType(int position, CMediaType* type) {
    if (!m_pInput->IsConnected())
        return E_UNEXPECTED;
    if (position < 0)
        return E_INVALIDARG;
    if (position > 0)
        return VFW_S_NO_MORE_ITEMS;
    *type = m_pInput->CurrentMediaType();
    return S_OK;
}

HRESULT CInvertFilter::DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) {
    if (!m_pInput->IsConnected())
        return E_UNEXPECTED;
    const LONG frameBytes = static_cast<LONG>(FrameBytesOf(m_pInput->CurrentMediaType()));
    request->cBuffers = std::max<LONG>(request->cBuffers, 1);
    request->cbBuffer = frameBytes - shortfall_;
    ALLOCATOR_PROPERTIES actual{};
    const HRESULT hr = allocator->SetProperties(request, &actual);
    if (FAILED(hr))
        return hr;
    return actual.cBuffers < 1 || actual.cbBuffer < request->cbBuffer ? E_FAIL : S_OK;
}

HRESULT CInvertFilter::Transform(IMediaSample* in, IMediaSample* out) {
    if (dropEveryOther_ && (seen_++ % 2) == 1)
        return S_FALSE;
    const BYTE* source = nullptr;
    BYTE* target = nullptr;
    const HRESULT hr =
        LockFrameBuffers(in, out, static_cast<size_t>(in->GetActualDataLength()), &source, &target);
    lastTransformResult = hr;
    if (FAILED(hr))
        return hr;
    const LONG length = in->GetActualDataLength();
    for (LONG i = 0; i < length; ++i)
        target[i] = static_cast<BYTE>(~source[i]);
    ++transformed;
    return S_OK;
}

HRESULT CInvertFilter::StartStreaming() {
    ++starts;
    seen_ = 0;
    return S_OK;
}

HRESULT CInvertFilter::StopStreaming() {
    ++stops;
    return S_OK;
}

// ---- sink -------------------------------------------------------------------------------------

CTestSinkPin::CTestSinkPin(HRESULT* result, CTestSink* filter)
    : CBaseInputPin("test sink pin", filter, &filter->lock_, result, L"In"), sink_(filter) {}

HRESULT CTestSinkPin::CheckMediaType(const CMediaType* type) {
    if (*type->Type() != MEDIATYPE_Video || *type->Subtype() != MEDIASUBTYPE_RGB24)
        return VFW_E_TYPE_NOT_ACCEPTED;
    return IsValidUncompressedVideo(*type) ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

STDMETHODIMP CTestSinkPin::GetAllocator(IMemAllocator** allocator) {
    if (sink_->noAllocator_) {
        if (allocator)
            *allocator = nullptr;
        return VFW_E_NO_ALLOCATOR;
    }
    if (sink_->offered_) {
        if (!allocator)
            return E_POINTER;
        *allocator = sink_->offered_.Get();
        (*allocator)->AddRef();
        return S_OK;
    }
    return CBaseInputPin::GetAllocator(allocator);
}

STDMETHODIMP CTestSinkPin::NotifyAllocator(IMemAllocator* allocator, BOOL readOnly) {
    if (sink_->onlyOffered_ && allocator != sink_->offered_.Get())
        return E_FAIL;
    return CBaseInputPin::NotifyAllocator(allocator, readOnly);
}

STDMETHODIMP CTestSinkPin::Receive(IMediaSample* sample) {
    const HRESULT hr = CBaseInputPin::Receive(sample);
    if (hr != S_OK)
        return hr;
    ReceivedSample seen;
    seen.timeResult = sample->GetTime(&seen.start, &seen.stop);
    seen.mediaTimeResult = sample->GetMediaTime(&seen.mediaStart, &seen.mediaStop);
    seen.sync = sample->IsSyncPoint() == S_OK;
    seen.preroll = sample->IsPreroll() == S_OK;
    seen.discontinuity = sample->IsDiscontinuity() == S_OK;
    AM_MEDIA_TYPE* type = nullptr;
    seen.hasMediaType = sample->GetMediaType(&type) == S_OK;
    DeleteMediaType(type);
    seen.length = sample->GetActualDataLength();
    BYTE* data = nullptr;
    if (SUCCEEDED(sample->GetPointer(&data)) && data && seen.length > 0)
        seen.data.assign(data, data + seen.length);
    std::lock_guard<std::mutex> lock(sink_->mutex_);
    sink_->samples_.push_back(std::move(seen));
    if (sink_->hold_) {
        sample->AddRef();
        sink_->held_.push_back(sample);
    }
    return S_OK;
}

STDMETHODIMP CTestSinkPin::EndOfStream() {
    const HRESULT hr = CBaseInputPin::EndOfStream();
    if (hr == S_OK)
        ++sink_->endOfStreams;
    return hr;
}

STDMETHODIMP CTestSinkPin::BeginFlush() {
    ++sink_->beginFlushes;
    return CBaseInputPin::BeginFlush();
}

STDMETHODIMP CTestSinkPin::EndFlush() {
    ++sink_->endFlushes;
    return CBaseInputPin::EndFlush();
}

STDMETHODIMP CTestSinkPin::NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) {
    ++sink_->newSegments;
    sink_->segmentStart = start;
    sink_->segmentStop = stop;
    sink_->segmentRate = rate;
    return CBaseInputPin::NewSegment(start, stop, rate);
}

CTestSink::CTestSink() : CBaseFilter("test sink", nullptr, &lock_, GUID_NULL) {
    HRESULT hr = S_OK;
    pin_ = new CTestSinkPin(&hr, this);
}

CTestSink::~CTestSink() {
    ReleaseHeld();
    delete pin_;
}

std::vector<ReceivedSample> CTestSink::Samples() {
    std::lock_guard<std::mutex> lock(mutex_);
    return samples_;
}

size_t CTestSink::Count() {
    std::lock_guard<std::mutex> lock(mutex_);
    return samples_.size();
}

void CTestSink::ReleaseHeld() {
    std::vector<IMediaSample*> held;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        held.swap(held_);
    }
    for (IMediaSample* sample : held)
        sample->Release();
}

} // namespace dshowtest
