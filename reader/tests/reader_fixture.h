#pragma once
// Shared ground of the reader's tests: a reader made from the class behind the COM server, generated
// clips in a temporary folder, owned global blocks and pixel checks of the frames handed out.
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

} // namespace readertest
