#include "effect_filter_base.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

#include <dvdmedia.h>

namespace {

const AMOVIESETUP_MEDIATYPE kRgb24Video = {&MEDIATYPE_Video, &MEDIASUBTYPE_RGB24};

} // namespace

const AMOVIESETUP_PIN kEffectFilterPins[2] = {
    {L"Input", FALSE, FALSE, FALSE, FALSE, &CLSID_NULL, nullptr, 1, &kRgb24Video},
    {L"Output", FALSE, TRUE, FALSE, FALSE, &CLSID_NULL, nullptr, 1, &kRgb24Video},
};

HRESULT FillPropertyPages(CAUUID* pages, const CLSID* page, void* (*allocate)(SIZE_T)) {
    if (!pages)
        return E_POINTER;
    pages->cElems = 0;
    pages->pElems = nullptr;
    if (!page)
        return S_OK;
    auto* elements = static_cast<GUID*>(allocate(sizeof(GUID)));
    if (!elements)
        return E_OUTOFMEMORY;
    elements[0] = *page;
    pages->cElems = 1;
    pages->pElems = elements;
    return S_OK;
}

CEffectFilterBase::CEffectFilterBase(const char* name, IUnknown* outer, REFCLSID clsid, const CLSID* pageClsid,
                                     SamplePropertyCopy propertyCopy, FrameStart start, HRESULT* hr)
    : CTransformFilter(name, outer, clsid), CPersistStream(GetOwner(), hr), m_pageClsid(pageClsid),
      m_propertyCopy(propertyCopy), m_frameStart(start) {
    CEffectFilterBase::SetDefaults();
}

CEffectFilterBase::~CEffectFilterBase() { m_ranges.Clear(); }

STDMETHODIMP CEffectFilterBase::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
    if (!ppv)
        return E_POINTER;
    if (riid == ParamsIid())
        return GetInterface(ParamsObject(), ppv);
    if (riid == IID_ISpecifyPropertyPages)
        return GetInterface(&m_pages, ppv);
    return CTransformFilter::NonDelegatingQueryInterface(riid, ppv);
}

STDMETHODIMP CEffectFilterBase::GetClassID(CLSID* clsid) { return CTransformFilter::GetClassID(clsid); }

// ---- parameters ----

HRESULT CEffectFilterBase::Enable(BOOL on) {
    CAutoLock lock(&m_filterLock);
    m_enabled = on;
    MarkChanged();
    return S_OK;
}

HRESULT CEffectFilterBase::GetEnable(int* on) {
    if (!on)
        return E_POINTER;
    CAutoLock lock(&m_filterLock);
    *on = m_enabled;
    return S_OK;
}

HRESULT CEffectFilterBase::AddRange(double startSeconds, double endSeconds) {
    ReferenceTime start = 0, stop = 0;
    if (!SecondsToRange(startSeconds, endSeconds, &start, &stop))
        return E_INVALIDARG;
    CAutoLock lock(&m_filterLock);
    if (!m_ranges.AddRange(start, stop))
        return E_OUTOFMEMORY;
    m_rangesActive = 1;
    MarkChanged();
    return S_OK;
}

HRESULT CEffectFilterBase::AddRanges(const double* startSeconds, const double* endSeconds, int count) {
    std::unique_ptr<ReferenceTime[]> starts, stops;
    if (count > 0) {
        if (!startSeconds || !endSeconds)
            return E_POINTER;
        starts.reset(new (std::nothrow) ReferenceTime[count]);
        stops.reset(new (std::nothrow) ReferenceTime[count]);
        if (!starts || !stops)
            return E_OUTOFMEMORY;
        for (int i = 0; i < count; ++i) {
            if (!SecondsToRange(startSeconds[i], endSeconds[i], &starts[i], &stops[i]))
                return E_INVALIDARG;
        }
    }
    CAutoLock lock(&m_filterLock);
    if (count > 0 && !m_ranges.AddRanges(starts.get(), stops.get(), count))
        return E_OUTOFMEMORY;
    m_rangesActive = 1;
    MarkChanged();
    return S_OK;
}

HRESULT CEffectFilterBase::ClearRanges() {
    CAutoLock lock(&m_filterLock);
    m_ranges.Clear();
    m_rangesActive = 0;
    MarkChanged();
    return S_OK;
}

void CEffectFilterBase::SetDefaults() {
    m_ranges.Clear();
    m_rangesActive = 0;
    m_valueChanged = 0;
    m_enabled = 1;
}

void CEffectFilterBase::ReleaseBuffers() {
    m_ranges.Clear();
    m_rangesActive = 0;
}

// ---- frames ----

size_t CEffectFilterBase::FrameBytes() const {
    if (m_stride <= 0 || m_height == 0)
        return 0;
    const long long rows = m_height < 0 ? -static_cast<long long>(m_height) : m_height;
    return static_cast<size_t>(m_stride) * static_cast<size_t>(rows);
}

bool CEffectFilterBase::ShouldProcess(IMediaSample* in) {
    REFERENCE_TIME start = 0, stop = 0;
    if (FAILED(in->GetTime(&start, &stop)))
        start = 0;
    // A setter may be rebuilding the list on another thread: the walk must not meet freed nodes.
    CAutoLock lock(&m_filterLock);
    if (!m_enabled)
        return false;
    if (!m_rangesActive || m_ranges.Empty())
        return true;
    return m_ranges.Contains(start);
}

qel::imaging::PixelLayout CEffectFilterBase::FrameLayout() const {
    return qel::imaging::PixelLayout{m_width, m_height, m_stride, m_bytesPerPixel,
                                     qel::imaging::ByteOrder::BGR};
}

HRESULT CEffectFilterBase::ProcessOrCopy(IMediaSample* in, IMediaSample* out) {
    TakeChangedValues();
    const size_t frameBytes = FrameBytes();
    const BYTE* source = nullptr;
    BYTE* target = nullptr;
    if (frameBytes > 0 && ShouldProcess(in) &&
        SUCCEEDED(LockFrameBuffers(in, out, frameBytes, &source, &target))) {
        if (m_frameStart == FrameStart::kCopyOfInput)
            std::memcpy(target, source, frameBytes);
        if (ProcessFrame(source, target, FrameLayout()))
            return S_OK;
    }
    return CopySampleDataThatFits(in, out);  // a buffer smaller than the data gets what fits
}

HRESULT CEffectFilterBase::Transform(IMediaSample* in, IMediaSample* out) {
    HRESULT hr = ProcessOrCopy(in, out);
    if (FAILED(hr))
        return hr;
    if (m_propertyCopy != SamplePropertyCopy::kLengthOnly) {
        hr = CopySampleProperties(in, out);
        if (FAILED(hr))
            return hr;
        LONGLONG mediaStart = 0, mediaStop = 0;
        if (m_propertyCopy == SamplePropertyCopy::kAllMediaTimesOnSuccess &&
            SUCCEEDED(in->GetMediaTime(&mediaStart, &mediaStop)))
            out->SetMediaTime(&mediaStart, &mediaStop);
    }
    // The output carries as much of the input's length as its buffer holds.
    const long length = std::max(0L, std::min(in->GetActualDataLength(), out->GetSize()));
    hr = out->SetActualDataLength(length);
    return FAILED(hr) ? hr : S_OK;
}

// ---- media types ----

bool CEffectFilterBase::IsAcceptedType(const CMediaType* type) {
    if (!type || type->majortype != MEDIATYPE_Video || type->subtype != MEDIASUBTYPE_RGB24)
        return false;
    if (!IsValidUncompressedVideo(*type))
        return false;
    const VIDEOINFOHEADER* info = VideoInfoOf(*type);
    return info && info->bmiHeader.biBitCount == 24;
}

HRESULT CEffectFilterBase::CheckInputType(const CMediaType* in) {
    if (!in || in->formattype != FORMAT_VideoInfo)
        return E_INVALIDARG;
    return IsAcceptedType(in) ? S_OK : E_FAIL;
}

HRESULT CEffectFilterBase::CheckTransform(const CMediaType* in, const CMediaType* out) {
    if (!in || !out)
        return E_POINTER;
    return IsAcceptedType(in) && MediaTypesEqual(*in, *out) ? S_OK : E_FAIL;
}

HRESULT CEffectFilterBase::GetMediaType(int position, CMediaType* type) {
    if (!m_pInput || !m_pInput->IsConnected())
        return E_UNEXPECTED;
    if (position < 0)
        return E_INVALIDARG;
    if (position > 0)
        return VFW_S_NO_MORE_ITEMS;
    return type->Set(m_pInput->CurrentMediaType());
}

HRESULT CEffectFilterBase::DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) {
    if (!m_pInput || !m_pInput->IsConnected())
        return E_UNEXPECTED;
    const CMediaType& input = m_pInput->CurrentMediaType();
    // A whole frame must fit, whatever sample size the upstream type names (0 for "variable").
    const size_t frame = std::max<size_t>(input.GetSampleSize(), FrameBytes());
    if (frame == 0 || frame > 0x7FFFFFFF)
        return E_FAIL;
    request->cBuffers = 1;
    request->cbBuffer = static_cast<long>(frame);
    if (request->cbAlign <= 0)
        request->cbAlign = 1;
    ALLOCATOR_PROPERTIES actual{};
    const HRESULT hr = allocator->SetProperties(request, &actual);
    if (FAILED(hr))
        return hr;
    if (actual.cBuffers < 1 || actual.cbBuffer < request->cbBuffer)
        return E_FAIL;
    return S_OK;
}

HRESULT CEffectFilterBase::SetMediaType(PIN_DIRECTION direction, const CMediaType* type) {
    const HRESULT hr = CTransformFilter::SetMediaType(direction, type);
    if (FAILED(hr))
        return hr;
    if (direction != PINDIR_INPUT)
        return hr;
    const VIDEOINFOHEADER* info = VideoInfoOf(*type);
    if (!info)
        return E_INVALIDARG;
    const BITMAPINFOHEADER& header = info->bmiHeader;
    m_width = header.biWidth;
    m_height = header.biHeight;
    m_bytesPerPixel = header.biBitCount / 8;
    m_bitsPerChannel = 8;
    m_stride = static_cast<int>(DibStride(header.biWidth, header.biBitCount));
    return hr;
}

// ---- ISpecifyPropertyPages ----

STDMETHODIMP CEffectFilterBase::PagesObject::QueryInterface(REFIID riid, void** ppv) {
    return m_filter->GetOwner()->QueryInterface(riid, ppv);
}
STDMETHODIMP_(ULONG) CEffectFilterBase::PagesObject::AddRef() { return m_filter->GetOwner()->AddRef(); }
STDMETHODIMP_(ULONG) CEffectFilterBase::PagesObject::Release() { return m_filter->GetOwner()->Release(); }
STDMETHODIMP CEffectFilterBase::PagesObject::GetPages(CAUUID* pages) {
    return FillPropertyPages(pages, m_filter->m_pageClsid);
}
