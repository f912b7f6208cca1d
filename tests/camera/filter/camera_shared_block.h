#pragma once
// What every process of the prefix shares about one synthetic camera: a named shared memory block per
// camera CLSID. A test and the program it drives run in different processes; the test's switches and
// events reach the cameras of both through this block. It is zero-filled when first made, and zero is
// every setting's default.
#include <windows.h>

#include <string>

constexpr int kCameraEventRing = 16;
constexpr int kCameraProcessSlots = 64;

// One raised event, published for the other processes' cameras.
struct CameraEventEntry {
    volatile LONG serial;  // written last: the entry is complete once it holds its own number
    LONG code;
    LONGLONG param;
    DWORD originPid;  // that process raised it on its own cameras already
};

// One process that has (or had) instances of the camera.
struct CameraProcessSlot {
    volatile LONG pid;  // 0: free
    volatile LONGLONG created;  // the process's creation time: ids are reused
    volatile LONG liveInstances;
    volatile LONG eventsSeen;  // the last event serial this process has raised on its cameras
    volatile LONG raiseResult;  // how raising that event on them went (the first failure)
};

struct SharedCameraBlock {
    volatile LONG notDelivering;
    volatile LONG mirrored;
    volatile LONG buttonState;
    volatile LONGLONG heldFramePlusOne;  // 0: not held
    volatile LONG eventSerial;
    CameraEventEntry events[kCameraEventRing];
    CameraProcessSlot slots[kCameraProcessSlots];
};

// The block's name for a CLSID (a file mapping in the session's namespace).
std::wstring CameraBlockName(REFCLSID clsid);

// The auto-reset event a process with cameras waits on for events published by other processes.
std::wstring CameraWakeEventName(DWORD pid);

// The creation time of process `pid`, 0 when it has ended or cannot be opened.
LONGLONG ProcessCreationTime(DWORD pid);
// The slot's process is the one that claimed it and still runs.
bool SlotProcessAlive(const CameraProcessSlot& slot);
// The slot is free, or its process has ended (a slot being claimed, its time not yet written, is not).
bool SlotReclaimable(const CameraProcessSlot& slot);
