#include "qeltest/temp_dir.h"

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <stdexcept>

namespace qeltest {
namespace {

void RemoveTree(const std::string& path) {
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((path + "\\*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = entry.cFileName;
            if (name == "." || name == "..")
                continue;
            const std::string child = path + "\\" + name;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(child);
            } else {
                SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                if (!DeleteFileA(child.c_str()))
                    std::fprintf(stderr, "TempDir: could not delete %s\n", child.c_str());
            }
        } while (FindNextFileA(find, &entry));
        FindClose(find);
    }
    if (!RemoveDirectoryA(path.c_str()))
        std::fprintf(stderr, "TempDir: could not remove %s\n", path.c_str());
}

} // namespace

TempDir::TempDir() {
    static std::atomic<unsigned> counter{0};
    char base[MAX_PATH];
    if (!GetTempPathA(MAX_PATH, base))
        throw std::runtime_error("GetTempPath failed");
    for (int attempt = 0; attempt < 100; ++attempt) {
        char name[64];
        std::snprintf(name, sizeof name, "qeltest-%lu-%u", GetCurrentProcessId(), counter++);
        std::string candidate = std::string(base) + name;
        if (CreateDirectoryA(candidate.c_str(), nullptr)) {
            path_ = candidate;
            return;
        }
    }
    throw std::runtime_error("could not create a temporary folder");
}

TempDir::~TempDir() { RemoveTree(path_); }

std::string TempDir::File(const std::string& name) const { return path_ + "\\" + name; }

} // namespace qeltest
