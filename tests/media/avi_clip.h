#pragma once
// Synthetic test clips: uncompressed RGB24 AVI files (optionally with 16-bit PCM sound) whose every
// pixel is known, so that a test can check a decoded frame byte for byte. Platform-neutral.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace qelmedia {

// The clip a test writes: picture size, frame rate and length, and whether it carries sound.
struct AviClipFormat {
    int width = 64;
    int height = 48;
    int framesPerSecond = 10;
    int frameCount = 30;
    bool withAudio = false;
    int audioSampleRate = 8000; // mono PCM
    int audioBitsPerSample = 16; // 16 (signed) or 8 (unsigned)
    // false: a square tone. true: a ramp that names each sample's place in the track (16-bit: the
    // value steps by 7 every sample; 8-bit: by 1 every 40 samples), so a cut range shows where it lies.
    bool audioRamp = false;
};

struct Bgr {
    uint8_t blue;
    uint8_t green;
    uint8_t red;
};

// The colour of pixel (x, y) of frame `frame`, y counted from the top row of the picture. Each frame
// differs from the next in every pixel (red steps by 8 a frame), so a decoded frame names its index.
Bgr ClipPixel(int frame, int x, int y);

// Bytes in one RGB24 row: three per pixel, padded to a multiple of four.
size_t Rgb24Stride(int width);

// The frame's pixels as a bottom-up RGB24 DIB (last picture row first), Rgb24Stride(width) a row,
// padding bytes zero.
std::vector<uint8_t> ClipFrame(int frame, int width, int height);

// The complete AVI file of the clip (RIFF 'AVI ' with header list, 'movi' list and 'idx1' index).
// An empty result means the clip cannot be made (non-positive sizes or counts).
std::vector<uint8_t> BuildAviClip(const AviClipFormat& clip);

// Writes BuildAviClip(clip) to path; false when the clip cannot be made or the file cannot be written.
bool WriteAviClip(const std::string& path, const AviClipFormat& clip);

// Audio samples the clip carries with each video frame (sample rate / frame rate, rounded down).
int AudioSamplesPerFrame(const AviClipFormat& clip);

// The PCM bytes of count samples of the clip's sound track from sample first on (little-endian).
std::vector<uint8_t> ClipAudioBytes(const AviClipFormat& clip, long first, long count);

} // namespace qelmedia
