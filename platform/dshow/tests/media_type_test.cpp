// Media type helpers: memory rules, comparison, and the format checks that keep a missing or
// truncated VIDEOINFOHEADER from being read.
#include "test_com.h"

#include "qeldshow/media_type.h"

#include "qeltest/com_test.h"

#include <climits>
#include <cstddef>
#include <cstring>

namespace dshowtest {
namespace {

// An IUnknown whose reference count the test can read.
class CountedUnknown : public IUnknown {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (riid == IID_IUnknown) {
            *ppv = this;
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs; }
    STDMETHODIMP_(ULONG) Release() override { return --refs; }
    ULONG refs = 1;
};

CMediaType Rgb24(LONG width, LONG height) { return MakeRgb24VideoType(width, height, 333333); }

VIDEOINFOHEADER* Info(CMediaType& type) { return reinterpret_cast<VIDEOINFOHEADER*>(type.Format()); }

TEST(MediaTypeTest, CopyIsDeepAndOwnsItsReferences) {
    CountedUnknown unknown;
    CMediaType original = Rgb24(33, 19);
    original.pUnk = &unknown;
    unknown.AddRef();  // now owned by original
    {
        CMediaType copy(original);
        EXPECT_NE(copy.Format(), original.Format());
        EXPECT_EQ(copy.FormatLength(), original.FormatLength());
        EXPECT_EQ(0, std::memcmp(copy.Format(), original.Format(), copy.FormatLength()));
        EXPECT_EQ(unknown.refs, 3u);
        EXPECT_TRUE(copy == original);
        CMediaType& self = copy;
        copy = self;  // self-assignment keeps the contents
        EXPECT_TRUE(copy == original);
        EXPECT_EQ(unknown.refs, 3u);
    }
    EXPECT_EQ(unknown.refs, 2u);
    original.Clear();
    EXPECT_EQ(unknown.refs, 1u);
    EXPECT_EQ(original.Format(), nullptr);
    EXPECT_FALSE(original.IsValid());
}

TEST(MediaTypeTest, CreateAndDeleteMediaTypeRoundTrip) {
    const CMediaType original = Rgb24(8, 8);
    AM_MEDIA_TYPE* copy = CreateMediaType(&original);
    ASSERT_NE(copy, nullptr);
    EXPECT_TRUE(MediaTypesEqual(*copy, original));
    DeleteMediaType(copy);
    DeleteMediaType(nullptr);  // harmless
    EXPECT_EQ(CopyMediaType(nullptr, &original), E_POINTER);
}

TEST(MediaTypeTest, EqualityLooksAtEveryGuidAndTheFormatBytes) {
    const CMediaType a = Rgb24(32, 24);
    CMediaType b = a;
    EXPECT_TRUE(MediaTypesEqual(a, b));
    b.SetSubtype(&MEDIASUBTYPE_RGB32);
    EXPECT_FALSE(MediaTypesEqual(a, b));
    b = a;
    b.SetFormatType(&FORMAT_VideoInfo2);
    EXPECT_FALSE(MediaTypesEqual(a, b));
    b = a;
    Info(b)->AvgTimePerFrame += 1;
    EXPECT_FALSE(MediaTypesEqual(a, b));
    b = a;
    b.SetFormat(a.Format(), a.FormatLength() - 4);
    EXPECT_FALSE(MediaTypesEqual(a, b));
    EXPECT_FALSE(MediaTypesEqual(a, Rgb24(32, -24))) << "orientation is part of the format";
}

TEST(MediaTypeTest, PartialTypesMatchOnTheFieldsTheyName) {
    const CMediaType rgb = Rgb24(16, 16);
    CMediaType pattern;
    EXPECT_TRUE(rgb.MatchesPartial(&pattern)) << "an empty pattern matches anything";
    pattern.SetType(&MEDIATYPE_Video);
    EXPECT_TRUE(rgb.MatchesPartial(&pattern));
    pattern.SetSubtype(&MEDIASUBTYPE_RGB32);
    EXPECT_FALSE(rgb.MatchesPartial(&pattern));
    pattern.SetSubtype(&MEDIASUBTYPE_RGB24);
    pattern.SetFormatType(&FORMAT_VideoInfo);
    EXPECT_TRUE(rgb.MatchesPartial(&pattern));
    EXPECT_FALSE(IsMediaTypeFullySpecified(CMediaType(MEDIATYPE_Video)));
    EXPECT_TRUE(IsMediaTypeFullySpecified(rgb));
}

TEST(MediaTypeTest, VideoInfoIsOnlyHandedOutForACompleteBlock) {
    CMediaType type = Rgb24(64, 48);
    ASSERT_NE(VideoInfoOf(type), nullptr);
    EXPECT_TRUE(IsValidUncompressedVideo(type));

    CMediaType missing = type;
    missing.AllocFormatBuffer(0);
    EXPECT_EQ(VideoInfoOf(missing), nullptr) << "no block";

    CMediaType truncated = type;
    truncated.SetFormat(type.Format(), sizeof(VIDEOINFOHEADER) - 1);
    EXPECT_EQ(VideoInfoOf(truncated), nullptr) << "block one byte short";

    CMediaType headerOnly = type;
    headerOnly.SetFormat(type.Format(), offsetof(VIDEOINFOHEADER, bmiHeader));
    EXPECT_EQ(VideoInfoOf(headerOnly), nullptr) << "block without its BITMAPINFOHEADER";

    CMediaType nullBlock = type;
    CoTaskMemFree(nullBlock.pbFormat);
    nullBlock.pbFormat = nullptr;  // cbFormat still claims a block
    EXPECT_EQ(VideoInfoOf(nullBlock), nullptr);
    nullBlock.cbFormat = 0;

    CMediaType smallHeader = type;
    Info(smallHeader)->bmiHeader.biSize = 12;
    EXPECT_EQ(VideoInfoOf(smallHeader), nullptr) << "biSize below a BITMAPINFOHEADER";

    CMediaType headerPastBlock = type;
    Info(headerPastBlock)->bmiHeader.biSize = sizeof(BITMAPINFOHEADER) + 4;
    EXPECT_EQ(VideoInfoOf(headerPastBlock), nullptr) << "biSize reaches past the block";

    CMediaType otherFormat = type;
    otherFormat.SetFormatType(&FORMAT_WaveFormatEx);
    EXPECT_EQ(VideoInfoOf(otherFormat), nullptr);

    CMediaType zeroWidth = type;
    Info(zeroWidth)->bmiHeader.biWidth = 0;
    EXPECT_NE(VideoInfoOf(zeroWidth), nullptr);
    EXPECT_FALSE(IsValidUncompressedVideo(zeroWidth));
}

TEST(MediaTypeTest, DibSizesRoundRowsAndNeverGoNegative) {
    EXPECT_EQ(DibStride(33, 24), 100u) << "99 bytes padded to a multiple of 4";
    EXPECT_EQ(DibStride(32, 24), 96u);
    EXPECT_EQ(DibStride(1, 24), 4u);
    EXPECT_EQ(DibStride(33, 32), 132u);
    EXPECT_EQ(DibStride(0, 24), 0u);
    EXPECT_EQ(DibStride(-5, 24), 0u);
    EXPECT_EQ(DibStride(10, 0), 0u);
    EXPECT_EQ(DibStride(LONG_MAX, 32), 0u) << "row larger than a LONG buffer";

    EXPECT_EQ(DibImageSize(33, 19, 24), 1900u);
    EXPECT_EQ(DibImageSize(33, -19, 24), 1900u) << "top-down counts by magnitude";
    EXPECT_EQ(DibImageSize(33, 0, 24), 0u);
    EXPECT_EQ(DibImageSize(33, LONG_MIN, 24), 0u) << "-LONG_MIN must not overflow";
    EXPECT_EQ(DibImageSize(100000, 100000, 24), 0u) << "frame larger than a LONG buffer";
}

TEST(MediaTypeTest, Rgb24TypeDescribesOneFrame) {
    CMediaType type = MakeRgb24VideoType(33, -19, 400000);
    ASSERT_TRUE(type.IsValid());
    EXPECT_EQ(*type.Type(), MEDIATYPE_Video);
    EXPECT_EQ(*type.Subtype(), MEDIASUBTYPE_RGB24);
    EXPECT_EQ(*type.FormatType(), FORMAT_VideoInfo);
    EXPECT_EQ(type.GetSampleSize(), 1900u);
    const VIDEOINFOHEADER* info = VideoInfoOf(type);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->bmiHeader.biHeight, -19);
    EXPECT_EQ(info->bmiHeader.biSizeImage, 1900u);
    EXPECT_EQ(info->AvgTimePerFrame, 400000);
    EXPECT_EQ(info->dwBitRate, 1900u * 8 * 25);
    EXPECT_FALSE(MakeRgb24VideoType(0, 10, 0).IsValid());
    EXPECT_FALSE(MakeRgb24VideoType(100000, 100000, 0).IsValid());
}

} // namespace
} // namespace dshowtest
