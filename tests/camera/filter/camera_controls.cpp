#include "camera_controls.h"

namespace {

// How long a process that raises an event waits for the other processes' cameras to raise it.
const DWORD kPublishTimeoutMs = 5000;

bool Reached(LONG seen, LONG serial) { return seen - serial >= 0; }

void Wake(DWORD pid) {
    HANDLE wake = OpenEventW(EVENT_MODIFY_STATE, FALSE, CameraWakeEventName(pid).c_str());
    // Without its event (its watcher is starting or stopping) the process finds the event on its next look.
    if (wake) {
        SetEvent(wake);
        CloseHandle(wake);
    }
}

}  // namespace

CameraControls::CameraControls(REFCLSID clsid) : clsid_(clsid) {
    mapping_ = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(SharedCameraBlock),
                                  CameraBlockName(clsid).c_str());
    if (mapping_)
        block_ = static_cast<SharedCameraBlock*>(
            MapViewOfFile(mapping_, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(SharedCameraBlock)));
    if (!block_) {
        if (mapping_)
            CloseHandle(mapping_);
        mapping_ = nullptr;
        private_.reset(new SharedCameraBlock());
        block_ = private_.get();
    }
}

CameraControls::~CameraControls() {
    if (mapping_) {
        UnmapViewOfFile(block_);
        CloseHandle(mapping_);
    }
}

bool CameraControls::HeldFrame(LONGLONG* frame) const {
    const LONGLONG plusOne = block_->heldFramePlusOne;
    if (plusOne == 0)
        return false;
    *frame = plusOne - 1;
    return true;
}

int CameraControls::ClaimSlot() {
    const LONG self = static_cast<LONG>(GetCurrentProcessId());
    const LONGLONG created = ProcessCreationTime(GetCurrentProcessId());
    for (int i = 0; i < kCameraProcessSlots; ++i) {
        CameraProcessSlot& slot = block_->slots[i];
        const LONG owner = slot.pid;
        if (!SlotReclaimable(slot) || InterlockedCompareExchange(&slot.pid, self, owner) != owner)
            continue;
        // The time goes in last: until then no other process counts the slot or takes it.
        InterlockedExchange64(&slot.created, 0);
        InterlockedExchange(&slot.liveInstances, 0);
        InterlockedExchange(&slot.eventsSeen, block_->eventSerial);
        InterlockedExchange64(&slot.created, created);
        return i;
    }
    return -1;
}

void CameraControls::InstanceAdded() {
    std::lock_guard<std::mutex> hold(instancesLock_);
    if (++localInstances_ == 1 && mapping_) {
        if (slot_ < 0)
            slot_ = ClaimSlot();
        // Events raised while this process had no camera are not for the camera made now.
        if (slot_ >= 0)
            InterlockedExchange(&block_->slots[slot_].eventsSeen, block_->eventSerial);
    }
    if (slot_ >= 0)
        InterlockedExchange(&block_->slots[slot_].liveInstances, localInstances_);
}

void CameraControls::InstanceRemoved() {
    std::lock_guard<std::mutex> hold(instancesLock_);
    if (localInstances_ > 0)
        --localInstances_;
    if (slot_ >= 0)
        InterlockedExchange(&block_->slots[slot_].liveInstances, localInstances_);
}

LONG CameraControls::LocalInstances() {
    std::lock_guard<std::mutex> hold(instancesLock_);
    return localInstances_;
}

LONG CameraControls::LiveInstances() {
    if (!mapping_)
        return LocalInstances();
    LONG count = 0;
    for (const CameraProcessSlot& slot : block_->slots) {
        const LONG live = slot.liveInstances;
        if (live > 0 && SlotProcessAlive(slot))
            count += live;
    }
    return count;
}

HRESULT CameraControls::PublishEvent(long code, LONGLONG param, int* processes) {
    *processes = 0;
    if (!mapping_)
        return S_OK;
    const LONG self = static_cast<LONG>(GetCurrentProcessId());
    const LONG serial = InterlockedIncrement(&block_->eventSerial);
    CameraEventEntry& entry = block_->events[serial % kCameraEventRing];
    entry.code = code;
    entry.param = param;
    entry.originPid = static_cast<DWORD>(self);
    InterlockedExchange(&entry.serial, serial);

    // The other processes with cameras, by slot and the process that held it.
    LONG waitingFor[kCameraProcessSlots] = {};
    for (int i = 0; i < kCameraProcessSlots; ++i) {
        const CameraProcessSlot& slot = block_->slots[i];
        const LONG pid = slot.pid;
        if (pid == 0 || pid == self || slot.liveInstances <= 0 || !SlotProcessAlive(slot))
            continue;
        waitingFor[i] = pid;
        Wake(static_cast<DWORD>(pid));
    }
    HRESULT result = S_OK;
    const DWORD start = GetTickCount();
    for (;;) {
        bool pending = false;
        for (int i = 0; i < kCameraProcessSlots; ++i) {
            if (waitingFor[i] == 0)
                continue;
            const CameraProcessSlot& slot = block_->slots[i];
            if (Reached(slot.eventsSeen, serial) && slot.pid == waitingFor[i]) {
                const HRESULT raised = slot.raiseResult;
                if (FAILED(raised) && SUCCEEDED(result))
                    result = raised;
                ++*processes;
                waitingFor[i] = 0;
            } else if (slot.pid != waitingFor[i] || slot.liveInstances <= 0 || !SlotProcessAlive(slot)) {
                waitingFor[i] = 0;  // its cameras are gone
            } else {
                pending = true;
            }
        }
        if (!pending)
            return result;
        if (GetTickCount() - start > kPublishTimeoutMs)
            return HRESULT_FROM_WIN32(ERROR_TIMEOUT);
        Sleep(5);
    }
}

void CameraControls::TakeOtherProcessEvents(const std::function<HRESULT(long code, LONGLONG param)>& raise) {
    const int index = slot_;
    if (index < 0)
        return;
    CameraProcessSlot& mine = block_->slots[index];
    const DWORD self = GetCurrentProcessId();
    for (LONG next = mine.eventsSeen + 1; Reached(block_->eventSerial, next); ++next) {
        const CameraEventEntry& entry = block_->events[next % kCameraEventRing];
        const long code = entry.code;
        const LONGLONG param = entry.param;
        const DWORD origin = entry.originPid;
        const LONG published = entry.serial;
        if (!Reached(published, next))
            return;  // still being written: on the next look
        // A later number means the ring has moved past this event (its raiser gave up waiting).
        const HRESULT hr = published == next && origin != self ? raise(code, param) : S_OK;
        InterlockedExchange(&mine.raiseResult, hr);
        InterlockedExchange(&mine.eventsSeen, next);
    }
}
