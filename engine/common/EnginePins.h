#pragma once
// The engine's own pin lookup, owned by its result; the exported lookups of PinHelpers.h beside it.
#include <windows.h>
#include <dshow.h>

#include "PinHelpers.h"
#include "qeldshow/com_ptr.h"

// The index-th pin of that direction; null when there is none.
qel::ComPtr<IPin> PinOf(IBaseFilter* filter, PIN_DIRECTION direction, int index = 0);
