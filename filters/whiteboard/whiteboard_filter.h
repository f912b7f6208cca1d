#pragma once
// The whiteboard plug-in's filter: hands every frame to the whiteboard enhancement with one strength.
#include "strength_filter.h"

CUnknown* CALLBACK CreateWhiteboardFilter(IUnknown* outer, HRESULT* hr);
