#pragma once
// Splits a Windows path the way the platform does: drive ("C:"), folder with its trailing separator,
// name, and extension from the last dot of the last component, dot included. Platform-neutral.
#include <string>

namespace qel::path {

struct PathParts {
    std::string drive;
    std::string folder;
    std::string name;
    std::string extension;
};

// Null gives four empty parts. Both "\" and "/" separate components.
PathParts SplitPath(const char* path);

} // namespace qel::path
