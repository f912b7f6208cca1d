#include "qeldshow/unknown.h"

namespace {
std::atomic<LONG> g_liveObjects{0};
std::atomic<LONG> g_serverLocks{0};
} // namespace

CUnknown::CUnknown(const char* name, IUnknown* outer)
    : name_(name ? name : ""),
      // Not aggregated: the owner is our own non-delegating identity, seen through IUnknown's layout.
      owner_(outer ? outer : reinterpret_cast<IUnknown*>(static_cast<INonDelegatingUnknown*>(this))) {
    ++g_liveObjects;
}

CUnknown::~CUnknown() { --g_liveObjects; }

HRESULT STDMETHODCALLTYPE CUnknown::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
    if (!ppv)
        return E_POINTER;
    if (riid == IID_IUnknown) {
        *ppv = static_cast<INonDelegatingUnknown*>(this);
        NonDelegatingAddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE CUnknown::NonDelegatingAddRef() { return static_cast<ULONG>(++refs_); }

ULONG STDMETHODCALLTYPE CUnknown::NonDelegatingRelease() {
    const LONG left = --refs_;
    if (left == 0) {
        // Guard against re-entry from Release calls made while the destructor runs.
        refs_ = 1;
        delete this;
        return 0;
    }
    return static_cast<ULONG>(left);
}

HRESULT GetInterface(IUnknown* pointer, void** ppv) {
    if (!ppv)
        return E_POINTER;
    *ppv = pointer;
    pointer->AddRef();
    return S_OK;
}

LONG QelLiveObjectCount() { return g_liveObjects.load() + g_serverLocks.load(); }

void QelLockServer(bool lock) {
    if (lock)
        ++g_serverLocks;
    else
        --g_serverLocks;
}
