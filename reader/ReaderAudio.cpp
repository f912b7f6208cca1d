// Reading a range of sound: the audio graph runs over a window one second wider on each side, the
// grabber collects it, and the range is cut out of the collection.
#include <cstring>

#include "GraphHelper.h"
#include "MediaFrameReader.h"
#include "ReaderGraphParts.h"
#include "audio_cut.h"

HRESULT STDMETHODCALLTYPE CMediaFrameReader::ReadAudioData(double start, double end, HGLOBAL* data, LONG* bytes) {
    CGraphHelper& log = ReaderGraphHelper();
    if (!audio_.graph || !hasAudio_)
        return E_FAIL;
    if (!data || !bytes || !(start < end))
        return ERROR_INVALID_PARAMETER;
    *data = nullptr;
    *bytes = 0;
    double duration = 0;
    HRESULT hr = get_Duration(&duration, READER_STREAM_AUDIO);
    if (FAILED(hr)) {
        log.Log("Error %x: Cannot get the audio duration", hr);
        return hr;
    }
    if (start <= 0)
        start = 0;
    if (end >= duration)
        end = duration;
    if (!(start < end))
        return ERROR_INVALID_PARAMETER;

    const double from = start - 1.0 > 0 ? start - 1.0 : 0;
    const double to = end + 1.0 < duration ? end + 1.0 : duration;
    if (FAILED(hr = put_CurrentPosition(from, READER_STREAM_AUDIO))) {
        log.Log("Error %x: ReadAudioData() - put_CurrentPosition() failed", hr);
        return hr;
    }
    if (FAILED(hr = put_StopTime(to, READER_STREAM_AUDIO))) {
        log.Log("Error %x: Cannot put the stop time for audio stream", hr);
        return hr;
    }

    const qelreader::PcmLayout layout = {audioFormat_.nSamplesPerSec, audioFormat_.nBlockAlign, audioFormat_.wBitsPerSample};
    const int64_t window = static_cast<int64_t>(to * 10000000.0) - static_cast<int64_t>(from * 10000000.0);
    const size_t capacity = qelreader::WindowCapacity(window, layout);
    if (!audioCallback_.Prepare(capacity, qelreader::SilenceByte(layout)))
        return ERROR_INSUFFICIENT_BUFFER;

    readerparts::DrainEvents(audio_.events.Get());
    audioCallback_.SetCollecting(true);
    if (FAILED(hr = audio_.control->Run())) {
        log.Log("Error %x: ReadAudioData() - m_pAMC->Play() failed", hr);
        audioCallback_.SetCollecting(false);
        return hr;
    }
    readerparts::WaitForGraphEnd(audio_.events.Get(), kCompletionLimitMs);
    audio_.control->Stop();
    audioCallback_.SetCollecting(false);

    double firstTime = -1.0;
    const std::vector<BYTE> collected = audioCallback_.Collected(&firstTime);
    audioCallback_.FreeBuffer();
    // The grabber's times count from the window's start.
    const std::vector<uint8_t> cut =
        qelreader::CutRange(collected, firstTime >= 0 ? firstTime + from : firstTime, start, end, layout);
    if (cut.empty())
        return E_FAIL;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, cut.size());
    if (!block)
        return E_OUTOFMEMORY;
    if (void* out = GlobalLock(block)) {
        std::memcpy(out, cut.data(), cut.size());
        GlobalUnlock(block);
    } else {
        GlobalFree(block);
        return E_FAIL;
    }
    *data = block;
    *bytes = static_cast<LONG>(cut.size()); // the size of the block handed out
    return S_OK;
}
