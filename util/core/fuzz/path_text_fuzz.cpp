// libFuzzer harness of the path and size texts: the input's head chooses buffer sizes, a byte count
// and unit divisors, its rest is a path. The path is split, copied and joined into buffers of those
// sizes (each guarded by a canary past its end), and the count is printed as a size text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "BoundedText.h"
#include "FileSizeText.h"
#include "PathParts.h"
#include "fuzz_reader.h"

namespace {

using qel::fuzzseeds::Check;

// A buffer of `size` bytes followed by canaries that no bounded write may touch.
struct GuardedBuffer {
    explicit GuardedBuffer(std::size_t size) : bytes(size + kGuard, '#'), size(size) {}
    char* Data() { return bytes.data(); }
    bool Intact() const {
        for (std::size_t i = size; i < bytes.size(); ++i)
            if (bytes[i] != '#')
                return false;
        return true;
    }
    static constexpr std::size_t kGuard = 8;
    std::vector<char> bytes;
    std::size_t size;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    qel::fuzzseeds::FuzzReader in(data, size);
    const std::size_t shortSize = in.U8() % 64;
    const std::size_t bufferSize = shortSize + ((in.U8() & 1) ? qel::text::kPathBytes : 0);
    const std::uint32_t byteCount = in.U32();
    std::uint32_t divisors[3] = {in.U32(), in.U32(), in.U32()};
    const bool ownDivisors = (in.U8() & 1) != 0;
    const std::string path = in.Rest();
    const char* text = path.c_str();

    const qel::path::PathParts parts = qel::path::SplitPath(text);
    Check(parts.drive.size() + parts.folder.size() + parts.name.size() + parts.extension.size() <= std::strlen(text));

    GuardedBuffer copy(bufferSize);
    const bool copied = qel::text::CopyBounded(copy.Data(), bufferSize, text);
    Check(copy.Intact());
    Check(copied == (std::strlen(text) < bufferSize));
    if (copied)
        Check(std::strcmp(copy.Data(), text) == 0);

    GuardedBuffer joined(bufferSize);
    if (bufferSize)
        joined.Data()[0] = '\0';
    qel::text::JoinBounded(joined.Data(), bufferSize,
                           {parts.drive.c_str(), parts.folder.c_str(), parts.name.c_str(), parts.extension.c_str()});
    Check(joined.Intact());

    GuardedBuffer sizeText(bufferSize);
    qel::text::FormatFileSize(sizeText.Data(), bufferSize, byteCount, nullptr, nullptr, 0,
                              ownDivisors ? divisors : nullptr);
    Check(sizeText.Intact());
    return 0;
}
