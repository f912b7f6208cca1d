// The sharing and window commands in the real program: e-mail through our recording mail client,
// wallpaper, the screen saver, trash in capture mode, minimise, the size-mode toggle, about and help.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <objidl.h>
#include <gdiplus.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "album_folder.h"
#include "album_items.h"
#include "avi_clip.h"
#include "program_fixture.h"
#include "qeltest/mail_client_key.h"
#include "qeltest/temp_dir.h"
#include "screen_probe.h"

namespace programtest {
namespace {

constexpr int kEmail = 1014, kWallpaper = 1015, kScreenSaver = 1016, kTrash = 1017, kMinimize = 1019,
              kLargeToggle = 1020, kClose = 1021, kSmallToggle = 1057, kUp = 1051, kDown = 1052,
              kAlbumSlider = 1085, kAbout = 32771, kHelp = 57670, kFirstItem = 8000;

std::string WindowsPath(std::string path) {
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return "Z:" + path;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> ReadLines(const std::string& path) {
    std::vector<std::string> lines;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

bool Exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string Hex(const void* value) {
    char text[32];
    std::snprintf(text, sizeof text, "%llx", static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(value)));
    return text;
}

// A rectangle of a child in its parent's client coordinates.
RECT RectInParent(HWND window) {
    RECT rect = ScreenRectOf(window);
    ::MapWindowPoints(nullptr, ::GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// The album entry added index-th, or null once removed.
HWND Item(const ZentrikRun& run, int index) { return FindItem(run.Dialog(), kFirstItem + index); }

void Post(HWND dialog, int id) { ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

bool Responds(HWND window, UINT ms) {
    DWORD_PTR result = 0;
    return ::SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, ms, &result) != 0;
}

// One environment variable of the test's process (inherited by the program) for the object's life.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : name_(name) {
        ::SetEnvironmentVariableA(name, value.c_str());
    }
    ~ScopedEnv() { ::SetEnvironmentVariableA(name_, nullptr); }

private:
    const char* name_;
};

class ScopedGdiplus {
public:
    ScopedGdiplus() {
        Gdiplus::GdiplusStartupInput input;
        Gdiplus::GdiplusStartup(&token_, &input, nullptr);
    }
    ~ScopedGdiplus() { Gdiplus::GdiplusShutdown(token_); }

private:
    ULONG_PTR token_ = 0;
};

// The desktop's wallpaper values and file as they were, back at the end.
class ScopedDesktop {
public:
    ScopedDesktop() {
        for (Saved& value : values_)
            value.present = Read(value.name, &value.type, &value.data);
        char windows[MAX_PATH] = {};
        ::GetWindowsDirectoryA(windows, MAX_PATH);
        wallpaperFile_ = std::string(windows) + "\\Q&L Wallpaper.bmp";
        ::DeleteFileA(wallpaperFile_.c_str());
    }
    ~ScopedDesktop() {
        HKEY key = nullptr;
        if (::RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
            return;
        for (const Saved& value : values_) {
            if (value.present)
                ::RegSetValueExA(key, value.name, 0, value.type, reinterpret_cast<const BYTE*>(value.data.data()),
                                 static_cast<DWORD>(value.data.size()));
            else
                ::RegDeleteValueA(key, value.name);
        }
        ::RegCloseKey(key);
        ::DeleteFileA(wallpaperFile_.c_str());
    }
    const std::string& WallpaperFile() const { return wallpaperFile_; }

    // A value of "Control Panel\Desktop": its type and bytes.
    static bool Read(const char* name, DWORD* type, std::string* data) {
        char buffer[1024] = {};
        DWORD size = sizeof buffer;
        HKEY key = nullptr;
        if (::RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, KEY_READ, &key) != ERROR_SUCCESS)
            return false;
        const LONG result = ::RegQueryValueExA(key, name, nullptr, type, reinterpret_cast<BYTE*>(buffer), &size);
        ::RegCloseKey(key);
        if (result != ERROR_SUCCESS)
            return false;
        data->assign(buffer, size);
        return true;
    }
    static void WriteWallpaperValue(const std::string& path) {
        HKEY key = nullptr;
        if (::RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
            return;
        ::RegSetValueExA(key, "Wallpaper", 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                         static_cast<DWORD>(path.size() + 1));
        ::RegCloseKey(key);
    }

private:
    struct Saved {
        const char* name;
        bool present = false;
        DWORD type = 0;
        std::string data;
    };
    Saved values_[3] = {{"TileWallpaper", false, 0, {}}, {"WallpaperStyle", false, 0, {}}, {"Wallpaper", false, 0, {}}};
    std::string wallpaperFile_;
};

// Our recording help viewer registered for ".chm" in the prefix, the association as it was back at
// the end.
class ScopedHelpViewer {
public:
    explicit ScopedHelpViewer(const std::string& viewer) {
        char value[256] = {};
        LONG size = sizeof value;
        hadDefault_ = ::RegQueryValueA(HKEY_CLASSES_ROOT, ".chm", value, &size) == ERROR_SUCCESS && value[0];
        oldDefault_ = value;
        Set(".chm", kClass);
        Set(std::string(kClass) + "\\shell\\open\\command", "\"" + viewer + "\" \"%1\"");
    }
    ~ScopedHelpViewer() {
        ::RegDeleteTreeA(HKEY_CLASSES_ROOT, kClass);
        if (hadDefault_) {
            Set(".chm", oldDefault_);
        } else {
            HKEY key = nullptr;
            if (::RegOpenKeyExA(HKEY_CLASSES_ROOT, ".chm", 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
                ::RegDeleteValueA(key, nullptr);
                ::RegCloseKey(key);
            }
        }
    }

private:
    static void Set(const std::string& key, const std::string& value) {
        ::RegSetValueA(HKEY_CLASSES_ROOT, key.c_str(), REG_SZ, value.c_str(), static_cast<DWORD>(value.size()));
    }
    static constexpr const char* kClass = "QelTest.HelpFile";
    bool hadDefault_ = false;
    std::string oldDefault_;
};

// A JPEG of a colour ramp, written with GDI+.
bool WriteRampJpeg(const std::string& path, int width, int height) {
    Gdiplus::Bitmap picture(width, height, PixelFormat24bppRGB);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.SetPixel(x, y, Gdiplus::Color(255, static_cast<BYTE>(x * 4), static_cast<BYTE>(y * 5), 120));
    UINT count = 0, bytes = 0;
    Gdiplus::GetImageEncodersSize(&count, &bytes);
    std::vector<BYTE> buffer(bytes);
    auto* encoders = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    Gdiplus::GetImageEncoders(count, bytes, encoders);
    const std::wstring wide(path.begin(), path.end());
    for (UINT i = 0; i < count; ++i)
        if (std::wstring(encoders[i].MimeType) == L"image/jpeg")
            return picture.Save(wide.c_str(), &encoders[i].Clsid, nullptr) == Gdiplus::Ok;
    return false;
}

// Whether two picture files decode to the same pixels.
::testing::AssertionResult SamePixels(const std::string& a, const std::string& b) {
    const std::wstring wa(a.begin(), a.end()), wb(b.begin(), b.end());
    Gdiplus::Bitmap first(wa.c_str()), second(wb.c_str());
    if (first.GetLastStatus() != Gdiplus::Ok || second.GetLastStatus() != Gdiplus::Ok)
        return ::testing::AssertionFailure() << "a picture does not load";
    if (first.GetWidth() != second.GetWidth() || first.GetHeight() != second.GetHeight())
        return ::testing::AssertionFailure() << "sizes differ";
    for (UINT y = 0; y < first.GetHeight(); ++y)
        for (UINT x = 0; x < first.GetWidth(); ++x) {
            Gdiplus::Color p, q;
            first.GetPixel(x, y, &p);
            second.GetPixel(x, y, &q);
            if ((p.GetValue() & 0xFFFFFF) != (q.GetValue() & 0xFFFFFF))
                return ::testing::AssertionFailure() << "pixel " << x << "," << y << " differs";
        }
    return ::testing::AssertionSuccess();
}

class Sharing : public ProgramTest {
protected:
    // Starts the program on the album folder and waits until its `items` entries are listed.
    void StartOnAlbum(ZentrikRun& run, const AlbumFolder& folder, int items) {
        if (!devicesAdded_) {
            AddCamera();
            AddMicrophone();
            devicesAdded_ = true;
        }
        run.SetIniValue("Basic", "Image Folder", folder.Dir().c_str());
        ASSERT_TRUE(run.Start());
        ASSERT_TRUE(run.WaitForMainWindow(30000));
        for (int i = 0; i < 150 && !FindItem(run.Dialog(), kFirstItem + items - 1); ++i)
            run.Pump(50);
        ASSERT_TRUE(FindItem(run.Dialog(), kFirstItem + items - 1)) << "the album was not listed";
        run.Pump(500);
    }
    // A click on an album entry, with MK_SHIFT or MK_CONTROL for the range and toggle rules.
    static void Select(ZentrikRun& run, int index, WPARAM keys = 0) {
        HWND item = Item(run, index);
        ASSERT_TRUE(item) << "no item " << index;
        ::SendMessageA(item, WM_LBUTTONDOWN, keys | MK_LBUTTON, 0);
        ::SendMessageA(item, WM_LBUTTONUP, keys, 0);
    }
    static void CloseProgram(ZentrikRun& run) {
        Post(run.Dialog(), kClose);
        EXPECT_EQ(0u, run.WaitForExit(10000));
    }

private:
    bool devicesAdded_ = false;
};

TEST_F(Sharing, EmailSendsTenMegabytesAtOnceAsksAboveAndNeedsASelection) {
    qeltest::ScopedMailClient mailClient;
    ASSERT_TRUE(mailClient.SetValue("DllPath", WindowsPath(QEL_FAKE_MAPI)));
    qeltest::TempDir logDir;
    const std::string log = logDir.File("mapi.log");
    ScopedEnv logEnv("QEL_FAKE_MAPI_LOG", log);

    AlbumFolder folder("mail");
    // Two selections: exactly 10,485,760 bytes, and one byte more. (The program holds the files it
    // shows open, so the sizes are set before it starts.)
    const std::string small = SolidBmp(88, 66, RGB(0, 0, 200));
    std::string big = SolidBmp(88, 66, RGB(0, 200, 0));
    big.resize(10485760 - small.size(), '\0'); // a bitmap with a long tail still loads
    const std::string bigPath = folder.Write("big.bmp", big, 10);
    const std::string smallPath = folder.Write("small.bmp", small, 20);
    folder.Write("larger.bmp", small + '\0', 30);
    ZentrikRun run;
    ASSERT_NO_FATAL_FAILURE(StartOnAlbum(run, folder, 3));
    HWND dialog = run.Dialog();

    Select(run, 1);
    Select(run, 2, MK_SHIFT);
    Post(dialog, kEmail);
    run.Pump(1500);
    const std::string ui = Hex(dialog);
    const std::vector<std::string> sent = {
        "MAPILogon ui=" + ui + " profile=(null) password=(null) flags=1 result=0",
        "MAPISendMail session=12345678abc ui=" + ui + " flags=8 files=2 recipients=0 result=0",
        "attach position=ffffffff path=" + smallPath,
        "attach position=ffffffff path=" + bigPath,
        "MAPILogoff session=12345678abc ui=" + ui + " flags=0",
    };
    std::vector<std::string> calls = ReadLines(log);
    ASSERT_FALSE(calls.empty()) << "the mail client was never loaded";
    EXPECT_EQ(0u, calls.front().rfind("load ", 0));
    calls.erase(calls.begin());
    EXPECT_EQ(sent, calls) << "exactly 10,485,760 bytes go without a question";

    // One byte more asks; Cancel sends nothing, OK sends.
    Select(run, 0);
    Select(run, 2, MK_CONTROL);
    const size_t before = ReadLines(log).size();
    run.ExpectBox("Warning!", "The file size is over than 10MB. Sure you want to send it?", IDCANCEL);
    Post(dialog, kEmail);
    run.WaitForExpectedBoxes(5000);
    EXPECT_TRUE(run.MissingBoxes().empty()) << "no question above 10 MB";
    run.Pump(1000);
    EXPECT_EQ(before, ReadLines(log).size()) << "Cancel sent something";
    run.ExpectBox("Warning!", "The file size is over than 10MB. Sure you want to send it?", IDOK);
    Post(dialog, kEmail);
    run.WaitForExpectedBoxes(5000);
    run.Pump(1500);
    EXPECT_GT(ReadLines(log).size(), before) << "OK sent nothing";

    // Nothing selected: not even a logon.
    Select(run, 0, MK_CONTROL);
    Select(run, 2, MK_CONTROL);
    const size_t unselected = ReadLines(log).size();
    Post(dialog, kEmail);
    run.Pump(1000);
    EXPECT_EQ(unselected, ReadLines(log).size());
    CloseProgram(run);
}

TEST_F(Sharing, WallpaperConvertsAJpegCopiesABitmapAndIgnoresClips) {
    ScopedGdiplus gdiplus;
    ScopedDesktop desktop;
    AlbumFolder folder("wallpaper");
    const std::string jpeg = folder.Path("photo.jpg");
    ASSERT_TRUE(WriteRampJpeg(jpeg, 64, 48));
    folder.Write("photo.jpg", ReadFile(jpeg), 30);
    const std::string bmp = folder.Write("PLAIN.BMP", SolidBmp(40, 30, RGB(10, 120, 230)), 20);
    qelmedia::AviClipFormat clipFormat;
    const std::vector<uint8_t> clip = qelmedia::BuildAviClip(clipFormat);
    folder.Write("clip.avi", std::string(clip.begin(), clip.end()), 10);
    ZentrikRun run;
    ASSERT_NO_FATAL_FAILURE(StartOnAlbum(run, folder, 3));
    HWND dialog = run.Dialog();
    const std::string& wallpaper = desktop.WallpaperFile();

    // The selected JPEG becomes a bitmap with its pixels, centred and untiled.
    Select(run, 0);
    Post(dialog, kWallpaper);
    run.Pump(3000);
    ASSERT_TRUE(Exists(wallpaper));
    EXPECT_EQ("BM", ReadFile(wallpaper).substr(0, 2));
    EXPECT_TRUE(SamePixels(jpeg, wallpaper));
    for (const char* name : {"TileWallpaper", "WallpaperStyle"}) {
        DWORD type = 0;
        std::string data;
        ASSERT_TRUE(ScopedDesktop::Read(name, &type, &data)) << name;
        EXPECT_EQ(static_cast<DWORD>(REG_SZ), type) << name;
        EXPECT_EQ(std::string("0", 2), data) << name;
    }
    char current[MAX_PATH] = {};
    ASSERT_TRUE(::SystemParametersInfoA(SPI_GETDESKWALLPAPER, MAX_PATH, current, 0));
    EXPECT_STRCASEEQ(wallpaper.c_str(), current);

    // A .BMP is copied byte for byte.
    Select(run, 1);
    Post(dialog, kWallpaper);
    run.Pump(3000);
    EXPECT_EQ(ReadFile(bmp), ReadFile(wallpaper));

    // Only a clip selected: nothing is written or set.
    ::DeleteFileA(wallpaper.c_str());
    ScopedDesktop::WriteWallpaperValue("C:\\marker.bmp");
    Select(run, 2);
    Post(dialog, kWallpaper);
    run.Pump(3000);
    EXPECT_FALSE(Exists(wallpaper));
    DWORD type = 0;
    std::string value;
    ASSERT_TRUE(ScopedDesktop::Read("Wallpaper", &type, &value));
    EXPECT_STREQ("C:\\marker.bmp", value.c_str());
    EXPECT_TRUE(FramedRed(Item(run, 0))) << "without a picture the first entry is selected";
    CloseProgram(run);
}

// The screen saver's window once it shows (at most 10 s), or null.
HWND WaitForScreenSaver(ZentrikRun& run) {
    HWND saver = nullptr;
    for (int i = 0; i < 200 && !saver; ++i) {
        run.Pump(50);
        saver = ::FindWindowA("QelPixwander", nullptr);
    }
    return saver;
}

TEST_F(Sharing, ScreenSaverGetsCopiesAndShowsThemUntilAClick) {
    AlbumFolder folder("saver");
    const std::string picture = folder.Write("qel_saver_probe.bmp", SolidBmp(88, 66, RGB(220, 30, 30)), 10);
    qeltest::TempDir saverFolder;
    ZentrikRun run;
    run.AddFile(QEL_PIXWANDER, "Pixwander.scr");
    std::ofstream(run.Folder() + "qelscr.ini", std::ios::binary)
        << "[File_Path]\r\nFolder_Path=" << saverFolder.Path() << "\r\n";
    ASSERT_NO_FATAL_FAILURE(StartOnAlbum(run, folder, 1));
    HWND dialog = run.Dialog();

    Post(dialog, kScreenSaver);
    HWND saver = WaitForScreenSaver(run);
    ASSERT_TRUE(saver) << "the screen saver did not start";
    EXPECT_EQ(ReadFile(picture), ReadFile(saverFolder.File("qel_saver_probe.bmp")));
    run.Pump(1000);
    const int cx = ::GetSystemMetrics(SM_CXSCREEN), cy = ::GetSystemMetrics(SM_CYSCREEN);
    EXPECT_EQ(RGB(220, 30, 30), ScreenPixel(cx / 2, cy / 2)) << "the picture is not shown";
    std::printf("screenshot: %s\n", SaveScreenshot(RECT{0, 0, cx, cy}, "pixwander_show").c_str());
    EXPECT_FALSE(Responds(dialog, 500)) << "the program answers while the screen saver runs";

    ::PostMessageA(saver, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(cx / 2, cy / 2));
    for (int i = 0; i < 100 && ::IsWindow(saver); ++i)
        run.Pump(50);
    EXPECT_FALSE(::IsWindow(saver)) << "a click did not end the screen saver";
    EXPECT_TRUE(Responds(dialog, 5000)) << "the program does not answer after the screen saver";

    // Without its settings file nothing is copied (not into a drive root either), and it still starts.
    ::DeleteFileA((run.Folder() + "qelscr.ini").c_str());
    ::DeleteFileA(saverFolder.File("qel_saver_probe.bmp").c_str());
    Post(dialog, kScreenSaver);
    saver = WaitForScreenSaver(run);
    ASSERT_TRUE(saver) << "the screen saver did not start without its settings";
    EXPECT_FALSE(Exists("C:\\qel_saver_probe.bmp"));
    EXPECT_FALSE(Exists("Z:\\qel_saver_probe.bmp"));
    ::PostMessageA(saver, WM_KEYDOWN, VK_SPACE, 0);
    for (int i = 0; i < 100 && ::IsWindow(saver); ++i)
        run.Pump(50);
    EXPECT_FALSE(::IsWindow(saver)) << "a key did not end the screen saver";
    EXPECT_TRUE(Responds(dialog, 5000));
    CloseProgram(run);
}

TEST_F(Sharing, TrashAsksDeletesAndRearrangesTheStripInCaptureMode) {
    AlbumFolder folder("trash");
    std::vector<std::string> paths; // newest first, as the strip lists them
    for (int i = 8; i >= 0; --i)
        paths.push_back(folder.Write(("p" + std::to_string(i) + ".bmp").c_str(), SolidBmp(88, 66, RGB(20 * i, 100, 0)),
                                     i));
    ZentrikRun run;
    ASSERT_NO_FATAL_FAILURE(StartOnAlbum(run, folder, 9));
    HWND dialog = run.Dialog();
    HWND slider = run.Control(kAlbumSlider);

    // No leaves everything, for one file and for three.
    Select(run, 0);
    run.ExpectBox("Warning!", "Sure you want to delete the file?", IDNO);
    Post(dialog, kTrash);
    run.WaitForExpectedBoxes(5000);
    EXPECT_TRUE(run.MissingBoxes().empty());
    Select(run, 2, MK_SHIFT);
    run.ExpectBox("Warning!", "Sure you want to delete these files?", IDNO);
    Post(dialog, kTrash);
    run.WaitForExpectedBoxes(5000);
    EXPECT_TRUE(run.MissingBoxes().empty());
    run.Pump(500);
    for (int i = 0; i < 9; ++i) {
        EXPECT_TRUE(Exists(paths[i])) << i;
        EXPECT_TRUE(Item(run, i)) << i;
    }

    // Yes deletes the three and their entries; the next entry is selected; six stay, slider 0..1.
    run.ExpectBox("Warning!", "Sure you want to delete these files?", IDYES);
    Post(dialog, kTrash);
    run.WaitForExpectedBoxes(5000);
    run.Pump(800);
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(Exists(paths[i])) << i;
        EXPECT_FALSE(Item(run, i)) << i;
    }
    ASSERT_TRUE(Item(run, 3));
    EXPECT_EQ(0, RectInParent(Item(run, 3)).top) << "the rest moved up";
    EXPECT_TRUE(FramedRed(Item(run, 3)));
    EXPECT_TRUE(::IsWindowVisible(slider));
    EXPECT_EQ(1, ::SendMessageA(slider, TBM_GETRANGEMAX, 0, 0));
    EXPECT_TRUE(::IsWindowVisible(run.Control(kUp)));
    EXPECT_TRUE(::IsWindowVisible(run.Control(kDown)));

    // The last entry: the strip goes back to the top and the first entry is selected; five stay,
    // which the strip shows without slider and steps.
    Select(run, 8);
    run.ExpectBox("Warning!", "Sure you want to delete the file?", IDYES);
    Post(dialog, kTrash);
    run.WaitForExpectedBoxes(5000);
    run.Pump(800);
    EXPECT_FALSE(Exists(paths[8]));
    EXPECT_FALSE(Item(run, 8));
    EXPECT_EQ(0, RectInParent(Item(run, 3)).top);
    EXPECT_TRUE(FramedRed(Item(run, 3)));
    EXPECT_FALSE(::IsWindowVisible(slider));
    EXPECT_FALSE(::IsWindowVisible(run.Control(kUp)));
    EXPECT_FALSE(::IsWindowVisible(run.Control(kDown)));

    // Everything: the album is empty and the commands on a selection show their disabled look.
    const std::string emailStrip = run.Folder() + "skin\\default\\Zentrik\\buttons\\email.png";
    EXPECT_EQ(0, ShownStripFrame(run.Control(kEmail), emailStrip, 4)) << "E-mail enabled with entries";
    Select(run, 3);
    Select(run, 7, MK_SHIFT);
    run.ExpectBox("Warning!", "Sure you want to delete these files?", IDYES);
    Post(dialog, kTrash);
    run.WaitForExpectedBoxes(5000);
    run.Pump(800);
    for (int i = 3; i < 8; ++i) {
        EXPECT_FALSE(Exists(paths[i])) << i;
        EXPECT_FALSE(Item(run, i)) << i;
    }
    EXPECT_NE(0, ShownStripFrame(run.Control(kEmail), emailStrip, 4)) << "E-mail still enabled";
    EXPECT_FALSE(::IsWindowVisible(slider));
    CloseProgram(run);
}

TEST_F(Sharing, TrashInPlaybackModeLetsTheViewerGoShowsTheNextAndEmptyReturnsToCaptureMode) {
    constexpr int kSwitch = 1010, kRecord = 1061, kPixelSize = 1022;
    AlbumFolder folder("trash_playback");
    // Newest first: the shown picture (160x120), then one of another size the viewer moves on to.
    const std::vector<std::string> paths = {folder.Write("shown.bmp", SolidBmp(160, 120, RGB(0, 200, 0)), 20),
                                            folder.Write("next.bmp", SolidBmp(100, 80, RGB(0, 0, 200)), 10)};
    ZentrikRun run;
    ASSERT_NO_FATAL_FAILURE(StartOnAlbum(run, folder, 2));
    HWND dialog = run.Dialog();
    Select(run, 0);
    ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(kSwitch, BN_CLICKED), 0);
    run.Pump(500);
    ASSERT_FALSE(::IsWindowVisible(run.Control(kRecord))) << "not in playback mode";
    ASSERT_EQ("160X120", TextOf(run.Control(kPixelSize)));

    // The viewer holds the shown file: it lets it go, so the file is really deleted, and shows the next.
    run.ExpectBox("Warning!", "Sure you want to delete the file?", IDYES);
    Post(dialog, kTrash);
    run.WaitForExpectedBoxes(5000);
    run.Pump(800);
    EXPECT_FALSE(Exists(paths[0])) << "the shown file is still on disk";
    EXPECT_FALSE(Item(run, 0));
    EXPECT_FALSE(::IsWindowVisible(run.Control(kRecord))) << "one entry left: playback mode stays";
    EXPECT_EQ("100X80", TextOf(run.Control(kPixelSize))) << "the next entry is shown";

    // The last one: back to capture mode with Up and Down hidden.
    run.ExpectBox("Warning!", "Sure you want to delete the file?", IDYES);
    Post(dialog, kTrash);
    run.WaitForExpectedBoxes(5000);
    run.Pump(800);
    EXPECT_FALSE(Exists(paths[1]));
    EXPECT_TRUE(::IsWindowVisible(run.Control(kRecord))) << "an empty album returns to capture mode";
    EXPECT_FALSE(::IsWindowVisible(run.Control(kUp)));
    EXPECT_FALSE(::IsWindowVisible(run.Control(kDown)));
    CloseProgram(run);
}

TEST_F(Sharing, MinimiseLeavesTheFrameIconicUntilRestored) {
    auto run = StartQuietly();
    ASSERT_TRUE(run->Dialog());
    Post(run->Dialog(), kMinimize);
    run->Pump(1000);
    EXPECT_TRUE(::IsIconic(run->Frame()));
    // Restored, the frame brings its dialog back with it.
    ::ShowWindow(run->Frame(), SW_RESTORE);
    run->Pump(1000);
    EXPECT_FALSE(::IsIconic(run->Frame()));
    EXPECT_FALSE(::IsIconic(run->Dialog()));
    CloseProgram(*run);
}

// The size of the skin's background picture of a size mode.
SIZE BackgroundSize(const ZentrikRun& run, int mode) {
    char file[MAX_PATH] = {};
    ::GetPrivateProfileStringA("Zentrik", mode ? "mode320x240" : "mode480x360", "", file, MAX_PATH,
                               run.SkinIni().c_str());
    const std::string path = run.Folder() + "skin\\default\\" + file;
    const std::wstring wide(path.begin(), path.end());
    Gdiplus::Bitmap background(wide.c_str());
    return SIZE{static_cast<LONG>(background.GetWidth()), static_cast<LONG>(background.GetHeight())};
}

// The layout of a size mode: the toggle buttons, the strip's place and rows, the slider, the frame.
void ExpectLayout(const ZentrikRun& run, int mode) {
    const int rows = mode ? 3 : 5;
    EXPECT_EQ(mode == 0, ::IsWindowVisible(run.Control(kLargeToggle)) != FALSE);
    EXPECT_EQ(mode == 1, ::IsWindowVisible(run.Control(kSmallToggle)) != FALSE);
    const RECT emailRect = run.ControlRect(kEmail);
    const RECT emailSkin = SkinRect(run.SkinIni(), "EMail", mode);
    EXPECT_TRUE(::EqualRect(&emailRect, &emailSkin)) << "E-mail is not at rect" << mode;
    HWND strip = ::GetParent(Item(run, 0));
    const RECT stripRect = RectInParent(strip);
    const RECT stripSkin = SkinRect(run.SkinIni(), "DisplayArea", mode);
    EXPECT_TRUE(::EqualRect(&stripRect, &stripSkin)) << "the strip is not at DisplayArea rect" << mode;
    EXPECT_LE(RectInParent(Item(run, rows - 1)).bottom, stripRect.bottom - stripRect.top) << rows << " rows";
    EXPECT_GT(RectInParent(Item(run, rows)).bottom, stripRect.bottom - stripRect.top) << "row " << rows + 1;
    HWND slider = run.Control(kAlbumSlider);
    EXPECT_TRUE(::IsWindowVisible(slider));
    EXPECT_EQ(6 - rows, ::SendMessageA(slider, TBM_GETRANGEMAX, 0, 0));
    // The lower step button at the slider's foot in this mode, not where the other mode had it.
    const RECT sliderSkin = SkinRect(run.SkinIni(), "DispSlider", mode);
    const RECT stepDown = RectInParent(::GetDlgItem(slider, 2));
    EXPECT_EQ(mode ? 220 : 340, stepDown.top);
    EXPECT_LE(stepDown.bottom, sliderSkin.bottom - sliderSkin.top);
    const SIZE background = BackgroundSize(run, mode);
    const RECT frame = ScreenRectOf(run.Frame());
    EXPECT_EQ(background.cx, frame.right - frame.left);
    EXPECT_EQ(background.cy, frame.bottom - frame.top);
    HRGN outline = ::CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(ERROR, ::GetWindowRgn(run.Frame(), outline)) << "the frame has no outline";
    RECT box = {};
    ::GetRgnBox(outline, &box);
    ::DeleteObject(outline);
    EXPECT_LE(box.right, background.cx);
    EXPECT_LE(box.bottom, background.cy);
    EXPECT_GT(box.right, background.cx / 2) << "the outline is not the background's";
}

TEST_F(Sharing, SizeToggleSwitchesLayoutAndIsKeptAtClose) {
    ScopedGdiplus gdiplus;
    AlbumFolder folder("sizes");
    for (int i = 0; i < 6; ++i)
        folder.Write(("s" + std::to_string(i) + ".bmp").c_str(), SolidBmp(88, 66, RGB(0, 40 * i, 200)), i);
    // From the large mode with the visible button 1020, and back from the small one with 1057.
    const struct {
        int from;
        int button;
        const char* shot;
    } toggles[] = {{0, kLargeToggle, "zentrik_toggled_small"}, {1, kSmallToggle, "zentrik_toggled_large"}};
    for (const auto& toggle : toggles) {
        const int to = 1 - toggle.from;
        ZentrikRun run;
        run.SetIniValue("Basic", "dialogsize", std::to_string(toggle.from).c_str());
        ASSERT_NO_FATAL_FAILURE(StartOnAlbum(run, folder, 6));
        Post(run.Dialog(), toggle.button);
        run.Pump(1500);
        ExpectLayout(run, to);
        std::printf("screenshot: %s\n", SaveScreenshot(ScreenRectOf(run.Frame()), toggle.shot).c_str());
        CloseProgram(run);
        EXPECT_EQ(std::to_string(to), run.IniValue("Basic", "dialogsize"));
    }
}

TEST_F(Sharing, AboutShowsTheAboutBox) {
    auto run = StartQuietly();
    run->ExpectBox("About Tavorin", "");
    ::PostMessageA(run->Dialog(), WM_COMMAND, MAKEWPARAM(kAbout, 0), 0);
    run->WaitForExpectedBoxes(5000);
    EXPECT_TRUE(run->MissingBoxes().empty()) << "no about box";
    EXPECT_TRUE(Responds(run->Dialog(), 5000));
    CloseProgram(*run);
}

TEST_F(Sharing, HelpStartsTheRegisteredViewerWithShortPathsOnlyWhenTheFileIsThere) {
    const std::string viewer = WindowsPath(QEL_HELP_VIEWER);
    ScopedHelpViewer association(viewer);
    qeltest::TempDir logDir;
    const std::string log = logDir.File("help.log");
    ScopedEnv logEnv("QEL_HELP_VIEWER_LOG", log);
    auto run = StartQuietly();
    const std::string helpFile = run->Folder() + "HtmlHelp\\Tavorin.chm";
    ::CreateDirectoryA((run->Folder() + "HtmlHelp").c_str(), nullptr);
    std::ofstream(helpFile, std::ios::binary) << "help";

    ::PostMessageA(run->Dialog(), WM_COMMAND, MAKEWPARAM(kHelp, 0), 0);
    for (int i = 0; i < 100 && ReadLines(log).empty(); ++i)
        run->Pump(50);
    char shortViewer[MAX_PATH] = {}, shortHelp[MAX_PATH] = {};
    ::GetShortPathNameA(viewer.c_str(), shortViewer, MAX_PATH);
    ::GetShortPathNameA(helpFile.c_str(), shortHelp, MAX_PATH);
    const std::vector<std::string> started = ReadLines(log);
    ASSERT_EQ(1u, started.size()) << "the help viewer did not start";
    EXPECT_STRCASEEQ((std::string(shortViewer) + " " + shortHelp).c_str(), started[0].c_str());

    ::DeleteFileA(helpFile.c_str());
    ::PostMessageA(run->Dialog(), WM_COMMAND, MAKEWPARAM(kHelp, 0), 0);
    run->Pump(1500);
    EXPECT_EQ(1u, ReadLines(log).size()) << "a viewer started without the help file";
    EXPECT_TRUE(run->Boxes().empty());
    CloseProgram(*run);
}

} // namespace
} // namespace programtest
