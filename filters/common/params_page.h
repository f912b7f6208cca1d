#pragma once
// What every effect plug-in's property page shares: the parameter interface of the filter it edits
// (an owned reference while connected) and whether the page is shown.
#include "qeldshow/property_page.h"

template <class Params>
class CParamsPage : public CBasePropertyPage {
public:
    using CBasePropertyPage::CBasePropertyPage;
    ~CParamsPage() override {
        if (params_)
            params_->Release();
    }

protected:
    // Takes the object's parameter interface in place of any held before: E_POINTER without an
    // object, E_NOINTERFACE when it has no such interface (the one held stays).
    HRESULT ConnectParams(IUnknown* object, REFIID iid) {
        if (!object)
            return E_POINTER;
        Params* params = nullptr;
        if (FAILED(object->QueryInterface(iid, reinterpret_cast<void**>(&params))) || !params)
            return E_NOINTERFACE;
        if (params_)
            params_->Release();
        params_ = params;
        return S_OK;
    }
    void ReleaseParams() {
        if (params_)
            params_->Release();
        params_ = nullptr;
    }

    HRESULT OnActivate() override {
        active_ = true;
        return S_OK;
    }
    HRESULT OnDeactivate() override {
        active_ = false;
        return S_OK;
    }

    Params* params_ = nullptr;  // owned reference while connected
    bool active_ = false;       // the page is shown: its changes mark it dirty
};
