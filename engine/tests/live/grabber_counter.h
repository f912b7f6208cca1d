#pragma once
// Counting the frames the engine's preview grabber passes on: a callback of the test's, put in the
// engine's place for a while.
#include <windows.h>
#include <qedit.h>

#include <atomic>

#include "qeldshow/com_ptr.h"
#include "qeltest/pump.h"

namespace enginetest {

// Counts the frames it is given, and keeps the length of the last one.
class CountingCallback : public ISampleGrabberCB {
public:
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
        if (iid == IID_ISampleGrabberCB || iid == IID_IUnknown) {
            *object = this;
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP SampleCB(double, IMediaSample*) override { return 0; }
    STDMETHODIMP BufferCB(double, BYTE*, long length) override {
        lastLength = length;
        ++frames;
        return 0;
    }
    std::atomic<int> frames{0};
    std::atomic<long> lastLength{0};
};

// Whether the grabber passes on `wanted` frames within `ms`; the engine's own callback is put back.
inline bool PreviewDelivers(IBaseFilter* grabberFilter, ISampleGrabberCB* engineCallback, int wanted, DWORD ms) {
    qel::ComPtr<ISampleGrabber> grabber;
    if (!grabberFilter || FAILED(grabberFilter->QueryInterface(IID_ISampleGrabber,
                                                               reinterpret_cast<void**>(grabber.GetAddressOf()))))
        return false;
    CountingCallback counter;
    grabber->SetCallback(&counter, 1);
    const bool delivered = qeltest::PumpUntil([&] { return counter.frames >= wanted; }, ms);
    grabber->SetCallback(engineCallback, 1);
    return delivered;
}

} // namespace enginetest
