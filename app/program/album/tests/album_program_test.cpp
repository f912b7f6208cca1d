// The album in the real program: what the scan lists from the image folder, the scroll slider it
// shows, Up and Down, page scrolling, and a Close while the scan is still handing records over.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "album_folder.h"
#include "album_items.h"
#include "program_fixture.h"
#include "program_windows.h"
#include "qeltest/watchdog.h"
#include "screen_probe.h"

namespace programtest {
namespace {

constexpr int kUp = 1051, kDown = 1052, kAlbumSlider = 1085, kClose = 1021;

void Click(HWND dialog, int id) { ClickButton(dialog, id); }

using Album = ProgramTest;

TEST_F(Album, ListsTheImageFolderNewestFirstAndShowsTheSliderForSixItems) {
    AlbumFolder folder("program");
    folder.Write("a.jpg", SolidBmp(88, 66, RGB(0, 200, 0)), 30);
    folder.Write("b.JPG", SolidBmp(88, 66, RGB(0, 0, 200)), 30);
    folder.Write("c.png", SolidBmp(88, 66, RGB(200, 200, 0)), 90);
    folder.Write("z.avi", "", 90);
    folder.Write("x.mp~", "leftover", 90);
    for (int i = 0; i < 4; ++i)
        folder.Write(("old" + std::to_string(i) + ".bmp").c_str(), SolidBmp(88, 66, RGB(200, 0, 200)), i);

    AddCamera();
    AddMicrophone();
    ZentrikRun run;
    run.SetIniValue("Basic", "Image Folder", folder.Dir().c_str());
    ASSERT_TRUE(run.Start());
    ASSERT_TRUE(run.WaitForMainWindow(30000));
    HWND dialog = run.Dialog();
    HWND slider = run.Control(kAlbumSlider);
    // The slider shows once the scan has handed over all six (about 1.5 s of paced waits).
    for (int i = 0; i < 100 && !::IsWindowVisible(slider); ++i)
        run.Pump(100);
    ASSERT_TRUE(::IsWindowVisible(slider)) << "no album slider after the scan";
    EXPECT_TRUE(FindItem(dialog, 8005));
    EXPECT_FALSE(FindItem(dialog, 8006)) << "c.png and the empty z.avi are not listed";
    EXPECT_FALSE(folder.Exists("x.mp~"));
    EXPECT_TRUE(folder.Exists("c.png"));
    EXPECT_EQ(0, ::SendMessageA(slider, TBM_GETRANGEMIN, 0, 0));
    EXPECT_EQ(1, ::SendMessageA(slider, TBM_GETRANGEMAX, 0, 0));
    EXPECT_EQ(0, ::SendMessageA(slider, TBM_GETPOS, 0, 0));
    EXPECT_TRUE(::IsWindowVisible(run.Control(kUp)));
    EXPECT_TRUE(::IsWindowVisible(run.Control(kDown)));
    run.Pump(500);

    HWND first = FindItem(dialog, 8000), second = FindItem(dialog, 8001);
    ASSERT_TRUE(first && second);
    std::printf("screenshot: %s\n", SaveScreenshot(ScreenRectOf(run.Frame()), "zentrik_album").c_str());
    EXPECT_EQ(RGB(0, 0, 200), Centre(first)) << "b.JPG above a.jpg (equal times)";
    EXPECT_EQ(RGB(0, 200, 0), Centre(second));
    EXPECT_TRUE(FramedRed(first)) << "the top item is selected";

    // Up is disabled at the top: the selection stays; Down moves it.
    Click(dialog, kUp);
    run.Pump(300);
    EXPECT_TRUE(FramedRed(first));
    Click(dialog, kDown);
    run.Pump(300);
    EXPECT_FALSE(FramedRed(first));
    EXPECT_TRUE(FramedRed(second));

    // Page-up from top 1 with a page of 3 ends at the top, the strip scrolled back by one row.
    ::SendMessageA(slider, TBM_SETPAGESIZE, 0, 3);
    ::SendMessageA(dialog, WM_VSCROLL, SB_BOTTOM, reinterpret_cast<LPARAM>(slider));
    const LONG topRowY = ScreenRectOf(FindItem(dialog, 8001)).top;
    EXPECT_EQ(topRowY, ScreenRectOf(first).top + 73) << "rows stay 73 pixels apart";
    const LONG scrolledY = ScreenRectOf(first).top;
    ::SendMessageA(dialog, WM_VSCROLL, SB_PAGEUP, reinterpret_cast<LPARAM>(slider));
    EXPECT_EQ(scrolledY + 73, ScreenRectOf(first).top);
    ::SendMessageA(dialog, WM_VSCROLL, SB_PAGEUP, reinterpret_cast<LPARAM>(slider));
    EXPECT_EQ(scrolledY + 73, ScreenRectOf(first).top) << "nothing above the top";

    ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(kClose, BN_CLICKED), 0);
    EXPECT_EQ(0u, run.WaitForExit(15000));
    EXPECT_TRUE(run.Boxes().empty());
}

TEST_F(Album, CloseWhileTheScanHandsOverEndsInOrder) {
    AlbumFolder folder("handover");
    for (int i = 0; i < 20; ++i)
        folder.Write(("p" + std::to_string(i) + ".bmp").c_str(), SolidBmp(88, 66, RGB(10 * i, 0, 0)), i);
    AddCamera();
    AddMicrophone();
    constexpr int kRuns = 20;
    qeltest::Watchdog::ExtendCurrentTest(kRuns * 12); // about 5 s a run
    for (int run_ = 0; run_ < kRuns; ++run_) {
        // Wine takes a moment to remove an ended program's windows; a start meanwhile would find the
        // old frame and leave as a second instance.
        for (int i = 0; i < 100 && ::FindWindowA("ZENTRIK_CLASSNAME", nullptr); ++i)
            ::Sleep(50);
        ASSERT_FALSE(::FindWindowA("ZENTRIK_CLASSNAME", nullptr)) << "the previous run's frame is still there";
        ZentrikRun run;
        run.SetIniValue("Basic", "Image Folder", folder.Dir().c_str());
        ASSERT_TRUE(run.Start());
        ASSERT_TRUE(run.WaitForMainWindow(30000)) << "run " << run_;
        // Listing takes 2 s; Close as soon as the first records are in.
        for (int i = 0; i < 100 && !FindItem(run.Dialog(), 8001); ++i)
            run.Pump(50);
        ASSERT_TRUE(FindItem(run.Dialog(), 8001)) << "the scan handed nothing over";
        ASSERT_FALSE(FindItem(run.Dialog(), 8019)) << "the hand-over was already over";
        ::PostMessageA(run.Dialog(), WM_COMMAND, MAKEWPARAM(kClose, BN_CLICKED), 0);
        EXPECT_EQ(0u, run.WaitForExit(15000)) << "run " << run_;
        EXPECT_EQ("0", run.IniValue("Enhance", "ZoomValue")) << "[Enhance] written";
        EXPECT_TRUE(run.Boxes().empty());
    }
}

} // namespace
} // namespace programtest
