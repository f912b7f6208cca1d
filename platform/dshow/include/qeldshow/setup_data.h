#pragma once
// Registration data of a filter: what IFilterMapper2 records about it and its pins, so that graph
// builders and device enumerators can find it without creating it.
#include <windows.h>

struct AMOVIESETUP_MEDIATYPE {
    const CLSID* clsMajorType;
    const CLSID* clsMinorType;
};

struct AMOVIESETUP_PIN {
    const WCHAR* strName;
    BOOL bRendered;
    BOOL bOutput;
    BOOL bZero;
    BOOL bMany;
    const CLSID* clsConnectsToFilter;
    const WCHAR* strConnectsToPin;
    UINT nMediaTypes;
    const AMOVIESETUP_MEDIATYPE* lpMediaType;
};

struct AMOVIESETUP_FILTER {
    const CLSID* clsID;
    const WCHAR* strName;
    DWORD dwMerit;
    UINT nPins;
    const AMOVIESETUP_PIN* lpPin;
    // Category to list the filter under; nullptr means the ordinary DirectShow filters category.
    const CLSID* category = nullptr;
};
