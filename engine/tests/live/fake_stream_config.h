#pragma once
// A capture pin's stream configuration with formats the synthetic camera never offers (no frame time,
// odd widths), for the engine's format paths.
#include <dshow.h>

#include <vector>

namespace enginetest {

struct FakeFormat {
    int width;
    int height;
    REFERENCE_TIME frameTime; // 0: the format names no rate
};

class FakeStreamConfig : public IAMStreamConfig {
public:
    explicit FakeStreamConfig(std::vector<FakeFormat> formats)
        : formats_(std::move(formats)), current_(formats_[0]) {}

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override { return ++references_; }
    STDMETHODIMP_(ULONG) Release() override { return --references_; } // lives on the test's stack

    STDMETHODIMP SetFormat(AM_MEDIA_TYPE* type) override;
    STDMETHODIMP GetFormat(AM_MEDIA_TYPE** type) override;
    STDMETHODIMP GetNumberOfCapabilities(int* count, int* size) override;
    STDMETHODIMP GetStreamCaps(int index, AM_MEDIA_TYPE** type, BYTE* caps) override;

    const FakeFormat& Current() const { return current_; }
    int SetFormatCalls() const { return setFormatCalls_; }
    ULONG References() const { return references_; }

private:
    static AM_MEDIA_TYPE* MakeType(const FakeFormat& format);

    std::vector<FakeFormat> formats_;
    FakeFormat current_;
    int setFormatCalls_ = 0;
    ULONG references_ = 1;
};

} // namespace enginetest
