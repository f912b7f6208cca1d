#pragma once
// Private state of the MFC-compatible layer: what is kept per process and per thread.
#include <windows.h>

#include <atomic>
#include <unordered_map>

class CWinApp;
class CWinThread;
class CWnd;
class CDC;
class CGdiObject;
class CMenu;

namespace qelmfc {

// True for a null object pointer. MFC lets GetSafeHwnd and GetSafeHandle be called through a null
// pointer; the empty asm keeps the compiler from assuming that this is never null.
inline bool IsNull(const void* self) {
    asm("" : "+r"(self));
    return self == nullptr;
}

// Handle -> object maps of one kind. Permanent entries belong to objects that were attached to their
// handle; temporary ones are made by FromHandle for handles nobody attached, and are deleted at idle
// time (AfxDeleteTempMaps) or when the thread ends.
template <class Handle, class Object>
struct HandleMap {
    std::unordered_map<Handle, Object*> permanent;
    std::unordered_map<Handle, Object*> temporary;

    Object* LookupPermanent(Handle handle) const {
        auto it = permanent.find(handle);
        return it == permanent.end() ? nullptr : it->second;
    }
    Object* Lookup(Handle handle) const {
        if (Object* object = LookupPermanent(handle))
            return object;
        auto it = temporary.find(handle);
        return it == temporary.end() ? nullptr : it->second;
    }
};

struct ProcessState {
    std::atomic<CWinApp*> app{nullptr};
    std::atomic<HINSTANCE> resourceHandle{nullptr};
    std::atomic<int> waitCursorCount{0};
    std::atomic<HCURSOR> cursorBeforeWait{nullptr};
};

struct ThreadState {
    ThreadState();
    ~ThreadState();

    CWinThread* thread = nullptr; // the CWinThread running on this thread, if any
    HandleMap<HWND, CWnd> windows;
    HandleMap<HDC, CDC> dcs;
    HandleMap<HGDIOBJ, CGdiObject> gdiObjects;
    HandleMap<HMENU, CMenu> menus;
    CWnd* windowInCreation = nullptr; // attached at the first message its window receives
    HHOOK creationHook = nullptr;
    int creationDepth = 0; // nested CreateEx calls sharing the hook
    const MSG* currentMessage = nullptr;
    MSG lastMessage = {};
};

ProcessState& State();
ThreadState& Thread();

// The wait cursor's nesting count: 1 begins, -1 ends (the cursor before the first begin comes back),
// 0 shows it again.
void DoWaitCursor(int change);

// Deletes this thread's temporary objects (FromHandle results for unattached handles).
void DeleteTempMaps();

} // namespace qelmfc
