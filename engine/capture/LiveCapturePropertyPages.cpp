// The device property pages: the camera filter, the stream format of its capture pin, the video
// compressor and the audio capture filter, each in a modal property frame owned by the picture host.
#include "EngineCom.h"
#include "LiveCapture.h"
#include "PropertyFrameLayout.h"

#include <olectl.h>

using qel::ComPtr;

namespace {

constexpr WCHAR kDefaultFrameTitle[] = L"Video Setting";

// Shows the pages of one object in a modal frame.
HRESULT ShowFrame(HWND owner, int x, int y, const WCHAR* caption, IUnknown* object, const CAUUID& pages) {
    IUnknown* objects[1] = {object};
    return OleCreatePropertyFrame(owner, x, y, caption, 1, objects, pages.cElems, pages.pElems, 0, 0, nullptr);
}

// Opens the closed flag, starts the layout thread on the title, and closes the flag again when the
// frame the scope covers has closed.
class CameraFrameScope {
public:
    explicit CameraFrameScope(const WCHAR* title) {
        InterlockedExchange(&g_propertyFrameClosed, 0);
        StartPropertyFrameLayout(title);
    }
    ~CameraFrameScope() { InterlockedExchange(&g_propertyFrameClosed, 1); }
    CameraFrameScope(const CameraFrameScope&) = delete;
    CameraFrameScope& operator=(const CameraFrameScope&) = delete;
};

} // namespace

HRESULT CLiveCapture::CallOLESettingDlg(LiveCapOLEDlgType type, const WCHAR* title) {
    switch (type) {
    case OLEDLG_VIDEO_STREAM: ShowVideoOLEPinSettingDlg(title); return 0;
    case OLEDLG_VIDEO_FILTER: {
        // A camera without pages is no failure; pages that cannot be shown are, and the caller says so.
        const HRESULT hr = xShowCameraFrame(title);
        return FAILED(hr) ? hr : 0;
    }
    case OLEDLG_VIDEO_COMPRESSOR: return m_pVideoCpr ? ShowFilterPropertyPage(m_pVideoCpr, m_hPictureWnd) : 1;
    case OLEDLG_AUDIO_FILTER:
        return m_pAudioCapFilter ? ShowFilterPropertyPage(m_pAudioCapFilter, m_hPictureWnd) : 1;
    }
    return E_INVALIDARG;
}

BOOL CLiveCapture::ShowVideoOLEFilterSettingDlg(const WCHAR* title) {
    return xShowCameraFrame(title) == S_OK;
}

HRESULT CLiveCapture::xShowCameraFrame(const WCHAR* title) {
    ComPtr<ISpecifyPropertyPages> specify;
    if (!m_pVideoCapFilter || FAILED(QueryInto(m_pVideoCapFilter, specify)))
        return S_FALSE;
    CAUUID pages = {0, nullptr};
    HRESULT hr = specify->GetPages(&pages);
    if (FAILED(hr))
        return hr;
    const WCHAR* caption = title ? title : kDefaultFrameTitle;
    {
        CameraFrameScope scope(caption);
        // A running capture keeps its state, so that its watch goes on behind the frame.
        const LiveState kept = m_state;
        if (m_state != LIVE_CAPTURING)
            m_state = LIVE_PROPERTYDLG;
        hr = ShowFrame(m_hPictureWnd, 30, 30, caption, m_pVideoCapFilter, pages);
        m_state = kept;
    }
    CoTaskMemFree(pages.pElems);
    return FAILED(hr) ? hr : S_OK;
}

BOOL CLiveCapture::ShowVideoOLEPinSettingDlg(const WCHAR* title) {
    // The format cannot change under a running recording: it stops first, its file kept.
    if (m_state == LIVE_CAPTURING)
        StopCapture();
    if (m_state == LIVE_PREVIEWING)
        StopPreview();
    if (m_bPreviewBuilt || m_bCaptureBuilt)
        TearDownGraph();
    if (m_hPictureWnd)
        ShowWindow(m_hPictureWnd, SW_HIDE);

    ComPtr<IAMStreamConfig> config;
    if (m_pBuilder && m_pVideoCapFilter &&
        FAILED(m_pBuilder->FindInterface(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Interleaved, m_pVideoCapFilter,
                                         IID_IAMStreamConfig, reinterpret_cast<void**>(config.ReleaseAndGetAddressOf()))))
        m_pBuilder->FindInterface(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, m_pVideoCapFilter, IID_IAMStreamConfig,
                                  reinterpret_cast<void**>(config.ReleaseAndGetAddressOf()));
    ComPtr<ISpecifyPropertyPages> specify;
    CAUUID pages = {0, nullptr};
    if (config && SUCCEEDED(QueryInto(config.Get(), specify)) && SUCCEEDED(specify->GetPages(&pages))) {
        const WCHAR* caption = title ? title : kDefaultFrameTitle;
        {
            CameraFrameScope scope(caption);
            const LiveState kept = m_state;
            m_state = LIVE_PROPERTYDLG;
            ShowFrame(m_hPictureWnd, 0, 0, caption, config.Get(), pages);
            m_state = kept;
        }
        AM_MEDIA_TYPE* format = nullptr;
        if (SUCCEEDED(config->GetFormat(&format)) && format) {
            if (format->formattype == FORMAT_VideoInfo && format->pbFormat &&
                format->cbFormat >= sizeof(VIDEOINFOHEADER)) {
                const VIDEOINFOHEADER* info = reinterpret_cast<const VIDEOINFOHEADER*>(format->pbFormat);
                // A format without a frame time keeps the rate the engine had.
                if (info->AvgTimePerFrame > 0)
                    m_nFrameRate = static_cast<int>(10000000.0 / static_cast<double>(info->AvgTimePerFrame));
                xSetVideoFormatEx(config.Get(), info->bmiHeader.biWidth, info->bmiHeader.biHeight,
                                  info->bmiHeader.biCompression, 0, nullptr, 1);
            }
            WixDeleteMediaType(format);
        }
        CoTaskMemFree(pages.pElems);
    }
    config.Reset();
    if (m_bWantPreview && BuildPreviewGraph())
        StartPreview();
    if (m_hPictureWnd)
        ShowWindow(m_hPictureWnd, SW_SHOWNORMAL);
    return 0;
}

HRESULT CLiveCapture::ShowFilterPropertyPage(IBaseFilter* filter, HWND owner) {
    if (!filter)
        return E_NOINTERFACE;
    ComPtr<ISpecifyPropertyPages> specify;
    HRESULT hr = QueryInto(filter, specify);
    if (FAILED(hr))
        return hr;
    FILTER_INFO info = {};
    if (FAILED(hr = filter->QueryFilterInfo(&info)))
        return hr;
    const ComPtr<IFilterGraph> infoGraph = qel::TakeOver(info.pGraph);
    CAUUID pages = {0, nullptr};
    if (FAILED(hr = specify->GetPages(&pages)))
        return hr;
    ShowFrame(owner, 0, 0, info.achName, filter, pages);
    CoTaskMemFree(pages.pElems);
    return hr;
}
