#include "kind_fixtures.h"

#include <cstring>

namespace kindtest {
namespace {

void Put32(Bytes& out, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}
void PutCode(Bytes& out, const std::string& code) {
    for (size_t i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(i < code.size() ? code[i] : ' '));
}
void Patch32(Bytes& out, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        out[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

} // namespace

Bytes AviWithStreams(const std::vector<std::pair<std::string, std::string>>& streams, const AviOptions& options) {
    Bytes out;
    PutCode(out, "RIFF");
    Put32(out, 0);
    PutCode(out, "AVI ");
    PutCode(out, "LIST");
    const size_t hdrlSize = out.size();
    Put32(out, 0);
    PutCode(out, "hdrl");
    PutCode(out, "avih");
    Put32(out, 56);
    for (int i = 0; i < 14; ++i)
        Put32(out, i == 6 ? (options.streamCount == 0xFFFFFFFFu ? static_cast<uint32_t>(streams.size())
                                                                 : options.streamCount)
                          : 0);
    if (options.junkBeforeFirstStream) {
        PutCode(out, "JUNK");
        Put32(out, options.junkBeforeFirstStream);
    }
    bool first = true;
    for (const auto& stream : streams) {
        PutCode(out, "LIST");
        const size_t listSize = out.size();
        Put32(out, 0);
        PutCode(out, "strl");
        PutCode(out, "strh");
        Put32(out, 56);
        PutCode(out, stream.first);
        if (stream.second.empty())
            Put32(out, 0);
        else
            PutCode(out, stream.second);
        for (int i = 0; i < 3; ++i)
            Put32(out, 0); // flags, priority and language, initial frames
        Put32(out, 1);     // scale
        Put32(out, 25);    // rate
        for (int i = 0; i < 7; ++i)
            Put32(out, 0);
        Patch32(out, listSize, first && options.firstListSize ? options.firstListSize
                                                               : static_cast<uint32_t>(out.size() - listSize - 4));
        if (first && options.junkAfterFirstStream) {
            PutCode(out, "JUNK");
            Put32(out, options.junkAfterFirstStream);
            out.insert(out.end(), options.junkAfterFirstStream, 0);
        }
        first = false;
    }
    Patch32(out, hdrlSize, static_cast<uint32_t>(out.size() - hdrlSize - 4));
    PutCode(out, "LIST");
    Put32(out, 4);
    PutCode(out, "movi");
    Patch32(out, 4, static_cast<uint32_t>(out.size() - 8));
    return out;
}

Bytes SequenceHeader(bool withExtension) {
    Bytes out(16, 0xFF);
    const uint8_t code[] = {0, 0, 1, 0xB3, 0x14, 0x00, 0xF0, 0x13};
    out.insert(out.end(), code, code + sizeof code);
    out.insert(out.end(), 8, 0x55);
    if (withExtension) {
        const uint8_t extension[] = {0, 0, 1, 0xB5, 0x14, 0x8A};
        out.insert(out.end(), extension, extension + sizeof extension);
    }
    out.insert(out.end(), 4, 0xFF);
    return out;
}

Bytes PackHeader(uint8_t next) {
    Bytes out = {0xFF, 0xFF, 0, 0, 1, 0xBA, next, 0x01, 0x02, 0x03, 0x04, 0x05};
    return out;
}

Bytes TransportPackets(int count) {
    Bytes out(static_cast<size_t>(count) * 188, 0xFF);
    for (int i = 0; i < count; ++i)
        out[static_cast<size_t>(i) * 188] = 0x47;
    return out;
}

} // namespace kindtest
