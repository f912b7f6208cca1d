// CSource/CSourceStream through the test source: identity, pins, types, and the streaming thread
// against the recording sink (no graph): frames, end of stream, stop and restart, live pausing.
#include "test_com.h"
#include "test_filters.h"

#include "qeltest/com_test.h"
#include "qeltest/pump.h"

namespace dshowtest {
namespace {

bool Answers(IUnknown* object, REFIID riid) {
    IUnknown* answered = nullptr;
    const HRESULT hr = object->QueryInterface(riid, reinterpret_cast<void**>(&answered));
    if (answered)
        answered->Release();
    return hr == S_OK;
}

class SourceFilterTest : public qeltest::ComTest {
protected:
    void Make(const SourceSettings& settings) {
        source_ = new CTestPushSource(settings);
        ASSERT_EQ(source_->NonDelegatingQueryInterface(IID_IBaseFilter, filter_.OutVoid()), S_OK);
        ASSERT_EQ(filter_->FindPin(L"Out", out_.Out()), S_OK);
    }
    void MakeConnected(const SourceSettings& settings, bool sinkHasAllocator = true) {
        Make(settings);
        sink_ = new CTestSink();
        sink_->SetNoAllocator(!sinkHasAllocator);
        ASSERT_EQ(sink_->NonDelegatingQueryInterface(IID_IBaseFilter, sinkFilter_.OutVoid()), S_OK);
        ASSERT_EQ(sinkFilter_->FindPin(L"In", sinkIn_.Out()), S_OK);
        ASSERT_EQ(out_->Connect(sinkIn_.Get(), nullptr), S_OK);
    }
    // Sink first, then the source: the order a graph uses.
    void PauseBoth() {
        ASSERT_EQ(sinkFilter_->Pause(), S_OK);
        ASSERT_EQ(filter_->Pause(), S_OK);
    }
    void StopBoth() {
        ASSERT_EQ(sinkFilter_->Stop(), S_OK);
        ASSERT_EQ(filter_->Stop(), S_OK);
    }
    void TearDown() override {
        if (sinkFilter_)
            sinkFilter_->Stop();
        if (filter_)
            filter_->Stop();
        if (sinkIn_) {
            out_->Disconnect();
            sinkIn_->Disconnect();
        }
        sinkIn_.Reset();
        sinkFilter_.Reset();
        out_.Reset();
        filter_.Reset();
        qeltest::ComTest::TearDown();
    }

    CTestPushSource* source_ = nullptr;  // owned through filter_
    CTestSink* sink_ = nullptr;          // owned through sinkFilter_
    ComPtr<IBaseFilter> filter_, sinkFilter_;
    ComPtr<IPin> out_, sinkIn_;
};

TEST_F(SourceFilterTest, AnswersItsInterfacesAndOffersItsFormat) {
    Make(SourceSettings());
    EXPECT_TRUE(Answers(filter_.Get(), IID_IBaseFilter));
    EXPECT_TRUE(Answers(filter_.Get(), IID_IMediaFilter));
    EXPECT_TRUE(Answers(filter_.Get(), IID_IPersist));
    EXPECT_FALSE(Answers(filter_.Get(), IID_IMediaSeeking));
    EXPECT_FALSE(Answers(filter_.Get(), IID_IAMStreamConfig));
    EXPECT_TRUE(Answers(out_.Get(), IID_IPin));
    EXPECT_FALSE(Answers(out_.Get(), IID_IMemInputPin));

    PIN_INFO info{};
    ASSERT_EQ(out_->QueryPinInfo(&info), S_OK);
    EXPECT_EQ(info.dir, PINDIR_OUTPUT);
    EXPECT_STREQ(info.achName, L"Out");
    info.pFilter->Release();

    ComPtr<IEnumMediaTypes> types;
    ASSERT_EQ(out_->EnumMediaTypes(types.Out()), S_OK);
    AM_MEDIA_TYPE* offered[2] = {};
    ULONG fetched = 0;
    EXPECT_EQ(types->Next(2, offered, &fetched), S_FALSE);
    ASSERT_EQ(fetched, 1u);
    const SourceSettings defaults;
    EXPECT_TRUE(MediaTypesEqual(*offered[0], MakeRgb24VideoType(defaults.width, defaults.height, defaults.frameTime)));
    EXPECT_EQ(out_->QueryAccept(offered[0]), S_OK);
    DeleteMediaType(offered[0]);
    ASSERT_EQ(types->Reset(), S_OK);
    EXPECT_EQ(types->Skip(1), S_OK);
    EXPECT_EQ(types->Skip(1), S_FALSE);
    types.Reset();
    EXPECT_EQ(RefCount(filter_.Get()), 2u) << "filter_ and out_";
}

TEST_F(SourceFilterTest, PinEnumeratorNoticesANewPin) {
    Make(SourceSettings());
    ComPtr<IEnumPins> pins;
    ASSERT_EQ(filter_->EnumPins(pins.Out()), S_OK);
    HRESULT hr = S_OK;
    new CTestStream(&hr, source_, SourceSettings());  // owned by the filter from here
    ASSERT_EQ(hr, S_OK);
    ComPtr<IPin> pin;
    EXPECT_EQ(pins->Next(1, pin.Out(), nullptr), VFW_E_ENUM_OUT_OF_SYNC);
    ComPtr<IEnumPins> clone;
    EXPECT_EQ(pins->Clone(clone.Out()), VFW_E_ENUM_OUT_OF_SYNC);
    ASSERT_EQ(pins->Reset(), S_OK);
    IPin* both[2] = {};
    ULONG fetched = 0;
    EXPECT_EQ(pins->Next(2, both, &fetched), S_OK);
    EXPECT_EQ(fetched, 2u);
    for (IPin* each : both)
        each->Release();
}

TEST_F(SourceFilterTest, UnconnectedSourceChangesStateWithoutAThread) {
    Make(SourceSettings());
    ASSERT_EQ(filter_->Pause(), S_OK);
    EXPECT_FALSE(source_->Stream()->ThreadExists());
    ASSERT_EQ(filter_->Run(0), S_OK);
    FILTER_STATE state;
    ASSERT_EQ(filter_->GetState(0, &state), S_OK);
    EXPECT_EQ(state, State_Running);
    ASSERT_EQ(filter_->Stop(), S_OK);
    ASSERT_EQ(filter_->GetState(0, &state), S_OK);
    EXPECT_EQ(state, State_Stopped);
}

TEST_F(SourceFilterTest, StreamsEveryFrameThenEndOfStream) {
    SourceSettings settings;
    settings.frameCount = 7;
    MakeConnected(settings);
    PauseBoth();
    ASSERT_TRUE(qeltest::PumpUntil([&] { return sink_->endOfStreams.load() == 1; }, 5000));
    const std::vector<ReceivedSample> seen = sink_->Samples();
    ASSERT_EQ(seen.size(), 7u);
    for (size_t n = 0; n < seen.size(); ++n) {
        EXPECT_EQ(seen[n].start, static_cast<REFERENCE_TIME>(n) * settings.frameTime);
        EXPECT_EQ(seen[n].stop, static_cast<REFERENCE_TIME>(n + 1) * settings.frameTime);
        EXPECT_EQ(seen[n].discontinuity, n == 0);
        ASSERT_EQ(seen[n].data.size(), DibImageSize(settings.width, settings.height, 24));
        EXPECT_EQ(seen[n].data[5], PatternByte(static_cast<LONG>(n), 5));
    }
    EXPECT_EQ(source_->Stream()->DeliveredCount(), 7);
    StopBoth();
    EXPECT_FALSE(source_->Stream()->ThreadExists());
}

TEST_F(SourceFilterTest, WithoutADownstreamAllocatorTheOutputBringsItsOwn) {
    SourceSettings settings;
    settings.frameCount = 3;
    MakeConnected(settings, false);
    IMemAllocator* ours = source_->Stream()->Allocator();
    ASSERT_NE(ours, nullptr);
    EXPECT_EQ(sink_->NotifiedAllocator(), ours) << "the sink was told of our allocator";
    ALLOCATOR_PROPERTIES props{};
    ASSERT_EQ(ours->GetProperties(&props), S_OK);
    EXPECT_GE(props.cbBuffer, static_cast<LONG>(DibImageSize(settings.width, settings.height, 24)));
    PauseBoth();
    ASSERT_TRUE(qeltest::PumpUntil([&] { return sink_->endOfStreams.load() == 1; }, 5000));
    EXPECT_EQ(sink_->Count(), 3u);
}

TEST_F(SourceFilterTest, StopsWhileTheThreadWaitsForABufferAndRestartsFromTheFirstFrame) {
    SourceSettings settings;
    settings.frameCount = -1;  // until stopped
    MakeConnected(settings);
    sink_->SetHoldSamples(true);  // every buffer stays downstream: the thread blocks in GetBuffer
    PauseBoth();
    ASSERT_TRUE(qeltest::PumpUntil([&] { return sink_->Count() >= 2; }, 5000));
    qeltest::PumpMessagesFor(50);
    EXPECT_EQ(sink_->Count(), 2u) << "two buffers, both held";
    StopBoth();  // must not hang
    EXPECT_FALSE(source_->Stream()->ThreadExists());
    sink_->ReleaseHeld();

    sink_->SetHoldSamples(false);
    PauseBoth();
    ASSERT_TRUE(qeltest::PumpUntil([&] { return sink_->Count() >= 5; }, 5000));
    StopBoth();
    const std::vector<ReceivedSample> seen = sink_->Samples();
    EXPECT_EQ(seen[2].start, 0) << "a restart begins at the first frame";
    EXPECT_TRUE(seen[2].discontinuity);
    EXPECT_EQ(sink_->endOfStreams.load(), 0);
}

TEST_F(SourceFilterTest, ALiveSourceDeliversOnlyWhileRunning) {
    SourceSettings settings;
    settings.frameCount = -1;
    settings.live = true;
    MakeConnected(settings);
    PauseBoth();
    qeltest::PumpMessagesFor(150);
    EXPECT_EQ(sink_->Count(), 0u) << "nothing while paused";
    ASSERT_EQ(sinkFilter_->Run(0), S_OK);
    ASSERT_EQ(filter_->Run(0), S_OK);
    ASSERT_TRUE(qeltest::PumpUntil([&] { return sink_->Count() >= 3; }, 5000));
    ASSERT_EQ(filter_->Pause(), S_OK);
    ASSERT_EQ(sinkFilter_->Pause(), S_OK);
    qeltest::PumpMessagesFor(50);
    const size_t paused = sink_->Count();
    qeltest::PumpMessagesFor(150);
    EXPECT_LE(sink_->Count(), paused + 1) << "at most the frame in flight after pausing";
    ASSERT_EQ(filter_->Run(0), S_OK);
    ASSERT_EQ(sinkFilter_->Run(0), S_OK);
    ASSERT_TRUE(qeltest::PumpUntil([&] { return sink_->Count() >= paused + 3; }, 5000)) << "running again";
}

TEST_F(SourceFilterTest, AStreamWaitingForAFrameThatNeverComesStillStops) {
    SourceSettings settings;
    settings.frameCount = -1;
    settings.stallAtFrame = 2;
    MakeConnected(settings);
    PauseBoth();
    ASSERT_TRUE(qeltest::PumpUntil([&] { return sink_->Count() == 2; }, 5000));
    qeltest::PumpMessagesFor(50);
    StopBoth();  // must not hang
    EXPECT_FALSE(source_->Stream()->ThreadExists());
    EXPECT_EQ(sink_->Count(), 2u);
}

TEST_F(SourceFilterTest, TopDownFramesHaveTheSameSizeAsBottomUpOnes) {
    SourceSettings settings;
    settings.width = 33;
    settings.height = -19;
    settings.frameCount = 2;
    MakeConnected(settings);
    AM_MEDIA_TYPE connected;
    ASSERT_EQ(sinkIn_->ConnectionMediaType(&connected), S_OK);
    const VIDEOINFOHEADER* info = VideoInfoOf(connected);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->bmiHeader.biHeight, -19);
    EXPECT_EQ(connected.lSampleSize, 1900u);
    FreeMediaType(connected);
    PauseBoth();
    ASSERT_TRUE(qeltest::PumpUntil([&] { return sink_->endOfStreams.load() == 1; }, 5000));
    const std::vector<ReceivedSample> seen = sink_->Samples();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].length, 1900);
}

TEST_F(SourceFilterTest, APinThatCannotStartLeavesTheWholeFilterStopped) {
    MakeConnected(SourceSettings());
    SourceSettings failing;
    failing.failActive = true;
    HRESULT hr = S_OK;
    new CTestStream(&hr, source_, failing);  // second pin, owned by the filter
    ComPtr<IPin> second;
    ComPtr<IEnumPins> pins;
    ASSERT_EQ(filter_->EnumPins(pins.Out()), S_OK);
    pins->Skip(1);
    ASSERT_EQ(pins->Next(1, second.Out(), nullptr), S_OK);
    auto* otherSink = new CTestSink();
    ComPtr<IBaseFilter> otherSinkFilter;
    ASSERT_EQ(otherSink->NonDelegatingQueryInterface(IID_IBaseFilter, otherSinkFilter.OutVoid()), S_OK);
    ComPtr<IPin> otherIn;
    ASSERT_EQ(otherSinkFilter->FindPin(L"In", otherIn.Out()), S_OK);
    ASSERT_EQ(second->Connect(otherIn.Get(), nullptr), S_OK);

    ASSERT_EQ(sinkFilter_->Pause(), S_OK);
    EXPECT_EQ(filter_->Pause(), E_FAIL);
    FILTER_STATE state;
    ASSERT_EQ(filter_->GetState(0, &state), S_OK);
    EXPECT_EQ(state, State_Stopped);
    EXPECT_FALSE(source_->Stream()->ThreadExists()) << "the first pin's thread was stopped again";
    second->Disconnect();
    otherIn->Disconnect();
}

TEST_F(SourceFilterTest, AFailingFillBufferEndsTheStream) {
    SourceSettings settings;
    settings.frameCount = -1;
    settings.failFrame = 3;
    settings.failAtFrame = E_FAIL;
    MakeConnected(settings);
    PauseBoth();
    ASSERT_TRUE(qeltest::PumpUntil([&] { return sink_->endOfStreams.load() == 1; }, 5000));
    EXPECT_EQ(sink_->Count(), 3u);
    StopBoth();
}

} // namespace
} // namespace dshowtest
