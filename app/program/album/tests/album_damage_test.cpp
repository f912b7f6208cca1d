// What a user keeps in the album must not stop the program: damaged clips that hang the platform's
// AVI source get the placeholder while the window goes on answering, an intact clip after them still
// gets its thumbnail, the viewer leaves them alone and Close still ends the program.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "album_folder.h"
#include "avi_clip.h"
#include "album_items.h"
#include "answer_probe.h"
#include "program_fixture.h"
#include "program_windows.h"
#include "qeltest/watchdog.h"
#include "screen_probe.h"

namespace programtest {
namespace {

constexpr int kClose = 1021, kSwitch = 1010;

// The skin's placeholder: a red cross on dark grey (its centre on the cross, its edges dark).
bool ShowsPlaceholder(HWND item) {
    const RECT r = ScreenRectOf(item);
    const COLORREF centre = ScreenPixel((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    const COLORREF edge = ScreenPixel(r.left + 4, (r.top + r.bottom) / 2);
    return GetRValue(centre) > 150 && GetGValue(centre) < 100 && GetRValue(edge) < 80 && GetGValue(edge) < 80;
}

// The processor time the program took while the test pumped for ms.
long CpuMsOver(ZentrikRun& run, DWORD ms) {
    HANDLE process = ::OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, run.ProcessId());
    auto used = [process]() -> ULONGLONG {
        FILETIME created, ended, kernel, user;
        if (!process || !::GetProcessTimes(process, &created, &ended, &kernel, &user))
            return 0;
        return (ULARGE_INTEGER{{kernel.dwLowDateTime, kernel.dwHighDateTime}}.QuadPart +
                ULARGE_INTEGER{{user.dwLowDateTime, user.dwHighDateTime}}.QuadPart) / 10000;
    };
    const ULONGLONG before = used();
    run.Pump(ms);
    const ULONGLONG after = used();
    if (process)
        ::CloseHandle(process);
    return static_cast<long>(after - before);
}

using AlbumDamage = ProgramTest;

TEST_F(AlbumDamage, ClipsThatHangTheirReaderShowThePlaceholderWhileTheWindowAnswersAndCloses) {
    AlbumFolder folder("damaged");
    folder.Write("picture.bmp", SolidBmp(64, 48, RGB(0, 200, 0)), 10);
    // An intact clip, tried after both damaged ones: the stuck readers do not hold it up.
    const std::vector<uint8_t> clip = qelmedia::BuildAviClip(qelmedia::AviClipFormat{});
    folder.Write("good.avi", std::string(clip.begin(), clip.end()), 5);
    for (const char* name : {"damaged_clip_a.avi", "damaged_clip_b.avi"}) {
        const std::string data = std::string(QEL_TEST_DATA_DIR) + "/" + name;
        ASSERT_TRUE(::CopyFileA(("Z:" + data).c_str(), folder.Path(name).c_str(), FALSE)) << data;
    }
    AddCamera();
    AddMicrophone();
    qeltest::Watchdog::ExtendCurrentTest(120);
    ZentrikRun run;
    run.SetIniValue("Basic", "Image Folder", folder.Dir().c_str());
    ASSERT_TRUE(run.Start());
    ASSERT_TRUE(run.WaitForMainWindow(30000));
    HWND dialog = run.Dialog();
    // The start-up holds the window for a moment of its own (seen with an album of one picture too):
    // probe once it has settled. The first clip is being tried by then (each for up to 10 s).
    uint32_t frame = 0;
    ASSERT_TRUE(WaitForFrameNumber(run, PreviewOnScreen(run, 0), &frame, 15000)) << "no live picture";
    ASSERT_TRUE(WaitUntilSettled(run)) << "the window never settled after the start";
    ASSERT_FALSE(ShowsPlaceholder(FindItem(dialog, 8000))) << "the first clip was given up before the probes";

    // Both clips sit above the older picture; each is given up after the maker's time limit (10 s).
    long slowest = 0;
    int unanswered = 0;
    bool placeholders = false;
    const DWORD begun = ::GetTickCount();
    const DWORD end = begun + 40000;
    while (!placeholders && static_cast<LONG>(end - ::GetTickCount()) > 0) {
        const long took = AnswerTime(dialog, 1000);
        if (took < 0 || took > 300)
            std::printf("answer %lu ms into the probes: %ld ms\n", static_cast<unsigned long>(::GetTickCount() - begun),
                        took);
        if (took < 0)
            ++unanswered;
        else if (took > slowest)
            slowest = took;
        run.Pump(200);
        HWND first = FindItem(dialog, 8000), second = FindItem(dialog, 8001);
        placeholders = first && second && ShowsPlaceholder(first) && ShowsPlaceholder(second);
    }
    std::printf("screenshot: %s\n", SaveScreenshot(ScreenRectOf(run.Frame()), "zentrik_album_damaged").c_str());
    std::printf("slowest answer while the clips were tried: %ld ms\n", slowest);
    EXPECT_TRUE(placeholders) << "the damaged clips do not show the placeholder";
    EXPECT_EQ(0, unanswered) << "the window did not answer within 1 s";
    HWND picture = FindItem(dialog, 8002);
    ASSERT_TRUE(picture) << "the picture below the clips is listed";
    EXPECT_EQ(RGB(0, 200, 0), Centre(picture));
    // The intact clip (30 frames) shows its frame 20: the clip pattern's red is 20 x 8 + 16 = 176.
    HWND good = FindItem(dialog, 8003);
    ASSERT_TRUE(good) << "the intact clip is listed";
    bool framed = false;
    for (int i = 0; i < 100 && !framed; ++i) {
        const COLORREF centre = Centre(good);
        framed = std::abs(GetRValue(centre) - 176) <= 2;
        if (!framed)
            run.Pump(100);
    }
    EXPECT_TRUE(framed) << "the intact clip after the damaged ones got no thumbnail";

    // For the record: what the stuck threads cost while the program idles (a spinning one shows here).
    std::printf("processor time over 3 s of idling with two stuck readers: %ld ms\n", CpuMsOver(run, 3000));

    // The viewer does not open a clip that hung its reader: playback mode on the selected top clip.
    ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(kSwitch, BN_CLICKED), 0);
    for (int i = 0; i < 10; ++i) {
        run.Pump(200);
        EXPECT_GE(AnswerTime(dialog, 1000), 0) << "playback mode on a damaged clip holds the window";
    }
    std::printf("screenshot: %s\n", SaveScreenshot(ScreenRectOf(run.Frame()), "zentrik_album_damaged_viewer").c_str());

    // The stuck readers hold neither the window nor the end of the program.
    EXPECT_GE(AnswerTime(dialog, 1000), 0);
    ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(kClose, BN_CLICKED), 0);
    EXPECT_EQ(0u, run.WaitForExit(10000));
    EXPECT_TRUE(run.Boxes().empty());
}

} // namespace
} // namespace programtest
