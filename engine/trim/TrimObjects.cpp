// The trim editor's object creation.
#include "TrimObjects.h"

#include <objbase.h>

namespace {

HRESULT CoCreateTrimObject(REFCLSID clsid, DWORD context, REFIID iid, void** object) {
    return CoCreateInstance(clsid, nullptr, context, iid, object);
}

#ifdef QEL_TEST_SEAMS
TrimObjectCreator g_creator = CoCreateTrimObject;
#else
constexpr TrimObjectCreator g_creator = CoCreateTrimObject;
#endif

} // namespace

HRESULT CreateTrimObject(REFCLSID clsid, DWORD context, REFIID iid, void** object) {
    if (!object)
        return E_POINTER;
    *object = nullptr;
    return g_creator(clsid, context, iid, object);
}

#ifdef QEL_TEST_SEAMS
TrimObjectCreator SetTrimObjectCreator(TrimObjectCreator creator) {
    const TrimObjectCreator previous = g_creator;
    g_creator = creator ? creator : CoCreateTrimObject;
    return previous;
}
#endif
