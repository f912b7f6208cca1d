#pragma once
// Sound-only test media: a PCM WAV file carrying the sound track of a generated clip, so that a test
// can probe a file with audio and no video. Platform-neutral.
#include <cstdint>
#include <string>
#include <vector>

#include "avi_clip.h"

namespace qelmedia {

// The RIFF/WAVE bytes of the clip's whole sound track (frameCount frames long, mono PCM at the clip's
// rate and sample size); empty when the format cannot be written.
std::vector<uint8_t> BuildWavFile(const AviClipFormat& clip);

// Writes BuildWavFile(clip) to path; false when it cannot be made or written.
bool WriteWavFile(const std::string& path, const AviClipFormat& clip);

} // namespace qelmedia
