#pragma once
// Test pictures: PNG files with transparency, written through GDI+'s own encoder.
#include <windows.h>

#include <string>
#include <vector>

namespace pngtest {

struct Argb {
    BYTE a, r, g, b;
};

// Writes a PNG of width x height from pixels given row by row, top row first.
bool WritePng(const std::wstring& path, int width, int height, const std::vector<Argb>& topDownPixels);

}  // namespace pngtest
