// Adding properties to an Editing Services property setter.
#include "PropertySetter.h"

#include <oleauto.h>

#include <vector>

HRESULT AddTrimProperty(IPropertySetter* setter, const wchar_t* name, const TrimPropertyValue* values, int count) {
    if (!setter || !name || !values || count <= 0)
        return E_INVALIDARG;
    DEXTER_PARAM param = {};
    param.name = SysAllocString(name);
    if (!param.name)
        return E_OUTOFMEMORY;
    param.dispID = 0;
    param.nValues = count;
    std::vector<DEXTER_VALUE> list(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        list[i].v = values[i].value;
        list[i].rt = values[i].time;
        list[i].dwInterp = values[i].interpolation;
    }
    const HRESULT hr = setter->AddProp(param, list.data());
    SysFreeString(param.name);
    return hr;
}

TrimPropertyValue TrimIntValue(long value, REFERENCE_TIME time, DWORD interpolation) {
    TrimPropertyValue result = {};
    result.value.vt = VT_I4;
    result.value.lVal = value;
    result.time = time;
    result.interpolation = interpolation;
    return result;
}

TrimPropertyValue TrimDoubleValue(double value, REFERENCE_TIME time, DWORD interpolation) {
    TrimPropertyValue result = {};
    result.value.vt = VT_R8;
    result.value.dblVal = value;
    result.time = time;
    result.interpolation = interpolation;
    return result;
}
