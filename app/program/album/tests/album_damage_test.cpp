// What a user keeps in the album must not stop the program: damaged clips that hang the platform's
// AVI source get the placeholder while the window goes on answering, whether they come into view, are
// clicked or are stepped onto before their thumbnail was asked for; an intact clip after them still
// gets its thumbnail; clips the reader refuses at once are tried once, not again and again; and Close
// still ends the program.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "album_folder.h"
#include "avi_clip.h"
#include "album_items.h"
#include "answer_probe.h"
#include "process_probe.h"
#include "program_fixture.h"
#include "program_windows.h"
#include "qeltest/watchdog.h"
#include "screen_probe.h"

namespace programtest {
namespace {

constexpr int kClose = 1021, kSwitch = 1010, kDown = 1052;

// The skin's placeholder: a red cross on dark grey (its centre on the cross, its edges dark).
bool ShowsPlaceholder(const RECT& r) {
    const COLORREF centre = ScreenPixel((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    const COLORREF edge = ScreenPixel(r.left + 4, (r.top + r.bottom) / 2);
    return GetRValue(centre) > 150 && GetGValue(centre) < 100 && GetRValue(edge) < 80 && GetGValue(edge) < 80;
}
bool ShowsPlaceholder(HWND item) { return item && ShowsPlaceholder(ScreenRectOf(item)); }

// The bytes of a file of the test data.
std::string TestData(const char* name) {
    const std::string path = "Z:" + std::string(QEL_TEST_DATA_DIR) + "/" + name;
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    std::string bytes;
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    char buffer[65536];
    DWORD read = 0;
    while (::ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0)
        bytes.append(buffer, read);
    ::CloseHandle(file);
    return bytes;
}

// A press and release of the real left button in the middle of window.
void ClickOn(HWND window) {
    const RECT r = ScreenRectOf(window);
    ::SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_MOUSE;
    input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ::SendInput(2, input, sizeof input[0]);
}

// Pumps until the item with this id is listed (at most ms); it, or null.
HWND WaitForItem(ZentrikRun& run, int id, DWORD ms) {
    for (DWORD waited = 0; waited < ms && !FindItem(run.Dialog(), id); waited += 50)
        run.Pump(50);
    return FindItem(run.Dialog(), id);
}

// How often each file was given to a reader, from the log the program keeps when a test asks for it.
std::map<std::string, int> ClipTries(const std::string& log) {
    std::map<std::string, int> tries;
    HANDLE file = ::CreateFileA(log.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return tries;
    std::string text;
    char buffer[4096];
    DWORD read = 0;
    while (::ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0)
        text.append(buffer, read);
    ::CloseHandle(file);
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        const std::string path = text.substr(start, end - start);
        ++tries[path.substr(path.find_last_of('\\') + 1)];
    }
    return tries;
}

using AlbumDamage = ProgramTest;

// An idle program's processor time over 4 s: a quarter of one processor. The live picture alone takes
// about a tenth, more on a busy machine; a loop of reader opens took more than half of one.
constexpr long kIdleCpuLimitMs = 1000;

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
    // Watched from the main window on, however long the start takes: the clips are tried from the
    // album's first paint, and the window answers all along (a stall of 5 s fails, as a hang guard;
    // the longest answer is printed). Both clips sit above the older picture; each is given up after
    // the maker's time limit (10 s).
    AnswerWatcher watcher(dialog);
    uint32_t frame = 0;
    ASSERT_TRUE(WaitForFrameNumber(run, PreviewOnScreen(run, 0), &frame, 15000)) << "no live picture";
    std::printf("the first clip was %s when the live picture showed\n",
                ShowsPlaceholder(FindItem(dialog, 8000)) ? "given up already" : "still being tried");
    bool placeholders = false;
    for (int i = 0; i < 200 && !placeholders; ++i) {
        run.Pump(200);
        placeholders = ShowsPlaceholder(FindItem(dialog, 8000)) && ShowsPlaceholder(FindItem(dialog, 8001));
    }
    std::printf("screenshot: %s\n", SaveScreenshot(ScreenRectOf(run.Frame()), "zentrik_album_damaged").c_str());
    EXPECT_TRUE(placeholders) << "the damaged clips do not show the placeholder within 40 s";
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

    // Idle with two readers stuck for good: nothing of the program spins (a loop of tries shows here).
    const long idleCpu = CpuMsOver(run, 4000);
    std::printf("processor time over 4 s of idling with two stuck readers: %ld ms\n", idleCpu);
    EXPECT_LT(idleCpu, kIdleCpuLimitMs) << "the idle program keeps a processor busy";

    // The viewer does not open a clip that hung its reader: playback mode on the selected top clip.
    ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(kSwitch, BN_CLICKED), 0);
    run.Pump(2000);
    std::printf("screenshot: %s\n", SaveScreenshot(ScreenRectOf(run.Frame()), "zentrik_album_damaged_viewer").c_str());

    EXPECT_TRUE(ShowsPlaceholder(PreviewOnScreen(run, 0))) << "the viewer does not show the placeholder";
    watcher.Stop();
    std::printf("longest answer of the window: %ld ms\n", watcher.Slowest());
    EXPECT_EQ(0, watcher.Unanswered()) << "the window did not answer within 5 s";

    // The stuck readers do not hold the end of the program.
    ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(kClose, BN_CLICKED), 0);
    EXPECT_EQ(0u, run.WaitForExit(10000));
    EXPECT_TRUE(run.Boxes().empty());
}

TEST_F(AlbumDamage, ClicksOnAndStepsOntoHangingClipsNeverAskedForLeaveTheWindowAnswering) {
    // A damaged clip at the top, six pictures, and a damaged clip at the bottom, below the five rows
    // in view: nothing asks for its thumbnail before Down reaches it.
    AlbumFolder folder("damaged_steps");
    folder.Write("top_damaged.avi", TestData("damaged_clip_b.avi"), 30);
    for (int i = 0; i < 6; ++i)
        folder.Write(("picture" + std::to_string(i) + ".bmp").c_str(), SolidBmp(64, 48, RGB(0, 30 * i, 200)),
                     10 + i);
    folder.Write("bottom_damaged.avi", TestData("damaged_clip_a.avi"), 1);
    AddCamera();
    AddMicrophone();
    qeltest::Watchdog::ExtendCurrentTest(150);
    ZentrikRun run;
    run.SetIniValue("Basic", "Image Folder", folder.Dir().c_str());
    ASSERT_TRUE(run.Start());
    ASSERT_TRUE(run.WaitForMainWindow(30000));
    HWND dialog = run.Dialog();
    AnswerWatcher watcher(dialog);
    auto checkAnswers = [&watcher] {
        watcher.Stop();
        std::printf("longest answer of the window: %ld ms\n", watcher.Slowest());
        EXPECT_EQ(0, watcher.Unanswered()) << "the window did not answer within 5 s";
    };

    // Capture mode: a click on the top clip as soon as it shows, while its reader is being tried.
    HWND top = WaitForItem(run, 8000, 30000);
    ASSERT_TRUE(top) << "the album did not fill in 30 s";
    ClickOn(top);
    HWND bottom = WaitForItem(run, 8007, 30000);
    if (!bottom)
        checkAnswers(); // a window held by the click also holds the scan's hand-over
    ASSERT_TRUE(bottom) << "the album did not fill in 30 s";
    bool topGivenUp = false;
    for (int i = 0; i < 125 && !topGivenUp; ++i) {
        run.Pump(200);
        topGivenUp = ShowsPlaceholder(top);
    }
    EXPECT_TRUE(topGivenUp) << "the top clip does not show the placeholder within 25 s";

    // Playback mode, and Down to the bottom clip: it is shown before the strip scrolls to it.
    PostClick(dialog, kSwitch);
    run.Pump(500);
    for (int i = 0; i < 7; ++i) {
        PostClick(dialog, kDown);
        run.Pump(300);
    }
    EXPECT_TRUE(FramedRed(bottom)) << "Down did not reach the bottom clip";
    ClickOn(bottom); // in its first second in view
    bool placeholders = false;
    for (int i = 0; i < 250 && !placeholders; ++i) {
        run.Pump(200);
        placeholders = ShowsPlaceholder(bottom) && ShowsPlaceholder(PreviewOnScreen(run, 0));
    }
    std::printf("screenshot: %s\n", SaveScreenshot(ScreenRectOf(run.Frame()), "zentrik_album_damaged_steps").c_str());
    EXPECT_TRUE(placeholders) << "the bottom clip and the viewer do not show the placeholder within 50 s";
    checkAnswers();

    PostClick(dialog, kClose);
    EXPECT_EQ(0u, run.WaitForExit(15000));
    EXPECT_TRUE(run.Boxes().empty());
}

TEST_F(AlbumDamage, ClipsTheReaderRefusesAreTriedOnceAndTheIdleProgramStaysFlat) {
    // Behind a clip that hangs its reader for 10 s, which holds the others back: a line of text named
    // like a clip, an AVI cut short, and a clip deleted once listed, before anything tried it.
    AlbumFolder folder("refused");
    folder.Write("hanging.avi", TestData("damaged_clip_a.avi"), 40);
    folder.Write("text-named.avi", TestData("text-named.avi"), 30);
    folder.Write("cut-at-3000.avi", TestData("cut-at-3000.avi"), 20);
    const std::vector<uint8_t> clip = qelmedia::BuildAviClip(qelmedia::AviClipFormat{});
    folder.Write("deleted.avi", std::string(clip.begin(), clip.end()), 10);
    AddCamera();
    AddMicrophone();
    qeltest::Watchdog::ExtendCurrentTest(150);
    ZentrikRun run;
    ASSERT_TRUE(run.UseTestBuild()); // it notes every clip try in the log
    run.SetIniValue("Basic", "Image Folder", folder.Dir().c_str());
    const std::string log = run.Folder() + "clip_tries.txt";
    ::SetEnvironmentVariableA("ZENTRIK_CLIP_TRY_LOG", log.c_str());
    const bool started = run.Start();
    ::SetEnvironmentVariableA("ZENTRIK_CLIP_TRY_LOG", nullptr);
    ASSERT_TRUE(started);
    ASSERT_TRUE(run.WaitForMainWindow(30000));
    HWND dialog = run.Dialog();
    ASSERT_TRUE(WaitForItem(run, 8003, 30000)) << "the album did not fill in 30 s";
    ASSERT_TRUE(::DeleteFileA(folder.Path("deleted.avi").c_str()));
    ASSERT_EQ(0, ClipTries(log)["deleted.avi"]) << "the clip was tried before it was deleted";

    std::vector<HWND> refused;
    for (int id = 8001; id <= 8003; ++id)
        refused.push_back(FindItem(dialog, id));
    auto allPlaceholders = [&refused] {
        for (HWND item : refused)
            if (!ShowsPlaceholder(item))
                return false;
        return true;
    };
    bool placeholders = false;
    for (int i = 0; i < 150 && !placeholders; ++i) {
        run.Pump(200);
        placeholders = allPlaceholders();
    }
    EXPECT_TRUE(placeholders) << "the refused clips do not show the placeholder within 30 s";

    // 20 s of idling: no more tries, the handles as at 5 s, and no processor kept busy.
    run.Pump(5000);
    const long handlesAt5 = HandleCountOf(run.ProcessId());
    const long cpu = CpuMsOver(run, 15000);
    const long handlesAt20 = HandleCountOf(run.ProcessId());
    std::map<std::string, int> tries = ClipTries(log);
    std::printf("handles at 5 s of idling: %ld, at 20 s: %ld; processor time over the last 15 s: %ld ms\n",
                handlesAt5, handlesAt20, cpu);
    for (const char* name : {"hanging.avi", "text-named.avi", "cut-at-3000.avi", "deleted.avi"})
        std::printf("%s: tried %d times\n", name, tries[name]);
    std::printf("screenshot: %s\n", SaveScreenshot(ScreenRectOf(run.Frame()), "zentrik_album_refused").c_str());
    for (const char* name : {"text-named.avi", "cut-at-3000.avi", "deleted.avi"})
        EXPECT_EQ(1, tries[name]) << name;
    EXPECT_EQ(1, tries["hanging.avi"]);
    ASSERT_GT(handlesAt5, 0) << "the program's handles cannot be counted";
    EXPECT_LE(std::labs(handlesAt20 - handlesAt5) * 10, handlesAt5) << "the handle count moved by more than 10%";
    EXPECT_LT(cpu, kIdleCpuLimitMs * 15 / 4) << "the idle program keeps a processor busy";
    EXPECT_TRUE(allPlaceholders()) << "a refused clip lost its placeholder";

    PostClick(dialog, kClose);
    EXPECT_EQ(0u, run.WaitForExit(15000));
    EXPECT_TRUE(run.Boxes().empty());
}

} // namespace
} // namespace programtest
