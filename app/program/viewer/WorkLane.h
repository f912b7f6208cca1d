#pragma once
// CWorkLane: work the viewer keeps off the user-interface thread (reading a clip's frames, the screen
// and the media detector, decoding pictures). Jobs run one after another on a thread of the lane's own
// and answer by posting to a window. A job waiting to start is replaced by a newer one of the same kind:
// its answer would be stale. A job the platform never lets return holds up only its own lane: the owner
// drops the lane and takes a new one, and the stuck thread lets go of what its job captured if it ever
// comes back. A job therefore captures only what it owns (COM references, copies), never the owner.
#include <windows.h>

#include <functional>
#include <memory>

class CWorkLane {
public:
    enum class Com { kNone, kMultiThreaded, kApartment };

    explicit CWorkLane(Com com);
    // Drops the waiting jobs; the running one is not waited for.
    ~CWorkLane();
    CWorkLane(const CWorkLane&) = delete;
    CWorkLane& operator=(const CWorkLane&) = delete;

    // Queues job after the others, in place of a waiting job of the same kind; false (the job dropped)
    // when the lane's thread could not be started.
    bool Post(int kind, std::function<void()> job);
    // Waits at most ms until no job runs or waits; whether that came.
    bool WaitUntilIdle(DWORD ms);
    // Jobs running now on the lanes of the process, dropped lanes' among them: at the program's end
    // one still running is inside the platform (a read that a damaged file hangs).
    static int JobsRunning();

    struct Shared; // what the lane's thread shares with it, kept alive by both

private:
    std::shared_ptr<Shared> shared_;
};
