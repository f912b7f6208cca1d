#pragma once
// An ini file written by a test into its own temporary folder.
#include <fstream>
#include <string>

#include "qeltest/temp_dir.h"

namespace utiltest {

class IniFile {
public:
    explicit IniFile(const std::string& content) : path_(dir_.File("Settings.ini")) {
        std::ofstream(path_, std::ios::binary) << content;
    }
    const char* Path() const { return path_.c_str(); }

private:
    qeltest::TempDir dir_;
    std::string path_;
};

} // namespace utiltest
