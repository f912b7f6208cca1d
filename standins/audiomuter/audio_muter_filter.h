#pragma once
// The audio muter stand-in: passes uncompressed sound (PCM or IEEE float) through unchanged and,
// once told to mute, delivers the same samples silent: the stream, its timing and its length stay,
// only the sound goes. Compressed sound is refused, since its silence cannot be written.
#include "AudioMuter.h"

#include "qeldshow/transform_filter.h"

#include <atomic>

class CAudioMuterFilter : public CTransformFilter, public IAudioMuter {
public:
    static CUnknown* CALLBACK CreateInstance(IUnknown* outer, HRESULT* hr);
    explicit CAudioMuterFilter(IUnknown* outer);

    DECLARE_IUNKNOWN
    STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    HRESULT CheckInputType(const CMediaType* in) override;
    HRESULT CheckTransform(const CMediaType* in, const CMediaType* out) override;
    HRESULT GetMediaType(int position, CMediaType* type) override;
    HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override;
    HRESULT SetMediaType(PIN_DIRECTION direction, const CMediaType* type) override;
    HRESULT Transform(IMediaSample* in, IMediaSample* out) override;

    // IAudioMuter
    STDMETHODIMP GetMute(int* mute) override;
    STDMETHODIMP SetMute(int mute) override;

private:
    // Set on the caller's thread, read by the streaming thread for each sample.
    std::atomic<int> muted_{0};
    // The byte a silent buffer of the connected format is filled with (8-bit PCM is unsigned).
    std::atomic<int> silence_{0};
};

// The fill byte of silence for a wave format, or -1 when the format's silence is unknown.
int SilenceByteOf(const WAVEFORMATEX& format, ULONG formatLength);
