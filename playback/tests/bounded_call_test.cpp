// The bounded graph call: a call that keeps working is waited for however long it takes within its
// ceiling, one that waits on nothing is given up after its quiet time, and one that spins at the ceiling.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <memory>

#include "BoundedCall.h"
#include "qeltest/watchdog.h"

namespace {

constexpr CallLimit kLimit = {1500, 8000};

// Keeps the processor busy for ms of wall-clock time.
void SpinFor(DWORD ms) {
    const DWORD began = GetTickCount();
    volatile unsigned sink = 0;
    while (GetTickCount() - began < ms)
        for (int i = 0; i < 10000; ++i)
            sink = sink + static_cast<unsigned>(i);
}

DWORD Elapsed(DWORD began) { return GetTickCount() - began; }

TEST(BoundedCallTest, ACallThatKeepsWorkingPastItsQuietTimeIsWaitedFor) {
    qeltest::Watchdog::ExtendCurrentTest(60);
    const DWORD began = GetTickCount();
    const HRESULT result = CallWithLimit(
        [] {
            SpinFor(4000);
            return S_FALSE;
        },
        kLimit);
    std::printf("figure: a call busy for 4 s (quiet limit 1.5 s) answered after %lu ms\n",
                static_cast<unsigned long>(Elapsed(began)));
    EXPECT_EQ(S_FALSE, result) << "slow work was given up as if it hung";
}

TEST(BoundedCallTest, ACallThatWaitsOnNothingIsGivenUpAfterItsQuietTime) {
    qeltest::Watchdog::ExtendCurrentTest(60);
    HANDLE never = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::atomic<bool> back{false};
    HANDLE stuck = nullptr;
    const DWORD began = GetTickCount();
    const HRESULT result = CallWithLimit(
        [never, &back] {
            WaitForSingleObject(never, 20000);
            back = true;
            return S_OK;
        },
        kLimit, &stuck);
    const DWORD took = Elapsed(began);
    std::printf("figure: a call that waits on nothing was given up after %lu ms\n", static_cast<unsigned long>(took));
    EXPECT_EQ(kCallTimedOut, result);
    EXPECT_GE(took, kLimit.quietMs - 100);
    EXPECT_LT(took, kLimit.ceilingMs) << "the quiet time did not end it";
    ASSERT_NE(nullptr, stuck) << "no handle to the thread left behind";
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), WaitForSingleObject(stuck, 0)) << "the left thread ended early";
    SetEvent(never);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(stuck, 10000)) << "the left thread does not end when let go";
    EXPECT_TRUE(back.load());
    CloseHandle(stuck);
    CloseHandle(never);
}

TEST(BoundedCallTest, ACallThatSpinsForeverIsGivenUpAtItsCeiling) {
    qeltest::Watchdog::ExtendCurrentTest(60);
    auto quit = std::make_shared<std::atomic<bool>>(false);
    HANDLE stuck = nullptr;
    const DWORD began = GetTickCount();
    const HRESULT result = CallWithLimit(
        [quit] {
            while (!quit->load())
                SpinFor(50);
            return S_OK;
        },
        kLimit, &stuck);
    const DWORD took = Elapsed(began);
    std::printf("figure: a call that spins was given up after %lu ms (ceiling %lu ms)\n",
                static_cast<unsigned long>(took), static_cast<unsigned long>(kLimit.ceilingMs));
    EXPECT_EQ(kCallTimedOut, result);
    EXPECT_GE(took, kLimit.ceilingMs - 100);
    *quit = true;
    if (stuck) {
        EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(stuck, 10000));
        CloseHandle(stuck);
    }
}

} // namespace
