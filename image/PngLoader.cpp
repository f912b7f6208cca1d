// The PNG loader over the platform-neutral decoder: the block comes from GlobalAlloc, locked while the
// decoder fills it.
#include "PngLoader.h"

#include "PngDib.h"

namespace {

int g_lastReason = 0; // the library starts no threads and takes no locks: one loader at a time

struct GlobalBlockContext {
    HGLOBAL handle = nullptr;
};

void* AllocateGlobal(std::size_t bytes, void* context) {
    auto* owner = static_cast<GlobalBlockContext*>(context);
    owner->handle = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
    if (!owner->handle)
        return nullptr;
    void* memory = GlobalLock(owner->handle);
    if (!memory) {
        GlobalFree(owner->handle);
        owner->handle = nullptr;
    }
    return memory;
}

void ReleaseGlobal(void*, void* context) {
    auto* owner = static_cast<GlobalBlockContext*>(context);
    GlobalUnlock(owner->handle);
    GlobalFree(owner->handle);
    owner->handle = nullptr;
}

} // namespace

HGLOBAL LoadPngToDib(const char* path, int* pixelOffset) {
    GlobalBlockContext owner;
    const PngDibAllocator allocator{AllocateGlobal, ReleaseGlobal, &owner};
    const PngDibResult result = DecodePngToDib(path, allocator);
    g_lastReason = result.reason;
    if (result.reason != kPngDibOk)
        return nullptr;
    GlobalUnlock(owner.handle);
    if (pixelOffset)
        *pixelOffset = static_cast<int>(result.pixelOffset);
    return owner.handle;
}

int LastPngLoadReason() { return g_lastReason; }
