#pragma once
// What every effect plug-in's property page shares: the parameter interface of the filter it edits
// (an owned reference while connected) and whether the page is shown.
#include "qeldshow/com_ptr.h"
#include "qeldshow/property_page.h"

#include <utility>

template <class Params>
class CParamsPage : public CBasePropertyPage {
public:
    using CBasePropertyPage::CBasePropertyPage;

protected:
    // Takes the object's parameter interface in place of any held before: E_POINTER without an
    // object, E_NOINTERFACE when it has no such interface (the one held stays).
    HRESULT ConnectParams(IUnknown* object, REFIID iid) {
        if (!object)
            return E_POINTER;
        qel::ComPtr<Params> params;
        if (FAILED(object->QueryInterface(iid, reinterpret_cast<void**>(params.GetAddressOf()))) || !params)
            return E_NOINTERFACE;
        params_ = std::move(params);
        return S_OK;
    }
    void ReleaseParams() { params_.Reset(); }

    HRESULT OnActivate() override {
        active_ = true;
        return S_OK;
    }
    HRESULT OnDeactivate() override {
        active_ = false;
        return S_OK;
    }

    qel::ComPtr<Params> params_;  // held while connected
    bool active_ = false;         // the page is shown: its changes mark it dirty
};
