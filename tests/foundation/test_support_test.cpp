// The test support must itself work: a broken hook would let a modal box hang the whole run.
#include <windows.h>

#include <afxhook.h>
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "qeltest/message_box_hook.h"
#include "qeltest/pump.h"
#include "qeltest/temp_dir.h"

namespace {

TEST(MessageBoxHook, RecordsEveryBoxAndAnswersAsScripted) {
    qeltest::ScopedMessageBoxHook hook(IDNO);
    hook.QueueAnswer(IDYES);
    EXPECT_EQ(IDYES, AfxShowMessageBox(nullptr, "first", "Caption", MB_YESNO));
    EXPECT_EQ(IDNO, AfxShowMessageBox(nullptr, "second", "Caption", MB_YESNO));

    const auto shown = hook.Shown();
    ASSERT_EQ(2u, shown.size());
    EXPECT_EQ("first", shown[0].text);
    EXPECT_EQ("Caption", shown[0].caption);
    EXPECT_EQ(static_cast<UINT>(MB_YESNO), shown[1].type);
}

TEST(MessageBoxHook, NestedHooksRestoreTheOuterOne) {
    qeltest::ScopedMessageBoxHook outer(IDOK);
    {
        qeltest::ScopedMessageBoxHook inner(IDCANCEL);
        EXPECT_EQ(IDCANCEL, AfxShowMessageBox(nullptr, "inner", "", MB_OKCANCEL));
    }
    EXPECT_EQ(IDOK, AfxShowMessageBox(nullptr, "outer", "", MB_OKCANCEL));
    EXPECT_EQ(1u, outer.Texts().size());
}

int g_ticks = 0;
void CALLBACK CountTick(HWND, UINT, UINT_PTR, DWORD) { ++g_ticks; }

TEST(Pump, DispatchesTimerMessagesWithinTheTime) {
    g_ticks = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, &CountTick);
    ASSERT_NE(0u, timer);
    const bool done = qeltest::PumpUntil([] { return g_ticks >= 2; }, 3000);
    KillTimer(nullptr, timer);
    EXPECT_TRUE(done);
}

TEST(Pump, GivesUpWhenTheConditionNeverHolds) {
    const ULONGLONG start = GetTickCount64();
    EXPECT_FALSE(qeltest::PumpUntil([] { return false; }, 50));
    EXPECT_GE(GetTickCount64() - start, 40u);
}

TEST(TempDirTest, IsEmptyOnStartAndRemovedWithItsFilesAtTheEnd) {
    std::string path;
    {
        qeltest::TempDir dir;
        path = dir.Path();
        EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(path.c_str()));
        std::ofstream(dir.File("a.bin")) << "data";
        CreateDirectoryA(dir.File("sub").c_str(), nullptr);
        std::ofstream(dir.File("sub\\b.bin")) << "more";
        qeltest::TempDir other;
        EXPECT_NE(path, other.Path());
    }
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(path.c_str()));
}

} // namespace

namespace {

// Run only as the child of the watchdog test below: it hangs on purpose.
TEST(WatchdogChild, DISABLED_Hangs) { Sleep(INFINITE); }

TEST(Watchdog, EndsAHungTestWithAFailureCode) {
    char exe[MAX_PATH];
    ASSERT_NE(0u, GetModuleFileNameA(nullptr, exe, MAX_PATH));
    std::string command = std::string("\"") + exe +
                          "\" --gtest_also_run_disabled_tests --gtest_filter=WatchdogChild.DISABLED_Hangs";
    SetEnvironmentVariableA("QEL_TEST_WATCHDOG_SECONDS", "1");
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    const BOOL started = CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                                        nullptr, &si, &pi);
    SetEnvironmentVariableA("QEL_TEST_WATCHDOG_SECONDS", nullptr);
    ASSERT_TRUE(started);
    const DWORD waited = WaitForSingleObject(pi.hProcess, 20000);
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    if (waited != WAIT_OBJECT_0)
        TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    ASSERT_EQ(WAIT_OBJECT_0, waited) << "the watchdog did not end the hung child";
    EXPECT_EQ(97u, code);
}

} // namespace
