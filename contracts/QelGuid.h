#pragma once
// GUID constants defined in the header itself: like DEFINE_GUID under INITGUID, every translation
// unit gets a selectany definition, so no module needs a separate file of GUID definitions.
#include <guiddef.h>

#define QEL_DEFINE_GUID(name, l, w1, w2, b1, b2, b3, b4, b5, b6, b7, b8) \
    EXTERN_C const GUID DECLSPEC_SELECTANY name = {l, w1, w2, {b1, b2, b3, b4, b5, b6, b7, b8}}
