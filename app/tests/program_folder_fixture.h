#pragma once
// A program folder of the test's own (the settings file and TempStorage go there) and a free-space
// answer of its choice, both restored at the end.
#include <windows.h>

#include <string>

#include "qeltest/temp_dir.h"

namespace apptest {

class ScopedProgramFolder {
public:
    ScopedProgramFolder();
    ~ScopedProgramFolder();
    ScopedProgramFolder(const ScopedProgramFolder&) = delete;
    ScopedProgramFolder& operator=(const ScopedProgramFolder&) = delete;

    // With its trailing backslash.
    std::string Folder() const { return dir_.Path() + "\\"; }
    std::string File(const std::string& name) const { return dir_.File(name); }
    std::string IniPath() const { return File("Zentrik.ini"); }

    // Replaces the settings file by this text.
    void WriteIni(const std::string& text) const;
    // The settings file's whole text, and one key's raw value as the file holds it (spaces kept);
    // "<missing>" when the key is absent.
    std::string IniText() const;
    std::string RawValue(const std::string& section, const std::string& key) const;

    // Every free-space query answers this many bytes from now on.
    static void AnswerFreeBytes(ULONGLONG bytes);

private:
    qeltest::TempDir dir_;
};

bool FileExists(const std::string& path);

} // namespace apptest
