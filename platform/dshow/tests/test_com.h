#pragma once
// Test helpers: an owning COM pointer, the class IDs of Wine's sample grabber and null renderer
// (mingw's qedit.h declares ISampleGrabber but not them), and a recording grabber callback.
#include <windows.h>
#include <dshow.h>
#include <qedit.h>

#include <gtest/gtest.h>

#include <mutex>
#include <vector>

namespace dshowtest {

extern const CLSID CLSID_SampleGrabberFilter;  // {C1F400A0-3F08-11D3-9F0B-006008039E37}
extern const CLSID CLSID_NullRendererFilter;   // {C1F400A4-3F08-11D3-9F0B-006008039E37}

template <typename T>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() { Reset(); }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;

    T* Get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    T** Out() {
        Reset();
        return &p_;
    }
    void** OutVoid() { return reinterpret_cast<void**>(Out()); }
    void Reset() {
        if (p_)
            p_->Release();
        p_ = nullptr;
    }
    // Takes over a reference the caller already owns.
    void Attach(T* p) {
        Reset();
        p_ = p;
    }

private:
    T* p_ = nullptr;
};

// The reference count of an object, read by one AddRef/Release pair.
inline ULONG RefCount(IUnknown* object) {
    object->AddRef();
    return object->Release();
}

struct GrabbedSample {
    double time = 0;
    std::vector<BYTE> head;  // the first bytes of the frame
    long length = 0;
};

// Records what reaches the sample grabber (its callback runs on the streaming thread).
class RecordingGrabberCallback : public ISampleGrabberCB {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }   // lives on the test's stack
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP SampleCB(double time, IMediaSample* sample) override;
    STDMETHODIMP BufferCB(double time, BYTE* buffer, long length) override;

    std::vector<GrabbedSample> Samples();
    std::vector<REFERENCE_TIME> StartTimes();
    size_t Count();

private:
    std::mutex mutex_;
    std::vector<GrabbedSample> samples_;
    std::vector<REFERENCE_TIME> starts_;
};

// The first pin of the given direction.
HRESULT FindFirstPin(IBaseFilter* filter, PIN_DIRECTION direction, IPin** pin);

} // namespace dshowtest
