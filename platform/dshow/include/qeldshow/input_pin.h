#pragma once
// An input pin that takes samples through IMemInputPin. The base Receive does the checks every
// receiving pin needs (CheckStreaming, then a format change carried by the sample); a derived pin
// calls it first and handles the sample when it answers S_OK.
//
// CheckStreaming: VFW_E_WRONG_STATE while the filter is stopped, S_FALSE while flushing or after
// end of stream, VFW_E_RUNTIME_ERROR after a streaming error was recorded.
#include "qeldshow/base_pin.h"

class CBaseInputPin : public CBasePin, public IMemInputPin {
public:
    CBaseInputPin(const char* objectName, CBaseFilter* filter, CCritSec* lock, HRESULT* result, LPCWSTR pinName);
    ~CBaseInputPin() override;

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override { return NonDelegatingQueryInterface(riid, ppv); }
    STDMETHODIMP_(ULONG) AddRef() override { return CBasePin::AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return CBasePin::Release(); }
    STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    // IMemInputPin
    STDMETHODIMP GetAllocator(IMemAllocator** allocator) override;
    STDMETHODIMP NotifyAllocator(IMemAllocator* allocator, BOOL readOnly) override;
    STDMETHODIMP GetAllocatorRequirements(ALLOCATOR_PROPERTIES* props) override;
    STDMETHODIMP Receive(IMediaSample* sample) override;
    STDMETHODIMP ReceiveMultiple(IMediaSample** samples, LONG count, LONG* processed) override;
    STDMETHODIMP ReceiveCanBlock() override;

    // IPin: the base versions keep the flags; derived pins pass the calls on.
    STDMETHODIMP EndOfStream() override;
    STDMETHODIMP BeginFlush() override;
    STDMETHODIMP EndFlush() override;

    HRESULT Active() override;
    HRESULT Inactive() override;
    HRESULT BreakConnect() override;

    HRESULT CheckStreaming();
    bool IsFlushing() const { return m_bFlushing; }
    bool IsAtEndOfStream() const { return m_bAtEndOfStream; }
    bool IsReadOnly() const { return m_bReadOnly; }
    // Records a streaming error: later samples are refused until the filter stops.
    void SetRunTimeError() { m_bRunTimeError = true; }
    IMemAllocator* Allocator() const { return m_pAllocator; }  // not AddRef'd

protected:
    IMemAllocator* m_pAllocator = nullptr;  // owned reference
    bool m_bReadOnly = false;
    volatile bool m_bFlushing = false;
    volatile bool m_bAtEndOfStream = false;
    volatile bool m_bRunTimeError = false;
};
