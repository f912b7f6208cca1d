#include "qeldshow/base_pin.h"

#include "qeldshow/enum_media_types.h"

#include <cstring>
#include <cwchar>

CBasePin::CBasePin(const char* objectName, CBaseFilter* filter, CCritSec* lock, HRESULT* result,
                   LPCWSTR pinName, PIN_DIRECTION direction)
    : CUnknown(objectName, nullptr), m_pName(pinName ? pinName : L""), m_pFilter(filter), m_pLock(lock),
      m_dir(direction) {
    (void)result;  // nothing here can fail; kept so that derived pins report their own failures
}

CBasePin::~CBasePin() {
    if (m_Connected)
        m_Connected->Release();
}

STDMETHODIMP_(ULONG) CBasePin::AddRef() { return m_pFilter->GetOwner()->AddRef(); }
STDMETHODIMP_(ULONG) CBasePin::Release() { return m_pFilter->GetOwner()->Release(); }

STDMETHODIMP CBasePin::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
    if (!ppv)
        return E_POINTER;
    if (riid == IID_IPin)
        return GetInterface(static_cast<IPin*>(this), ppv);
    return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

HRESULT CBasePin::GetMediaType(int position, CMediaType*) {
    return position < 0 ? E_INVALIDARG : VFW_S_NO_MORE_ITEMS;
}

HRESULT CBasePin::SetMediaType(const CMediaType* type) { return m_mt.Set(*type); }

HRESULT CBasePin::CheckConnect(IPin* pin) {
    PIN_DIRECTION other;
    const HRESULT hr = pin->QueryDirection(&other);
    if (FAILED(hr))
        return hr;
    return other == m_dir ? VFW_E_INVALID_DIRECTION : S_OK;
}

HRESULT CBasePin::BreakConnect() { return S_OK; }
HRESULT CBasePin::CompleteConnect(IPin*) { return S_OK; }

HRESULT CBasePin::Run(REFERENCE_TIME) { return S_OK; }

void CBasePin::ClearConnection() {
    if (m_Connected) {
        m_Connected->Release();
        m_Connected = nullptr;
    }
    m_mt.Clear();
}

HRESULT CBasePin::AttemptConnection(IPin* receivePin, const CMediaType* type) {
    HRESULT hr = CheckConnect(receivePin);
    if (FAILED(hr)) {
        BreakConnect();
        return hr;
    }
    hr = CheckMediaType(type);
    if (hr != S_OK) {
        BreakConnect();
        return SUCCEEDED(hr) ? VFW_E_TYPE_NOT_ACCEPTED : hr;
    }
    m_Connected = receivePin;
    m_Connected->AddRef();
    hr = SetMediaType(type);
    if (SUCCEEDED(hr)) {
        hr = receivePin->ReceiveConnection(this, type);
        if (SUCCEEDED(hr)) {
            hr = CompleteConnect(receivePin);
            if (SUCCEEDED(hr))
                return S_OK;
            receivePin->Disconnect();
        }
    }
    BreakConnect();
    ClearConnection();
    // A plain refusal from the other side reads better as "type not accepted".
    return hr == E_FAIL ? VFW_E_TYPE_NOT_ACCEPTED : hr;
}

HRESULT CBasePin::TryMediaTypes(IPin* receivePin, const CMediaType* partial, IEnumMediaTypes* types) {
    HRESULT lastError = VFW_E_NO_ACCEPTABLE_TYPES;
    for (;;) {
        AM_MEDIA_TYPE* candidate = nullptr;
        ULONG fetched = 0;
        if (types->Next(1, &candidate, &fetched) != S_OK || fetched != 1 || !candidate)
            break;
        const CMediaType type(*candidate);
        DeleteMediaType(candidate);
        if (partial && !type.MatchesPartial(partial))
            continue;
        const HRESULT hr = AttemptConnection(receivePin, &type);
        if (SUCCEEDED(hr))
            return S_OK;
        // Keep the most telling failure: one that is more than "no acceptable type".
        if (hr != VFW_E_NO_ACCEPTABLE_TYPES && hr != E_FAIL)
            lastError = hr;
    }
    return lastError;
}

HRESULT CBasePin::AgreeMediaType(IPin* receivePin, const CMediaType* partial) {
    if (partial && IsMediaTypeFullySpecified(*partial))
        return AttemptConnection(receivePin, partial);

    HRESULT result = VFW_E_NO_ACCEPTABLE_TYPES;
    // Our own proposals first: a filter knows best what it can produce.
    for (int side = 0; side < 2; ++side) {
        IEnumMediaTypes* types = nullptr;
        const HRESULT hr = side == 0 ? EnumMediaTypes(&types) : receivePin->EnumMediaTypes(&types);
        if (FAILED(hr) || !types)
            continue;
        const HRESULT tried = TryMediaTypes(receivePin, partial, types);
        types->Release();
        if (SUCCEEDED(tried))
            return S_OK;
        if (tried != VFW_E_NO_ACCEPTABLE_TYPES)
            result = tried;
    }
    return result;
}

STDMETHODIMP CBasePin::Connect(IPin* receivePin, const AM_MEDIA_TYPE* type) {
    if (!receivePin)
        return E_POINTER;
    CAutoLock lock(m_pLock);
    if (m_Connected)
        return VFW_E_ALREADY_CONNECTED;
    if (!IsStopped())
        return VFW_E_NOT_STOPPED;
    if (type) {
        const CMediaType partial(*type);
        return AgreeMediaType(receivePin, &partial);
    }
    return AgreeMediaType(receivePin, nullptr);
}

STDMETHODIMP CBasePin::ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* type) {
    if (!connector || !type)
        return E_POINTER;
    CAutoLock lock(m_pLock);
    if (m_Connected)
        return VFW_E_ALREADY_CONNECTED;
    if (!IsStopped())
        return VFW_E_NOT_STOPPED;
    HRESULT hr = CheckConnect(connector);
    if (FAILED(hr)) {
        BreakConnect();
        return hr;
    }
    const CMediaType offered(*type);
    hr = CheckMediaType(&offered);
    if (hr != S_OK) {
        BreakConnect();
        return VFW_E_TYPE_NOT_ACCEPTED;
    }
    m_Connected = connector;
    m_Connected->AddRef();
    hr = SetMediaType(&offered);
    if (SUCCEEDED(hr))
        hr = CompleteConnect(connector);
    if (FAILED(hr)) {
        BreakConnect();
        ClearConnection();
        return hr;
    }
    return S_OK;
}

STDMETHODIMP CBasePin::Disconnect() {
    CAutoLock lock(m_pLock);
    if (!IsStopped())
        return VFW_E_NOT_STOPPED;
    if (!m_Connected)
        return S_FALSE;
    const HRESULT hr = BreakConnect();
    ClearConnection();
    return FAILED(hr) ? hr : S_OK;
}

STDMETHODIMP CBasePin::ConnectedTo(IPin** pin) {
    if (!pin)
        return E_POINTER;
    CAutoLock lock(m_pLock);
    *pin = m_Connected;
    if (!m_Connected)
        return VFW_E_NOT_CONNECTED;
    m_Connected->AddRef();
    return S_OK;
}

STDMETHODIMP CBasePin::ConnectionMediaType(AM_MEDIA_TYPE* type) {
    if (!type)
        return E_POINTER;
    CAutoLock lock(m_pLock);
    if (!m_Connected) {
        std::memset(type, 0, sizeof(*type));
        return VFW_E_NOT_CONNECTED;
    }
    return CopyMediaType(type, &m_mt);
}

STDMETHODIMP CBasePin::QueryPinInfo(PIN_INFO* info) {
    if (!info)
        return E_POINTER;
    info->pFilter = m_pFilter;
    m_pFilter->AddRef();
    info->dir = m_dir;
    std::memset(info->achName, 0, sizeof(info->achName));
    wcsncpy(info->achName, m_pName.c_str(), MAX_PIN_NAME - 1);
    return S_OK;
}

STDMETHODIMP CBasePin::QueryDirection(PIN_DIRECTION* direction) {
    if (!direction)
        return E_POINTER;
    *direction = m_dir;
    return S_OK;
}

STDMETHODIMP CBasePin::QueryId(LPWSTR* id) {
    if (!id)
        return E_POINTER;
    const size_t bytes = (m_pName.size() + 1) * sizeof(WCHAR);
    *id = static_cast<LPWSTR>(CoTaskMemAlloc(bytes));
    if (!*id)
        return E_OUTOFMEMORY;
    std::memcpy(*id, m_pName.c_str(), bytes);
    return S_OK;
}

STDMETHODIMP CBasePin::QueryAccept(const AM_MEDIA_TYPE* type) {
    if (!type)
        return E_POINTER;
    const CMediaType offered(*type);
    return CheckMediaType(&offered) == S_OK ? S_OK : S_FALSE;
}

STDMETHODIMP CBasePin::EnumMediaTypes(IEnumMediaTypes** types) { return CEnumMediaTypes::Create(this, types); }

STDMETHODIMP CBasePin::QueryInternalConnections(IPin** pins, ULONG* count) {
    (void)pins;
    (void)count;
    return E_NOTIMPL;
}

STDMETHODIMP CBasePin::NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) {
    m_tStart = start;
    m_tStop = stop;
    m_dRate = rate;
    return S_OK;
}
