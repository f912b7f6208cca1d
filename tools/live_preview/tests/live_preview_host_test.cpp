// live_preview.exe, the engine's host built from the engine's public folder alone, shows a camera's
// live picture: started as its own process on a synthetic camera, it must end well and the screen
// picture it saves must carry the camera's frame numbers.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "plugin_testkit.h"
#include "qeltest/com_test.h"
#include "qeltest/temp_dir.h"
#include "test_camera.h"
#include "test_frame_pattern.h"

namespace {

constexpr wchar_t kCameraName[] = L"Qel Host Camera";
constexpr DWORD kHostLimitMs = 60000;

std::string WindowsPath(std::string path) {
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return "Z:" + path;
}

// A 24-bit bottom-up BMP file's pixels; false when the file is not one.
bool ReadBmp(const std::string& path, std::vector<uint8_t>* pixels, int* width, int* height) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    BITMAPFILEHEADER header = {};
    BITMAPINFOHEADER info = {};
    bool ok = std::fread(&header, sizeof header, 1, file) == 1 &&
              std::fread(&info, sizeof info, 1, file) == 1 && header.bfType == 0x4D42 &&
              info.biBitCount == 24 && info.biWidth > 0 && info.biHeight > 0;
    if (ok) {
        *width = info.biWidth;
        *height = info.biHeight;
        pixels->resize(static_cast<size_t>(qelcam::Rgb24Stride(*width)) * *height);
        ok = std::fseek(file, static_cast<long>(header.bfOffBits), SEEK_SET) == 0 &&
             std::fread(pixels->data(), pixels->size(), 1, file) == 1;
    }
    std::fclose(file);
    return ok;
}

// Runs the host to its end within the limit; its exit code, or -1 when it had to be ended.
DWORD RunHost(const std::string& arguments, const std::string& folder) {
    std::string command = "\"" + WindowsPath(QEL_LIVE_PREVIEW_EXE) + "\" " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                        &process)) {
        ADD_FAILURE() << "live_preview.exe did not start: error " << GetLastError();
        return static_cast<DWORD>(-1);
    }
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(process.hProcess, kHostLimitMs) == WAIT_OBJECT_0) {
        GetExitCodeProcess(process.hProcess, &code);
    } else {
        ADD_FAILURE() << "live_preview.exe did not end within " << kHostLimitMs << " ms";
        TerminateProcess(process.hProcess, 3);
        WaitForSingleObject(process.hProcess, 5000);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

class LivePreviewHostTest : public qeltest::ComTest {
protected:
    void SetUp() override {
        qeltest::ComTest::SetUp();
        if (HasFatalFailure())
            return;
        if (!qelcam::CameraModule())
            GTEST_SKIP() << "the synthetic camera module " << qelcam::kCameraModuleFile
                         << " cannot be loaded";
        ASSERT_TRUE(SUCCEEDED(qelcam::UnregisterAllTestCameras()));
        // Every preview splices these plug-ins; unregistered, the engine would ask about each in a box
        // that nobody answers in the host's process.
        for (const wchar_t* module : {L"QelFilter_Flip", L"QelFilter_Rotate", L"QelFilter_DigitalZoom"}) {
            auto plugin = std::make_unique<plugintest::PluginModule>(module);
            ASSERT_TRUE(plugin->Loaded()) << "plug-in module not built";
            ASSERT_EQ(S_OK, plugin->Register());
            plugins_.push_back(std::move(plugin));
        }
        camera_ = std::make_unique<qelcam::ScopedTestCamera>(kCameraName);
        ASSERT_EQ(S_OK, camera_->Result());
    }
    void TearDown() override {
        camera_.reset();
        plugins_.clear();
        qeltest::ComTest::TearDown();
    }

    qeltest::TempDir dir_;

private:
    std::vector<std::unique_ptr<plugintest::PluginModule>> plugins_;
    std::unique_ptr<qelcam::ScopedTestCamera> camera_;
};

TEST_F(LivePreviewHostTest, TheHostShowsTheCamerasLivePicture) {
    const std::string shot = dir_.File("preview.bmp");
    ASSERT_EQ(0u,
              RunHost("--camera \"Qel Host Camera\" --seconds 2 --screenshot \"" + shot + "\"", dir_.Path()));

    std::vector<uint8_t> pixels;
    int width = 0, height = 0;
    ASSERT_TRUE(ReadBmp(shot, &pixels, &width, &height)) << "no picture saved at " << shot;
    CreateDirectoryA(WindowsPath(QEL_SHOT_DIR).c_str(), nullptr);
    CopyFileA(shot.c_str(), (WindowsPath(QEL_SHOT_DIR) + "\\live_preview_host.bmp").c_str(), FALSE);
    EXPECT_EQ(640, width);
    EXPECT_EQ(480, height);
    uint32_t frame = 0;
    EXPECT_TRUE(qelcam::ReadFrameNumber(pixels.data(), width, height, qelcam::Rgb24Stride(width), &frame))
        << "the saved picture is not the camera's";
    EXPECT_GT(frame, 0u) << "the picture did not move past the camera's first frame";
}

TEST_F(LivePreviewHostTest, AnUnknownCameraEndsTheHostWithAFailure) {
    EXPECT_EQ(1u, RunHost("--camera \"No Such Camera\" --seconds 0", dir_.Path()));
}

} // namespace
