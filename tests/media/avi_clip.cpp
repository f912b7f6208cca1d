#include "avi_clip.h"

#include <fstream>

namespace qelmedia {
namespace {

// Little-endian RIFF building: chunks are written with a placeholder size that is patched on close.
class RiffWriter {
public:
    void FourCC(const char* code) { bytes_.insert(bytes_.end(), code, code + 4); }
    void U16(uint32_t value) {
        bytes_.push_back(static_cast<uint8_t>(value));
        bytes_.push_back(static_cast<uint8_t>(value >> 8));
    }
    void U32(uint32_t value) {
        U16(value & 0xFFFF);
        U16(value >> 16);
    }
    void Bytes(const uint8_t* data, size_t size) { bytes_.insert(bytes_.end(), data, data + size); }

    // Opens a chunk (or a RIFF/LIST with its form type) and returns the position of its size field.
    size_t Open(const char* id, const char* form = nullptr) {
        FourCC(id);
        const size_t sizeAt = bytes_.size();
        U32(0);
        if (form)
            FourCC(form);
        return sizeAt;
    }
    void Close(size_t sizeAt) {
        const uint32_t size = static_cast<uint32_t>(bytes_.size() - sizeAt - 4);
        for (int i = 0; i < 4; ++i)
            bytes_[sizeAt + i] = static_cast<uint8_t>(size >> (8 * i));
        if (size & 1)
            bytes_.push_back(0); // chunks start on even offsets
    }
    size_t Size() const { return bytes_.size(); }
    std::vector<uint8_t> Take() { return std::move(bytes_); }

private:
    std::vector<uint8_t> bytes_;
};

struct IndexEntry {
    const char* id;
    uint32_t offset; // from the 'movi' form type
    uint32_t size;
};

constexpr uint32_t kAvifHasIndex = 0x10;
constexpr uint32_t kAvifIsInterleaved = 0x100;
constexpr uint32_t kAviifKeyframe = 0x10;

bool Usable(const AviClipFormat& clip) {
    return clip.width > 0 && clip.height > 0 && clip.framesPerSecond > 0 && clip.frameCount > 0 &&
           (!clip.withAudio || (clip.audioSampleRate >= clip.framesPerSecond &&
                                (clip.audioBitsPerSample == 8 || clip.audioBitsPerSample == 16)));
}

uint32_t AudioBlockAlign(const AviClipFormat& clip) { return clip.audioBitsPerSample == 8 ? 1 : 2; }

void WriteStreamHeader(RiffWriter& riff, const char* type, const char* handler, uint32_t scale, uint32_t rate,
                       uint32_t length, uint32_t bufferSize, uint32_t sampleSize, int width, int height) {
    const size_t strh = riff.Open("strh");
    riff.FourCC(type);
    if (handler)
        riff.FourCC(handler);
    else
        riff.U32(0);
    riff.U32(0); // flags
    riff.U16(0); // priority
    riff.U16(0); // language
    riff.U32(0); // initial frames
    riff.U32(scale);
    riff.U32(rate);
    riff.U32(0); // start
    riff.U32(length);
    riff.U32(bufferSize);
    riff.U32(0xFFFFFFFF); // quality: default
    riff.U32(sampleSize);
    riff.U16(0); // frame rectangle
    riff.U16(0);
    riff.U16(static_cast<uint32_t>(width));
    riff.U16(static_cast<uint32_t>(height));
    riff.Close(strh);
}

// The tone of the sound track: a square wave of sample rate / 20 Hz at a quarter of full scale.
int16_t AudioSample(const AviClipFormat& clip, long index) {
    const long period = clip.audioSampleRate / 400 > 0 ? clip.audioSampleRate / 400 : 1;
    return (index / period) % 2 ? 8192 : -8192;
}

// One sample's bytes in the clip's format.
void PutAudioSample(const AviClipFormat& clip, long index, uint8_t* out) {
    if (clip.audioBitsPerSample == 8) {
        if (clip.audioRamp)
            out[0] = static_cast<uint8_t>((index / 40) % 256);
        else
            out[0] = static_cast<uint8_t>(AudioSample(clip, index) > 0 ? 0xA0 : 0x60);
        return;
    }
    const uint16_t sample = clip.audioRamp ? static_cast<uint16_t>(index * 7)
                                           : static_cast<uint16_t>(AudioSample(clip, index));
    out[0] = static_cast<uint8_t>(sample);
    out[1] = static_cast<uint8_t>(sample >> 8);
}

} // namespace

Bgr ClipPixel(int frame, int x, int y) {
    return Bgr{static_cast<uint8_t>(x * 4 + frame), static_cast<uint8_t>(y * 5 + 3),
               static_cast<uint8_t>(frame * 8 + 16)};
}

size_t Rgb24Stride(int width) {
    return (static_cast<size_t>(width) * 3 + 3) & ~static_cast<size_t>(3);
}

std::vector<uint8_t> ClipFrame(int frame, int width, int height) {
    const size_t stride = Rgb24Stride(width);
    std::vector<uint8_t> pixels(stride * static_cast<size_t>(height), 0);
    for (int row = 0; row < height; ++row) {
        uint8_t* out = pixels.data() + static_cast<size_t>(row) * stride;
        const int y = height - 1 - row; // bottom-up: the first stored row is the bottom of the picture
        for (int x = 0; x < width; ++x) {
            const Bgr pixel = ClipPixel(frame, x, y);
            out[3 * x] = pixel.blue;
            out[3 * x + 1] = pixel.green;
            out[3 * x + 2] = pixel.red;
        }
    }
    return pixels;
}

int AudioSamplesPerFrame(const AviClipFormat& clip) {
    return clip.framesPerSecond > 0 ? clip.audioSampleRate / clip.framesPerSecond : 0;
}

std::vector<uint8_t> ClipAudioBytes(const AviClipFormat& clip, long first, long count) {
    const uint32_t blockAlign = AudioBlockAlign(clip);
    std::vector<uint8_t> bytes(count > 0 ? static_cast<size_t>(count) * blockAlign : 0);
    for (long i = 0; i < count; ++i)
        PutAudioSample(clip, first + i, bytes.data() + static_cast<size_t>(i) * blockAlign);
    return bytes;
}

std::vector<uint8_t> BuildAviClip(const AviClipFormat& clip) {
    if (!Usable(clip))
        return {};
    const uint32_t frameBytes = static_cast<uint32_t>(Rgb24Stride(clip.width) * clip.height);
    const int samplesPerFrame = clip.withAudio ? AudioSamplesPerFrame(clip) : 0;
    const uint32_t blockAlign = AudioBlockAlign(clip);
    const uint32_t audioBytesPerFrame = static_cast<uint32_t>(samplesPerFrame) * blockAlign;
    const uint32_t streams = clip.withAudio ? 2 : 1;

    RiffWriter riff;
    const size_t file = riff.Open("RIFF", "AVI ");

    const size_t hdrl = riff.Open("LIST", "hdrl");
    const size_t avih = riff.Open("avih");
    riff.U32(static_cast<uint32_t>(1000000 / clip.framesPerSecond)); // microseconds a frame
    riff.U32((frameBytes + audioBytesPerFrame) * static_cast<uint32_t>(clip.framesPerSecond)); // max bytes/s
    riff.U32(0); // padding granularity
    riff.U32(kAvifHasIndex | kAvifIsInterleaved);
    riff.U32(static_cast<uint32_t>(clip.frameCount));
    riff.U32(0); // initial frames
    riff.U32(streams);
    riff.U32(frameBytes > audioBytesPerFrame ? frameBytes : audioBytesPerFrame); // suggested buffer size
    riff.U32(static_cast<uint32_t>(clip.width));
    riff.U32(static_cast<uint32_t>(clip.height));
    for (int i = 0; i < 4; ++i)
        riff.U32(0);
    riff.Close(avih);

    const size_t videoList = riff.Open("LIST", "strl");
    WriteStreamHeader(riff, "vids", "DIB ", 1, static_cast<uint32_t>(clip.framesPerSecond),
                      static_cast<uint32_t>(clip.frameCount), frameBytes, 0, clip.width, clip.height);
    const size_t videoFormat = riff.Open("strf");
    riff.U32(40); // BITMAPINFOHEADER
    riff.U32(static_cast<uint32_t>(clip.width));
    riff.U32(static_cast<uint32_t>(clip.height)); // positive: bottom-up rows
    riff.U16(1);                                  // planes
    riff.U16(24);                                 // bits a pixel
    riff.U32(0);                                  // BI_RGB
    riff.U32(frameBytes);
    for (int i = 0; i < 4; ++i)
        riff.U32(0); // resolutions, colours
    riff.Close(videoFormat);
    riff.Close(videoList);

    if (clip.withAudio) {
        const uint32_t rate = static_cast<uint32_t>(clip.audioSampleRate);
        const size_t audioList = riff.Open("LIST", "strl");
        WriteStreamHeader(riff, "auds", nullptr, blockAlign, rate * blockAlign,
                          static_cast<uint32_t>(samplesPerFrame) * static_cast<uint32_t>(clip.frameCount),
                          audioBytesPerFrame, blockAlign, 0, 0);
        const size_t audioFormat = riff.Open("strf");
        riff.U16(1); // WAVE_FORMAT_PCM
        riff.U16(1); // mono
        riff.U32(rate);
        riff.U32(rate * blockAlign); // bytes a second
        riff.U16(blockAlign);        // block align
        riff.U16(static_cast<uint32_t>(clip.audioBitsPerSample));
        riff.U16(0);        // no extra format bytes
        riff.Close(audioFormat);
        riff.Close(audioList);
    }
    riff.Close(hdrl);

    std::vector<IndexEntry> index;
    const size_t movi = riff.Open("LIST", "movi");
    const size_t moviFormType = movi + 4;
    std::vector<uint8_t> audio(audioBytesPerFrame);
    long audioSample = 0;
    for (int frame = 0; frame < clip.frameCount; ++frame) {
        index.push_back({"00db", static_cast<uint32_t>(riff.Size() - moviFormType), frameBytes});
        const size_t video = riff.Open("00db");
        const std::vector<uint8_t> pixels = ClipFrame(frame, clip.width, clip.height);
        riff.Bytes(pixels.data(), pixels.size());
        riff.Close(video);
        if (clip.withAudio) {
            for (int i = 0; i < samplesPerFrame; ++i)
                PutAudioSample(clip, audioSample++, audio.data() + static_cast<size_t>(i) * blockAlign);
            index.push_back({"01wb", static_cast<uint32_t>(riff.Size() - moviFormType), audioBytesPerFrame});
            const size_t sound = riff.Open("01wb");
            riff.Bytes(audio.data(), audio.size());
            riff.Close(sound);
        }
    }
    riff.Close(movi);

    const size_t idx1 = riff.Open("idx1");
    for (const IndexEntry& entry : index) {
        riff.FourCC(entry.id);
        riff.U32(kAviifKeyframe);
        riff.U32(entry.offset);
        riff.U32(entry.size);
    }
    riff.Close(idx1);
    riff.Close(file);
    return riff.Take();
}

bool WriteAviClip(const std::string& path, const AviClipFormat& clip) {
    const std::vector<uint8_t> bytes = BuildAviClip(clip);
    if (bytes.empty())
        return false;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out)
        return false;
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out.flush());
}

} // namespace qelmedia
