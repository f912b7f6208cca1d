// The viewer's work lanes: jobs run off the caller's thread in order, a waiting job gives way to a
// newer one of its kind, and a job that never returns holds neither the lane's owner nor its end.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "WorkLane.h"

namespace {

// An event that the test sets; closed when the last holder lets go of it.
std::shared_ptr<void> NewEvent() {
    return std::shared_ptr<void>(::CreateEventA(nullptr, TRUE, FALSE, nullptr), [](void* event) {
        if (event)
            ::CloseHandle(event);
    });
}

// What the jobs did, in order, and on which threads.
struct Journal {
    std::mutex lock;
    std::vector<std::string> done;
    std::vector<DWORD> threads;
    void Add(const std::string& what) {
        std::lock_guard<std::mutex> hold(lock);
        done.push_back(what);
        threads.push_back(::GetCurrentThreadId());
    }
    std::vector<std::string> Done() {
        std::lock_guard<std::mutex> hold(lock);
        return done;
    }
};

constexpr DWORD kHangGuardMs = 10000;

TEST(WorkLane, JobsRunInOrderOnOneThreadOfTheLanesOwnAndAWaitingJobGivesWayToANewerOneOfItsKind) {
    auto journal = std::make_shared<Journal>();
    const auto gate = NewEvent();
    CWorkLane lane(CWorkLane::Com::kMultiThreaded);
    // The first job holds the lane until the gate opens: the others wait behind it.
    ASSERT_TRUE(lane.Post(0, [journal, gate] {
        ::WaitForSingleObject(gate.get(), kHangGuardMs);
        journal->Add("first");
    }));
    ASSERT_TRUE(lane.Post(1, [journal] { journal->Add("frame 1"); }));
    ASSERT_TRUE(lane.Post(2, [journal] { journal->Add("check"); }));
    ASSERT_TRUE(lane.Post(1, [journal] { journal->Add("frame 2"); })); // in place of frame 1
    EXPECT_FALSE(lane.WaitUntilIdle(100)) << "idle while a job runs";
    ::SetEvent(gate.get());
    ASSERT_TRUE(lane.WaitUntilIdle(kHangGuardMs)) << "the lane did not finish its jobs";
    EXPECT_EQ((std::vector<std::string>{"first", "frame 2", "check"}), journal->Done());
    for (DWORD thread : journal->threads) {
        EXPECT_NE(::GetCurrentThreadId(), thread) << "a job ran on the caller's thread";
        EXPECT_EQ(journal->threads.front(), thread) << "the jobs of one lane ran on several threads";
    }
    // Idle again, the lane takes more work.
    ASSERT_TRUE(lane.Post(1, [journal] { journal->Add("later"); }));
    ASSERT_TRUE(lane.WaitUntilIdle(kHangGuardMs));
    EXPECT_EQ("later", journal->Done().back());
}

TEST(WorkLane, TheLaneGoesWithoutWaitingForAJobThatDoesNotReturnAndItsWaitingJobsAreDropped) {
    auto journal = std::make_shared<Journal>();
    const auto gate = NewEvent();
    auto started = NewEvent();
    std::weak_ptr<void> capturedByStuckJob;
    std::atomic<bool> droppedJobRan{false};
    {
        auto held = NewEvent(); // stands for what a stuck job holds: its reader, its file
        capturedByStuckJob = held;
        auto lane = std::make_unique<CWorkLane>(CWorkLane::Com::kNone);
        ASSERT_TRUE(lane->Post(0, [journal, gate, started, held] {
            ::SetEvent(started.get());
            ::WaitForSingleObject(gate.get(), kHangGuardMs);
            journal->Add("stuck");
        }));
        ASSERT_TRUE(lane->Post(1, [&droppedJobRan] { droppedJobRan = true; }));
        ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(started.get(), kHangGuardMs)) << "the job never started";
        held.reset();
        const DWORD before = ::GetTickCount();
        lane.reset(); // must not wait for the stuck job
        std::printf("figure: the lane went in %lu ms with its job stuck\n",
                    static_cast<unsigned long>(::GetTickCount() - before));
    }
    EXPECT_TRUE(journal->Done().empty()) << "the lane's end waited for its stuck job";
    EXPECT_FALSE(capturedByStuckJob.expired()) << "what the stuck job holds went while it ran";
    EXPECT_EQ(1, CWorkLane::JobsRunning()) << "the program's end would not know of the dropped lane's stuck job";
    ::SetEvent(gate.get()); // the platform's call comes back after all
    for (int i = 0; i < 200 && (!capturedByStuckJob.expired() || CWorkLane::JobsRunning() != 0); ++i)
        ::Sleep(50);
    EXPECT_TRUE(capturedByStuckJob.expired()) << "the job's captures were not let go once it returned";
    EXPECT_EQ(0, CWorkLane::JobsRunning());
    EXPECT_EQ((std::vector<std::string>{"stuck"}), journal->Done());
    EXPECT_FALSE(droppedJobRan) << "a job waiting in a dropped lane ran";
}

} // namespace
