#pragma once
// Test PNG files written with libpng, and raw chunk files for crafted headers. Platform-neutral.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct PngSpec {
    std::uint32_t width = 1;
    std::uint32_t height = 1;
    int colorType = 2;   // PNG colour type
    int bitDepth = 8;
    bool interlaced = false;
    // Rows as the PNG stores them: packed below 8 bits, big-endian 16-bit samples.
    std::vector<std::vector<std::uint8_t>> rows;
    std::vector<std::uint8_t> paletteRgb; // red, green, blue per entry (colour type 3)
    bool withPhys = false;
    std::uint32_t physX = 0;
    std::uint32_t physY = 0;
    int physUnit = 1; // 1 metre, 0 unknown
};

// A spec whose rows hold sample(x, y, channel) for every pixel and channel of the colour type, packed
// as the PNG stores them (below 8 bits packed, 16 bits big-endian). No palette.
PngSpec SpecFromSamples(std::uint32_t width, std::uint32_t height, int colorType, int bitDepth,
                        const std::function<unsigned(std::uint32_t, std::uint32_t, int)>& sample);

// The samples per pixel of a PNG colour type.
int PngChannels(int colorType);

// Writes the PNG; false when libpng refuses.
bool WritePng(const std::string& path, const PngSpec& spec);

// Writes bytes as a file.
bool WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);
std::vector<std::uint8_t> ReadBytes(const std::string& path);

// A PNG of signature, IHDR (as given, correct CRC), one small IDAT and IEND: for headers libpng's
// writer would not produce.
std::vector<std::uint8_t> CraftedPng(std::uint32_t width, std::uint32_t height, int bitDepth, int colorType);

// A few dozen bytes: a valid header, then a text chunk whose length claims about 1.6 GB.
std::vector<std::uint8_t> ChunkBombPng();

// Sets one packed sample of `bits` bits at pixel x in a row (most significant bits first).
void PutPackedSample(std::vector<std::uint8_t>& row, std::uint32_t x, int bits, unsigned value);

// A fresh folder for test files (removed by the destructor) and a path in it.
class TestFolder {
public:
    TestFolder();
    ~TestFolder();
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;
    std::string File(const std::string& name) const;

private:
    std::string path_;
};
