// Module folder and path splitting: bounded copies of the core's split, so no output passes 260 bytes.
#include "PathHelpers.h"

#include <cstring>

#include "BoundedText.h"
#include "PathParts.h"

using qel::text::CopyBounded;
using qel::text::JoinBounded;
using qel::text::kPathBytes;

char* ql_GetModulePath(HINSTANCE module, char* buffer) {
    if (!buffer)
        return nullptr;
    const DWORD length = GetModuleFileNameA(module, buffer, kPathBytes);
    // A name that filled the buffer was cut: its folder would be wrong.
    char* lastBackslash = length > 0 && length < kPathBytes ? std::strrchr(buffer, '\\') : nullptr;
    if (!lastBackslash) {
        buffer[0] = '\0';
        return nullptr;
    }
    lastBackslash[1] = '\0';
    return lastBackslash;
}

void ql_SplitPath(const char* path, char* folder, char* name) {
    if (!path || !*path)
        return;
    const qel::path::PathParts parts = qel::path::SplitPath(path);
    if (folder && !JoinBounded(folder, kPathBytes, {parts.drive.c_str(), parts.folder.c_str()}))
        folder[0] = '\0';
    if (name && !JoinBounded(name, kPathBytes, {parts.name.c_str(), parts.extension.c_str()}))
        name[0] = '\0';
}

void ql_GetFileName(const char* path, char* out) {
    if (!out)
        return;
    const qel::path::PathParts parts = qel::path::SplitPath(path);
    if (!JoinBounded(out, kPathBytes, {parts.name.c_str(), parts.extension.c_str()}))
        out[0] = '\0';
}

void ql_GetName(const char* path, char* out) {
    if (out)
        CopyBounded(out, kPathBytes, qel::path::SplitPath(path).name.c_str());
}

void ql_GetExt(const char* path, char* out) {
    if (!out)
        return;
    const std::string extension = qel::path::SplitPath(path).extension;
    CopyBounded(out, kPathBytes, extension.empty() ? "" : extension.c_str() + 1);
}

void ql_GetFileExt(const char* path, char* out) {
    if (!out)
        return;
    if (!path) {
        out[0] = '\0';
        return;
    }
    const char* dot = std::strrchr(path, '.');
    if (dot && dot != path)
        CopyBounded(out, kPathBytes, dot + 1);
}
