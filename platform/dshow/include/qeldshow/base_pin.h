#pragma once
// IPin for our filters: connection with media-type negotiation, and the hooks a pin class fills in.
// A pin is a sub-object of its filter: AddRef and Release go to the filter's outer unknown, while
// QueryInterface answers the pin's own interfaces (IPin and what derived pins add).
//
// Connecting (as the connector, Connect): a fully specified type is tried as given; otherwise our
// own types (GetMediaType) that match the partial type are tried in order, then the other pin's.
// Each attempt runs CheckConnect, CheckMediaType (must be S_OK), SetMediaType, the other pin's
// ReceiveConnection and CompleteConnect; a failure anywhere undoes the attempt (BreakConnect).
#include "qeldshow/base_filter.h"
#include "qeldshow/media_type.h"

#include <string>

class CBasePin : public CUnknown, public IPin {
public:
    CBasePin(const char* objectName, CBaseFilter* filter, CCritSec* lock, HRESULT* result,
             LPCWSTR pinName, PIN_DIRECTION direction);
    ~CBasePin() override;

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override { return NonDelegatingQueryInterface(riid, ppv); }
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) NonDelegatingAddRef() override { return AddRef(); }
    STDMETHODIMP_(ULONG) NonDelegatingRelease() override { return Release(); }

    // IPin
    STDMETHODIMP Connect(IPin* receivePin, const AM_MEDIA_TYPE* type) override;
    STDMETHODIMP ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* type) override;
    STDMETHODIMP Disconnect() override;
    STDMETHODIMP ConnectedTo(IPin** pin) override;
    STDMETHODIMP ConnectionMediaType(AM_MEDIA_TYPE* type) override;
    STDMETHODIMP QueryPinInfo(PIN_INFO* info) override;
    STDMETHODIMP QueryDirection(PIN_DIRECTION* direction) override;
    STDMETHODIMP QueryId(LPWSTR* id) override;
    STDMETHODIMP QueryAccept(const AM_MEDIA_TYPE* type) override;
    STDMETHODIMP EnumMediaTypes(IEnumMediaTypes** types) override;
    STDMETHODIMP QueryInternalConnections(IPin** pins, ULONG* count) override;
    STDMETHODIMP EndOfStream() override = 0;
    STDMETHODIMP BeginFlush() override = 0;
    STDMETHODIMP EndFlush() override = 0;
    STDMETHODIMP NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) override;

    // ---- hooks ----
    // S_OK when the pin can carry the type; anything else refuses it.
    virtual HRESULT CheckMediaType(const CMediaType* type) = 0;
    // The types this pin proposes, by position: S_OK, VFW_S_NO_MORE_ITEMS past the end.
    virtual HRESULT GetMediaType(int position, CMediaType* type);
    // Stores the agreed type.
    virtual HRESULT SetMediaType(const CMediaType* type);
    // Called before a type is tried: the base refuses a pin of the same direction.
    virtual HRESULT CheckConnect(IPin* pin);
    // Called when a connection is torn down or an attempt undone.
    virtual HRESULT BreakConnect();
    // Called when both sides agreed; a failure undoes the connection.
    virtual HRESULT CompleteConnect(IPin* receivePin);
    // Filter state changes (under the filter lock): Stopped -> Paused, Paused/Running -> Stopped,
    // and the start of running.
    virtual HRESULT Active() { return S_OK; }
    virtual HRESULT Inactive() { return S_OK; }
    virtual HRESULT Run(REFERENCE_TIME start);

    bool IsConnected() const { return m_Connected != nullptr; }
    IPin* GetConnected() const { return m_Connected; }  // not AddRef'd
    const CMediaType& CurrentMediaType() const { return m_mt; }
    PIN_DIRECTION Direction() const { return m_dir; }
    const std::wstring& Name() const { return m_pName; }
    bool IsStopped() const { return m_pFilter->IsStopped(); }
    CBaseFilter* Filter() const { return m_pFilter; }

    REFERENCE_TIME CurrentStartTime() const { return m_tStart; }
    REFERENCE_TIME CurrentStopTime() const { return m_tStop; }
    double CurrentRate() const { return m_dRate; }

protected:
    HRESULT AttemptConnection(IPin* receivePin, const CMediaType* type);
    // Tries each type of enumerator that matches the partial type; VFW_E_NO_ACCEPTABLE_TYPES if none.
    HRESULT TryMediaTypes(IPin* receivePin, const CMediaType* partial, IEnumMediaTypes* types);
    HRESULT AgreeMediaType(IPin* receivePin, const CMediaType* partial);
    void ClearConnection();

    std::wstring m_pName;
    CBaseFilter* m_pFilter;
    CCritSec* m_pLock;
    PIN_DIRECTION m_dir;
    IPin* m_Connected = nullptr;  // owned reference
    CMediaType m_mt;
    REFERENCE_TIME m_tStart = 0;
    REFERENCE_TIME m_tStop = 0x7FFFFFFFFFFFFFFFLL;
    double m_dRate = 1.0;
};
