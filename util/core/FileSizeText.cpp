#include "FileSizeText.h"

#include "BoundedText.h"

#include <cstdio>

namespace qel::text {
namespace {
constexpr char kBuiltInUnits[] = "GB\0MB\0KB";
constexpr int kBuiltInStride = 3;
constexpr uint32_t kBuiltInDivisors[] = {1073741824u, 1048576u, 1024u};
} // namespace

bool FormatFileSize(char* out, std::size_t outSize, uint32_t size, const char* numberFormat,
                    const char* units, int stride, const uint32_t* divisors) {
    if (!out || outSize == 0)
        return false;
    if (!numberFormat)
        numberFormat = "%.2f";
    if (!units) {
        units = kBuiltInUnits;
        stride = kBuiltInStride;
    }
    if (!divisors)
        divisors = kBuiltInDivisors;
    int unit = 2;
    if (size > divisors[0])
        unit = 0;
    else if (size > divisors[1])
        unit = 1;

    char number[64];
    const int written = std::snprintf(number, sizeof number, numberFormat,
                                      static_cast<double>(size) / static_cast<double>(divisors[unit]));
    if (written < 0 || static_cast<std::size_t>(written) >= sizeof number) {
        out[0] = '\0';
        return false;
    }
    if (JoinBounded(out, outSize, {number, " ", units + unit * stride}))
        return true;
    out[0] = '\0';
    return false;
}

} // namespace qel::text
