#pragma once
// Pin lookups by direction, used wherever the engine wires a graph by hand.
#include <windows.h>
#include <dshow.h>

#include "VostrelApi.h"

// The first pin of that direction, with one reference for the caller; null when there is none.
VOSTREL_API IPin* FindPin(IBaseFilter* filter, PIN_DIRECTION direction);

// The index-th pin of that direction (from 0, in enumeration order) in *out with one reference for the
// caller: S_OK; E_FAIL when the filter has fewer; the failing HRESULT when its pins cannot be listed.
VOSTREL_API HRESULT GetPin(IBaseFilter* filter, PIN_DIRECTION direction, int index, IPin** out);

// The index-th input / output pin or null. The pointer carries no reference of its own: it is valid
// while the filter holds the pin, and a caller that keeps it must AddRef it.
VOSTREL_API IPin* GetInPin(IBaseFilter* filter, int index);
VOSTREL_API IPin* GetOutPin(IBaseFilter* filter, int index);
