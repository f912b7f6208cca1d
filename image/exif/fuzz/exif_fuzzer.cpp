// libFuzzer harness: each input, as a memory FILE*, goes through the EXIF reader's marker walk.
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "Exif.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    FILE* file = fmemopen(const_cast<std::uint8_t*>(data), size, "rb");
    if (!file)
        return 0;
    CExif exif;
    exif.DecodeExif(file);
    std::fclose(file);
    return 0;
}
