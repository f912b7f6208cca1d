// Zentrik.exe as a user meets it: start-up, the skinned window with the live picture, the layout of
// both size modes, the keys that turn the picture, and the orderly close with its settings.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "program_fixture.h"
#include "program_windows.h"
#include "screen_probe.h"

namespace programtest {
namespace {

const char kNoAsf[] = "\"Can't support ASF file format.  Because your system have not install Microsoft Windows "
                      "Media Format 9.0 or above\"";

// Sends a key with Ctrl held through the real input queue (GetKeyState ignores posted keys).
void SendCtrlKey(WORD key) {
    INPUT inputs[4] = {};
    for (INPUT& input : inputs)
        input.type = INPUT_KEYBOARD;
    inputs[0].ki.wVk = VK_CONTROL;
    inputs[1].ki.wVk = key;
    inputs[1].ki.dwFlags = KEYEVENTF_EXTENDEDKEY;
    inputs[2].ki.wVk = key;
    inputs[2].ki.dwFlags = KEYEVENTF_EXTENDEDKEY | KEYEVENTF_KEYUP;
    inputs[3].ki.wVk = VK_CONTROL;
    inputs[3].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(4, inputs, sizeof(INPUT));
}

using StartUp = ProgramTest;

TEST_F(StartUp, ShowsTheShapedSkinnedWindowWithTheLivePicture) {
    auto run = StartQuietly();
    ASSERT_TRUE(run->Dialog());
    RECT frame;
    ::GetWindowRect(run->Frame(), &frame);
    EXPECT_EQ(850, frame.right - frame.left);
    EXPECT_EQ(616, frame.bottom - frame.top);

    const RECT preview = PreviewOnScreen(*run, 0);
    uint32_t first = 0;
    const bool live = WaitForFrameNumber(*run, preview, &first, 10000);
    std::printf("screenshot: %s\n", SaveScreenshot(frame, "zentrik_main_window").c_str());
    ASSERT_TRUE(live) << "no camera frame in the preview area";
    run->Pump(1000);
    uint32_t later = 0;
    ASSERT_TRUE(ReadPreviewFrameNumber(preview, &later));
    EXPECT_GT(later, first) << "the picture is not live";
    // The picture is the test's camera: its controls reach the program's instance.
    EXPECT_GT(Camera().LiveInstances(), 0) << "the program opened another camera";

    // The rounded corner is cut out of the window and shows the desktop.
    HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(ERROR, ::GetWindowRgn(run->Frame(), region));
    EXPECT_FALSE(::PtInRegion(region, 0, 0));
    EXPECT_TRUE(::PtInRegion(region, 425, 300));
    ::DeleteObject(region);
    EXPECT_EQ(ScreenPixel(0, 0), ScreenPixel(frame.left, frame.top)) << "the corner does not show the desktop";
    EXPECT_TRUE(run->Boxes().empty());
}

// The renderer sizes its window to the picture's own size whenever it is connected again, and the
// preview's effects are spliced in after the window was placed: the picture must still fill the area.
TEST_F(StartUp, TheLivePictureFillsThePreviewArea) {
    auto run = StartQuietly("0");
    ASSERT_TRUE(run->Dialog());
    const RECT preview = PreviewOnScreen(*run, 0);
    std::string why;
    const bool filled = WaitForPictureFillingArea(*run, preview, 10000, &why);
    std::printf("screenshot: %s\n", SaveScreenshot(ScreenRectOf(run->Frame()), "zentrik_start_picture").c_str());
    EXPECT_TRUE(filled) << why << "; windows over the area: " << WindowsOver(*run, preview);
    EXPECT_TRUE(run->Boxes().empty());
}

TEST_F(StartUp, ASecondLaunchOnlyShowsTheFirstWindow) {
    auto run = StartQuietly();
    EXPECT_EQ(0u, run->StartAnotherAndWait(10000));
    EXPECT_TRUE(run->Running());
    EXPECT_EQ(1, run->TopLevelWindowCount("ZENTRIK_CLASSNAME"));
}

// A window of the program's class, hidden, whose thread is busy for 10 s in its handler as soon as it
// exists: a first copy still opening a slow camera.
class BusyCopy {
public:
    static constexpr DWORD kBusyMs = 10000;
    BusyCopy() {
        ready_ = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
        thread_ = ::CreateThread(nullptr, 0, Run, this, 0, nullptr);
        ::WaitForSingleObject(ready_, 5000);
    }
    ~BusyCopy() {
        if (window_)
            ::PostMessageA(window_, WM_CLOSE, 0, 0);
        ::WaitForSingleObject(thread_, kBusyMs + 5000);
        ::CloseHandle(thread_);
        ::CloseHandle(ready_);
    }
    BusyCopy(const BusyCopy&) = delete;
    BusyCopy& operator=(const BusyCopy&) = delete;
    HWND Window() const { return window_; }

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_APP) {
            ::Sleep(kBusyMs);
            return 0;
        }
        if (message == WM_DESTROY)
            ::PostQuitMessage(0);
        return ::DefWindowProcA(window, message, wParam, lParam);
    }
    static DWORD WINAPI Run(void* self) {
        auto* copy = static_cast<BusyCopy*>(self);
        WNDCLASSA wc = {};
        wc.lpfnWndProc = Proc;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = "ZENTRIK_CLASSNAME";
        ::RegisterClassA(&wc);
        copy->window_ = ::CreateWindowA("ZENTRIK_CLASSNAME", "busy", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                        wc.hInstance, nullptr);
        ::PostMessageA(copy->window_, WM_APP, 0, 0);
        ::SetEvent(copy->ready_);
        MSG msg;
        while (::GetMessageA(&msg, nullptr, 0, 0) > 0)
            ::DispatchMessageA(&msg);
        ::UnregisterClassA("ZENTRIK_CLASSNAME", wc.hInstance);
        return 0;
    }
    HANDLE ready_ = nullptr;
    HANDLE thread_ = nullptr;
    HWND window_ = nullptr;
};

TEST_F(StartUp, ASecondStartBesideABusyCopyEndsAtOnceSilentlyAndTheCopyShowsOnceFree) {
    BusyCopy busy;
    ASSERT_TRUE(busy.Window());
    ZentrikRun run;
    const DWORD started = ::GetTickCount();
    ASSERT_TRUE(run.Start());
    // A hang guard shorter than the copy's busy time: a start that waits on the copy, or shows a box
    // (which nobody answers here), does not end within it.
    const DWORD guardMs = BusyCopy::kBusyMs - 2000;
    const DWORD end = started + guardMs;
    while (run.Running() && static_cast<LONG>(end - ::GetTickCount()) > 0)
        run.Pump(20);
    std::printf("the second start ended after %lu ms (guard %lu ms)\n",
                static_cast<unsigned long>(::GetTickCount() - started), static_cast<unsigned long>(guardMs));
    EXPECT_FALSE(run.Running()) << "the second start waited on the busy copy";
    EXPECT_TRUE(run.Boxes().empty()) << run.Boxes()[0].text;
    EXPECT_EQ(0u, run.WaitForExit(5000));
    // The show it asked for reaches the copy when the copy next reads its messages.
    const DWORD shownBy = ::GetTickCount() + BusyCopy::kBusyMs + 5000;
    while (!::IsWindowVisible(busy.Window()) && static_cast<LONG>(shownBy - ::GetTickCount()) > 0)
        ::Sleep(50);
    EXPECT_TRUE(::IsWindowVisible(busy.Window())) << "the running window was not shown";
}

TEST_F(StartUp, TheInitLabelIsHiddenWithinFiveSeconds) {
    auto run = StartQuietly();
    const DWORD end = ::GetTickCount() + 5000;
    while (::IsWindowVisible(run->Control(1056)) && static_cast<LONG>(end - ::GetTickCount()) > 0)
        run->Pump(50);
    EXPECT_FALSE(::IsWindowVisible(run->Control(1056)));
    char text[64] = {};
    ::GetWindowTextA(run->Control(1056), text, sizeof text);
    EXPECT_STREQ("Initializing ...", text);
}

TEST_F(StartUp, WithoutTheMediaRuntimeKeyTheAsfBoxShowsAndStartUpGoesOn) {
    AddCamera();
    AddMicrophone();
    wmfKey.reset(); // the key as it was before, then without it
    wmfKey = std::make_unique<ScopedWmfKey>(false);
    ZentrikRun run;
    run.ExpectBox("Tavorin", kNoAsf);
    ASSERT_TRUE(run.Start());
    EXPECT_TRUE(run.WaitForMainWindow(30000));
    ASSERT_EQ(1u, run.Boxes().size());
    EXPECT_EQ(kNoAsf, run.Boxes()[0].text);
    EXPECT_TRUE(run.MissingBoxes().empty());
}

TEST_F(StartUp, WithoutAudioInputTheDriverBoxShowsAndVideoIsDisabled) {
    AddCamera();
    ScopedNoSoundDriver noSound; // Wine's own input (the sound driver's default device) is gone too
    ZentrikRun run;
    run.ExpectBox("Zentrik", "There is no proper audio driver installed, so the video capture function is disabled.");
    ASSERT_TRUE(run.Start());
    ASSERT_TRUE(run.WaitForMainWindow(30000));
    run.WaitForExpectedBoxes(10000);
    run.Pump(500);
    EXPECT_TRUE(run.MissingBoxes().empty());
    // The skinned button shows its state only in its drawing: frame 4 is "disabled, unchecked".
    EXPECT_EQ(4, ShownStripFrame(run.Control(1066), run.Folder() + "skin\\default\\Zentrik\\buttons\\dremvideo.png", 6));
}

TEST_F(StartUp, WithTheStandInMicrophoneVideoIsEnabled) {
    auto run = StartQuietly();
    run->Pump(500);
    EXPECT_EQ(0, ShownStripFrame(run->Control(1066), run->Folder() + "skin\\default\\Zentrik\\buttons\\dremvideo.png", 6));
    EXPECT_TRUE(run->Boxes().empty());
}

// Tests that start the program several times (each size mode, say) count on the stand-in at every
// start, not only at the first: with Wine's own input switched off it is the only one there is.
TEST_F(StartUp, TheStandInMicrophoneIsThereAtEveryStartOfOneTest) {
    ScopedNoSoundDriver noSound;
    for (int start = 1; start <= 3; ++start) {
        SCOPED_TRACE("start " + std::to_string(start));
        auto run = StartQuietly();
        ASSERT_TRUE(run->Dialog());
        run->Pump(500);
        EXPECT_TRUE(run->Boxes().empty()) << "the program found no microphone";
        EXPECT_EQ(0, ShownStripFrame(run->Control(1066),
                                     run->Folder() + "skin\\default\\Zentrik\\buttons\\dremvideo.png", 6))
            << "video is disabled";
        const DWORD closing = ::GetTickCount();
        ::PostMessageA(run->Dialog(), WM_CLOSE, 0, 0);
        EXPECT_EQ(0u, run->WaitForExit(15000)); // a hang guard only
        std::printf("figure: start %d closed in %lu ms (guard 15000 ms)\n", start, ::GetTickCount() - closing);
    }
}

TEST_F(StartUp, WithoutACameraTheProgramSaysSoAndEnds) {
    ZentrikRun run;
    run.ExpectBox("Error", "Cannot connect to the video device. Please try again.");
    ASSERT_TRUE(run.Start());
    EXPECT_NE(static_cast<DWORD>(-1), run.WaitForExit(30000)) << "the program did not end";
    EXPECT_TRUE(run.MissingBoxes().empty());
}

TEST_F(StartUp, AnEmptySkinFolderIsRefusedAndTheProgramEnds) {
    AddCamera();
    AddMicrophone();
    ZentrikRun run(false);
    run.ExpectBox("Tavorin", "The skin \"" + run.SkinIni() + "\" cannot be used: the file is missing.");
    ASSERT_TRUE(run.Start());
    run.WaitForExpectedBoxes(30000);
    EXPECT_TRUE(run.MissingBoxes().empty());
    const DWORD code = run.WaitForExit(15000);
    EXPECT_NE(static_cast<DWORD>(-1), code);
    EXPECT_LT(code, 0xC0000000u) << "the program crashed";
    EXPECT_EQ(0, run.TopLevelWindowCount("ZENTRIK_CLASSNAME"));
}

TEST_F(StartUp, AResourceLibraryWithoutTheMainDialogEndsStartUp) {
    AddCamera();
    AddMicrophone();
    ZentrikRun run;
    // A library beside the program supplies every resource; this one has no main dialog.
    run.AddFile(QEL_UTILITY_DLL, "Tavorin.dll");
    // It says why rather than vanish.
    run.ExpectBox("Zentrik", "The main window could not be created: the resource library \"" + run.Folder() +
                                 "Tavorin.dll\" holds no main window.");
    ASSERT_TRUE(run.Start());
    run.WaitForExpectedBoxes(15000);
    EXPECT_TRUE(run.MissingBoxes().empty());
    const DWORD code = run.WaitForExit(15000);
    EXPECT_NE(static_cast<DWORD>(-1), code) << "start-up went on without its main window";
    EXPECT_LT(code, 0xC0000000u) << "the program crashed";
    EXPECT_EQ(0, run.TopLevelWindowCount("ZENTRIK_CLASSNAME"));
}

using Layout = ProgramTest;

// Every bound control of the skin sits at its rectangle of the size mode.
void ExpectControlsAtSkinRects(const ZentrikRun& run, int mode) {
    const struct {
        int id;
        const char* section;
    } controls[] = {{1056, "Init"},        {10053, "Setup"},     {1006, "Enhance"},     {1007, "Effect"},
                    {1008, "DREMVoice"},   {1031, "DREMMute"},   {1066, "DREMVideo"},   {1061, "Record"},
                    {1009, "StopRecord"},  {1002, "SnapShot"},   {1063, "Continue"},    {1064, "Auto"},
                    {1065, "Interval"},    {1010, "Switch"},     {1011, "SaveAs"},      {1076, "Date"},
                    {1078, "PrePause"},    {1079, "PrePlay"},    {1080, "PreStop"},     {1085, "DispSlider"},
                    {1081, "PreSlider"},   {1014, "EMail"},      {1017, "Trash"},       {1019, "UiMin"},
                    {1020, "UiMax"},       {1057, "s_UiMax"},    {1021, "UiClose"},     {1058, "UiInfo"},
                    {1022, "Resolution"},  {1026, "CaptureTime"}, {1028, "HDSpaceDisplay"},
                    {1051, "Thumbanail_Up"}, {1052, "Thumbanail_Down"}};
    for (const auto& control : controls) {
        const RECT want = SkinRect(run.SkinIni(), control.section, mode);
        const RECT got = run.ControlRect(control.id);
        EXPECT_TRUE(::EqualRect(&want, &got))
            << control.section << " (" << control.id << ") at " << got.left << "," << got.top << "-" << got.right
            << "," << got.bottom << ", skin " << want.left << "," << want.top << "-" << want.right << ","
            << want.bottom;
    }
}

TEST_F(Layout, LargeModeControlsSitAtTheirFirstRectangles) {
    auto run = StartQuietly();
    ExpectControlsAtSkinRects(*run, 0);
    EXPECT_TRUE(::IsWindowVisible(run->Control(1020)));
    EXPECT_FALSE(::IsWindowVisible(run->Control(1057)));
    EXPECT_FALSE(::IsWindowVisible(run->Control(1015))) << "the wallpaper button is never shown";
    EXPECT_FALSE(::IsWindowVisible(run->Control(1016))) << "the screen-saver button is never shown";
}

TEST_F(Layout, SmallModeControlsSitAtTheirSecondRectangles) {
    auto run = StartQuietly("1");
    ExpectControlsAtSkinRects(*run, 1);
    EXPECT_TRUE(::IsWindowVisible(run->Control(1057)));
    EXPECT_FALSE(::IsWindowVisible(run->Control(1020)));
    RECT frame;
    ::GetWindowRect(run->Frame(), &frame);
    RECT shot = frame;
    std::printf("screenshot: %s\n", SaveScreenshot(shot, "zentrik_small_mode").c_str());
}

TEST_F(Layout, AHandEditedSizeModeAboveOneIsTheSmallMode) {
    auto run = StartQuietly("7");
    ExpectControlsAtSkinRects(*run, 1);
    ::PostMessageA(run->Dialog(), WM_CLOSE, 0, 0);
    ASSERT_EQ(0u, run->WaitForExit(15000));
    EXPECT_EQ("1", run->IniValue("Basic", "dialogsize"));
}

using Keys = ProgramTest;

TEST_F(Keys, CtrlLeftTurnsThePictureAndFourPressesRestoreIt) {
    auto run = StartQuietly();
    const RECT preview = PreviewOnScreen(*run, 0);
    uint32_t frame = 0;
    ASSERT_TRUE(WaitForFrameNumber(*run, preview, &frame, 10000));
    ::SetForegroundWindow(run->Frame());
    run->Pump(300);
    SendCtrlKey(VK_LEFT);
    run->Pump(1500);
    EXPECT_FALSE(ReadPreviewFrameNumber(preview, &frame)) << "the band is still along the top";
    for (int i = 0; i < 3; ++i) {
        SendCtrlKey(VK_LEFT);
        run->Pump(300);
    }
    EXPECT_TRUE(WaitForFrameNumber(*run, preview, &frame, 5000)) << "four turns do not restore the picture";
}

using Close = ProgramTest;

// Closes through msg on the given window and checks the settings the program leaves behind.
void CloseAndCheckSettings(ZentrikRun& run, HWND target, UINT msg, WPARAM wParam) {
    ::PostMessageA(target, msg, wParam, 0);
    EXPECT_EQ(0u, run.WaitForExit(15000)) << "the program did not end";
    EXPECT_EQ("0", run.IniValue("Basic", "dialogsize"));
    EXPECT_EQ("-1", run.IniValue("Effect", "EffectIndex"));
    EXPECT_EQ("-1", run.IniValue("Effect", "PropertyIndex"));
    EXPECT_EQ("", run.IniValue("Effect", "PropertyName"));
    EXPECT_EQ("1", run.IniValue("Enhance", "Manual"));
    EXPECT_EQ("50", run.IniValue("Enhance", "EnhanceValue"));
    EXPECT_EQ("0", run.IniValue("Enhance", "Brightness"));
    EXPECT_EQ("0", run.IniValue("Enhance", "ZoomValue"));
    EXPECT_NE("<missing>", run.IniValue("Format", "Output Size"));
}

TEST_F(Close, TheCloseButtonEndsTheProgramAndSavesItsSettings) {
    auto run = StartQuietly();
    CloseAndCheckSettings(*run, run->Dialog(), WM_COMMAND, MAKEWPARAM(1021, BN_CLICKED));
}

TEST_F(Close, WmCloseEndsTheProgramAndSavesItsSettings) {
    auto run = StartQuietly();
    CloseAndCheckSettings(*run, run->Dialog(), WM_CLOSE, 0);
}

TEST_F(Close, ACloseRightAtStartUpEndsInOrder) {
    AddCamera();
    AddMicrophone();
    ZentrikRun run;
    ASSERT_TRUE(run.Start());
    // As soon as the dialog exists, while the start-up indicator may still be up.
    HWND dialog = nullptr;
    const DWORD end = ::GetTickCount() + 30000;
    while (!dialog && static_cast<LONG>(end - ::GetTickCount()) > 0 && run.Running()) {
        if (HWND frame = ::FindWindowA("ZENTRIK_CLASSNAME", nullptr))
            dialog = ::GetWindow(frame, GW_CHILD);
        ::Sleep(5);
    }
    ASSERT_TRUE(dialog);
    ::PostMessageA(dialog, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, run.WaitForExit(15000)) << "the close waited for the indicator without serving it";
}

TEST_F(Close, ASecondRunWritesTheSettingsFileBackByteForByte) {
    auto run = StartQuietly();
    ::PostMessageA(run->Dialog(), WM_CLOSE, 0, 0);
    ASSERT_EQ(0u, run->WaitForExit(15000));
    const std::string written = run->IniText();
    ASSERT_FALSE(written.empty());
    ASSERT_TRUE(run->Start());
    ASSERT_TRUE(run->WaitForMainWindow(30000));
    ::PostMessageA(run->Dialog(), WM_CLOSE, 0, 0);
    ASSERT_EQ(0u, run->WaitForExit(15000));
    EXPECT_EQ(written, run->IniText());
}

} // namespace
} // namespace programtest
