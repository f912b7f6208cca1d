// FrameSnatch.exe "source" "target" position width height
//
// Writes one frame of a media file as a 24-bit BMP and exits (0 written, nonzero not). The player
// hands over the frame number scaled by 1e-7 as position; the frame is found through the video's
// frame time. A width and height that differ from the video's scale the picture (nearest pixel).
// The whole run is bounded: a source that hangs while it is opened or connected ends the program
// with kTimedOut after 30 s (in the tests' build, or the milliseconds in FRAMESNATCH_TIME_LIMIT_MS).
#include <windows.h>
#include <dshow.h>
#include <qedit.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "qeldshow/com_ptr.h"

namespace {

// {C1F400A0-3F08-11D3-9F0B-006008039E37} and {C1F400A4-...}: not in mingw's qedit.h.
constexpr GUID kClsidSampleGrabber = {
    0xC1F400A0, 0x3F08, 0x11D3, {0x9F, 0x0B, 0x00, 0x60, 0x08, 0x03, 0x9E, 0x37}};
constexpr GUID kClsidNullRenderer = {
    0xC1F400A4, 0x3F08, 0x11D3, {0x9F, 0x0B, 0x00, 0x60, 0x08, 0x03, 0x9E, 0x37}};

constexpr long kWaitMs = 30000; // the player waits for us without a limit: never hang

enum ExitCode { kWritten = 0, kBadArguments = 1, kCannotDecode = 2, kNoFrame = 3, kCannotWrite = 4, kTimedOut = 5 };

// The time limit of the whole run.
DWORD RunLimitMs() {
#ifndef QEL_TEST_SEAMS
    return static_cast<DWORD>(kWaitMs);
#else
    char text[16] = {};
    const DWORD length = GetEnvironmentVariableA("FRAMESNATCH_TIME_LIMIT_MS", text, sizeof text);
    const long value = length > 0 && length < sizeof text ? std::atol(text) : 0;
    return value > 0 ? static_cast<DWORD>(value) : static_cast<DWORD>(kWaitMs);
#endif
}

// Ends the process when the run outlives its limit, wherever the main thread hangs (the platform's
// source filters can block while they are added or connected). A partial picture is removed first.
class RunGuard {
public:
    explicit RunGuard(const char* target) : target_(target), limit_(RunLimitMs()) {
        done_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        if (done_)
            thread_ = CreateThread(nullptr, 0, &RunGuard::Watch, this, 0, nullptr);
    }
    ~RunGuard() {
        if (done_)
            SetEvent(done_);
        if (thread_) {
            WaitForSingleObject(thread_, INFINITE);
            CloseHandle(thread_);
        }
        if (done_)
            CloseHandle(done_);
    }
    RunGuard(const RunGuard&) = delete;
    RunGuard& operator=(const RunGuard&) = delete;
    bool Armed() const { return thread_ != nullptr; }

private:
    static DWORD WINAPI Watch(LPVOID self) {
        const RunGuard* guard = static_cast<const RunGuard*>(self);
        if (WaitForSingleObject(guard->done_, guard->limit_) != WAIT_TIMEOUT)
            return 0;
        std::fprintf(stderr, "FrameSnatch: no picture within %lu ms\n", static_cast<unsigned long>(guard->limit_));
        DeleteFileA(guard->target_);
        TerminateProcess(GetCurrentProcess(), kTimedOut);
        return 0;
    }

    const char* target_;
    DWORD limit_;
    HANDLE done_ = nullptr;
    HANDLE thread_ = nullptr;
};

qel::ComPtr<IPin> FirstPin(IBaseFilter* filter, PIN_DIRECTION wanted) {
    qel::ComPtr<IEnumPins> pins;
    if (FAILED(filter->EnumPins(&pins)))
        return nullptr;
    qel::ComPtr<IPin> pin;
    while (pins->Next(1, pin.ReleaseAndGetAddressOf(), nullptr) == S_OK) {
        PIN_DIRECTION direction;
        if (SUCCEEDED(pin->QueryDirection(&direction)) && direction == wanted)
            return pin;
    }
    return nullptr;
}

struct Frame {
    int width = 0;
    int height = 0; // positive: bottom-up rows
    std::vector<BYTE> rows;
};

size_t Stride(int width) {
    return (static_cast<size_t>(width) * 3 + 3) & ~static_cast<size_t>(3);
}

int Grab(const wchar_t* source, long long frameNumber, Frame* frame) {
    qel::ComPtr<IGraphBuilder> graph;
    qel::ComPtr<IBaseFilter> reader, grabberFilter, renderer;
    qel::ComPtr<ISampleGrabber> grabber;
    if (FAILED(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                reinterpret_cast<void**>(graph.GetAddressOf()))) ||
        FAILED(CoCreateInstance(kClsidSampleGrabber, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                reinterpret_cast<void**>(grabberFilter.GetAddressOf()))) ||
        FAILED(CoCreateInstance(kClsidNullRenderer, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                reinterpret_cast<void**>(renderer.GetAddressOf()))) ||
        FAILED(grabberFilter->QueryInterface(IID_ISampleGrabber, reinterpret_cast<void**>(grabber.GetAddressOf())))) {
        std::fprintf(stderr, "FrameSnatch: DirectShow objects are missing\n");
        return kCannotDecode;
    }
    AM_MEDIA_TYPE wanted = {};
    wanted.majortype = MEDIATYPE_Video;
    wanted.subtype = MEDIASUBTYPE_RGB24;
    wanted.formattype = FORMAT_VideoInfo;
    grabber->SetMediaType(&wanted);
    if (FAILED(graph->AddSourceFilter(source, L"Source", reader.GetAddressOf())) ||
        FAILED(graph->AddFilter(grabberFilter.Get(), L"Grabber")) ||
        FAILED(graph->AddFilter(renderer.Get(), L"Null"))) {
        std::fprintf(stderr, "FrameSnatch: cannot open the source\n");
        return kCannotDecode;
    }
    const qel::ComPtr<IPin> readerOut = FirstPin(reader.Get(), PINDIR_OUTPUT);
    const qel::ComPtr<IPin> grabberIn = FirstPin(grabberFilter.Get(), PINDIR_INPUT);
    const qel::ComPtr<IPin> grabberOut = FirstPin(grabberFilter.Get(), PINDIR_OUTPUT);
    const qel::ComPtr<IPin> rendererIn = FirstPin(renderer.Get(), PINDIR_INPUT);
    const bool connected = readerOut && grabberIn && grabberOut && rendererIn &&
                           SUCCEEDED(graph->Connect(readerOut.Get(), grabberIn.Get())) &&
                           SUCCEEDED(graph->Connect(grabberOut.Get(), rendererIn.Get()));
    if (!connected) {
        std::fprintf(stderr, "FrameSnatch: the source has no RGB24 video\n");
        return kCannotDecode;
    }

    AM_MEDIA_TYPE type = {};
    if (FAILED(grabber->GetConnectedMediaType(&type)))
        return kCannotDecode;
    REFERENCE_TIME frameTime = 0;
    if (type.formattype == FORMAT_VideoInfo && type.cbFormat >= sizeof(VIDEOINFOHEADER)) {
        const auto* video = reinterpret_cast<const VIDEOINFOHEADER*>(type.pbFormat);
        frame->width = video->bmiHeader.biWidth;
        frame->height = video->bmiHeader.biHeight;
        frameTime = video->AvgTimePerFrame;
    }
    if (type.cbFormat)
        CoTaskMemFree(type.pbFormat);
    if (type.pUnk)
        type.pUnk->Release();
    if (frame->width <= 0 || frame->height == 0) {
        std::fprintf(stderr, "FrameSnatch: unusable video format\n");
        return kCannotDecode;
    }

    grabber->SetBufferSamples(TRUE);
    grabber->SetOneShot(TRUE);
    qel::ComPtr<IMediaSeeking> seeking;
    qel::ComPtr<IMediaControl> control;
    qel::ComPtr<IMediaEvent> events;
    if (FAILED(graph->QueryInterface(IID_IMediaSeeking, reinterpret_cast<void**>(seeking.GetAddressOf()))) ||
        FAILED(graph->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(control.GetAddressOf()))) ||
        FAILED(graph->QueryInterface(IID_IMediaEvent, reinterpret_cast<void**>(events.GetAddressOf()))))
        return kCannotDecode;
    LONGLONG start = frameNumber * frameTime;
    LONGLONG duration = 0;
    if (SUCCEEDED(seeking->GetDuration(&duration)) && start >= duration) {
        std::fprintf(stderr, "FrameSnatch: frame %lld lies past the end\n", frameNumber);
        return kNoFrame;
    }
    seeking->SetPositions(&start, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning);
    if (FAILED(control->Run())) {
        control->Stop();
        return kCannotDecode;
    }
    long code = 0;
    events->WaitForCompletion(kWaitMs, &code);
    control->Stop();

    long size = 0;
    if (FAILED(grabber->GetCurrentBuffer(&size, nullptr)) || size <= 0)
        return kNoFrame;
    frame->rows.resize(static_cast<size_t>(size));
    if (FAILED(grabber->GetCurrentBuffer(&size, reinterpret_cast<long*>(frame->rows.data()))))
        return kNoFrame;
    const size_t needed = Stride(frame->width) * static_cast<size_t>(std::abs(frame->height));
    if (frame->rows.size() < needed)
        return kNoFrame;
    frame->rows.resize(needed);
    return kWritten;
}

// Nearest-pixel scaling to the size the caller asked for (rows stay in the frame's order).
Frame Scaled(const Frame& in, int width, int height) {
    if (width <= 0 || height <= 0 || (width == in.width && height == std::abs(in.height)))
        return in;
    Frame out;
    out.width = width;
    out.height = in.height < 0 ? -height : height;
    const int inRows = std::abs(in.height);
    out.rows.assign(Stride(width) * static_cast<size_t>(height), 0);
    for (int y = 0; y < height; ++y) {
        const BYTE* src = in.rows.data() + Stride(in.width) * static_cast<size_t>(y * inRows / height);
        BYTE* dst = out.rows.data() + Stride(width) * static_cast<size_t>(y);
        for (int x = 0; x < width; ++x)
            std::memcpy(dst + 3 * x, src + 3 * (x * in.width / width), 3);
    }
    return out;
}

int WriteBitmap(const char* target, const Frame& frame) {
    BITMAPFILEHEADER fileHeader = {};
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof info;
    info.biWidth = frame.width;
    info.biHeight = frame.height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    info.biSizeImage = static_cast<DWORD>(frame.rows.size());
    fileHeader.bfType = 0x4D42; // "BM"
    fileHeader.bfOffBits = sizeof fileHeader + sizeof info;
    fileHeader.bfSize = fileHeader.bfOffBits + info.biSizeImage;
    FILE* out = std::fopen(target, "wb");
    if (!out) {
        std::fprintf(stderr, "FrameSnatch: cannot create %s\n", target);
        return kCannotWrite;
    }
    const bool written = std::fwrite(&fileHeader, sizeof fileHeader, 1, out) == 1 &&
                         std::fwrite(&info, sizeof info, 1, out) == 1 &&
                         std::fwrite(frame.rows.data(), 1, frame.rows.size(), out) == frame.rows.size();
    if (std::fclose(out) != 0 || !written) {
        std::remove(target); // a partial picture must not pass for a still
        return kCannotWrite;
    }
    return kWritten;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 6) {
        std::fprintf(stderr, "usage: FrameSnatch.exe \"source\" \"target\" position width height\n");
        return kBadArguments;
    }
    const RunGuard guard(argv[2]);
    if (!guard.Armed())
        return kCannotDecode;   // a run without its limit could hang its caller
    wchar_t source[MAX_PATH];
    if (!MultiByteToWideChar(CP_ACP, 0, argv[1], -1, source, MAX_PATH))
        return kBadArguments;
    const double position = std::strtod(argv[3], nullptr);
    if (!(position >= 0))
        return kBadArguments;
    const long long frameNumber = std::llround(position * 1e7);
    const int width = std::atoi(argv[4]);
    const int height = std::atoi(argv[5]);

    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)))
        return kCannotDecode;
    Frame frame;
    int result = Grab(source, frameNumber, &frame);
    if (result == kWritten)
        result = WriteBitmap(argv[2], Scaled(frame, width, height));
    CoUninitialize();
    return result;
}
