#pragma once
// Replaces, for the life of the object, one imported function in one module's import table: the
// tests put platform calls of another Windows version, or spies, under the engine's code.
#include <windows.h>

namespace enginetest {

class ScopedImportPatch {
public:
    // The import of `function` (as GetProcAddress(library, function) resolves it) in `module`.
    ScopedImportPatch(HMODULE module, const char* library, const char* function, void* replacement);
    ~ScopedImportPatch();
    ScopedImportPatch(const ScopedImportPatch&) = delete;
    ScopedImportPatch& operator=(const ScopedImportPatch&) = delete;

    // The module imports the function and it now calls the replacement.
    bool Patched() const { return slot_ != nullptr; }
    // The function the module called before.
    void* Original() const { return original_; }

private:
    void** slot_ = nullptr;
    void* original_ = nullptr;
};

} // namespace enginetest
