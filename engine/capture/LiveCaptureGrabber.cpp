// The preview's sample grabber: RGB24 only, no buffering, a buffer callback that copies one frame when a
// snapshot is armed.
#include "LiveCaptureInternal.h"

#include <cstring>

HRESULT CLiveCapture::BuilderSampleGrabber() {
    qel::ComPtr<IBaseFilter> grabber;
    qel::ComPtr<ISampleGrabber> sampleGrabber;
    auto fail = [&](HRESULT hr) {
        m_bGrabberReady = FALSE;
        LIVECAP_LOG(this, hr);
        return hr;
    };
    if (!m_pGraph)
        return fail(E_POINTER);
    m_hr = CoCreateInstance(CLSID_SampleGrabber, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&grabber));
    if (SUCCEEDED(m_hr))
        m_hr = grabber.As(&sampleGrabber);
    if (FAILED(m_hr))
        return fail(m_hr);

    if (!m_pVideoConfig && m_pBuilder)
        if (FAILED(m_pBuilder->FindInterface(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, m_pVideoCapFilter,
                                             IID_IAMStreamConfig, reinterpret_cast<void**>(&m_pVideoConfig))))
            m_pVideoConfig = nullptr;

    // RGB24 only, whatever the camera delivers: snapshots and the effect chain work on RGB24.
    AM_MEDIA_TYPE wanted = {};
    wanted.majortype = MEDIATYPE_Video;
    wanted.subtype = MEDIASUBTYPE_RGB24;
    m_hr = sampleGrabber->SetMediaType(&wanted);
    if (FAILED(m_hr))
        return fail(m_hr);

    qel::ComPtr<IBaseFilter> previous;
    if (SUCCEEDED(m_pGraph->FindFilterByName(L"SampleGrabber", &previous)) && previous)
        m_pGraph->RemoveFilter(previous.Get());
    m_hr = m_pGraph->AddFilter(grabber.Get(), L"SampleGrabber");
    if (FAILED(m_hr))
        return fail(m_hr);
    SafeRelease(m_pGrabberFilter);
    m_pGrabberFilter = grabber.Detach();

    sampleGrabber->SetBufferSamples(FALSE);
    sampleGrabber->SetOneShot(FALSE);
    delete m_pGrabberCB;
    m_pGrabberCB = new CLiveCaptureGrabberCB(this);
    sampleGrabber->SetCallback(m_pGrabberCB, 1);
    m_bGrabberReady = TRUE;
    return S_OK;
}

BOOL CLiveCapture::GetSnapshotHeader(BITMAPINFOHEADER* header) {
    if (!header || !m_bGrabberReady)
        return FALSE;
    *header = m_bihGrabber;
    return TRUE;
}

STDMETHODIMP CLiveCaptureGrabberCB::QueryInterface(REFIID iid, void** object) {
    if (!object)
        return E_POINTER;
    if (iid == IID_ISampleGrabberCB || iid == IID_IUnknown) {
        *object = static_cast<ISampleGrabberCB*>(this);
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

// Streaming thread. From the post until the sink window has handled it, the frame belongs to the
// user-interface thread; the pending flag is cleared only after the post.
STDMETHODIMP CLiveCaptureGrabberCB::BufferCB(double /*sampleTime*/, BYTE* buffer, long length) {
    CLiveCapture& engine = *m_pOwner;
    if (!engine.m_bSnapPending)
        return 0;
    if (!buffer || length <= 0)
        return 0;
    const UINT frameLength = static_cast<UINT>(length);
    if (!engine.m_bSnapCallerBuffer) {
        // The engine's buffer is made for the first frame of a graph; a longer frame gets a new one.
        if (engine.m_pSnapBuffer && frameLength > engine.m_nSnapLength) {
            delete[] engine.m_pSnapBuffer;
            engine.m_pSnapBuffer = nullptr;
        }
        if (!engine.m_pSnapBuffer)
            engine.m_pSnapBuffer = new BYTE[frameLength];
        std::memcpy(engine.m_pSnapBuffer, buffer, frameLength);
        engine.m_nSnapLength = frameLength;
    } else {
        if (!engine.m_pSnapBuffer) {
            engine.m_bSnapPending = FALSE;
            return 1;
        }
        const UINT copied = engine.m_nSnapLength < frameLength ? engine.m_nSnapLength : frameLength;
        std::memcpy(engine.m_pSnapBuffer, buffer, copied);
        engine.m_nSnapLength = frameLength;
        engine.m_pSnapBuffer = nullptr; // it stays the host's
    }
    PostMessageA(engine.m_hSinkWnd, WM_LIVECAP_SNAPSHOT, static_cast<WPARAM>(engine.m_bSnapCallerBuffer),
                 reinterpret_cast<LPARAM>(&engine));
    engine.m_bSnapPending = FALSE;
    return 0;
}
