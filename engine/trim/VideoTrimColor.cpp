// Black fillers: a colour source on a timeline node.
#include "VideoTrim.h"

#include "EditingServices.h"
#include "EngineCom.h"
#include "PropertySetter.h"
#include "TrimLog.h"
#include "TrimObjects.h"

HRESULT CVideoTrim::ApplyColorProperty(IAMTimelineObj* node, DWORD colour) {
    if (!node)
        return E_INVALIDARG;
    HRESULT hr = node->SetSubObjectGUID(qeltrim_clsid::kColorSource);
    if (FAILED(hr)) {
        TRIM_LOG(hr);
        return hr;
    }
    qel::ComPtr<IPropertySetter> setter;
    HRESULT propertyResult = node->GetPropertySetter(setter.ReleaseAndGetAddressOf());
    if (!setter) {
        // Where no property setter can be created the colour cannot be set: report, never call through null.
        propertyResult = CreateTrimObject(qeltrim_clsid::kPropertySetter, CLSCTX_ALL, IID_IPropertySetter,
                                          reinterpret_cast<void**>(setter.ReleaseAndGetAddressOf()));
        if (FAILED(propertyResult) || !setter) {
            TRIM_LOG(propertyResult);
            return FAILED(propertyResult) ? propertyResult : E_NOINTERFACE;
        }
        propertyResult = node->SetPropertySetter(setter.Get());
    }
    const TrimPropertyValue value = TrimIntValue(static_cast<long>(colour), 0);
    if (SUCCEEDED(propertyResult))
        propertyResult = AddTrimProperty(setter.Get(), L"Color", &value, 1);
    if (FAILED(propertyResult))
        TRIM_LOG(propertyResult);
    return propertyResult | node->SetMuted(FALSE);
}
