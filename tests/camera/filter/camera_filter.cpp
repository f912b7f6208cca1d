#include "camera_filter.h"

#include <iterator>
#include <new>

#include "camera_page.h"
#include "control/test_camera_exports.h"

namespace {

struct ProcAmpRange {
    long minimum, maximum, step, byDefault, caps;
};

// Indexed by VideoProcAmpProperty; zero caps: the camera has no such control.
const ProcAmpRange kProcAmp[] = {
    {0, 255, 1, 128, VideoProcAmp_Flags_Manual},                               // Brightness
    {0, 100, 1, 50, VideoProcAmp_Flags_Manual},                                // Contrast
    {-180, 180, 1, 0, VideoProcAmp_Flags_Manual},                              // Hue
    {0, 200, 1, 100, VideoProcAmp_Flags_Manual},                               // Saturation
    {0, 10, 1, 5, VideoProcAmp_Flags_Manual},                                  // Sharpness
    {100, 300, 1, 100, VideoProcAmp_Flags_Manual},                             // Gamma
    {0, 0, 0, 0, 0},                                                           // ColorEnable
    {2800, 6500, 10, 4600, VideoProcAmp_Flags_Manual | VideoProcAmp_Flags_Auto},  // WhiteBalance
    {0, 1, 1, 0, VideoProcAmp_Flags_Manual},                                   // BacklightCompensation
    {0, 0, 0, 0, 0},                                                           // Gain
};
static_assert(std::size(kProcAmp) == 10, "one entry per VideoProcAmpProperty");

// Kernel streaming object interface: never answered (Wine aborts in the kernel-streaming call that
// a caller would make next). {423C13A2-2070-11D0-9EF7-00AA00A216A1}
const IID kIidKsObject = {0x423c13a2, 0x2070, 0x11d0, {0x9e, 0xf7, 0x00, 0xaa, 0x00, 0xa2, 0x16, 0xa1}};

const ProcAmpRange* ProcAmpOf(long property) {
    if (property < 0 || property >= static_cast<long>(std::size(kProcAmp)) || kProcAmp[property].caps == 0)
        return nullptr;
    return &kProcAmp[property];
}

}  // namespace

CTestCamera::CTestCamera(IUnknown* outer, REFCLSID clsid, DWORD variant, HRESULT* hr)
    : CSource("Synthetic camera", outer, clsid),
      variant_(variant),
      controls_(camera_directory::ControlsFor(clsid)),
      format_(CameraCapability(0)) {
    for (size_t i = 0; i < std::size(kProcAmp); ++i) {
        procAmpValues_[i] = kProcAmp[i].byDefault;
        procAmpFlags_[i] = VideoProcAmp_Flags_Manual;
    }
    // The pins add themselves to the filter, which deletes them.
    CCameraStream* capture = new (std::nothrow) CCameraStream(hr, this, L"Capture", PIN_CATEGORY_CAPTURE);
    if (!capture) {
        *hr = E_OUTOFMEMORY;
        return;
    }
    if (variant_ & qelcam::kWithPreviewPin) {
        CCameraStream* preview = new (std::nothrow) CCameraStream(hr, this, L"Preview", PIN_CATEGORY_PREVIEW);
        if (!preview)
            *hr = E_OUTOFMEMORY;
    }
    const HRESULT added = camera_directory::Add(this);
    if (FAILED(added) && SUCCEEDED(*hr))
        *hr = added;
}

CTestCamera::~CTestCamera() { camera_directory::Remove(this); }

CUnknown* CTestCamera::Create(IUnknown* outer, REFCLSID clsid, DWORD variant, HRESULT* hr) {
    CTestCamera* camera = new (std::nothrow) CTestCamera(outer, clsid, variant, hr);
    if (!camera)
        *hr = E_OUTOFMEMORY;
    return camera;
}

STDMETHODIMP CTestCamera::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
    if (!ppv)
        return E_POINTER;
    if (riid == kIidKsObject) {
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    if (riid == IID_IAMVideoProcAmp)
        return GetInterface(static_cast<IAMVideoProcAmp*>(this), ppv);
    if (riid == IID_IAMFilterMiscFlags)
        return GetInterface(static_cast<IAMFilterMiscFlags*>(this), ppv);
    if (riid == IID_ICameraFlipStatus && (variant_ & qelcam::kWithFlipStatus))
        return GetInterface(static_cast<ICameraFlipStatus*>(this), ppv);
    if (riid == IID_ICameraButtonState && (variant_ & qelcam::kWithButtonState))
        return GetInterface(static_cast<ICameraButtonState*>(this), ppv);
    constexpr DWORD kAnyPages = qelcam::kWithPropertyPages | qelcam::kWithFailingPages;
    if (riid == IID_ISpecifyPropertyPages && (variant_ & kAnyPages))
        return GetInterface(static_cast<ISpecifyPropertyPages*>(this), ppv);
    return CSource::NonDelegatingQueryInterface(riid, ppv);
}

STDMETHODIMP CTestCamera::GetPages(CAUUID* pages) {
    if (variant_ & qelcam::kWithFailingPages)
        return E_FAIL;
    return CameraPageList(pages);
}

STDMETHODIMP CTestCamera::GetState(DWORD timeoutMs, FILTER_STATE* state) {
    const HRESULT hr = CSource::GetState(timeoutMs, state);
    if (hr == S_OK && *state == State_Paused)
        return VFW_S_CANT_CUE;
    return hr;
}

// ---- formats -----------------------------------------------------------------------------------

CameraFormat CTestCamera::Format() {
    std::lock_guard<std::mutex> hold(formatLock_);
    return format_;
}

bool CTestCamera::FormatFixed() {
    std::lock_guard<std::mutex> hold(formatLock_);
    return formatFixed_;
}

void CTestCamera::ConnectionFormat(const CameraFormat& format) {
    std::lock_guard<std::mutex> hold(formatLock_);
    format_ = format;
}

bool CTestCamera::OtherPinConnected(const CCameraStream* except) {
    CAutoLock lock(&m_cStateLock);
    for (CSourceStream* stream : m_paStreams)
        if (stream != except && stream->IsConnected())
            return true;
    return false;
}

HRESULT CTestCamera::SetStreamFormat(const AM_MEDIA_TYPE& type) {
    CameraFormat format;
    if (!ParseCameraFormat(type, &format))
        return VFW_E_INVALIDMEDIATYPE;
    CAutoLock lock(&m_cStateLock);
    if (!IsStopped())
        return VFW_E_NOT_STOPPED;
    const CameraFormat old = Format();
    bool connected = false;
    for (CSourceStream* stream : m_paStreams)
        connected = connected || stream->IsConnected();

    if (connected && !format.SameSize(old)) {
        // A new frame size needs new connections: only when every downstream pin takes it.
        const CMediaType proposed = CameraMediaType(format);
        for (CSourceStream* stream : m_paStreams)
            if (stream->IsConnected() && stream->GetConnected()->QueryAccept(&proposed) != S_OK)
                return VFW_E_INVALIDMEDIATYPE;
        IFilterGraph* graph = GetFilterGraph();
        if (!graph)
            return VFW_E_NOT_IN_GRAPH;
        {
            std::lock_guard<std::mutex> hold(formatLock_);
            format_ = format;
            formatFixed_ = true;
        }
        for (CSourceStream* stream : m_paStreams) {
            if (!stream->IsConnected())
                continue;
            const HRESULT hr = graph->Reconnect(stream);
            if (FAILED(hr)) {
                std::lock_guard<std::mutex> hold(formatLock_);
                format_ = old;
                return hr;
            }
        }
        return S_OK;
    }

    {
        std::lock_guard<std::mutex> hold(formatLock_);
        format_ = format;
        formatFixed_ = true;
    }
    // Same size: the connections stay and only their frame rate changes.
    for (CSourceStream* stream : m_paStreams)
        static_cast<CCameraStream*>(stream)->UpdateFrameInterval(format.frameInterval);
    return S_OK;
}

// ---- IAMVideoProcAmp ---------------------------------------------------------------------------

STDMETHODIMP CTestCamera::GetRange(long property, long* minimum, long* maximum, long* step, long* byDefault,
                                   long* capsFlags) {
    if (!minimum || !maximum || !step || !byDefault || !capsFlags)
        return E_POINTER;
    const ProcAmpRange* range = ProcAmpOf(property);
    if (!range)
        return E_PROP_ID_UNSUPPORTED;
    *minimum = range->minimum;
    *maximum = range->maximum;
    *step = range->step;
    *byDefault = range->byDefault;
    *capsFlags = range->caps;
    return S_OK;
}

STDMETHODIMP CTestCamera::Set(long property, long value, long flags) {
    const ProcAmpRange* range = ProcAmpOf(property);
    if (!range)
        return E_PROP_ID_UNSUPPORTED;
    if ((flags != VideoProcAmp_Flags_Manual && flags != VideoProcAmp_Flags_Auto) || !(flags & range->caps))
        return E_INVALIDARG;
    if (flags == VideoProcAmp_Flags_Manual &&
        (value < range->minimum || value > range->maximum || (value - range->minimum) % range->step != 0))
        return E_INVALIDARG;
    std::lock_guard<std::mutex> hold(procAmpLock_);
    if (flags == VideoProcAmp_Flags_Manual)
        procAmpValues_[property] = value;
    procAmpFlags_[property] = flags;
    return S_OK;
}

STDMETHODIMP CTestCamera::Get(long property, long* value, long* flags) {
    if (!value || !flags)
        return E_POINTER;
    const ProcAmpRange* range = ProcAmpOf(property);
    if (!range)
        return E_PROP_ID_UNSUPPORTED;
    std::lock_guard<std::mutex> hold(procAmpLock_);
    *value = procAmpValues_[property];
    *flags = procAmpFlags_[property];
    return S_OK;
}

// ---- driver interfaces -----------------------------------------------------------------------

STDMETHODIMP CTestCamera::GetFlipStatus(ULONG length, ULONG* block) {
    if (!block)
        return E_POINTER;
    if (length < kCameraFlipStatusBlockSize || block[0] != 0 || block[1] != kCameraFlipStatusRequest)
        return E_INVALIDARG;
    block[2] = controls_->Mirrored() ? 1 : 0;
    block[3] = 0;
    block[4] = 0;
    return S_OK;
}

STDMETHODIMP CTestCamera::GetButtonState(ULONG id, ULONG* state, ULONG* extra1, ULONG* extra2) {
    if (!state || !extra1 || !extra2)
        return E_POINTER;
    if (id != kCameraButtonSnapshot)
        return E_INVALIDARG;
    *state = controls_->ButtonState();
    *extra1 = 0;
    *extra2 = 0;
    return S_OK;
}

HRESULT CTestCamera::RaiseEvent(long code, LONG_PTR param) {
    if (code == EC_DEVICE_LOST)
        return NotifyEvent(EC_DEVICE_LOST, reinterpret_cast<LONG_PTR>(GetOwner()), param);
    if (code == EC_ERRORABORT)
        return NotifyEvent(EC_ERRORABORT, param, 0);
    return E_INVALIDARG;
}
