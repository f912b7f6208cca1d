#pragma once
// Finding a filter of a graph by part of its name, as the engine names the filters it adds.
#include <windows.h>
#include <dshow.h>

#include "qeldshow/com_ptr.h"

// The index-th pin of that direction on the first filter (in enumeration order) whose name, in the
// system code page, contains `name` (case-sensitive); null when none matches.
qel::ComPtr<IPin> FindPinOfNamedFilter(IGraphBuilder* graph, const char* name, PIN_DIRECTION direction, int index);
