#pragma once
// In-process COM server plumbing: one template per creatable class of a module, and the class
// factory that hands out its objects.
#include <windows.h>
#include <unknwn.h>

#include "qeldshow/setup_data.h"
#include "qeldshow/unknown.h"

// Creates an object, not yet referenced; on failure sets *hr and returns nullptr (or returns an object
// together with a failing *hr, which the factory then deletes).
typedef CUnknown*(CALLBACK* LPFNNewCOMObject)(IUnknown* outer, HRESULT* hr);
// Called with TRUE when the module is loaded and FALSE when it is unloaded.
typedef void(CALLBACK* LPFNInitRoutine)(BOOL loading, const CLSID* clsid);

struct CFactoryTemplate {
    const WCHAR* m_Name;
    const CLSID* m_ClsID;
    LPFNNewCOMObject m_lpfnNew;
    LPFNInitRoutine m_lpfnInit;
    const AMOVIESETUP_FILTER* m_pAMovieSetup_Filter;

    bool IsClassID(REFCLSID clsid) const { return m_ClsID && *m_ClsID == clsid; }
};

// Each module that uses the standard entry points (DllGetClassObject, DllCanUnloadNow and
// AMovieDllRegisterServer2) defines its template list under these names.
extern CFactoryTemplate g_Templates[];
extern int g_cTemplates;

class CClassFactory : public CUnknown, public IClassFactory {
public:
    explicit CClassFactory(const CFactoryTemplate* objectTemplate);

    DECLARE_IUNKNOWN
    HRESULT STDMETHODCALLTYPE NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    // An aggregating caller may only ask for IUnknown (it gets the inner, non-delegating one).
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override;
    STDMETHODIMP LockServer(BOOL lock) override;

protected:
    // Makes one object; a module whose classes are not fixed at build time overrides it.
    virtual CUnknown* CreateObject(IUnknown* outer, HRESULT* hr);

private:
    const CFactoryTemplate* template_;
};

// Gives the caller riid of a class factory just made (null: E_OUTOFMEMORY); the factory lives on
// only through the reference handed out, and is gone when the interface is refused.
HRESULT HandOutFactory(CClassFactory* factory, REFIID riid, void** ppv);

// Hands out a class factory for clsid from the given list (the standard DllGetClassObject over it).
HRESULT GetClassObjectFromTemplates(const CFactoryTemplate* templates, int count, REFCLSID clsid, REFIID riid,
                                    void** ppv);

// S_OK when no object, class factory or server lock of this module is alive, else S_FALSE.
HRESULT ModuleCanUnloadNow();
