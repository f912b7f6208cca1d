#include "core/overlay_path.h"

namespace {

constexpr const wchar_t* kFrameImageExtensions[] = {L".png"};

wchar_t LowerAscii(wchar_t c) {
    return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

}  // namespace

bool IsFramePathLengthAccepted(size_t length) {
    return length >= 1 && length <= kMaxFramePathLength;
}

bool HasFrameImageExtension(const std::wstring& path) {
    const size_t dot = path.rfind(L'.');
    if (dot == std::wstring::npos)
        return false;
    std::wstring extension = path.substr(dot);
    for (wchar_t& c : extension)
        c = LowerAscii(c);
    for (const wchar_t* accepted : kFrameImageExtensions)
        if (extension.compare(0, std::wstring(accepted).size(), accepted) == 0)
            return true;
    return false;
}
