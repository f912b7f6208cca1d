#pragma once
// A stand-in for the Overlay Mixer (absent under Wine): one input pin named "Input0" that refuses every
// connection and offers IMixerPinConfig, recording the aspect-ratio mode it is given.
#include <atomic>

#include "MixerPinConfig.h"
#include "qeldshow/base_filter.h"
#include "qeldshow/base_pin.h"

class FakeOverlayMixer;

class FakeMixerPin : public CBasePin, public IMixerPinConfig {
public:
    FakeMixerPin(FakeOverlayMixer* filter, CCritSec* lock, HRESULT* hr, bool offersConfig);
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override { return NonDelegatingQueryInterface(riid, ppv); }
    STDMETHODIMP_(ULONG) AddRef() override { return CBasePin::AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return CBasePin::Release(); }
    STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;
    HRESULT CheckMediaType(const CMediaType*) override { return E_FAIL; }
    STDMETHODIMP EndOfStream() override { return S_OK; }
    STDMETHODIMP BeginFlush() override { return S_OK; }
    STDMETHODIMP EndFlush() override { return S_OK; }

    STDMETHODIMP SetRelativePosition(DWORD, DWORD, DWORD, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetRelativePosition(DWORD*, DWORD*, DWORD*, DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP SetZOrder(DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetZOrder(DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP SetColorKey(void*) override { return E_NOTIMPL; }
    STDMETHODIMP GetColorKey(void*, DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP SetBlendingParameter(DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetBlendingParameter(DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP SetAspectRatioMode(int mode) override;
    STDMETHODIMP GetAspectRatioMode(int* mode) override;
    STDMETHODIMP SetStreamTransparent(BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP GetStreamTransparent(BOOL*) override { return E_NOTIMPL; }

private:
    FakeOverlayMixer* mixer_;
    bool offersConfig_;
};

class FakeOverlayMixer : public CBaseFilter {
public:
    explicit FakeOverlayMixer(bool offersConfig);
    ~FakeOverlayMixer() override;
    int GetPinCount() override { return 1; }
    CBasePin* GetPin(int index) override { return index == 0 ? pin_ : nullptr; }
    STDMETHODIMP JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) override;

    std::atomic<int> aspectMode{-1};
    std::atomic<int> joins{0};
    std::atomic<int> leaves{0};

private:
    CCritSec lock_;
    FakeMixerPin* pin_;
};
