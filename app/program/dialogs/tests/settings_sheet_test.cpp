// The settings sheet in the real program: the Basic page's camera lookup, live rotation, folder check
// through the real folder browser and the camera's own page behind Advanced, the Format page's size and
// kept picture type, the Mode page's spins, and what OK writes.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>

#include "album_folder.h"
#include "answer_probe.h"
#include "cut_short_recording.h"
#include "dialog_driver.h"
#include "folder_browser.h"
#include "program_fixture.h"
#include "qeltest/temp_dir.h"
#include "qeltest/watchdog.h"
#include "screen_probe.h"
#include "test_camera.h"
#include "wine_drive.h"

namespace programtest {
namespace {

constexpr int kSetupButton = 10053;
constexpr int kResolutionLabel = 1022;
enum : int { kImageFolder = 1048, kBrowseImageFolder = 10053, kCameraList = 10025, kCameraNameLabel = 10091,
             kRotate90 = 1093 };
constexpr int kAdvanced = 10061;
enum : int { kSizeList = 10025, kImageType = 10026, kImageQuality = 10086, kVideoType = 10060, kVideoQuality = 10092 };
enum : int { kLimitMinutes = 10052, kLimitSeconds = 10094, kLimitSecondsSpin = 10075, kIntervalMinutes = 10023,
             kIntervalSeconds = 10095, kIntervalSecondsSpin = 10099 };

// The control's own text (GetWindowText reads only the title of another process's window).
std::string Text(HWND window) {
    char text[512] = {};
    ::SendMessageA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

// A spin's range from its 16-bit form: the 32-bit one answers through pointers, which do not cross
// processes.
void SpinRange(HWND spin, int* low, int* high) {
    const LRESULT range = ::SendMessageA(spin, UDM_GETRANGE, 0, 0);
    *low = static_cast<short>(HIWORD(range));
    *high = static_cast<short>(LOWORD(range));
}

// An empty folder of the test's own at the root of the system drive: Wine's folder browser selects
// nothing below the user's temp folder by its path.
class RootFolder {
public:
    RootFolder() {
        char windows[MAX_PATH] = {};
        ::GetWindowsDirectoryA(windows, MAX_PATH);
        path_ = std::string(windows, 3) + "qeltest-browse-" + std::to_string(::GetCurrentProcessId());
        created_ = ::CreateDirectoryA(path_.c_str(), nullptr) != FALSE;
    }
    ~RootFolder() {
        if (created_)
            ::RemoveDirectoryA(path_.c_str());
    }
    RootFolder(const RootFolder&) = delete;
    RootFolder& operator=(const RootFolder&) = delete;

    bool Created() const { return created_; }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
    bool created_ = false;
};

// The texts of a window's static controls, one a line.
std::string StaticTexts(HWND window) {
    std::string texts;
    ::EnumChildWindows(
        window,
        [](HWND child, LPARAM param) -> BOOL {
            char cls[32] = {};
            ::GetClassNameA(child, cls, sizeof cls);
            if (_stricmp(cls, "Static") == 0)
                *reinterpret_cast<std::string*>(param) += Text(child) + "\n";
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&texts));
    return texts;
}

class SettingsSheet : public ProgramTest {
protected:
    void TearDown() override {
        run.reset();
        secondCamera.reset();
        ProgramTest::TearDown();
    }
    void Start(const std::function<void(ZentrikRun&)>& prepare = [](ZentrikRun&) {}) {
        run = StartPrepared(prepare);
        run->Pump(500);
    }
    HWND Open() {
        ::PostMessageA(run->Dialog(), WM_COMMAND, MAKEWPARAM(kSetupButton, BN_CLICKED), 0);
        return run->WaitForDialog("Setup", 10000);
    }
    // Shows the page at index (0 Basic, 1 Format, 2 Mode); the page that holds controlId.
    HWND ShowPage(HWND sheet, int index, int controlId) {
        ::SendMessageA(sheet, PSM_SETCURSEL, index, 0);
        run->Pump(300);
        HWND control = FindChildById(sheet, controlId);
        return control ? ::GetParent(control) : nullptr;
    }
    void End(HWND sheet, int button) {
        ::PostMessageA(sheet, PSM_PRESSBUTTON, button, 0);
        EXPECT_TRUE(run->WaitForDialogEnd(sheet, 5000)) << "the sheet did not end";
        run->Pump(300);
    }
    void CloseProgram() {
        ::PostMessageA(run->Dialog(), WM_CLOSE, 0, 0);
        ASSERT_EQ(0u, run->WaitForExit(15000));
    }
    // An arrow key on a spin's buddy, as the user steps it.
    void Step(HWND page, int editId, WORD key) {
        HWND edit = ::GetDlgItem(page, editId);
        ::PostMessageA(edit, WM_KEYDOWN, key, 1);
        ::PostMessageA(edit, WM_KEYUP, key, 0xC0000001);
        run->Pump(200);
    }

    // "Browse(&S)" on the Basic page, folder picked in the browser; empty, or what went wrong.
    template <typename Path>
    std::string BrowseTo(HWND page, const Path& folder) {
        PostClick(page, kBrowseImageFolder);
        HWND browser = WaitForFolderBrowser(run->ProcessId(), 10000);
        if (!browser)
            return "no folder browser";
        return PickFolder(browser, run->ProcessId(), folder, 5000);
    }
    // A folder on a drive of this type picked through the browser: the path error shows, the edit and
    // the stored folder stay as they were.
    void ExpectRefusedThroughTheBrowser(UINT driveType) {
        qeltest::TempDir media;
        ASSERT_TRUE(::CreateDirectoryA(media.File("pictures").c_str(), nullptr));
        ScopedWineDrive drive(driveType, media.Path());
        if (!drive.Failure().empty())
            GTEST_SKIP() << "no drive of type " << driveType << " can be made here: " << drive.Failure();
        Start();
        const std::string stored = run->IniValue("Basic", "Image Folder");
        HWND sheet = Open();
        ASSERT_TRUE(sheet);
        HWND page = ShowPage(sheet, 0, kRotate90);
        ASSERT_TRUE(page);
        run->ExpectBox("Zentrik", "Path error! You do not have permission to save, please try another path.");
        ASSERT_EQ("", BrowseTo(page, drive.Root() + "pictures"));
        run->WaitForExpectedBoxes(5000);
        EXPECT_TRUE(run->MissingBoxes().empty()) << "no path error for " << drive.Root() << "pictures";
        EXPECT_EQ(stored, Text(::GetDlgItem(page, kImageFolder)));
        End(sheet, PSBTN_OK);
        EXPECT_EQ(stored, run->IniValue("Basic", "Image Folder"));
    }
    // The camera's property frame, a dialog of the program whose caption holds the engine's title
    // (Wine writes "Properties for Video Setting"); null when none showed within ms.
    HWND WaitForCameraFrame(DWORD ms) {
        const DWORD end = ::GetTickCount() + ms;
        do {
            for (HWND window : VisibleTopLevelWindows(run->ProcessId(), "#32770"))
                if (TextOf(window).find("Video Setting") != std::string::npos)
                    return window;
            run->Pump(50);
        } while (run->Running() && static_cast<LONG>(end - ::GetTickCount()) > 0);
        return nullptr;
    }
    // Opens the sheet on its Basic page and presses "Advanced(&A)"; the page, or null.
    HWND PressAdvanced(HWND sheet) {
        HWND page = ShowPage(sheet, 0, kAdvanced);
        if (page)
            PostClick(page, kAdvanced); // posted: the frame it opens is modal
        return page;
    }

    std::unique_ptr<qelcam::ScopedTestCamera> secondCamera;
    std::unique_ptr<ZentrikRun> run;
};

TEST_F(SettingsSheet, ASavedNameBeginningTwoEntriesSelectsTheSecond) {
    secondCamera = std::make_unique<qelcam::ScopedTestCamera>(std::wstring(kCameraName) + L" 2");
    ASSERT_EQ(S_OK, secondCamera->Result());
    Start([](ZentrikRun& r) { r.SetIniValue("Basic", "Camera Selection", "Qel Program Camera"); });
    HWND sheet = Open();
    ASSERT_TRUE(sheet);
    HWND page = ShowPage(sheet, 0, kRotate90);
    ASSERT_TRUE(page);
    ShootWindow(sheet, "setup_basic");
    HWND list = ::GetDlgItem(page, kCameraList);
    // Sorted: the camera, the second camera, then the stand-in microphone's source.
    ASSERT_LE(2, ::SendMessageA(list, CB_GETCOUNT, 0, 0)) << "the camera list";
    EXPECT_EQ(1, ::SendMessageA(list, CB_GETCURSEL, 0, 0));
    EXPECT_EQ("Qel Program Camera 2", Text(list)) << "the selected entry";
    EXPECT_EQ("Qel Program Camera", Text(::GetDlgItem(page, kCameraNameLabel)));
    End(sheet, PSBTN_CANCEL);
}

// A second camera listed after the program's own (devices are listed in class-id order): an empty
// saved name that matched every entry would select it.
class SecondCamera {
public:
    SecondCamera() { result_ = qelcam::RegisterTestCamera(L"Qel Program Camera Two", kClsid); }
    ~SecondCamera() { qelcam::UnregisterTestCamera(kClsid); }
    HRESULT Result() const { return result_; }

private:
    // {FFFFFFF0-...}: sorts after any other camera's class id.
    static constexpr CLSID kClsid = {0xfffffff0, 0x5a5a, 0x4c4c, {0x9e, 0x1d, 0x2b, 0x3c, 0x4d, 0x5e, 0x6f, 0x70}};
    HRESULT result_ = E_FAIL;
};

TEST_F(SettingsSheet, WithoutASavedNameTheFirstCameraInUseIsShown) {
    SecondCamera second;
    ASSERT_EQ(S_OK, second.Result());
    Start();
    HWND sheet = Open();
    ASSERT_TRUE(sheet);
    HWND page = ShowPage(sheet, 0, kRotate90);
    ASSERT_TRUE(page);
    HWND list = ::GetDlgItem(page, kCameraList);
    ASSERT_LE(2, ::SendMessageA(list, CB_GETCOUNT, 0, 0)) << "the program's camera and the second one";
    EXPECT_EQ(0, ::SendMessageA(list, CB_GETCURSEL, 0, 0));
    EXPECT_EQ("Qel Program Camera", Text(::GetDlgItem(page, kCameraNameLabel)));
    End(sheet, PSBTN_OK);
    EXPECT_EQ("Qel Program Camera", run->IniValue("Basic", "Camera Selection"));
}

TEST_F(SettingsSheet, AFixedDiskFolderPickedInTheBrowserFillsTheEditAndOkStoresIt) {
    RootFolder picked;
    ASSERT_TRUE(picked.Created()) << picked.Path();
    Start();
    HWND sheet = Open();
    ASSERT_TRUE(sheet);
    HWND page = ShowPage(sheet, 0, kRotate90);
    ASSERT_TRUE(page);
    ASSERT_EQ("", BrowseTo(page, picked.Path()));
    run->Pump(300);
    EXPECT_EQ(0, _stricmp(picked.Path().c_str(), Text(::GetDlgItem(page, kImageFolder)).c_str()))
        << "the edit shows " << Text(::GetDlgItem(page, kImageFolder));
    End(sheet, PSBTN_OK);
    EXPECT_EQ(0, _stricmp(picked.Path().c_str(), run->IniValue("Basic", "Image Folder").c_str()));
    EXPECT_TRUE(run->Boxes().empty());
}

// A folder whose name the code page cannot hold comes back from the browser as a path that reaches it
// (its short form), never with '?' stand-ins that no folder has.
TEST_F(SettingsSheet, AFolderNamedInCyrillicPickedInTheBrowserIsKeptByAPathThatReachesIt) {
    qeltest::TempDir base;
    std::wstring wide(base.Path().begin(), base.Path().end());
    wide += L"\\\u0424\u043e\u0442\u043e"; // Cyrillic
    ASSERT_TRUE(::CreateDirectoryW(wide.c_str(), nullptr));
    wchar_t shortPath[MAX_PATH] = {};
    if (::GetACP() != 1252 || !::GetShortPathNameW(wide.c_str(), shortPath, MAX_PATH) || wide == shortPath) {
        ::RemoveDirectoryW(wide.c_str());
        GTEST_SKIP() << "code page " << ::GetACP() << ", or no short names on this volume";
    }
    Start();
    HWND sheet = Open();
    ASSERT_TRUE(sheet);
    HWND page = ShowPage(sheet, 0, kRotate90);
    ASSERT_TRUE(page);
    ASSERT_EQ("", BrowseTo(page, wide));
    run->Pump(300);
    const std::string shown = Text(::GetDlgItem(page, kImageFolder));
    EXPECT_EQ(std::string::npos, shown.find('?')) << "the edit shows " << shown;
    wchar_t reached[MAX_PATH] = {};
    const std::wstring shownWide(shown.begin(), shown.end());
    EXPECT_NE(0u, ::GetLongPathNameW(shownWide.c_str(), reached, MAX_PATH)) << shown << " reaches nothing";
    EXPECT_TRUE(wide == reached) << shown << " reaches another folder";
    End(sheet, PSBTN_OK);
    EXPECT_EQ(shown, run->IniValue("Basic", "Image Folder"));
    EXPECT_TRUE(run->Boxes().empty());
    ::RemoveDirectoryW(wide.c_str());
}

TEST_F(SettingsSheet, ACdRomFolderPickedInTheBrowserIsRefused) {
    ExpectRefusedThroughTheBrowser(DRIVE_CDROM);
}

TEST_F(SettingsSheet, ANetworkDriveFolderPickedInTheBrowserIsRefused) {
    ExpectRefusedThroughTheBrowser(DRIVE_REMOTE);
}

TEST_F(SettingsSheet, TheTimeSpinsNeverAllowZero) {
    Start();
    HWND sheet = Open();
    ASSERT_TRUE(sheet);
    HWND page = ShowPage(sheet, 2, kLimitMinutes);
    ASSERT_TRUE(page);
    ShootWindow(sheet, "setup_mode");
    EXPECT_EQ("0", Text(::GetDlgItem(page, kLimitMinutes)));
    EXPECT_EQ("30", Text(::GetDlgItem(page, kLimitSeconds)));
    EXPECT_EQ("0", Text(::GetDlgItem(page, kIntervalMinutes)));
    EXPECT_EQ("5", Text(::GetDlgItem(page, kIntervalSeconds)));
    HWND seconds = ::GetDlgItem(page, kLimitSecondsSpin);
    int low = -1, high = -1;
    SpinRange(seconds, &low, &high);
    EXPECT_EQ(1, low);
    EXPECT_EQ(59, high);

    Step(page, kLimitMinutes, VK_UP);
    EXPECT_EQ("1", Text(::GetDlgItem(page, kLimitMinutes)));
    SpinRange(seconds, &low, &high);
    EXPECT_EQ(0, low) << "a whole minute allows 0 seconds";
    ::SendMessageA(seconds, UDM_SETPOS32, 0, 0);
    Step(page, kLimitMinutes, VK_DOWN);
    EXPECT_EQ("0", Text(::GetDlgItem(page, kLimitMinutes)));
    EXPECT_EQ(1, static_cast<int>(::SendMessageA(seconds, UDM_GETPOS32, 0, 0))) << "0:00 is never a limit";
    End(sheet, PSBTN_OK);
    const std::string limit = run->IniValue("Mode", "Capture Time");
    EXPECT_NE(std::string::npos, limit.find("0:01")) << "OK keeps 0:01: " << limit;
}

TEST_F(SettingsSheet, OkAppliesANewSizeAndKeepsAPictureTypeTheListLacks) {
    Start([](ZentrikRun& r) { r.SetIniValue("Format", "Image FileType", "2"); });
    HWND sheet = Open();
    ASSERT_TRUE(sheet);
    HWND page = ShowPage(sheet, 1, kImageQuality);
    ASSERT_TRUE(page);
    EXPECT_EQ(-1, ::SendMessageA(::GetDlgItem(page, kImageType), CB_GETCURSEL, 0, 0));
    HWND sizes = ::GetDlgItem(page, kSizeList);
    ASSERT_NE(CB_ERR, ::SendMessageA(sizes, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                                     reinterpret_cast<LPARAM>("640x480")))
        << "the camera offers no 640x480";
    // Video quality only for WMV.
    HWND videoType = ::GetDlgItem(page, kVideoType);
    ::SendMessageA(videoType, CB_SETCURSEL, 0, 0);
    ::SendMessageA(page, WM_COMMAND, MAKEWPARAM(kVideoType, CBN_SELCHANGE), reinterpret_cast<LPARAM>(videoType));
    EXPECT_FALSE(IsEnabled(page, kVideoQuality));
    ::SendMessageA(videoType, CB_SETCURSEL, 2, 0);
    ::SendMessageA(page, WM_COMMAND, MAKEWPARAM(kVideoType, CBN_SELCHANGE), reinterpret_cast<LPARAM>(videoType));
    EXPECT_TRUE(IsEnabled(page, kVideoQuality));
    ShootWindow(sheet, "setup_format");
    End(sheet, PSBTN_OK);
    EXPECT_EQ("640x480", run->IniValue("Format", "Output Size"));
    EXPECT_EQ("2", run->IniValue("Format", "Image FileType"));
    EXPECT_EQ("640x480", Text(run->Control(kResolutionLabel)));
}

TEST_F(SettingsSheet, CancelKeepsANewRotation) {
    Start();
    HWND sheet = Open();
    ASSERT_TRUE(sheet);
    HWND page = ShowPage(sheet, 0, kRotate90);
    ASSERT_TRUE(page);
    PressButton(page, kRotate90);
    run->Pump(300);
    End(sheet, PSBTN_CANCEL);
    CloseProgram();
    EXPECT_EQ("90", run->IniValue("Basic", "RotateDegree"));
}

TEST_F(SettingsSheet, ANewImageFolderRescansTheAlbum) {
    AlbumFolder empty("setup-empty");
    AlbumFolder pictures("setup-pictures");
    pictures.Write("a.jpg", SolidBmp(88, 66, RGB(0, 200, 0)), 30);
    Start([&empty](ZentrikRun& r) { r.SetIniValue("Basic", "Image Folder", empty.Dir().c_str()); });
    run->Pump(1000);
    EXPECT_FALSE(FindChildById(run->Dialog(), 8000)) << "the empty folder lists something";
    HWND sheet = Open();
    ASSERT_TRUE(sheet);
    HWND page = ShowPage(sheet, 0, kRotate90);
    ASSERT_TRUE(page);
    ::SendMessageA(::GetDlgItem(page, kImageFolder), WM_SETTEXT, 0,
                   reinterpret_cast<LPARAM>(pictures.Dir().c_str()));
    End(sheet, PSBTN_OK);
    HWND item = nullptr;
    for (int i = 0; i < 50 && !item; ++i) {
        run->Pump(100);
        item = FindChildById(run->Dialog(), 8000);
    }
    EXPECT_TRUE(item) << "the new folder's picture is not listed";
    EXPECT_EQ(pictures.Dir(), run->IniValue("Basic", "Image Folder"));
}

TEST_F(SettingsSheet, SetupDuringTheAlbumScanListsTheFolderAgainOnce) {
    AlbumFolder pictures("setup-scan");
    constexpr int kPictures = 16;
    for (int i = 0; i < kPictures; ++i)
        pictures.Write(("p" + std::to_string(i) + ".bmp").c_str(), SolidBmp(88, 66, RGB(0, 10 * i, 0)), i);
    Start([&pictures](ZentrikRun& r) { r.SetIniValue("Basic", "Image Folder", pictures.Dir().c_str()); });
    HWND sheet = Open();
    ASSERT_TRUE(sheet);
    const bool scanning = !FindChildById(run->Dialog(), 8000 + kPictures - 1);
    End(sheet, PSBTN_CANCEL);
    if (!scanning)
        GTEST_SKIP() << "the scan had ended before the sheet opened; nothing was cut short";
    HWND last = nullptr;
    for (int i = 0; i < 100 && !last; ++i) {
        run->Pump(100);
        last = FindChildById(run->Dialog(), 8000 + kPictures - 1);
    }
    EXPECT_TRUE(last) << "the album was not listed again whole";
    run->Pump(1000);
    EXPECT_FALSE(FindChildById(run->Dialog(), 8000 + kPictures)) << "pictures listed twice";
    CloseProgram();
}

// OK while a repair of the video folder crawls through a slow drive (every read slowed on purpose):
// the window answers at once, and the repair it cut short is taken up again and finishes the file,
// although OK makes the image folder the video folder too.
TEST_F(SettingsSheet, OkDuringASlowRepairAnswersAtOnceAndTheRepairIsTakenUpAgain) {
    qeltest::Watchdog::ExtendCurrentTest(120);
    AlbumFolder videos("setup-repair");
    const std::string clip = videos.Write("DREM0001.AVI", cutshort::Recording(150, 40), 0);
    {
        cutshort::ScopedVariable slow(cutshort::kReadPauseVariable, "40"); // some 12 s for the whole repair
        Start([&videos](ZentrikRun& r) {
            ASSERT_TRUE(r.UseTestBuild()); // its repair reads as slowly as the variable says
            r.SetIniValue("Basic", "Video Folder", videos.Dir().c_str());
        });
    }
    HWND sheet = Open();
    ASSERT_TRUE(sheet);
    if (cutshort::Finished(clip)) {
        End(sheet, PSBTN_CANCEL);
        GTEST_SKIP() << "the repair had ended before the sheet opened; nothing was cut short";
    }
    End(sheet, PSBTN_OK);
    const long answered = AnswerTime(run->Dialog(), 5000);
    std::printf("the window answered %ld ms after OK (hang guard 5000 ms)\n", answered);
    EXPECT_GE(answered, 0) << "the window did not answer after OK";
    const DWORD start = ::GetTickCount();
    while (!cutshort::Finished(clip) && ::GetTickCount() - start < 60000)
        run->Pump(200);
    std::printf("finished %lu ms after OK (hang guard 60000 ms)\n", static_cast<unsigned long>(::GetTickCount() - start));
    EXPECT_TRUE(cutshort::Finished(clip)) << "the repair was not taken up again after OK";
    CloseProgram();
}

TEST_F(SettingsSheet, AdvancedShowsTheCamerasOwnPageWhileThePreviewRuns) {
    cameraVariant = qelcam::kWithPreviewPin | qelcam::kWithPropertyPages;
    Start();
    HWND sheet = Open();
    ASSERT_TRUE(sheet);
    // Aside, so that the preview shows beside the sheet and the frame.
    MoveAside(sheet);
    ASSERT_TRUE(PressAdvanced(sheet));
    HWND frame = WaitForCameraFrame(10000);
    ASSERT_TRUE(frame) << "pressing Advanced showed no property frame";
    MoveAside(frame);
    run->Pump(300);
    std::printf("screenshot: %s\n", ShootWindow(frame, "setup_advanced_frame").c_str());
    // The camera's page on the camera filter: its text is the filter's name, not a stream format.
    const std::string texts = StaticTexts(frame);
    EXPECT_FALSE(texts.find_first_not_of('\n') == std::string::npos) << "the page shows nothing";
    EXPECT_EQ(std::string::npos, texts.find(" x ")) << "a stream format page: " << texts;
    EXPECT_EQ(std::string::npos, texts.find("Unknown object")) << texts;

    const RECT preview = PreviewOnScreen(*run, 0);
    uint32_t first = 0, later = 0;
    ASSERT_TRUE(WaitForFrameNumber(*run, preview, &first, 10000)) << "no picture behind the frame";
    run->Pump(1000);
    ASSERT_TRUE(WaitForFrameNumber(*run, preview, &later, 5000));
    EXPECT_GT(later, first) << "the preview stopped while the frame was open";

    ::PostMessageA(frame, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_TRUE(run->WaitForDialogEnd(frame, 5000)) << "the frame did not close";
    EXPECT_TRUE(::IsWindow(sheet)) << "the sheet went with the frame";
    End(sheet, PSBTN_CANCEL);
    EXPECT_TRUE(run->Boxes().empty());
    CloseProgram();
}

TEST_F(SettingsSheet, AdvancedSaysUnknownErrorWhenTheCamerasPagesCannotBeListed) {
    cameraVariant = qelcam::kWithPreviewPin | qelcam::kWithFailingPages;
    Start();
    run->ExpectBox("Error", "Unknown Error");
    HWND sheet = Open();
    ASSERT_TRUE(sheet);
    ASSERT_TRUE(PressAdvanced(sheet));
    run->WaitForExpectedBoxes(10000);
    EXPECT_TRUE(run->MissingBoxes().empty()) << "no error for pages that could not be shown";
    EXPECT_FALSE(WaitForCameraFrame(0)) << "a frame showed all the same";
    EXPECT_TRUE(::IsWindow(sheet));
    End(sheet, PSBTN_CANCEL);
    CloseProgram();
}

} // namespace
} // namespace programtest
