#pragma once
// Shared ground of the reader's tests: a reader made from the class behind the COM server, generated
// clips in a temporary folder, owned global blocks, pixel checks of the frames handed out and a watch
// on the frame grabber's gate.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "qeldshow/com_ptr.h"
#include "QelReader.h"
#include "avi_clip.h"
#include "qeltest/com_test.h"
#include "qeltest/temp_dir.h"

namespace readertest {

// One owner for a block the reader hands out.
class GlobalBlock {
public:
    GlobalBlock() = default;
    ~GlobalBlock() { Reset(); }
    GlobalBlock(const GlobalBlock&) = delete;
    GlobalBlock& operator=(const GlobalBlock&) = delete;
    HGLOBAL* Out() {
        Reset();
        return &block_;
    }
    HGLOBAL Get() const { return block_; }
    void Reset() {
        if (block_)
            GlobalFree(block_);
        block_ = nullptr;
    }
    std::vector<BYTE> Bytes() const;

private:
    HGLOBAL block_ = nullptr;
};

// A 64x48 clip at 10 frames a second, 30 frames, optionally with a sound ramp of the given bits.
qelmedia::AviClipFormat ClipSpec(bool audio = false, int audioBits = 16);

class ReaderTest : public qeltest::ComTest {
protected:
    void SetUp() override;
    void TearDown() override;
    std::string MakeClip(const std::string& name, const qelmedia::AviClipFormat& spec);
    std::string MakeFile(const std::string& name, const std::vector<BYTE>& bytes);

    qel::ComPtr<IMediaFrameReader> reader_;
    qeltest::TempDir folder_;
};

// Makes a reader object directly from the class (no registration needed).
qel::ComPtr<IMediaFrameReader> NewReader();

// Empty when the block is a 24-bit frame of the clip showing frame `frame`, else what differs.
std::string CompareFrameBlock(HGLOBAL block, int frame, int width, int height);

// A guard against a sample that never comes, far above the moment one takes to reach the gate.
constexpr DWORD kGateGuardMs = 5000;

// For its lifetime, records what becomes of each sample at the gate of a paced video grabber. With
// holdAfterRun it also holds the reader each time it has told the video graph to run, until a sample
// has left the gate: the streaming thread then outruns the reader's thread, as it may on a busy
// machine. One at a time.
class GateWatch {
public:
    explicit GateWatch(bool holdAfterRun = false);
    ~GateWatch();
    GateWatch(const GateWatch&) = delete;
    GateWatch& operator=(const GateWatch&) = delete;

    // The runs held, and how many of them a sample that left the gate released (the others met the
    // guard).
    int Held() const;
    int Released() const;
    // The number of outcomes so far, to read the later ones from. A run held after it waits for a
    // sample that leaves the gate after it.
    size_t Mark();
    // `count` outcomes from the `from`-th on, named ("parked", "taken", "skipped", "unread") and in
    // their order, once that many were recorded (fewer when the guard passed first).
    std::string AwaitOutcomes(size_t count, size_t from = 0);
    // Waits until the latest outcome is a sample parked at the gate (the stream waits for a read);
    // false when the guard passed first.
    bool AwaitParked();
    // Every outcome so far, named.
    std::string Outcomes();
    // Every outcome so far with its sample's time and thread, for the test's output.
    std::string Described();
};

} // namespace readertest
