#include "audio_muter_filter.h"

#include "qeldshow/media_type.h"

#include <mmreg.h>

#include <algorithm>
#include <cstring>
#include <new>

namespace {

// The format tag a WAVE_FORMAT_EXTENSIBLE block carries in the first bytes of its sub-format.
WORD EffectiveFormatTag(const WAVEFORMATEX& format, ULONG formatLength) {
    if (format.wFormatTag != WAVE_FORMAT_EXTENSIBLE)
        return format.wFormatTag;
    if (formatLength < sizeof(WAVEFORMATEXTENSIBLE) || format.cbSize < sizeof(WAVEFORMATEXTENSIBLE) - sizeof(WAVEFORMATEX))
        return 0;
    const auto& extensible = reinterpret_cast<const WAVEFORMATEXTENSIBLE&>(format);
    // The sub-formats of the plain tags are {tag-0000-0010-8000-00AA00389B71}.
    static const GUID kTagBase = {0x00000000, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};
    GUID base = extensible.SubFormat;
    const DWORD tag = base.Data1;
    base.Data1 = 0;
    return IsEqualGUID(base, kTagBase) && tag <= 0xFFFF ? static_cast<WORD>(tag) : 0;
}

const WAVEFORMATEX* WaveFormatOf(const CMediaType& type) {
    if (type.majortype != MEDIATYPE_Audio || type.formattype != FORMAT_WaveFormatEx || !type.pbFormat ||
        type.cbFormat < sizeof(PCMWAVEFORMAT))
        return nullptr;
    return reinterpret_cast<const WAVEFORMATEX*>(type.pbFormat);
}

} // namespace

int SilenceByteOf(const WAVEFORMATEX& format, ULONG formatLength) {
    switch (EffectiveFormatTag(format, formatLength)) {
    case WAVE_FORMAT_PCM: return format.wBitsPerSample == 8 ? 0x80 : 0;
    case WAVE_FORMAT_IEEE_FLOAT: return 0;
    default: return -1;
    }
}

CUnknown* CALLBACK CAudioMuterFilter::CreateInstance(IUnknown* outer, HRESULT* hr) {
    auto* filter = new (std::nothrow) CAudioMuterFilter(outer);
    if (!filter)
        *hr = E_OUTOFMEMORY;
    return filter;
}

CAudioMuterFilter::CAudioMuterFilter(IUnknown* outer)
    : CTransformFilter("audio muter", outer, kClsidAudioMuter) {}

STDMETHODIMP CAudioMuterFilter::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
    if (!ppv)
        return E_POINTER;
    if (riid == kIidAudioMuter)
        return GetInterface(static_cast<IAudioMuter*>(this), ppv);
    return CTransformFilter::NonDelegatingQueryInterface(riid, ppv);
}

HRESULT CAudioMuterFilter::CheckInputType(const CMediaType* in) {
    if (!in)
        return E_POINTER;
    const WAVEFORMATEX* format = WaveFormatOf(*in);
    if (!format || format->nBlockAlign == 0 || SilenceByteOf(*format, in->cbFormat) < 0)
        return VFW_E_TYPE_NOT_ACCEPTED;
    return S_OK;
}

HRESULT CAudioMuterFilter::CheckTransform(const CMediaType* in, const CMediaType* out) {
    if (!in || !out)
        return E_POINTER;
    // The sound passes as it is: the output is the input's type.
    return MediaTypesEqual(*in, *out) ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT CAudioMuterFilter::GetMediaType(int position, CMediaType* type) {
    if (!type)
        return E_POINTER;
    if (position < 0)
        return E_INVALIDARG;
    if (!m_pInput->IsConnected())
        return E_UNEXPECTED;
    if (position > 0)
        return VFW_S_NO_MORE_ITEMS;
    return type->Set(m_pInput->CurrentMediaType());
}

HRESULT CAudioMuterFilter::DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) {
    if (!allocator || !request)
        return E_POINTER;
    if (!m_pInput->IsConnected())
        return E_UNEXPECTED;
    // Buffers as large as the ones arriving; without that figure, half a second of sound.
    ALLOCATOR_PROPERTIES upstream = {};
    IMemAllocator* inputAllocator = m_pInput->Allocator();
    if (!inputAllocator || FAILED(inputAllocator->GetProperties(&upstream)) || upstream.cbBuffer <= 0) {
        const WAVEFORMATEX* format = WaveFormatOf(m_pInput->CurrentMediaType());
        upstream.cbBuffer = format ? static_cast<long>(std::max<DWORD>(format->nAvgBytesPerSec / 2, format->nBlockAlign)) : 0;
        upstream.cBuffers = 4;
    }
    if (upstream.cbBuffer <= 0)
        return E_UNEXPECTED;
    request->cBuffers = std::max(request->cBuffers, std::max(upstream.cBuffers, 4L));
    request->cbBuffer = std::max(request->cbBuffer, upstream.cbBuffer);
    request->cbAlign = std::max(request->cbAlign, 1L);
    ALLOCATOR_PROPERTIES actual = {};
    const HRESULT hr = allocator->SetProperties(request, &actual);
    if (FAILED(hr))
        return hr;
    return actual.cbBuffer < request->cbBuffer ? E_FAIL : S_OK;
}

HRESULT CAudioMuterFilter::SetMediaType(PIN_DIRECTION direction, const CMediaType* type) {
    if (direction == PINDIR_INPUT && type) {
        const WAVEFORMATEX* format = WaveFormatOf(*type);
        if (format)
            silence_ = std::max(SilenceByteOf(*format, type->cbFormat), 0);
    }
    return CTransformFilter::SetMediaType(direction, type);
}

HRESULT CAudioMuterFilter::Transform(IMediaSample* in, IMediaSample* out) {
    HRESULT hr = CopySampleData(in, out);
    if (FAILED(hr) || !muted_)
        return hr;
    BYTE* data = nullptr;
    hr = out->GetPointer(&data);
    if (FAILED(hr))
        return hr;
    const long length = out->GetActualDataLength();
    if (length > 0)
        std::memset(data, silence_, static_cast<size_t>(length));
    return S_OK;
}

STDMETHODIMP CAudioMuterFilter::GetMute(int* mute) {
    if (!mute)
        return E_POINTER;
    *mute = muted_;
    return S_OK;
}

STDMETHODIMP CAudioMuterFilter::SetMute(int mute) {
    muted_ = mute ? 1 : 0;
    return S_OK;
}
