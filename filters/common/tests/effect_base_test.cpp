// The effect-filter base driven directly, with samples of our own: buffer sizes, orientation,
// sample properties, the property-page list and the range gate.
#include "effect_filter_base.h"

#include "qeltest/com_test.h"

#include <gtest/gtest.h>

#include <cstring>
#include <new>
#include <vector>

namespace {

// {6A4D1F20-3C5B-4E71-9D82-1B0E5F6A7C93}: the test effect's class ID (never registered).
const CLSID CLSID_TestEffect = {0x6a4d1f20, 0x3c5b, 0x4e71, {0x9d, 0x82, 0x1b, 0x0e, 0x5f, 0x6a, 0x7c, 0x93}};
const CLSID CLSID_TestPage = {0x6a4d1f21, 0x3c5b, 0x4e71, {0x9d, 0x82, 0x1b, 0x0e, 0x5f, 0x6a, 0x7c, 0x93}};

// Inverts every byte of a whole frame; anything else is the base's copy.
class CTestEffect : public CEffectFilterBase {
public:
    CTestEffect(SamplePropertyCopy copy, HRESULT* hr)
        : CEffectFilterBase("Test effect", nullptr, CLSID_TestEffect, &CLSID_TestPage, copy, FrameStart::kEmpty, hr) {}

protected:
    bool ProcessFrame(const BYTE* source, BYTE* target, const qel::imaging::PixelLayout&) override {
        const size_t bytes = FrameBytes();
        for (size_t i = 0; i < bytes; ++i)
            target[i] = static_cast<BYTE>(~source[i]);
        return true;
    }
    IUnknown* ParamsObject() override { return &m_params; }

private:
    CQelParamsObject<IQelFilterParams> m_params{this};
};

// A media sample over a buffer of our own, with guard bytes after the size it reports.
class TestSample : public IMediaSample {
public:
    static constexpr size_t kGuard = 64;
    explicit TestSample(long size, BYTE fill = 0) : buffer_(size + kGuard, 0xA5), size_(size) {
        std::memset(buffer_.data(), fill, size);
    }

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (riid == IID_IUnknown || riid == IID_IMediaSample) {
            *ppv = static_cast<IMediaSample*>(this);
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP GetPointer(BYTE** data) override {
        *data = buffer_.data();
        return S_OK;
    }
    STDMETHODIMP_(long) GetSize() override { return size_; }
    STDMETHODIMP GetTime(REFERENCE_TIME* start, REFERENCE_TIME* stop) override {
        if (!hasTime)
            return VFW_E_SAMPLE_TIME_NOT_SET;
        *start = this->start;
        *stop = this->stop;
        return S_OK;
    }
    STDMETHODIMP SetTime(REFERENCE_TIME* start, REFERENCE_TIME* stop) override {
        hasTime = start != nullptr;
        if (start)
            this->start = *start;
        if (stop)
            this->stop = *stop;
        return S_OK;
    }
    STDMETHODIMP IsSyncPoint() override { return syncAnswer; }
    STDMETHODIMP SetSyncPoint(BOOL on) override {
        syncAnswer = on ? S_OK : S_FALSE;
        return S_OK;
    }
    STDMETHODIMP IsPreroll() override { return prerollAnswer; }
    STDMETHODIMP SetPreroll(BOOL on) override {
        prerollAnswer = on ? S_OK : S_FALSE;
        return S_OK;
    }
    STDMETHODIMP_(long) GetActualDataLength() override { return length; }
    STDMETHODIMP SetActualDataLength(long value) override {
        if (value < 0 || value > size_)
            return VFW_E_BUFFER_OVERFLOW;
        length = value;
        return S_OK;
    }
    STDMETHODIMP GetMediaType(AM_MEDIA_TYPE** type) override {
        *type = nullptr;
        return S_FALSE;
    }
    STDMETHODIMP SetMediaType(AM_MEDIA_TYPE*) override { return S_OK; }
    STDMETHODIMP IsDiscontinuity() override { return discontinuityAnswer; }
    STDMETHODIMP SetDiscontinuity(BOOL on) override {
        discontinuityAnswer = on ? S_OK : S_FALSE;
        return S_OK;
    }
    STDMETHODIMP GetMediaTime(LONGLONG* start, LONGLONG* stop) override {
        if (!hasMediaTime)
            return VFW_E_MEDIA_TIME_NOT_SET;
        *start = mediaStart;
        *stop = mediaStop;
        return S_OK;
    }
    STDMETHODIMP SetMediaTime(LONGLONG* start, LONGLONG* stop) override {
        hasMediaTime = start != nullptr;
        if (start)
            mediaStart = *start;
        if (stop)
            mediaStop = *stop;
        return S_OK;
    }

    const BYTE* Data() const { return buffer_.data(); }
    bool GuardIntact() const {
        for (size_t i = 0; i < kGuard; ++i)
            if (buffer_[size_ + i] != 0xA5)
                return false;
        return true;
    }

    long length = 0;
    bool hasTime = false;
    REFERENCE_TIME start = 0, stop = 0;
    bool hasMediaTime = false;
    LONGLONG mediaStart = 0, mediaStop = 0;
    HRESULT syncAnswer = S_FALSE, prerollAnswer = S_FALSE, discontinuityAnswer = S_FALSE;

private:
    std::vector<BYTE> buffer_;
    long size_;
};

CMediaType Rgb24(LONG width, LONG height) { return MakeRgb24VideoType(width, height, 333333); }

class EffectBaseTest : public qeltest::ComTest {
protected:
    void Make(SamplePropertyCopy copy = SamplePropertyCopy::kAll) {
        HRESULT hr = S_OK;
        filter_ = new (std::nothrow) CTestEffect(copy, &hr);
        ASSERT_NE(filter_, nullptr);
        filter_->NonDelegatingAddRef();
        ASSERT_EQ(S_OK, hr);
    }
    void TearDown() override {
        if (filter_)
            filter_->NonDelegatingRelease();
        ComTest::TearDown();
    }
    void Connect(LONG width, LONG height) {
        const CMediaType type = Rgb24(width, height);
        ASSERT_TRUE(type.IsValid());
        ASSERT_EQ(S_OK, filter_->CheckInputType(&type));
        ASSERT_EQ(S_OK, filter_->SetMediaType(PINDIR_INPUT, &type));
    }
    IQelFilterParams* Params() {
        IQelFilterParams* params = nullptr;
        EXPECT_EQ(S_OK, filter_->NonDelegatingQueryInterface(IID_IQelFilterParams, reinterpret_cast<void**>(&params)));
        params->Release(); // the filter keeps it alive
        return params;
    }

    CTestEffect* filter_ = nullptr;
};

constexpr long kFrame = 100 * 19; // 33 x 19 RGB24: rows of 99 bytes padded to 100

} // namespace

TEST_F(EffectBaseTest, ConnectedFormatGivesStrideAndFrameSize) {
    Make();
    Connect(33, 19);
    EXPECT_EQ(filter_->FrameBytes(), static_cast<size_t>(kFrame));
}

TEST_F(EffectBaseTest, TopDownHeightCountsByItsMagnitude) {
    Make();
    Connect(33, -19);
    EXPECT_EQ(filter_->FrameBytes(), static_cast<size_t>(kFrame));
    TestSample in(kFrame, 0x10), out(kFrame);
    in.length = kFrame;
    ASSERT_EQ(S_OK, filter_->Transform(&in, &out));
    EXPECT_EQ(out.length, kFrame);
    EXPECT_EQ(out.Data()[kFrame - 1], 0xEF) << "the effect ran over the whole frame";
}

TEST_F(EffectBaseTest, OutputSmallerThanTheFrameGetsWhatFitsAndNoMore) {
    Make();
    Connect(33, 19);
    TestSample in(kFrame, 0x10), out(1000);
    in.length = kFrame;
    ASSERT_EQ(S_OK, filter_->Transform(&in, &out));
    EXPECT_EQ(out.length, 1000);
    EXPECT_EQ(out.Data()[0], 0x10) << "no effect on a frame that does not fit: a plain copy";
    EXPECT_EQ(out.Data()[999], 0x10);
    EXPECT_TRUE(out.GuardIntact());
}

TEST_F(EffectBaseTest, InputShorterThanTheFrameIsCopiedAsItIs) {
    Make();
    Connect(33, 19);
    TestSample in(kFrame, 0x22), out(kFrame, 0x77);
    in.length = 500;
    ASSERT_EQ(S_OK, filter_->Transform(&in, &out));
    EXPECT_EQ(out.length, 500);
    EXPECT_EQ(out.Data()[499], 0x22);
    EXPECT_EQ(out.Data()[500], 0x77);
}

TEST_F(EffectBaseTest, EveryPropertyIsCopiedAfterTheTransform) {
    Make();
    Connect(33, 19);
    TestSample in(kFrame), out(kFrame);
    in.length = kFrame;
    in.hasTime = true;
    in.start = 4000000;
    in.stop = 4333333;
    in.hasMediaTime = true;
    in.mediaStart = 12;
    in.mediaStop = 13;
    in.syncAnswer = S_OK;
    in.prerollAnswer = S_OK;
    in.discontinuityAnswer = S_OK;
    ASSERT_EQ(S_OK, filter_->Transform(&in, &out));
    EXPECT_TRUE(out.hasTime);
    EXPECT_EQ(out.start, 4000000);
    EXPECT_EQ(out.stop, 4333333);
    EXPECT_TRUE(out.hasMediaTime);
    EXPECT_EQ(out.mediaStart, 12);
    EXPECT_EQ(out.syncAnswer, S_OK);
    EXPECT_EQ(out.prerollAnswer, S_OK);
    EXPECT_EQ(out.discontinuityAnswer, S_OK);
}

TEST_F(EffectBaseTest, LengthOnlyFiltersCopyNothingElse) {
    Make(SamplePropertyCopy::kLengthOnly);
    Connect(33, 19);
    TestSample in(kFrame), out(kFrame);
    in.length = kFrame;
    in.hasTime = true;
    in.start = 5;
    in.syncAnswer = S_OK;
    ASSERT_EQ(S_OK, filter_->Transform(&in, &out));
    EXPECT_FALSE(out.hasTime);
    EXPECT_EQ(out.syncAnswer, S_FALSE);
    EXPECT_EQ(out.length, kFrame);
}

TEST_F(EffectBaseTest, AFlagAnswerThatIsNeitherYesNorNoFailsAfterTheTransform) {
    Make();
    Connect(33, 19);
    TestSample in(kFrame, 0x01), out(kFrame);
    in.length = kFrame;
    in.prerollAnswer = E_FAIL;
    EXPECT_EQ(E_UNEXPECTED, filter_->Transform(&in, &out));
    EXPECT_EQ(out.Data()[0], 0xFE) << "the frame was transformed before the properties";
}

TEST_F(EffectBaseTest, ASampleWithoutTimeCountsAsTimeZero) {
    Make();
    Connect(33, 19);
    IQelFilterParams* params = Params();
    TestSample in(kFrame, 0x01), out(kFrame);
    in.length = kFrame;
    ASSERT_EQ(S_OK, params->AddRange(1, 2));
    ASSERT_EQ(S_OK, filter_->Transform(&in, &out));
    EXPECT_EQ(out.Data()[0], 0x01) << "time 0 lies outside 1 s to 2 s";
    ASSERT_EQ(S_OK, params->AddRange(0, 0));
    ASSERT_EQ(S_OK, filter_->Transform(&in, &out));
    EXPECT_EQ(out.Data()[0], 0xFE);
    in.hasTime = true;
    in.start = 2 * 10000000LL + 1; // one tick after the end
    ASSERT_EQ(S_OK, filter_->Transform(&in, &out));
    EXPECT_EQ(out.Data()[0], 0x01);
}

TEST_F(EffectBaseTest, MediaTypeRulesNameTheirReasons) {
    Make();
    CMediaType rgb24 = Rgb24(33, 19);
    CMediaType rgb32 = rgb24;
    rgb32.subtype = MEDIASUBTYPE_RGB32;
    CMediaType info2 = rgb24;
    info2.formattype = FORMAT_VideoInfo2;
    CMediaType truncated = rgb24;
    truncated.cbFormat = 20;
    EXPECT_EQ(S_OK, filter_->CheckInputType(&rgb24));
    EXPECT_EQ(E_FAIL, filter_->CheckInputType(&rgb32));
    EXPECT_EQ(E_INVALIDARG, filter_->CheckInputType(&info2));
    EXPECT_EQ(E_FAIL, filter_->CheckInputType(&truncated)) << "a block too short to hold the header";
    EXPECT_EQ(S_OK, filter_->CheckTransform(&rgb24, &rgb24));
    CMediaType wider = Rgb24(35, 19);
    EXPECT_EQ(E_FAIL, filter_->CheckTransform(&rgb24, &wider));

    CMediaType offered;
    EXPECT_EQ(E_UNEXPECTED, filter_->GetMediaType(0, &offered)) << "input not connected";
}

TEST_F(EffectBaseTest, PropertyPagesListTheOnePageOrNone) {
    CAUUID pages{};
    ASSERT_EQ(S_OK, FillPropertyPages(&pages, &CLSID_TestPage));
    ASSERT_EQ(pages.cElems, 1u);
    EXPECT_EQ(pages.pElems[0], CLSID_TestPage);
    CoTaskMemFree(pages.pElems);

    ASSERT_EQ(S_OK, FillPropertyPages(&pages, nullptr));
    EXPECT_EQ(pages.cElems, 0u);
    EXPECT_EQ(pages.pElems, nullptr);

    auto failing = [](SIZE_T) -> void* { return nullptr; };
    pages.cElems = 7;
    EXPECT_EQ(E_OUTOFMEMORY, FillPropertyPages(&pages, &CLSID_TestPage, failing));
    EXPECT_EQ(pages.cElems, 0u) << "a failed call reports no pages";
    EXPECT_EQ(pages.pElems, nullptr);
    EXPECT_EQ(E_POINTER, FillPropertyPages(nullptr, &CLSID_TestPage));
}

TEST_F(EffectBaseTest, ParametersRaiseTheDirtyMark) {
    Make();
    IPersistStream* persist = nullptr;
    EXPECT_EQ(E_NOINTERFACE, filter_->NonDelegatingQueryInterface(IID_IPersistStream, reinterpret_cast<void**>(&persist)));
    EXPECT_EQ(S_FALSE, filter_->IsDirty());
    ASSERT_EQ(S_OK, Params()->SetEnable(FALSE));
    EXPECT_EQ(S_OK, filter_->IsDirty());
    int on = 1;
    ASSERT_EQ(S_OK, Params()->GetEnable(&on));
    EXPECT_EQ(on, 0);
}
