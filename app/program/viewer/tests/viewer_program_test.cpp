// Playback mode in the real program: the switch and its layouts, a picture with its labels, a clip
// played, paused, continued, stopped and sought (its frames read from the screen by the clip's
// pattern), a clip played to an end past 2^32 x 100 ns, Save as through the real file dialog, and the
// window dragged by its top band.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "album_folder.h"
#include "avi_clip.h"
#include "program_fixture.h"
#include "program_windows.h"
#include "screen_probe.h"

namespace programtest {
namespace {

constexpr int kSwitch = 1010, kSaveAs = 1011, kPixelSize = 1022, kTime = 1026, kSize = 1028, kDate = 1076,
              kPause = 1078, kPlay = 1079, kStop = 1080, kSeek = 1081;

std::string ClipBytes(const qelmedia::AviClipFormat& format) {
    const std::vector<uint8_t> bytes = qelmedia::BuildAviClip(format);
    return std::string(bytes.begin(), bytes.end());
}

std::string FileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// The date label's text for a file the album folder wrote.
std::string ExpectedDate(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    ::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
    FILETIME local;
    SYSTEMTIME when;
    ::FileTimeToLocalFileTime(&data.ftLastWriteTime, &local);
    ::FileTimeToSystemTime(&local, &when);
    char text[32];
    std::snprintf(text, sizeof text, "%04d/%02d/%d", when.wYear, when.wMonth, when.wDay);
    return text;
}

// The current time of the time label "hh:mm:ss / hh:mm:ss" in seconds; -1 when it does not read.
int ShownSeconds(const std::string& label) {
    int h = 0, m = 0, s = 0, th = 0, tm = 0, ts = 0;
    if (std::sscanf(label.c_str(), "%d:%d:%d / %d:%d:%d", &h, &m, &s, &th, &tm, &ts) != 6)
        return -1;
    return h * 3600 + m * 60 + s;
}

bool Visible(const ZentrikRun& run, int id) { return ::IsWindowVisible(run.Control(id)) != FALSE; }

class Viewer : public ProgramTest {
protected:
    // The program on the album folder, once the scan has handed over count items.
    std::unique_ptr<ZentrikRun> StartOnAlbum(const AlbumFolder& folder, int count) {
        AddCamera();
        AddMicrophone();
        auto run = std::make_unique<ZentrikRun>();
        run->SetIniValue("Basic", "Image Folder", folder.Dir().c_str());
        EXPECT_TRUE(run->Start());
        EXPECT_TRUE(run->WaitForMainWindow(30000)) << "no main window";
        for (int i = 0; i < 100 && !FindChildById(run->Dialog(), 8000 + count - 1); ++i)
            run->Pump(100);
        EXPECT_TRUE(FindChildById(run->Dialog(), 8000 + count - 1)) << "the album did not fill";
        run->Pump(500); // the last hand-over's end steps, and clip thumbnails made at their first paint
        return run;
    }

    // Waits until the top item shows a clip thumbnail (its record is complete only then): frame 30 of
    // the clip pattern, red 30 x 8 + 16 = 0 (mod 256) and green rising downwards.
    bool WaitForClipThumbnail(ZentrikRun& run) {
        HWND item = FindChildById(run.Dialog(), 8000);
        for (int i = 0; i < 100 && item; ++i) {
            const RECT r = ScreenRectOf(item);
            const COLORREF centre = ScreenPixel((r.left + r.right) / 2, (r.top + r.bottom) / 2);
            if (GetRValue(centre) == 0 && GetGValue(centre) > 20)
                return true;
            run.Pump(100);
        }
        return false;
    }

    // The program in playback mode on an album of one clip, which the viewer shows.
    std::unique_ptr<ZentrikRun> StartOnClip(AlbumFolder& folder, const char* name,
                                            const qelmedia::AviClipFormat& format) {
        folder.Write(name, ClipBytes(format), 50);
        auto run = StartOnAlbum(folder, 1);
        EXPECT_TRUE(WaitForClipThumbnail(*run)) << "no clip thumbnail";
        ClickButton(run->Dialog(), kSwitch);
        run->Pump(300);
        // The still comes from the thumbnail maker's thread; the placeholder (and its size) shows until
        // it does.
        const std::string still = std::to_string(format.width) + "X" + std::to_string(format.height);
        for (int i = 0; i < 200 && Label(*run, kPixelSize) != still; ++i)
            run->Pump(50);
        EXPECT_EQ(still, Label(*run, kPixelSize)) << "the clip's still never came within the hang guard of 10 s";
        return run;
    }

    // The seek slider moved to pos, as its drag reports it.
    void SeekTo(ZentrikRun& run, int pos) {
        HWND slider = run.Control(kSeek);
        ::SendMessageA(slider, TBM_SETPOS, TRUE, pos);
        ::SendMessageA(run.Dialog(), WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, pos), reinterpret_cast<LPARAM>(slider));
    }

    // The middle of the viewer on the screen (large mode).
    POINT ViewerCentre(const ZentrikRun& run) const {
        const RECT area = PreviewOnScreen(run, 0);
        return {area.left + 240, area.top + 180};
    }

    std::string Label(const ZentrikRun& run, int id) const { return TextOf(run.Control(id)); }

    // Waits until the time label's current time reaches seconds; the time shown then (-1 on time-out).
    int WaitForShownSeconds(ZentrikRun& run, int seconds, DWORD ms) {
        const DWORD end = ::GetTickCount() + ms;
        do {
            const int shown = ShownSeconds(Label(run, kTime));
            if (shown >= seconds)
                return shown;
            run.Pump(50);
        } while (static_cast<LONG>(end - ::GetTickCount()) > 0);
        return -1;
    }

    // The time label once it shows another text than from, waited for at most ms; from when it does not.
    std::string WaitForLabelChange(ZentrikRun& run, const std::string& from, DWORD ms) {
        const DWORD end = ::GetTickCount() + ms;
        do {
            const std::string shown = Label(run, kTime);
            if (shown != from)
                return shown;
            run.Pump(20);
        } while (static_cast<LONG>(end - ::GetTickCount()) > 0);
        return from;
    }

    void Close(ZentrikRun& run) {
        PostClick(run.Dialog(), 1021);
        EXPECT_EQ(0u, run.WaitForExit(10000));
    }
};

TEST_F(Viewer, SwitchShowsTheSelectedPictureWithItsLabelsAndSwitchingBackTheLivePicture) {
    AlbumFolder folder("viewer_picture");
    const std::string picture = SolidBmp(160, 120, RGB(0, 200, 0));
    const std::string path = folder.Write("new.bmp", picture, 50);
    folder.Write("old.bmp", SolidBmp(88, 66, RGB(200, 0, 200)), 10);
    auto run = StartOnAlbum(folder, 2);
    HWND dialog = run->Dialog();

    ClickButton(dialog, kSwitch);
    run->Pump(500);
    const POINT centre = ViewerCentre(*run);
    EXPECT_EQ(RGB(0, 200, 0), ScreenPixel(centre.x, centre.y)) << "the newest picture, selected at the top";
    EXPECT_EQ(std::to_string((picture.size() + 1023) / 1024) + " KB", Label(*run, kSize));
    EXPECT_EQ(ExpectedDate(path), Label(*run, kDate));
    EXPECT_EQ("160X120", Label(*run, kPixelSize));
    EXPECT_FALSE(Visible(*run, kTime)) << "a picture has no time";
    for (int id : {kPause, kPlay, kStop, kSeek})
        EXPECT_FALSE(Visible(*run, id)) << "playback control " << id << " shown for a picture";
    for (int id : {1061, 1066, 1002, 1063, 1064, 1065, 1008, 1031})
        EXPECT_FALSE(Visible(*run, id)) << "capture control " << id << " shown in playback mode";
    std::printf("screenshot: %s\n", SaveScreenshot(ScreenRectOf(run->Frame()), "zentrik_viewer_picture").c_str());

    ClickButton(dialog, kSwitch);
    uint32_t frame = 0;
    EXPECT_TRUE(WaitForFrameNumber(*run, PreviewOnScreen(*run, 0), &frame, 10000)) << "no live picture back";
    EXPECT_TRUE(Visible(*run, 1061)) << "Record is back";
    EXPECT_FALSE(Visible(*run, kPlay));
    EXPECT_FALSE(Visible(*run, kTime)) << "the capture time shows in video mode only";
    EXPECT_NE(std::string::npos, Label(*run, kSize).find(" GB")) << "free space again: " << Label(*run, kSize);
    EXPECT_EQ("320X240", Label(*run, kPixelSize)) << "the capture size again";
    Close(*run);
    EXPECT_TRUE(run->Boxes().empty());
}

// Snapshot mode hides the free-space label; in playback mode the same label shows each item's size, on
// the screen as well as in its text, after the way through Video mode and Snapshot mode.
TEST_F(Viewer, AfterSnapshotModeEveryItemShowsItsSizeInPlayback) {
    AlbumFolder folder("viewer_sizes");
    const std::string large = SolidBmp(160, 120, RGB(0, 200, 0));
    const std::string small = SolidBmp(40, 30, RGB(200, 0, 200));
    folder.Write("large.bmp", large, 50);
    folder.Write("small.bmp", small, 10);
    auto run = StartOnAlbum(folder, 2);
    HWND dialog = run->Dialog();
    ClickButton(dialog, 1066); // Video mode
    run->Pump(300);
    ASSERT_TRUE(Visible(*run, kSize)) << "video mode shows the free space";
    ClickButton(dialog, 1002); // Snapshot mode
    run->Pump(300);
    ASSERT_FALSE(Visible(*run, kSize)) << "snapshot mode hides the free space";

    ClickButton(dialog, kSwitch);
    run->Pump(500);
    const RECT label = ScreenRectOf(run->Control(kSize));
    EXPECT_TRUE(Visible(*run, kSize)) << "the newest item's size label is hidden";
    EXPECT_EQ(std::to_string((large.size() + 1023) / 1024) + " KB", Label(*run, kSize));
    const ScreenPixels largeShown = GrabScreen(label);
    std::printf("screenshot: %s\n", SaveScreenshot(ScreenRectOf(run->Frame()), "zentrik_viewer_size_label").c_str());
    ClickButton(dialog, 1052); // Down
    run->Pump(500);
    EXPECT_TRUE(Visible(*run, kSize)) << "the next item's size label is hidden";
    EXPECT_EQ(std::to_string((small.size() + 1023) / 1024) + " KB", Label(*run, kSize));
    EXPECT_NE(largeShown.bytes, GrabScreen(label).bytes) << "the screen shows the same label for both sizes";
    Close(*run);
    EXPECT_TRUE(run->Boxes().empty());
}

TEST_F(Viewer, ItemsOpenByDoubleClickAndUpAndDownShowTheirNeighbours) {
    AlbumFolder folder("viewer_items");
    folder.Write("top.bmp", SolidBmp(100, 80, RGB(220, 40, 40)), 50);
    folder.Write("below.bmp", SolidBmp(60, 40, RGB(40, 40, 220)), 40);
    auto run = StartOnAlbum(folder, 2);
    HWND dialog = run->Dialog();
    HWND below = FindChildById(dialog, 8001);
    ASSERT_TRUE(below);

    // A click in live mode selects without touching the live labels.
    ::PostMessageA(below, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    ::PostMessageA(below, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    run->Pump(300);
    EXPECT_EQ("320X240", Label(*run, kPixelSize));
    EXPECT_TRUE(Visible(*run, 1061)) << "still live";

    // A double click opens the item in playback mode.
    ::PostMessageA(below, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(10, 10));
    run->Pump(500);
    EXPECT_FALSE(Visible(*run, 1061)) << "not in playback mode";
    const POINT centre = ViewerCentre(*run);
    EXPECT_EQ(RGB(40, 40, 220), ScreenPixel(centre.x, centre.y));
    EXPECT_EQ("60X40", Label(*run, kPixelSize));

    ClickButton(dialog, 1051); // Up
    run->Pump(300);
    EXPECT_EQ(RGB(220, 40, 40), ScreenPixel(centre.x, centre.y));
    EXPECT_EQ("100X80", Label(*run, kPixelSize));
    ClickButton(dialog, 1052); // Down
    run->Pump(300);
    EXPECT_EQ(RGB(40, 40, 220), ScreenPixel(centre.x, centre.y));
    EXPECT_EQ("60X40", Label(*run, kPixelSize));
    Close(*run);
    EXPECT_TRUE(run->Boxes().empty());
}

TEST_F(Viewer, AClipPlaysPausesContinuesRestartsStopsAndSeeks) {
    AlbumFolder folder("viewer_clip");
    qelmedia::AviClipFormat format;
    format.frameCount = 100; // 10 s at 10 frames a second
    format.withAudio = true;
    auto run = StartOnClip(folder, "clip.avi", format);
    HWND dialog = run->Dialog();
    HWND slider = run->Control(kSeek);
    EXPECT_EQ("00:00:00 / 00:00:10", Label(*run, kTime)) << "the clip opens at its start";
    EXPECT_TRUE(Visible(*run, kTime));
    EXPECT_EQ("64X48", Label(*run, kPixelSize));
    for (int id : {kPause, kPlay, kStop, kSeek})
        EXPECT_TRUE(Visible(*run, id)) << "playback control " << id << " hidden for a clip";

    // A double click plays it; the reports move the label and the slider.
    ::PostMessageA(FindChildById(dialog, 8000), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(10, 10));
    ASSERT_GE(WaitForShownSeconds(*run, 1, 10000), 1) << "no progress: " << Label(*run, kTime);
    EXPECT_GT(::SendMessageA(slider, TBM_GETPOS, 0, 0), 0);
    EXPECT_NE(std::string::npos, Label(*run, kTime).find(" / 00:00:10"));

    // Pause near 3 s holds there; Play goes on from there.
    ASSERT_GE(WaitForShownSeconds(*run, 3, 10000), 3);
    ClickButton(dialog, kPause);
    const int paused = ShownSeconds(Label(*run, kTime));
    EXPECT_GE(paused, 3);
    EXPECT_LE(paused, 5);
    run->Pump(1000);
    EXPECT_EQ(paused, ShownSeconds(Label(*run, kTime))) << "the time moved while paused";
    // The play starts behind the window: its first report is the first change of the time shown.
    const std::string pausedLabel = Label(*run, kTime);
    ClickButton(dialog, kPlay);
    const std::string continued = WaitForLabelChange(*run, pausedLabel, 10000);
    EXPECT_GT(ShownSeconds(continued), paused) << "Play after Pause did not continue: " << continued;

    // Play while playing starts again at the beginning.
    run->Pump(1100);
    const std::string playing = Label(*run, kTime);
    ClickButton(dialog, kPlay);
    const std::string restarted = WaitForLabelChange(*run, playing, 10000);
    EXPECT_LE(ShownSeconds(restarted), 1) << restarted;

    ClickButton(dialog, kStop);
    EXPECT_EQ("00:00:00 / 00:00:10", Label(*run, kTime));
    EXPECT_EQ(0, ::SendMessageA(slider, TBM_GETPOS, 0, 0));

    // The seek slider at 50 shows frame 50, whose red is 50 x 8 + 16 (mod 256) all over.
    SeekTo(*run, 50);
    run->Pump(500);
    EXPECT_EQ("00:00:05 / 00:00:10", Label(*run, kTime));
    const POINT centre = ViewerCentre(*run);
    const COLORREF shown = ScreenPixel(centre.x, centre.y);
    EXPECT_EQ(qelmedia::ClipPixel(50, 32, 24).red, GetRValue(shown)) << "not frame 50";
    std::printf("screenshot: %s\n", SaveScreenshot(ScreenRectOf(run->Frame()), "zentrik_viewer_clip").c_str());
    Close(*run);
    EXPECT_TRUE(run->Boxes().empty());
}

// The frame of the clip pattern the screen shows at a point, from its red (frame x 8 + 16, mod 256):
// the frame number modulo 32; -1 when the red is not one of the pattern's.
int ShownClipFrame(POINT at) {
    const int red = GetRValue(ScreenPixel(at.x, at.y));
    return (red - 16) % 8 == 0 || (red + 256 - 16) % 8 == 0 ? ((red + 256 - 16) % 256) / 8 : -1;
}

// The frame the screen shows at a point and the frame the playback has reported, read while the
// report stays the same: over a clip of 100 frames the seek slider's 100 steps are its frame numbers.
// Several readings are allowed for the viewer to paint the latest report; false when no reading is
// in step, the last one given all the same.
bool ReadShownAndReported(const ZentrikRun& run, POINT at, int* shown, int* reported) {
    HWND slider = run.Control(kSeek);
    for (int reading = 0; reading < 20; ++reading) {
        const int before = static_cast<int>(::SendMessageA(slider, TBM_GETPOS, 0, 0));
        *shown = ShownClipFrame(at);
        *reported = static_cast<int>(::SendMessageA(slider, TBM_GETPOS, 0, 0));
        // The picture may trail or lead the report by a frame or two (a paint still to come, a
        // renderer ahead of the report); anything else is another frame than the one playing.
        const int behind = (*reported % 32 - *shown + 32) % 32;
        if (before == *reported && *shown >= 0 && (behind <= 2 || behind >= 30))
            return true;
        ::Sleep(20);
    }
    return false;
}

// A double click plays the clip where the user sees it: at three moments the picture shows the frame
// of the position the playback reports, and the position moves on. The time to the first moving frame
// is printed.
TEST_F(Viewer, ADoubleClickedClipVisiblyPlays) {
    AlbumFolder folder("viewer_moving");
    qelmedia::AviClipFormat format;
    format.frameCount = 100; // 10 s at 10 frames a second
    auto run = StartOnClip(folder, "moving.avi", format);
    const POINT centre = ViewerCentre(*run);
    ASSERT_EQ(0, ShownClipFrame(centre)) << "the viewer does not show the clip's first frame";
    const DWORD clicked = ::GetTickCount();
    ::PostMessageA(FindChildById(run->Dialog(), 8000), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(10, 10));
    constexpr DWORD kHangGuardMs = 10000;
    DWORD moved = 0, started = 0;
    HWND slider = run->Control(kSeek);
    while (!moved && ::GetTickCount() - clicked < kHangGuardMs) {
        if (!started && ::SendMessageA(slider, TBM_GETPOS, 0, 0) > 0)
            started = ::GetTickCount();
        if (ShownClipFrame(centre) > 0)
            moved = ::GetTickCount();
        else
            run->Pump(20);
    }
    std::printf("figure: the clock at 0.1 s %lu ms, the first moving frame %lu ms after the double click "
                "(hang guard %lu ms)\n",
                started ? started - clicked : 0ul, moved ? moved - clicked : 0ul, kHangGuardMs);
    ASSERT_NE(0u, moved) << "the picture never left the first frame; time label " << Label(*run, kTime);
    int previous = -1;
    for (int moment = 0; moment < 3; ++moment) {
        run->Pump(500);
        int shown = -1, reported = -1;
        EXPECT_TRUE(ReadShownAndReported(*run, centre, &shown, &reported))
            << "moment " << moment << ": the screen shows frame " << shown << " while frame " << reported
            << " (mod 32: " << reported % 32 << ") plays";
        EXPECT_GT(reported, previous) << "moment " << moment << ": the playback did not move on";
        previous = reported;
    }
    std::printf("screenshot: %s\n", SaveScreenshot(ScreenRectOf(run->Frame()), "zentrik_viewer_playing").c_str());
    ClickButton(run->Dialog(), kStop);
    Close(*run);
    EXPECT_TRUE(run->Boxes().empty());
}

TEST_F(Viewer, AClipLongerThanThe32BitPositionRangeStopsAtItsEnd) {
    AlbumFolder folder("viewer_long");
    qelmedia::AviClipFormat format;
    format.width = 32;
    format.height = 24;
    format.framesPerSecond = 1;
    format.frameCount = 440; // 4.4e9 x 100 ns: past 2^32
    auto run = StartOnClip(folder, "long.avi", format);
    HWND dialog = run->Dialog();
    HWND slider = run->Control(kSeek);
    ASSERT_EQ("00:00:00 / 00:07:20", Label(*run, kTime));
    SeekTo(*run, 99);
    EXPECT_EQ("00:07:15 / 00:07:20", Label(*run, kTime));
    ClickButton(dialog, kPlay);
    bool sawLatePosition = false;
    const DWORD end = ::GetTickCount() + 20000;
    while (Label(*run, kTime) != "00:00:00 / 00:07:20" && static_cast<LONG>(end - ::GetTickCount()) > 0) {
        sawLatePosition = sawLatePosition || ShownSeconds(Label(*run, kTime)) >= 435;
        run->Pump(50);
    }
    EXPECT_TRUE(sawLatePosition) << "no report past 2^32 x 100 ns arrived whole";
    EXPECT_EQ("00:00:00 / 00:07:20", Label(*run, kTime)) << "the end was not recognised";
    EXPECT_EQ(0, ::SendMessageA(slider, TBM_GETPOS, 0, 0));
    Close(*run);
    EXPECT_TRUE(run->Boxes().empty());
}

TEST_F(Viewer, SaveAsThroughTheFileDialogWritesAByteIdenticalCopy) {
    AlbumFolder folder("viewer_save");
    qelmedia::AviClipFormat format;
    format.frameCount = 20;
    format.withAudio = true;
    const std::string original = folder.Write("clip.avi", ClipBytes(format), 50);
    const std::string copy = folder.Path("copy.avi");
    auto run = StartOnAlbum(folder, 1);

    PostClick(run->Dialog(), kSaveAs);
    HWND fileDialog = WaitForFileDialog(run->ProcessId(), 10000);
    ASSERT_TRUE(fileDialog) << "no file dialog";
    ASSERT_TRUE(AcceptFileDialogWith(fileDialog, copy)) << "no file name box";
    for (int i = 0; i < 100 && (::IsWindow(fileDialog) || !folder.Exists("copy.avi")); ++i)
        ::Sleep(50);
    EXPECT_FALSE(::IsWindow(fileDialog)) << "the dialog stayed open";
    ASSERT_TRUE(folder.Exists("copy.avi"));
    EXPECT_TRUE(FileBytes(original) == FileBytes(copy)) << "the copy differs";
    Close(*run);
    EXPECT_TRUE(run->Boxes().empty());
}

// Presses or releases the real left button with the pointer in the screen's corner, away from the
// program: the program's thread then reads the button as held, as a drag needs.
void LeftButton(bool down) {
    ::SetCursorPos(::GetSystemMetrics(SM_CXSCREEN) - 2, ::GetSystemMetrics(SM_CYSCREEN) - 2);
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    ::SendInput(1, &input, sizeof input);
}

// A press at (x, y) of the dialog's client area, a drag by (40, 30) and the release, as the dialog
// receives them; where the frame went.
POINT DragBy(ZentrikRun& run, int x, int y) {
    const RECT before = ScreenRectOf(run.Frame());
    HWND dialog = run.Dialog();
    LeftButton(true);
    ::Sleep(100);
    ::PostMessageA(dialog, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    // The first move is the one that tells a drag from a click.
    for (int i = 0; i < 2; ++i)
        ::PostMessageA(dialog, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x + 40, y + 30));
    ::PostMessageA(dialog, WM_LBUTTONUP, 0, MAKELPARAM(x + 40, y + 30));
    run.Pump(500);
    LeftButton(false);
    run.Pump(100);
    const RECT after = ScreenRectOf(run.Frame());
    return {after.left - before.left, after.top - before.top};
}

TEST_F(Viewer, OnlyAPressInsideTheSlantedTopBandDragsTheWindow) {
    auto run = StartQuietly();
    const POINT outside = DragBy(*run, 70, 190);
    EXPECT_EQ(0, outside.x);
    EXPECT_EQ(0, outside.y);
    const POINT inside = DragBy(*run, 86, 190);
    EXPECT_GT(inside.x, 0) << "the window did not follow the drag";
    EXPECT_GT(inside.y, 0);
    Close(*run);
}

// The template's two hidden combo boxes, filled and chosen from outside as a resource library's dialog
// would: the choice reaches the settings file at once.
TEST_F(Viewer, TheComboBoxesStoreTheChosenRecordFormatAndResolution) {
    auto run = StartQuietly();
    HWND dialog = run->Dialog();
    HWND formats = run->Control(10060);
    ASSERT_TRUE(formats);
    for (const char* kind : {"AVI", "ASF", "WMV"})
        ::SendMessageA(formats, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kind));
    ::SendMessageA(formats, CB_SETCURSEL, 2, 0);
    ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(10060, CBN_SELCHANGE), reinterpret_cast<LPARAM>(formats));
    EXPECT_EQ("2", run->IniValue("Format", "Video FileType"));
    EXPECT_EQ("2", run->IniValue("MergeSetting", "SaveFileType"));

    HWND sizes = run->Control(1023);
    ASSERT_TRUE(sizes);
    for (const char* size : {"320x240", "640x480"})
        ::SendMessageA(sizes, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(size));
    ::SendMessageA(sizes, CB_SETCURSEL, 1, 0);
    ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(1023, CBN_SELCHANGE), reinterpret_cast<LPARAM>(sizes));
    EXPECT_EQ("640x480", run->IniValue("Format", "Output Size"));
    EXPECT_FALSE(Visible(*run, 1056)) << "the busy label is hidden again";
    Close(*run);
    EXPECT_TRUE(run->Boxes().empty());
    // The chosen format outlives the close.
    EXPECT_EQ("2", run->IniValue("Format", "Video FileType"));
    EXPECT_EQ("2", run->IniValue("MergeSetting", "SaveFileType"));
}

// A visible popup menu window of the process, or null.
HWND FindPopupMenu(DWORD pid) {
    const std::vector<HWND> menus = VisibleTopLevelWindows(pid, "#32768");
    return menus.empty() ? nullptr : menus.front();
}

TEST_F(Viewer, InfoOpensTheHelpMenuAtThePointer) {
    auto run = StartQuietly();
    ::SetCursorPos(400, 300);
    PostClick(run->Dialog(), 1058);
    HWND menu = nullptr;
    for (int i = 0; i < 50 && !(menu = FindPopupMenu(run->ProcessId())); ++i)
        ::Sleep(50);
    ASSERT_TRUE(menu) << "no help menu";
    const RECT place = ScreenRectOf(menu);
    EXPECT_TRUE(place.left >= 398 && place.left <= 402 && place.top >= 298 && place.top <= 302)
        << "menu at " << place.left << "," << place.top;
    ::PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    for (int i = 0; i < 50 && FindPopupMenu(run->ProcessId()); ++i)
        ::Sleep(50);
    EXPECT_FALSE(FindPopupMenu(run->ProcessId())) << "the menu stayed open";
    Close(*run);
}

} // namespace
} // namespace programtest
