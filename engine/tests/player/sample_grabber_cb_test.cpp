// The grabber callback's BMP files, its COM identity without reference counting, and its two graphs.
#include <windows.h>
#include <dshow.h>

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

#include "SampleGrabberCB.h"
#include "bmp_file.h"
#include "player_fixture.h"
#include "qeltest/message_box_hook.h"

namespace {

using playertest::ClipSpec;
using playertest::CompareBmpWithClipFrame;

uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

// A media sample whose buffer is larger than the data it holds.
class FakeSample : public IMediaSample {
public:
    FakeSample(BYTE* data, long size, long actual) : data_(data), size_(size), actual_(actual) {}
    STDMETHODIMP QueryInterface(REFIID, void** object) override {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 1; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP GetPointer(BYTE** buffer) override {
        *buffer = data_;
        return S_OK;
    }
    STDMETHODIMP_(long) GetSize() override { return size_; }
    STDMETHODIMP GetTime(REFERENCE_TIME*, REFERENCE_TIME*) override { return VFW_E_SAMPLE_TIME_NOT_SET; }
    STDMETHODIMP SetTime(REFERENCE_TIME*, REFERENCE_TIME*) override { return E_NOTIMPL; }
    STDMETHODIMP IsSyncPoint() override { return S_OK; }
    STDMETHODIMP SetSyncPoint(BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP IsPreroll() override { return S_FALSE; }
    STDMETHODIMP SetPreroll(BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP_(long) GetActualDataLength() override { return actual_; }
    STDMETHODIMP SetActualDataLength(long) override { return E_NOTIMPL; }
    STDMETHODIMP GetMediaType(AM_MEDIA_TYPE**) override { return S_FALSE; }
    STDMETHODIMP SetMediaType(AM_MEDIA_TYPE*) override { return E_NOTIMPL; }
    STDMETHODIMP IsDiscontinuity() override { return S_FALSE; }
    STDMETHODIMP SetDiscontinuity(BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP GetMediaTime(LONGLONG*, LONGLONG*) override { return VFW_E_MEDIA_TIME_NOT_SET; }
    STDMETHODIMP SetMediaTime(LONGLONG*, LONGLONG*) override { return E_NOTIMPL; }

private:
    BYTE* data_;
    long size_;
    long actual_;
};

class SampleGrabberCBTest : public playertest::PlayerTest {
protected:
    void Target(CSampleGrabberCB& callback, const std::string& name) {
        target_ = folder_.File(name);
        ASSERT_LT(target_.size(), sizeof callback.m_szFileName);
        std::strcpy(callback.m_szFileName, target_.c_str());
    }
    std::string target_;
};

TEST_F(SampleGrabberCBTest, AnswersItsTwoInterfacesWithoutCountingReferences) {
    CSampleGrabberCB callback;
    void* object = nullptr;
    EXPECT_EQ(S_OK, callback.QueryInterface(IID_ISampleGrabberCB, &object));
    EXPECT_EQ(static_cast<ISampleGrabberCB*>(&callback), object);
    EXPECT_EQ(S_OK, callback.QueryInterface(IID_IUnknown, &object));
    EXPECT_EQ(static_cast<ISampleGrabberCB*>(&callback), object);
    EXPECT_EQ(E_NOINTERFACE, callback.QueryInterface(IID_IBaseFilter, &object));
    EXPECT_EQ(nullptr, object);
    EXPECT_EQ(E_POINTER, callback.QueryInterface(IID_IUnknown, nullptr));
    EXPECT_EQ(2u, callback.AddRef());
    EXPECT_EQ(1u, callback.Release());
    EXPECT_EQ(1u, callback.Release());
}

TEST_F(SampleGrabberCBTest, BufferCallbackWritesTheHeaderLayoutAndTheBytes) {
    const int width = 33, height = 19; // rows padded to 100 bytes
    std::vector<uint8_t> frame = qelmedia::ClipFrame(3, width, height);
    CSampleGrabberCB callback;
    Target(callback, "buffer.bmp");
    callback.m_lWidth = width;
    callback.m_lHeight = height;
    EXPECT_EQ(S_OK, callback.BufferCB(0.5, frame.data(), static_cast<long>(frame.size())));

    const std::vector<uint8_t> file = qelmedia::ReadWholeFile(target_);
    ASSERT_EQ(frame.size() + 54, file.size());
    EXPECT_EQ('B', file[0]);
    EXPECT_EQ('M', file[1]);
    EXPECT_EQ(frame.size() + 54, U32(file, 2));
    EXPECT_EQ(0u, U32(file, 6));
    EXPECT_EQ(54u, U32(file, 10));
    EXPECT_EQ(40u, U32(file, 14));
    EXPECT_EQ(static_cast<uint32_t>(width), U32(file, 18));
    EXPECT_EQ(static_cast<uint32_t>(height), U32(file, 22));
    EXPECT_EQ(1u | 24u << 16, U32(file, 26)); // planes, bits a pixel
    for (size_t at = 30; at < 54; at += 4)
        EXPECT_EQ(0u, U32(file, at)) << "header byte " << at;
    EXPECT_EQ(0, std::memcmp(frame.data(), file.data() + 54, frame.size()));
    EXPECT_EQ("", CompareBmpWithClipFrame(target_, 3, width, height));
}

TEST_F(SampleGrabberCBTest, SampleCallbackWritesTheDataLengthNotTheBufferSize) {
    std::vector<uint8_t> buffer(9216 + 4096, 0xEE);
    const std::vector<uint8_t> frame = qelmedia::ClipFrame(7, 64, 48);
    std::copy(frame.begin(), frame.end(), buffer.begin());
    FakeSample sample(buffer.data(), static_cast<long>(buffer.size()), static_cast<long>(frame.size()));
    CSampleGrabberCB callback;
    Target(callback, "sample.bmp");
    callback.m_lWidth = 64;
    callback.m_lHeight = 48;
    EXPECT_EQ(S_OK, callback.SampleCB(0.0, &sample));
    EXPECT_EQ(frame.size() + 54, qelmedia::ReadWholeFile(target_).size());
    EXPECT_EQ("", CompareBmpWithClipFrame(target_, 7, 64, 48));
}

TEST_F(SampleGrabberCBTest, NothingToWriteOrNowhereToWriteStillAnswersZero) {
    CSampleGrabberCB callback;
    Target(callback, "never.bmp");
    EXPECT_EQ(S_OK, callback.SampleCB(0.0, nullptr));
    EXPECT_EQ(S_OK, callback.BufferCB(0.0, nullptr, 100));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(target_.c_str()));

    Target(callback, "no-such-folder\\frame.bmp");
    BYTE pixels[12] = {};
    EXPECT_EQ(S_OK, callback.BufferCB(0.0, pixels, sizeof pixels));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(target_.c_str()));
}

TEST_F(SampleGrabberCBTest, FrameSnatchWritesTheFrameAtTheStartPosition) {
    const std::string clip = MakeClip("clip.avi", ClipSpec(30));
    CSampleGrabberCB callback;
    Target(callback, "snatched.bmp");
    std::vector<char> name(clip.begin(), clip.end());
    name.push_back('\0');
    const HRESULT hr = callback.FrameSnatch(name.data(), 10000000);
    EXPECT_TRUE(SUCCEEDED(hr)) << std::hex << hr;
    EXPECT_EQ(64, callback.m_lWidth);
    EXPECT_EQ(48, callback.m_lHeight);
    EXPECT_EQ("", CompareBmpWithClipFrame(target_, 10, 64, 48));
}

TEST_F(SampleGrabberCBTest, FrameSnatchShowsWhyItCouldNotStart) {
    CSampleGrabberCB callback;
    Target(callback, "none.bmp");
    EXPECT_EQ(S_FALSE, callback.FrameSnatch(nullptr, 0));

    qeltest::ScopedMessageBoxHook boxes;
    std::string missing = folder_.File("missing.avi");
    EXPECT_EQ(S_FALSE, callback.FrameSnatch(&missing[0], 0));
    const std::string text = folder_.File("notes.avi");
    std::ofstream(text) << "no pictures in here";
    std::string notMedia = text;
    EXPECT_EQ(S_FALSE, callback.FrameSnatch(&notMedia[0], 0));
    const std::vector<std::string> shown = boxes.Texts();
    ASSERT_EQ(2u, shown.size());
    EXPECT_EQ("Could not load the media file\r\n", shown[0]);
    EXPECT_EQ("Could not connect source filter to grabber\r\n", shown[1]);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(target_.c_str()));
}

TEST_F(SampleGrabberCBTest, GrabSamplesWritesFramesWhereTheDetectorCanGrab) {
    const std::string clip = MakeClip("clip.avi", ClipSpec(5));
    CSampleGrabberCB callback;
    Target(callback, "grabbed.bmp");
    EXPECT_EQ(E_POINTER, callback.GrabSamples(nullptr, 0));
    std::string name = clip;
    const HRESULT hr = callback.GrabSamples(&name[0], 0);
    if (hr == E_NOTIMPL) {
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(target_.c_str()));
        GTEST_SKIP()
            << "the media detector cannot grab bitmaps here (Wine: EnterBitmapGrabMode is E_NOTIMPL); "
               "the failure is returned and nothing is written";
    }
    ASSERT_EQ(S_OK, hr);
    // Every frame overwrote the file: the last one stays.
    EXPECT_EQ("", CompareBmpWithClipFrame(target_, 4, 64, 48));
}

} // namespace
