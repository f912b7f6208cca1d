// The value rules of the user settings file.
#include "UserSettingsFormat.h"

#include <cstdio>
#include <cstring>

namespace qelapp {

namespace {

const char* const kFrameSizes[] = {"128x96", "176x144", "320x240", "352x240", "352x288", "640x480"};
const char* const kColorDepths[] = {"16", "24", "32"};
const char* const kVideoExtensions[] = {".AVI", ".ASF", ".WMV", ".WMV"};
const char* const kImageExtensions[] = {".BMP", ".JPG", ".PNG", ".TIF", ".GIF"};

template <size_t N>
int IndexIn(const char* const (&list)[N], const std::string& text) {
    for (size_t i = 0; i < N; ++i)
        if (text == list[i])
            return static_cast<int>(i);
    return -1;
}

std::string Printed(const char* format, int a, int b) {
    char text[64];
    std::snprintf(text, sizeof text, format, a, b);
    return text;
}

} // namespace

bool ParseMinutesSeconds(const std::string& text, int* seconds) {
    int minutes = 0, rest = 0;
    if (std::sscanf(text.c_str(), "%d:%d", &minutes, &rest) != 2)
        return false;
    const long long total = static_cast<long long>(minutes) * 60 + rest;
    if (total < 0 || total > 0x7FFFFFFF)
        return false;
    *seconds = static_cast<int>(total);
    return true;
}

int ReadCaptureSeconds(const std::string& text) {
    int seconds = kDefaultCaptureSeconds;
    ParseMinutesSeconds(text, &seconds);
    return seconds;
}

int ReadIntervalSeconds(const std::string& text) {
    int seconds = kDefaultIntervalSeconds;
    ParseMinutesSeconds(text, &seconds);
    return seconds < 1 ? 1 : seconds;
}

std::string FormatCaptureTime(int seconds) { return Printed("%3d:%02d", seconds / 60, seconds % 60); }
std::string FormatIntervalTime(int seconds) { return Printed("%02d:%02d", seconds / 60, seconds % 60); }
std::string DefaultCaptureTimeText() {
    return Printed("%d:%d", kDefaultCaptureSeconds / 60, kDefaultCaptureSeconds % 60);
}
std::string DefaultIntervalTimeText() {
    return Printed("%d:%d", kDefaultIntervalSeconds / 60, kDefaultIntervalSeconds % 60);
}

bool ParseSize(const std::string& text, int* width, int* height) {
    int w = 0, h = 0;
    if (std::sscanf(text.c_str(), "%dx%d", &w, &h) != 2 || w < 1 || h < 1)
        return false;
    *width = w;
    *height = h;
    return true;
}

std::string FormatSize(int width, int height) { return Printed("%dx%d", width, height); }

int FrameSizeIndexOf(const std::string& text) { return IndexIn(kFrameSizes, text); }
int ColorDepthIndexOf(const std::string& text) { return IndexIn(kColorDepths, text); }

std::string FrameSizeText(int index) {
    const int count = static_cast<int>(sizeof kFrameSizes / sizeof kFrameSizes[0]);
    return kFrameSizes[index >= 0 && index < count ? index : kDefaultFrameSizeIndex];
}

std::string ColorDepthText(int index) {
    const int count = static_cast<int>(sizeof kColorDepths / sizeof kColorDepths[0]);
    return kColorDepths[index >= 0 && index < count ? index : kDefaultColorDepthIndex];
}

int ValidVideoFileType(int value) { return value >= 0 && value <= 2 ? value : kDefaultVideoFileType; }
int ValidImageFileType(int value) { return value >= 0 && value <= 4 ? value : kDefaultImageFileType; }
int RecordKindOf(int saveFileType) { return saveFileType >= 0 && saveFileType <= 2 ? saveFileType : 3; }

const char* VideoExtension(int videoFileType) {
    return kVideoExtensions[videoFileType >= 0 && videoFileType <= 3 ? videoFileType : kDefaultVideoFileType];
}

const char* ImageExtension(int imageFileType) { return kImageExtensions[ValidImageFileType(imageFileType)]; }

int ValidCount(int count) { return count >= 1 && count <= kMaxCount ? count : 1; }
int NextCount(int count) { return count >= kMaxCount ? 1 : count + 1; }

std::string UsableNamePrefix(const std::string& prefix) {
    const std::size_t cut = prefix.find_last_of("\\/:");
    const std::string last = cut == std::string::npos ? prefix : prefix.substr(cut + 1);
    if (last == "." || last == ".." || (last.empty() && cut != std::string::npos))
        return kDefaultNamePrefix;
    return last;
}

std::string CaptureFileName(const std::string& folder, const std::string& prefix, int count, const char* extension) {
    char number[16];
    std::snprintf(number, sizeof number, "%04d", count);
    return folder + "\\" + UsableNamePrefix(prefix) + number + extension;
}

std::string NextFreeCaptureName(const std::string& folder, const std::string& prefix, int* count,
                                const char* extension, const std::function<bool(const std::string&)>& exists) {
    for (int tries = 0; tries < kMaxCount; ++tries) {
        const std::string name = CaptureFileName(folder, prefix, *count, extension);
        *count = NextCount(*count);
        if (!exists(name))
            return name;
    }
    return std::string();
}

} // namespace qelapp
