// The record graph: camera -> [compressor] -> flip -> rotate -> [effects] -> multiplexer (or ASF
// writer) -> file, with the preview beside it and the audio input (muted or left out) into the
// same file. It is built in the preview's filter graph once the preview is torn down.
#include "LiveCaptureInternal.h"

#include "AsfBuilder.h"
#include "AudioMuter.h"
#include "AviMuxSink.h"
#include "AsfWriterConfig.h"
#include "CaptureLimits.h"
#include "PinHelpers.h"
#include "file_sink.h"

#include <vector>

namespace {

// Status word bits of the record build.
constexpr UINT kStatusNoVideoStream = 0x1;
constexpr UINT kStatusVideoWithoutCompressor = 0x2;
constexpr UINT kStatusNoAudioStream = 0x4;
constexpr UINT kStatusAudioWithoutMuter = 0x8;

} // namespace

// Every AVI recording ends in the platform's AVI multiplexer and our file sink, never in the
// platform's file writer: only our sink keeps a provisional header in the file while it is recorded,
// so that a recording cut short by a crash or a kill can be repaired at the next start.
BOOL CLiveCapture::xBuildAviMuxAndSink() {
    m_hr = BuildAviMuxWithSink(m_pGraph, m_wszCaptureFile, &m_pMux, &m_pFileSink);
    // Its input pins lose their buffers with their connection: a splice must use a new pin.
    m_bMuxNeedsFreshInput = SUCCEEDED(m_hr);
    return SUCCEEDED(m_hr);
}

namespace {

// The stream number the multiplexer gives the sound: it writes one stream for each connected input,
// numbered from zero in pin order. -1 when no connected input carries sound.
int SoundStreamIndex(IBaseFilter* mux) {
    qel::ComPtr<IEnumPins> pins;
    if (!mux || FAILED(mux->EnumPins(&pins)))
        return -1;
    int stream = 0;
    qel::ComPtr<IPin> pin;
    while (pins->Next(1, pin.ReleaseAndGetAddressOf(), nullptr) == S_OK) {
        PIN_DIRECTION direction;
        AM_MEDIA_TYPE type = {};
        if (FAILED(pin->QueryDirection(&direction)) || direction != PINDIR_INPUT || pin->ConnectionMediaType(&type) != S_OK)
            continue;
        const bool sound = type.majortype == MEDIATYPE_Audio;
        FreeMediaTypeFields(type);
        if (sound)
            return stream;
        ++stream;
    }
    return -1;
}

} // namespace

// The multiplexer's own configuration: a compatibility index, capture interleaving, and the sound as
// the master stream. Capture interleaving writes each sample as it arrives with a little reordering,
// so a late sound buffer never holds the camera's frames back; full interleaving blocks every input
// until the others have given as much, which only a multiplexer that runs in no other mode is left
// in: one that takes none of this configuration (Wine's answers E_NOTIMPL here, and fails in the
// stream in any mode but the full one it is built with). Each refusal is logged only.
void CLiveCapture::xConfigureAviMux() {
    SafeRelease(m_pConfigAviMux);
    if (!m_pMux || FAILED(m_pMux->QueryInterface(IID_IConfigAviMux, reinterpret_cast<void**>(&m_pConfigAviMux)))) {
        m_pConfigAviMux = nullptr;
        return;
    }
    if (SUCCEEDED(m_pConfigAviMux->SetOutputCompatibilityIndex(TRUE))) {
        qel::ComPtr<IConfigInterleaving> interleaving;
        const HRESULT hr = m_pMux->QueryInterface(IID_IConfigInterleaving, &interleaving);
        if (FAILED(hr) || !interleaving || FAILED(interleaving->put_Mode(INTERLEAVE_CAPTURE)))
            LIVECAP_LOG(this, FAILED(hr) ? hr : E_FAIL);
    }
    xSetMasterStream();
}

// The master stream times the others: it must be the sound, by the number the sound has among the
// inputs as they are now (a splice moves the video to a new input, a renewal connects the streams
// again in their order). Without sound to record, the first stream, as ever.
void CLiveCapture::xSetMasterStream() {
    if (!m_pConfigAviMux)
        return;
    const int sound = SoundStreamIndex(m_pMux);
    const HRESULT hr = m_pConfigAviMux->SetMasterStream(m_bWantAudio && m_nAudioSwitch && sound >= 0 ? sound : 0);
    if (FAILED(hr))
        LIVECAP_LOG(this, hr);
}

BOOL CLiveCapture::xConfigureAsfWriter() {
    CAsfBuilder builder;
    qel::ComPtr<IConfigAsfWriter> config;
    if (FAILED(m_pMux->QueryInterface(IID_IConfigAsfWriter, &config)) || !config)
        return FALSE;
    if (m_recordFileType == RECORD_ASF_SYSTEM)
        config->ConfigureFilterUsingProfileGuid(kAsfSystemProfiles[qelrec::SystemProfileIndexForQuality(m_nVideoQuality)]);
    qel::ComPtr<IWMProfile> profile;
    m_hr = config->GetCurrentProfile(&profile);
    _LiteCapVideoInfo format = {};
    if (FAILED(m_hr) || !profile || !GetVideoInfo(&format))
        return FALSE;
    m_hr = builder.SetASFFormat(profile.Get(), format.nWidth, format.nHeight, static_cast<unsigned>(m_nVideoQuality));
    if (m_hr == S_OK)
        m_hr = config->ConfigureFilterUsingProfile(profile.Get());
    return m_hr == S_OK;
}

IPin* CLiveCapture::xFreshMuxInput(IPin* disconnected) {
    if (!m_bMuxNeedsFreshInput || !m_pMux)
        return nullptr;
    qel::ComPtr<IEnumPins> pins;
    if (FAILED(m_pMux->EnumPins(&pins)))
        return nullptr;
    // The multiplexer adds a new input behind the others whenever one is connected: the last free
    // input is that new one, never one an earlier splice took apart.
    qel::ComPtr<IPin> fresh;
    qel::ComPtr<IPin> pin;
    while (pins->Next(1, pin.ReleaseAndGetAddressOf(), nullptr) == S_OK) {
        PIN_DIRECTION direction;
        qel::ComPtr<IPin> peer;
        if (pin.Get() != disconnected && SUCCEEDED(pin->QueryDirection(&direction)) && direction == PINDIR_INPUT &&
            pin->ConnectedTo(&peer) == VFW_E_NOT_CONNECTED)
            fresh = pin;
    }
    return fresh.Detach();
}

// The multiplexer keeps the inputs that splices took apart, and Wine's cannot start with them: once
// the record chain stands, a new multiplexer and sink take the streams over, in their order, and the
// new multiplexer is configured as the first was.
BOOL CLiveCapture::xRenewAviMux() {
    if (!m_bMuxNeedsFreshInput || !m_pMux)
        return TRUE;
    std::vector<qel::ComPtr<IPin>> streams;   // the outputs feeding the multiplexer, in its pin order
    qel::ComPtr<IEnumPins> pins;
    if (SUCCEEDED(m_pMux->EnumPins(&pins))) {
        qel::ComPtr<IPin> pin;
        while (pins->Next(1, pin.ReleaseAndGetAddressOf(), nullptr) == S_OK) {
            PIN_DIRECTION direction;
            qel::ComPtr<IPin> peer;
            if (SUCCEEDED(pin->QueryDirection(&direction)) && direction == PINDIR_INPUT &&
                SUCCEEDED(pin->ConnectedTo(&peer)) && peer) {
                m_pGraph->Disconnect(peer.Get());
                m_pGraph->Disconnect(pin.Get());
                streams.push_back(peer);
            }
        }
    }
    // The old pair goes: sink first, then the multiplexer.
    qel::ComPtr<IBaseFilter> oldSink;
    if (m_pFileSink)
        m_pFileSink->QueryInterface(IID_IBaseFilter, &oldSink);
    if (oldSink) {
        NukeDownstream(m_pGraph, m_pMux);
        m_pGraph->RemoveFilter(oldSink.Get());
        oldSink.Reset();
    }
    m_pGraph->RemoveFilter(m_pMux);
    SafeRelease(m_pConfigAviMux);
    SafeRelease(m_pFileSink);
    SafeRelease(m_pMux);

    BOOL renewed = xBuildAviMuxAndSink();
    for (const qel::ComPtr<IPin>& stream : streams) {
        if (!renewed)
            break;
        const qel::ComPtr<IPin> input = qel::TakeOver(xFreshMuxInput(nullptr));
        m_hr = input ? m_pGraph->ConnectDirect(stream.Get(), input.Get(), nullptr) : E_FAIL;
        if (FAILED(m_hr)) {
            LIVECAP_LOG(this, m_hr);
            renewed = FALSE;
        }
    }
    streams.clear();
    if (renewed)
        xConfigureAviMux();
    return renewed;
}

// Step 6 of the build: the end of the graph for the file type.
BOOL CLiveCapture::xBuildRecordEnd() {
    m_bMuxNeedsFreshInput = FALSE;
    const bool asf = m_recordFileType == RECORD_ASF_PROFILE || m_recordFileType == RECORD_ASF_SYSTEM;
    if (asf) {
        m_hr = m_pBuilder->SetOutputFileName(&MEDIASUBTYPE_QelAsf, m_wszCaptureFile, &m_pMux, &m_pFileSink);
        if (FAILED(m_hr)) {
            LIVECAP_LOG(this, m_hr);
            return FALSE;
        }
        return xConfigureAsfWriter();
    }
    if (!xBuildAviMuxAndSink()) {
        LIVECAP_LOG(this, m_hr);
        return FALSE;
    }
    xConfigureAviMux();
    return TRUE;
}

BOOL CLiveCapture::BuildCaptureGraph2(RecordFileType /*type: the member decides*/) {
    if (m_bCaptureBuilt)
        return TRUE;
    if (m_state == LIVE_PREVIEWING || m_state == LIVE_CAPTURING || !m_pVideoCapFilter)
        return FALSE;
    if (!m_pAudioCapFilter && m_bWantAudio && InitAudioCapFilter() == 1)
        return FALSE;
    if (!m_wszCaptureFile[0] && !MySetCaptureFile(m_hPictureWnd))
        return FALSE;
    if (m_bPreviewBuilt)
        TearDownGraph();

    auto fail = [this]() {
        TearDownGraph();
        return FALSE;
    };
    if (!xBuildRecordEnd())
        return fail();

    // 7. The chosen compressor, under its friendly name.
    IBaseFilter* compressor = nullptr;
    if (m_pVideoCpr && m_nCurVideoCpr >= 0 && m_nCurVideoCpr < MAX_COMPRESSORS && m_rgVideoCprMoniker[m_nCurVideoCpr]) {
        WCHAR name[129] = {0};
        if (SUCCEEDED(GetDeviceNameByMoniker(m_rgVideoCprMoniker[m_nCurVideoCpr], name, 129)) &&
            SUCCEEDED(m_pGraph->AddFilter(m_pVideoCpr, name)))
            compressor = m_pVideoCpr;
    }

    // 8. The capture stream into the file.
    auto renderCapture = [this](IBaseFilter* through) {
        m_hr = m_pBuilder->RenderStream(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Interleaved, m_pVideoCapFilter, through, m_pMux);
        if (m_hr != S_OK)
            m_hr = m_pBuilder->RenderStream(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, m_pVideoCapFilter, through, m_pMux);
        return m_hr == S_OK;
    };
    if (!renderCapture(compressor)) {
        // Without a chosen compressor a failed render goes unreported here; the record then has no
        // video, which no recording may: end it as when the compressor is dropped too.
        if (compressor)
            m_nCaptureStatus |= kStatusVideoWithoutCompressor;
        if (!compressor || !renderCapture(nullptr)) {
            m_nCaptureStatus |= kStatusNoVideoStream;
            LIVECAP_LOG(this, m_hr);
            return fail();
        }
    }

    // 9. The preview beside it.
    if (m_bWantPreview) {
        m_hr = m_pBuilder->RenderStream(&PIN_CATEGORY_PREVIEW, &MEDIATYPE_Interleaved, m_pVideoCapFilter, nullptr, nullptr);
        if (m_hr != S_OK && m_hr != VFW_S_NOPREVIEWPIN)
            m_hr = m_pBuilder->RenderStream(&PIN_CATEGORY_PREVIEW, &MEDIATYPE_Video, m_pVideoCapFilter, nullptr, nullptr);
        if (m_hr == VFW_S_NOPREVIEWPIN)
            m_bPreviewThroughTee = TRUE;
        else if (m_hr != S_OK) {
            LIVECAP_LOG(this, m_hr);
            return fail();
        }
    }

    // 10. The audio input, through the muter when the sound is switched off.
    if (m_pAudioCapFilter && m_bWantAudio) {
        SafeRelease(m_pAudioMuter);
        if (m_nAudioSwitch == 0 && m_recordFileType != RECORD_AVI_NOAUDIO)
            xBuildAudioMuterFilter();
        m_hr = m_pBuilder->RenderStream(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Audio, m_pAudioCapFilter, m_pAudioMuter, m_pMux);
        if (m_hr != S_OK) {
            m_nCaptureStatus |= kStatusAudioWithoutMuter;
            m_hr = m_pBuilder->RenderStream(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Audio, m_pAudioCapFilter, nullptr, m_pMux);
            if (m_hr != S_OK) {
                m_nCaptureStatus |= kStatusNoAudioStream;
                LIVECAP_LOG(this, m_hr);
                return fail();
            }
        }
    }

    // 11. Closed captions.
    if (m_bCaptureClosedCaption) {
        m_hr = m_pBuilder->RenderStream(&PIN_CATEGORY_CC, nullptr, m_pVideoCapFilter, nullptr, m_pMux);
        if (m_hr != S_OK) {
            m_hr = m_pBuilder->RenderStream(&PIN_CATEGORY_VBI, nullptr, m_pVideoCapFilter, nullptr, m_pMux);
            if (m_hr != S_OK)
                LIVECAP_LOG(this, m_hr);
        }
        if (m_bWantPreview)
            m_hr = m_pBuilder->RenderStream(&PIN_CATEGORY_VBI, nullptr, m_pVideoCapFilter, nullptr, nullptr);
    }

    // 12. Flip, rotate and the enabled effects in front of the multiplexer. A plug-in that cannot be
    // made has said so itself; the half-built graph goes, so that the preview can be built again.
    if (!xInsertCaptureEffects())
        return fail();
    if (!xRenewAviMux())
        return fail();

    // 13. Sound switched off: out of the graph, or muted.
    if (m_nAudioSwitch == 0 && m_pAudioCapFilter) {
        if (m_recordFileType == RECORD_AVI_NOAUDIO) {
            NukeDownstream(m_pGraph, m_pAudioCapFilter);
            m_hr = m_pGraph->RemoveFilter(m_pAudioCapFilter);
            SafeRelease(m_pAudioCapFilter);
            SafeRelease(m_pAudioConfig);
            if (FAILED(m_hr))
                return fail();
        } else if (m_pAudioMuter) {
            qel::ComPtr<IAudioMuter> muter;
            if (SUCCEEDED(m_pAudioMuter->QueryInterface(kIidAudioMuter, &muter)) && muter)
                muter->SetMute(1);
        }
    }

    // 14. The picture in the engine's window.
    if (m_bWantPreview) {
        SafeRelease(m_pVideoWindow);
        m_hr = m_pGraph->QueryInterface(IID_IVideoWindow, reinterpret_cast<void**>(&m_pVideoWindow));
        if (FAILED(m_hr)) {
            m_pVideoWindow = nullptr;
            LIVECAP_LOG(this, m_hr);
        } else {
            m_pVideoWindow->put_Owner(reinterpret_cast<OAHWND>(m_hPictureWnd));
            m_pVideoWindow->put_WindowStyle(WS_CHILD);
            xFitVideoWindow();
            m_pVideoWindow->put_Visible(OATRUE);
        }
    }

    // 15. The frame rate of the capture pin.
    if (m_pVideoConfig && m_bApplyFrameRate && m_nFrameRate > 0) {
        AM_MEDIA_TYPE* format = nullptr;
        if (SUCCEEDED(m_pVideoConfig->GetFormat(&format)) && format) {
            if (format->formattype == FORMAT_VideoInfo && format->pbFormat && format->cbFormat >= sizeof(VIDEOINFOHEADER)) {
                reinterpret_cast<VIDEOINFOHEADER*>(format->pbFormat)->AvgTimePerFrame = FrameRateToAvgTime(m_nFrameRate);
                m_pVideoConfig->SetFormat(format);
            }
            WixDeleteMediaType(format);
        }
    }

    // 16, 17. Graph events to the message-sink window.
    SafeRelease(m_pMediaEvent);
    m_hr = m_pGraph->QueryInterface(IID_IMediaEventEx, reinterpret_cast<void**>(&m_pMediaEvent));
    if (FAILED(m_hr)) {
        m_pMediaEvent = nullptr;
        return fail();
    }
    m_pMediaEvent->SetNotifyWindow(reinterpret_cast<OAHWND>(m_hSinkWnd), WM_LIVECAP_GRAPHNOTIFY,
                                   reinterpret_cast<LONG_PTR>(this));
    m_bCaptureBuilt = TRUE;
    return TRUE;
}
