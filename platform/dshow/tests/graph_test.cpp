// Real graphs under Wine: our test source -> our invert transform -> Wine's Sample Grabber ->
// Null Renderer.
#include "test_com.h"
#include "test_filters.h"

#include "qeltest/com_test.h"
#include "qeltest/pump.h"

#include <evcode.h>

namespace dshowtest {

const CLSID CLSID_SampleGrabberFilter = {0xc1f400a0, 0x3f08, 0x11d3, {0x9f, 0x0b, 0x00, 0x60, 0x08, 0x03, 0x9e, 0x37}};
const CLSID CLSID_NullRendererFilter = {0xc1f400a4, 0x3f08, 0x11d3, {0x9f, 0x0b, 0x00, 0x60, 0x08, 0x03, 0x9e, 0x37}};

STDMETHODIMP RecordingGrabberCallback::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv)
        return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_ISampleGrabberCB) {
        *ppv = static_cast<ISampleGrabberCB*>(this);
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP RecordingGrabberCallback::SampleCB(double time, IMediaSample* sample) {
    GrabbedSample grabbed;
    grabbed.time = time;
    BYTE* data = nullptr;
    grabbed.length = sample->GetActualDataLength();
    if (SUCCEEDED(sample->GetPointer(&data)) && data && grabbed.length > 0)
        grabbed.head.assign(data, data + std::min<long>(grabbed.length, 64));
    REFERENCE_TIME start = -1, stop = -1;
    if (FAILED(sample->GetTime(&start, &stop)))
        start = -1;
    std::lock_guard<std::mutex> lock(mutex_);
    samples_.push_back(grabbed);
    starts_.push_back(start);
    return S_OK;
}

STDMETHODIMP RecordingGrabberCallback::BufferCB(double, BYTE*, long) { return S_OK; }

std::vector<GrabbedSample> RecordingGrabberCallback::Samples() {
    std::lock_guard<std::mutex> lock(mutex_);
    return samples_;
}

std::vector<REFERENCE_TIME> RecordingGrabberCallback::StartTimes() {
    std::lock_guard<std::mutex> lock(mutex_);
    return starts_;
}

size_t RecordingGrabberCallback::Count() {
    std::lock_guard<std::mutex> lock(mutex_);
    return samples_.size();
}

HRESULT FindFirstPin(IBaseFilter* filter, PIN_DIRECTION direction, IPin** pin) {
    *pin = nullptr;
    ComPtr<IEnumPins> pins;
    HRESULT hr = filter->EnumPins(pins.Out());
    if (FAILED(hr))
        return hr;
    for (;;) {
        IPin* candidate = nullptr;
        if (pins->Next(1, &candidate, nullptr) != S_OK)
            return VFW_E_NOT_FOUND;
        PIN_DIRECTION dir;
        if (SUCCEEDED(candidate->QueryDirection(&dir)) && dir == direction) {
            *pin = candidate;
            return S_OK;
        }
        candidate->Release();
    }
}

namespace {

// source -> invert -> sample grabber -> null renderer, built and connected pin by pin.
class GraphTest : public qeltest::ComTest {
protected:
    void SetUp() override {
        qeltest::ComTest::SetUp();
        liveBefore_ = QelLiveObjectCount();
    }
    void Build(const SourceSettings& settings, bool connect = true) {
        ASSERT_HRESULT_SUCCEEDED(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER,
                                                  IID_IGraphBuilder, graph_.OutVoid()));
        source_ = new CTestPushSource(settings);
        ASSERT_HRESULT_SUCCEEDED(source_->NonDelegatingQueryInterface(IID_IBaseFilter, sourceFilter_.OutVoid()));
        invert_ = new CInvertFilter();
        ASSERT_HRESULT_SUCCEEDED(invert_->NonDelegatingQueryInterface(IID_IBaseFilter, invertFilter_.OutVoid()));
        ASSERT_HRESULT_SUCCEEDED(CoCreateInstance(CLSID_SampleGrabberFilter, nullptr, CLSCTX_INPROC_SERVER,
                                                  IID_IBaseFilter, grabberFilter_.OutVoid()));
        ASSERT_HRESULT_SUCCEEDED(CoCreateInstance(CLSID_NullRendererFilter, nullptr, CLSCTX_INPROC_SERVER,
                                                  IID_IBaseFilter, renderer_.OutVoid()));
        ASSERT_HRESULT_SUCCEEDED(graph_->AddFilter(sourceFilter_.Get(), L"Source"));
        ASSERT_HRESULT_SUCCEEDED(graph_->AddFilter(invertFilter_.Get(), L"Invert"));
        ASSERT_HRESULT_SUCCEEDED(graph_->AddFilter(grabberFilter_.Get(), L"SampleGrabber"));
        ASSERT_HRESULT_SUCCEEDED(graph_->AddFilter(renderer_.Get(), L"Null Renderer"));

        ASSERT_HRESULT_SUCCEEDED(grabberFilter_->QueryInterface(IID_ISampleGrabber, grabber_.OutVoid()));
        AM_MEDIA_TYPE wanted{};
        wanted.majortype = MEDIATYPE_Video;
        wanted.subtype = MEDIASUBTYPE_RGB24;
        ASSERT_HRESULT_SUCCEEDED(grabber_->SetMediaType(&wanted));
        ASSERT_HRESULT_SUCCEEDED(grabber_->SetBufferSamples(FALSE));
        ASSERT_HRESULT_SUCCEEDED(grabber_->SetCallback(&callback_, 0));

        ASSERT_HRESULT_SUCCEEDED(graph_->QueryInterface(IID_IMediaControl, control_.OutVoid()));
        ASSERT_HRESULT_SUCCEEDED(graph_->QueryInterface(IID_IMediaEvent, events_.OutVoid()));
        if (connect)
            ConnectAll();
    }

    HRESULT Connect(IBaseFilter* from, IBaseFilter* to) {
        ComPtr<IPin> out, in;
        HRESULT hr = FindFirstPin(from, PINDIR_OUTPUT, out.Out());
        if (FAILED(hr))
            return hr;
        hr = FindFirstPin(to, PINDIR_INPUT, in.Out());
        if (FAILED(hr))
            return hr;
        return graph_->ConnectDirect(out.Get(), in.Get(), nullptr);
    }

    void ConnectAll() {
        ASSERT_HRESULT_SUCCEEDED(Connect(sourceFilter_.Get(), invertFilter_.Get()));
        ASSERT_HRESULT_SUCCEEDED(Connect(invertFilter_.Get(), grabberFilter_.Get()));
        ASSERT_HRESULT_SUCCEEDED(Connect(grabberFilter_.Get(), renderer_.Get()));
    }

    // Waits for an event with the given code; returns false on timeout. Other events are kept in
    // seenEvents_. Waits on the graph's event handle (GetEvent's own timeout is not relied on).
    bool WaitForEvent(long wanted, long* param1, DWORD timeoutMs) {
        OAEVENT handle = 0;
        if (FAILED(events_->GetEventHandle(&handle)))
            return false;
        const DWORD until = GetTickCount() + timeoutMs;
        for (;;) {
            long code = 0;
            LONG_PTR p1 = 0, p2 = 0;
            const HRESULT hr = events_->GetEvent(&code, &p1, &p2, 0);
            if (hr == S_OK) {
                events_->FreeEventParams(code, p1, p2);
                if (code == wanted) {
                    if (param1)
                        *param1 = static_cast<long>(p1);
                    return true;
                }
                seenEvents_.push_back(code);
                continue;
            }
            const DWORD now = GetTickCount();
            if (static_cast<LONG>(until - now) <= 0)
                return false;
            WaitForSingleObject(reinterpret_cast<HANDLE>(handle), until - now);
        }
    }

    void ReleaseGraph() {
        if (control_)
            control_->Stop();
        if (grabber_)
            grabber_->SetCallback(nullptr, 0);
        control_.Reset();
        events_.Reset();
        grabber_.Reset();
        renderer_.Reset();
        grabberFilter_.Reset();
        invertFilter_.Reset();
        sourceFilter_.Reset();
        graph_.Reset();
    }

    void TearDown() override {
        ReleaseGraph();
        qeltest::ComTest::TearDown();
    }

    LONG liveBefore_ = 0;

    RecordingGrabberCallback callback_;
    std::vector<long> seenEvents_;
    ComPtr<IGraphBuilder> graph_;
    ComPtr<IMediaControl> control_;
    ComPtr<IMediaEvent> events_;
    CTestPushSource* source_ = nullptr;  // owned through sourceFilter_
    CInvertFilter* invert_ = nullptr;    // owned through invertFilter_
    ComPtr<IBaseFilter> sourceFilter_, invertFilter_, grabberFilter_, renderer_;
    ComPtr<ISampleGrabber> grabber_;
};

TEST_F(GraphTest, FramesPassInvertedWithTheirTimeStampsToCompletion) {
    SourceSettings settings;
    settings.width = 33;  // 99 bytes a row: padded to 100
    settings.height = 19;
    settings.frameCount = 12;
    Build(settings);
    ASSERT_HRESULT_SUCCEEDED(control_->Run());
    ASSERT_TRUE(WaitForEvent(EC_COMPLETE, nullptr, 10000))
        << "no EC_COMPLETE; " << seenEvents_.size() << " other events, first 0x" << std::hex
        << (seenEvents_.empty() ? 0 : seenEvents_[0]) << std::dec << "; frames " << callback_.Count();

    const std::vector<GrabbedSample> samples = callback_.Samples();
    const std::vector<REFERENCE_TIME> starts = callback_.StartTimes();
    ASSERT_EQ(samples.size(), 12u);
    for (size_t n = 0; n < samples.size(); ++n) {
        EXPECT_EQ(starts[n], static_cast<REFERENCE_TIME>(n) * settings.frameTime) << "frame " << n;
        EXPECT_EQ(samples[n].length, 100 * 19) << "frame " << n;
        ASSERT_FALSE(samples[n].head.empty());
        for (size_t i = 0; i < samples[n].head.size(); ++i)
            ASSERT_EQ(samples[n].head[i], static_cast<BYTE>(~PatternByte(static_cast<LONG>(n), i)))
                << "frame " << n << " byte " << i;
    }
    EXPECT_EQ(invert_->transformed.load(), 12);
}

TEST_F(GraphTest, StopAndRunAgainStartsTheStreamOver) {
    SourceSettings settings;
    settings.frameCount = -1;
    Build(settings);
    ASSERT_HRESULT_SUCCEEDED(control_->Run());
    ASSERT_TRUE(qeltest::PumpUntil([&] { return callback_.Count() >= 5; }, 5000));
    ASSERT_HRESULT_SUCCEEDED(control_->Stop());
    EXPECT_FALSE(source_->Stream()->ThreadExists());
    EXPECT_EQ(invert_->starts.load(), 1);
    EXPECT_EQ(invert_->stops.load(), 1);
    const size_t firstRun = callback_.Count();
    qeltest::PumpMessagesFor(50);
    EXPECT_EQ(callback_.Count(), firstRun) << "nothing arrives after Stop";

    ASSERT_HRESULT_SUCCEEDED(control_->Run());
    ASSERT_TRUE(qeltest::PumpUntil([&] { return callback_.Count() >= firstRun + 5; }, 5000));
    ASSERT_HRESULT_SUCCEEDED(control_->Stop());
    EXPECT_EQ(invert_->starts.load(), 2);
    const std::vector<REFERENCE_TIME> starts = callback_.StartTimes();
    for (size_t n = 0; n < firstRun; ++n)
        EXPECT_EQ(starts[n], static_cast<REFERENCE_TIME>(n) * settings.frameTime);
    EXPECT_EQ(starts[firstRun], 0) << "the second run starts at the first frame again";
    EXPECT_EQ(starts[firstRun + 1], settings.frameTime);
}

TEST_F(GraphTest, ATruncatedFormatBlockIsRefusedAtConnection) {
    SourceSettings settings;
    settings.truncatedFormat = true;
    Build(settings, false);
    EXPECT_TRUE(FAILED(Connect(sourceFilter_.Get(), invertFilter_.Get())));
    EXPECT_FALSE(invert_->InputPin()->IsConnected());
    EXPECT_FALSE(source_->Stream()->IsConnected());
}

TEST_F(GraphTest, AFailingSourceRaisesErrorAbortWithItsCode) {
    SourceSettings settings;
    settings.frameCount = -1;
    settings.failFrame = 4;
    settings.failAtFrame = E_OUTOFMEMORY;
    Build(settings);
    ASSERT_HRESULT_SUCCEEDED(control_->Run());
    long code = 0;
    ASSERT_TRUE(WaitForEvent(EC_ERRORABORT, &code, 10000)) << "no EC_ERRORABORT";
    EXPECT_EQ(code, E_OUTOFMEMORY);
    EXPECT_EQ(callback_.Count(), 4u);
}

TEST_F(GraphTest, AnOutputBufferTooSmallForTheFrameAbortsTheStreamUntouched) {
    SourceSettings settings;
    settings.frameCount = -1;
    Build(settings, false);
    invert_->SetOutputShortfall(256);  // well below any rounding an allocator does
    ConnectAll();
    ASSERT_HRESULT_SUCCEEDED(control_->Run());
    long code = 0;
    ASSERT_TRUE(WaitForEvent(EC_ERRORABORT, &code, 10000)) << "no EC_ERRORABORT";
    EXPECT_EQ(code, VFW_E_BUFFER_OVERFLOW);
    EXPECT_EQ(invert_->lastTransformResult.load(), VFW_E_BUFFER_OVERFLOW);
    EXPECT_EQ(callback_.Count(), 0u);
}

TEST_F(GraphTest, TheGraphSeeksThroughTheTransformToTheSource) {
    SourceSettings settings;
    settings.frameCount = 30;
    Build(settings);
    ComPtr<IMediaSeeking> seeking;
    ASSERT_HRESULT_SUCCEEDED(graph_->QueryInterface(IID_IMediaSeeking, seeking.OutVoid()));
    LONGLONG duration = 0;
    ASSERT_HRESULT_SUCCEEDED(seeking->GetDuration(&duration));
    EXPECT_EQ(duration, 30 * settings.frameTime);
}

TEST_F(GraphTest, ALiveSourcePausedInTheGraphWaitsForRun) {
    SourceSettings settings;
    settings.frameCount = -1;
    settings.live = true;
    Build(settings);
    const HRESULT paused = control_->Pause();
    EXPECT_TRUE(SUCCEEDED(paused)) << std::hex << paused;
    qeltest::PumpMessagesFor(200);
    EXPECT_EQ(callback_.Count(), 0u);
    ASSERT_HRESULT_SUCCEEDED(control_->Run());
    EXPECT_TRUE(qeltest::PumpUntil([&] { return callback_.Count() >= 3; }, 5000));
}

TEST_F(GraphTest, ReleasingTheGraphFreesOurFilters) {
    SourceSettings settings;
    settings.frameCount = 3;
    Build(settings);
    ASSERT_HRESULT_SUCCEEDED(control_->Run());
    ASSERT_TRUE(WaitForEvent(EC_COMPLETE, nullptr, 10000));
    EXPECT_GT(QelLiveObjectCount(), liveBefore_);
    ReleaseGraph();
    EXPECT_EQ(QelLiveObjectCount(), liveBefore_) << "every object of ours is gone";
}

} // namespace
} // namespace dshowtest
