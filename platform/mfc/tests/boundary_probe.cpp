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
