// The program started without a settings file: a first recording in the default record format, which
// this system cannot write, says why, leaves no file, and AVI then records; the format chosen in Setup
// is the one the next start records; a sound input that refuses is reported and recording goes on
// without sound; the snapshot kinds keep exactly one chosen; a double click on Stop starts no new
// recording; the Setup sheet opens over the window; five snapshots show whole in the strip; Cancel in
// Enhance after a real drag restores the picture; an empty album's commands stay disabled until a
// capture arrives; a documents folder the program cannot reach gives way to the program's own folder.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <prsht.h>
#include <shlobj.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>
#include <cstdio>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "dialog_driver.h"
#include "program_fixture.h"
#include "program_windows.h"
#include "qeltest/temp_dir.h"
#include "riff_reader.h"
#include "scoped_documents_folder.h"
#include "scoped_audio_input.h"
#include "screen_probe.h"
#include "test_frame_pattern.h"

namespace programtest {
namespace {

enum : int {
    kStop = 1009, kRecord = 1061, kSnapshotMode = 1002, kVideoMode = 1066, kContinue = 1063, kAuto = 1064,
    kInterval = 1065, kVoice = 1008, kMute = 1031, kSetup = 10053, kClose = 1021, kVideoType = 10060,
};

const char kNoAsf[] = "\"Can't support ASF file format.  Because your system have not install Microsoft Windows "
                      "Media Format 9.0 or above\"";
const char kAsfRefused[] = "This system cannot record ASF or WMV files";
const char kSoundRefused[] = "The sound input refused the recording.";

std::set<std::string> FilesIn(const std::string& folder) {
    std::set<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.insert(found.cFileName);
    while (::FindNextFileA(search, &found));
    ::FindClose(search);
    return names;
}

std::vector<std::string> NewFiles(const std::set<std::string>& before, const std::set<std::string>& now) {
    std::vector<std::string> added;
    std::set_difference(now.begin(), now.end(), before.begin(), before.end(), std::back_inserter(added));
    return added;
}

bool EndsWith(const std::string& name, const char* tail) {
    const size_t n = std::strlen(tail);
    return name.size() >= n && _stricmp(name.c_str() + name.size() - n, tail) == 0;
}

// A new user's captures folder: the documents folder + "\Tavorin".
std::string DefaultCaptureFolder() {
    char documents[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathA(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, documents)))
        return std::string();
    return std::string(documents) + "\\Tavorin";
}

// Every stored frame of a recorded AVI is a camera frame, numbers rising.
void ExpectValidCameraAvi(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    const rifftest::AviSummary avi = rifftest::ReadAviFile(std::wstring(path.begin(), path.end()), &bytes);
    ASSERT_TRUE(avi.riffAvi) << path;
    EXPECT_TRUE(avi.complete) << path;
    EXPECT_TRUE(avi.hasIndex) << path;
    ASSERT_GT(avi.storedFrames, 1u) << path;
    const ptrdiff_t stride = qelcam::Rgb24Stride(avi.width);
    uint32_t previous = 0;
    for (size_t i = 0; i < avi.frameOffsets.size(); ++i) {
        uint32_t number = 0;
        ASSERT_LE(avi.frameOffsets[i] + static_cast<size_t>(stride) * static_cast<size_t>(std::abs(avi.height)),
                  bytes.size());
        ASSERT_TRUE(qelcam::ReadFrameNumber(&bytes[avi.frameOffsets[i]], avi.width, avi.height, stride, &number))
            << "stored frame " << i;
        if (i > 0) {
            EXPECT_GT(number, previous) << "stored frame " << i;
        }
        previous = number;
    }
}

// The first DREMnnnn name with this extension not in the listing, counting from 1.
std::string FirstFreeName(const std::set<std::string>& names, const char* extension) {
    for (int n = 1; n < 10000; ++n) {
        char name[32];
        std::snprintf(name, sizeof name, "DREM%04d%s", n, extension);
        bool taken = false;
        for (const std::string& present : names)
            taken = taken || _stricmp(present.c_str(), name) == 0;
        if (!taken)
            return name;
    }
    return std::string();
}

// The pointer at a screen point, its left button pressed and released there (the real input queue).
void PointerClickAt(POINT at) {
    ::SetCursorPos(at.x, at.y);
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ::SendInput(2, inputs, sizeof(INPUT));
}

// The trackbar's thumb on the screen: the rectangle is written into the program's own memory and
// read back, as a pointer of the test's process means nothing there.
bool ThumbOnScreen(HWND slider, DWORD pid, RECT* thumb) {
    HANDLE process = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (!process)
        return false;
    void* remote = ::VirtualAllocEx(process, nullptr, sizeof(RECT), MEM_COMMIT, PAGE_READWRITE);
    bool read = false;
    if (remote) {
        ::SendMessageA(slider, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(remote));
        read = ::ReadProcessMemory(process, remote, thumb, sizeof(RECT), nullptr) != FALSE;
        ::VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    ::CloseHandle(process);
    if (read)
        ::MapWindowPoints(slider, nullptr, reinterpret_cast<POINT*>(thumb), 2);
    return read;
}

POINT CentreOf(HWND window) {
    const RECT r = ScreenRectOf(window);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

class NewUser : public ProgramTest {
protected:
    void TearDown() override {
        if (run && run->Running()) {
            ::PostMessageA(run->Dialog(), WM_CLOSE, 0, 0);
            run->WaitForExit(10000);
        }
        run.reset();
        // The new user's folder is the prefix's own: only what this test made goes.
        if (!captures.empty())
            for (const std::string& name : NewFiles(capturesBefore, FilesIn(captures)))
                ::DeleteFileA((captures + "\\" + name).c_str());
        ProgramTest::TearDown();
    }

    // Pumps until done() or ms have passed; done()'s last answer.
    template <typename Done>
    bool PumpUntil(DWORD ms, Done done) {
        const DWORD end = ::GetTickCount() + ms;
        while (!done()) {
            if (static_cast<LONG>(end - ::GetTickCount()) <= 0)
                return done();
            run->Pump(50);
        }
        return true;
    }

    // The live picture moves: the frame number on the screen rises within a second and a half.
    void ExpectLivePicture(const char* when) {
        const RECT preview = PreviewOnScreen(*run, 0);
        uint32_t first = 0, later = 0;
        ASSERT_TRUE(WaitForFrameNumber(*run, preview, &first, 5000)) << "no camera frame on the screen " << when;
        ASSERT_TRUE(PumpUntil(3000, [&] { return ReadPreviewFrameNumber(preview, &later) && later > first; }))
            << "the live picture stays on frame " << first << " " << when;
    }

    void Click(int id) { PostClick(run->Dialog(), id); }

    bool Recording() const {
        return ::IsWindowVisible(run->Control(kStop)) && !::IsWindowVisible(run->Control(kRecord));
    }

    // Record in video mode; the box expected when refused.
    void RecordRefusedWith(const char* boxText) {
        run->ExpectBox("Error", boxText);
        Click(kRecord);
        run->WaitForExpectedBoxes(15000);
        EXPECT_TRUE(run->MissingBoxes().empty()) << "no box saying why; boxes: " << BoxTexts();
        run->Pump(300);
        EXPECT_FALSE(Recording());
    }

    // A single snapshot reaches the folder.
    void ExpectSnapshotWorks(const std::string& folder) {
        Click(kSnapshotMode);
        run->Pump(300);
        const std::set<std::string> before = FilesIn(folder);
        Click(kRecord);
        std::vector<std::string> added;
        // Until the writer's temporary file (its name ends in "~") has become the snapshot.
        PumpUntil(10000, [&] {
            added = NewFiles(before, FilesIn(folder));
            return !added.empty() &&
                   std::none_of(added.begin(), added.end(), [](const std::string& name) { return !name.empty() && name.back() == '~'; });
        });
        ASSERT_EQ(1u, added.size()) << "the snapshot after the refusal wrote nothing, or more than one file: "
                                    << ::testing::PrintToString(added);
        EXPECT_TRUE(EndsWith(added[0], ".JPG") || EndsWith(added[0], ".BMP")) << added[0];
    }

    // Records two seconds in video mode; the new files of the folder.
    std::vector<std::string> RecordTwoSeconds(const std::string& folder) {
        const std::set<std::string> before = FilesIn(folder);
        Click(kVideoMode);
        run->Pump(300);
        Click(kRecord);
        EXPECT_TRUE(PumpUntil(10000, [&] { return Recording(); })) << "the recording did not start; boxes: "
                                                                     << BoxTexts();
        run->Pump(2000);
        Click(kStop);
        EXPECT_TRUE(PumpUntil(10000, [&] { return !Recording(); }));
        run->Pump(500);
        return NewFiles(before, FilesIn(folder));
    }

    // Setup, the Format page's video type, OK.
    void ChooseVideoTypeInSetup(int type) {
        Click(kSetup);
        HWND sheet = run->WaitForDialog("Setup", 10000);
        ASSERT_TRUE(sheet) << "no Setup sheet";
        ::SendMessageA(sheet, PSM_SETCURSEL, 1, 0);
        run->Pump(300);
        HWND list = FindChildById(sheet, kVideoType);
        ASSERT_TRUE(list) << "no video type list on the Format page";
        ::SendMessageA(list, CB_SETCURSEL, type, 0);
        ::SendMessageA(::GetParent(list), WM_COMMAND, MAKEWPARAM(kVideoType, CBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(list));
        ::PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
        ASSERT_TRUE(run->WaitForDialogEnd(sheet, 5000));
        run->Pump(300);
    }

    void CloseProgram() {
        Click(kClose);
        ASSERT_EQ(0u, run->WaitForExit(10000));
    }

    std::string BoxTexts() const {
        std::string texts;
        for (const SeenBox& box : run->Boxes())
            texts += "[" + box.caption + ": " + box.text + "] ";
        return texts;
    }

    // A program on folders of the test's own, recording AVI when asked.
    void StartOnOwnFolder(const qeltest::TempDir& folder, bool avi, bool motionBlind = false) {
        run = StartPrepared([&](ZentrikRun& r) {
            r.SetIniValue("Basic", "Video Folder", folder.Path().c_str());
            r.SetIniValue("Basic", "Image Folder", folder.Path().c_str());
            if (avi)
                r.SetIniValue("MergeSetting", "SaveFileType", "0");
            // The synthetic camera's picture always moves: at sensitivity 0 a motion watch never fires.
            if (motionBlind)
                r.SetIniValue("Mode", "Motion Detect", "0");
        });
        ASSERT_TRUE(run->Dialog());
        run->Pump(500);
    }

    std::unique_ptr<ZentrikRun> run;
    std::string captures;
    std::set<std::string> capturesBefore;
};

// No settings file and no Windows Media runtime (Wine has no ASF writer at all): the first Record
// says why and how, leaves nothing behind, and the program goes on as before the click.
TEST_F(NewUser, AFirstRecordInTheDefaultFormatSaysWhyLeavesNoFileAndThenAviRecords) {
    captures = DefaultCaptureFolder();
    ASSERT_FALSE(captures.empty());
    ::CreateDirectoryA(captures.c_str(), nullptr);
    capturesBefore = FilesIn(captures);
    AddCamera();
    AddMicrophone();
    wmfKey.reset();
    wmfKey = std::make_unique<ScopedWmfKey>(false);
    run = std::make_unique<ZentrikRun>();
    ::DeleteFileA(run->IniPath().c_str()); // a new user has none
    run->ExpectBox("Tavorin", kNoAsf);
    ASSERT_TRUE(run->Start());
    ASSERT_TRUE(run->WaitForMainWindow(30000));
    run->WaitForExpectedBoxes(10000);
    ExpectLivePicture("at the start");
    std::printf("captures: %s\n", captures.c_str());

    Click(kVideoMode);
    run->Pump(300);
    RecordRefusedWith(kAsfRefused);
    EXPECT_TRUE(NewFiles(capturesBefore, FilesIn(captures)).empty())
        << "the refused recording left " << ::testing::PrintToString(NewFiles(capturesBefore, FilesIn(captures)));
    ExpectLivePicture("after the refusal");
    ExpectSnapshotWorks(captures);

    ChooseVideoTypeInSetup(0);
    EXPECT_EQ("0", run->IniValue("Format", "Video FileType"));
    const std::set<std::string> beforeAvi = FilesIn(captures);
    const std::vector<std::string> recorded = RecordTwoSeconds(captures);
    ASSERT_EQ(1u, recorded.size()) << ::testing::PrintToString(recorded);
    // The refused recording gave its number back.
    EXPECT_EQ(FirstFreeName(beforeAvi, ".AVI"), recorded[0]);
    ExpectValidCameraAvi(captures + "\\" + recorded[0]);
    ExpectLivePicture("after the recording");

    CloseProgram();
    EXPECT_EQ("0", run->IniValue("Format", "Video FileType"));
    EXPECT_EQ("0", run->IniValue("MergeSetting", "SaveFileType"));
    EXPECT_EQ(captures, run->IniValue("Basic", "Video Folder"));
    std::printf("boxes: %s\n", BoxTexts().c_str());
}

// The format chosen in Setup is the one the next start records.
TEST_F(NewUser, TheFormatChosenInSetupIsTheOneTheNextStartRecords) {
    qeltest::TempDir folder;
    StartOnOwnFolder(folder, false);
    ChooseVideoTypeInSetup(0);
    CloseProgram();
    EXPECT_EQ("0", run->IniValue("Format", "Video FileType"));
    EXPECT_EQ("0", run->IniValue("MergeSetting", "SaveFileType"));

    auto second = std::make_unique<ZentrikRun>();
    second->WriteIni(run->IniText());
    run = std::move(second);
    ASSERT_TRUE(run->Start());
    ASSERT_TRUE(run->WaitForMainWindow(30000));
    run->Pump(500);
    const std::vector<std::string> recorded = RecordTwoSeconds(folder.Path());
    ASSERT_EQ(1u, recorded.size()) << ::testing::PrintToString(recorded) << "; boxes: " << BoxTexts();
    EXPECT_TRUE(EndsWith(recorded[0], ".AVI")) << recorded[0];
    ExpectValidCameraAvi(folder.File(recorded[0].c_str()));
    CloseProgram();
    EXPECT_EQ("0", run->IniValue("MergeSetting", "SaveFileType"));
    EXPECT_TRUE(run->Boxes().empty()) << BoxTexts();
}


// The sound switched on and the sound input refusing the recording: the box says so and that
// recording without sound works, nothing is left behind, and without sound it records.
TEST_F(NewUser, ASoundInputThatRefusesSaysSoAndRecordingWithoutSoundWorks) {
    qeltest::TempDir folder;
    ScopedNoSoundDriver noSound; // the refusing input below is the only one
    // A filter without outputs listed as the sound input: its stream can reach no file.
    const CLSID nullRenderer = {0xc1f400a4, 0x3f08, 0x11d3, {0x9f, 0x0b, 0x00, 0x60, 0x08, 0x03, 0x9e, 0x37}};
    enginetest::ScopedAudioInput refusing(nullRenderer, L"Qel Refusing Microphone");
    ASSERT_EQ(S_OK, refusing.Result());
    AddCamera();
    run = std::make_unique<ZentrikRun>();
    run->SetIniValue("Basic", "Video Folder", folder.Path().c_str());
    run->SetIniValue("Basic", "Image Folder", folder.Path().c_str());
    run->SetIniValue("MergeSetting", "SaveFileType", "0");
    ASSERT_TRUE(run->Start());
    ASSERT_TRUE(run->WaitForMainWindow(30000));
    run->Pump(500);
    ASSERT_TRUE(run->Boxes().empty()) << BoxTexts();
    // Without a mixer the sound starts off: Mute shows, and a click on it switches the sound on.
    ASSERT_TRUE(::IsWindowVisible(run->Control(kMute)));
    Click(kMute);
    run->Pump(300);
    ASSERT_TRUE(::IsWindowVisible(run->Control(kVoice)));
    Click(kVideoMode);
    run->Pump(300);
    RecordRefusedWith(kSoundRefused);
    EXPECT_TRUE(FilesIn(folder.Path()).empty()) << ::testing::PrintToString(FilesIn(folder.Path()));
    ExpectLivePicture("after the refusal");

    Click(kVoice); // the sound off
    run->Pump(300);
    const std::vector<std::string> recorded = RecordTwoSeconds(folder.Path());
    ASSERT_EQ(1u, recorded.size()) << ::testing::PrintToString(recorded) << "; boxes: " << BoxTexts();
    EXPECT_EQ("DREM0001.AVI", recorded[0]) << "the refused recording used up its number";
    ExpectValidCameraAvi(folder.File(recorded[0]));
    CloseProgram();
    run.reset(); // the program has let go of the input before it is unregistered
}

// Each kind box draws its own flag: after any click exactly the kind in force shows chosen.
TEST_F(NewUser, TheSnapshotKindsShowExactlyOneChosenAfterAnyClicks) {
    qeltest::TempDir folder;
    StartOnOwnFolder(folder, false);
    const int kinds[3] = {kContinue, kAuto, kInterval};
    const char* strips[3] = {"continue.png", "auto.png", "interval.png"};
    ::SetCursorPos(2, 2); // no hover look
    for (int clicked : {kContinue, kAuto, kInterval, kContinue, kInterval, kInterval, kAuto, kContinue}) {
        HWND box = run->Control(clicked);
        ::PostMessageA(box, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
        ::PostMessageA(box, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
        run->Pump(300);
        for (int k = 0; k < 3; ++k) {
            const int frame =
                ShownStripFrame(run->Control(kinds[k]), run->Folder() + "skin\\default\\Zentrik\\buttons\\" + strips[k], 6);
            const bool chosen = frame == 2 || frame == 3;
            EXPECT_EQ(kinds[k] == clicked, chosen) << "after a click on " << clicked << ", box " << kinds[k]
                                                   << " shows frame " << frame;
        }
    }
    std::printf("screenshot: %s\n", SaveScreenshot(ScreenRectOf(run->Frame()), "zentrik_kinds").c_str());
}

// Record appears under the pointer when Stop is clicked: the second click of a double click on Stop
// starts nothing.
TEST_F(NewUser, ADoubleClickOnStopStartsNoNewRecording) {
    qeltest::TempDir folder;
    StartOnOwnFolder(folder, true);
    Click(kVideoMode);
    run->Pump(300);
    Click(kRecord);
    ASSERT_TRUE(PumpUntil(10000, [&] { return Recording(); })) << BoxTexts();
    run->Pump(1500);
    const POINT stop = CentreOf(run->Control(kStop));
    PointerClickAt(stop);
    ::Sleep(::GetDoubleClickTime() / 4);
    PointerClickAt(stop);
    EXPECT_TRUE(PumpUntil(5000, [&] { return !Recording(); }));
    run->Pump(1500);
    EXPECT_FALSE(Recording()) << "the second click of the double click started a recording";
    EXPECT_EQ(1u, FilesIn(folder.Path()).size()) << ::testing::PrintToString(FilesIn(folder.Path()));
    // A click after the double-click time records as always.
    run->Pump(::GetDoubleClickTime());
    PointerClickAt(CentreOf(run->Control(kRecord)));
    ASSERT_TRUE(PumpUntil(10000, [&] { return Recording(); })) << "a later Record did not record";
    run->Pump(1500);
    Click(kStop);
    EXPECT_TRUE(PumpUntil(10000, [&] { return !Recording(); }));
    run->Pump(500);
    EXPECT_EQ(2u, FilesIn(folder.Path()).size());
}

// The sheet opens over the program's window, not at its corner.
TEST_F(NewUser, TheSetupSheetOpensOverTheProgramsWindow) {
    qeltest::TempDir folder;
    StartOnOwnFolder(folder, false);
    Click(kSetup);
    HWND sheet = run->WaitForDialog("Setup", 10000);
    ASSERT_TRUE(sheet);
    run->Pump(300);
    const RECT frame = ScreenRectOf(run->Frame()), placed = ScreenRectOf(sheet);
    std::printf("screenshot: %s\n", SaveScreenshot(frame, "zentrik_setup_over_window").c_str());
    const int frameX = (frame.left + frame.right) / 2, frameY = (frame.top + frame.bottom) / 2;
    const int sheetX = (placed.left + placed.right) / 2, sheetY = (placed.top + placed.bottom) / 2;
    EXPECT_LE(std::abs(frameX - sheetX), 2) << "sheet centre x " << sheetX << ", window centre x " << frameX;
    EXPECT_LE(std::abs(frameY - sheetY), 2) << "sheet centre y " << sheetY << ", window centre y " << frameY;
    ::PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    EXPECT_TRUE(run->WaitForDialogEnd(sheet, 5000));
}

// Five snapshots fill the large strip: every thumbnail lies whole inside the strip, the fifth one's
// picture reaching its last row.
TEST_F(NewUser, FiveSnapshotsShowWholeInTheStrip) {
    qeltest::TempDir folder;
    StartOnOwnFolder(folder, false);
    for (int i = 0; i < 5; ++i) {
        const size_t before = FilesIn(folder.Path()).size();
        Click(kRecord);
        ASSERT_TRUE(PumpUntil(10000, [&] { return FindChildById(run->Dialog(), 8000 + i) != nullptr; }))
            << "snapshot " << i << " never reached the album";
        ASSERT_TRUE(PumpUntil(5000, [&] { return FilesIn(folder.Path()).size() > before; }));
    }
    run->Pump(1000);
    ::SetCursorPos(2, 2);
    HWND strip = ::GetParent(FindChildById(run->Dialog(), 8000));
    ASSERT_TRUE(strip);
    RECT visible = {};
    ::GetClientRect(strip, &visible);
    ::MapWindowPoints(strip, nullptr, reinterpret_cast<POINT*>(&visible), 2);
    std::printf("screenshot: %s\n", SaveScreenshot(ScreenRectOf(run->Frame()), "zentrik_five_snapshots").c_str());
    for (int i = 0; i < 5; ++i) {
        const RECT item = ScreenRectOf(FindChildById(run->Dialog(), 8000 + i));
        EXPECT_GE(item.top, visible.top) << "thumbnail " << i;
        EXPECT_LE(item.bottom, visible.bottom) << "thumbnail " << i << " is cut at the strip's bottom";
        // Its picture (a camera frame: not the strip's plain background) down to the row above its margin.
        const COLORREF background = ScreenPixel(visible.right - 4, visible.bottom - 2);
        const int x = (item.left + item.right) / 2;
        EXPECT_NE(background, ScreenPixel(x, item.bottom - 2)) << "thumbnail " << i << " ends early";
    }
}

// The brightness slider dragged with the pointer brightens the live picture; Cancel puts back the
// picture the dialog opened with, and the saved value and the next opening show it too.
TEST_F(NewUser, EnhanceCancelAfterARealDragRestoresThePicture) {
    qeltest::TempDir folder;
    StartOnOwnFolder(folder, false);
    const RECT preview = PreviewOnScreen(*run, 0);
    // The mean of the picture below the frame band, read from the screen.
    auto brightness = [&] {
        RECT below = preview;
        below.top += (preview.bottom - preview.top) / 10;
        const ScreenPixels pixels = GrabScreen(below);
        double sum = 0;
        for (uint8_t byte : pixels.bytes)
            sum += byte;
        return pixels.bytes.empty() ? 0.0 : sum / static_cast<double>(pixels.bytes.size());
    };
    run->Pump(500);
    const double before = brightness();
    Click(1006);
    HWND dialog = run->WaitForDialog("Enhance", 10000);
    ASSERT_TRUE(dialog);
    // Off the live picture (below or beside the program's window, on the screen), so it stays in sight.
    const RECT frame = ScreenRectOf(run->Frame()), box = ScreenRectOf(dialog);
    const int width = box.right - box.left, height = box.bottom - box.top;
    const bool below = frame.bottom + 4 + height <= ::GetSystemMetrics(SM_CYSCREEN);
    ::SetWindowPos(dialog, nullptr, below ? frame.left : ::GetSystemMetrics(SM_CXSCREEN) - width,
                   below ? frame.bottom + 4 : frame.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    run->Pump(300);
    HWND slider = ::GetDlgItem(dialog, 1037);
    const RECT track = ScreenRectOf(slider);
    RECT thumb = {};
    ASSERT_TRUE(ThumbOnScreen(slider, run->ProcessId(), &thumb));
    // Pressed on the thumb, moved most of the way right, released.
    const int y = (thumb.top + thumb.bottom) / 2;
    const int start = (thumb.left + thumb.right) / 2;

    // Every event carries its place (absolute), so the press and the moves land where they are meant.
    auto pointer = [](int x, int y, DWORD flags) {
        INPUT input = {};
        input.type = INPUT_MOUSE;
        input.mi.dx = static_cast<LONG>((x * 65535LL) / (::GetSystemMetrics(SM_CXSCREEN) - 1));
        input.mi.dy = static_cast<LONG>((y * 65535LL) / (::GetSystemMetrics(SM_CYSCREEN) - 1));
        input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | flags;
        ::SendInput(1, &input, sizeof input);
    };
    pointer(start, y, 0);
    run->Pump(100);
    pointer(start, y, MOUSEEVENTF_LEFTDOWN);
    run->Pump(100);
    for (int x = start; x <= track.right - 6; x += 8) {
        pointer(x, y, 0);
        run->Pump(30);
    }
    pointer(track.right - 6, y, MOUSEEVENTF_LEFTUP);
    run->Pump(800);
    const int dragged = static_cast<int>(::SendMessageA(slider, TBM_GETPOS, 0, 0));
    ASSERT_GT(dragged, 40) << "the drag did not move the slider";
    const double brighter = brightness();
    EXPECT_GT(brighter, before + 20) << "the drag did not brighten the live picture";
    ::PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(run->WaitForDialogEnd(dialog, 5000));
    run->Pump(800);
    const double after = brightness();
    std::printf("figure: picture brightness %.1f before, %.1f dragged to %d, %.1f after Cancel\n", before, brighter,
                dragged, after);
    EXPECT_LT(std::fabs(after - before), 8.0) << "Cancel kept the dragged brightness";
    Click(1006);
    dialog = run->WaitForDialog("Enhance", 10000);
    ASSERT_TRUE(dialog);
    EXPECT_EQ(0, ::SendMessageA(::GetDlgItem(dialog, 1037), TBM_GETPOS, 0, 0));
    ::PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(run->WaitForDialogEnd(dialog, 5000));
    CloseProgram();
    EXPECT_EQ("0", run->IniValue("Enhance", "Brightness"));
}

// With nothing in the album the album's commands show disabled, and after a snapshot enabled.
TEST_F(NewUser, AnEmptyAlbumShowsItsCommandsDisabledUntilACaptureArrives) {
    qeltest::TempDir folder;
    StartOnOwnFolder(folder, false, true);
    run->Pump(1000); // the scan of the empty folder has ended
    const std::pair<int, const char*> commands[4] = {
        {1010, "switch.png"}, {1011, "saveas.png"}, {1014, "email.png"}, {1017, "trash.png"}};
    ::SetCursorPos(2, 2);
    std::printf("screenshot: %s\n", SaveScreenshot(ScreenRectOf(run->Frame()), "zentrik_empty_album").c_str());
    auto frameOf = [&](const std::pair<int, const char*>& command) {
        return ShownStripFrame(run->Control(command.first),
                               run->Folder() + "skin\\default\\Zentrik\\buttons\\" + command.second, 4);
    };
    // The skinned buttons stay enabled windows (for their tooltips): their look is their state.
    for (const auto& command : commands)
        EXPECT_EQ(3, frameOf(command)) << command.second << " does not look disabled";
    // A motion watch stopped again without a snapshot leaves them so.
    Click(kAuto);
    run->Pump(200);
    Click(kRecord);
    run->Pump(500);
    Click(kStop);
    run->Pump(500);
    for (const auto& command : commands)
        EXPECT_EQ(3, frameOf(command)) << command.second << " after a motion watch";
    Click(kContinue);
    run->Pump(200);
    Click(kRecord);
    ASSERT_TRUE(PumpUntil(10000, [&] { return FindChildById(run->Dialog(), 8000) != nullptr; }));
    run->Pump(300);
    for (const auto& command : commands)
        EXPECT_NE(3, frameOf(command)) << command.second << " stays disabled with a file in the album";
}

// A hand-edited recording name with a folder part records into the video folder all the same, under
// the name's last part, where the album finds it; the settings keep what the user wrote.
TEST_F(NewUser, ARecordingNameWithAFolderPartRecordsIntoTheVideoFolder) {
    qeltest::TempDir root;
    const std::string above = root.File("a");
    const std::string videos = above + "\\b\\videos";
    ASSERT_TRUE(::CreateDirectoryA(above.c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryA((above + "\\b").c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryA(videos.c_str(), nullptr));
    run = StartPrepared([&](ZentrikRun& r) {
        r.SetIniValue("Basic", "Video Folder", videos.c_str());
        r.SetIniValue("Basic", "Image Folder", videos.c_str());
        r.SetIniValue("MergeSetting", "SaveFileType", "0");
        r.SetIniValue("NameDefine", "VideoName", "..\\..\\x");
    });
    ASSERT_TRUE(run->Dialog());
    run->Pump(500);
    const std::vector<std::string> recorded = RecordTwoSeconds(videos);
    ASSERT_EQ(1u, recorded.size()) << ::testing::PrintToString(recorded) << "; boxes: " << BoxTexts();
    EXPECT_EQ("x0001.AVI", recorded[0]);
    ExpectValidCameraAvi(videos + "\\" + recorded[0]);
    // Where the name's folder part points: two folders above the video folder.
    EXPECT_TRUE(FilesIn(above).empty()) << "recorded outside the video folder: "
                                        << ::testing::PrintToString(FilesIn(above));
    CloseProgram();
    EXPECT_EQ("..\\..\\x", run->IniValue("NameDefine", "VideoName"));
    EXPECT_TRUE(run->Boxes().empty()) << BoxTexts();
}

// A drive letter with no drive behind it; 0 when every letter is taken.
char FreeDriveLetter() {
    const DWORD drives = ::GetLogicalDrives();
    for (char letter = 'Y'; letter >= 'D'; --letter)
        if (!(drives & (1u << (letter - 'A'))))
            return letter;
    return 0;
}

// A documents folder that no ANSI path reaches (named in Cyrillic on a drive that is not there: no
// short name either). The captures go to "Tavorin" in the program's own folder, never to "\Tavorin" in
// a drive's root; the first start says so once, and the next finds the folder in its settings.
TEST_F(NewUser, ADocumentsFolderNoAnsiPathReachesGivesWayToTheProgramsOwnFolderSaidOnce) {
    const char letter = FreeDriveLetter();
    if (!letter)
        GTEST_SKIP() << "no free drive letter for a documents folder that is not there";
    const std::wstring documents =
        std::wstring(1, static_cast<wchar_t>(letter)) + L":\\\u0414\u043e\u043a\u0443\u043c\u0435\u043d\u0442\u044b";
    ScopedDocumentsFolder scoped(documents);
    ASSERT_TRUE(scoped.Set());
    wchar_t asked[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_PERSONAL | CSIDL_FLAG_DONT_VERIFY, nullptr, SHGFP_TYPE_CURRENT,
                                  asked)) ||
        documents != asked)
        GTEST_SKIP() << "the shell does not take the per-user documents folder from the registry here";
    // The root a bare "\Tavorin" would go to: the drive of the program's current folder, a temporary one.
    char temp[MAX_PATH] = {};
    ASSERT_NE(0u, ::GetTempPathA(MAX_PATH, temp));
    const std::string rootFolder = std::string(temp).substr(0, 3) + "Tavorin";
    const bool rootHadOne = ::GetFileAttributesA(rootFolder.c_str()) != INVALID_FILE_ATTRIBUTES;
    run = StartPrepared([](ZentrikRun& r) {
        r.WriteIni("[Basic]\r\n"); // no folder in the settings: the default
        r.ExpectBox("Tavorin", "Your Documents folder cannot be reached");
    });
    ASSERT_TRUE(run->Dialog());
    const std::string standIn = run->Folder() + "Tavorin";
    ASSERT_EQ(rootFolder.substr(0, 3), run->Folder().substr(0, 3));
    run->WaitForExpectedBoxes(5000);
    ASSERT_TRUE(run->MissingBoxes().empty()) << "nothing said; boxes: " << BoxTexts();
    EXPECT_NE(std::string::npos, run->Boxes()[0].text.find("\"" + standIn + "\"")) << run->Boxes()[0].text;
    ASSERT_NO_FATAL_FAILURE(ExpectSnapshotWorks(standIn));
    CloseProgram();
    EXPECT_EQ(standIn, run->IniValue("Basic", "Image Folder"));
    EXPECT_EQ(standIn, run->IniValue("Basic", "Video Folder"));
    if (rootHadOne)
        std::printf("%s was there before the test: whether the program made it cannot be told\n", rootFolder.c_str());
    else
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(rootFolder.c_str())) << "a folder in the drive's root";

    ASSERT_TRUE(run->Start());
    ASSERT_TRUE(run->WaitForMainWindow(30000));
    run->Pump(1000);
    CloseProgram();
    EXPECT_EQ(1u, run->Boxes().size()) << "said again at the next start: " << BoxTexts();
}

} // namespace
} // namespace programtest
