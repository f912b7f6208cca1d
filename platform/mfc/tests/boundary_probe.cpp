#include "boundary_probe.h"

namespace {
CString g_kept;
}

CString ProbeGreeting(CString name) {
    CString greeting("Hello, ");
    greeting += name;
    return greeting;
}

void ProbeAppendInPlace(CString& text, int count) {
    for (int i = 0; i < count; ++i)
        text += '#';
}

void ProbeKeep(CString text) {
    g_kept = text;
}

CString ProbeKept() {
    return g_kept;
}

void ProbeForget() {
    g_kept.Empty();
}

void ProbeAppendPaths(CList<CString, CString&>* paths, int count) {
    for (int i = 0; i < count; ++i) {
        CString path;
        path.Format("path%d", i);
        paths->AddTail(path);
    }
}

CString ProbeJoin(const CStringList& list) {
    CString joined;
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        if (!joined.IsEmpty())
            joined += '|';
        joined += list.GetNext(pos);
    }
    return joined;
}

void ProbeDropFirst(CStringList& list) {
    list.RemoveHead();
}

CStringArray* ProbeNewArray(int count) {
    CStringArray* array = new CStringArray;
    for (int i = 0; i < count; ++i) {
        CString text;
        text.Format("%d", i);
        array->Add(text);
    }
    return array;
}

HINSTANCE ProbeModule() {
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&ProbeModule), &module);
    return module;
}
