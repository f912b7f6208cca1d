#pragma once
// The auto tone and auto enhance filters, one kernel: every frame is corrected from its own
// statistics (tone; for auto enhance also colour), blended with the picture by one strength.
#include "strength_filter.h"

// Tone: stretches and equalises the tonal range.
CUnknown* CALLBACK CreateAutoToneFilter(IUnknown* outer, HRESULT* hr);
// Enhance: the same, then raises the colour saturation.
CUnknown* CALLBACK CreateAutoEnhanceFilter(IUnknown* outer, HRESULT* hr);
