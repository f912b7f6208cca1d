#pragma once
// What the program can tell about a refused recording: whether this system can write Windows Media
// (ASF/WMV) files at all, and the text that says why a recording was refused.
#include <string>

namespace qelapp {

// Whether the Windows Media ASF writer can be made here (absent without the Windows Media runtime).
bool CanWriteWindowsMedia();

extern const char kWindowsMediaMissingText[];
extern const char kSoundInputRefusedText[];
extern const char kPreviewLostText[];

// The text of a start's status bits, the first that names a failure winning: 0x2 "Video Compression
// Error", 0x4 the sound input's refusal, 0x8 "Audio Compression Error", 0x8000 without 0x10 "Unknown
// Error" (or, for a Windows Media kind on a system without its writer, that the writer is missing),
// 0x10 "Invalid filename.\n". Empty when the bits name no failure. A preview that could not be
// brought back adds its own paragraph.
std::string RefusalText(int status, bool windowsMediaWriterMissing);

} // namespace qelapp
