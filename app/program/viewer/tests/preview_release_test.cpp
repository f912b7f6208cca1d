// The viewer lets go of the file it shows when told to show nothing, as Trash and Save as need on a
// system that refuses to delete or replace an open file: afterwards the file opens exclusively.
// The viewer runs in the test's own process; its still comes from the thumbnail maker's threads, which
// make the reader by its class, registered for the test.
#include <gtest/gtest.h>

#include <objidl.h>
#include <gdiplus.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include <Fluvant.h>
#include <QelReader.h>

#include "PreviewWnd.h"
#include "album_folder.h"
#include "avi_clip.h"
#include "plugin_testkit.h"
#include "qeltest/com_test.h"
#include "qeltest/pump.h"
#include "qeltest/temp_dir.h"

namespace {

void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// 0 when the file opens with no sharing at all (no other handle is open on it), else the error.
DWORD ExclusiveOpenError(const std::string& path) {
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return ::GetLastError();
    ::CloseHandle(file);
    return 0;
}

class PreviewReleaseTest : public qeltest::ComTest {
protected:
    void SetUp() override {
        qeltest::ComTest::SetUp();
        Gdiplus::GdiplusStartupInput input;
        ASSERT_EQ(Gdiplus::Ok, Gdiplus::GdiplusStartup(&gdiplus_, &input, nullptr));
        // The reader, registered as the installer registers it.
        ASSERT_TRUE(reader_.Loaded()) << "the reader module is not built";
        ASSERT_EQ(S_OK, reader_.Register());
        ASSERT_TRUE(parent_.CreateEx(0, nullptr, "viewer host", WS_POPUP | WS_VISIBLE, 0, 0, 500, 400, nullptr, nullptr))
            << "error " << ::GetLastError();
        ASSERT_TRUE(viewer_.Create(&parent_, 0)) << "error " << ::GetLastError();
        viewer_.ShowWindow(SW_SHOW);
    }

    void TearDown() override {
        if (viewer_.m_hWnd)
            viewer_.DestroyWindow();
        if (parent_.m_hWnd)
            parent_.DestroyWindow();
        reader_.Unregister();
        if (gdiplus_)
            Gdiplus::GdiplusShutdown(gdiplus_);
        qeltest::ComTest::TearDown();
        // The reader's module stays loaded: COM may still hold on to its factory until the end.
    }

    std::string Clip() {
        const std::string path = folder_.File("shown.avi");
        WriteFile(path, qelmedia::BuildAviClip(qelmedia::AviClipFormat()));
        return path;
    }

    // The still comes from the thumbnail maker's thread: the clip's 64-pixel-wide first frame in place
    // of the placeholder. A hang guard, not a speed check.
    bool StillArrives() {
        const DWORD started = ::GetTickCount();
        const bool arrived = qeltest::PumpUntil(
            [this] {
                int width = 0, height = 0;
                viewer_.GetImageSize(&width, &height);
                return width == 64;
            },
            10000);
        std::printf("the clip's still came after %lu ms\n", static_cast<unsigned long>(::GetTickCount() - started));
        return arrived;
    }

    qeltest::TempDir folder_;
    CWnd parent_;
    CPreviewWnd viewer_;
    ULONG_PTR gdiplus_ = 0;
    plugintest::PluginModule reader_{L"QelReader"};
};

TEST_F(PreviewReleaseTest, AShownClipIsLetGoOfWhenNothingIsShown) {
    const std::string clip = Clip();
    ASSERT_EQ(CPreviewWnd::kShownClip, viewer_.ShowFile(clip.c_str()));
    ASSERT_TRUE(StillArrives()) << "the reader did not give the clip's first frame within the hang guard";
    if (ExclusiveOpenError(clip) != ERROR_SHARING_VIOLATION)
        GTEST_SKIP() << "this system lets a file open exclusively beside the reader's own handle, so no "
                        "left-over handle could be seen";
    EXPECT_EQ(CPreviewWnd::kShownNothing, viewer_.ShowFile(nullptr));
    EXPECT_EQ(0u, ExclusiveOpenError(clip)) << "a handle on the clip is left open";
    int width = 0, height = 0;
    viewer_.GetImageSize(&width, &height);
    EXPECT_EQ(0, width) << "the clip's frame is still shown";
}

TEST_F(PreviewReleaseTest, APlayingClipIsStoppedAndLetGoOfWhenNothingIsShown) {
    const std::string clip = Clip();
    ASSERT_EQ(CPreviewWnd::kShownClip, viewer_.ShowFile(clip.c_str()));
    ASSERT_TRUE(StillArrives()) << "the reader did not give the clip's first frame within the hang guard";
    viewer_.Play();
    qeltest::PumpMessagesFor(500);
    ASSERT_TRUE(viewer_.IsPlaying());
    EXPECT_EQ(CPreviewWnd::kShownNothing, viewer_.ShowFile(""));
    EXPECT_FALSE(viewer_.IsPlaying());
    // The playback's graph goes down behind the window (at once on an idle machine); the library says
    // so while it does.
    const DWORD stopped = ::GetTickCount();
    DWORD open = ExclusiveOpenError(clip);
    const bool saidGoingDown = open != 0 && lpFileHeld(clip.c_str()) == lpHeldWhileGoingDown;
    EXPECT_TRUE(open == 0 || saidGoingDown) << "the clip is held, and the library does not say why";
    EXPECT_TRUE(qeltest::PumpUntil([&] { return (open = ExclusiveOpenError(clip)) == 0; }, 10000))
        << "a handle on the clip is left open";
    std::printf("figure: the clip was let go of %lu ms after the viewer showed nothing\n",
                static_cast<unsigned long>(::GetTickCount() - stopped));
    EXPECT_EQ(lpNotHeld, lpFileHeld(clip.c_str()));
}

TEST_F(PreviewReleaseTest, AShownPictureIsLetGoOfWhenNothingIsShown) {
    const std::string picture = folder_.File("shown.bmp");
    const std::string bytes = SolidBmp(40, 30, RGB(10, 200, 30));
    WriteFile(picture, std::vector<uint8_t>(bytes.begin(), bytes.end()));
    ASSERT_EQ(CPreviewWnd::kShownPicture, viewer_.ShowFile(picture.c_str()));
    EXPECT_EQ(CPreviewWnd::kShownNothing, viewer_.ShowFile(nullptr));
    EXPECT_EQ(0u, ExclusiveOpenError(picture)) << "a handle on the picture is left open";
}

} // namespace
