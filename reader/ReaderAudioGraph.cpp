// Building the audio graph: by rendering the file and re-routing the sound from the sound renderer into
// a PCM grabber and a null renderer, or, without a sound device, from a file source and the kind's
// splitter straight into the grabber.
#include <cstring>

#include "GraphHelper.h"
#include "MediaFrameReader.h"
#include "ReaderClsids.h"
#include "ReaderGraphParts.h"
#include "media_kind.h"

using readerparts::AddNewFilter;
using readerparts::CreateFilter;

HRESULT CMediaFrameReader::AutoRenderAudioStream(const char* path) {
    HRESULT hr = RecogniseForBuild(path);
    if (hr != S_OK)
        return hr;
    hr = BuildAudioGraph(path);
    if (hr != S_OK)
        CloseAudio();
    return hr;
}

HRESULT CMediaFrameReader::BuildAudioGraph(const char* path) {
    CGraphHelper& helper = ReaderGraphHelper();
    IGraphBuilder* graph = audio_.graph.Get();
    if (!graph)
        return E_FAIL;
    if (!AddKindFilters(graph, kind_, false, READER_STREAM_BOTH))
        return E_FAIL;
    HRESULT hr;
    if (kind_ == qelreader::kKindWindowsMedia) {
        if (FAILED(hr = BuildWindowsMediaSource(audio_, path, READER_STREAM_AUDIO, nullptr, nullptr, false)))
            return hr;
        helper.RemoveUnconnectedFilters(graph);
    } else {
        wchar_t wide[MAX_PATH];
        readerparts::WidePath(path, wide);
        hr = graph->RenderFile(wide, nullptr);
        // Without any sound driver Wine answers "partially rendered" where Windows says "no audio".
        if (hr == VFW_S_PARTIAL_RENDER && !qel::TakeOver(helper.FindFilterByClsid(graph, qelclsid::kDirectSoundRenderer)))
            hr = VFW_S_AUDIO_NOT_RENDERED;
        if (hr == VFW_S_AUDIO_NOT_RENDERED || hr == VFW_E_NO_AUDIO_HARDWARE) {
            helper.Log("Error %x: No audio render device", hr);
            return hr;
        }
        if (FAILED(hr)) {
            helper.Log("Error %x: xAutoRenderAudioStream cannot render the file \"%s\"", hr, path);
            return hr;
        }
        helper.RemoveUnconnectedFilters(graph);
        // The picture has no place in the audio graph.
        qel::ComPtr<IBaseFilter> splitter = FindKindSplitter(graph);
        qel::ComPtr<IPin> picturePin;
        if (splitter) {
            if (readerparts::HasClass(splitter.Get(), qelclsid::kWindowsMediaSource))
                picturePin = qel::TakeOver(helper.FindPinByMediaType(splitter.Get(), PINDIR_OUTPUT, &qelclsid::kWmSourceMajor, &qelclsid::kWmSourceVideo, FALSE));
            else
                picturePin = qel::TakeOver(helper.FindPinByMediaType(splitter.Get(), PINDIR_OUTPUT, &MEDIATYPE_Video, nullptr, FALSE));
            if (!picturePin)
                helper.Log("Error: Cannot find the video output pin of the splitter");
        }
        if (!picturePin || FAILED(helper.RemoveDownstreamFromPin(graph, picturePin.Get()))) {
            qel::ComPtr<IBaseFilter> renderer = qel::TakeOver(helper.FindVideoRenderer(graph));
            const HRESULT removed = helper.RemoveBranch(graph, renderer.Get());
            if (FAILED(removed))
                helper.Log("Error %x: Nuke up video stream failed", removed);
        }
    }
    if (kind_ == qelreader::kKindAviInterleavedDv) {
        audio_.control->Pause();
        Sleep(50);
        audio_.control->Stop();
    }

    qel::ComPtr<IPin> feed;
    if (FAILED(hr = ChooseAudioFeedPin(graph, &feed)))
        return hr;
    qel::ComPtr<IBaseFilter> grabberFilter, sink;
    qel::ComPtr<ISampleGrabber> grabber;
    if (FAILED(hr = readerparts::AddGrabberAndSink(graph, false, &grabberFilter, &grabber, &sink)))
        return hr;
    if (FAILED(hr = readerparts::RenderThrough(audio_.builder.Get(), graph, feed.Get(), &MEDIATYPE_Audio, grabberFilter.Get(), sink.Get()))) {
        helper.Log("Error %x: Cannot render the Audio stream to Null Video Render", hr);
        return hr;
    }
    return FinishAudioGraph(grabber.Get());
}

HRESULT CMediaFrameReader::ChooseAudioFeedPin(IGraphBuilder* graph, qel::ComPtr<IPin>* feed) {
    CGraphHelper& helper = ReaderGraphHelper();
    qel::ComPtr<IBaseFilter> decoder;
    if (kind_ == qelreader::kKindMpeg1 && hasVideo_)
        decoder = qel::TakeOver(helper.FindFilterByClsid(graph, qelclsid::kMpegAudioDecoder));
    else if (kind_ == qelreader::kKindMpeg2 || kind_ == qelreader::kKindTransportStream)
        decoder = qel::TakeOver(helper.FindFilterByClsid(graph, qelclsid::kOutsideMpegAudioDecoder));
    else
        decoder = qel::TakeOver(helper.FindStreamFilter(graph, FALSE));
    if (decoder) {
        *feed = qel::TakeOver(helper.FindPinByMajorType(decoder.Get(), PINDIR_OUTPUT, &MEDIATYPE_Audio));
        if (!*feed) {
            helper.Log("Error: Cannot find the connect outpin with the audio decoder");
            return E_FAIL;
        }
        helper.RemoveDownstreamFromPin(graph, feed->Get());
        return S_OK;
    }
    qel::ComPtr<IBaseFilter> sound = qel::TakeOver(helper.FindFilterByClsid(graph, qelclsid::kDirectSoundRenderer));
    if (!sound)
        return E_FAIL;
    qel::ComPtr<IPin> input;
    *feed = readerparts::UpstreamOfFirstInput(sound.Get(), &input);
    if (!input) {
        helper.Log("Error %x: Cannot get the input pin of the Direct Sound", E_FAIL);
        return E_FAIL;
    }
    if (!*feed) {
        helper.Log("Error %x: Cannot get the output pin connected with Direct Sournd", VFW_E_NOT_CONNECTED);
        return VFW_E_NOT_CONNECTED;
    }
    graph->Disconnect(feed->Get());
    graph->Disconnect(input.Get());
    graph->RemoveFilter(sound.Get());
    return S_OK;
}

HRESULT CMediaFrameReader::FinishAudioGraph(ISampleGrabber* grabber) {
    CGraphHelper& helper = ReaderGraphHelper();
    AM_MEDIA_TYPE type = {};
    HRESULT hr = grabber->GetConnectedMediaType(&type);
    if (SUCCEEDED(hr) && (type.formattype != FORMAT_WaveFormatEx || type.cbFormat < sizeof(PCMWAVEFORMAT)))
        hr = VFW_E_INVALIDMEDIATYPE; // no sound format to cut ranges by
    if (FAILED(hr)) {
        readerparts::FreeMediaType(type);
        helper.Log("Err %x: Could not read the connected audio media type", hr);
        return hr;
    }
    audioFormat_ = WAVEFORMATEX{};
    std::memcpy(&audioFormat_, type.pbFormat, type.cbFormat < sizeof(WAVEFORMATEX) ? type.cbFormat : sizeof(WAVEFORMATEX));
    readerparts::FreeMediaType(type);
    audioCallback_.format.formatTag = audioFormat_.wFormatTag;
    audioCallback_.format.channels = audioFormat_.nChannels;
    audioCallback_.format.samplesPerSec = audioFormat_.nSamplesPerSec;
    audioCallback_.format.bytesPerSec = audioFormat_.nAvgBytesPerSec;
    audioCallback_.format.blockAlign = audioFormat_.nBlockAlign;
    audioCallback_.format.bitsPerSample = audioFormat_.wBitsPerSample;
    grabber->SetBufferSamples(FALSE);
    grabber->SetOneShot(FALSE);
    grabber->SetCallback(&audioCallback_, 1);
    const HRESULT clock = readerparts::RunWithoutClock(audio_.graph.Get());
    if (FAILED(clock))
        helper.Log("Error %x: Audio Stream annot get the IMediaFilter interface", clock);
    hasAudio_ = TRUE;
    if (!hasVideo_ && qel::TakeOver(helper.FindFilterByClsid(audio_.graph.Get(), qelclsid::kMp3Decoder)))
        kind_ = qelreader::kKindMp3Audio;
    return S_OK;
}

HRESULT CMediaFrameReader::RenderAudioBySplitter(const char* path) {
    HRESULT hr = audio_.Create();
    if (SUCCEEDED(hr))
        hr = RecogniseForBuild(path);
    if (hr == S_OK)
        hr = BuildAudioBySplitter(path);
    if (hr != S_OK)
        CloseAudio();
    return hr;
}

HRESULT CMediaFrameReader::BuildAudioBySplitter(const char* path) {
    CGraphHelper& helper = ReaderGraphHelper();
    IGraphBuilder* graph = audio_.graph.Get();
    qel::ComPtr<IBaseFilter> grabberFilter, sink;
    qel::ComPtr<ISampleGrabber> grabber;
    HRESULT hr = readerparts::AddGrabberAndSink(graph, false, &grabberFilter, &grabber, &sink);
    if (FAILED(hr))
        return hr;
    if (!AddKindFilters(graph, kind_, false, READER_STREAM_AUDIO))
        return E_FAIL;
    if (kind_ == qelreader::kKindWindowsMedia) {
        if (FAILED(hr = BuildWindowsMediaSource(audio_, path, READER_STREAM_AUDIO, grabberFilter.Get(), sink.Get(), false)))
            return hr;
        return FinishAudioGraph(grabber.Get());
    }
    wchar_t wide[MAX_PATH];
    readerparts::WidePath(path, wide);
    qel::ComPtr<IBaseFilter> source;
    if (FAILED(hr = graph->AddSourceFilter(wide, L"File Source Filter", source.GetAddressOf()))) {
        helper.Log("Error %x: Cannot add the source filter of the %s", hr, path);
        return hr;
    }
    qel::ComPtr<IBaseFilter> splitter = FindKindSplitter(graph);
    bool rendered = false;
    if (splitter && splitter.Get() != source.Get()) {
        if (FAILED(hr = helper.ConnectFilters(graph, source.Get(), splitter.Get()))) {
            helper.Log("Error %x: Cannot connect the source and splitter", hr);
            return hr;
        }
        qel::ComPtr<IPin> grabberInput;
        helper.GetPin(grabberFilter.Get(), PINDIR_INPUT, &grabberInput);
        if (kind_ == qelreader::kKindAviInterleavedDv && grabberInput) {
            qel::ComPtr<IPin> sound = qel::TakeOver(helper.FindPinByMediaType(splitter.Get(), PINDIR_OUTPUT, &MEDIATYPE_Audio, nullptr, TRUE));
            if (sound && SUCCEEDED(graph->Connect(sound.Get(), grabberInput.Get()))) {
                audio_.control->Pause();
                Sleep(50);
                audio_.control->Stop();
                graph->Disconnect(sound.Get());
                graph->Disconnect(grabberInput.Get());
            }
        }
        qel::ComPtr<IPin> sound = qel::TakeOver(helper.FindPinByMediaType(splitter.Get(), PINDIR_OUTPUT, &MEDIATYPE_Audio, nullptr, TRUE));
        if (!sound) {
            helper.Log("Error: Cannot find the audio output pin of the splitter");
        } else if (FAILED(hr = readerparts::RenderThrough(audio_.builder.Get(), graph, sound.Get(), &MEDIATYPE_Audio, grabberFilter.Get(), sink.Get()))) {
            helper.Log("Error %x: Cannot render the audio pin of the splitter", hr);
            return hr;
        } else {
            rendered = true;
        }
    }
    if (!rendered) {
        hr = audio_.builder->RenderStream(nullptr, nullptr, source.Get(), grabberFilter.Get(), sink.Get());
        if (FAILED(hr))
            hr = readerparts::RenderThrough(audio_.builder.Get(), graph, source.Get(), &MEDIATYPE_Audio, grabberFilter.Get(), sink.Get());
        if (FAILED(hr)) {
            helper.Log("Error %x: Cannot render the Audio stream to Null Audio Render", hr);
            return hr;
        }
    }
    helper.RemoveUnconnectedFilters(graph);
    return FinishAudioGraph(grabber.Get());
}
