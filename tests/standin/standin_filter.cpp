#include "standin_filter.h"

#include "standin_exports.h"
#include "standin_log.h"

#include <cstdarg>
#include <cstdio>

CStandinFilter::CStandinFilter(IUnknown* outer, REFCLSID clsid, HRESULT* hr)
    : CEffectFilterBase("Stand-in plug-in", outer, clsid, nullptr, SamplePropertyCopy::kAll, FrameStart::kEmpty, hr),
      clsid_(clsid), instance_(standin::AddInstance(clsid)), rotate_(false), params_(nullptr) {
    params_ = CreateStandinParams(this, clsid, &rotate_);
    if (!params_ && hr)
        *hr = E_OUTOFMEMORY;
    Record("Created");
}

CStandinFilter::~CStandinFilter() {
    Record("Destroyed");
    delete params_;
    standin::RemoveInstance(clsid_, instance_);
}

void CStandinFilter::Record(const char* format, ...) {
    char text[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    standin::Log(clsid_, instance_, text);
}

namespace {
const CLSID kClsidTextMix = {0xEDFC8581, 0x2D0A, 0x4A0F, {0xB8, 0xCB, 0xFB, 0x4C, 0xC8, 0x4A, 0x84, 0x63}};
const IID kIidTextMix = {0xD66FF6EA, 0xA5A0, 0x421B, {0x87, 0xE7, 0x96, 0xB7, 0x68, 0x7F, 0xA2, 0x5F}};
} // namespace

STDMETHODIMP CStandinFilter::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
    if (riid == kIidTextMix && clsid_ == kClsidTextMix) {   // standing in for the text overlay
        if (!ppv)
            return E_POINTER;
        *ppv = static_cast<IStandinTextMix*>(&textMix_);
        textMix_.AddRef();
        return S_OK;
    }
    if (riid == ParamsIid())
        Record("QueryParams");
    return CEffectFilterBase::NonDelegatingQueryInterface(riid, ppv);
}

HRESULT CStandinFilter::CheckInputType(const CMediaType* in) {
    if (standin::ModeOf(clsid_) & standin::kRefuseInput)
        return E_FAIL;
    return CEffectFilterBase::CheckInputType(in);
}

HRESULT CStandinFilter::CheckTransform(const CMediaType* in, const CMediaType* out) {
    if (standin::ModeOf(clsid_) & standin::kRefuseOutput)
        return E_FAIL;
    return CEffectFilterBase::CheckTransform(in, out);
}
