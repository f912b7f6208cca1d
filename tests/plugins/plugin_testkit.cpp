#include "plugin_testkit.h"

#include "qeldshow/media_type.h"
#include "qeldshow/source_filter.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <functional>
#include <new>
#include <utility>

namespace plugintest {

const CLSID CLSID_SampleGrabberFilter = {0xc1f400a0, 0x3f08, 0x11d3, {0x9f, 0x0b, 0x00, 0x60, 0x08, 0x03, 0x9e, 0x37}};
const CLSID CLSID_NullRendererFilter = {0xc1f400a4, 0x3f08, 0x11d3, {0x9f, 0x0b, 0x00, 0x60, 0x08, 0x03, 0x9e, 0x37}};

namespace {

// {3B0C6E52-61A4-4C7E-8E0D-5F1B2A9C7D31}: the test source's own class ID (never registered).
const CLSID CLSID_PluginTestSource = {0x3b0c6e52, 0x61a4, 0x4c7e, {0x8e, 0x0d, 0x5f, 0x1b, 0x2a, 0x9c, 0x7d, 0x31}};

int BytesPerPixel(const TestVideo& video) { return video.rgb32 ? 4 : 3; }
int Rows(const TestVideo& video) { return video.height < 0 ? -video.height : video.height; }

CMediaType VideoType(const TestVideo& video) {
    CMediaType type;
    type.SetType(&MEDIATYPE_Video);
    type.SetSubtype(video.rgb32 ? &MEDIASUBTYPE_RGB32 : &MEDIASUBTYPE_RGB24);
    type.SetFormatType(&FORMAT_VideoInfo);
    auto* info = reinterpret_cast<VIDEOINFOHEADER*>(type.AllocFormatBuffer(sizeof(VIDEOINFOHEADER)));
    if (!info)
        return type;
    info->AvgTimePerFrame = video.frameTime;
    info->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info->bmiHeader.biWidth = video.width;
    info->bmiHeader.biHeight = video.height;
    info->bmiHeader.biPlanes = 1;
    info->bmiHeader.biBitCount = static_cast<WORD>(BytesPerPixel(video) * 8);
    info->bmiHeader.biCompression = BI_RGB;
    info->bmiHeader.biSizeImage = static_cast<DWORD>(FrameBytesOf(video));
    type.SetSampleSize(static_cast<ULONG>(FrameBytesOf(video)));
    type.SetTemporalCompression(FALSE);
    return type;
}

CMediaType SoundType(const TestSound& sound) {
    CMediaType type;
    type.SetType(&MEDIATYPE_Audio);
    type.SetSubtype(&MEDIASUBTYPE_PCM);
    type.SetFormatType(&FORMAT_WaveFormatEx);
    auto* format = reinterpret_cast<WAVEFORMATEX*>(type.AllocFormatBuffer(sizeof(WAVEFORMATEX)));
    if (!format)
        return type;
    format->wFormatTag = WAVE_FORMAT_PCM;
    format->nChannels = sound.channels;
    format->nSamplesPerSec = sound.rate;
    format->wBitsPerSample = sound.bitsPerSample;
    format->nBlockAlign = static_cast<WORD>(sound.channels * sound.bitsPerSample / 8);
    format->nAvgBytesPerSec = sound.rate * format->nBlockAlign;
    type.SetSampleSize(format->nBlockAlign);
    return type;
}

// What a test source streams: its one media type and `count` buffers of `duration` each.
struct TestStreamContent {
    CMediaType type;
    int count = 0;
    REFERENCE_TIME duration = 0;
    size_t bytes = 0;
    std::function<std::vector<BYTE>(int)> buffer;
};

TestStreamContent ContentOf(const TestVideo& video) {
    return {VideoType(video), video.frames, video.frameTime, FrameBytesOf(video),
            [video](int n) { return TestFrame(video, n); }};
}

TestStreamContent ContentOf(const TestSound& sound) {
    const REFERENCE_TIME duration = static_cast<REFERENCE_TIME>(sound.samplesPerBuffer) * 10000000 / sound.rate;
    return {SoundType(sound), sound.buffers, duration, SoundBufferBytesOf(sound),
            [sound](int n) { return TestSoundBuffer(sound, n); }};
}

class TestStream : public CSourceStream {
public:
    TestStream(HRESULT* hr, CSource* filter, TestStreamContent content, HANDLE streamEnded)
        : CSourceStream("Plug-in test stream", hr, filter, L"Output"), content_(std::move(content)),
          streamEnded_(streamEnded) {}

    // Runs on the streaming thread after its last delivery (end of stream included) has returned.
    HRESULT OnThreadDestroy() override {
        if (streamEnded_)
            SetEvent(streamEnded_);
        return S_OK;
    }

    HRESULT GetMediaType(int position, CMediaType* type) override {
        if (position < 0)
            return E_INVALIDARG;
        if (position > 0)
            return VFW_S_NO_MORE_ITEMS;
        return type->Set(content_.type);
    }
    HRESULT CheckMediaType(const CMediaType* type) override {
        return type && MediaTypesEqual(*type, content_.type) ? S_OK : E_FAIL;
    }
    HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override {
        request->cBuffers = 2;
        request->cbBuffer = static_cast<long>(content_.bytes);
        if (request->cbAlign <= 0)
            request->cbAlign = 1;
        ALLOCATOR_PROPERTIES actual{};
        const HRESULT hr = allocator->SetProperties(request, &actual);
        if (FAILED(hr))
            return hr;
        return actual.cbBuffer >= request->cbBuffer ? S_OK : E_FAIL;
    }
    HRESULT FillBuffer(IMediaSample* sample) override {
        const int n = next_++;
        if (n >= content_.count)
            return S_FALSE;
        BYTE* data = nullptr;
        HRESULT hr = sample->GetPointer(&data);
        if (FAILED(hr))
            return hr;
        const std::vector<BYTE> frame = content_.buffer(n);
        if (sample->GetSize() < static_cast<long>(frame.size()))
            return E_FAIL;
        std::memcpy(data, frame.data(), frame.size());
        sample->SetActualDataLength(static_cast<long>(frame.size()));
        REFERENCE_TIME start = n * content_.duration, stop = start + content_.duration;
        sample->SetTime(&start, &stop);
        sample->SetSyncPoint(TRUE);
        return S_OK;
    }

private:
    TestStreamContent content_;
    HANDLE streamEnded_; // not owned
    std::atomic<int> next_{0};
};

class TestSource : public CSource {
public:
    TestSource(TestStreamContent content, HANDLE streamEnded, HRESULT* hr)
        : CSource("Plug-in test source", nullptr, CLSID_PluginTestSource) {
        stream_ = new (std::nothrow) TestStream(hr, this, std::move(content), streamEnded); // the filter owns its pins
        if (!stream_)
            *hr = E_OUTOFMEMORY;
    }

private:
    TestStream* stream_ = nullptr;
};

} // namespace

int StrideOf(const TestVideo& video) { return (video.width * BytesPerPixel(video) + 3) / 4 * 4; }

size_t FrameBytesOf(const TestVideo& video) { return static_cast<size_t>(StrideOf(video)) * Rows(video); }

std::vector<BYTE> TestFrame(const TestVideo& video, int n) {
    std::vector<BYTE> frame(FrameBytesOf(video));
    const int stride = StrideOf(video);
    for (int row = 0; row < Rows(video); ++row)
        for (int x = 0; x < stride; ++x)
            frame[row * stride + x] = static_cast<BYTE>(row * 31 + x * 7 + n * 13 + (x * row) / 5);
    return frame;
}

PluginModule::PluginModule(const wchar_t* module) {
    const std::wstring file = std::wstring(module) + L".ax";
    module_ = LoadLibraryW(file.c_str());
}

PluginModule::~PluginModule() {
    if (module_)
        FreeLibrary(module_);
}

std::wstring PluginModule::Path() const {
    wchar_t path[MAX_PATH] = {};
    if (module_)
        GetModuleFileNameW(module_, path, MAX_PATH);
    return path;
}

HRESULT PluginModule::Call(const char* entry) const {
    typedef HRESULT(STDAPICALLTYPE * EntryPoint)();
    if (!module_)
        return E_UNEXPECTED;
    auto function = reinterpret_cast<EntryPoint>(reinterpret_cast<void*>(GetProcAddress(module_, entry)));
    return function ? function() : HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND);
}

HRESULT PluginModule::Register() const { return Call("DllRegisterServer"); }
HRESULT PluginModule::Unregister() const { return Call("DllUnregisterServer"); }
HRESULT PluginModule::CanUnloadNow() const { return Call("DllCanUnloadNow"); }

STDMETHODIMP FrameRecorder::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv)
        return E_POINTER;
    if (riid == IID_IUnknown || riid == __uuidof(ISampleGrabberCB)) {
        *ppv = static_cast<ISampleGrabberCB*>(this);
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP FrameRecorder::SampleCB(double, IMediaSample* sample) {
    CapturedFrame frame;
    frame.timeResult = sample->GetTime(&frame.start, &frame.stop);
    BYTE* data = nullptr;
    if (SUCCEEDED(sample->GetPointer(&data)) && data) {
        const long length = sample->GetActualDataLength();
        if (length > 0)
            frame.bytes.assign(data, data + length);
    }
    std::lock_guard<std::mutex> lock(mutex_);
    frames_.push_back(std::move(frame));
    return S_OK;
}

STDMETHODIMP FrameRecorder::BufferCB(double, BYTE*, long) { return E_NOTIMPL; }

size_t FrameRecorder::Count() {
    std::lock_guard<std::mutex> lock(mutex_);
    return frames_.size();
}

std::vector<CapturedFrame> FrameRecorder::Frames() {
    std::lock_guard<std::mutex> lock(mutex_);
    return frames_;
}

size_t SoundBufferBytesOf(const TestSound& sound) {
    return static_cast<size_t>(sound.samplesPerBuffer) * sound.channels * sound.bitsPerSample / 8;
}

std::vector<BYTE> TestSoundBuffer(const TestSound& sound, int n) {
    // A loud saw tooth: no byte is the silence of either sample width (0x80 for 8 bits, 0 for 16).
    std::vector<BYTE> buffer(SoundBufferBytesOf(sound));
    for (size_t i = 0; i < buffer.size(); ++i)
        buffer[i] = static_cast<BYTE>(0x10 + (i * 7 + static_cast<size_t>(n) * 3) % 0x60);
    return buffer;
}

namespace {

HRESULT CreateSource(TestStreamContent content, IBaseFilter** source, HANDLE streamEnded) {
    HRESULT hr = S_OK;
    auto* filter = new (std::nothrow) TestSource(std::move(content), streamEnded, &hr);
    if (!filter)
        return E_OUTOFMEMORY;
    filter->NonDelegatingAddRef();
    if (SUCCEEDED(hr))
        hr = filter->NonDelegatingQueryInterface(IID_IBaseFilter, reinterpret_cast<void**>(source));
    filter->NonDelegatingRelease();
    return hr;
}

} // namespace

HRESULT CreateTestSource(const TestVideo& video, IBaseFilter** source, HANDLE streamEnded) {
    return CreateSource(ContentOf(video), source, streamEnded);
}

HRESULT FindPin(IBaseFilter* filter, PIN_DIRECTION direction, IPin** pin) {
    *pin = nullptr;
    ComPtr<IEnumPins> pins;
    HRESULT hr = filter->EnumPins(&pins);
    if (FAILED(hr))
        return hr;
    ComPtr<IPin> candidate;
    while (pins->Next(1, &candidate, nullptr) == S_OK) {
        PIN_DIRECTION found;
        if (SUCCEEDED(candidate->QueryDirection(&found)) && found == direction) {
            *pin = candidate.Detach();
            return S_OK;
        }
        candidate.Reset();
    }
    return VFW_E_NOT_FOUND;
}

namespace {

} // namespace

HRESULT Connect(IGraphBuilder* graph, IBaseFilter* from, IBaseFilter* to) {
    ComPtr<IPin> out, in;
    HRESULT hr = FindPin(from, PINDIR_OUTPUT, &out);
    if (SUCCEEDED(hr))
        hr = FindPin(to, PINDIR_INPUT, &in);
    if (SUCCEEDED(hr))
        hr = graph->ConnectDirect(out.Get(), in.Get(), nullptr);
    return hr;
}

HRESULT MakeRecordingEnd(const GUID& major, const GUID& sub, FrameRecorder* recorder, RecordingEnd* end) {
    HRESULT hr = CoCreateInstance(CLSID_SampleGrabberFilter, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_PPV_ARGS(&end->grabberFilter));
    if (SUCCEEDED(hr))
        hr = CoCreateInstance(CLSID_NullRendererFilter, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&end->renderer));
    if (SUCCEEDED(hr))
        hr = end->grabberFilter.As(&end->grabber);
    if (SUCCEEDED(hr)) {
        AM_MEDIA_TYPE want{};
        want.majortype = major;
        want.subtype = sub;
        hr = end->grabber->SetMediaType(&want);
    }
    if (SUCCEEDED(hr))
        hr = end->grabber->SetBufferSamples(FALSE);
    if (SUCCEEDED(hr))
        hr = end->grabber->SetCallback(recorder, 0);
    return hr;
}

struct EventHandle {
    HANDLE handle = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ~EventHandle() {
        if (handle)
            CloseHandle(handle);
    }
};

GraphResult PlayThrough(IBaseFilter* plugin, const wchar_t* pluginName, const TestVideo& video) {
    return PlayThrough(plugin, pluginName, video, nullptr);
}

namespace {

// Plays everything a test source has through the plug-in into a recorder (see PlayThrough).
GraphResult PlayContent(IBaseFilter* plugin, const wchar_t* pluginName, TestStreamContent content,
                        const std::function<void()>& connected) {
    GraphResult result;
    FrameRecorder recorder;
    EventHandle streamEnded; // outlives the source, which signals it
    ComPtr<IGraphBuilder> graph;
    ComPtr<IBaseFilter> source;
    RecordingEnd end;
    const GUID major = content.type.majortype, sub = content.type.subtype;

    HRESULT hr = CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&graph));
    if (SUCCEEDED(hr))
        hr = CreateSource(std::move(content), &source, streamEnded.handle);
    if (SUCCEEDED(hr))
        hr = MakeRecordingEnd(major, sub, &recorder, &end);
    const ComPtr<IBaseFilter>& grabberFilter = end.grabberFilter;
    const ComPtr<IBaseFilter>& renderer = end.renderer;
    const ComPtr<ISampleGrabber>& grabber = end.grabber;
    if (SUCCEEDED(hr))
        hr = graph->AddFilter(source.Get(), L"Test Source");
    if (SUCCEEDED(hr))
        hr = graph->AddFilter(plugin, pluginName);
    if (SUCCEEDED(hr))
        hr = graph->AddFilter(grabberFilter.Get(), L"SampleGrabber");
    if (SUCCEEDED(hr))
        hr = graph->AddFilter(renderer.Get(), L"Null Renderer");
    if (FAILED(hr)) {
        ADD_FAILURE() << "graph set-up failed: 0x" << std::hex << hr;
        return result;
    }

    hr = Connect(graph.Get(), source.Get(), plugin);
    if (SUCCEEDED(hr))
        hr = Connect(graph.Get(), plugin, grabberFilter.Get());
    if (SUCCEEDED(hr))
        hr = Connect(graph.Get(), grabberFilter.Get(), renderer.Get());
    result.connect = hr;
    if (SUCCEEDED(hr) && connected)
        connected();

    if (SUCCEEDED(hr)) {
        ComPtr<IMediaFilter> timing;
        ComPtr<IMediaControl> control;
        ComPtr<IMediaEventEx> events;
        hr = graph.As(&timing);
        if (SUCCEEDED(hr))
            hr = timing->SetSyncSource(nullptr); // as fast as the frames go, times still stamped
        if (SUCCEEDED(hr))
            hr = graph.As(&control);
        if (SUCCEEDED(hr)) // mingw's IMediaEvent has no __uuidof
            hr = graph->QueryInterface(IID_IMediaEventEx, reinterpret_cast<void**>(events.GetAddressOf()));
        if (SUCCEEDED(hr))
            hr = control->Run();
        if (SUCCEEDED(hr)) {
            long code = 0;
            hr = events->WaitForCompletion(20000, &code);
            if (SUCCEEDED(hr) && code != EC_COMPLETE)
                hr = E_FAIL;
        }
        result.run = hr;
        // Stop only once the end of stream has travelled the whole chain: the base layer's
        // transform filter can deadlock when Stop meets an end of stream still on its way
        // (its output pin takes the state lock to answer IMediaSeeking, which renderers ask for
        // while they handle the end of stream).
        if (SUCCEEDED(hr) && WaitForSingleObject(streamEnded.handle, 10000) != WAIT_OBJECT_0)
            result.run = E_FAIL;
        if (control)
            control->Stop();
    }
    grabber->SetCallback(nullptr, 0);
    result.frames = recorder.Frames();

    // Take the filters out so that the plug-in can join another graph.
    graph->RemoveFilter(renderer.Get());
    graph->RemoveFilter(grabberFilter.Get());
    graph->RemoveFilter(plugin);
    graph->RemoveFilter(source.Get());
    return result;
}

} // namespace

GraphResult PlayThrough(IBaseFilter* plugin, const wchar_t* pluginName, const TestVideo& video,
                        const std::function<void()>& connected) {
    return PlayContent(plugin, pluginName, ContentOf(video), connected);
}

GraphResult PlaySoundThrough(IBaseFilter* plugin, const wchar_t* pluginName, const TestSound& sound,
                             const std::function<void()>& connected) {
    return PlayContent(plugin, pluginName, ContentOf(sound), connected);
}

} // namespace plugintest
