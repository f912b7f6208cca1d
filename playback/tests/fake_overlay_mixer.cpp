#include "fake_overlay_mixer.h"

#include "ReaderClsids.h"

FakeMixerPin::FakeMixerPin(FakeOverlayMixer* filter, CCritSec* lock, HRESULT* hr, bool offersConfig)
    : CBasePin("fake mixer pin", filter, lock, hr, L"Input0", PINDIR_INPUT), mixer_(filter), offersConfig_(offersConfig) {}

STDMETHODIMP FakeMixerPin::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
    if (offersConfig_ && riid == kIidMixerPinConfig)
        return GetInterface(static_cast<IMixerPinConfig*>(this), ppv);
    return CBasePin::NonDelegatingQueryInterface(riid, ppv);
}

STDMETHODIMP FakeMixerPin::SetAspectRatioMode(int mode) {
    mixer_->aspectMode = mode;
    return S_OK;
}

STDMETHODIMP FakeMixerPin::GetAspectRatioMode(int* mode) {
    if (!mode)
        return E_POINTER;
    *mode = mixer_->aspectMode;
    return S_OK;
}

FakeOverlayMixer::FakeOverlayMixer(bool offersConfig)
    : CBaseFilter("fake overlay mixer", nullptr, &lock_, qelclsid::kOverlayMixer) {
    HRESULT hr = S_OK;
    pin_ = new FakeMixerPin(this, &lock_, &hr, offersConfig);
}

FakeOverlayMixer::~FakeOverlayMixer() { delete pin_; }

STDMETHODIMP FakeOverlayMixer::JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) {
    ++(graph ? joins : leaves);
    return CBaseFilter::JoinFilterGraph(graph, name);
}
