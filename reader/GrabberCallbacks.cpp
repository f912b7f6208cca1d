#include "GrabberCallbacks.h"

#include <cstring>

#include "ReaderTestSeams.h"

namespace {

using qelreader::seams::GateOutcome;

#ifdef QEL_TEST_SEAMS
std::atomic<qelreader::seams::PacedSampleHook> g_pacedSample{nullptr};

void Report(double time, GateOutcome outcome) {
    if (const auto hook = g_pacedSample.load())
        hook(time, outcome);
}
#else
void Report(double, GateOutcome) {} // the installed reader reports to no one
#endif

HRESULT AnswerCallbackInterface(ISampleGrabberCB* self, REFIID riid, void** ppv) {
    if (!ppv)
        return E_POINTER;
    if (riid == IID_ISampleGrabberCB || riid == IID_IUnknown) {
        *ppv = self;
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

// The sample's data as the buffer method would get it.
HRESULT ForwardSample(ISampleGrabberCB* self, double time, IMediaSample* sample) {
    BYTE* data = nullptr;
    if (!sample || FAILED(sample->GetPointer(&data)))
        return E_POINTER;
    return self->BufferCB(time, data, sample->GetActualDataLength());
}

} // namespace

#ifdef QEL_TEST_SEAMS
qelreader::seams::PacedSampleHook qelreader::seams::SetPacedSampleHook(PacedSampleHook hook) {
    return g_pacedSample.exchange(hook);
}
#endif

CFrameGrabberCallback::CFrameGrabberCallback() : wake_() {}

STDMETHODIMP CFrameGrabberCallback::QueryInterface(REFIID riid, void** ppv) {
    return AnswerCallbackInterface(this, riid, ppv);
}

STDMETHODIMP CFrameGrabberCallback::SampleCB(double time, IMediaSample* sample) {
    return ForwardSample(this, time, sample);
}

void CFrameGrabberCallback::SetEvents(HANDLE sampleArrived, HANDLE frameCopied) {
    sampleArrived_ = sampleArrived;
    frameCopied_ = frameCopied;
}

void CFrameGrabberCallback::SetFrameSize(long width, long height) {
    CAutoLock hold(&lock_);
    width_ = width;
    height_ = height;
}

STDMETHODIMP CFrameGrabberCallback::BufferCB(double time, BYTE* buffer, long length) {
    if (time < 0)
        return S_OK;
    if (skip_ > 0) {
        --skip_;
        return S_OK;
    }
    lastSeen_ = time;
    bool leftPacedGate = false;
    if (paced_) {
        if (sampleArrived_)
            SetEvent(sampleArrived_);
        // Parked until the reader arms the grabber for it. A wake alone does not let it pass: a sample
        // let through with no read waiting for it would be lost, and every later read one frame ahead.
        // Clearing the pace releases it too, so that a state change can never wait on a thread parked
        // here.
        if (paced_ && !armed_)
            Report(time, GateOutcome::Parked);
        while (paced_ && !armed_)
            WaitForSingleObject(wake_.Get(), 50);
        if (sampleArrived_)
            ResetEvent(sampleArrived_);
        leftPacedGate = paced_;
    }
    if (skip_ > 0) {
        --skip_; // still armed: the next sample passes the gate
        if (leftPacedGate)
            Report(time, GateOutcome::Skipped);
        return S_OK;
    }
    // Paced, one frame a read: disarmed in the same step as the frame is claimed, so the sample after
    // it parks even when the reader has not come back yet.
    const bool take = leftPacedGate ? armed_.exchange(false) : armed_.load();
    if (take)
        Take(time, buffer, length);
    // Reported before the reader hears of the frame, so that a test sees the outcomes in the order the
    // reader acts on them.
    if (leftPacedGate)
        Report(time, take ? GateOutcome::Taken : GateOutcome::Unread);
    if (take && frameCopied_)
        SetEvent(frameCopied_);
    return S_OK;
}

void CFrameGrabberCallback::Take(double time, const BYTE* buffer, long length) {
    CAutoLock hold(&lock_);
    if (!buffer || length <= 0)
        return;
    buffer_.assign(buffer, buffer + length);
    bufferedTime_ = time;
}

bool CFrameGrabberCallback::HasFrame() {
    CAutoLock hold(&lock_);
    return !buffer_.empty();
}

double CFrameGrabberCallback::BufferedTime() {
    CAutoLock hold(&lock_);
    return bufferedTime_;
}

HGLOBAL CFrameGrabberCallback::MakeFrameBlock() {
    CAutoLock hold(&lock_);
    if (buffer_.empty())
        return nullptr;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, sizeof(BITMAPINFOHEADER) + buffer_.size());
    if (!block)
        return nullptr;
    BYTE* out = static_cast<BYTE*>(GlobalLock(block));
    if (!out) {
        GlobalFree(block);
        return nullptr;
    }
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof header;
    header.biWidth = width_;
    header.biHeight = height_;
    header.biPlanes = 1;
    header.biBitCount = 24;
    std::memcpy(out, &header, sizeof header);
    std::memcpy(out + sizeof header, buffer_.data(), buffer_.size());
    GlobalUnlock(block);
    return block;
}

void CFrameGrabberCallback::FreeBuffer() {
    CAutoLock hold(&lock_);
    std::vector<BYTE>().swap(buffer_);
    bufferedTime_ = 0;
    lastSeen_ = -1.0;
}

STDMETHODIMP CAudioGrabberCallback::QueryInterface(REFIID riid, void** ppv) {
    return AnswerCallbackInterface(this, riid, ppv);
}

STDMETHODIMP CAudioGrabberCallback::SampleCB(double time, IMediaSample* sample) {
    return ForwardSample(this, time, sample);
}

STDMETHODIMP CAudioGrabberCallback::BufferCB(double time, BYTE* buffer, long length) {
    if (collecting_)
        Append(time, buffer, length);
    return S_OK;
}

void CAudioGrabberCallback::Append(double time, const BYTE* data, long length) {
    CAutoLock hold(&lock_);
    if (buffer_.empty() || !data || length < 0) {
        collecting_ = false;
        return;
    }
    if (firstTime_ < 0)
        firstTime_ = time;
    const size_t room = buffer_.size() - filled_;
    const size_t take = static_cast<size_t>(length) < room ? static_cast<size_t>(length) : room;
    if (take)
        std::memcpy(buffer_.data() + filled_, data, take);
    filled_ += take;
    if (take < static_cast<size_t>(length) || take == 0)
        collecting_ = false;
}

bool CAudioGrabberCallback::Prepare(size_t capacity, BYTE silence) {
    CAutoLock hold(&lock_);
    std::vector<BYTE>().swap(buffer_);
    filled_ = 0;
    firstTime_ = -1.0;
    if (capacity == 0)
        return false;
    try {
        buffer_.assign(capacity, silence);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

std::vector<BYTE> CAudioGrabberCallback::Collected(double* firstTime) {
    CAutoLock hold(&lock_);
    *firstTime = firstTime_;
    return filled_ ? buffer_ : std::vector<BYTE>();
}

void CAudioGrabberCallback::FreeBuffer() {
    CAutoLock hold(&lock_);
    std::vector<BYTE>().swap(buffer_);
    filled_ = 0;
    firstTime_ = 0;
}
