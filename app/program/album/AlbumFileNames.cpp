#include "AlbumFileNames.h"

#include <windows.h>

#include <string>
#include <vector>

#include "AlbumRules.h"
#include "WideText.h"

namespace {

// The text in the code page, '?' for what it lacks: for showing, never for opening.
CString NarrowForShow(const wchar_t* text) {
    const int length = ::WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (length <= 1)
        return CString();
    std::vector<char> narrow(static_cast<size_t>(length), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text, -1, narrow.data(), length, nullptr, nullptr);
    return CString(narrow.data());
}

CString LastPart(const CString& path) {
    const int slash = path.ReverseFind('\\');
    return slash < 0 ? path : path.Mid(slash + 1);
}

std::wstring LastPart(const std::wstring& path) {
    const size_t slash = path.find_last_of(L'\\');
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

} // namespace

CString AlbumEntryName(const CString& folder, const WIN32_FIND_DATAW& entry) {
    const std::string exact = qelapp::NarrowExactly(entry.cFileName);
    if (!exact.empty() && NamesOneFile(exact.c_str()))
        return CString(exact.c_str());
    const std::string listedShort = qelapp::NarrowExactly(entry.cAlternateFileName);
    if (!listedShort.empty() && NamesOneFile(listedShort.c_str()))
        return CString(listedShort.c_str());
    // Some file systems leave the listing's short name empty but make one on request.
    const std::wstring full = qelapp::Widen(folder) + L"\\" + entry.cFileName;
    const std::string reached = qelapp::AnsiPathOf(full.c_str());
    if (!reached.empty() && NamesOneFile(reached.c_str()))
        return LastPart(CString(reached.c_str()));
    return NarrowForShow(entry.cFileName);
}

CString FileNameAsShown(const char* path) {
    if (!NamesOneFile(path))
        return LastPart(CString(path));
    const std::wstring wide = qelapp::Widen(path);
    const DWORD needed = ::GetLongPathNameW(wide.c_str(), nullptr, 0);
    if (needed == 0)
        return LastPart(CString(path)); // gone: the name the album had
    std::vector<wchar_t> longPath(needed + 1, L'\0');
    if (::GetLongPathNameW(wide.c_str(), longPath.data(), needed + 1) == 0)
        return LastPart(CString(path));
    const std::wstring longName = LastPart(std::wstring(longPath.data()));
    const std::string exact = qelapp::NarrowExactly(longName.c_str());
    if (!exact.empty())
        return CString(exact.c_str());
    return NarrowForShow(longName.c_str()) + " (" + LastPart(CString(path)) + ")";
}
