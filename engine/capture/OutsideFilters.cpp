#include "OutsideFilters.h"

#include "QelFilterParams.h"
#include "qeldshow/com_ptr.h"

EXTERN_C const CLSID CLSID_QelFlipPlugin = {0x5D090C4B, 0xAFE4, 0x4E76, {0xB0, 0x24, 0xBD, 0xB6, 0x22, 0x2F, 0x74, 0x78}};
EXTERN_C const CLSID CLSID_TarnTextMix = kClsidTextMix;
EXTERN_C const IID IID_ITarnTextMix = kIidTextMix;

namespace {

HRESULT CreateFilter(REFCLSID clsid, IBaseFilter** filter) {
    if (!filter)
        return E_POINTER;
    *filter = nullptr;
    const HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                        reinterpret_cast<void**>(filter));
    if (FAILED(hr))
        *filter = nullptr;
    return hr;
}

qel::ComPtr<IQelFlipParams> FlipParamsOf(IBaseFilter* plugin) {
    qel::ComPtr<IQelFlipParams> params;
    if (!plugin || FAILED(plugin->QueryInterface(IID_IQelFilterParams, &params)))
        return nullptr;
    return params;
}

qel::ComPtr<ITarnTextMix> TextMixOf(IBaseFilter* filter) {
    qel::ComPtr<ITarnTextMix> mix;
    if (!filter || FAILED(filter->QueryInterface(IID_ITarnTextMix, &mix)))
        return nullptr;
    return mix;
}

} // namespace

HRESULT CreateFlipPlugin(IBaseFilter** plugin) { return CreateFilter(CLSID_QelFlipPlugin, plugin); }

HRESULT CreateTextMixFilter(IBaseFilter** filter) { return CreateFilter(CLSID_TarnTextMix, filter); }

void FlipSendParams(IBaseFilter* plugin, int flipBits) {
    const qel::ComPtr<IQelFlipParams> params = FlipParamsOf(plugin);
    if (!params)
        return;
    params->SetEnable(TRUE);
    if (flipBits & 1)
        params->SetValue2(1);
    if (flipBits & 2)
        params->SetValue(1);
}

void FlipSwitchOff(IBaseFilter* plugin) {
    if (const qel::ComPtr<IQelFlipParams> params = FlipParamsOf(plugin))
        params->SetEnable(FALSE);
}

void TextMixSetMixInfo(IBaseFilter* filter, CTextMixInfo* info, BOOL flag) {
    if (const qel::ComPtr<ITarnTextMix> mix = TextMixOf(filter))
        mix->SetMixInfo(info, flag);
}

void TextMixClearMixInfo(IBaseFilter* filter) {
    if (const qel::ComPtr<ITarnTextMix> mix = TextMixOf(filter))
        mix->ClearMixInfo();
}

void TextMixSetPosition(IBaseFilter* filter, LONGLONG position, BOOL flag) {
    if (const qel::ComPtr<ITarnTextMix> mix = TextMixOf(filter))
        mix->SetPosition(position, flag);
}
