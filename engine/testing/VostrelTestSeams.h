#pragma once
// The engine's test seams, kept out of the host's interface (engine/include): a host never includes
// this header. Only the engine's test build (built with QEL_TEST_SEAMS into build/win/tests) exports
// them and has the seams that change what the engine does; the installed Vostrel.dll has the property
// frame's layout as plain engine code, unexported, and none of the creators or the refusal.
#include <windows.h>
#include <strmif.h>

#include <vector>

#ifdef VOSTREL_BUILD
#ifdef QEL_TEST_SEAMS
#define VOSTREL_TEST_API __declspec(dllexport)
#else
#define VOSTREL_TEST_API
#endif
#else
#define VOSTREL_TEST_API __declspec(dllimport)
#endif

// Whether this file sees the seams: the engine's test build and the tests, never the installed engine.
#if !defined(VOSTREL_BUILD) || defined(QEL_TEST_SEAMS)
#define VOSTREL_HAS_TEST_SEAMS 1
#endif

// The trim editor creates its COM objects (timeline, property setters, render engine, graph builders,
// mix filters) through one creator, so that tests can hand it fakes.
typedef HRESULT (*TrimObjectCreator)(REFCLSID clsid, DWORD context, REFIID iid, void** object);

#ifdef VOSTREL_HAS_TEST_SEAMS
// Installs a creator (null restores the default); returns the previous one.
VOSTREL_TEST_API TrimObjectCreator SetTrimObjectCreator(TrimObjectCreator creator);
#endif

// Every AVI file is written by a multiplexer made through one creator, so that tests can hand the
// record graph a stand-in that behaves as the platform's does where Wine's does not (sound inputs,
// the master stream, the interleaving modes). It makes one filter with one reference.
typedef HRESULT (*AviMuxCreator)(IBaseFilter** mux);

#ifdef VOSTREL_HAS_TEST_SEAMS
// Installs a creator (null restores the platform's multiplexer); returns the previous one.
VOSTREL_TEST_API AviMuxCreator SetAviMuxCreator(AviMuxCreator creator);
#endif

// The layout of a camera property frame: the arithmetic and the walk over the frame's windows are
// plain functions, so that they work on any window tree.

// Set to 0 just before a camera frame opens and to 1 once it has closed; the layout stops on 1.
extern VOSTREL_TEST_API volatile LONG g_propertyFrameClosed;

// The frame's text begins with the title, compared without regard to case over the title's length.
VOSTREL_TEST_API bool FrameTitleMatches(const char* windowText, const char* title);

// How much taller the pages must grow: (child bottom) - (inner page bottom) + 20 of the first child
// for which that is positive, else 0. Screen coordinates.
VOSTREL_TEST_API int PageGrowth(const RECT& innerPage, const std::vector<RECT>& childRects);

// Finds the next top-level "#32770" window whose text matches title, up to `searches` tries, each
// after sleeping sleepMs and only while the closed flag is 0. Null when none was found.
VOSTREL_TEST_API HWND FindPropertyFrame(const char* title, int searches, DWORD sleepMs);

// Grows the frame's outer and inner page, the frame and its tab control and moves its buttons down
// by the growth its inner page's children ask for. False when the tree lacks a page or nothing
// needs to grow (then nothing changed).
VOSTREL_TEST_API bool LayOutPropertyFrame(HWND frame);

#ifdef VOSTREL_HAS_TEST_SEAMS
// The next `count` preview builds of any engine object fail at once, as for a camera that stopped
// answering (0, the default: every build goes ahead). Returns the count that was left.
VOSTREL_TEST_API LONG RefuseNextPreviewBuilds(LONG count);
#endif
