#pragma once
#include <string>

namespace qeltest {

// A fresh, empty folder under the Windows temp folder, removed with its contents at the end.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return path_; }           // no trailing backslash
    std::string File(const std::string& name) const;            // Path() + "\\" + name

private:
    std::string path_;
};

} // namespace qeltest
