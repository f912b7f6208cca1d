#include "EnginePins.h"

using qel::ComPtr;

IPin* FindPin(IBaseFilter* filter, PIN_DIRECTION direction) { return PinOf(filter, direction).Detach(); }

HRESULT GetPin(IBaseFilter* filter, PIN_DIRECTION direction, int index, IPin** out) {
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (!filter)
        return E_POINTER;
    ComPtr<IEnumPins> pins;
    HRESULT hr = filter->EnumPins(&pins);
    if (FAILED(hr))
        return hr;
    if (!pins)
        return E_FAIL;
    ComPtr<IPin> pin;
    while (pins->Next(1, pin.ReleaseAndGetAddressOf(), nullptr) == S_OK) {
        // A pin that does not answer QueryDirection must match neither direction.
        PIN_DIRECTION pinDirection = static_cast<PIN_DIRECTION>(-1);
        pin->QueryDirection(&pinDirection);
        if (pinDirection == direction && index-- == 0) {
            *out = pin.Detach();
            return S_OK;
        }
    }
    return E_FAIL;
}

ComPtr<IPin> PinOf(IBaseFilter* filter, PIN_DIRECTION direction, int index) {
    ComPtr<IPin> pin;
    GetPin(filter, direction, index, &pin);
    return pin;
}

// The pointer lent out: the filter still holds the pin.
IPin* GetInPin(IBaseFilter* filter, int index) { return PinOf(filter, PINDIR_INPUT, index).Get(); }

IPin* GetOutPin(IBaseFilter* filter, int index) { return PinOf(filter, PINDIR_OUTPUT, index).Get(); }
