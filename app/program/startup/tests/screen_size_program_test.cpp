// Zentrik.exe on whatever screen it is given (CTest runs these tests on the suite's screen and again on
// virtual screens of 1024 x 600, 800 x 600 and 640 x 400): from fresh settings and with either size mode
// saved, it starts in the mode whose window fits the work area, the window lies wholly on the screen
// with its live picture moving; where no window fits, it starts with the smaller one at the work area's
// top left. The saved mode is the user's still after the program ends.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "program_fixture.h"
#include "screen_probe.h"

namespace programtest {
namespace {

// The size a PNG's header gives; 0 x 0 when it cannot be read.
SIZE PngSize(const std::string& path) {
    SIZE size = {};
    unsigned char head[24] = {};
    if (FILE* file = std::fopen(path.c_str(), "rb")) {
        if (std::fread(head, 1, sizeof head, file) == sizeof head && std::memcmp(head + 12, "IHDR", 4) == 0) {
            size.cx = head[16] << 24 | head[17] << 16 | head[18] << 8 | head[19];
            size.cy = head[20] << 24 | head[21] << 16 | head[22] << 8 | head[23];
        }
        std::fclose(file);
    }
    return size;
}

// The window of size mode: the background the skin names for it.
SIZE SkinWindow(const ZentrikRun& run, int mode) {
    char file[MAX_PATH] = {};
    ::GetPrivateProfileStringA("Zentrik", mode ? "mode320x240" : "mode480x360", "", file, sizeof file,
                               run.SkinIni().c_str());
    return PngSize(run.Folder() + "skin\\default\\" + file);
}

bool Fits(SIZE window, const RECT& area) {
    return window.cx <= area.right - area.left && window.cy <= area.bottom - area.top;
}

struct Saved {
    const char* name;
    const char* value; // [Basic] dialogsize before the start; null: fresh settings without it
    int mode;          // the mode the user chose by it
};

using ScreenSize = ProgramTest;

TEST_F(ScreenSize, TheProgramStartsInTheModeThatFitsWhollyOnTheScreenAndKeepsTheSavedOne) {
    RECT work = {};
    ASSERT_TRUE(::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));
    const int screenW = ::GetSystemMetrics(SM_CXSCREEN);
    const int screenH = ::GetSystemMetrics(SM_CYSCREEN);
    std::printf("screen %d x %d, work area %ld,%ld - %ld,%ld\n", screenW, screenH, work.left, work.top, work.right,
                work.bottom);
    const Saved saves[] = {{"fresh", nullptr, 0}, {"large", "0", 0}, {"small", "1", 1}};
    for (const Saved& saved : saves) {
        SCOPED_TRACE(saved.name);
        auto run = StartQuietly(saved.value);
        ASSERT_TRUE(run->Dialog());
        const SIZE windows[2] = {SkinWindow(*run, 0), SkinWindow(*run, 1)};
        ASSERT_GT(windows[0].cx, windows[1].cx) << "the skin's large window is not the larger";
        // The small window fits the smallest screen this is run on; the large one does not fit 600 rows.
        const bool anyFits = Fits(windows[0], work) || Fits(windows[1], work);
        // The small window where the saved one does not fit (the skin's small window is the smaller).
        const int expected = Fits(windows[saved.mode], work) ? saved.mode : 1;
        if (screenH <= 600 && anyFits) {
            EXPECT_EQ(1, expected);
        }

        RECT frame = {};
        ::GetWindowRect(run->Frame(), &frame);
        std::printf("%s: saved mode %d, window %ld,%ld - %ld,%ld (expected mode %d)\n", saved.name, saved.mode,
                    frame.left, frame.top, frame.right, frame.bottom, expected);
        EXPECT_EQ(windows[expected].cx, frame.right - frame.left);
        EXPECT_EQ(windows[expected].cy, frame.bottom - frame.top);
        RECT onWork = {};
        if (anyFits) {
            EXPECT_TRUE(::IntersectRect(&onWork, &frame, &work) && ::EqualRect(&onWork, &frame))
                << "the window does not lie wholly on the work area";
        } else {
            EXPECT_EQ(work.left, frame.left);
            EXPECT_EQ(work.top, frame.top);
        }
        // The title-bar buttons of the mode in use: Zoom out in the large, Zoom in in the small.
        EXPECT_EQ(expected == 0, ::IsWindowVisible(run->Control(1020)) != FALSE);
        EXPECT_EQ(expected == 1, ::IsWindowVisible(run->Control(1057)) != FALSE);

        RECT preview = PreviewOnScreen(*run, expected);
        ::IntersectRect(&preview, &preview, &work); // what of it the screen shows where no window fits
        uint32_t first = 0;
        uint32_t later = 0;
        ASSERT_TRUE(WaitForFrameNumber(*run, preview, &first, 15000)) << "no live picture";
        run->Pump(600);
        ASSERT_TRUE(WaitForFrameNumber(*run, preview, &later, 15000));
        EXPECT_GT(later, first) << "the live picture does not move";
        const RECT screen = {0, 0, screenW, screenH};
        std::printf("screenshot: %s\n",
                    SaveScreenshot(screen, "screen_" + std::to_string(screenW) + "x" + std::to_string(screenH) +
                                               "_saved_" + saved.name)
                        .c_str());

        ::PostMessageA(run->Dialog(), WM_CLOSE, 0, 0);
        EXPECT_EQ(0u, run->WaitForExit(15000));
        EXPECT_EQ(std::to_string(saved.mode), run->IniValue("Basic", "dialogsize"))
            << "the mode taken for the screen replaced the user's";
        EXPECT_TRUE(run->Boxes().empty());
    }
}

} // namespace
} // namespace programtest
