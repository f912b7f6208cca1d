#pragma once
// A fresh folder of album files for one test, removed with everything in it at the end.
#include <windows.h>

#include <string>

class AlbumFolder {
public:
    explicit AlbumFolder(const char* name);
    ~AlbumFolder();
    AlbumFolder(const AlbumFolder&) = delete;
    AlbumFolder& operator=(const AlbumFolder&) = delete;

    const std::string& Dir() const { return dir_; }
    std::string Path(const char* name) const { return dir_ + "\\" + name; }
    // Writes content to name, written minute minutes after a fixed moment; the full path.
    std::string Write(const char* name, const std::string& content, int minute);
    bool Exists(const char* name) const;
    // The same for names in any letters (the code page need not hold them).
    std::wstring WideDir() const;
    std::wstring WidePath(const wchar_t* name) const { return WideDir() + L"\\" + name; }
    std::wstring WriteWide(const wchar_t* name, const std::string& content, int minute);

private:
    std::string dir_;
};

// A 24-bit BMP file's bytes, width x height of one colour.
std::string SolidBmp(int width, int height, COLORREF color);
