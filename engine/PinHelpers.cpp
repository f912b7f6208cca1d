#include "PinHelpers.h"

IPin* FindPin(IBaseFilter* filter, PIN_DIRECTION direction) {
    if (!filter)
        return nullptr;
    IEnumPins* pins = nullptr;
    if (FAILED(filter->EnumPins(&pins)) || !pins)
        return nullptr;
    IPin* found = nullptr;
    IPin* pin = nullptr;
    while (!found && pins->Next(1, &pin, nullptr) == S_OK) {
        PIN_DIRECTION pinDirection;
        if (SUCCEEDED(pin->QueryDirection(&pinDirection)) && pinDirection == direction)
            found = pin; // keeps the reference Next gave
        else
            pin->Release();
    }
    pins->Release();
    return found;
}

HRESULT GetPin(IBaseFilter* filter, PIN_DIRECTION direction, int index, IPin** out) {
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (!filter)
        return E_POINTER;
    IEnumPins* pins = nullptr;
    HRESULT hr = filter->EnumPins(&pins);
    if (FAILED(hr))
        return hr;
    if (!pins)
        return E_FAIL;
    hr = E_FAIL;
    IPin* pin = nullptr;
    while (pins->Next(1, &pin, nullptr) == S_OK) {
        // A pin that does not answer QueryDirection must match neither direction.
        PIN_DIRECTION pinDirection = static_cast<PIN_DIRECTION>(-1);
        pin->QueryDirection(&pinDirection);
        if (pinDirection == direction && index-- == 0 && !*out) {
            *out = pin;
            hr = S_OK;
        } else {
            pin->Release();
        }
    }
    pins->Release();
    return hr;
}

namespace {

IPin* BorrowPin(IBaseFilter* filter, PIN_DIRECTION direction, int index) {
    IPin* pin = nullptr;
    if (FAILED(GetPin(filter, direction, index, &pin)) || !pin)
        return nullptr;
    pin->Release(); // the filter still holds the pin
    return pin;
}

} // namespace

IPin* GetInPin(IBaseFilter* filter, int index) {
    return BorrowPin(filter, PINDIR_INPUT, index);
}

IPin* GetOutPin(IBaseFilter* filter, int index) {
    return BorrowPin(filter, PINDIR_OUTPUT, index);
}
