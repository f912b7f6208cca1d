// CTransformFilter through a small inverting filter: COM identity, pins, media types, state changes,
// connections, the sample path and its stream calls, and the buffer helpers.
#include "test_com.h"
#include "test_filters.h"

#include "qeldshow/mem_allocator.h"

#include "qeltest/com_test.h"

#include <cstring>

namespace dshowtest {
namespace {

// A controlling unknown that aggregates one inner object.
class TestOuter : public IUnknown {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (riid == IID_IUnknown) {
            *ppv = static_cast<IUnknown*>(this);
            AddRef();
            return S_OK;
        }
        return inner->NonDelegatingQueryInterface(riid, ppv);
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs; }
    STDMETHODIMP_(ULONG) Release() override { return --refs; }
    ULONG refs = 1;
    INonDelegatingUnknown* inner = nullptr;  // called as itself, never through an IUnknown cast
};

bool Answers(IUnknown* object, REFIID riid) {
    IUnknown* answered = nullptr;
    const HRESULT hr = object->QueryInterface(riid, reinterpret_cast<void**>(&answered));
    if (answered)
        answered->Release();
    return hr == S_OK && answered != nullptr;
}

// A sample that answers the flag queries with a code of the test's choice and otherwise forwards
// to a real sample.
class OddFlagSample : public IMediaSample {
public:
    OddFlagSample(IMediaSample* real, HRESULT syncAnswer) : real_(real), syncAnswer_(syncAnswer) {}
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override { return real_->QueryInterface(riid, ppv); }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP GetPointer(BYTE** p) override { return real_->GetPointer(p); }
    STDMETHODIMP_(LONG) GetSize() override { return real_->GetSize(); }
    STDMETHODIMP GetTime(REFERENCE_TIME* a, REFERENCE_TIME* b) override { return real_->GetTime(a, b); }
    STDMETHODIMP SetTime(REFERENCE_TIME* a, REFERENCE_TIME* b) override { return real_->SetTime(a, b); }
    STDMETHODIMP IsSyncPoint() override { return syncAnswer_; }
    STDMETHODIMP SetSyncPoint(BOOL v) override { return real_->SetSyncPoint(v); }
    STDMETHODIMP IsPreroll() override { return real_->IsPreroll(); }
    STDMETHODIMP SetPreroll(BOOL v) override { return real_->SetPreroll(v); }
    STDMETHODIMP_(LONG) GetActualDataLength() override { return real_->GetActualDataLength(); }
    STDMETHODIMP SetActualDataLength(LONG v) override { return real_->SetActualDataLength(v); }
    STDMETHODIMP GetMediaType(AM_MEDIA_TYPE** t) override { return real_->GetMediaType(t); }
    STDMETHODIMP SetMediaType(AM_MEDIA_TYPE* t) override { return real_->SetMediaType(t); }
    STDMETHODIMP IsDiscontinuity() override { return real_->IsDiscontinuity(); }
    STDMETHODIMP SetDiscontinuity(BOOL v) override { return real_->SetDiscontinuity(v); }
    STDMETHODIMP GetMediaTime(LONGLONG* a, LONGLONG* b) override { return real_->GetMediaTime(a, b); }
    STDMETHODIMP SetMediaTime(LONGLONG* a, LONGLONG* b) override { return real_->SetMediaTime(a, b); }

private:
    IMediaSample* real_;
    HRESULT syncAnswer_;
};

class TransformFilterTest : public qeltest::ComTest {
protected:
    void SetUp() override {
        qeltest::ComTest::SetUp();
        invert_ = new CInvertFilter();
        ASSERT_EQ(invert_->NonDelegatingQueryInterface(IID_IBaseFilter, filter_.OutVoid()), S_OK);
        ASSERT_EQ(filter_->FindPin(L"Input", input_.Out()), S_OK);
        ASSERT_EQ(filter_->FindPin(L"Output", output_.Out()), S_OK);
    }
    void TearDown() override {
        input_.Reset();
        output_.Reset();
        filter_.Reset();
        qeltest::ComTest::TearDown();
    }

    CInvertFilter* invert_ = nullptr;  // owned through filter_
    ComPtr<IBaseFilter> filter_;
    ComPtr<IPin> input_, output_;
};

TEST_F(TransformFilterTest, AnswersItsInterfacesAndNoOthers) {
    EXPECT_TRUE(Answers(filter_.Get(), IID_IUnknown));
    EXPECT_TRUE(Answers(filter_.Get(), IID_IBaseFilter));
    EXPECT_TRUE(Answers(filter_.Get(), IID_IMediaFilter));
    EXPECT_TRUE(Answers(filter_.Get(), IID_IPersist));
    EXPECT_FALSE(Answers(filter_.Get(), IID_IPin));
    EXPECT_FALSE(Answers(filter_.Get(), IID_IMediaSeeking));
    EXPECT_FALSE(Answers(filter_.Get(), IID_IMemInputPin));
    EXPECT_FALSE(Answers(filter_.Get(), IID_IKsPropertySet));

    EXPECT_TRUE(Answers(input_.Get(), IID_IPin));
    EXPECT_TRUE(Answers(input_.Get(), IID_IMemInputPin));
    EXPECT_FALSE(Answers(input_.Get(), IID_IMediaSeeking));
    EXPECT_FALSE(Answers(input_.Get(), IID_IBaseFilter));
    EXPECT_TRUE(Answers(output_.Get(), IID_IPin));
    EXPECT_TRUE(Answers(output_.Get(), IID_IMediaSeeking));
    EXPECT_TRUE(Answers(output_.Get(), IID_IMediaPosition));
    EXPECT_FALSE(Answers(output_.Get(), IID_IMemInputPin));

    // One identity per object, whichever interface it is asked through.
    ComPtr<IUnknown> viaPin, viaMemInput;
    ComPtr<IMemInputPin> memInput;
    ASSERT_EQ(input_->QueryInterface(IID_IMemInputPin, memInput.OutVoid()), S_OK);
    ASSERT_EQ(input_->QueryInterface(IID_IUnknown, viaPin.OutVoid()), S_OK);
    ASSERT_EQ(memInput->QueryInterface(IID_IUnknown, viaMemInput.OutVoid()), S_OK);
    EXPECT_EQ(viaPin.Get(), viaMemInput.Get());
    ComPtr<IMediaSeeking> seeking;
    ComPtr<IUnknown> seekingIdentity, outputIdentity;
    ASSERT_EQ(output_->QueryInterface(IID_IMediaSeeking, seeking.OutVoid()), S_OK);
    ASSERT_EQ(seeking->QueryInterface(IID_IUnknown, seekingIdentity.OutVoid()), S_OK);
    ASSERT_EQ(output_->QueryInterface(IID_IUnknown, outputIdentity.OutVoid()), S_OK);
    EXPECT_EQ(seekingIdentity.Get(), outputIdentity.Get());
    EXPECT_EQ(filter_->QueryInterface(IID_IBaseFilter, nullptr), E_POINTER);

    seeking.Reset();
    memInput.Reset();
    viaPin.Reset();
    viaMemInput.Reset();
    seekingIdentity.Reset();
    outputIdentity.Reset();
    EXPECT_EQ(RefCount(filter_.Get()), 3u) << "filter_ plus the two pins we hold";
}

TEST_F(TransformFilterTest, AggregatedFilterDelegatesToItsOuterUnknown) {
    TestOuter outer;
    auto* inner = new CInvertFilter(&outer);
    outer.inner = inner;
    outer.inner->NonDelegatingAddRef();  // the outer's one reference to its inner object

    ComPtr<IBaseFilter> filter;
    ASSERT_EQ(outer.QueryInterface(IID_IBaseFilter, filter.OutVoid()), S_OK);
    EXPECT_EQ(outer.refs, 2u) << "references through the inner interface count on the outer";
    ComPtr<IUnknown> identity;
    ASSERT_EQ(filter->QueryInterface(IID_IUnknown, identity.OutVoid()), S_OK);
    EXPECT_EQ(identity.Get(), static_cast<IUnknown*>(&outer));
    identity.Reset();

    ComPtr<IPin> pin;
    ASSERT_EQ(filter->FindPin(L"Output", pin.Out()), S_OK);
    EXPECT_EQ(outer.refs, 3u) << "pins count on the outer too";
    PIN_INFO info{};
    ASSERT_EQ(pin->QueryPinInfo(&info), S_OK);
    EXPECT_EQ(outer.refs, 4u);
    info.pFilter->Release();
    ComPtr<IMediaSeeking> seeking;
    ASSERT_EQ(pin->QueryInterface(IID_IMediaSeeking, seeking.OutVoid()), S_OK);
    EXPECT_EQ(outer.refs, 4u);
    seeking.Reset();
    pin.Reset();
    filter.Reset();
    EXPECT_EQ(outer.refs, 1u);

    ComPtr<IUnknown> innerIdentity;
    ASSERT_EQ(outer.inner->NonDelegatingQueryInterface(IID_IUnknown, innerIdentity.OutVoid()), S_OK);
    EXPECT_NE(innerIdentity.Get(), static_cast<IUnknown*>(&outer)) << "the inner unknown does not delegate";
    EXPECT_EQ(outer.refs, 1u);
    innerIdentity.Reset();
    const LONG liveBefore = QelLiveObjectCount();
    EXPECT_EQ(outer.inner->NonDelegatingRelease(), 0u);
    EXPECT_EQ(QelLiveObjectCount(), liveBefore - 4) << "filter, both pins and the seeking object are gone";
}

TEST_F(TransformFilterTest, PinsEnumerateInOrderAndAreFoundByName) {
    ComPtr<IEnumPins> pins;
    ASSERT_EQ(filter_->EnumPins(pins.Out()), S_OK);
    IPin* got[3] = {};
    ULONG fetched = 0;
    EXPECT_EQ(pins->Next(3, got, &fetched), S_FALSE);
    ASSERT_EQ(fetched, 2u);
    EXPECT_EQ(got[0], input_.Get());
    EXPECT_EQ(got[1], output_.Get());
    got[0]->Release();
    got[1]->Release();
    EXPECT_EQ(pins->Next(1, got, &fetched), S_FALSE);
    EXPECT_EQ(fetched, 0u);
    EXPECT_EQ(pins->Next(2, got, nullptr), E_INVALIDARG);

    EXPECT_EQ(pins->Reset(), S_OK);
    EXPECT_EQ(pins->Skip(1), S_OK);
    ComPtr<IEnumPins> clone;
    ASSERT_EQ(pins->Clone(clone.Out()), S_OK);
    ComPtr<IPin> next;
    ASSERT_EQ(clone->Next(1, next.Out(), nullptr), S_OK);
    EXPECT_EQ(next.Get(), output_.Get());
    EXPECT_EQ(pins->Skip(5), S_FALSE);

    ComPtr<IPin> found;
    EXPECT_EQ(filter_->FindPin(L"input", found.Out()), VFW_E_NOT_FOUND) << "ids are exact";
    EXPECT_EQ(found.Get(), nullptr);
    EXPECT_EQ(filter_->FindPin(L"Out", found.Out()), VFW_E_NOT_FOUND);
    EXPECT_EQ(filter_->FindPin(nullptr, found.Out()), E_POINTER);

    next.Reset();
    clone.Reset();
    pins.Reset();
    EXPECT_EQ(RefCount(filter_.Get()), 3u);
}

TEST_F(TransformFilterTest, PinInfoNamesDirectionAndOwner) {
    PIN_INFO info{};
    ASSERT_EQ(input_->QueryPinInfo(&info), S_OK);
    EXPECT_STREQ(info.achName, L"Input");
    EXPECT_EQ(info.dir, PINDIR_INPUT);
    EXPECT_EQ(info.pFilter, filter_.Get());
    info.pFilter->Release();
    ASSERT_EQ(output_->QueryPinInfo(&info), S_OK);
    EXPECT_STREQ(info.achName, L"Output");
    EXPECT_EQ(info.dir, PINDIR_OUTPUT);
    info.pFilter->Release();

    PIN_DIRECTION direction;
    EXPECT_EQ(output_->QueryDirection(&direction), S_OK);
    EXPECT_EQ(direction, PINDIR_OUTPUT);
    LPWSTR id = nullptr;
    ASSERT_EQ(input_->QueryId(&id), S_OK);
    EXPECT_STREQ(id, L"Input");
    CoTaskMemFree(id);
    EXPECT_EQ(input_->QueryPinInfo(nullptr), E_POINTER);
    EXPECT_EQ(RefCount(filter_.Get()), 3u);
}

TEST_F(TransformFilterTest, UnconnectedPinsOfferNoTypesAndCheckWhatTheyAreOffered) {
    ComPtr<IEnumMediaTypes> types;
    AM_MEDIA_TYPE* type = nullptr;
    ULONG fetched = 0;
    ASSERT_EQ(input_->EnumMediaTypes(types.Out()), S_OK);
    EXPECT_EQ(types->Next(1, &type, &fetched), S_FALSE);
    ASSERT_EQ(output_->EnumMediaTypes(types.Out()), S_OK);
    EXPECT_EQ(types->Next(1, &type, &fetched), S_FALSE) << "no output type before the input is connected";
    EXPECT_EQ(fetched, 0u);

    CMediaType rgb24 = MakeRgb24VideoType(33, 19, 0);
    EXPECT_EQ(input_->QueryAccept(&rgb24), S_OK);
    CMediaType topDown = MakeRgb24VideoType(33, -19, 0);
    EXPECT_EQ(input_->QueryAccept(&topDown), S_OK);
    CMediaType rgb32 = rgb24;
    rgb32.SetSubtype(&MEDIASUBTYPE_RGB32);
    EXPECT_EQ(input_->QueryAccept(&rgb32), S_FALSE);
    CMediaType truncated = rgb24;
    truncated.SetFormat(rgb24.Format(), sizeof(VIDEOINFOHEADER) - 4);
    EXPECT_EQ(input_->QueryAccept(&truncated), S_FALSE);
    CMediaType missing = rgb24;
    missing.AllocFormatBuffer(0);
    EXPECT_EQ(input_->QueryAccept(&missing), S_FALSE);
    EXPECT_EQ(output_->QueryAccept(&rgb24), S_FALSE) << "nothing to transform from yet";

    AM_MEDIA_TYPE connected;
    EXPECT_EQ(input_->ConnectionMediaType(&connected), VFW_E_NOT_CONNECTED);
    ComPtr<IPin> peer;
    EXPECT_EQ(input_->ConnectedTo(peer.Out()), VFW_E_NOT_CONNECTED);
    EXPECT_EQ(peer.Get(), nullptr);
    EXPECT_EQ(input_->Disconnect(), S_FALSE);
}

TEST_F(TransformFilterTest, UnconnectedFilterChangesStateAndKeepsItsClock) {
    FILTER_STATE state;
    ASSERT_EQ(filter_->GetState(0, &state), S_OK);
    EXPECT_EQ(state, State_Stopped);
    EXPECT_EQ(filter_->Pause(), S_OK);
    filter_->GetState(0, &state);
    EXPECT_EQ(state, State_Paused);
    EXPECT_EQ(invert_->starts.load(), 1);
    EXPECT_EQ(filter_->Run(0), S_OK);
    filter_->GetState(0, &state);
    EXPECT_EQ(state, State_Running);
    EXPECT_EQ(filter_->Pause(), S_OK);
    EXPECT_EQ(filter_->Stop(), S_OK);
    filter_->GetState(0, &state);
    EXPECT_EQ(state, State_Stopped);
    EXPECT_EQ(invert_->stops.load(), 1);
    EXPECT_EQ(filter_->Stop(), S_OK);
    EXPECT_EQ(invert_->stops.load(), 1) << "stopping a stopped filter does nothing";
    EXPECT_EQ(filter_->Run(0), S_OK) << "run straight from stopped";
    EXPECT_EQ(invert_->starts.load(), 2);
    EXPECT_EQ(filter_->Stop(), S_OK);

    ComPtr<IReferenceClock> clock, got;
    ASSERT_EQ(CoCreateInstance(CLSID_SystemClock, nullptr, CLSCTX_INPROC_SERVER, IID_IReferenceClock,
                               clock.OutVoid()),
              S_OK);
    REFERENCE_TIME now = 0;
    EXPECT_EQ(invert_->StreamTime(now), VFW_E_NO_CLOCK);
    const ULONG before = RefCount(clock.Get());
    ASSERT_EQ(filter_->SetSyncSource(clock.Get()), S_OK);
    EXPECT_EQ(RefCount(clock.Get()), before + 1);
    ASSERT_EQ(filter_->GetSyncSource(got.Out()), S_OK);
    EXPECT_EQ(got.Get(), clock.Get());
    got.Reset();
    EXPECT_EQ(invert_->StreamTime(now), S_OK);
    ASSERT_EQ(filter_->SetSyncSource(nullptr), S_OK);
    EXPECT_EQ(RefCount(clock.Get()), before);
    ASSERT_EQ(filter_->GetSyncSource(got.Out()), S_OK);
    EXPECT_EQ(got.Get(), nullptr);

    CLSID clsid;
    ASSERT_EQ(filter_->GetClassID(&clsid), S_OK);
    EXPECT_EQ(clsid, CLSID_TestInvert);
    ASSERT_EQ(filter_->JoinFilterGraph(nullptr, L"Invert me"), S_OK);
    FILTER_INFO info{};
    ASSERT_EQ(filter_->QueryFilterInfo(&info), S_OK);
    EXPECT_STREQ(info.achName, L"Invert me");
    EXPECT_EQ(info.pGraph, nullptr);
    EXPECT_EQ(invert_->NotifyEvent(EC_COMPLETE, S_OK, 0), E_NOTIMPL) << "no graph to tell";
}

// source -> invert -> sink, connected without a graph.
class TransformChainTest : public TransformFilterTest {
protected:
    void MakeChain(const SourceSettings& settings) {
        source_ = new CTestPushSource(settings);
        ASSERT_EQ(source_->NonDelegatingQueryInterface(IID_IBaseFilter, sourceFilter_.OutVoid()), S_OK);
        ASSERT_EQ(sourceFilter_->FindPin(L"Out", sourceOut_.Out()), S_OK);
        sink_ = new CTestSink();
        ASSERT_EQ(sink_->NonDelegatingQueryInterface(IID_IBaseFilter, sinkFilter_.OutVoid()), S_OK);
        ASSERT_EQ(sinkFilter_->FindPin(L"In", sinkIn_.Out()), S_OK);
    }
    void ConnectChain() {
        ASSERT_EQ(sourceOut_->Connect(input_.Get(), nullptr), S_OK);
        ASSERT_EQ(output_->Connect(sinkIn_.Get(), nullptr), S_OK);
    }
    void TearDown() override {
        if (filter_)
            filter_->Stop();
        if (sinkFilter_)
            sinkFilter_->Stop();
        if (sourceFilter_)
            sourceFilter_->Stop();
        if (sourceOut_) {
            sourceOut_->Disconnect();
            input_->Disconnect();
            output_->Disconnect();
            sinkIn_->Disconnect();
        }
        sourceOut_.Reset();
        sinkIn_.Reset();
        sourceFilter_.Reset();
        sinkFilter_.Reset();
        TransformFilterTest::TearDown();
    }

    CTestPushSource* source_ = nullptr;
    CTestSink* sink_ = nullptr;
    ComPtr<IBaseFilter> sourceFilter_, sinkFilter_;
    ComPtr<IPin> sourceOut_, sinkIn_;
};

TEST_F(TransformChainTest, ConnectionAgreesOnTheSourceTypeAndPassesItOn) {
    SourceSettings settings;
    MakeChain(settings);
    ConnectChain();
    ComPtr<IPin> peer;
    ASSERT_EQ(input_->ConnectedTo(peer.Out()), S_OK);
    EXPECT_EQ(peer.Get(), sourceOut_.Get());
    CMediaType expected = MakeRgb24VideoType(settings.width, settings.height, settings.frameTime);
    AM_MEDIA_TYPE connected;
    ASSERT_EQ(output_->ConnectionMediaType(&connected), S_OK);
    EXPECT_TRUE(MediaTypesEqual(connected, expected));
    FreeMediaType(connected);

    ComPtr<IEnumMediaTypes> types;
    ASSERT_EQ(output_->EnumMediaTypes(types.Out()), S_OK);
    AM_MEDIA_TYPE* offered = nullptr;
    ASSERT_EQ(types->Next(1, &offered, nullptr), S_OK);
    EXPECT_TRUE(MediaTypesEqual(*offered, expected));
    DeleteMediaType(offered);

    EXPECT_EQ(sourceOut_->Connect(input_.Get(), nullptr), VFW_E_ALREADY_CONNECTED);
    ASSERT_EQ(filter_->Pause(), S_OK);
    EXPECT_EQ(input_->Disconnect(), VFW_E_NOT_STOPPED);
    ASSERT_EQ(filter_->Stop(), S_OK);
    EXPECT_EQ(output_->Disconnect(), S_OK);
    EXPECT_EQ(sinkIn_->Disconnect(), S_OK);
    EXPECT_EQ(output_->Disconnect(), S_FALSE);
}

// A downstream pin may offer a pool another link has already sized (Wine's sample grabber hands on
// the Smart Tee's input pool, which the camera draws from too): resizing it to our one buffer starved
// the camera. Such a pool is left as it was and ours is used, unless the downstream pin takes no other.
TEST_F(TransformChainTest, APoolAnotherLinkHasSizedIsLeftAloneUnlessTheSinkTakesNoOther) {
    SourceSettings settings;
    MakeChain(settings);
    ComPtr<IMemAllocator> shared;
    ASSERT_EQ(CMemAllocator::Create(shared.Out()), S_OK);
    ALLOCATOR_PROPERTIES sized{3, 4096, 1, 0}, granted{};
    ASSERT_EQ(shared->SetProperties(&sized, &granted), S_OK);

    sink_->SetOfferedAllocator(shared.Get(), false);
    ConnectChain();
    EXPECT_NE(sink_->NotifiedAllocator(), shared.Get());
    EXPECT_EQ(sink_->NotifiedAllocator(), invert_->OutputPin()->Allocator());
    ALLOCATOR_PROPERTIES after{};
    ASSERT_EQ(shared->GetProperties(&after), S_OK);
    EXPECT_EQ(after.cBuffers, 3);
    EXPECT_EQ(after.cbBuffer, 4096);

    ASSERT_EQ(output_->Disconnect(), S_OK);
    ASSERT_EQ(sinkIn_->Disconnect(), S_OK);
    sink_->SetOfferedAllocator(shared.Get(), true);
    ASSERT_EQ(output_->Connect(sinkIn_.Get(), nullptr), S_OK) << "the sized pool is the last resort";
    EXPECT_EQ(sink_->NotifiedAllocator(), shared.Get());
    EXPECT_EQ(invert_->OutputPin()->Allocator(), shared.Get());
}

// An offered pool that nobody has sized yet is the downstream pin's own: it is taken as before.
TEST_F(TransformChainTest, AnUnsizedOfferedPoolIsTaken) {
    SourceSettings settings;
    MakeChain(settings);
    ComPtr<IMemAllocator> fresh;
    ASSERT_EQ(CMemAllocator::Create(fresh.Out()), S_OK);
    sink_->SetOfferedAllocator(fresh.Get(), false);
    ConnectChain();
    EXPECT_EQ(sink_->NotifiedAllocator(), fresh.Get());
    ALLOCATOR_PROPERTIES after{};
    ASSERT_EQ(fresh->GetProperties(&after), S_OK);
    EXPECT_GE(after.cBuffers, 1);
}

TEST_F(TransformChainTest, RefusedTypesLeaveBothPinsUnconnected) {
    SourceSettings settings;
    settings.truncatedFormat = true;
    MakeChain(settings);
    EXPECT_TRUE(FAILED(sourceOut_->Connect(input_.Get(), nullptr))) << "truncated format block";
    ComPtr<IPin> peer;
    EXPECT_EQ(input_->ConnectedTo(peer.Out()), VFW_E_NOT_CONNECTED);
    EXPECT_EQ(sourceOut_->ConnectedTo(peer.Out()), VFW_E_NOT_CONNECTED);

    CMediaType rgb32 = MakeRgb24VideoType(32, 24, 0);
    rgb32.SetSubtype(&MEDIASUBTYPE_RGB32);
    EXPECT_TRUE(FAILED(sourceOut_->Connect(input_.Get(), &rgb32)));
    EXPECT_EQ(input_->ConnectedTo(peer.Out()), VFW_E_NOT_CONNECTED);
    EXPECT_TRUE(FAILED(output_->Connect(sinkIn_.Get(), nullptr))) << "output before input";
    EXPECT_EQ(sinkIn_->ConnectedTo(peer.Out()), VFW_E_NOT_CONNECTED);
}

// The sample path, driven by hand: the transform and the sink run, the source stays stopped and
// the test hands samples of its own allocator to the transform's input.
class TransformStreamingTest : public TransformChainTest {
protected:
    void SetUp() override {
        TransformChainTest::SetUp();
        settings_.width = 33;
        settings_.height = 19;
        MakeChain(settings_);
        ASSERT_EQ(input_->QueryInterface(IID_IMemInputPin, memInput_.OutVoid()), S_OK);
        ASSERT_EQ(CMemAllocator::Create(allocator_.Out()), S_OK);
        ALLOCATOR_PROPERTIES request{4, static_cast<LONG>(kFrameBytes), 1, 0}, actual{};
        ASSERT_EQ(allocator_->SetProperties(&request, &actual), S_OK);
        ASSERT_EQ(allocator_->Commit(), S_OK);
    }
    void TearDown() override {
        if (allocator_)
            allocator_->Decommit();
        allocator_.Reset();
        memInput_.Reset();
        TransformChainTest::TearDown();
    }
    void Start() {
        ConnectChain();
        ASSERT_EQ(sinkFilter_->Pause(), S_OK);
        ASSERT_EQ(filter_->Pause(), S_OK);
    }
    // A full frame with pattern n, times n*100..n*100+100, media times n..n+1, sync point.
    void MakeSample(LONG n, IMediaSample** out) {
        ASSERT_EQ(allocator_->GetBuffer(out, nullptr, nullptr, 0), S_OK);
        BYTE* data = nullptr;
        (*out)->GetPointer(&data);
        for (size_t i = 0; i < kFrameBytes; ++i)
            data[i] = PatternByte(n, i);
        (*out)->SetActualDataLength(static_cast<LONG>(kFrameBytes));
        REFERENCE_TIME start = n * 100, stop = n * 100 + 100;
        (*out)->SetTime(&start, &stop);
        LONGLONG mediaStart = n, mediaStop = n + 1;
        (*out)->SetMediaTime(&mediaStart, &mediaStop);
        (*out)->SetSyncPoint(TRUE);
    }
    HRESULT Push(LONG n) {
        ComPtr<IMediaSample> sample;
        MakeSample(n, sample.Out());
        return memInput_->Receive(sample.Get());
    }

    static constexpr size_t kFrameBytes = 100 * 19;
    SourceSettings settings_;
    ComPtr<IMemInputPin> memInput_;
    ComPtr<IMemAllocator> allocator_;
};

TEST_F(TransformStreamingTest, ReceiveIsRefusedWhileStopped) {
    ConnectChain();
    EXPECT_EQ(Push(0), VFW_E_WRONG_STATE);
    EXPECT_EQ(sink_->Count(), 0u);
    EXPECT_EQ(invert_->transformed.load(), 0);
}

TEST_F(TransformStreamingTest, OutputSampleCarriesTheInputPropertiesAndTheTransformedData) {
    Start();
    ComPtr<IMediaSample> sample;
    MakeSample(3, sample.Out());
    sample->SetPreroll(TRUE);
    sample->SetDiscontinuity(TRUE);
    ASSERT_EQ(memInput_->Receive(sample.Get()), S_OK);
    MakeSample(4, sample.Out());
    REFERENCE_TIME start = 777;
    sample->SetTime(&start, nullptr);
    sample->SetSyncPoint(FALSE);
    ASSERT_EQ(memInput_->Receive(sample.Get()), S_OK);

    const std::vector<ReceivedSample> seen = sink_->Samples();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].timeResult, S_OK);
    EXPECT_EQ(seen[0].start, 300);
    EXPECT_EQ(seen[0].stop, 400);
    EXPECT_EQ(seen[0].mediaTimeResult, S_OK);
    EXPECT_EQ(seen[0].mediaStart, 3);
    EXPECT_EQ(seen[0].mediaStop, 4);
    EXPECT_TRUE(seen[0].sync);
    EXPECT_TRUE(seen[0].preroll);
    EXPECT_TRUE(seen[0].discontinuity);
    EXPECT_FALSE(seen[0].hasMediaType);
    ASSERT_EQ(seen[0].data.size(), kFrameBytes);
    for (size_t i = 0; i < kFrameBytes; ++i)
        ASSERT_EQ(seen[0].data[i], static_cast<BYTE>(~PatternByte(3, i))) << "byte " << i;

    EXPECT_EQ(seen[1].timeResult, VFW_S_NO_STOP_TIME);
    EXPECT_EQ(seen[1].start, 777);
    EXPECT_FALSE(seen[1].sync);
    EXPECT_FALSE(seen[1].preroll);
    EXPECT_FALSE(seen[1].discontinuity);
}

TEST_F(TransformStreamingTest, FlushEndOfStreamAndNewSegmentArePassedOn) {
    Start();
    ASSERT_EQ(Push(0), S_OK);
    ASSERT_EQ(input_->NewSegment(1000, 5000, 2.0), S_OK);
    EXPECT_EQ(sink_->newSegments.load(), 1);
    EXPECT_EQ(sink_->segmentStart, 1000);
    EXPECT_EQ(sink_->segmentStop, 5000);
    EXPECT_EQ(sink_->segmentRate, 2.0);

    ASSERT_EQ(input_->BeginFlush(), S_OK);
    EXPECT_EQ(sink_->beginFlushes.load(), 1);
    EXPECT_EQ(Push(1), S_FALSE) << "refused while flushing";
    ASSERT_EQ(input_->EndFlush(), S_OK);
    EXPECT_EQ(sink_->endFlushes.load(), 1);
    EXPECT_EQ(Push(2), S_OK);

    ASSERT_EQ(input_->EndOfStream(), S_OK);
    EXPECT_EQ(sink_->endOfStreams.load(), 1);
    EXPECT_EQ(Push(3), S_FALSE) << "refused after end of stream";
    EXPECT_EQ(sink_->Count(), 2u);

    // A new run clears the end of stream.
    ASSERT_EQ(filter_->Stop(), S_OK);
    ASSERT_EQ(sinkFilter_->Stop(), S_OK);
    ASSERT_EQ(sinkFilter_->Pause(), S_OK);
    ASSERT_EQ(filter_->Pause(), S_OK);
    EXPECT_EQ(Push(4), S_OK);
    EXPECT_EQ(sink_->Count(), 3u);
}

TEST_F(TransformStreamingTest, ReceiveMultipleAndCanBlockGoThrough) {
    Start();
    ComPtr<IMediaSample> a, b, c;
    MakeSample(0, a.Out());
    MakeSample(1, b.Out());
    MakeSample(2, c.Out());
    IMediaSample* samples[] = {a.Get(), b.Get(), c.Get()};
    LONG processed = 0;
    EXPECT_EQ(memInput_->ReceiveMultiple(samples, 3, &processed), S_OK);
    EXPECT_EQ(processed, 3);
    EXPECT_EQ(sink_->Count(), 3u);
    EXPECT_EQ(memInput_->ReceiveCanBlock(), S_OK) << "the sink may block, so may we";
}

TEST_F(TransformStreamingTest, ADroppedSampleMarksTheNextOneAsDiscontinuity) {
    invert_->SetDropEveryOther(true);
    Start();
    for (LONG n = 0; n < 4; ++n)
        ASSERT_EQ(Push(n), S_OK);
    const std::vector<ReceivedSample> seen = sink_->Samples();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].start, 0);
    EXPECT_FALSE(seen[0].discontinuity);
    EXPECT_EQ(seen[1].start, 200);
    EXPECT_TRUE(seen[1].discontinuity);
}

TEST_F(TransformStreamingTest, AnOutputBufferSmallerThanTheFrameIsRefusedNotOverrun) {
    invert_->SetOutputShortfall(1);
    Start();
    EXPECT_EQ(Push(0), VFW_E_BUFFER_OVERFLOW);
    EXPECT_EQ(invert_->lastTransformResult.load(), VFW_E_BUFFER_OVERFLOW);
    EXPECT_EQ(sink_->Count(), 0u);
    EXPECT_EQ(Push(1), VFW_E_RUNTIME_ERROR) << "the stream stays failed until it stops";
}

TEST_F(TransformStreamingTest, ASampleWithATruncatedNewFormatIsRefused) {
    Start();
    ComPtr<IMediaSample> sample;
    MakeSample(0, sample.Out());
    CMediaType truncated = MakeRgb24VideoType(33, 19, 0);
    const CMediaType full = truncated;
    truncated.SetFormat(full.Format(), sizeof(VIDEOINFOHEADER) - 8);
    ASSERT_EQ(sample->SetMediaType(&truncated), S_OK);
    EXPECT_EQ(memInput_->Receive(sample.Get()), VFW_E_INVALIDMEDIATYPE);
    EXPECT_EQ(sink_->Count(), 0u);
    AM_MEDIA_TYPE connected;
    ASSERT_EQ(input_->ConnectionMediaType(&connected), S_OK);
    EXPECT_TRUE(MediaTypesEqual(connected, MakeRgb24VideoType(33, 19, settings_.frameTime)));
    FreeMediaType(connected);
}

TEST_F(TransformStreamingTest, SeekingOnTheOutputIsAnsweredUpstream) {
    ComPtr<IMediaSeeking> seeking;
    ComPtr<IMediaPosition> position;
    ASSERT_EQ(output_->QueryInterface(IID_IMediaSeeking, seeking.OutVoid()), S_OK);
    ASSERT_EQ(output_->QueryInterface(IID_IMediaPosition, position.OutVoid()), S_OK);
    LONGLONG duration = 0;
    EXPECT_EQ(seeking->GetDuration(&duration), VFW_E_NOT_CONNECTED);
    ConnectChain();
    ASSERT_EQ(seeking->GetDuration(&duration), S_OK);
    EXPECT_EQ(duration, settings_.frameCount * settings_.frameTime);
    ASSERT_EQ(seeking->SetRate(2.5), S_OK);
    ComPtr<IMediaSeeking> upstream;
    ASSERT_EQ(sourceOut_->QueryInterface(IID_IMediaSeeking, upstream.OutVoid()), S_OK);
    double rate = 0;
    ASSERT_EQ(upstream->GetRate(&rate), S_OK);
    EXPECT_EQ(rate, 2.5);
    REFTIME length = 0;
    EXPECT_EQ(position->get_Duration(&length), E_NOTIMPL) << "the source has no IMediaPosition";
    UINT typeInfos = 1;
    EXPECT_EQ(position->GetTypeInfoCount(&typeInfos), S_OK);
    EXPECT_EQ(typeInfos, 0u);
}

TEST_F(TransformStreamingTest, BufferHelpersNeverReadOrWritePastABuffer) {
    ComPtr<IMemAllocator> small;
    ASSERT_EQ(CMemAllocator::Create(small.Out()), S_OK);
    ALLOCATOR_PROPERTIES request{1, static_cast<LONG>(kFrameBytes) - 1, 1, 0}, actual{};
    ASSERT_EQ(small->SetProperties(&request, &actual), S_OK);
    ASSERT_EQ(small->Commit(), S_OK);
    ComPtr<IMediaSample> in, out;
    MakeSample(1, in.Out());
    ASSERT_EQ(small->GetBuffer(out.Out(), nullptr, nullptr, 0), S_OK);
    BYTE* target = nullptr;
    out->GetPointer(&target);
    std::memset(target, 0xEE, kFrameBytes - 1);
    out->SetActualDataLength(7);

    EXPECT_EQ(CTransformFilter::CopySampleData(in.Get(), out.Get()), VFW_E_BUFFER_OVERFLOW);
    EXPECT_EQ(target[0], 0xEE) << "nothing written";
    EXPECT_EQ(out->GetActualDataLength(), 7);

    in->SetActualDataLength(static_cast<LONG>(kFrameBytes) - 1);
    ASSERT_EQ(CTransformFilter::CopySampleData(in.Get(), out.Get()), S_OK);
    EXPECT_EQ(out->GetActualDataLength(), static_cast<LONG>(kFrameBytes) - 1);
    EXPECT_EQ(target[kFrameBytes - 2], PatternByte(1, kFrameBytes - 2));

    const BYTE* from = nullptr;
    BYTE* to = nullptr;
    EXPECT_EQ(CTransformFilter::LockFrameBuffers(in.Get(), out.Get(), kFrameBytes, &from, &to),
              VFW_E_BUFFER_OVERFLOW)
        << "more than the input holds";
    EXPECT_EQ(from, nullptr);
    EXPECT_EQ(to, nullptr);
    in->SetActualDataLength(static_cast<LONG>(kFrameBytes));
    EXPECT_EQ(CTransformFilter::LockFrameBuffers(in.Get(), out.Get(), kFrameBytes, &from, &to),
              VFW_E_BUFFER_OVERFLOW)
        << "more than the output takes";
    ASSERT_EQ(CTransformFilter::LockFrameBuffers(in.Get(), out.Get(), 10, &from, &to), S_OK);
    EXPECT_NE(from, nullptr);
    EXPECT_EQ(to, target);
    EXPECT_EQ(out->GetActualDataLength(), 10);
    out.Reset();
    small->Decommit();
}

TEST_F(TransformStreamingTest, SamplePropertiesCopyEverythingAndRefuseAnOddFlagAnswer) {
    ComPtr<IMediaSample> in, out;
    MakeSample(2, in.Out());
    in->SetPreroll(TRUE);
    CMediaType changed = MakeRgb24VideoType(33, -19, 0);
    ASSERT_EQ(in->SetMediaType(&changed), S_OK);
    ASSERT_EQ(allocator_->GetBuffer(out.Out(), nullptr, nullptr, 0), S_OK);
    ASSERT_EQ(CTransformFilter::CopySampleProperties(in.Get(), out.Get()), S_OK);
    REFERENCE_TIME start = 0, stop = 0;
    EXPECT_EQ(out->GetTime(&start, &stop), S_OK);
    EXPECT_EQ(start, 200);
    EXPECT_EQ(stop, 300);
    LONGLONG mediaStart = 0, mediaStop = 0;
    EXPECT_EQ(out->GetMediaTime(&mediaStart, &mediaStop), S_OK);
    EXPECT_EQ(mediaStart, 2);
    EXPECT_EQ(out->IsSyncPoint(), S_OK);
    EXPECT_EQ(out->IsPreroll(), S_OK);
    EXPECT_EQ(out->IsDiscontinuity(), S_FALSE);
    AM_MEDIA_TYPE* type = nullptr;
    ASSERT_EQ(out->GetMediaType(&type), S_OK);
    EXPECT_TRUE(MediaTypesEqual(*type, changed));
    DeleteMediaType(type);

    OddFlagSample odd(in.Get(), E_FAIL);
    EXPECT_EQ(CTransformFilter::CopySampleProperties(&odd, out.Get()), E_UNEXPECTED);
    OddFlagSample plainFalse(in.Get(), S_FALSE);
    EXPECT_EQ(CTransformFilter::CopySampleProperties(&plainFalse, out.Get()), S_OK);
    EXPECT_EQ(out->IsSyncPoint(), S_FALSE);
}

} // namespace
} // namespace dshowtest
