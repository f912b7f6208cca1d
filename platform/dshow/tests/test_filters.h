#pragma once
// Small filters built on our base for the tests: an RGB24 push source with a recognisable pattern
// and time stamps, and a transform that inverts every byte.
#include "qeldshow/source_filter.h"
#include "qeldshow/transform_filter.h"

#include <atomic>

namespace dshowtest {

// {5E1A7C10-8B2D-4F3E-9A61-0C4D2B7E9F01}, {5E1A7C11-...}: test-only class IDs.
extern const CLSID CLSID_TestPushSource;
extern const CLSID CLSID_TestInvert;

// Byte i of frame n: (n * 7 + i) & 0xFF.
inline BYTE PatternByte(LONG frame, size_t index) { return static_cast<BYTE>((frame * 7 + index) & 0xFF); }

struct SourceSettings {
    LONG width = 32;
    LONG height = 24;
    REFERENCE_TIME frameTime = 333333;  // 30 fps
    LONG frameCount = 10;               // then end of stream; < 0 streams until stopped
    bool live = false;                  // deliver only while running
    bool truncatedFormat = false;       // offer a VIDEOINFOHEADER block cut short
    HRESULT failAtFrame = S_OK;         // FillBuffer fails with this at frame failFrame
    LONG failFrame = -1;
};

class CTestPushSource;

class CTestStream : public CSourceStream {
public:
    CTestStream(HRESULT* result, CTestPushSource* filter, const SourceSettings& settings);

    HRESULT GetMediaType(int position, CMediaType* type) override;
    HRESULT CheckMediaType(const CMediaType* type) override;
    HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override;
    HRESULT FillBuffer(IMediaSample* sample) override;
    HRESULT OnThreadStartPlay() override;
    bool DeliversWhilePaused() const override { return !settings_.live; }

    LONG FramesFilled() const { return next_; }

private:
    SourceSettings settings_;
    std::atomic<LONG> next_{0};
};

class CTestPushSource : public CSource {
public:
    explicit CTestPushSource(const SourceSettings& settings = SourceSettings(), IUnknown* outer = nullptr);
    CTestStream* Stream() const { return stream_; }

private:
    CTestStream* stream_;
};

class CInvertFilter : public CTransformFilter {
public:
    explicit CInvertFilter(IUnknown* outer = nullptr);

    HRESULT CheckInputType(const CMediaType* in) override;
    HRESULT CheckTransform(const CMediaType* in, const CMediaType* out) override;
    HRESULT GetMediaType(int position, CMediaType* type) override;
    HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override;
    HRESULT Transform(IMediaSample* in, IMediaSample* out) override;
    HRESULT StartStreaming() override;
    HRESULT StopStreaming() override;

    // Shrinks the output buffers by this many bytes (to provoke a too-small buffer).
    void SetOutputShortfall(LONG bytes) { shortfall_ = bytes; }
    // Every other sample is dropped (Transform answers S_FALSE).
    void SetDropEveryOther(bool drop) { dropEveryOther_ = drop; }

    std::atomic<LONG> transformed{0};
    std::atomic<LONG> starts{0};
    std::atomic<LONG> stops{0};
    std::atomic<HRESULT> lastTransformResult{S_OK};

private:
    LONG shortfall_ = 0;
    bool dropEveryOther_ = false;
    LONG seen_ = 0;
};

} // namespace dshowtest
