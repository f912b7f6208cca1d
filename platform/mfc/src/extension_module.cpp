#include "afxdllx.h"

BOOL AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE module) {
    if (!module)
        return FALSE;
    if (state.bInitialized)
        return TRUE;
    state.hModule = module;
    state.hResource = module;
    state.bInitialized = TRUE;
    return TRUE;
}

void AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL /*all*/) {
    state.bInitialized = FALSE;
    state.hModule = nullptr;
    state.hResource = nullptr;
}
