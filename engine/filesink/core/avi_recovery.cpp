// The provisional AVI header the file sink writes while recording: see avi_recovery.h.
#include "avi_recovery.h"

#include <cstring>

#include "riff_words.h"

namespace avirecovery {

namespace {

constexpr std::uint32_t kAvifHasIndex = 0x10;
constexpr std::size_t kMainHeaderBytes = 56, kStreamHeaderBytes = 56, kBitmapHeaderBytes = 40,
                      kWaveFormatBytes = 16;

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

} // namespace avirecovery
