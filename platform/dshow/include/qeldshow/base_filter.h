#pragma once
// The filter half of our DirectShow base: IBaseFilter (with IMediaFilter and IPersist), the
// Stopped/Paused/Running state machine, reference clock and stream time, graph membership and
// events. A derived filter supplies its pins (GetPinCount, GetPin); pins are sub-objects whose
// reference counts are the filter's.
//
// State changes: Pause from Stopped activates every connected pin (CBasePin::Active), Run runs
// them with the start time, Stop deactivates them. All of it happens under the filter lock given
// to the constructor, which the pins share.
#include "qeldshow/critical_section.h"
#include "qeldshow/unknown.h"

#include <dshow.h>

#include <atomic>
#include <string>

class CBasePin;

class CBaseFilter : public CUnknown, public IBaseFilter {
public:
    // lock: the filter's state lock, owned by the derived class (it may not be constructed yet).
    CBaseFilter(const char* name, IUnknown* outer, CCritSec* lock, REFCLSID clsid);
    ~CBaseFilter() override;

    DECLARE_IUNKNOWN
    STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    // IPersist
    STDMETHODIMP GetClassID(CLSID* clsid) override;
    // IMediaFilter
    STDMETHODIMP Stop() override;
    STDMETHODIMP Pause() override;
    STDMETHODIMP Run(REFERENCE_TIME start) override;
    STDMETHODIMP GetState(DWORD timeoutMs, FILTER_STATE* state) override;
    STDMETHODIMP SetSyncSource(IReferenceClock* clock) override;
    STDMETHODIMP GetSyncSource(IReferenceClock** clock) override;
    // IBaseFilter
    STDMETHODIMP EnumPins(IEnumPins** pins) override;
    STDMETHODIMP FindPin(LPCWSTR id, IPin** pin) override;
    STDMETHODIMP QueryFilterInfo(FILTER_INFO* info) override;
    STDMETHODIMP JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) override;
    STDMETHODIMP QueryVendorInfo(LPWSTR* vendorInfo) override;

    // The pins, 0 .. GetPinCount()-1; GetPin answers nullptr outside. Not AddRef'd.
    virtual int GetPinCount() = 0;
    virtual CBasePin* GetPin(int index) = 0;
    // Changes whenever the set of pins changes (pin enumerators go out of sync).
    LONG GetPinVersion() const { return m_pinVersion; }
    void IncrementPinVersion() { ++m_pinVersion; }

    // Sends an event to the graph (IMediaEventSink); E_NOTIMPL when not in a graph or the graph
    // takes no events. EC_COMPLETE carries this filter as its second parameter, as graphs expect.
    HRESULT NotifyEvent(long code, LONG_PTR param1, LONG_PTR param2);
    // Now on the reference clock minus the run start time; VFW_E_NO_CLOCK without a clock.
    HRESULT StreamTime(REFERENCE_TIME& now);

    bool IsActive() const { return m_State != State_Stopped; }
    bool IsStopped() const { return m_State == State_Stopped; }
    FILTER_STATE State() const { return m_State; }
    CCritSec* FilterLock() const { return m_pLock; }
    // The graph this filter belongs to (not AddRef'd: the graph holds the filter).
    IFilterGraph* GetFilterGraph() const { return m_pGraph; }
    // The filter's IBaseFilter as outsiders see it (through the outer unknown when aggregated).
    IBaseFilter* OuterFilter() { return this; }
    const std::wstring& FilterName() const { return m_name; }

protected:
    CCritSec* m_pLock;
    std::atomic<FILTER_STATE> m_State{State_Stopped};  // read by streaming threads
    IReferenceClock* m_pClock = nullptr;  // owned reference
    REFERENCE_TIME m_tStart = 0;
    CLSID m_clsid;
    IFilterGraph* m_pGraph = nullptr;  // weak: the graph owns us
    IMediaEventSink* m_pSink = nullptr;  // weak, the graph's own
    std::wstring m_name;

private:
    LONG m_pinVersion = 1;
};
