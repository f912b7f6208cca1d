#pragma once
// A byte count as a short text with its unit: GB above 1 GiB, MB above 1 MiB, else KB (so sizes below
// 1024 bytes print as fractions of a KB, and exactly 1 MiB as 1024.00 KB). Platform-neutral.
#include <cstddef>
#include <cstdint>

namespace qel::text {

// Writes "<number> <unit>" into out of `outSize` bytes. numberFormat formats one double (null:
// "%.2f"); units holds three unit names, each `stride` bytes after the one before (null: "GB", "MB",
// "KB" at stride 3, whatever stride says); divisors holds the GB and MB divisors and the KB divisor
// (null: 1073741824, 1048576, 1024). False when out is null or the text does not fit (out then empty).
bool FormatFileSize(char* out, std::size_t outSize, uint32_t size, const char* numberFormat,
                    const char* units, int stride, const uint32_t* divisors);

} // namespace qel::text
