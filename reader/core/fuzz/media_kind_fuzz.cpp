// libFuzzer harness of the file-kind recogniser: every input is parsed as an AVI header and scanned
// for start codes under every kind of name.
#include <cstddef>
#include <cstdint>

#include "media_kind.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    qelreader::MemoryByteSource source(data, size);
    qelreader::AviVideoStream video;
    qelreader::ParseAviHeader(source, &video);
    qelreader::RecogniseFileKind("clip.avi", source);
    qelreader::RecogniseFileKind("clip.mpg", source);
    qelreader::ScanMpegStartCodes(data, size);
    return 0;
}
