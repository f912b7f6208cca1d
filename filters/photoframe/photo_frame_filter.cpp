#include "photo_frame_filter.h"

#include "QelPluginIds.h"

#include <cwchar>
#include <string>

CPhotoFrameFilter::CPhotoFrameFilter(IUnknown* outer, HRESULT* hr)
    : CEffectFilterBase("Photo frame filter", outer, CLSID_QelFilter_PhotoFrame, &CLSID_QelPage_PhotoFrame,
                        SamplePropertyCopy::kLengthOnly, FrameStart::kEmpty, hr) {}

CPhotoFrameFilter::~CPhotoFrameFilter() { CPhotoFrameFilter::ReleaseBuffers(); }

void CPhotoFrameFilter::ReleaseBuffers() {
    m_overlay.Forget();
    CEffectFilterBase::ReleaseBuffers();
}

HRESULT CPhotoFrameFilter::SetMediaType(PIN_DIRECTION direction, const CMediaType* type) {
    const HRESULT hr = CEffectFilterBase::SetMediaType(direction, type);
    if (FAILED(hr) || direction != PINDIR_INPUT)
        return hr;
    if (!InputPin() || !InputPin()->IsConnected() || type->subtype != MEDIASUBTYPE_RGB24)
        return E_FAIL;
    m_overlay.Init(FrameLayout());
    return S_OK;
}

bool CPhotoFrameFilter::ProcessFrame(const BYTE* source, BYTE* target, const qel::imaging::PixelLayout&) {
    // The overlay blends with the layout it was rescaled for, from SetMediaType.
    m_overlay.Blend(source, target, FrameBytes());
    return true;
}

HRESULT CPhotoFrameFilter::GetFramePath(wchar_t* path) {
    if (!path)
        return E_POINTER;
    CAutoLock lock(&m_filterLock);
    const std::wstring current = m_overlay.Path();
    const size_t length = current.size() < kQelFramePathChars ? current.size() : kQelFramePathChars - 1;
    std::wmemcpy(path, current.c_str(), length);
    path[length] = L'\0';
    return S_OK;
}

HRESULT CPhotoFrameFilter::SetFramePath(const wchar_t* path) {
    // A null path is no path at all: refused, and the frame in use stays.
    if (!path)
        return E_POINTER;
    CAutoLock lock(&m_filterLock);
    m_overlay.SetPath(path);
    MarkChanged();
    return S_OK;
}
