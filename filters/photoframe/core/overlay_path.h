// Which frame-image paths the photo frame takes.
#pragma once

#include <cstddef>
#include <string>

// Paths of 1 to 259 characters fit the 260-character buffers the path travels in.
inline constexpr size_t kMaxFramePathLength = 259;

bool IsFramePathLengthAccepted(size_t length);

// The extension, from the last '.' and lower-cased, must begin with ".png".
bool HasFrameImageExtension(const std::wstring& path);
