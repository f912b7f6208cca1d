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

CTestStream::CTestStream(HRESULT* result, CTestPushSource* filter, const SourceSettings& settings)
    : CSourceStream("test stream", result, filter, L"Out"), settings_(settings) {}

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

} // namespace dshowtest
