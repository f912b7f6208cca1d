#pragma once
// A property page site for page tests: it counts the page's reports that it has changed.
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

namespace plugintest {

class TestPageSite : public IPropertyPageSite {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv)
            return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IPropertyPageSite) {
            *ppv = static_cast<IPropertyPageSite*>(this);
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }  // lives as long as the test
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP OnStatusChange(DWORD flags) override {
        if (flags & PROPPAGESTATUS_DIRTY)
            ++dirtyReports;
        return S_OK;
    }
    STDMETHODIMP GetLocaleID(LCID* locale) override {
        if (!locale)
            return E_POINTER;
        *locale = LOCALE_USER_DEFAULT;
        return S_OK;
    }
    STDMETHODIMP GetPageContainer(IUnknown** container) override {
        if (container)
            *container = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP TranslateAccelerator(MSG*) override { return S_FALSE; }

    int dirtyReports = 0;
};

}  // namespace plugintest
