#include "qeldshow/output_pin.h"

#include "qeldshow/mem_allocator.h"

CBaseOutputPin::CBaseOutputPin(const char* objectName, CBaseFilter* filter, CCritSec* lock, HRESULT* result,
                               LPCWSTR pinName)
    : CBasePin(objectName, filter, lock, result, pinName, PINDIR_OUTPUT) {}

CBaseOutputPin::~CBaseOutputPin() {
    if (m_pAllocator)
        m_pAllocator->Release();
    if (m_pInputPin)
        m_pInputPin->Release();
}

HRESULT CBaseOutputPin::CheckConnect(IPin* pin) {
    HRESULT hr = CBasePin::CheckConnect(pin);
    if (FAILED(hr))
        return hr;
    IMemInputPin* input = nullptr;
    hr = pin->QueryInterface(IID_IMemInputPin, reinterpret_cast<void**>(&input));
    if (FAILED(hr))
        return VFW_E_NO_TRANSPORT;
    if (m_pInputPin)
        m_pInputPin->Release();
    m_pInputPin = input;
    return S_OK;
}

HRESULT CBaseOutputPin::CompleteConnect(IPin*) {
    return DecideAllocator(m_pInputPin, &m_pAllocator);
}

HRESULT CBaseOutputPin::BreakConnect() {
    if (m_pAllocator) {
        m_pAllocator->Decommit();
        m_pAllocator->Release();
        m_pAllocator = nullptr;
    }
    if (m_pInputPin) {
        m_pInputPin->Release();
        m_pInputPin = nullptr;
    }
    return S_OK;
}

HRESULT CBaseOutputPin::InitAllocator(IMemAllocator** allocator) { return CMemAllocator::Create(allocator); }

HRESULT CBaseOutputPin::DecideAllocator(IMemInputPin* pin, IMemAllocator** allocator) {
    if (!pin || !allocator)
        return E_POINTER;
    if (*allocator) {
        (*allocator)->Release();
        *allocator = nullptr;
    }
    ALLOCATOR_PROPERTIES request{};
    pin->GetAllocatorRequirements(&request);  // a pin without wishes answers E_NOTIMPL
    if (request.cbAlign == 0)
        request.cbAlign = 1;

    // The downstream allocator first: it may hand out the renderer's own memory. One that already
    // has its buffers set serves another link as well (a sample grabber hands on the pool of its
    // previous upstream, the Smart Tee's input pool, which the camera and both tee outputs draw
    // from): sized to this pin's needs it could starve that link, and the camera would wait for a
    // buffer forever. Such a pool is taken only when the downstream pin refuses one of ours.
    IMemAllocator* offered = nullptr;
    if (FAILED(pin->GetAllocator(&offered)))
        offered = nullptr;
    const bool offeredServesAnotherLink = offered && HasBuffersSet(offered);
    if (offered && !offeredServesAnotherLink && TryAllocator(pin, offered, request)) {
        *allocator = offered;
        return S_OK;
    }

    IMemAllocator* own = nullptr;
    HRESULT hr = InitAllocator(&own);
    if (SUCCEEDED(hr)) {
        ALLOCATOR_PROPERTIES tried = request;
        hr = DecideBufferSize(own, &tried);
        if (SUCCEEDED(hr))
            hr = pin->NotifyAllocator(own, FALSE);
        if (SUCCEEDED(hr)) {
            if (offered)
                offered->Release();
            *allocator = own;
            return S_OK;
        }
        own->Release();
    }
    if (offeredServesAnotherLink && TryAllocator(pin, offered, request)) {
        *allocator = offered;
        return S_OK;
    }
    if (offered)
        offered->Release();
    return hr;
}

bool CBaseOutputPin::HasBuffersSet(IMemAllocator* allocator) {
    ALLOCATOR_PROPERTIES current{};
    return SUCCEEDED(allocator->GetProperties(&current)) && current.cBuffers > 0;
}

bool CBaseOutputPin::TryAllocator(IMemInputPin* pin, IMemAllocator* allocator, const ALLOCATOR_PROPERTIES& request) {
    ALLOCATOR_PROPERTIES tried = request;
    return SUCCEEDED(DecideBufferSize(allocator, &tried)) && SUCCEEDED(pin->NotifyAllocator(allocator, FALSE));
}

HRESULT CBaseOutputPin::GetDeliveryBuffer(IMediaSample** sample, REFERENCE_TIME* start, REFERENCE_TIME* stop,
                                          DWORD flags) {
    if (!sample)
        return E_POINTER;
    *sample = nullptr;
    IMemAllocator* allocator = m_pAllocator;
    if (!allocator)
        return VFW_E_NO_ALLOCATOR;
    return allocator->GetBuffer(sample, start, stop, flags);
}

HRESULT CBaseOutputPin::Deliver(IMediaSample* sample) {
    IMemInputPin* input = m_pInputPin;
    if (!input)
        return VFW_E_NOT_CONNECTED;
    return input->Receive(sample);
}

HRESULT CBaseOutputPin::DeliverEndOfStream() {
    IPin* connected = m_Connected;
    return connected ? connected->EndOfStream() : VFW_E_NOT_CONNECTED;
}

HRESULT CBaseOutputPin::DeliverBeginFlush() {
    IPin* connected = m_Connected;
    return connected ? connected->BeginFlush() : VFW_E_NOT_CONNECTED;
}

HRESULT CBaseOutputPin::DeliverEndFlush() {
    IPin* connected = m_Connected;
    return connected ? connected->EndFlush() : VFW_E_NOT_CONNECTED;
}

HRESULT CBaseOutputPin::DeliverNewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) {
    IPin* connected = m_Connected;
    return connected ? connected->NewSegment(start, stop, rate) : VFW_E_NOT_CONNECTED;
}

HRESULT CBaseOutputPin::Active() {
    if (!m_pAllocator)
        return VFW_E_NO_ALLOCATOR;
    return m_pAllocator->Commit();
}

HRESULT CBaseOutputPin::Inactive() {
    if (!m_pAllocator)
        return VFW_E_NO_ALLOCATOR;
    return m_pAllocator->Decommit();
}
