#include "effect_filter_base.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

#include <dvdmedia.h>

namespace {

const AMOVIESETUP_MEDIATYPE kRgb24Video = {&MEDIATYPE_Video, &MEDIASUBTYPE_RGB24};

// S_OK true, S_FALSE false; anything else is no answer at all.
HRESULT FlagAnswer(HRESULT answer, BOOL* flag) {
    if (answer == S_OK)
        *flag = TRUE;
    else if (answer == S_FALSE)
        *flag = FALSE;
    else
        return E_UNEXPECTED;
    return S_OK;
}

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
                                     SamplePropertyCopy propertyCopy, HRESULT* hr)
    : CTransformFilter(name, outer, clsid), CPersistStream(GetOwner(), hr), pageClsid_(pageClsid),
      propertyCopy_(propertyCopy) {
    CEffectFilterBase::SetDefaults();
}

CEffectFilterBase::~CEffectFilterBase() { m_ranges.Clear(); }

STDMETHODIMP CEffectFilterBase::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
    if (!ppv)
        return E_POINTER;
    if (riid == ParamsIid())
        return GetInterface(ParamsObject(), ppv);
    if (riid == IID_ISpecifyPropertyPages)
        return GetInterface(&pages_, ppv);
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

bool CEffectFilterBase::LockFrame(IMediaSample* in, IMediaSample* out, EffectFrame* frame) {
    const size_t frameBytes = FrameBytes();
    BYTE* source = nullptr;
    BYTE* target = nullptr;
    if (frameBytes == 0 || FAILED(in->GetPointer(&source)) || FAILED(out->GetPointer(&target)) || !source ||
        !target)
        return false;
    const long available = in->GetActualDataLength();
    const long room = out->GetSize();
    if (available < 0 || room < 0 || static_cast<size_t>(available) < frameBytes ||
        static_cast<size_t>(room) < frameBytes)
        return false;
    if (FAILED(out->SetActualDataLength(static_cast<long>(frameBytes))))
        return false;
    frame->source = source;
    frame->target = target;
    frame->width = m_width;
    frame->height = m_height;
    frame->stride = m_stride;
    return true;
}

HRESULT CEffectFilterBase::CopyThrough(IMediaSample* in, IMediaSample* out) {
    BYTE* source = nullptr;
    BYTE* target = nullptr;
    HRESULT hr = in->GetPointer(&source);
    if (SUCCEEDED(hr))
        hr = out->GetPointer(&target);
    if (FAILED(hr))
        return hr;
    if (!source || !target)
        return E_POINTER;
    // A sample whose buffer is smaller than the data gets what fits.
    const long length = std::max(0L, std::min(in->GetActualDataLength(), out->GetSize()));
    if (length > 0)
        std::memcpy(target, source, static_cast<size_t>(length));
    return out->SetActualDataLength(length);
}

HRESULT CEffectFilterBase::TransformFrame(IMediaSample* in, IMediaSample* out) { return CopyThrough(in, out); }

HRESULT CEffectFilterBase::TransformAndCopyProperties(IMediaSample* in, IMediaSample* out) {
    HRESULT hr = TransformFrame(in, out);
    if (FAILED(hr))
        return hr;

    if (propertyCopy_ != SamplePropertyCopy::kLengthOnly) {
        REFERENCE_TIME start = 0, stop = 0;
        if (in->GetTime(&start, &stop) == S_OK)
            out->SetTime(&start, &stop);
        LONGLONG mediaStart = 0, mediaStop = 0;
        const HRESULT media = in->GetMediaTime(&mediaStart, &mediaStop);
        if (propertyCopy_ == SamplePropertyCopy::kAllMediaTimesOnSuccess ? SUCCEEDED(media) : media == S_OK)
            out->SetMediaTime(&mediaStart, &mediaStop);

        BOOL flag = FALSE;
        if (FAILED(FlagAnswer(in->IsSyncPoint(), &flag)))
            return E_UNEXPECTED;
        out->SetSyncPoint(flag);

        AM_MEDIA_TYPE* type = nullptr;
        if (in->GetMediaType(&type) == S_OK && type) {
            out->SetMediaType(type);
            DeleteMediaType(type);
        }

        if (FAILED(FlagAnswer(in->IsPreroll(), &flag)))
            return E_UNEXPECTED;
        out->SetPreroll(flag);
        if (FAILED(FlagAnswer(in->IsDiscontinuity(), &flag)))
            return E_UNEXPECTED;
        out->SetDiscontinuity(flag);
    }
    const long length = std::max(0L, std::min(in->GetActualDataLength(), out->GetSize()));
    return out->SetActualDataLength(length);
}

HRESULT CEffectFilterBase::Transform(IMediaSample* in, IMediaSample* out) {
    const HRESULT hr = TransformAndCopyProperties(in, out);
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
    return filter_->GetOwner()->QueryInterface(riid, ppv);
}
STDMETHODIMP_(ULONG) CEffectFilterBase::PagesObject::AddRef() { return filter_->GetOwner()->AddRef(); }
STDMETHODIMP_(ULONG) CEffectFilterBase::PagesObject::Release() { return filter_->GetOwner()->Release(); }
STDMETHODIMP CEffectFilterBase::PagesObject::GetPages(CAUUID* pages) {
    return FillPropertyPages(pages, filter_->pageClsid_);
}
