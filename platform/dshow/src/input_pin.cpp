#include "qeldshow/input_pin.h"

#include "qeldshow/mem_allocator.h"

CBaseInputPin::CBaseInputPin(const char* objectName, CBaseFilter* filter, CCritSec* lock, HRESULT* result,
                             LPCWSTR pinName)
    : CBasePin(objectName, filter, lock, result, pinName, PINDIR_INPUT) {}

CBaseInputPin::~CBaseInputPin() {
    if (m_pAllocator)
        m_pAllocator->Release();
}

STDMETHODIMP CBaseInputPin::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
    if (!ppv)
        return E_POINTER;
    if (riid == IID_IMemInputPin)
        return GetInterface(static_cast<IMemInputPin*>(this), ppv);
    return CBasePin::NonDelegatingQueryInterface(riid, ppv);
}

STDMETHODIMP CBaseInputPin::GetAllocator(IMemAllocator** allocator) {
    if (!allocator)
        return E_POINTER;
    CAutoLock lock(m_pLock);
    if (!m_pAllocator) {
        const HRESULT hr = CMemAllocator::Create(&m_pAllocator);
        if (FAILED(hr)) {
            *allocator = nullptr;
            return hr;
        }
    }
    *allocator = m_pAllocator;
    m_pAllocator->AddRef();
    return S_OK;
}

STDMETHODIMP CBaseInputPin::NotifyAllocator(IMemAllocator* allocator, BOOL readOnly) {
    if (!allocator)
        return E_POINTER;
    CAutoLock lock(m_pLock);
    allocator->AddRef();
    if (m_pAllocator)
        m_pAllocator->Release();
    m_pAllocator = allocator;
    m_bReadOnly = readOnly != FALSE;
    return S_OK;
}

STDMETHODIMP CBaseInputPin::GetAllocatorRequirements(ALLOCATOR_PROPERTIES*) { return E_NOTIMPL; }

HRESULT CBaseInputPin::CheckStreaming() {
    if (IsStopped())
        return VFW_E_WRONG_STATE;
    if (m_bFlushing || m_bAtEndOfStream)
        return S_FALSE;
    if (m_bRunTimeError)
        return VFW_E_RUNTIME_ERROR;
    return S_OK;
}

STDMETHODIMP CBaseInputPin::Receive(IMediaSample* sample) {
    if (!sample)
        return E_POINTER;
    HRESULT hr = CheckStreaming();
    if (hr != S_OK)
        return hr;
    // A sample may carry a new format (a dynamic change): it must pass our checks like a connection.
    AM_MEDIA_TYPE* changed = nullptr;
    hr = sample->GetMediaType(&changed);
    if (hr == S_OK && changed) {
        const CMediaType type(*changed);
        DeleteMediaType(changed);
        if (CheckMediaType(&type) != S_OK) {
            m_bRunTimeError = true;
            m_pFilter->NotifyEvent(EC_ERRORABORT, VFW_E_TYPE_NOT_ACCEPTED, 0);
            return VFW_E_INVALIDMEDIATYPE;
        }
        hr = SetMediaType(&type);
        if (FAILED(hr))
            return hr;
    } else if (FAILED(hr)) {
        return hr;
    }
    return S_OK;
}

STDMETHODIMP CBaseInputPin::ReceiveMultiple(IMediaSample** samples, LONG count, LONG* processed) {
    if (!samples || !processed)
        return E_POINTER;
    *processed = 0;
    HRESULT hr = S_OK;
    while (*processed < count) {
        hr = Receive(samples[*processed]);
        if (hr != S_OK)
            break;
        ++*processed;
    }
    return hr;
}

STDMETHODIMP CBaseInputPin::ReceiveCanBlock() { return S_OK; }

STDMETHODIMP CBaseInputPin::EndOfStream() {
    const HRESULT hr = CheckStreaming();
    if (hr != S_OK)
        return hr;
    m_bAtEndOfStream = true;
    return S_OK;
}

STDMETHODIMP CBaseInputPin::BeginFlush() {
    CAutoLock lock(m_pLock);
    m_bFlushing = true;
    return S_OK;
}

STDMETHODIMP CBaseInputPin::EndFlush() {
    CAutoLock lock(m_pLock);
    m_bFlushing = false;
    m_bAtEndOfStream = false;
    return S_OK;
}

HRESULT CBaseInputPin::Active() {
    m_bAtEndOfStream = false;
    m_bRunTimeError = false;
    return S_OK;
}

HRESULT CBaseInputPin::Inactive() {
    m_bAtEndOfStream = false;
    m_bFlushing = false;
    m_bRunTimeError = false;
    // Upstream may be waiting for a buffer of ours: decommitting wakes it.
    if (m_pAllocator)
        m_pAllocator->Decommit();
    return S_OK;
}

HRESULT CBaseInputPin::BreakConnect() {
    if (m_pAllocator) {
        m_pAllocator->Decommit();
        m_pAllocator->Release();
        m_pAllocator = nullptr;
    }
    m_bReadOnly = false;
    return S_OK;
}
