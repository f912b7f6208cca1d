#include "standin_filter.h"

#include "standin_exports.h"
#include "standin_log.h"

#include <cstdarg>
#include <cstdio>

CStandinFilter::CStandinFilter(IUnknown* outer, REFCLSID clsid, HRESULT* hr)
    : CEffectFilterBase("Stand-in plug-in", outer, clsid, nullptr, SamplePropertyCopy::kAll, FrameStart::kEmpty, hr),
      m_clsid(clsid), m_instance(standin::AddInstance(clsid)), m_rotate(false), m_params(nullptr) {
    m_params = CreateStandinParams(this, clsid, &m_rotate);
    if (!m_params && hr)
        *hr = E_OUTOFMEMORY;
    Record("Created");
}

CStandinFilter::~CStandinFilter() {
    Record("Destroyed");
    delete m_params;
    standin::RemoveInstance(m_clsid, m_instance);
}

void CStandinFilter::Record(const char* format, ...) {
    char text[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    standin::Log(m_clsid, m_instance, text);
}

STDMETHODIMP CStandinFilter::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
    if (riid == kIidTextMix && m_clsid == kClsidTextMix) {   // standing in for the text overlay
        if (!ppv)
            return E_POINTER;
        *ppv = static_cast<ITarnTextMix*>(&m_textMix);
        m_textMix.AddRef();
        return S_OK;
    }
    if (riid == ParamsIid())
        Record("QueryParams");
    return CEffectFilterBase::NonDelegatingQueryInterface(riid, ppv);
}

HRESULT CStandinFilter::CheckInputType(const CMediaType* in) {
    if (standin::ModeOf(m_clsid) & standin::kRefuseInput)
        return E_FAIL;
    return CEffectFilterBase::CheckInputType(in);
}

HRESULT CStandinFilter::CheckTransform(const CMediaType* in, const CMediaType* out) {
    if (standin::ModeOf(m_clsid) & standin::kRefuseOutput)
        return E_FAIL;
    return CEffectFilterBase::CheckTransform(in, out);
}
