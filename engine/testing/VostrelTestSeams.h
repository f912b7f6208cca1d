#pragma once
// The engine's test seams: exported so that the engine's own tests can reach them, and kept out of the
// host's interface (engine/include). A host never includes this header.
#include <windows.h>
#include <strmif.h>

#include <vector>

#include "VostrelApi.h"

// The trim editor creates its COM objects (timeline, property setters, render engine, graph builders,
// mix filters) through one creator, so that tests can hand it fakes.
typedef HRESULT (*TrimObjectCreator)(REFCLSID clsid, DWORD context, REFIID iid, void** object);

// Installs a creator (null restores the default); returns the previous one.
VOSTREL_API TrimObjectCreator SetTrimObjectCreator(TrimObjectCreator creator);

// Every AVI file is written by a multiplexer made through one creator, so that tests can hand the
// record graph a stand-in that behaves as the platform's does where Wine's does not (sound inputs,
// the master stream, the interleaving modes). It makes one filter with one reference.
typedef HRESULT (*AviMuxCreator)(IBaseFilter** mux);

// Installs a creator (null restores the platform's multiplexer); returns the previous one.
VOSTREL_API AviMuxCreator SetAviMuxCreator(AviMuxCreator creator);

// The layout of a camera property frame: the arithmetic and the walk over the frame's windows are
// plain functions, so that they work on any window tree.

// Set to 0 just before a camera frame opens and to 1 once it has closed; the layout stops on 1.
extern VOSTREL_API volatile LONG g_propertyFrameClosed;

// The frame's text begins with the title, compared without regard to case over the title's length.
VOSTREL_API bool FrameTitleMatches(const char* windowText, const char* title);

// How much taller the pages must grow: (child bottom) - (inner page bottom) + 20 of the first child
// for which that is positive, else 0. Screen coordinates.
VOSTREL_API int PageGrowth(const RECT& innerPage, const std::vector<RECT>& childRects);

// Finds the next top-level "#32770" window whose text matches title, up to `searches` tries, each
// after sleeping sleepMs and only while the closed flag is 0. Null when none was found.
VOSTREL_API HWND FindPropertyFrame(const char* title, int searches, DWORD sleepMs);

// Grows the frame's outer and inner page, the frame and its tab control and moves its buttons down
// by the growth its inner page's children ask for. False when the tree lacks a page or nothing
// needs to grow (then nothing changed).
VOSTREL_API bool LayOutPropertyFrame(HWND frame);

// The next `count` preview builds of any engine object fail at once, as for a camera that stopped
// answering (0, the default: every build goes ahead). Returns the count that was left.
VOSTREL_API LONG RefuseNextPreviewBuilds(LONG count);
