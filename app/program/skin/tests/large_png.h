#pragma once
// A real, valid PNG of any size written row by row (grey, 8 bits, every pixel black), so a test can
// hand the program a picture of 20000 x 20000 pixels in a file of a few megabytes.
#include <cstdint>
#include <string>

namespace programtest {

bool WriteBlackPng(const std::string& path, std::uint32_t width, std::uint32_t height);

} // namespace programtest
