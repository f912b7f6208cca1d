// libFuzzer harness of the PNG-to-DIB decoder: each input is a PNG file. The decoder opens files by
// path, so the input goes into an in-memory file reached through /proc/self/fd. A decoded block must
// agree with its own header, and a failure must leave nothing allocated (the leak check sees it).
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "PngDib.h"
#include "fuzz_reader.h"

namespace {

using qel::fuzzseeds::Check;

// The harness stands for a caller whose memory runs out at 64 MB: larger pictures fail as out of
// memory quickly instead of spending the run's time and memory limits on decoding zeros.
constexpr std::size_t kHarnessMemory = 64u << 20;

struct Allocations {
    int live = 0;
};

void* Allocate(std::size_t bytes, void* context) {
    if (bytes > kHarnessMemory)
        return nullptr;
    void* block = std::calloc(1, bytes);
    if (block)
        ++static_cast<Allocations*>(context)->live;
    return block;
}

void Release(void* block, void* context) {
    --static_cast<Allocations*>(context)->live;
    std::free(block);
}

// One in-memory file for the whole run, rewritten for every input.
const std::string& InputPath() {
    static const std::string path = [] {
        const int fd = memfd_create("png_dib_fuzz", 0);
        if (fd < 0)
            std::abort();
        return "/proc/self/fd/" + std::to_string(fd);
    }();
    return path;
}

int InputFd() { return std::atoi(InputPath().c_str() + sizeof("/proc/self/fd/") - 1); }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const int fd = InputFd();
    if (ftruncate(fd, 0) != 0 || pwrite(fd, data, size, 0) != static_cast<ssize_t>(size))
        std::abort();

    Allocations allocations;
    const PngDibAllocator allocator{Allocate, Release, &allocations};
    const PngDibResult result = DecodePngToDib(InputPath().c_str(), allocator);
    if (result.reason != kPngDibOk) {
        Check(result.block == nullptr);
        Check(allocations.live == 0);
        return 0;
    }
    Check(result.block != nullptr && allocations.live == 1);
    const DibHeaderFields header = ReadDibHeader(result.block);
    Check(header.width > 0 && header.height > 0);
    Check(result.pixelOffset == kDibHeaderBytes + 4 * header.colorsUsed);
    Check(result.blockBytes == result.pixelOffset + static_cast<std::size_t>(header.sizeImage));
    Check(static_cast<std::uint64_t>(header.sizeImage) ==
          DibStride(static_cast<std::uint32_t>(header.width), header.bitCount) * static_cast<std::uint32_t>(header.height));
    Release(result.block, &allocations);
    return 0;
}
