// Zentrik.exe on a damaged skin, as a user who edited or lost part of it meets it: a skin that cannot
// give a usable window is refused with a message naming its file and what is wrong, and the program
// ends without opening the camera; a control whose picture is missing, huge or malformed is drawn plain
// at its place and the file is named, without the program swelling or stalling over it; a control
// placed outside its window is brought inside it.
#include <gtest/gtest.h>

#include <windows.h>

#include <psapi.h>

#include <atomic>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>

#include "large_png.h"
#include "program_fixture.h"
#include "qeltest/watchdog.h"
#include "screen_probe.h"

namespace programtest {
namespace {

const char kCaption[] = "Tavorin";

std::string ReadText(const std::string& path) {
    std::string text;
    if (FILE* file = std::fopen(path.c_str(), "rb")) {
        char buffer[4096];
        size_t n = 0;
        while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
            text.append(buffer, n);
        std::fclose(file);
    }
    return text;
}

void WriteText(const std::string& path, const std::string& text) {
    if (FILE* file = std::fopen(path.c_str(), "wb")) {
        std::fwrite(text.data(), 1, text.size(), file);
        std::fclose(file);
    }
}

std::string SkinFolder(const ZentrikRun& run) { return run.Folder() + "skin\\default\\Zentrik\\"; }

// A PNG whose header claims width x height (libpng's writer would not make it for a test this small).
std::string HugePngHeader(uint32_t width, uint32_t height) {
    std::string bytes = "\x89PNG\r\n\x1a\n";
    bytes += std::string("\0\0\0\x0dIHDR", 8);
    for (uint32_t value : {width, height})
        for (int shift = 24; shift >= 0; shift -= 8)
            bytes += static_cast<char>((value >> shift) & 0xFF);
    bytes += std::string("\x08\x06\0\0\0", 5);
    bytes += std::string("\0\0\0\0", 4); // CRC: the size is read before anything checks it
    return bytes;
}

// The start-up box of the program's process once it shows with its text; null after ms.
HWND WaitForBox(const ZentrikRun& run, DWORD ms) {
    const DWORD end = ::GetTickCount() + ms;
    while (static_cast<LONG>(end - ::GetTickCount()) > 0 && run.Running()) {
        for (HWND box = ::FindWindowA("#32770", kCaption); box; box = ::FindWindowExA(nullptr, box, "#32770", kCaption)) {
            DWORD pid = 0;
            ::GetWindowThreadProcessId(box, &pid);
            if (pid == run.ProcessId() && ::IsWindowVisible(box)) {
                ::Sleep(300); // drawn by now
                return box;
            }
        }
        ::Sleep(20);
    }
    return nullptr;
}

// The program's visible top-level windows other than its frame, by class.
std::string OtherVisibleWindows(const ZentrikRun& run) {
    struct Search {
        DWORD pid;
        HWND frame;
        std::string found;
    } search{run.ProcessId(), run.Frame(), ""};
    ::EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            DWORD pid = 0;
            ::GetWindowThreadProcessId(window, &pid);
            char name[64] = {};
            if (pid == s->pid && window != s->frame && ::IsWindowVisible(window)) {
                ::GetClassNameA(window, name, sizeof name);
                s->found += std::string(name) + " ";
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

struct BadSkin {
    const char* name;
    std::function<void(const ZentrikRun&)> damage;
    std::string fault; // the start of what the message says is wrong
};

using BadSkins = ProgramTest;

TEST_F(BadSkins, EachIsRefusedNamingItsFileAndTheProgramEndsWithoutTheCamera) {
    AddCamera();
    AddMicrophone();
    const BadSkin skins[] = {
        {"missing", [](const ZentrikRun& run) { ::DeleteFileA(run.SkinIni().c_str()); }, "the file is missing"},
        {"empty", [](const ZentrikRun& run) { WriteText(run.SkinIni(), ""); }, "the file holds no settings"},
        {"garbage", [](const ZentrikRun& run) { WriteText(run.SkinIni(), std::string("\x07\xff\x13zq\0\x80=;", 9)); },
         "the file holds no settings"},
        {"no_background",
         [](const ZentrikRun& run) { ::DeleteFileA((SkinFolder(run) + "bg480.png").c_str()); },
         "the background picture \"" /* its path follows */},
        {"absurd_close",
         [](const ZentrikRun& run) {
             ::WritePrivateProfileStringA("UiClose", "rect0", "99999,99999,28,24", run.SkinIni().c_str());
         },
         "the Close button (section [UiClose], rect0 = 99999,99999,28,24) does not lie inside the window of 850 x 616"},
        {"no_picture_area",
         [](const ZentrikRun& run) {
             ::WritePrivateProfileStringA("PreviewArea", "rect1", "400,300,320,240", run.SkinIni().c_str());
         },
         "the picture area (section [PreviewArea], rect1 = 400,300,320,240) does not lie inside the window of 576 x 460"},
        {"cut_short",
         [](const ZentrikRun& run) {
             const std::string text = ReadText(run.SkinIni());
             WriteText(run.SkinIni(), text.substr(0, text.find("[UiClose]")));
         },
         "section [UiClose] gives no place for the Close button (key rect0)"},
        {"huge_background",
         [](const ZentrikRun& run) { WriteText(SkinFolder(run) + "bg480.png", HugePngHeader(20000, 20000)); },
         "the background picture \"" /* its path, then its size */},
    };
    for (const BadSkin& skin : skins) {
        SCOPED_TRACE(skin.name);
        ZentrikRun run;
        skin.damage(run);
        const std::string start = "The skin \"" + run.SkinIni() + "\" cannot be used: " + skin.fault;
        run.ExpectBox(kCaption, start);
        ASSERT_TRUE(run.Start());
        const HWND box = WaitForBox(run, 30000);
        ASSERT_TRUE(box) << "no message";
        RECT shown = {};
        ::GetWindowRect(box, &shown);
        std::printf("screenshot: %s\n", SaveScreenshot(shown, std::string("bad_skin_") + skin.name).c_str());
        run.WaitForExpectedBoxes(10000);
        EXPECT_TRUE(run.MissingBoxes().empty());
        const DWORD code = run.WaitForExit(15000);
        EXPECT_NE(static_cast<DWORD>(-1), code) << "the program went on";
        EXPECT_LT(code, 0xC0000000u) << "the program crashed";
        EXPECT_EQ(0, run.TopLevelWindowCount("ZENTRIK_CLASSNAME"));
        EXPECT_EQ(0, Camera().LiveInstances()) << "the camera was opened";
        if (std::string(skin.name) == "huge_background") {
            ASSERT_FALSE(run.Boxes().empty());
            EXPECT_NE(std::string::npos, run.Boxes()[0].text.find("is 20000 x 20000 pixels, more than the program can show"))
                << run.Boxes()[0].text;
        }
    }
}

TEST_F(BadSkins, AMissingControlPictureLeavesAPlainControlAndNamesTheFile) {
    AddCamera();
    AddMicrophone();
    ZentrikRun run;
    const std::string picture = SkinFolder(run) + "buttons\\record.png";
    ASSERT_TRUE(::DeleteFileA(picture.c_str()));
    run.ExpectBox(kCaption, "These pictures of the skin cannot be read; their controls are drawn plain:\n\n" + picture);
    ASSERT_TRUE(run.Start());
    ASSERT_TRUE(run.WaitForMainWindow(30000));
    run.WaitForExpectedBoxes(10000);
    EXPECT_TRUE(run.MissingBoxes().empty());
    run.Pump(1500); // the box and the splash gone, the frame painted again
    EXPECT_EQ("", OtherVisibleWindows(run));

    RECT frame = {};
    ::GetWindowRect(run.Frame(), &frame);
    std::printf("screenshot: %s\n", SaveScreenshot(frame, "missing_record_picture").c_str());
    EXPECT_EQ(850, frame.right - frame.left);
    const HWND record = run.Control(1061);
    ASSERT_TRUE(record);
    EXPECT_TRUE(::IsWindowVisible(record));
    EXPECT_TRUE(::IsWindowEnabled(record));
    const RECT want = SkinRect(run.SkinIni(), "Record", 0);
    const RECT got = run.ControlRect(1061);
    EXPECT_TRUE(::EqualRect(&want, &got)) << "the Record button is not at its place, or not of its size";
    // The plain face, the panel colour a little lighter, drawn where the picture would be.
    char panel[64] = {};
    ::GetPrivateProfileStringA("panel", "color", "", panel, sizeof panel, run.SkinIni().c_str());
    int r = 0, g = 0, b = 0;
    ASSERT_EQ(3, std::sscanf(panel, "%d,%d,%d", &r, &g, &b));
    RECT onScreen = {};
    ::GetWindowRect(record, &onScreen);
    EXPECT_EQ(RGB(r + 24, g + 24, b + 24),
              ScreenPixel((onScreen.left + onScreen.right) / 2, (onScreen.top + onScreen.bottom) / 2));
    ::PostMessageA(run.Dialog(), WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, run.WaitForExit(15000));
}

TEST_F(BadSkins, AControlPlacedOutsideItsWindowIsBroughtInsideAndNeverCoversIt) {
    AddCamera();
    AddMicrophone();
    ZentrikRun run;
    // Larger than the window: it could only cover it, so the button keeps its place in the dialog.
    ::WritePrivateProfileStringA("Setup", "rect0", "-2000000000,-50,2147483647,99999", run.SkinIni().c_str());
    // Of a sensible size, past the right and top edges: moved in whole.
    ::WritePrivateProfileStringA("Enhance", "rect0", "840,-30,60,20", run.SkinIni().c_str());
    ASSERT_TRUE(run.Start());
    ASSERT_TRUE(run.WaitForMainWindow(30000));
    EXPECT_TRUE(run.Boxes().empty());
    RECT window = {};
    ::GetClientRect(run.Dialog(), &window);
    ASSERT_EQ(850, window.right);
    ASSERT_EQ(616, window.bottom);

    const RECT setup = run.ControlRect(10053);
    RECT inside = {};
    EXPECT_TRUE(::IntersectRect(&inside, &setup, &window) && ::EqualRect(&inside, &setup))
        << "Setup at " << setup.left << "," << setup.top << "," << setup.right << "," << setup.bottom;
    EXPECT_LT(setup.right - setup.left, window.right / 2);
    EXPECT_LT(setup.bottom - setup.top, window.bottom / 2);
    const RECT close = run.ControlRect(1021);
    RECT overlap = {};
    EXPECT_FALSE(::IntersectRect(&overlap, &setup, &close)) << "Setup lies over Close";

    const RECT enhance = run.ControlRect(1006);
    EXPECT_EQ(790, enhance.left);
    EXPECT_EQ(0, enhance.top);
    EXPECT_EQ(60, enhance.right - enhance.left);
    EXPECT_EQ(20, enhance.bottom - enhance.top);

    // What the user sees at Close's place is Close.
    RECT closeOnScreen = {};
    ::GetWindowRect(run.Control(1021), &closeOnScreen);
    const POINT middle = {(closeOnScreen.left + closeOnScreen.right) / 2, (closeOnScreen.top + closeOnScreen.bottom) / 2};
    EXPECT_EQ(run.Control(1021), ::WindowFromPoint(middle));
    RECT frame = {};
    ::GetWindowRect(run.Frame(), &frame);
    std::printf("screenshot: %s\n", SaveScreenshot(frame, "control_outside_window").c_str());
    ::PostMessageA(run.Dialog(), WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, run.WaitForExit(15000));
}

// The largest private memory of the process seen while the watch runs, sampled every few milliseconds
// (the platform here reports no peak of its own), and the longest the program's frame took to answer.
class StartWatch {
public:
    explicit StartWatch(const ZentrikRun& run) : run_(run) {
        pinger_ = std::thread([this] { Ping(); });
    }
    ~StartWatch() { Stop(); }
    StartWatch(const StartWatch&) = delete;
    StartWatch& operator=(const StartWatch&) = delete;

    void Sample() {
        HANDLE process = ::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, run_.ProcessId());
        PROCESS_MEMORY_COUNTERS counters = {};
        counters.cb = sizeof counters;
        if (process && ::GetProcessMemoryInfo(process, &counters, sizeof counters) && counters.PagefileUsage > peakBytes)
            peakBytes = counters.PagefileUsage;
        if (process)
            ::CloseHandle(process);
    }
    void Stop() {
        stop_ = true;
        if (pinger_.joinable())
            pinger_.join();
    }
    SIZE_T peakBytes = 0;
    std::atomic<DWORD> longestAnswerMs{0};
    std::atomic<bool> unanswered{false};
    std::atomic<int> answers{0};

private:
    // From the moment the frame exists: a message the frame must answer within the 5 s guard.
    void Ping() {
        while (!stop_) {
            HWND frame = ::FindWindowA("ZENTRIK_CLASSNAME", nullptr);
            DWORD pid = 0;
            if (frame)
                ::GetWindowThreadProcessId(frame, &pid);
            if (pid != run_.ProcessId()) {
                ::Sleep(10);
                continue;
            }
            const DWORD start = ::GetTickCount();
            DWORD_PTR result = 0;
            if (!::SendMessageTimeoutA(frame, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result)) {
                if (::IsWindow(frame))
                    unanswered = true;
                continue;
            }
            const DWORD took = ::GetTickCount() - start;
            if (took > longestAnswerMs)
                longestAnswerMs = took;
            ++answers;
            ::Sleep(20);
        }
    }
    const ZentrikRun& run_;
    std::atomic<bool> stop_{false};
    std::thread pinger_;
};

TEST_F(BadSkins, AHugeOrBombPictureOfAButtonIsRefusedUnreadWhileTheWindowAnswers) {
    AddCamera();
    AddMicrophone();
    struct Picture {
        const char* name;
        std::function<bool(const std::string&)> write;
    };
    const Picture pictures[] = {
        {"chunk_bomb",
         [](const std::string& path) {
             return ::CopyFileA("Z:" QEL_REPRO_DIR "/png-chunk-bomb.png", path.c_str(), FALSE) != 0;
         }},
        {"20000x20000", [](const std::string& path) { return WriteBlackPng(path, 20000, 20000); }},
    };
    // A hang guard for both starts: a program that decodes such a picture takes seconds to tens of them.
    qeltest::Watchdog::ExtendCurrentTest(240);
    for (const Picture& picture : pictures) {
        SCOPED_TRACE(picture.name);
        ZentrikRun run;
        const std::string file = SkinFolder(run) + "buttons\\uiclose.png";
        ASSERT_TRUE(picture.write(file));
        run.ExpectBox(kCaption, "These pictures of the skin cannot be read; their controls are drawn plain:\n\n" + file);
        ASSERT_TRUE(run.Start());
        StartWatch watch(run);
        const DWORD end = ::GetTickCount() + 60000; // a hang guard: start-up takes seconds
        while (!run.MissingBoxes().empty() && run.Running() && static_cast<LONG>(end - ::GetTickCount()) > 0) {
            run.Pump(20);
            watch.Sample();
        }
        for (int i = 0; i < 50; ++i) { // a second on: the window painted with its plain Close
            run.Pump(20);
            watch.Sample();
        }
        watch.Stop();
        EXPECT_TRUE(run.MissingBoxes().empty()) << "no box named the picture";
        std::printf("%s: peak private memory %.1f MB, longest answer of the window %lu ms (%d answers)\n", picture.name,
                    static_cast<double>(watch.peakBytes) / (1024.0 * 1024.0),
                    static_cast<unsigned long>(watch.longestAnswerMs.load()), watch.answers.load());
        EXPECT_LT(watch.peakBytes, 200u * 1024u * 1024u);
        EXPECT_FALSE(watch.unanswered) << "the window did not answer within 5 s";
        EXPECT_GT(watch.answers, 0);
        ASSERT_TRUE(run.WaitForMainWindow(30000));
        const HWND close = run.Control(1021);
        EXPECT_TRUE(::IsWindowVisible(close));
        RECT frame = {};
        ::GetWindowRect(run.Frame(), &frame);
        std::printf("screenshot: %s\n", SaveScreenshot(frame, std::string("refused_close_") + picture.name).c_str());
        // Close, drawn plain, still closes.
        ::PostMessageA(close, BM_CLICK, 0, 0);
        EXPECT_EQ(0u, run.WaitForExit(15000));
    }
}

} // namespace
} // namespace programtest
