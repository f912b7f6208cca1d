#include "wav_file.h"

#include <fstream>

namespace qelmedia {
namespace {

void Put16(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

void PutId(std::vector<uint8_t>& out, const char* id) { out.insert(out.end(), id, id + 4); }

} // namespace

std::vector<uint8_t> BuildWavFile(const AviClipFormat& clip) {
    if (clip.audioSampleRate <= 0 || (clip.audioBitsPerSample != 8 && clip.audioBitsPerSample != 16) ||
        clip.framesPerSecond <= 0 || clip.frameCount <= 0)
        return {};
    const long samples = static_cast<long>(AudioSamplesPerFrame(clip)) * clip.frameCount;
    const std::vector<uint8_t> pcm = ClipAudioBytes(clip, 0, samples);
    const uint32_t blockAlign = static_cast<uint32_t>(clip.audioBitsPerSample / 8);
    std::vector<uint8_t> out;
    PutId(out, "RIFF");
    Put32(out, static_cast<uint32_t>(4 + 8 + 16 + 8 + pcm.size()));
    PutId(out, "WAVE");
    PutId(out, "fmt ");
    Put32(out, 16);
    Put16(out, 1);   // PCM
    Put16(out, 1);   // mono
    Put32(out, static_cast<uint32_t>(clip.audioSampleRate));
    Put32(out, static_cast<uint32_t>(clip.audioSampleRate) * blockAlign);
    Put16(out, blockAlign);
    Put16(out, static_cast<uint32_t>(clip.audioBitsPerSample));
    PutId(out, "data");
    Put32(out, static_cast<uint32_t>(pcm.size()));
    out.insert(out.end(), pcm.begin(), pcm.end());
    if (pcm.size() % 2)
        out.push_back(0);   // chunks are word-aligned
    return out;
}

bool WriteWavFile(const std::string& path, const AviClipFormat& clip) {
    const std::vector<uint8_t> bytes = BuildWavFile(clip);
    if (bytes.empty())
        return false;
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}

} // namespace qelmedia
