#pragma once
// Byte fixtures of the recogniser's tests and fuzz seeds: AVI headers with chosen stream lists and
// hostile sizes, MPEG start codes and transport-stream packets.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace kindtest {

using Bytes = std::vector<uint8_t>;

struct AviOptions {
    uint32_t streamCount = 0xFFFFFFFFu;     // the main header's count; all ones: the number of streams
    uint32_t junkBeforeFirstStream = 0;     // a 'JUNK' chunk with this size field (and no body) first
    uint32_t junkAfterFirstStream = 0;      // a 'JUNK' chunk of this many bytes after the first list
    uint32_t firstListSize = 0;             // overrides the first stream list's size field
};

// A RIFF 'AVI ' file with a header list holding one 'strl' per (type, handler) pair.
Bytes AviWithStreams(const std::vector<std::pair<std::string, std::string>>& streams,
                     const AviOptions& options = AviOptions());
// An MPEG sequence header (00 00 01 B3), with a sequence extension after it when asked.
Bytes SequenceHeader(bool withExtension);
// A pack header (00 00 01 BA) whose next byte is the one given.
Bytes PackHeader(uint8_t next);
// count transport-stream packets of 188 bytes, each starting with 0x47.
Bytes TransportPackets(int count);

} // namespace kindtest
