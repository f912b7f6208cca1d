#include "media_kind.h"

#include <cstring>
#include <vector>

namespace qelreader {
namespace {

constexpr uint32_t FourCC(const char (&code)[5]) {
    return static_cast<uint32_t>(static_cast<uint8_t>(code[0])) |
           static_cast<uint32_t>(static_cast<uint8_t>(code[1])) << 8 |
           static_cast<uint32_t>(static_cast<uint8_t>(code[2])) << 16 |
           static_cast<uint32_t>(static_cast<uint8_t>(code[3])) << 24;
}

uint32_t U32At(const uint8_t* bytes) {
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

bool ContainsAny(const char* text, const char* const* needles, size_t count) {
    if (!text)
        return false;
    for (size_t i = 0; i < count; ++i)
        if (std::strstr(text, needles[i]))
            return true;
    return false;
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsIgnoringCase(const char* a, const char* b) {
    for (; *a && *b; ++a, ++b)
        if (Lower(*a) != Lower(*b))
            return false;
    return *a == *b;
}

bool IsDvHandler(uint32_t handler) {
    return handler == FourCC("dvsd") || handler == FourCC("dvhd") || handler == FourCC("dvsl");
}

// From offset, looks for 00 00 01 B5 followed by a byte with the high nibble 1 (sequence extension).
bool HasSequenceExtension(const uint8_t* data, size_t count, size_t from) {
    for (size_t j = from; j + 4 < count; ++j)
        if (data[j] == 0 && data[j + 1] == 0 && data[j + 2] == 1 && data[j + 3] == 0xB5 && (data[j + 4] >> 4) == 1)
            return true;
    return false;
}

constexpr size_t kTsPacket = 188;
constexpr size_t kTsPacketsChecked = 20;

} // namespace

bool MemoryByteSource::ReadAt(uint64_t offset, void* out, size_t count) {
    if (offset > size_ || count > size_ - offset)
        return false;
    if (count)
        std::memcpy(out, data_ + offset, count);
    return true;
}

bool IsWindowsMediaPath(const char* path) {
    static const char* const kNames[] = {".asf", ".ASF", ".wma", ".WMA", ".wmv", ".WMV", ".asx", ".ASX"};
    return ContainsAny(path, kNames, sizeof(kNames) / sizeof(kNames[0]));
}

bool IsDvrMsPath(const char* path) {
    static const char* const kNames[] = {".dvr-ms", ".DVR-MS", ".dvr", ".DVR"};
    return ContainsAny(path, kNames, sizeof(kNames) / sizeof(kNames[0]));
}

bool MayHoldMpegStartCodes(const char* path) {
    if (!path)
        return false;
    // The file name only: a '.' in a folder name says nothing about the file.
    const char* name = path;
    for (const char* p = path; *p; ++p)
        if (*p == '\\' || *p == '/' || *p == ':')
            name = p + 1;
    const char* dot = std::strrchr(name, '.');
    if (!dot)
        return true;
    static const char* const kExtensions[] = {".mpg", ".mpe", ".mpeg", ".dat", ".m2v", ".m1v", ".vob"};
    for (const char* extension : kExtensions)
        if (EqualsIgnoringCase(dot, extension))
            return true;
    return false;
}

int ParseAviHeader(ByteSource& file, AviVideoStream* video) {
    const uint64_t fileSize = file.Size();
    uint8_t head[88];
    if (!file.ReadAt(0, head, sizeof head))
        return kAviNone;
    const uint32_t riffSize = U32At(head + 4);
    if (U32At(head) != FourCC("RIFF") || U32At(head + 8) != FourCC("AVI "))
        return kAviNone;
    // A file shorter than its RIFF claims is cut off (files beyond 4 GB carry further RIFFs).
    if (fileSize < static_cast<uint64_t>(riffSize) + 8 && fileSize <= 0xFFFFFFFFull)
        return kAviNone;
    if (U32At(head + 12) != FourCC("LIST") || U32At(head + 20) != FourCC("hdrl") || U32At(head + 24) != FourCC("avih"))
        return kAviNone;
    const uint64_t listEnd = static_cast<uint64_t>(U32At(head + 16)) + 20;
    const int32_t streams = static_cast<int32_t>(U32At(head + 32 + 24));
    if (streams <= 0)
        return kAviNone;

    int result = kAviNone;
    int streamLists = 0;
    uint64_t offset = 88;
    while (offset < listEnd && streamLists < streams) {
        uint8_t chunk[12];
        if (!file.ReadAt(offset, chunk, 8))
            break;
        const uint32_t id = U32At(chunk);
        const uint64_t next = offset + static_cast<uint64_t>(U32At(chunk + 4)) + 8;
        if (id == FourCC("LIST")) {
            if (!file.ReadAt(offset + 8, chunk + 8, 4))
                break;
            if (U32At(chunk + 8) == FourCC("strl")) {
                ++streamLists;
                uint8_t strh[64];
                if (!file.ReadAt(offset + 12, strh, sizeof strh) || U32At(strh) != FourCC("strh"))
                    break;
                const uint32_t type = U32At(strh + 8);
                const uint32_t handler = U32At(strh + 12);
                if (type == FourCC("vids")) {
                    result = IsDvHandler(handler) ? kAviDvVideo : kAviOtherVideo;
                    if (video) {
                        video->handler = handler;
                        video->scale = U32At(strh + 28);
                        video->rate = U32At(strh + 32);
                        return result;
                    }
                } else if (type == FourCC("iavs")) {
                    return kAviInterleavedDv;
                } else if (type == FourCC("auds") && result == kAviNone) {
                    result = kAviAudioOnly;
                }
            }
        } else if (id != FourCC("JUNK")) {
            break;
        }
        // A size that wraps, or runs past the header list or the file, ends the walk: a damaged or
        // hostile header must not make it loop.
        if (next <= offset || next > listEnd || next > fileSize)
            break;
        offset = next;
    }
    return result;
}

int KindFromAviHeader(int headerResult) {
    switch (headerResult) {
    case kAviInterleavedDv: return kKindAviInterleavedDv;
    case kAviDvVideo: return kKindAviDv;
    case kAviOtherVideo: return kKindAvi;
    case kAviAudioOnly: return kKindAviAudioOnly;
    default: return kKindUnknown;
    }
}

int ScanMpegStartCodes(const uint8_t* data, size_t count) {
    if (!data || count == 0)
        return kKindUnknown;
    int decided = kKindUnknown;
    for (size_t i = 0; i + 5 <= count && decided == kKindUnknown; ++i) {
        if (data[i] != 0 || data[i + 1] != 0 || data[i + 2] != 1)
            continue;
        const uint8_t code = data[i + 3];
        if (code == 0xB3) {
            decided = HasSequenceExtension(data, count, i + 4) ? kKindMpeg2 : kKindMpeg1;
        } else if (code == 0xBA) {
            const uint8_t next = data[i + 4];
            if ((next >> 4) == 2)
                decided = kKindMpeg1;
            else if ((next & 0xC0) == 0x40)
                decided = kKindMpeg2;
            else
                break; // an unknown pack header decides nothing
        }
    }
    // Only bytes that were read count: a short file is no transport stream.
    if (decided != kKindUnknown)
        return count > kTsPacket && data[0] == 0x47 && data[kTsPacket] == 0x47 ? kKindTransportStream : decided;
    if (count <= (kTsPacketsChecked - 1) * kTsPacket)
        return kKindUnknown;
    for (size_t packet = 0; packet < kTsPacketsChecked; ++packet)
        if (data[packet * kTsPacket] != 0x47)
            return kKindUnknown;
    return kKindTransportStream;
}

int64_t FrameTimeFromAviRate(uint32_t scale, uint32_t rate) {
    if (rate == 0)
        return 0;
    return static_cast<int64_t>(10000000ull * scale / rate);
}

int RecogniseFileKind(const char* path, ByteSource& file) {
    if (IsWindowsMediaPath(path))
        return kKindWindowsMedia;
    const int avi = KindFromAviHeader(ParseAviHeader(file, nullptr));
    if (avi != kKindUnknown)
        return avi;
    if (!MayHoldMpegStartCodes(path))
        return kKindUnknown;
    const uint64_t size = file.Size();
    const size_t count = static_cast<size_t>(size < kStartCodeScanBytes ? size : kStartCodeScanBytes);
    std::vector<uint8_t> head(count);
    if (count == 0 || !file.ReadAt(0, head.data(), count))
        return kKindUnknown;
    return ScanMpegStartCodes(head.data(), count);
}

} // namespace qelreader
