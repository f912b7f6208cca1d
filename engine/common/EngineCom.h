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

// Frees a media type's format block and its unknown, leaving both cleared.
inline void FreeMediaTypeFields(AM_MEDIA_TYPE& type) {
    if (type.cbFormat && type.pbFormat)
        CoTaskMemFree(type.pbFormat);
    type.pbFormat = nullptr;
    type.cbFormat = 0;
    SafeRelease(type.pUnk);
}
