#pragma once
// Telling what kind of recorded file the reader was given, from its name and its first bytes: the
// AVI header walk, the MPEG start-code scan and the transport-stream test. Platform-neutral: it works
// on a byte source, so the parse runs natively under the sanitizers and under a fuzzer.
#include <cstddef>
#include <cstdint>

namespace qelreader {

// The reader's file kinds (0 means not yet known; 7 is not used).
enum ReaderFileType : int {
    kKindUnknown = 0,
    kKindAvi = 1,
    kKindAviInterleavedDv = 2,
    kKindAviDv = 3,
    kKindAviAudioOnly = 4,
    kKindMpeg1 = 5,
    kKindMpeg2 = 6,
    kKindWindowsMedia = 8,
    kKindMp3Audio = 9,
    kKindTransportStream = 10,
};

// Results of the AVI header walk (ParseAviHeader), before they are mapped to file kinds.
enum AviHeaderResult : int {
    kAviNone = 0,
    kAviInterleavedDv = 1, // an 'iavs' stream
    kAviDvVideo = 2,       // 'vids' with a DV handler
    kAviOtherVideo = 3,
    kAviAudioOnly = 4,
};

// Random access to a file's bytes. Offsets are 64-bit: recordings may pass 4 GB.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual uint64_t Size() const = 0;
    // Reads exactly count bytes at offset; false when they are not all there.
    virtual bool ReadAt(uint64_t offset, void* out, size_t count) = 0;
};

// A byte source over memory (tests, the fuzzer and the start-code scan's buffer).
class MemoryByteSource : public ByteSource {
public:
    MemoryByteSource(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    uint64_t Size() const override { return size_; }
    bool ReadAt(uint64_t offset, void* out, size_t count) override;

private:
    const uint8_t* data_;
    size_t size_;
};

// The timing fields of the AVI video stream header that the reader uses.
struct AviVideoStream {
    uint32_t handler = 0;
    uint32_t scale = 0;
    uint32_t rate = 0;
};

// The path names a Windows Media file: ".asf", ".wma", ".wmv" or ".asx" (all lower or all upper case)
// anywhere in it.
bool IsWindowsMediaPath(const char* path);
// The path names a recorded TV file: ".dvr-ms" or ".dvr" (all lower or all upper case) anywhere in it.
bool IsDvrMsPath(const char* path);
// The file name has one of the MPEG extensions (any case) or no '.' at all: worth a start-code scan.
bool MayHoldMpegStartCodes(const char* path);

// Walks the AVI header list. With video given, the first video stream found fills it and ends the
// walk. Returns an AviHeaderResult.
int ParseAviHeader(ByteSource& file, AviVideoStream* video);
// AviHeaderResult -> file kind (1 -> 2, 2 -> 3, 3 -> 1, 4 -> 4, else 0).
int KindFromAviHeader(int headerResult);

// How many leading bytes the start-code scan looks at.
constexpr size_t kStartCodeScanBytes = 100000;
// MPEG-1 (5), MPEG-2 (6), transport stream (10) or nothing (0) from the file's first bytes.
int ScanMpegStartCodes(const uint8_t* data, size_t count);

// The time of one frame in 100-ns units from the stream's scale and rate (0 when the rate is 0).
int64_t FrameTimeFromAviRate(uint32_t scale, uint32_t rate);

// Recognition by name and bytes: Windows Media by name, then the AVI header, then (for MPEG names or
// names without extension) the start codes of the first kStartCodeScanBytes bytes.
int RecogniseFileKind(const char* path, ByteSource& file);

} // namespace qelreader
