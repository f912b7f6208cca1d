#pragma once
// The one place where the trim editor creates its COM objects (timeline, property setters, render
// engine, graph builders, mix filters); in the engine's test build its creator is a test seam
// (VostrelTestSeams.h).
#include <windows.h>

#include "VostrelTestSeams.h"

// Creates through the installed creator (CoCreateInstance without an outer object by default).
HRESULT CreateTrimObject(REFCLSID clsid, DWORD context, REFIID iid, void** object);
