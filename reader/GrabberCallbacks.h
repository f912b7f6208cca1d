#pragma once
// The reader's two sample-grabber callbacks. They live inside the reader (no reference counting of
// their own) and run on the graphs' streaming threads.
//  - CFrameGrabberCallback keeps the last frame it was armed for, and can hold the streaming thread
//    at each sample ("paced") until the reader arms it for a read, or let samples go by (skip).
//  - CAudioGrabberCallback appends PCM to a collection buffer of fixed capacity.
#include <windows.h>
#include <dshow.h>
#include <qedit.h>

#include <atomic>
#include <cstdint>
#include <vector>

#include "qeldshow/critical_section.h"
#include "Win32Handle.h"

class CFrameGrabberCallback : public ISampleGrabberCB {
public:
    CFrameGrabberCallback();

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP SampleCB(double time, IMediaSample* sample) override;
    STDMETHODIMP BufferCB(double time, BYTE* buffer, long length) override;

    // The reader's per-open events: signalled when a paced sample arrives and when a frame was copied.
    void SetEvents(HANDLE sampleArrived, HANDLE frameCopied);
    void SetFrameSize(long width, long height);

    // Armed, the grabber takes the next sample after the skipped ones. Paced, only the arming lets a
    // sample through the gate, and the grabber disarms itself as it takes that frame: the sample after
    // it waits at the gate for the next read, however late the reader comes.
    void SetArmed(bool armed) { armed_ = armed; }
    bool Paced() const { return paced_; }
    void SetPaced(bool paced) { paced_ = paced; }
    void SetSkip(long count) { skip_ = count < 0 ? 0 : count; }
    // Makes a parked sample look at the gate again now rather than at its next poll. It lets nothing
    // through by itself, so a wake that no sample was parked for leaves nothing behind.
    void Wake() { SetEvent(wake_.Get()); }

    bool HasFrame();
    double BufferedTime();
    double LastSampleTime() const { return lastSeen_; }
    // A movable block: BITMAPINFOHEADER (24-bit, the connection's size) and the frame; null without one.
    HGLOBAL MakeFrameBlock();
    void FreeBuffer();

private:
    void Take(double time, const BYTE* buffer, long length);

    CCritSec lock_;
    long width_ = 0;
    long height_ = 0;
    double bufferedTime_ = 0;
    std::vector<BYTE> buffer_;
    std::atomic<bool> armed_{false};
    std::atomic<bool> paced_{false};
    std::atomic<long> skip_{0};
    std::atomic<double> lastSeen_{-1.0};
    HANDLE sampleArrived_ = nullptr;
    HANDLE frameCopied_ = nullptr;
    EventHandle wake_;
};

struct PcmFormatFields {
    WORD formatTag = 0;
    WORD channels = 0;
    DWORD samplesPerSec = 0;
    DWORD bytesPerSec = 0;
    WORD blockAlign = 0;
    WORD bitsPerSample = 0;
};

class CAudioGrabberCallback : public ISampleGrabberCB {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP SampleCB(double time, IMediaSample* sample) override;
    STDMETHODIMP BufferCB(double time, BYTE* buffer, long length) override;

    PcmFormatFields format;

    // Empties the collection and makes a buffer of capacity bytes filled with silence; false when it
    // cannot be had.
    bool Prepare(size_t capacity, BYTE silence);
    void SetCollecting(bool collecting) { collecting_ = collecting; }
    // The collected bytes (the whole capacity, silence where nothing arrived) and the first sample's
    // time (-1.0 when none).
    std::vector<BYTE> Collected(double* firstTime);
    void FreeBuffer();

private:
    void Append(double time, const BYTE* data, long length);

    CCritSec lock_;
    std::atomic<bool> collecting_{false};
    double firstTime_ = -1.0;
    std::vector<BYTE> buffer_;
    size_t filled_ = 0;
};
