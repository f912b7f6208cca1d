#pragma once
// One private-profile (ini) file read and written key by key, as the program keeps its settings.
#include <afx.h>

class CProfileFile {
public:
    explicit CProfileFile(const CString& path) : m_path(path) {}

    // A text of at most 259 characters; the default when the key is missing.
    CString ReadText(const char* section, const char* key, const char* defaultText) const;
    // A decimal number; the default when the key is missing.
    int ReadInt(const char* section, const char* key, int defaultValue) const;

    // Each write that fails is remembered: AllWritten tells whether every write so far succeeded.
    BOOL WriteText(const char* section, const char* key, const char* text);
    BOOL WriteInt(const char* section, const char* key, int value); // "%d"
    BOOL AllWritten() const { return m_failedWrites == 0; }

    const CString& Path() const { return m_path; }

private:
    CString m_path;
    int m_failedWrites = 0;
};
