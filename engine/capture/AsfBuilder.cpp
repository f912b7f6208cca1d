// Windows Media profiles for the ASF writer: version selection, system profiles by number, and the
// frame size of a profile's video streams.
#include "AsfBuilder.h"

#include <dshow.h>

#include "CaptureLimits.h"
#include "EngineCom.h"
#include "WmProfiles.h"

#include <vector>

CAsfBuilder::CAsfBuilder() : m_pProfileManager(nullptr) {}

CAsfBuilder::CAsfBuilder(const CAsfBuilder& other) : m_pProfileManager(other.m_pProfileManager) {
    if (m_pProfileManager)
        m_pProfileManager->AddRef();
}

// The exported class keeps a raw field: the new reference is taken before the old one goes, so
// assigning an object to itself keeps its manager.
CAsfBuilder& CAsfBuilder::operator=(const CAsfBuilder& other) {
    auto* previous = m_pProfileManager;
    m_pProfileManager = other.m_pProfileManager;
    if (m_pProfileManager)
        m_pProfileManager->AddRef();
    SafeRelease(previous);
    return *this;
}

CAsfBuilder::~CAsfBuilder() {
    SafeRelease(m_pProfileManager);
}

HRESULT CAsfBuilder::xCreateProfileManager() {
    return WmCreateProfileManager(&m_pProfileManager);
}

long CAsfBuilder::CheckWMFVersion() {
    // Only read for the record: the answer is the same whatever the key holds.
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT,
                      "Software\\Microsoft\\Multimedia\\Components\\Informational\\playback_WMFSDK\\Files\\File1", 0,
                      KEY_READ, &key) == ERROR_SUCCESS) {
        BYTE version[260] = {0};
        DWORD size = sizeof version;
        RegQueryValueExA(key, "Version", nullptr, nullptr, version, &size);
        RegCloseKey(key);
    }
    return 1;
}

HRESULT CAsfBuilder::SetUseWMFVersion(unsigned version) {
    const qelrec::WmfVersion choice = qelrec::ChooseWmfVersion(version);
    if (choice.choice == qelrec::WmfVersionChoice::kInvalid)
        return E_INVALIDARG;
    if (!m_pProfileManager) {
        const HRESULT hr = xCreateProfileManager();
        if (FAILED(hr))
            return hr;
    }
    qel::ComPtr<IWMProfileManager2> manager2;
    if (FAILED(m_pProfileManager->QueryInterface(__uuidof(IWMProfileManager2), &manager2)) || !manager2)
        return E_UNEXPECTED;
    if (choice.choice != qelrec::WmfVersionChoice::kSet)
        return S_FALSE;
    return manager2->SetSystemProfileVersion(static_cast<WMT_VERSION>(choice.version));
}

HRESULT CAsfBuilder::GetProfileCount(unsigned long* count) {
    if (!count)
        return E_POINTER;
    if (!m_pProfileManager) {
        const HRESULT hr = xCreateProfileManager();
        if (FAILED(hr))
            return hr;
    }
    DWORD profiles = 0;
    const HRESULT hr = m_pProfileManager->GetSystemProfileCount(&profiles);
    if (SUCCEEDED(hr))
        *count = profiles;
    return hr;
}

HRESULT CAsfBuilder::SetProfileNum(unsigned long index, IWMProfile** profile) {
    if (!profile)
        return E_POINTER;
    *profile = nullptr;
    HRESULT hr = SetUseWMFVersion(0x800);
    if (FAILED(hr))
        return hr;
    unsigned long count = 0;
    hr = GetProfileCount(&count);
    if (FAILED(hr))
        return hr;
    if (index >= count)
        return E_INVALIDARG;
    return m_pProfileManager->LoadSystemProfile(index, profile);
}

namespace {

// Sets the frame size of one stream when it is video; S_OK for a stream left as it is.
HRESULT ResizeVideoStream(IWMProfile* profile, IWMStreamConfig* stream, long width, long height) {
    qel::ComPtr<IWMMediaProps> props;
    HRESULT hr = stream->QueryInterface(__uuidof(IWMMediaProps), &props);
    if (FAILED(hr) || !props)
        return FAILED(hr) ? hr : E_NOINTERFACE;
    DWORD size = 0;
    hr = props->GetMediaType(nullptr, &size);
    if (SUCCEEDED(hr) && size < sizeof(WM_MEDIA_TYPE))
        hr = E_UNEXPECTED;
    if (SUCCEEDED(hr)) {
        std::vector<BYTE> block(size);
        WM_MEDIA_TYPE* type = reinterpret_cast<WM_MEDIA_TYPE*>(block.data());
        hr = props->GetMediaType(type, &size);
        // The format block must lie where the type says and hold a whole VIDEOINFOHEADER.
        if (SUCCEEDED(hr) && type->formattype == FORMAT_VideoInfo && type->pbFormat &&
            type->cbFormat >= sizeof(VIDEOINFOHEADER)) {
            VIDEOINFOHEADER* video = reinterpret_cast<VIDEOINFOHEADER*>(type->pbFormat);
            video->bmiHeader.biWidth = width;
            video->bmiHeader.biHeight = height;
            hr = props->SetMediaType(type);
            if (SUCCEEDED(hr))
                hr = profile->ReconfigStream(stream);
        }
    }
    return hr;
}

} // namespace

HRESULT CAsfBuilder::SetASFFormat(IWMProfile* profile, long width, long height, unsigned /*quality*/) {
    if (!profile)
        return E_INVALIDARG;
    DWORD streams = 0;
    HRESULT hr = profile->GetStreamCount(&streams);
    if (FAILED(hr))
        return hr;
    if (streams == 0)
        return S_FALSE;
    // Every stream is tried; the first failure is what the caller hears.
    HRESULT firstFailure = S_OK;
    for (DWORD index = 0; index < streams; ++index) {
        qel::ComPtr<IWMStreamConfig> stream;
        hr = profile->GetStream(index, &stream);
        if (SUCCEEDED(hr) && stream)
            hr = ResizeVideoStream(profile, stream.Get(), width, height);
        else if (SUCCEEDED(hr))
            hr = E_POINTER;
        if (FAILED(hr) && SUCCEEDED(firstFailure))
            firstFailure = hr;
    }
    return firstFailure;
}

void CAsfBuilder::GetOSVersion(int* kind) {
    if (!kind)
        return;
    OSVERSIONINFOA version;
    ZeroMemory(&version, sizeof version);
    version.dwOSVersionInfoSize = sizeof version;   // 148 bytes
    if (!GetVersionExA(&version))
        return;
    *kind = qelrec::ClassifyOsVersion(version.dwPlatformId, version.dwMajorVersion, version.dwMinorVersion,
                                      version.dwBuildNumber);
}
