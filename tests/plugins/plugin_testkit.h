#pragma once
// What the plug-in tests share: loading and registering a plug-in module, a test RGB24 (or RGB32)
// push source with numbered frames (or a PCM one with loud buffers), and a graph source -> plug-in ->
// Sample Grabber -> Null Renderer that records every frame (or buffer) reaching the grabber.
#include <windows.h>
#include <dshow.h>
#include <qedit.h>
#include <wrl/client.h>

#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace plugintest {

using Microsoft::WRL::ComPtr;

extern const CLSID CLSID_SampleGrabberFilter; // {C1F400A0-3F08-11D3-9F0B-006008039E37}
extern const CLSID CLSID_NullRendererFilter;  // {C1F400A4-3F08-11D3-9F0B-006008039E37}

struct TestVideo {
    int width = 64;
    int height = 48;             // negative: top-down
    bool rgb32 = false;          // offer RGB32 instead of RGB24
    int frames = 100;
    REFERENCE_TIME frameTime = 1000000; // 0.1 s
};

int StrideOf(const TestVideo& video);
size_t FrameBytesOf(const TestVideo& video);
// Frame n of the test source: every byte differs from its neighbours and from frame to frame,
// and no flip or turn of a frame equals the frame itself.
std::vector<BYTE> TestFrame(const TestVideo& video, int n);

// A test sound: 16-bit (or 8-bit) PCM in `buffers` buffers of samplesPerBuffer samples.
struct TestSound {
    WORD bitsPerSample = 16;
    WORD channels = 1;
    DWORD rate = 22050;
    int buffers = 10;
    int samplesPerBuffer = 2205;  // 0.1 s
};

size_t SoundBufferBytesOf(const TestSound& sound);
// Buffer n of the test sound source: loud everywhere, no byte is silence at either sample width.
std::vector<BYTE> TestSoundBuffer(const TestSound& sound, int n);

// A plug-in module loaded into the test process (COM then finds the same module by its path).
class PluginModule {
public:
    explicit PluginModule(const wchar_t* module);
    ~PluginModule();
    PluginModule(const PluginModule&) = delete;
    PluginModule& operator=(const PluginModule&) = delete;

    bool Loaded() const { return module_ != nullptr; }
    std::wstring Path() const;
    HRESULT Register() const;
    HRESULT Unregister() const;
    HRESULT CanUnloadNow() const;

private:
    HRESULT Call(const char* entry) const;
    HMODULE module_;
};

struct CapturedFrame {
    REFERENCE_TIME start = 0;
    REFERENCE_TIME stop = 0;
    HRESULT timeResult = E_FAIL;
    std::vector<BYTE> bytes;
};

// Records what reaches the Sample Grabber; its callback runs on the streaming thread.
class FrameRecorder : public ISampleGrabberCB {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override { return 2; } // lives as long as the test
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP SampleCB(double time, IMediaSample* sample) override;
    STDMETHODIMP BufferCB(double time, BYTE* buffer, long length) override;

    std::vector<CapturedFrame> Frames();
    size_t Count();

private:
    std::mutex mutex_;
    std::vector<CapturedFrame> frames_;
};

// Creates the test source (not registered: it is added to graphs directly). streamEnded, when given,
// is set once the streaming thread has delivered its last sample and the end of stream.
HRESULT CreateTestSource(const TestVideo& video, IBaseFilter** source, HANDLE streamEnded = nullptr);

HRESULT FindPin(IBaseFilter* filter, PIN_DIRECTION direction, IPin** pin);
// Connects the first output pin of `from` straight to the first input pin of `to`.
HRESULT Connect(IGraphBuilder* graph, IBaseFilter* from, IBaseFilter* to);

// The end of every test chain: a Sample Grabber taking one media type and handing each sample to a
// recorder, and a Null Renderer after it. MakeRecordingEnd creates both, not yet in a graph.
struct RecordingEnd {
    Microsoft::WRL::ComPtr<IBaseFilter> grabberFilter;
    Microsoft::WRL::ComPtr<ISampleGrabber> grabber;
    Microsoft::WRL::ComPtr<IBaseFilter> renderer;
};
HRESULT MakeRecordingEnd(const GUID& major, const GUID& sub, FrameRecorder* recorder, RecordingEnd* end);

// Plays the test video through the plug-in into the recorder, without a clock, to the end.
// connect is the first failing connection step's result (S_OK when all connected).
struct GraphResult {
    HRESULT connect = E_FAIL;
    HRESULT run = E_FAIL;
    std::vector<CapturedFrame> frames;
};
GraphResult PlayThrough(IBaseFilter* plugin, const wchar_t* pluginName, const TestVideo& video);
// The same; connected runs once every pin is connected and before the graph runs (parameters that
// a new connection resets are set there).
GraphResult PlayThrough(IBaseFilter* plugin, const wchar_t* pluginName, const TestVideo& video,
                        const std::function<void()>& connected);
// The test sound through an audio filter; every buffer reaching the grabber is one "frame".
GraphResult PlaySoundThrough(IBaseFilter* plugin, const wchar_t* pluginName, const TestSound& sound,
                             const std::function<void()>& connected = nullptr);

} // namespace plugintest
