#pragma once
// A second module that takes, changes and returns strings, as our DLLs pass them to each other.
#include <afx.h>

#ifdef MFC_PROBE_BUILD
#define MFC_PROBE_API __declspec(dllexport)
#else
#define MFC_PROBE_API __declspec(dllimport)
#endif

MFC_PROBE_API CString ProbeGreeting(CString name);               // "Hello, " + name, by value both ways
MFC_PROBE_API void ProbeAppendInPlace(CString& text, int count); // appends count '#' characters
MFC_PROBE_API void ProbeKeep(CString text);                      // keeps a copy inside the probe
MFC_PROBE_API CString ProbeKept();
MFC_PROBE_API void ProbeForget();

#include <afxtempl.h>

// Lists and arrays filled, changed and emptied on the probe's side of the boundary.
MFC_PROBE_API void ProbeAppendPaths(CList<CString, CString&>* paths, int count); // "path0".."pathN-1"
MFC_PROBE_API CString ProbeJoin(const CStringList& list);                        // "a|b|c"
MFC_PROBE_API void ProbeDropFirst(CStringList& list);                            // RemoveHead
MFC_PROBE_API CStringArray* ProbeNewArray(int count);                            // "0".."count-1", delete it
MFC_PROBE_API HINSTANCE ProbeModule();                                           // holds string 101 "probe text"
