#pragma once
// Reading one section of a slider's skin settings file: texts of at most 259 characters, image names
// joined to the skin folder, and the "%d,%d,%d,%d" / "%d,%d" / "%d" values. A key that is missing or
// does not parse reads as absent, so the property it names stays as it was.
#include <afxwin.h>

namespace qel_controls {

class SliderSettingsFile {
public:
    SliderSettingsFile(const char* folder, const char* iniFile, const char* section);
    bool Read(const char* key, CString* value) const;
    // folder\value; true when the key is present (the path is made either way).
    bool ReadPath(const char* key, CString* path) const;
    bool ReadFour(const char* key, int* a, int* b, int* c, int* d) const;
    bool ReadPoint(const char* key, POINT* point) const;
    bool ReadInt(const char* key, int* number) const;

private:
    CString m_folder;
    CString m_section;
    CString m_path;
};

} // namespace qel_controls
