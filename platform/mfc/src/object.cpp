// CObject, CRuntimeClass and the module handles.
#include "afxwin.h"

#include <cstdlib>
#include <new>

#include "app_state.h"

const CRuntimeClass CObject::classCObject = {"CObject", sizeof(CObject), 0xFFFF, nullptr, nullptr};

CObject::CObject() = default;
CObject::~CObject() = default;

CRuntimeClass* __stdcall CObject::GetThisClass() {
    return const_cast<CRuntimeClass*>(&CObject::classCObject);
}

CRuntimeClass* CObject::GetRuntimeClass() const {
    return GetThisClass();
}

BOOL CObject::IsKindOf(const CRuntimeClass* cls) const {
    return GetRuntimeClass()->IsDerivedFrom(cls);
}

void* CObject::operator new(size_t size) {
    if (void* block = std::malloc(size ? size : 1))
        return block;
    throw std::bad_alloc();
}

void CObject::operator delete(void* block) {
    std::free(block);
}

CObject* CRuntimeClass::CreateObject() {
    return m_pfnCreateObject ? m_pfnCreateObject() : nullptr;
}

CRuntimeClass* CRuntimeClass::GetBaseClass() const {
    return m_pfnGetBaseClass ? m_pfnGetBaseClass() : nullptr;
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* base) const {
    if (!base)
        return FALSE;
    for (const CRuntimeClass* cls = this; cls; cls = cls->GetBaseClass())
        if (cls == base)
            return TRUE;
    return FALSE;
}

HINSTANCE AFXAPI AfxGetInstanceHandle() {
    if (CWinApp* app = AfxGetApp())
        if (app->m_hInstance)
            return app->m_hInstance;
    return GetModuleHandleA(nullptr);
}

HINSTANCE AFXAPI AfxGetResourceHandle() {
    HINSTANCE resource = qelmfc::State().resourceHandle.load();
    return resource ? resource : AfxGetInstanceHandle();
}

void AFXAPI AfxSetResourceHandle(HINSTANCE resource) {
    qelmfc::State().resourceHandle.store(resource);
}
