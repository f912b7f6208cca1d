#include "NamedFilterPin.h"

#include "GraphSplice.h"
#include "EnginePins.h"

#include <cstring>

qel::ComPtr<IPin> FindPinOfNamedFilter(IGraphBuilder* graph, const char* name, PIN_DIRECTION direction, int index) {
    if (!graph || !name)
        return nullptr;
    for (const qel::ComPtr<IBaseFilter>& filter : FiltersOf(graph)) {
        FILTER_INFO info = {};
        if (FAILED(filter->QueryFilterInfo(&info)))
            continue;
        const qel::ComPtr<IFilterGraph> infoGraph = qel::TakeOver(info.pGraph);
        char ansi[256] = {0};
        WideCharToMultiByte(CP_ACP, 0, info.achName, -1, ansi, sizeof ansi - 1, nullptr, nullptr);
        if (std::strstr(ansi, name))
            return PinOf(filter.Get(), direction, index);
    }
    return nullptr;
}
