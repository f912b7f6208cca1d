// libFuzzer harness of the user settings values: the input's head is a stored number (a counter, a
// file type, an index) and how many capture names are taken; its rest is a value text, read as every
// text key of the file (times, sizes, list entries). What is read is printed back and must read again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "UserSettingsFormat.h"
#include "fuzz_reader.h"

namespace {

using qel::fuzzseeds::Check;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qelapp;
    qel::fuzzseeds::FuzzReader in(data, size);
    const int number = in.I32();
    int taken = in.U8();
    const std::string stored = in.Rest();
    const std::string text = stored.c_str(); // the settings reader's text ends at a nul

    int seconds = -1;
    if (ParseMinutesSeconds(text, &seconds)) {
        Check(seconds >= 0);
        int again = -1;
        Check(ParseMinutesSeconds(FormatCaptureTime(seconds), &again) && again == seconds);
        Check(ParseMinutesSeconds(FormatIntervalTime(seconds), &again) && again == seconds);
    }
    Check(ReadCaptureSeconds(text) >= 0);
    Check(ReadIntervalSeconds(text) >= 1);

    int width = 0, height = 0;
    if (ParseSize(text, &width, &height)) {
        Check(width >= 1 && height >= 1);
        int w = 0, h = 0;
        Check(ParseSize(FormatSize(width, height), &w, &h) && w == width && h == height);
    }
    const int frameSize = FrameSizeIndexOf(text);
    Check(frameSize < 0 || FrameSizeText(frameSize) == text);
    const int depth = ColorDepthIndexOf(text);
    Check(depth < 0 || ColorDepthText(depth) == text);

    FormatCaptureTime(number);
    FormatIntervalTime(number);
    FrameSizeText(number);
    ColorDepthText(number);
    Check(std::strlen(VideoExtension(ValidVideoFileType(number))) == 4);
    Check(std::strlen(VideoExtension(RecordKindOf(number))) == 4);
    Check(std::strlen(ImageExtension(number)) == 4);

    // The numbered capture names: the first `taken` counters from the stored one are in use.
    const int first = ValidCount(number);
    Check(first >= 1 && first <= kMaxCount);
    int count = first;
    const std::string name = NextFreeCaptureName(text, "DREM", &count, ".JPG", [&](const std::string&) {
        return taken-- > 0;
    });
    Check(!name.empty());
    Check(count >= 1 && count <= kMaxCount);
    return 0;
}
