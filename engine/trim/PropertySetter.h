#pragma once
// Building the property list a timeline node hands to its transform: one named property at a time.
#include <windows.h>
#include <qedit.h>

// One value of a property at a time on the node's clock; interpolation 0 jumps, 1 is linear.
struct TrimPropertyValue {
    VARIANT value;
    REFERENCE_TIME time;
    DWORD interpolation;
};

// Adds the property `name` with its values to the setter.
HRESULT AddTrimProperty(IPropertySetter* setter, const wchar_t* name, const TrimPropertyValue* values, int count);

// A value of type VT_I4 or VT_R8 at `time`.
TrimPropertyValue TrimIntValue(long value, REFERENCE_TIME time, DWORD interpolation = 0);
TrimPropertyValue TrimDoubleValue(double value, REFERENCE_TIME time, DWORD interpolation = 0);
