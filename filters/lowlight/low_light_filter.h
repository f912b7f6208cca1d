#pragma once
// The low-light plug-in's filter: brightens dark video with one strength (levels stretch, gamma lift,
// automatic contrast); the core derives its parameters from the strength once per change.
#include "strength_filter.h"

CUnknown* CALLBACK CreateLowLightFilter(IUnknown* outer, HRESULT* hr);
