#include "camera_page.h"

#include <dshow.h>

#include <new>
#include <string>

#include "camera_page_ids.h"
#include "control/test_camera_exports.h"
#include "qeldshow/media_type.h"

namespace {

std::wstring FormatText(IAMStreamConfig* config) {
    AM_MEDIA_TYPE* type = nullptr;
    if (FAILED(config->GetFormat(&type)) || !type)
        return L"No format";
    std::wstring text = L"No video format";
    if (type->formattype == FORMAT_VideoInfo && type->pbFormat && type->cbFormat >= sizeof(VIDEOINFOHEADER)) {
        const VIDEOINFOHEADER* info = reinterpret_cast<const VIDEOINFOHEADER*>(type->pbFormat);
        text = std::to_wstring(info->bmiHeader.biWidth) + L" x " + std::to_wstring(info->bmiHeader.biHeight);
        if (info->AvgTimePerFrame > 0)
            text += L", " + std::to_wstring(10000000 / info->AvgTimePerFrame) + L" fps";
    }
    DeleteMediaType(type);
    return text;
}

std::wstring FilterText(IBaseFilter* filter) {
    FILTER_INFO info = {};
    if (FAILED(filter->QueryFilterInfo(&info)))
        return L"Camera";
    const qel::ComPtr<IFilterGraph> graph = qel::TakeOver(info.pGraph);
    return info.achName;
}

}  // namespace

CCameraPage::CCameraPage(IUnknown* outer)
    : CBasePropertyPage("Test camera page", outer, IDD_QEL_CAMERA_PAGE, IDS_QEL_CAMERA_PAGE_TITLE) {}

CUnknown* CALLBACK CCameraPage::Create(IUnknown* outer, HRESULT* hr) {
    CUnknown* page = new (std::nothrow) CCameraPage(outer);
    if (!page)
        *hr = E_OUTOFMEMORY;
    return page;
}

HRESULT CCameraPage::OnConnect(IUnknown* object) {
    if (!object)
        return E_POINTER;
    object_ = object;
    return S_OK;
}

HRESULT CCameraPage::OnDisconnect() {
    if (!object_)
        return E_UNEXPECTED;
    object_.Reset();
    return S_OK;
}

HRESULT CCameraPage::OnActivate() {
    if (!object_)
        return E_UNEXPECTED;
    std::wstring text = L"Unknown object";
    qel::ComPtr<IAMStreamConfig> config;
    qel::ComPtr<IBaseFilter> filter;
    if (SUCCEEDED(object_.As(&config)))
        text = FormatText(config.Get());
    else if (SUCCEEDED(object_.As(&filter)))
        text = FilterText(filter.Get());
    if (!SetDlgItemTextW(PageWindow(), IDC_QEL_CAMERA_PAGE_TEXT, text.c_str()))
        return HRESULT_FROM_WIN32(GetLastError());
    return S_OK;
}

HRESULT CameraPageList(CAUUID* pages) {
    if (!pages)
        return E_POINTER;
    pages->pElems = static_cast<GUID*>(CoTaskMemAlloc(sizeof(GUID)));
    if (!pages->pElems) {
        pages->cElems = 0;
        return E_OUTOFMEMORY;
    }
    pages->cElems = 1;
    pages->pElems[0] = qelcam::CLSID_QelTestCameraPage;
    return S_OK;
}
