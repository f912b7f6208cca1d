// Building the video graph: the kind's source filters, rendering the file, cutting the sound branch,
// and re-routing the picture from the renderer into an RGB24 grabber and a null renderer.
#include <cstring>

#include "GraphHelper.h"
#include "MediaFrameReader.h"
#include "ReaderClsids.h"
#include "ReaderGraphParts.h"
#include "media_kind.h"

#include <dvdmedia.h>

using readerparts::AddNewFilter;
using readerparts::CreateFilter;
using readerparts::HasClass;

namespace {

constexpr LONGLONG kGuessedFrameTime = 333667; // 29.97 frames a second
constexpr GUID kIidStreamBufferMediaSeeking = {0xF61F5C26, 0x863D, 0x4AFA, {0xB0, 0xBA, 0x2F, 0x81, 0xDC, 0x97, 0x85, 0x96}};

// The outside MPEG-2 video decoder's property interface: its eighth method takes a mode value.
struct IOutsideMpegVideoProperty : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Method1() = 0;
    virtual HRESULT STDMETHODCALLTYPE Method2() = 0;
    virtual HRESULT STDMETHODCALLTYPE Method3() = 0;
    virtual HRESULT STDMETHODCALLTYPE Method4() = 0;
    virtual HRESULT STDMETHODCALLTYPE Method5() = 0;
    virtual HRESULT STDMETHODCALLTYPE Method6() = 0;
    virtual HRESULT STDMETHODCALLTYPE Method7() = 0;
    virtual HRESULT STDMETHODCALLTYPE SetMode(int value) = 0;
};

// Creates the outside MPEG-2 video decoder and hands it the value 3 before it joins a graph.
qel::ComPtr<IBaseFilter> CreateOutsideVideoDecoder(HRESULT* hr) {
    qel::ComPtr<IBaseFilter> decoder = CreateFilter(qelclsid::kOutsideMpeg2VideoDecoder, hr);
    if (!decoder)
        return decoder;
    qel::ComPtr<IOutsideMpegVideoProperty> property;
    const HRESULT queried = decoder->QueryInterface(qelclsid::kOutsideMpeg2VideoProperty,
                                                    reinterpret_cast<void**>(property.GetAddressOf()));
    if (FAILED(queried))
        ReaderGraphHelper().Log("Error %x: Cannot QueryInterface NewSoft MPEG Video Filter Property", queried);
    else
        property->SetMode(3);
    return decoder;
}

bool IsBypassedConverter(IBaseFilter* filter) {
    return HasClass(filter, qelclsid::kOverlayMixer) || HasClass(filter, qelclsid::kOverlayMixer2) ||
           HasClass(filter, qelclsid::kColorSpaceConverter);
}

} // namespace

bool CMediaFrameReader::AddKindFilters(IGraphBuilder* graph, int kind, bool dvFull, DWORD streams) {
    CGraphHelper& log = ReaderGraphHelper();
    const bool video = (streams & READER_STREAM_VIDEO) != 0;
    const bool audio = (streams & READER_STREAM_AUDIO) != 0;
    HRESULT hr = S_OK;
    switch (kind) {
    case qelreader::kKindAvi:
    case qelreader::kKindAviAudioOnly:
        if (!AddNewFilter(graph, qelclsid::kAviSplitter, L"AVI Splitter", &hr))
            log.Log("Error %x: Cannot add the Avi splitter filter into graph", hr);
        return true;
    case qelreader::kKindAviInterleavedDv:
    case qelreader::kKindAviDv: {
        if (!AddNewFilter(graph, qelclsid::kAviSplitter, L"AVI Splitter", &hr))
            log.Log("Error %x: Cannot add the Avi splitter filter into graph", hr);
        if (!AddNewFilter(graph, qelclsid::kDvSplitter, L"DV Splitter", &hr))
            log.Log("Error %x: Cannot add the DV Splitter into graph", hr);
        if (video) {
            qel::ComPtr<IBaseFilter> decoder = CreateFilter(qelclsid::kDvVideoDecoder, &hr);
            qel::ComPtr<IIPDVDec> resolution;
            if (!decoder)
                log.Log("Error %x: Cannot get the DV decoder filter", hr);
            else if (FAILED(hr = decoder->QueryInterface(IID_IIPDVDec, reinterpret_cast<void**>(resolution.GetAddressOf()))))
                log.Log("Error %x: Cannot QueryInterface IIPDVDec filter", hr);
            else if (FAILED(hr = resolution->put_IPDisplay(dvFull ? DVRESOLUTION_FULL : DVRESOLUTION_HALF)))
                log.Log(dvFull ? "Error %x: Cannot set the DV resolution full" : "Error %x: Cannot set the DV resolution half", hr);
            if (decoder && FAILED(hr = graph->AddFilter(decoder.Get(), L"DV Video Decoder")))
                log.Log("Error %x: Cannot add the DV Decoder filter into graph", hr);
        }
        return true;
    }
    case qelreader::kKindMpeg1:
        AddNewFilter(graph, qelclsid::kMpeg1Splitter, L"MS MPEG1 Splitter");
        if (video)
            AddNewFilter(graph, qelclsid::kMpeg1VideoDecoder, L"MS MPEG1 Video Decoder");
        if (audio)
            AddNewFilter(graph, qelclsid::kMpegAudioDecoder, L"MS MPEG Layer2 Audio Decoder");
        return true;
    case qelreader::kKindMpeg2:
    case qelreader::kKindTransportStream: {
        const bool transport = kind == qelreader::kKindTransportStream;
        qel::ComPtr<IBaseFilter> splitter =
            CreateFilter(transport ? qelclsid::kOutsideTsSplitter : qelclsid::kOutsideMpeg2Splitter, &hr);
        if (!splitter) {
            log.Log(transport ? "Error %x: Cannot CoCreateInstance NewSoft MPEG TS Splitter"
                              : "Error %x: Cannot CoCreateInstance NewSoft MPEG2 Splitter", hr);
            return false;
        }
        if (FAILED(hr = graph->AddFilter(splitter.Get(), transport ? L"NewSoft MPEG TS Splitter" : L"NewSoft MPEG2 Splitter"))) {
            log.Log(transport ? "Error %x: Cannot add NewSoft MPEG TS Splitter" : "Error %x: Cannot add NewSoft MPEG2 Splitter", hr);
            return false;
        }
        if (video) {
            qel::ComPtr<IBaseFilter> decoder = CreateOutsideVideoDecoder(&hr);
            if (!decoder) {
                log.Log("Error %x: Cannot CoCreateInstance NewSoft MPEG Video Decoder", hr);
                return false;
            }
            if (FAILED(hr = graph->AddFilter(decoder.Get(), L"NewSoft MPEG2 Video Decoder"))) {
                log.Log("Error %x: Cannot add NewSoft MPEG Video Decoder into graph", hr);
                return false;
            }
        }
        if (audio) {
            qel::ComPtr<IBaseFilter> decoder = CreateFilter(qelclsid::kOutsideMpegAudioDecoder);
            const wchar_t* name = L"NewSoft MPEG Audio Decoder";
            if (!decoder) {
                decoder = CreateFilter(qelclsid::kMpegAudioDecoder, &hr);
                name = L"MS MPEG1 Audio Decoder";
            }
            if (!decoder || FAILED(hr = graph->AddFilter(decoder.Get(), name)))
                return false;
        }
        return true;
    }
    default:
        return true;
    }
}

HRESULT CMediaFrameReader::BuildWindowsMediaSource(ReaderGraph& target, const char* path, int stream,
                                                   IBaseFilter* grabber, IBaseFilter* sink, bool alsoAudio) {
    CGraphHelper& log = ReaderGraphHelper();
    IGraphBuilder* graph = target.graph.Get();
    HRESULT hr = S_OK;
    qel::ComPtr<IBaseFilter> source;
    if (qelreader::IsDvrMsPath(path)) {
        if (stream == READER_STREAM_VIDEO) {
            if (qel::ComPtr<IBaseFilter> decoder = CreateOutsideVideoDecoder(nullptr))
                graph->AddFilter(decoder.Get(), L"NewSoft MPEG2 Video Decoder");
        }
        if (stream == READER_STREAM_AUDIO || alsoAudio) {
            if (qel::ComPtr<IBaseFilter> decoder = CreateFilter(qelclsid::kOutsideMpegAudioDecoder))
                graph->AddFilter(decoder.Get(), L"NewSoft MPEG Audio Decoder");
        }
        source = CreateFilter(qelclsid::kStreamBufferSource, &hr);
        if (!source) {
            log.Log("Error %x: Cannot CoCreateInstance StreamBufferSource filter", hr);
        } else if (FAILED(hr = graph->AddFilter(source.Get(), L"Stream Buffer Source"))) {
            log.Log("Error %x: Cannot add StreamBufferSource filter into graph", hr);
            source.Reset();
        } else if (FAILED(hr = source->QueryInterface(kIidStreamBufferMediaSeeking,
                                                      reinterpret_cast<void**>(target.dvrSeeking.ReleaseAndGetAddressOf())))) {
            log.Log(stream == READER_STREAM_VIDEO
                        ? "Error %x: Cannot Query IStreamBufferMediaSeeking interface for video stream"
                        : "Error %x: Cannot Query IStreamBufferMediaSeeking interface for audio stream", hr);
        }
    }
    if (!source) {
        source = CreateFilter(qelclsid::kWmAsfReader, &hr);
        if (!source) {
            log.Log("Error %x: Cannot CoCreateInstance WMAsfReader filter", hr);
            return hr;
        }
        if (FAILED(hr = graph->AddFilter(source.Get(), L"ASF Reader"))) {
            log.Log("Error %x: Cannot add the ASF Reader filter into graph", hr);
            return hr;
        }
    }
    qel::ComPtr<IFileSourceFilter> file;
    wchar_t wide[MAX_PATH];
    readerparts::WidePath(path, wide);
    if (FAILED(hr = source.As(&file)))
        log.Log("Error %x: Cannot QueryInterface IFileSourceFilter for ASF Reader", hr);
    else if (FAILED(hr = file->Load(wide, nullptr)))
        log.Log("Error %x: Cannot load the source file", hr);
    if (SUCCEEDED(hr) && stream == READER_STREAM_VIDEO) {
        qel::ComPtr<IBaseFilter> renderer;
        if (!sink) {
            renderer = AddNewFilter(graph, qelclsid::kVideoRenderer, L"Video Render");
            sink = renderer.Get();
        }
        hr = readerparts::RenderThrough(target.builder.Get(), graph, source.Get(), &MEDIATYPE_Video, grabber, sink);
        if (FAILED(hr)) {
            log.Log("Error %x: ICaptureGraphBuilder2 render ASF video stream failed", hr);
        } else if (alsoAudio) {
            // Only a video success may be replaced by the sound's answer: a failed picture stays failed.
            const HRESULT sound = target.builder->RenderStream(nullptr, &MEDIATYPE_Audio, source.Get(), nullptr, nullptr);
            if (sound == S_OK || sound == VFW_S_AUDIO_NOT_RENDERED || sound == VFW_E_NO_AUDIO_HARDWARE)
                hr = sound;
        }
    } else if (SUCCEEDED(hr)) {
        hr = readerparts::RenderThrough(target.builder.Get(), graph, source.Get(), &MEDIATYPE_Audio, grabber, sink);
        if (FAILED(hr))
            log.Log("Error %x: ICaptureGraphBuilder2 render ASF audio stream failed", hr);
    }
    if (FAILED(hr)) {
        log.RemoveDownstream(graph, source.Get());
        graph->RemoveFilter(source.Get());
        log.RemoveUnconnectedFilters(graph);
        target.dvrSeeking.Reset();
    }
    return hr;
}

qel::ComPtr<IBaseFilter> CMediaFrameReader::FindKindSplitter(IGraphBuilder* graph) {
    CGraphHelper& helper = ReaderGraphHelper();
    auto find = [&](REFCLSID clsid) { return qel::TakeOver(helper.FindFilterByClsid(graph, clsid)); };
    qel::ComPtr<IBaseFilter> splitter;
    switch (kind_) {
    case qelreader::kKindAvi:
    case qelreader::kKindAviDv:
    case qelreader::kKindAviAudioOnly:
        if (!(splitter = find(qelclsid::kAviSplitter)))
            helper.Log("Error: Cannot find the AVI Splitter filter");
        break;
    case qelreader::kKindAviInterleavedDv:
        if (!(splitter = find(qelclsid::kDvSplitter)))
            helper.Log("Error: Cannot find the DV Splitter filter");
        break;
    case qelreader::kKindMpeg1:
        if (!(splitter = find(qelclsid::kMpeg1Splitter)))
            helper.Log("Error: Cannot find the MS MPEG1 Spltter");
        break;
    case qelreader::kKindMpeg2:
        if (!(splitter = find(qelclsid::kOutsideMpeg2Splitter)) && !(splitter = find(qelclsid::kMpeg2Splitter)))
            helper.Log("Error: Cannot find the NewSoft MPEG2 Splitter");
        break;
    case qelreader::kKindWindowsMedia:
        if (!(splitter = find(qelclsid::kWmAsfReader)) && !(splitter = find(qelclsid::kStreamBufferSource)))
            helper.Log("Error: Cannot find the AsfReader filter");
        break;
    default:
        break;
    }
    if (!splitter)
        splitter = qel::TakeOver(helper.FindSplitter(graph));
    return splitter;
}

void CMediaFrameReader::DescribeAudioFromVideoGraph(IGraphBuilder* graph) {
    CGraphHelper& helper = ReaderGraphHelper();
    qel::ComPtr<IBaseFilter> decoder = qel::TakeOver(helper.FindStreamFilter(graph, FALSE));
    audioFilterName_[0] = 0;
    if (decoder) {
        FILTER_INFO info = {};
        if (SUCCEEDED(decoder->QueryFilterInfo(&info))) {
            if (info.pGraph)
                info.pGraph->Release();
            WideCharToMultiByte(CP_ACP, 0, info.achName, -1, audioFilterName_, MAX_PATH, nullptr, nullptr);
            audioFilterName_[MAX_PATH - 1] = 0;
        }
    }
    qel::ComPtr<IBaseFilter> sound = qel::TakeOver(helper.FindFilterByClsid(graph, qelclsid::kDirectSoundRenderer));
    if (!sound)
        return;
    hasAudio_ = TRUE;
    QueryDuration(video_, &audioDuration_);
    if (kind_ == qelreader::kKindAviInterleavedDv) {
        qel::ComPtr<IBasicAudio> volume;
        if (SUCCEEDED(graph->QueryInterface(IID_IBasicAudio, reinterpret_cast<void**>(volume.GetAddressOf()))))
            volume->put_Volume(-10000);
        qel::ComPtr<IVideoWindow> window;
        if (SUCCEEDED(graph->QueryInterface(IID_IVideoWindow, reinterpret_cast<void**>(window.GetAddressOf())))) {
            window->put_Visible(OAFALSE);
            window->put_AutoShow(OAFALSE);
        }
        video_.control->Pause();
        Sleep(50);
        video_.control->Stop();
        if (window)
            window->put_Owner(0);
    }
    qel::ComPtr<IPin> input;
    if (SUCCEEDED(helper.GetPin(sound.Get(), PINDIR_INPUT, &input))) {
        AM_MEDIA_TYPE type = {};
        if (SUCCEEDED(input->ConnectionMediaType(&type))) {
            if (type.formattype == FORMAT_WaveFormatEx && type.cbFormat >= sizeof(PCMWAVEFORMAT)) {
                audioFormat_ = WAVEFORMATEX{};
                std::memcpy(&audioFormat_, type.pbFormat,
                            type.cbFormat < sizeof(WAVEFORMATEX) ? type.cbFormat : sizeof(WAVEFORMATEX));
            }
            readerparts::FreeMediaType(type);
        }
    }
}

HRESULT CMediaFrameReader::ChooseVideoFeedPin(IGraphBuilder* graph, qel::ComPtr<IPin>* feed) {
    CGraphHelper& helper = ReaderGraphHelper();
    const GUID* decoderClass = nullptr;
    if (kind_ == qelreader::kKindAviInterleavedDv || kind_ == qelreader::kKindAviDv)
        decoderClass = &qelclsid::kDvVideoDecoder;
    else if (kind_ == qelreader::kKindMpeg1)
        decoderClass = &qelclsid::kMpeg1VideoDecoder;
    else if (kind_ == qelreader::kKindMpeg2 || kind_ == qelreader::kKindTransportStream)
        decoderClass = &qelclsid::kOutsideMpeg2VideoDecoder;
    if (decoderClass) {
        if (qel::ComPtr<IBaseFilter> decoder = qel::TakeOver(helper.FindFilterByClsid(graph, *decoderClass))) {
            *feed = qel::TakeOver(helper.FindPinByMajorType(decoder.Get(), PINDIR_OUTPUT, &MEDIATYPE_Video));
            if (!*feed) {
                helper.Log("Error: Cannot find the connect outpin with the decoder");
                return E_FAIL;
            }
            helper.RemoveDownstreamFromPin(graph, feed->Get());
            return S_OK;
        }
    }
    qel::ComPtr<IBaseFilter> renderer = qel::TakeOver(helper.FindVideoRenderer(graph));
    if (!renderer) {
        helper.Log("Error: Cannot find the Video Render filter");
        return E_FAIL;
    }
    qel::ComPtr<IPin> input;
    *feed = readerparts::UpstreamOfFirstInput(renderer.Get(), &input);
    if (!input) {
        helper.Log("Error %x: Cannot get the input pin of the Video Render", E_FAIL);
        return E_FAIL;
    }
    if (!*feed) {
        helper.Log("Error %x: Cannot get the output connected with Video Render", VFW_E_NOT_CONNECTED);
        return VFW_E_NOT_CONNECTED;
    }
    graph->Disconnect(feed->Get());
    graph->Disconnect(input.Get());
    graph->RemoveFilter(renderer.Get());
    qel::ComPtr<IBaseFilter> converter = readerparts::OwnerOf(feed->Get());
    if (IsBypassedConverter(converter.Get())) {
        qel::ComPtr<IPin> converterInput = qel::TakeOver(helper.FindPinByMediaType(converter.Get(), PINDIR_INPUT, &MEDIATYPE_Video, nullptr, FALSE));
        qel::ComPtr<IPin> upstream;
        if (!converterInput || FAILED(converterInput->ConnectedTo(&upstream)) || !upstream)
            return E_FAIL;
        graph->Disconnect(upstream.Get());
        graph->Disconnect(converterInput.Get());
        graph->RemoveFilter(converter.Get());
        *feed = upstream;
    }
    return S_OK;
}

HRESULT CMediaFrameReader::TakeVideoFormat(ISampleGrabber* grabber, const char* path) {
    AM_MEDIA_TYPE type = {};
    HRESULT hr = grabber->GetConnectedMediaType(&type);
    if (FAILED(hr)) {
        ReaderGraphHelper().Log("Err %x: Could not read the connected video media type", hr);
        return hr;
    }
    VIDEOINFOHEADER header = {};
    if (type.formattype == FORMAT_VideoInfo2 && type.cbFormat >= sizeof(VIDEOINFOHEADER2)) {
        const VIDEOINFOHEADER2* wide = reinterpret_cast<const VIDEOINFOHEADER2*>(type.pbFormat);
        header.rcSource = wide->rcSource;
        header.rcTarget = wide->rcTarget;
        header.dwBitRate = wide->dwBitRate;
        header.dwBitErrorRate = wide->dwBitErrorRate;
        header.AvgTimePerFrame = wide->AvgTimePerFrame;
        header.bmiHeader = wide->bmiHeader;
    } else if (type.formattype == FORMAT_VideoInfo && type.cbFormat >= sizeof(VIDEOINFOHEADER)) {
        header = *reinterpret_cast<const VIDEOINFOHEADER*>(type.pbFormat);
    } else {
        hr = VFW_E_INVALIDMEDIATYPE; // a grabber connection without a picture format cannot make frames
    }
    readerparts::FreeMediaType(type);
    if (FAILED(hr)) {
        ReaderGraphHelper().Log("Err %x: Could not read the connected video media type", hr);
        return hr;
    }
    videoFormat_ = VIDEOINFO{};
    std::memcpy(&videoFormat_, &header, sizeof header);
    videoCallback_.SetFrameSize(header.bmiHeader.biWidth, header.bmiHeader.biHeight);
    if (videoFormat_.AvgTimePerFrame <= 0 && (kind_ == qelreader::kKindAvi || kind_ == qelreader::kKindAviAudioOnly)) {
        AviVideoTiming timing;
        if (ReadAviHeader(path, &timing) && timing.rate != 0)
            videoFormat_.AvgTimePerFrame = qelreader::FrameTimeFromAviRate(timing.scale, timing.rate);
    }
    if (videoFormat_.AvgTimePerFrame <= 0) {
        videoFormat_.AvgTimePerFrame = kGuessedFrameTime;
        frameTimeGuessed_ = true;
    }
    return S_OK;
}

HRESULT CMediaFrameReader::AttachVideoGrabber(IPin* feed) {
    CGraphHelper& log = ReaderGraphHelper();
    IGraphBuilder* graph = video_.graph.Get();
    qel::ComPtr<IBaseFilter> grabberFilter, sink;
    qel::ComPtr<ISampleGrabber> grabber;
    HRESULT hr = readerparts::AddGrabberAndSink(graph, true, &grabberFilter, &grabber, &sink);
    if (FAILED(hr))
        return hr;
    if (FAILED(hr = readerparts::RenderThrough(video_.builder.Get(), graph, feed, &MEDIATYPE_Video, grabberFilter.Get(), sink.Get()))) {
        log.Log("Error %x: Cannot render the Video stream to Null Video Render", hr);
        return hr;
    }
    return S_OK;
}

HRESULT CMediaFrameReader::AutoRenderVideoStream(const char* path, bool dvFull, bool* describeAudio) {
    HRESULT hr = RecogniseForBuild(path);
    if (hr != S_OK)
        return hr;
    hr = BuildVideoGraph(path, dvFull, describeAudio);
    if (hr != S_OK)
        CloseVideo();
    return hr;
}

HRESULT CMediaFrameReader::BuildVideoGraph(const char* path, bool dvFull, bool* describeAudio) {
    CGraphHelper& helper = ReaderGraphHelper();
    IGraphBuilder* graph = video_.graph.Get();
    if (!graph)
        return E_FAIL;
    if (!AddKindFilters(graph, kind_, dvFull, READER_STREAM_BOTH))
        return E_FAIL;
    HRESULT hr;
    if (kind_ == qelreader::kKindWindowsMedia) {
        hr = BuildWindowsMediaSource(video_, path, READER_STREAM_VIDEO, nullptr, nullptr, *describeAudio);
    } else {
        AddNewFilter(graph, qelclsid::kVideoRenderer, L"Video Render");
        wchar_t wide[MAX_PATH];
        readerparts::WidePath(path, wide);
        hr = graph->RenderFile(wide, nullptr);
    }
    const bool noSoundDevice = hr == VFW_S_AUDIO_NOT_RENDERED || hr == VFW_E_NO_AUDIO_HARDWARE ||
                               (hr == VFW_S_PARTIAL_RENDER && !qel::ComPtr<IBaseFilter>(qel::TakeOver(helper.FindFilterByClsid(graph, qelclsid::kDirectSoundRenderer))));
    if (noSoundDevice)
        *describeAudio = false;
    else if (FAILED(hr)) {
        helper.Log("Error %x: xAutoRenderVideoStream cannot render the file \"%s\"", hr, path);
        return hr;
    }
    helper.RemoveUnconnectedFilters(graph);

    if (*describeAudio) {
        *describeAudio = false;
        DescribeAudioFromVideoGraph(graph);
        *describeAudio = hasAudio_ != FALSE;
    }

    // The sound has no place in the video graph.
    qel::ComPtr<IBaseFilter> splitter = FindKindSplitter(graph);
    qel::ComPtr<IPin> soundPin;
    if (splitter) {
        if (readerparts::HasClass(splitter.Get(), qelclsid::kWindowsMediaSource))
            soundPin = qel::TakeOver(helper.FindPinByMediaType(splitter.Get(), PINDIR_OUTPUT, &qelclsid::kWmSourceMajor, &qelclsid::kWmSourceAudio, FALSE));
        else
            soundPin = qel::TakeOver(helper.FindPinByMediaType(splitter.Get(), PINDIR_OUTPUT, &MEDIATYPE_Audio, nullptr, FALSE));
    }
    if (!soundPin || FAILED(helper.RemoveDownstreamFromPin(graph, soundPin.Get()))) {
        if (qel::ComPtr<IBaseFilter> sound = qel::TakeOver(helper.FindFilterByClsid(graph, qelclsid::kDirectSoundRenderer))) {
            const HRESULT removed = helper.RemoveBranch(graph, sound.Get());
            if (FAILED(removed))
                helper.Log("Error %x: Nuke up audio stream failed", removed);
        }
    }

    qel::ComPtr<IPin> feed;
    if (FAILED(hr = ChooseVideoFeedPin(graph, &feed)))
        return hr;
    if (FAILED(hr = AttachVideoGrabber(feed.Get())))
        return hr;
    qel::ComPtr<IBaseFilter> grabberFilter = qel::TakeOver(helper.FindFilterByClsid(graph, qelclsid::kOutsideSampleGrabber));
    if (!grabberFilter)
        grabberFilter = qel::TakeOver(helper.FindFilterByClsid(graph, qelclsid::kSampleGrabber));
    qel::ComPtr<ISampleGrabber> grabber;
    if (!grabberFilter || FAILED(hr = grabberFilter.As(&grabber)))
        return FAILED(hr) ? hr : E_FAIL;
    if (FAILED(hr = TakeVideoFormat(grabber.Get(), path)))
        return hr;
    grabber->SetBufferSamples(FALSE);
    grabber->SetOneShot(FALSE);
    grabber->SetCallback(&videoCallback_, 1);
    const HRESULT clock = readerparts::RunWithoutClock(graph);
    if (FAILED(clock))
        helper.Log("Error %x: Video Stream annot get the IMediaFilter interface", clock);
    hasVideo_ = TRUE;
    return S_OK;
}
