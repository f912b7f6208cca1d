#pragma once
// An output pin that delivers to an IMemInputPin. At connection it agrees on an allocator: the
// downstream pin's when it has one that takes our DecideBufferSize and no other link has sized it
// yet, else one of our own (CMemAllocator), the downstream's sized one only when ours is refused. Active commits the allocator, Inactive decommits it (which wakes a thread
// waiting in GetDeliveryBuffer).
#include "qeldshow/base_pin.h"

class CBaseOutputPin : public CBasePin {
public:
    CBaseOutputPin(const char* objectName, CBaseFilter* filter, CCritSec* lock, HRESULT* result, LPCWSTR pinName);
    ~CBaseOutputPin() override;

    // Sets the buffer count and size the pin needs on allocator; must check what it was granted.
    virtual HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) = 0;
    virtual HRESULT DecideAllocator(IMemInputPin* pin, IMemAllocator** allocator);
    // Our own allocator for when the downstream pin has none (or refuses our sizes).
    virtual HRESULT InitAllocator(IMemAllocator** allocator);

    HRESULT GetDeliveryBuffer(IMediaSample** sample, REFERENCE_TIME* start, REFERENCE_TIME* stop, DWORD flags);
    virtual HRESULT Deliver(IMediaSample* sample);
    virtual HRESULT DeliverEndOfStream();
    virtual HRESULT DeliverBeginFlush();
    virtual HRESULT DeliverEndFlush();
    virtual HRESULT DeliverNewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate);

    // An output pin receives no stream calls.
    STDMETHODIMP EndOfStream() override { return E_UNEXPECTED; }
    STDMETHODIMP BeginFlush() override { return E_UNEXPECTED; }
    STDMETHODIMP EndFlush() override { return E_UNEXPECTED; }

    HRESULT CheckConnect(IPin* pin) override;
    HRESULT CompleteConnect(IPin* receivePin) override;
    HRESULT BreakConnect() override;
    HRESULT Active() override;
    HRESULT Inactive() override;

    IMemAllocator* Allocator() const { return m_pAllocator; }  // not AddRef'd
    IMemInputPin* ConnectedInputPin() const { return m_pInputPin; }  // not AddRef'd

protected:
    IMemAllocator* m_pAllocator = nullptr;  // owned reference
    IMemInputPin* m_pInputPin = nullptr;    // owned reference

private:
    static bool HasBuffersSet(IMemAllocator* allocator);
    bool TryAllocator(IMemInputPin* pin, IMemAllocator* allocator, const ALLOCATOR_PROPERTIES& request);
};
