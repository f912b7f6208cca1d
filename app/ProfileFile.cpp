// Key-by-key access to the program's ini file through the system's private-profile calls.
#include "ProfileFile.h"

#include <cstdio>

CString CProfileFile::ReadText(const char* section, const char* key, const char* defaultText) const {
    char text[MAX_PATH] = {};
    GetPrivateProfileStringA(section, key, defaultText, text, MAX_PATH, m_path);
    return CString(text);
}

int CProfileFile::ReadInt(const char* section, const char* key, int defaultValue) const {
    return static_cast<int>(GetPrivateProfileIntA(section, key, defaultValue, m_path));
}

BOOL CProfileFile::WriteText(const char* section, const char* key, const char* text) {
    if (WritePrivateProfileStringA(section, key, text, m_path))
        return TRUE;
    ++m_failedWrites;
    return FALSE;
}

BOOL CProfileFile::WriteInt(const char* section, const char* key, int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", value);
    return WriteText(section, key, text);
}
