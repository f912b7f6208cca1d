// The per-process and per-thread state of the layer, and the temporary handle maps.
#include "afxwin.h"

#include "app_state.h"

namespace qelmfc {
namespace {

// Temporary wrappers never own their handle: it is cleared before the wrapper is deleted.
void Release(CWnd* object) {
    object->m_hWnd = nullptr;
    delete object;
}
void Release(CDC* object) {
    object->m_hDC = nullptr;
    object->m_hAttribDC = nullptr;
    delete object;
}
void Release(CMenu* object) {
    object->m_hMenu = nullptr;
    delete object;
}
void Release(CGdiObject* object) {
    object->m_hObject = nullptr;
    delete object;
}

template <class Map>
void DeleteTemporaries(Map& map) {
    auto temporary = std::move(map.temporary);
    map.temporary.clear();
    for (auto& entry : temporary)
        Release(entry.second);
}

} // namespace

ProcessState& State() {
    static ProcessState state;
    return state;
}

ThreadState& Thread() {
    static thread_local ThreadState state;
    return state;
}

ThreadState::ThreadState() = default;

ThreadState::~ThreadState() {
    DeleteTemporaries(windows);
    DeleteTemporaries(dcs);
    DeleteTemporaries(gdiObjects);
    DeleteTemporaries(menus);
}

void DeleteTempMaps() {
    ThreadState& thread = Thread();
    DeleteTemporaries(thread.windows);
    DeleteTemporaries(thread.dcs);
    DeleteTemporaries(thread.gdiObjects);
    DeleteTemporaries(thread.menus);
}

} // namespace qelmfc
