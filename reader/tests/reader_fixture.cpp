#include "reader_fixture.h"

#include <atomic>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <mutex>
#include <sstream>

#include "MediaFrameReader.h"
#include "ReaderTestSeams.h"
#include "Win32Handle.h"

namespace readertest {

std::vector<BYTE> GlobalBlock::Bytes() const {
    std::vector<BYTE> bytes;
    if (!block_)
        return bytes;
    const SIZE_T size = GlobalSize(block_);
    if (const BYTE* data = static_cast<const BYTE*>(GlobalLock(block_))) {
        bytes.assign(data, data + size);
        GlobalUnlock(block_);
    }
    return bytes;
}

qelmedia::AviClipFormat ClipSpec(bool audio, int audioBits) {
    qelmedia::AviClipFormat spec;
    spec.width = 64;
    spec.height = 48;
    spec.framesPerSecond = 10;
    spec.frameCount = 30;
    spec.withAudio = audio;
    spec.audioBitsPerSample = audioBits;
    spec.audioRamp = true;
    return spec;
}

qel::ComPtr<IMediaFrameReader> NewReader() {
    HRESULT hr = S_OK;
    CUnknown* object = CMediaFrameReader::CreateInstance(nullptr, &hr);
    qel::ComPtr<IMediaFrameReader> reader;
    if (!object)
        return reader;
    object->NonDelegatingAddRef();
    object->NonDelegatingQueryInterface(IID_IMediaFrameReader, reinterpret_cast<void**>(reader.GetAddressOf()));
    object->NonDelegatingRelease();
    return reader;
}

void ReaderTest::SetUp() {
    qeltest::ComTest::SetUp();
    reader_ = NewReader();
    ASSERT_TRUE(reader_);
}

void ReaderTest::TearDown() {
    reader_.Reset();
    qeltest::ComTest::TearDown();
}

std::string ReaderTest::MakeClip(const std::string& name, const qelmedia::AviClipFormat& spec) {
    const std::string path = folder_.File(name);
    EXPECT_TRUE(qelmedia::WriteAviClip(path, spec)) << path;
    return path;
}

std::string ReaderTest::MakeFile(const std::string& name, const std::vector<BYTE>& bytes) {
    const std::string path = folder_.File(name);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path;
}

std::string CompareFrameBlock(HGLOBAL block, int frame, int width, int height) {
    if (!block)
        return "no block";
    const SIZE_T size = GlobalSize(block);
    const std::vector<uint8_t> expected = qelmedia::ClipFrame(frame, width, height);
    if (size != sizeof(BITMAPINFOHEADER) + expected.size()) {
        std::ostringstream why;
        why << "block of " << size << " bytes, expected " << sizeof(BITMAPINFOHEADER) + expected.size();
        return why.str();
    }
    const BYTE* data = static_cast<const BYTE*>(GlobalLock(block));
    BITMAPINFOHEADER header;
    std::memcpy(&header, data, sizeof header);
    std::ostringstream why;
    if (header.biSize != 40 || header.biWidth != width || header.biHeight != height || header.biPlanes != 1 ||
        header.biBitCount != 24 || header.biCompression != BI_RGB || header.biSizeImage != 0)
        why << "header " << header.biWidth << "x" << header.biHeight << "x" << header.biBitCount;
    else if (std::memcmp(data + sizeof header, expected.data(), expected.size()) != 0) {
        // Name the frame the block shows: red steps by 8 a frame from 16.
        const int red = data[sizeof header + 2];
        why << "pixels of another frame (red " << red << " -> frame " << (red - 16) / 8 << ")";
    }
    GlobalUnlock(block);
    return why.str();
}

namespace {

using qelreader::seams::GateOutcome;

const char* OutcomeName(GateOutcome outcome) {
    switch (outcome) {
    case GateOutcome::Parked:
        return "parked";
    case GateOutcome::Taken:
        return "taken";
    case GateOutcome::Skipped:
        return "skipped";
    case GateOutcome::Unread:
        return "unread";
    }
    return "?";
}

struct TimedOutcome {
    double time;
    GateOutcome outcome;
    DWORD thread;
};

std::string Names(const std::vector<TimedOutcome>& outcomes, size_t from, size_t count) {
    std::string names;
    for (size_t i = from; i < outcomes.size() && i - from < count; ++i)
        names += std::string(names.empty() ? "" : " ") + OutcomeName(outcomes[i].outcome);
    return names;
}

// The watch's state: the seams take plain functions.
struct GateRecord {
    std::mutex lock;
    std::vector<TimedOutcome> outcomes;
    EventHandle left{true};
    EventHandle recorded;
    std::atomic<int> held{0};
    std::atomic<int> released{0};
};

GateRecord& Record() {
    static GateRecord record;
    return record;
}

void OnPacedSample(double time, GateOutcome outcome) {
    GateRecord& record = Record();
    {
        std::lock_guard<std::mutex> hold(record.lock);
        record.outcomes.push_back({time, outcome, GetCurrentThreadId()});
    }
    SetEvent(record.recorded.Get());
    if (outcome != GateOutcome::Parked)
        SetEvent(record.left.Get());
}

void OnVideoGraphRan() {
    GateRecord& record = Record();
    const DWORD started = GetTickCount();
    const bool released = WaitForSingleObject(record.left.Get(), kGateGuardMs) == WAIT_OBJECT_0;
    std::printf("figure: reader held %lu ms after the graph ran until a sample left the gate (guard %lu ms)\n",
                static_cast<unsigned long>(GetTickCount() - started), static_cast<unsigned long>(kGateGuardMs));
    ResetEvent(record.left.Get());
    ++record.held;
    if (released)
        ++record.released;
}

// Waits until done(outcomes) holds, each new outcome waking it, up to the guard; whether it held.
template <typename Done>
bool AwaitRecord(const char* what, Done done) {
    GateRecord& record = Record();
    const DWORD started = GetTickCount();
    bool held = false;
    for (;;) {
        {
            std::lock_guard<std::mutex> hold(record.lock);
            held = done(record.outcomes);
        }
        const DWORD waited = GetTickCount() - started;
        if (held || waited >= kGateGuardMs ||
            WaitForSingleObject(record.recorded.Get(), kGateGuardMs - waited) != WAIT_OBJECT_0)
            break;
    }
    std::printf("figure: %s after %lu ms (guard %lu ms)\n", what, static_cast<unsigned long>(GetTickCount() - started),
                static_cast<unsigned long>(kGateGuardMs));
    return held;
}

} // namespace

GateWatch::GateWatch(bool holdAfterRun) {
    GateRecord& record = Record();
    {
        std::lock_guard<std::mutex> hold(record.lock);
        record.outcomes.clear();
    }
    ResetEvent(record.left.Get());
    ResetEvent(record.recorded.Get());
    record.held = 0;
    record.released = 0;
    qelreader::seams::SetPacedSampleHook(&OnPacedSample);
    if (holdAfterRun)
        qelreader::seams::SetVideoGraphRanHook(&OnVideoGraphRan);
}

GateWatch::~GateWatch() {
    qelreader::seams::SetVideoGraphRanHook(nullptr);
    qelreader::seams::SetPacedSampleHook(nullptr);
}

int GateWatch::Held() const { return Record().held; }

int GateWatch::Released() const { return Record().released; }

size_t GateWatch::Mark() {
    GateRecord& record = Record();
    std::lock_guard<std::mutex> hold(record.lock);
    ResetEvent(record.left.Get());
    return record.outcomes.size();
}

std::string GateWatch::AwaitOutcomes(size_t count, size_t from) {
    AwaitRecord("outcomes at the gate came", [&](const std::vector<TimedOutcome>& outcomes) {
        return outcomes.size() >= from + count;
    });
    GateRecord& record = Record();
    std::lock_guard<std::mutex> hold(record.lock);
    return Names(record.outcomes, from, count);
}

bool GateWatch::AwaitParked() {
    return AwaitRecord("a sample parked at the gate", [](const std::vector<TimedOutcome>& outcomes) {
        return !outcomes.empty() && outcomes.back().outcome == GateOutcome::Parked;
    });
}

std::string GateWatch::Outcomes() {
    GateRecord& record = Record();
    std::lock_guard<std::mutex> hold(record.lock);
    return Names(record.outcomes, 0, record.outcomes.size());
}

std::string GateWatch::Described() {
    GateRecord& record = Record();
    std::lock_guard<std::mutex> hold(record.lock);
    std::string text;
    char entry[96];
    for (const TimedOutcome& outcome : record.outcomes) {
        std::snprintf(entry, sizeof entry, "%s%s@%.3f(thread %lu)", text.empty() ? "" : " ",
                      OutcomeName(outcome.outcome), outcome.time, static_cast<unsigned long>(outcome.thread));
        text += entry;
    }
    return text;
}

} // namespace readertest
