#pragma once
// Class IDs of the platform's Sample Grabber and Null Renderer, which mingw's qedit.h lacks.
#include <windows.h>

namespace vostrel {

// {C1F400A0-3F08-11D3-9F0B-006008039E37}
constexpr GUID kClsidSampleGrabber = {
    0xC1F400A0, 0x3F08, 0x11D3, {0x9F, 0x0B, 0x00, 0x60, 0x08, 0x03, 0x9E, 0x37}};

} // namespace vostrel
