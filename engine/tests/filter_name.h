#pragma once
// The name a filter was given in its graph, as the engine tests compare chains of filters.
#include <windows.h>
#include <dshow.h>

#include <string>

namespace enginetest {

// Empty when the filter cannot say; the graph reference the query hands out is given back at once.
inline std::wstring NameOf(IBaseFilter* filter) {
    FILTER_INFO info = {};
    if (FAILED(filter->QueryFilterInfo(&info)))
        return L"";
    if (info.pGraph)
        info.pGraph->Release();
    return info.achName;
}

} // namespace enginetest
