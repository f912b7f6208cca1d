#include "strength_filter.h"

#include <new>
#include <utility>

CUnknown* CStrengthFilter::Create(const StrengthPlugin& plugin, std::unique_ptr<CStrengthKernel> kernel,
                                  IUnknown* outer, HRESULT* hr) {
    if (!kernel) {
        *hr = E_OUTOFMEMORY;
        return nullptr;
    }
    auto* filter = new (std::nothrow) CStrengthFilter(plugin, std::move(kernel), outer, hr);
    if (!filter)
        *hr = E_OUTOFMEMORY;
    return filter;
}

CStrengthFilter::CStrengthFilter(const StrengthPlugin& plugin, std::unique_ptr<CStrengthKernel> kernel,
                                 IUnknown* outer, HRESULT* hr)
    : CEffectFilterBase(plugin.name, outer, *plugin.clsid, plugin.pageClsid, SamplePropertyCopy::kAll, plugin.start,
                        hr),
      m_defaultStrength(plugin.defaultStrength), m_strength(plugin.defaultStrength), m_kernel(std::move(kernel)) {
    CStrengthFilter::SetDefaults();
}

CStrengthFilter::~CStrengthFilter() { CStrengthFilter::ReleaseBuffers(); }

void CStrengthFilter::SetDefaults() {
    CEffectFilterBase::SetDefaults();
    m_strength = m_defaultStrength;
    m_strengthChanged = false;
    m_kernel->SetStrength(m_defaultStrength);
}

void CStrengthFilter::TakeChangedValues() {
    // A setter that runs after the flag is taken raises it again: the next frame picks its value up.
    if (m_strengthChanged.exchange(false))
        m_kernel->SetStrength(m_strength.load());
}

bool CStrengthFilter::ProcessFrame(const BYTE* source, BYTE* target,
                                   const qel::imaging::PixelLayout& layout) {
    return m_kernel->Process(source, target, layout);
}

HRESULT CStrengthFilter::GetStrength(int* strength) { return ReadParam(strength, m_strength); }

HRESULT CStrengthFilter::SetStrength(int strength) {
    const HRESULT hr = StoreParam(m_strength, strength);
    m_strengthChanged = true;
    return hr;
}
