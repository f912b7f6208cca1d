#pragma once
// The switches and events of one synthetic camera CLSID as this process sees them. They live in the
// camera's shared block, so a switch flipped in any process of the prefix reaches the cameras of all,
// and an event raised in one process is raised on the cameras of the others.
#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>

#include "camera_shared_block.h"

class CameraControls {
public:
    explicit CameraControls(REFCLSID clsid);
    ~CameraControls();
    CameraControls(const CameraControls&) = delete;
    CameraControls& operator=(const CameraControls&) = delete;

    const CLSID& Clsid() const { return clsid_; }

    bool Delivering() const { return block_->notDelivering == 0; }
    void SetDelivering(bool on) { InterlockedExchange(&block_->notDelivering, on ? 0 : 1); }
    bool Mirrored() const { return block_->mirrored != 0; }
    void SetMirrored(bool on) { InterlockedExchange(&block_->mirrored, on ? 1 : 0); }
    ULONG ButtonState() const { return static_cast<ULONG>(block_->buttonState); }
    void SetButtonState(ULONG state) { InterlockedExchange(&block_->buttonState, static_cast<LONG>(state)); }
    // While held, every frame shows the picture of the held frame number (0 to 0xFFFFFFFF); *frame is
    // left alone when not held.
    bool HeldFrame(LONGLONG* frame) const;
    void HoldFrame(LONGLONG frame) { InterlockedExchange64(&block_->heldFramePlusOne, frame + 1); }
    void ReleaseHold() { InterlockedExchange64(&block_->heldFramePlusOne, 0); }

    // An instance of the camera made or destroyed in this process.
    void InstanceAdded();
    void InstanceRemoved();
    LONG LocalInstances();
    // Live instances in every process of the prefix (a process that ended counts no more).
    LONG LiveInstances();

    // Publishes an event this process has raised on its own cameras for the cameras of the other
    // processes, and waits until each of those processes has raised it. *processes: how many did; the
    // result is the first failure one of them reported.
    HRESULT PublishEvent(long code, LONGLONG param, int* processes);
    // Calls raise for each event another process published since this process last looked (the one
    // thread that serves this process's cameras calls this).
    void TakeOtherProcessEvents(const std::function<HRESULT(long code, LONGLONG param)>& raise);

private:
    // A slot for this process in the block, or -1 when every slot is taken by a running process.
    int ClaimSlot();

    CLSID clsid_;
    HANDLE mapping_ = nullptr;
    SharedCameraBlock* block_ = nullptr;
    // When the named block cannot be made, the switches reach this process only.
    std::unique_ptr<SharedCameraBlock> private_;
    std::mutex instancesLock_;
    LONG localInstances_ = 0;
    std::atomic<int> slot_{-1};
};
