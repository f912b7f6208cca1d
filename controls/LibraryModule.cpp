#include "LibraryModule.h"

namespace qel_controls {

HINSTANCE LibraryModule() {
    HMODULE module = NULL;
    // The module holding this function's code is the library itself, whatever its file is called.
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&LibraryModule), &module);
    return module;
}

} // namespace qel_controls
