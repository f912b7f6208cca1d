#include "qeldshow/class_factory.h"

#include <new>

CClassFactory::CClassFactory(const CFactoryTemplate* objectTemplate)
    : CUnknown("Class factory", nullptr), template_(objectTemplate) {}

HRESULT STDMETHODCALLTYPE CClassFactory::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
    if (riid == IID_IClassFactory)
        return GetInterface(static_cast<IClassFactory*>(this), ppv);
    return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

CUnknown* CClassFactory::CreateObject(IUnknown* outer, HRESULT* hr) {
    if (!template_ || !template_->m_lpfnNew) {
        *hr = CLASS_E_CLASSNOTAVAILABLE;
        return nullptr;
    }
    return template_->m_lpfnNew(outer, hr);
}

STDMETHODIMP CClassFactory::CreateInstance(IUnknown* outer, REFIID riid, void** ppv) {
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    // An aggregated object's identity belongs to the outer object: it may only hold our inner unknown.
    if (outer && riid != IID_IUnknown)
        return CLASS_E_NOAGGREGATION;

    HRESULT hr = S_OK;
    CUnknown* object = CreateObject(outer, &hr);
    if (!object)
        return FAILED(hr) ? hr : E_OUTOFMEMORY;
    if (FAILED(hr)) {
        delete object;
        return hr;
    }
    // One reference across the query, so that a refused interface destroys the object again.
    object->NonDelegatingAddRef();
    hr = object->NonDelegatingQueryInterface(riid, ppv);
    object->NonDelegatingRelease();
    return hr;
}

STDMETHODIMP CClassFactory::LockServer(BOOL lock) {
    QelLockServer(lock != FALSE);
    return S_OK;
}

HRESULT HandOutFactory(CClassFactory* factory, REFIID riid, void** ppv) {
    if (!factory)
        return E_OUTOFMEMORY;
    factory->NonDelegatingAddRef();
    const HRESULT hr = factory->NonDelegatingQueryInterface(riid, ppv);
    factory->NonDelegatingRelease();
    return hr;
}

HRESULT GetClassObjectFromTemplates(const CFactoryTemplate* templates, int count, REFCLSID clsid, REFIID riid,
                                    void** ppv) {
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    if (riid != IID_IUnknown && riid != IID_IClassFactory)
        return E_NOINTERFACE;
    for (int i = 0; i < count; ++i) {
        if (!templates[i].IsClassID(clsid) || !templates[i].m_lpfnNew)
            continue;
        return HandOutFactory(new (std::nothrow) CClassFactory(&templates[i]), riid, ppv);
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}

HRESULT ModuleCanUnloadNow() { return QelLiveObjectCount() == 0 ? S_OK : S_FALSE; }
