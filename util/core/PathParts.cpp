#include "PathParts.h"

#include <cstring>

namespace qel::path {

PathParts SplitPath(const char* path) {
    PathParts parts;
    if (!path)
        return parts;
    const char* rest = path;
    if (rest[0] != '\0' && rest[1] == ':') {
        parts.drive.assign(rest, 2);
        rest += 2;
    }
    const char* lastSeparator = nullptr;
    for (const char* p = rest; *p; ++p) {
        if (*p == '\\' || *p == '/')
            lastSeparator = p;
    }
    const char* file = rest;
    if (lastSeparator) {
        parts.folder.assign(rest, lastSeparator + 1);
        file = lastSeparator + 1;
    }
    const char* dot = std::strrchr(file, '.');
    if (dot) {
        parts.name.assign(file, dot);
        parts.extension = dot;
    } else {
        parts.name = file;
    }
    return parts;
}

} // namespace qel::path
