#pragma once
// COM identity for our objects: a non-delegating IUnknown, so that every object can be aggregated
// (its interfaces delegate to the outer unknown, which is the object itself when not aggregated).
#include <windows.h>
#include <unknwn.h>

#include <atomic>

struct INonDelegatingUnknown {
    virtual HRESULT STDMETHODCALLTYPE NonDelegatingQueryInterface(REFIID riid, void** ppv) = 0;
    virtual ULONG STDMETHODCALLTYPE NonDelegatingAddRef() = 0;
    virtual ULONG STDMETHODCALLTYPE NonDelegatingRelease() = 0;
};

class CUnknown : public INonDelegatingUnknown {
public:
    // outer: the controlling unknown when aggregated, or nullptr. name: for diagnostics only.
    CUnknown(const char* name, IUnknown* outer);
    virtual ~CUnknown();
    CUnknown(const CUnknown&) = delete;
    CUnknown& operator=(const CUnknown&) = delete;

    // Answers IUnknown with the non-delegating identity; derived classes add their interfaces.
    HRESULT STDMETHODCALLTYPE NonDelegatingQueryInterface(REFIID riid, void** ppv) override;
    ULONG STDMETHODCALLTYPE NonDelegatingAddRef() override;
    ULONG STDMETHODCALLTYPE NonDelegatingRelease() override;

    IUnknown* GetOwner() const { return owner_; }
    const char* Name() const { return name_; }

protected:
    LONG RefCount() const { return refs_.load(); }

private:
    const char* name_;
    IUnknown* owner_;
    std::atomic<LONG> refs_{0};
};

// Hands out pointer as the interface asked for, AddRef'd; E_POINTER for a null out-pointer.
HRESULT GetInterface(IUnknown* pointer, void** ppv);

// Live objects and server locks of this module, for DllCanUnloadNow.
LONG QelLiveObjectCount();
void QelLockServer(bool lock);

// The IUnknown methods of an interface implemented by a CUnknown-derived class: they go to the owner.
#define DECLARE_IUNKNOWN                                                                                   \
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override { return GetOwner()->QueryInterface(riid, ppv); } \
    STDMETHODIMP_(ULONG) AddRef() override { return GetOwner()->AddRef(); }                               \
    STDMETHODIMP_(ULONG) Release() override { return GetOwner()->Release(); }
