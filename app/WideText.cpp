#include "WideText.h"

#include <cstring>
#include <vector>

namespace qelapp {

std::wstring Widen(const char* text) {
    if (!text || !*text)
        return std::wstring();
    const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (length <= 1)
        return std::wstring();
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, &wide[0], length);
    wide.resize(static_cast<size_t>(length - 1));
    return wide;
}

std::string NarrowExactly(const wchar_t* text) {
    if (!text || !*text)
        return std::string();
    const int length = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (length <= 1)
        return std::string();
    std::string narrow(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, -1, &narrow[0], length, nullptr, nullptr);
    narrow.resize(static_cast<size_t>(length - 1));
    // The round trip catches both the '?' default and a best-fit letter that would name another file.
    if (Widen(narrow.c_str()) != text)
        return std::string();
    return narrow;
}

std::string AnsiPathOf(const wchar_t* widePath) {
    if (!widePath || !*widePath)
        return std::string();
    std::string exact = NarrowExactly(widePath);
    if (!exact.empty())
        return exact;
    const DWORD needed = GetShortPathNameW(widePath, nullptr, 0);
    if (needed == 0)
        return std::string();
    std::vector<wchar_t> shortPath(needed + 1, L'\0');
    const DWORD length = GetShortPathNameW(widePath, shortPath.data(), needed + 1);
    if (length == 0 || length > needed)
        return std::string();
    return NarrowExactly(shortPath.data());
}

bool NamesOneFile(const char* path) { return path && *path && !std::strpbrk(path, "?*"); }

} // namespace qelapp
