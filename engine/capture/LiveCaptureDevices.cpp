// Device and compressor lists through the system device enumerator, device names, and choosing a
// camera or audio input.
#include "LiveCaptureInternal.h"

#include <cwchar>

HRESULT CLiveCapture::xEnumCategory(REFCLSID category, IMoniker** monikers, int capacity, int* count,
                                    HRESULT emptyResult) {
    qel::ComPtr<ICreateDevEnum> devices;
    m_hr = CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER, IID_ICreateDevEnum,
                            reinterpret_cast<void**>(devices.GetAddressOf()));
    if (FAILED(m_hr)) {
        LIVECAP_LOG(this, m_hr);
        return m_hr;
    }
    qel::ComPtr<IEnumMoniker> list;
    m_hr = devices->CreateClassEnumerator(category, list.GetAddressOf(), 0);
    if (m_hr != S_OK) { // S_FALSE: the category is empty
        LIVECAP_LOG(this, m_hr);
        return emptyResult;
    }
    list->Reset();
    ReleaseMonikerArray(monikers, capacity);
    *count = 0;
    while (*count < capacity) {
        IMoniker* moniker = nullptr;
        if (list->Next(1, &moniker, nullptr) != S_OK)
            break;
        monikers[(*count)++] = moniker;
    }
    return 0;
}

HRESULT CLiveCapture::EnumVideoDevice() {
    // The current camera's own reference belongs to the list being replaced; the same slot of the
    // new list is current afterwards.
    const int current = m_nCurVideoDevice;
    xSetCurrentMoniker(m_rgVideoMoniker, &m_nCurVideoDevice, -1);
    const HRESULT hr = xEnumCategory(CLSID_VideoInputDeviceCategory, m_rgVideoMoniker, MAX_DEVICES,
                                     &m_nVideoDeviceCount, LIVECAP_E_NODEVICE);
    if (current >= 0 && current < m_nVideoDeviceCount)
        xSetCurrentMoniker(m_rgVideoMoniker, &m_nCurVideoDevice, current);
    return hr;
}

HRESULT CLiveCapture::EnumAudioDevice() {
    const int current = m_nCurAudioDevice;
    xSetCurrentMoniker(m_rgAudioMoniker, &m_nCurAudioDevice, -1);
    const HRESULT hr = xEnumCategory(CLSID_AudioInputDeviceCategory, m_rgAudioMoniker, MAX_DEVICES,
                                     &m_nAudioDeviceCount, LIVECAP_E_NODEVICE);
    if (current >= 0 && current < m_nAudioDeviceCount)
        xSetCurrentMoniker(m_rgAudioMoniker, &m_nCurAudioDevice, current);
    return hr;
}

HRESULT CLiveCapture::EnumVideoCprFilter() {
    m_nVideoCprCount = 0;
    return xEnumCategory(CLSID_VideoCompressorCategory, m_rgVideoCprMoniker, MAX_COMPRESSORS,
                         &m_nVideoCprCount, LIVECAP_E_NOCOMPRESSOR);
}

HRESULT CLiveCapture::EnumAudioCprFilter() {
    m_nAudioCprCount = 0;
    return xEnumCategory(CLSID_AudioCompressorCategory, m_rgAudioCprMoniker, MAX_COMPRESSORS,
                         &m_nAudioCprCount, LIVECAP_E_NOCOMPRESSOR);
}

void CLiveCapture::ReleaseMonikerArray(IMoniker** monikers, int count) {
    for (int i = 0; i < count; ++i)
        SafeRelease(monikers[i]);
}

// The current device holds one reference of its own besides its list slot: the old one's is given
// back, the new one's taken (-1 or an empty slot: none current).
void CLiveCapture::xSetCurrentMoniker(IMoniker** monikers, int* current, int index) {
    if (*current >= 0 && *current < MAX_DEVICES) {
        IMoniker* own = monikers[*current];
        SafeRelease(own);
    }
    *current = -1;
    if (index >= 0 && index < MAX_DEVICES && monikers[index]) {
        monikers[index]->AddRef();
        *current = index;
    }
}

HRESULT CLiveCapture::GetDeviceNameByMoniker(IMoniker* moniker, WCHAR* buffer, int length) {
    if (!moniker || !buffer || length <= 0)
        return E_INVALIDARG; // no room even for the terminator
    qel::ComPtr<IPropertyBag> bag;
    m_hr = moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag,
                                  reinterpret_cast<void**>(bag.GetAddressOf()));
    if (FAILED(m_hr))
        return m_hr;
    // Asked for as a string. Older systems' VariantInit sets the type only, so the string is set
    // too, and only what the bag has read is cleared.
    VARIANT name;
    VariantInit(&name);
    name.vt = VT_BSTR;
    name.bstrVal = nullptr;
    m_hr = bag->Read(L"FriendlyName", &name, nullptr);
    if (SUCCEEDED(m_hr)) {
        if (name.vt == VT_BSTR && name.bstrVal) {
            const int chars = static_cast<int>(wcslen(name.bstrVal));
            if (chars + 1 <= length) {
                wcscpy(buffer, name.bstrVal);
            } else {
                wcsncpy(buffer, name.bstrVal, length - 1);
                buffer[length - 1] = 0;
            }
        }
        VariantClear(&name);
    }
    return m_hr;
}

BOOL CLiveCapture::IsValidNameStr(const WCHAR* name) {
    return name && wcslen(name) <= NAME_CHARS - 1;
}

int CLiveCapture::GetDeviceNum(DeviceType type) {
    if (type == DEVICE_VIDEO)
        return m_nVideoDeviceCount;
    if (type == DEVICE_AUDIO)
        return m_nAudioDeviceCount;
    return -1;
}

HRESULT CLiveCapture::GetDeviceName(DeviceType type, int index, WCHAR* buffer, int length) {
    if (!buffer || index < -1 || length <= 0)
        return E_INVALIDARG;
    IMoniker* moniker = nullptr;
    if (type == DEVICE_VIDEO && index >= 0 && index < m_nVideoDeviceCount)
        moniker = m_rgVideoMoniker[index];
    else if (type == DEVICE_AUDIO && index >= 0 && index < m_nAudioDeviceCount)
        moniker = m_rgAudioMoniker[index];
    if (!moniker)
        return E_INVALIDARG;
    buffer[0] = 0;
    m_hr = GetDeviceNameByMoniker(moniker, buffer, length);
    if (FAILED(m_hr)) {
        LIVECAP_LOG(this, m_hr);
        return m_hr;
    }
    return 0;
}

// A camera or compressor change while recording: finish the file first (it is kept), without letting
// the capture's own preview restart, since the caller rebuilds the graph next.
void CLiveCapture::xStopCaptureForDeviceChange() {
    if (m_state != LIVE_CAPTURING)
        return;
    const BOOL wantPreview = m_bWantPreview;
    m_bWantPreview = FALSE;
    StopCapture();
    m_bWantPreview = wantPreview;
}

HRESULT CLiveCapture::SetUsedDeviceByIndex(DeviceType type, int index) {
    if (index < -1)
        return E_INVALIDARG;
    if (type == DEVICE_VIDEO) {
        if (index < 0 || index >= m_nVideoDeviceCount || !m_rgVideoMoniker[index])
            return E_INVALIDARG;
        // Choosing a camera asks for its picture, also after an error abort or a lost device
        // switched the preview off.
        m_bWantPreview = TRUE;
        xStopCaptureForDeviceChange();
        xSetCurrentMoniker(m_rgVideoMoniker, &m_nCurVideoDevice, index);
        if (m_state == LIVE_PREVIEWING)
            StopPreview();
        if (m_bPreviewBuilt || m_bCaptureBuilt)
            TearDownGraph();
        FreeCapFilters();
        const HRESULT hr = InitCapFilters();
        if (hr != S_OK)
            return hr;
        if (m_bWantPreview) {
            if (!BuildPreviewGraph()) {
                LIVECAP_LOG(this, 2404);
                return 1;
            }
            StartPreview();
        }
        return 0;
    }
    if (type == DEVICE_AUDIO) {
        if (index != -1 && (index >= m_nAudioDeviceCount || !m_rgAudioMoniker[index]))
            return E_INVALIDARG;
        xSetCurrentMoniker(m_rgAudioMoniker, &m_nCurAudioDevice, index);
        if (index >= 0) {
            m_bWantAudio = TRUE;
            return InitAudioCapFilter();
        }
        if (m_pAudioCapFilter) {
            if (m_pGraph) {
                NukeDownstream(m_pGraph, m_pAudioCapFilter);
                m_pGraph->RemoveFilter(m_pAudioCapFilter);
            }
            SafeRelease(m_pAudioCapFilter);
        }
        SafeRelease(m_pAudioConfig);
        m_nCurAudioDevice = -1;
        m_bWantAudio = FALSE;
        return 0;
    }
    return E_INVALIDARG;
}

HRESULT CLiveCapture::SetUsedDeviceByName(DeviceType type, const WCHAR* name, UINT* index) {
    if (!index || !IsValidNameStr(name))
        return E_INVALIDARG;
    IMoniker** list = type == DEVICE_VIDEO   ? m_rgVideoMoniker
                      : type == DEVICE_AUDIO ? m_rgAudioMoniker
                                             : nullptr;
    if (!list)
        return LIVECAP_E_BADDEVICENAME;
    for (int i = 0; i < MAX_DEVICES; ++i) {
        WCHAR slotName[NAME_CHARS] = {0};
        if (list[i] && SUCCEEDED(GetDeviceNameByMoniker(list[i], slotName, NAME_CHARS)) &&
            wcscmp(slotName, name) == 0) {
            *index = static_cast<UINT>(i);
            return SetUsedDeviceByIndex(type, i);
        }
    }
    return LIVECAP_E_BADDEVICENAME;
}
