#include "import_patch.h"

namespace enginetest {
namespace {

bool WriteSlot(void** slot, void* value) {
    DWORD previous = 0;
    if (!VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &previous))
        return false;
    *slot = value;
    VirtualProtect(slot, sizeof *slot, previous, &previous);
    return true;
}

// The module's import address table entry that holds `target`, whichever library it came through.
void** FindSlot(HMODULE module, void* target) {
    BYTE* base = reinterpret_cast<BYTE*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!imports.VirtualAddress)
        return nullptr;
    for (auto* entry = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
         entry->Name; ++entry) {
        for (auto* thunk = reinterpret_cast<IMAGE_THUNK_DATA*>(base + entry->FirstThunk); thunk->u1.Function; ++thunk)
            if (reinterpret_cast<void*>(thunk->u1.Function) == target)
                return reinterpret_cast<void**>(&thunk->u1.Function);
    }
    return nullptr;
}

} // namespace

ScopedImportPatch::ScopedImportPatch(HMODULE module, const char* library, const char* function, void* replacement) {
    HMODULE provider = GetModuleHandleA(library);
    void* target = provider ? reinterpret_cast<void*>(GetProcAddress(provider, function)) : nullptr;
    void** slot = module && target ? FindSlot(module, target) : nullptr;
    if (slot && WriteSlot(slot, replacement)) {
        slot_ = slot;
        original_ = target;
    }
}

ScopedImportPatch::~ScopedImportPatch() {
    if (slot_)
        WriteSlot(slot_, original_);
}

} // namespace enginetest
