#pragma once
// The user's documents folder moved elsewhere for the object's life: the shell's per-user value,
// restored after. The value is machine-wide for the prefix: tests that set it run alone.
#include <windows.h>

#include <string>

namespace programtest {

class ScopedDocumentsFolder {
public:
    explicit ScopedDocumentsFolder(const std::wstring& folder) {
        if (::RegOpenKeyExW(HKEY_CURRENT_USER, kKey, 0, KEY_READ | KEY_WRITE, &key_) != ERROR_SUCCESS) {
            key_ = nullptr;
            return;
        }
        wchar_t old[MAX_PATH] = {};
        DWORD size = sizeof old;
        had_ = ::RegQueryValueExW(key_, L"Personal", nullptr, &type_, reinterpret_cast<BYTE*>(old), &size) ==
               ERROR_SUCCESS;
        old_ = old;
        set_ = ::RegSetValueExW(key_, L"Personal", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                                static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
    }
    ~ScopedDocumentsFolder() {
        if (!key_)
            return;
        if (had_)
            ::RegSetValueExW(key_, L"Personal", 0, type_, reinterpret_cast<const BYTE*>(old_.c_str()),
                             static_cast<DWORD>((old_.size() + 1) * sizeof(wchar_t)));
        else
            ::RegDeleteValueW(key_, L"Personal");
        ::RegCloseKey(key_);
    }
    bool Set() const { return set_; }
    ScopedDocumentsFolder(const ScopedDocumentsFolder&) = delete;
    ScopedDocumentsFolder& operator=(const ScopedDocumentsFolder&) = delete;

private:
    static constexpr const wchar_t* kKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
    HKEY key_ = nullptr;
    bool had_ = false, set_ = false;
    DWORD type_ = REG_EXPAND_SZ;
    std::wstring old_;
};

} // namespace programtest
