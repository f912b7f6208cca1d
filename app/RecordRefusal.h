#pragma once
// What the program can tell about a refused recording: whether this system can write Windows Media
// (ASF/WMV) files at all, and the texts that say why a recording was refused when the cause is known.
namespace qelapp {

// Whether the Windows Media ASF writer can be made here (absent without the Windows Media runtime).
bool CanWriteWindowsMedia();

extern const char kWindowsMediaMissingText[];
extern const char kSoundInputRefusedText[];

} // namespace qelapp
