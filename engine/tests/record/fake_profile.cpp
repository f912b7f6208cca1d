#include "fake_profile.h"

#include <cstring>

namespace recordtest {

namespace {

LONG g_liveStreamObjects = 0;

// One stream as IWMStreamConfig and IWMMediaProps, reference counted.
class StreamObject : public IWMStreamConfig, public IWMMediaProps {
public:
    explicit StreamObject(std::shared_ptr<FakeStream> stream) : stream_(std::move(stream)) { ++g_liveStreamObjects; }
    virtual ~StreamObject() { --g_liveStreamObjects; }

    const std::shared_ptr<FakeStream>& Stream() const { return stream_; }

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv)
            return E_POINTER;
        *ppv = nullptr;
        if (riid == IID_IUnknown || riid == __uuidof(IWMStreamConfig))
            *ppv = static_cast<IWMStreamConfig*>(this);
        else if (riid == __uuidof(IWMMediaProps) && !stream_->noMediaProps)
            *ppv = static_cast<IWMMediaProps*>(this);
        else
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
    STDMETHODIMP_(ULONG) Release() override {
        const ULONG left = --refs_;
        if (!left)
            delete this;
        return left;
    }
    // IWMStreamConfig
    STDMETHODIMP GetStreamType(GUID*) override { return E_NOTIMPL; }
    STDMETHODIMP GetStreamNumber(WORD*) override { return E_NOTIMPL; }
    STDMETHODIMP SetStreamNumber(WORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetStreamName(WCHAR*, WORD*) override { return E_NOTIMPL; }
    STDMETHODIMP SetStreamName(LPCWSTR_WMSDK_TYPE_SAFE) override { return E_NOTIMPL; }
    STDMETHODIMP GetConnectionName(WCHAR*, WORD*) override { return E_NOTIMPL; }
    STDMETHODIMP SetConnectionName(LPCWSTR_WMSDK_TYPE_SAFE) override { return E_NOTIMPL; }
    STDMETHODIMP GetBitrate(DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP SetBitrate(DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetBufferWindow(DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP SetBufferWindow(DWORD) override { return E_NOTIMPL; }
    // IWMMediaProps
    STDMETHODIMP GetType(GUID*) override { return E_NOTIMPL; }
    STDMETHODIMP GetMediaType(WM_MEDIA_TYPE* type, DWORD* size) override {
        if (stream_->failGetMediaType)
            return E_FAIL;
        if (!size)
            return E_POINTER;
        const DWORD needed = static_cast<DWORD>(sizeof(WM_MEDIA_TYPE) + stream_->format.size());
        if (!type) {
            *size = needed;
            return S_OK;
        }
        if (*size < needed)
            return E_INVALIDARG;   // the block is too small
        ZeroMemory(type, sizeof *type);
        type->formattype = stream_->formatType;
        type->cbFormat = static_cast<ULONG>(stream_->format.size());
        type->pbFormat = reinterpret_cast<BYTE*>(type + 1);
        if (!stream_->format.empty())
            std::memcpy(type->pbFormat, stream_->format.data(), stream_->format.size());
        *size = needed;
        return S_OK;
    }
    STDMETHODIMP SetMediaType(WM_MEDIA_TYPE* type) override {
        if (!type)
            return E_POINTER;
        ++stream_->setMediaTypeCalls;
        stream_->format.assign(type->pbFormat, type->pbFormat + type->cbFormat);
        return S_OK;
    }

private:
    std::shared_ptr<FakeStream> stream_;
    ULONG refs_ = 1;
};

} // namespace

std::shared_ptr<FakeStream> FakeProfile::VideoStream(LONG width, LONG height) {
    auto stream = std::make_shared<FakeStream>();
    stream->formatType = FORMAT_VideoInfo;
    VIDEOINFOHEADER video = {};
    video.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    video.bmiHeader.biWidth = width;
    video.bmiHeader.biHeight = height;
    video.bmiHeader.biBitCount = 24;
    video.AvgTimePerFrame = 666666;
    const BYTE* bytes = reinterpret_cast<const BYTE*>(&video);
    stream->format.assign(bytes, bytes + sizeof video);
    return stream;
}

std::shared_ptr<FakeStream> FakeProfile::AudioStream() {
    auto stream = std::make_shared<FakeStream>();
    stream->formatType = FORMAT_WaveFormatEx;
    WAVEFORMATEX wave = {};
    wave.wFormatTag = WAVE_FORMAT_PCM;
    wave.nChannels = 2;
    wave.nSamplesPerSec = 44100;
    const BYTE* bytes = reinterpret_cast<const BYTE*>(&wave);
    stream->format.assign(bytes, bytes + sizeof wave);
    return stream;
}

STDMETHODIMP FakeProfile::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv)
        return E_POINTER;
    if (riid == IID_IUnknown || riid == __uuidof(IWMProfile)) {
        *ppv = static_cast<IWMProfile*>(this);
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP FakeProfile::GetStreamCount(DWORD* count) {
    if (failStreamCount)
        return E_UNEXPECTED;
    *count = static_cast<DWORD>(streams.size());
    return S_OK;
}

STDMETHODIMP FakeProfile::GetStream(DWORD index, IWMStreamConfig** config) {
    if (static_cast<int>(index) == failGetStreamAt || index >= streams.size()) {
        *config = nullptr;
        return E_INVALIDARG;
    }
    *config = new StreamObject(streams[index]);
    return S_OK;
}

STDMETHODIMP FakeProfile::ReconfigStream(IWMStreamConfig* config) {
    // Only our own stream objects come back here.
    StreamObject* object = static_cast<StreamObject*>(config);
    ++object->Stream()->reconfigCalls;
    return S_OK;
}

LONG FakeProfile::LiveStreamObjects() const {
    return g_liveStreamObjects;
}

} // namespace recordtest
