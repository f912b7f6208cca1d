#pragma once
// The one place where the trim editor creates its COM objects (timeline, property setters, render
// engine, graph builders, mix filters), so that tests can hand it fakes.
#include <windows.h>

#include "VostrelApi.h"

typedef HRESULT (*TrimObjectCreator)(REFCLSID clsid, DWORD context, REFIID iid, void** object);

// Creates through the installed creator (CoCreateInstance without an outer object by default).
HRESULT CreateTrimObject(REFCLSID clsid, DWORD context, REFIID iid, void** object);

// Installs a creator (null restores the default); returns the previous one.
VOSTREL_API TrimObjectCreator SetTrimObjectCreator(TrimObjectCreator creator);
