// The provisional AVI header and the finishing of a file that kept it: see avi_recovery.h.
#include "avi_recovery.h"

#include <cstring>

namespace avirecovery {

namespace {

constexpr std::uint32_t Fourcc(const char (&text)[5]) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(text[0])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(text[1])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(text[2])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(text[3])) << 24;
}

constexpr std::uint32_t kRiff = Fourcc("RIFF"), kAvi = Fourcc("AVI "), kList = Fourcc("LIST"),
                        kHdrl = Fourcc("hdrl"), kAvih = Fourcc("avih"), kStrl = Fourcc("strl"),
                        kStrh = Fourcc("strh"), kStrf = Fourcc("strf"), kJunk = Fourcc("JUNK"),
                        kMovi = Fourcc("movi"), kIdx1 = Fourcc("idx1"), kVids = Fourcc("vids"),
                        kAuds = Fourcc("auds");
// In the main header's first reserved word: this module wrote the header, so finishing may touch it.
constexpr std::uint32_t kOwnTag = Fourcc("QelR");
constexpr std::size_t kAvihReserved = 40;
constexpr std::uint32_t kAvifHasIndex = 0x10, kAviifKeyframe = 0x10;
constexpr std::size_t kMainHeaderBytes = 56, kStreamHeaderBytes = 56, kBitmapHeaderBytes = 40,
                      kWaveFormatBytes = 16;
// Offsets inside the two headers (after their chunk header) that finishing rewrites.
constexpr std::size_t kAvihTotalFrames = 16, kStrhLength = 32, kStrhSampleSize = 44;
constexpr std::uint64_t kLargestRiff = 0xFFFFFFF0u; // 32-bit sizes and index offsets

std::uint32_t Get32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}
std::uint16_t Get16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }

class Writer {
public:
    void U32(std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            bytes.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
    void U16(std::uint16_t v) {
        bytes.push_back(static_cast<std::uint8_t>(v));
        bytes.push_back(static_cast<std::uint8_t>(v >> 8));
    }
    void Bytes(const std::vector<std::uint8_t>& data) { bytes.insert(bytes.end(), data.begin(), data.end()); }
    void Zeros(std::size_t n) { bytes.insert(bytes.end(), n, 0); }
    // Writes a chunk size later: the place of its size field.
    std::size_t Open(std::uint32_t id) {
        U32(id);
        U32(0);
        return bytes.size() - 4;
    }
    void Close(std::size_t sizeField) {
        const std::uint32_t size = static_cast<std::uint32_t>(bytes.size() - sizeField - 4);
        std::memcpy(&bytes[sizeField], &size, 4); // little-endian hosts only build this
        if (size & 1)
            bytes.push_back(0);
    }
    std::vector<std::uint8_t> bytes;
};

bool Describable(const StreamDescription& stream) {
    return stream.format.size() >= (stream.video ? kBitmapHeaderBytes : kWaveFormatBytes);
}

void StreamList(Writer& out, const StreamDescription& stream) {
    const std::uint8_t* format = stream.format.data();
    const std::size_t strl = out.Open(kList);
    out.U32(kStrl);
    out.U32(kStrh);
    out.U32(static_cast<std::uint32_t>(kStreamHeaderBytes));
    if (stream.video) {
        const std::int64_t frameTime = stream.frameTime > 0 ? stream.frameTime : 333333;
        const std::int32_t height = static_cast<std::int32_t>(Get32(format + 8));
        out.U32(kVids);
        out.U32(Get32(format + 16)); // handler: the compression
        out.U32(0);                  // flags
        out.U16(0);                  // priority
        out.U16(0);                  // language
        out.U32(0);                  // initial frames
        out.U32(static_cast<std::uint32_t>(frameTime));
        out.U32(10000000);
        out.U32(0);                  // start
        out.U32(0);                  // length: written when finished
        out.U32(Get32(format + 20)); // suggested buffer: the image size
        out.U32(0xFFFFFFFFu);        // quality: default
        out.U32(0);                  // sample size: varies
        out.U16(0);
        out.U16(0);
        out.U16(static_cast<std::uint16_t>(Get32(format + 4)));
        out.U16(static_cast<std::uint16_t>(height < 0 ? -height : height));
    } else {
        const std::uint16_t blockAlign = Get16(format + 12);
        out.U32(kAuds);
        out.U32(0);
        out.U32(0);
        out.U16(0);
        out.U16(0);
        out.U32(0);
        out.U32(blockAlign ? blockAlign : 1);
        out.U32(Get32(format + 8)); // average bytes a second
        out.U32(0);
        out.U32(0);
        out.U32(0);
        out.U32(0xFFFFFFFFu);
        out.U32(blockAlign);
        out.Zeros(8);
    }
    const std::size_t strf = out.Open(kStrf);
    out.Bytes(stream.format);
    out.Close(strf);
    out.Close(strl);
}

} // namespace

std::vector<std::uint8_t> ProvisionalHeader(const std::vector<StreamDescription>& streams, std::uint64_t dataStart) {
    if (streams.empty() || dataStart > kLargestRiff)
        return {};
    const StreamDescription* video = nullptr;
    for (const StreamDescription& stream : streams) {
        if (!Describable(stream))
            return {};
        if (stream.video && !video)
            video = &stream;
    }
    Writer out;
    out.U32(kRiff);
    out.U32(0); // unfinished
    out.U32(kAvi);
    const std::size_t hdrl = out.Open(kList);
    out.U32(kHdrl);
    out.U32(kAvih);
    out.U32(static_cast<std::uint32_t>(kMainHeaderBytes));
    const std::int64_t frameTime = video && video->frameTime > 0 ? video->frameTime : 333333;
    out.U32(static_cast<std::uint32_t>(frameTime / 10)); // microseconds a frame
    out.U32(0);
    out.U32(0);
    out.U32(kAvifHasIndex);
    out.U32(0); // total frames: written when finished
    out.U32(0);
    out.U32(static_cast<std::uint32_t>(streams.size()));
    out.U32(video ? Get32(video->format.data() + 20) : 0);
    out.U32(video ? Get32(video->format.data() + 4) : 0);
    const std::int32_t height = video ? static_cast<std::int32_t>(Get32(video->format.data() + 8)) : 0;
    out.U32(static_cast<std::uint32_t>(height < 0 ? -height : height));
    out.U32(kOwnTag);
    out.Zeros(12);
    for (const StreamDescription& stream : streams)
        StreamList(out, stream);
    out.Close(hdrl);
    // The 'movi' list header takes the last 12 bytes; what lies between is a JUNK chunk.
    const std::uint64_t used = out.bytes.size() + 12;
    if (used > dataStart)
        return {};
    const std::uint64_t gap = dataStart - used;
    if (gap != 0 && gap < 8)
        return {};
    if (gap != 0) {
        out.U32(kJunk);
        out.U32(static_cast<std::uint32_t>(gap - 8));
        out.Zeros(static_cast<std::size_t>(gap - 8));
    }
    out.U32(kList);
    out.U32(0); // unfinished
    out.U32(kMovi);
    return out.bytes;
}

bool LooksUnfinished(const std::uint8_t* head, std::size_t length) {
    return length >= 12 && Get32(head) == kRiff && Get32(head + 4) == 0 && Get32(head + 8) == kAvi;
}

namespace {

// Where the header's fields lie, found by walking it.
struct Layout {
    std::uint64_t moviList = 0;              // the 'LIST' of 'movi'
    std::uint64_t avih = 0;                  // the main header's data
    std::vector<std::uint64_t> streamHeaders; // each 'strh' data, in stream order
    std::vector<bool> videoStreams;
    std::vector<std::uint32_t> sampleSizes;   // each 'strh' sample size (0: a chunk is a sample)
};

bool ReadHeaderLayout(RecoveryFile& file, std::uint64_t fileSize, Layout* layout) {
    std::uint64_t at = 12;
    while (at + 12 <= fileSize) {
        std::uint8_t head[12];
        if (!file.ReadAt(at, head, sizeof head))
            return false;
        const std::uint32_t id = Get32(head), size = Get32(head + 4), type = Get32(head + 8);
        if (id == kList && type == kMovi) {
            // Its size may be written already: a finishing that was cut short before the RIFF size.
            layout->moviList = at;
            return layout->avih != 0;
        }
        if (id == kList && type == kHdrl) {
            const std::uint64_t end = at + 8 + static_cast<std::uint64_t>(size);
            std::uint64_t inner = at + 12;
            while (inner + 8 <= end) {
                std::uint8_t chunk[12];
                if (!file.ReadAt(inner, chunk, sizeof chunk))
                    return false;
                const std::uint32_t innerId = Get32(chunk), innerSize = Get32(chunk + 4);
                if (innerId == kAvih && innerSize >= kMainHeaderBytes) {
                    std::uint8_t tag[4];
                    if (!file.ReadAt(inner + 8 + kAvihReserved, tag, sizeof tag))
                        return false;
                    if (Get32(tag) != kOwnTag)
                        return false; // another writer's header: not ours to touch
                    layout->avih = inner + 8;
                }
                if (innerId == kList && Get32(chunk + 8) == kStrl) {
                    std::uint8_t strh[8 + kStreamHeaderBytes];
                    if (!file.ReadAt(inner + 12, strh, sizeof strh))
                        return false;
                    if (Get32(strh) != kStrh || Get32(strh + 4) < kStreamHeaderBytes)
                        return false;
                    layout->streamHeaders.push_back(inner + 20);
                    layout->videoStreams.push_back(Get32(strh + 8) == kVids);
                    layout->sampleSizes.push_back(Get32(strh + 8 + kStrhSampleSize));
                }
                inner += 8 + static_cast<std::uint64_t>(innerSize) + (innerSize & 1); // never wraps
            }
        }
        at += 8 + static_cast<std::uint64_t>(size) + (size & 1);
    }
    return false;
}

// The stream a chunk id names ("00dc", "01wb"...), or -1.
int StreamOf(std::uint32_t id) {
    const char a = static_cast<char>(id & 0xFF), b = static_cast<char>((id >> 8) & 0xFF);
    if (a < '0' || a > '9' || b < '0' || b > '9')
        return -1;
    return (a - '0') * 10 + (b - '0');
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

bool Write32(RecoveryFile& file, std::uint64_t offset, std::uint32_t value) {
    std::uint8_t bytes[4];
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<std::uint8_t>(value >> (8 * i));
    return file.WriteAt(offset, bytes, sizeof bytes);
}

} // namespace

Outcome FinishUnfinishedAvi(RecoveryFile& file, FinishSummary* summary) {
    FinishSummary local;
    FinishSummary& done = summary ? *summary : local;
    done = FinishSummary{};
    std::uint64_t fileSize = 0;
    std::uint8_t head[12];
    if (!file.Size(&fileSize))
        return Outcome::Failed;
    if (fileSize < 12 || !file.ReadAt(0, head, sizeof head) || !LooksUnfinished(head, sizeof head))
        return Outcome::NotUnfinished;
    Layout layout;
    if (!ReadHeaderLayout(file, fileSize, &layout) || layout.streamHeaders.empty())
        return Outcome::NotUnfinished;

    // Walk the whole chunks of 'movi'; stop at the first that is cut off, unwritten (zero) or not a
    // chunk at all, or at an index an interrupted finishing left.
    const std::uint64_t moviData = layout.moviList + 12;
    const std::uint64_t indexBase = layout.moviList + 8; // idx1 offsets count from the 'movi' tag
    std::vector<std::uint8_t> index;
    // Per stream: chunks, or samples where the stream has a fixed sample size.
    std::vector<std::uint64_t> lengths(layout.streamHeaders.size(), 0);
    std::uint64_t at = moviData;
    while (at + 8 <= fileSize) {
        std::uint8_t chunk[8];
        if (!file.ReadAt(at, chunk, sizeof chunk))
            return Outcome::Failed;
        const std::uint32_t id = Get32(chunk), size = Get32(chunk + 4);
        const std::uint64_t next = at + 8 + size + (size & 1);
        if (id == 0 || id == kIdx1 || at + 8 + size > fileSize || next > kLargestRiff)
            break;
        const int stream = StreamOf(id);
        if (stream < 0) {
            const char c0 = static_cast<char>(id & 0xFF);
            const bool known = id == kJunk || id == kList || (c0 == 'i' && static_cast<char>((id >> 8) & 0xFF) == 'x');
            if (!known)
                break;
        } else if (static_cast<std::size_t>(stream) < lengths.size()) {
            Put32(index, id);
            Put32(index, size ? kAviifKeyframe : 0);
            Put32(index, static_cast<std::uint32_t>(at - indexBase));
            Put32(index, size);
            const std::uint32_t sampleSize = layout.sampleSizes[static_cast<std::size_t>(stream)];
            lengths[static_cast<std::size_t>(stream)] += sampleSize ? size / sampleSize : 1;
            ++done.chunks;
            if (layout.videoStreams[static_cast<std::size_t>(stream)])
                ++done.videoFrames;
        }
        at = next > fileSize ? fileSize : next; // a missing pad byte at the very end is harmless
    }
    if (done.chunks == 0)
        return Outcome::NoFrames;
    const std::uint64_t moviEnd = at;
    const std::uint64_t finalSize = moviEnd + 8 + index.size();
    if (finalSize > kLargestRiff)
        return Outcome::Failed;
    done.cutBytes = fileSize - moviEnd;

    // The index first, the sizes after, and the RIFF size (the mark) last.
    if (!file.Truncate(moviEnd))
        return Outcome::Failed;
    std::vector<std::uint8_t> idx1;
    Put32(idx1, kIdx1);
    Put32(idx1, static_cast<std::uint32_t>(index.size()));
    idx1.insert(idx1.end(), index.begin(), index.end());
    if (!file.WriteAt(moviEnd, idx1.data(), idx1.size()))
        return Outcome::Failed;
    std::uint32_t totalFrames = 0;
    for (std::size_t i = 0; i < layout.streamHeaders.size(); ++i) {
        const std::uint32_t length = static_cast<std::uint32_t>(lengths[i]);
        if (!Write32(file, layout.streamHeaders[i] + kStrhLength, length))
            return Outcome::Failed;
        if (layout.videoStreams[i] && totalFrames == 0)
            totalFrames = length;
    }
    if (!Write32(file, layout.avih + kAvihTotalFrames, totalFrames) ||
        !Write32(file, layout.moviList + 4, static_cast<std::uint32_t>(moviEnd - indexBase)) ||
        !Write32(file, 4, static_cast<std::uint32_t>(finalSize - 8)))
        return Outcome::Failed;
    return Outcome::Finished;
}

} // namespace avirecovery
