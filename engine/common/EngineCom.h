#pragma once
// How every part of the engine holds COM references and media types: qel::ComPtr for what a function
// holds itself; SafeRelease for the fields the exported classes keep as raw pointers.
#include <windows.h>
#include <dshow.h>

#include "qeldshow/com_ptr.h"

// Releases a raw pointer field and clears it.
template <class T>
void SafeRelease(T*& pointer) {
    if (pointer) {
        pointer->Release();
        pointer = nullptr;
    }
}

// Asks `from` for T's interface into an owning pointer (released first).
template <class T>
HRESULT QueryInto(IUnknown* from, qel::ComPtr<T>& to) {
    return from->QueryInterface(__uuidof(T), reinterpret_cast<void**>(to.ReleaseAndGetAddressOf()));
}

// The same for interfaces whose platform header gives no __uuidof.
template <class T>
HRESULT QueryInto(IUnknown* from, REFIID iid, qel::ComPtr<T>& to) {
    return from->QueryInterface(iid, reinterpret_cast<void**>(to.ReleaseAndGetAddressOf()));
}

// Frees a media type's format block and its unknown, leaving both cleared.
inline void FreeMediaTypeFields(AM_MEDIA_TYPE& type) {
    if (type.cbFormat && type.pbFormat)
        CoTaskMemFree(type.pbFormat);
    type.pbFormat = nullptr;
    type.cbFormat = 0;
    SafeRelease(type.pUnk);
}
