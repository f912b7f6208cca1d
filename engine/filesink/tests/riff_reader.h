#pragma once
// A small reader of AVI files for the tests: the main header, the first video stream's header and
// format, and the video frames actually stored in the 'movi' list.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace rifftest {

struct AviSummary {
    bool riffAvi = false;            // starts with RIFF....AVI
    bool complete = false;           // every chunk lies inside the file, the RIFF size included
    std::uint32_t headerFrames = 0;  // avih dwTotalFrames
    std::uint32_t streams = 0;       // avih dwStreams
    std::int32_t width = 0;          // strf biWidth of the video stream
    std::int32_t height = 0;         // strf biHeight
    std::uint16_t bitCount = 0;
    std::uint32_t videoStreamLength = 0;  // strh dwLength of the video stream
    std::uint32_t storedFrames = 0;       // 'NNdb'/'NNdc' chunks of the video stream in 'movi'
    std::uint32_t firstFrameBytes = 0;
    std::vector<std::size_t> frameOffsets;  // where each stored video frame's data starts
    bool hasIndex = false;                // an 'idx1' chunk
    std::uint32_t indexedFrames = 0;      // its entries for the video stream
    // Those without data: a multiplexer's place holders for frames the source skipped, which a
    // player shows as the frame before (they count in the stream length, not in storedFrames).
    std::uint32_t indexedEmptyFrames = 0;
};

AviSummary ReadAvi(const std::vector<std::uint8_t>& bytes);
// bytes, when given, receives the whole file (frameOffsets point into it).
AviSummary ReadAviFile(const std::wstring& path, std::vector<std::uint8_t>* bytes = nullptr);

} // namespace rifftest
