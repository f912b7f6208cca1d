// Album test folders.
#include "album_folder.h"

#include <vector>

AlbumFolder::AlbumFolder(const char* name) {
    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    dir_ = std::string(temp) + "qel_album_" + name + "_" + std::to_string(::GetCurrentProcessId());
    ::CreateDirectoryA(dir_.c_str(), nullptr);
}

AlbumFolder::~AlbumFolder() {
    // Wide: files named in letters the code page lacks are removed too.
    const std::wstring dir = WideDir();
    WIN32_FIND_DATAW entry;
    HANDLE search = ::FindFirstFileW((dir + L"\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do
            ::DeleteFileW((dir + L"\\" + entry.cFileName).c_str());
        while (::FindNextFileW(search, &entry));
        ::FindClose(search);
    }
    ::RemoveDirectoryA(dir_.c_str());
}

namespace {

void WriteAndDate(HANDLE file, const std::string& content, int minute) {
    DWORD written = 0;
    ::WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    const SYSTEMTIME day = {2026, 3, 0, 14, 10, 0, 0, 0};
    FILETIME when;
    ::SystemTimeToFileTime(&day, &when);
    ULARGE_INTEGER time = {{when.dwLowDateTime, when.dwHighDateTime}};
    time.QuadPart += static_cast<ULONGLONG>(minute) * 60 * 10000000;
    when = {time.LowPart, time.HighPart};
    ::SetFileTime(file, nullptr, nullptr, &when);
    ::CloseHandle(file);
}

} // namespace

std::string AlbumFolder::Write(const char* name, const std::string& content, int minute) {
    const std::string path = Path(name);
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE)
        WriteAndDate(file, content, minute);
    return path;
}

std::wstring AlbumFolder::WideDir() const {
    const int length = ::MultiByteToWideChar(CP_ACP, 0, dir_.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(length > 0 ? length : 1), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, dir_.c_str(), -1, &wide[0], length);
    wide.resize(wide.size() - 1);
    return wide;
}

std::wstring AlbumFolder::WriteWide(const wchar_t* name, const std::string& content, int minute) {
    const std::wstring path = WidePath(name);
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE)
        WriteAndDate(file, content, minute);
    return path;
}

bool AlbumFolder::Exists(const char* name) const {
    return ::GetFileAttributesA(Path(name).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string SolidBmp(int width, int height, COLORREF color) {
    const int row = (width * 3 + 3) & ~3;
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biSizeImage = static_cast<DWORD>(row * height);
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + info.biSizeImage;
    std::vector<BYTE> pixels(info.biSizeImage);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            BYTE* p = &pixels[static_cast<size_t>(y * row + x * 3)];
            p[0] = GetBValue(color);
            p[1] = GetGValue(color);
            p[2] = GetRValue(color);
        }
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
    bytes.append(reinterpret_cast<const char*>(&info), sizeof info);
    bytes.append(reinterpret_cast<const char*>(pixels.data()), pixels.size());
    return bytes;
}
