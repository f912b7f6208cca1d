#include "program_fixture.h"

#include "screen_probe.h"

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "test_frame_pattern.h"

namespace programtest {

void ProgramTest::SetUp() {
    qeltest::ComTest::SetUp();
    if (HasFatalFailure())
        return;
    if (!qelcam::CameraModule())
        GTEST_SKIP() << "the synthetic camera module " << qelcam::kCameraModuleFile << " cannot be loaded";
    ASSERT_TRUE(SUCCEEDED(qelcam::UnregisterAllTestCameras()));
    // The program's COM servers, as its installer registers them.
    for (const wchar_t* module :
         {L"QelFilter_Flip", L"QelFilter_Rotate", L"QelFilter_AutoEnhance", L"QelFilter_AutoTone",
          L"QelFilter_Whiteboard", L"QelFilter_DateTime", L"QelFilter_SpEff", L"QelFilter_DigitalZoom",
          L"QelFilter_LowLight", L"QelFilter_CB", L"QelFilter_PhotoFrame", L"QelReader"}) {
        auto plugin = std::make_unique<plugintest::PluginModule>(module);
        if (!plugin->Loaded())
            GTEST_SKIP() << "a plug-in module of the program is not built";
        ASSERT_EQ(S_OK, plugin->Register());
        plugins_.push_back(std::move(plugin));
    }
    wmfKey = std::make_unique<ScopedWmfKey>(true);
}

void ProgramTest::TearDown() {
    microphone_.reset();
    microphoneSource_.reset();
    camera_.reset();
    wmfKey.reset();
    plugins_.clear();
    qeltest::ComTest::TearDown();
}

void ProgramTest::AddCamera() {
    camera_ = std::make_unique<qelcam::ScopedTestCamera>(kCameraName, cameraVariant);
    ASSERT_EQ(S_OK, camera_->Result());
}

void ProgramTest::AddMicrophone() {
    // The listing is keyed by its name: an earlier stand-in going after the new one registered would
    // take the new one's listing with it, and a later start of the same test would find no microphone.
    microphone_.reset();
    // Unlisted as a camera: the program, with no camera chosen, opens the first one listed, and that
    // must be the test's camera whichever way the two random CLSIDs sort.
    microphoneSource_ = std::make_unique<qelcam::ScopedTestCamera>(std::wstring(kMicrophoneName) + L" Source",
                                                                   qelcam::kWithPreviewPin | qelcam::kUnlisted);
    ASSERT_EQ(S_OK, microphoneSource_->Result());
    microphone_ = std::make_unique<enginetest::ScopedAudioInput>(microphoneSource_->Clsid(), kMicrophoneName);
    ASSERT_EQ(S_OK, microphone_->Result());
}

std::unique_ptr<ZentrikRun> ProgramTest::StartQuietly(const char* sizeMode) {
    return StartPrepared([sizeMode](ZentrikRun& run) {
        if (sizeMode)
            run.SetIniValue("Basic", "dialogsize", sizeMode);
    });
}

std::unique_ptr<ZentrikRun> ProgramTest::StartPrepared(const std::function<void(ZentrikRun&)>& prepare) {
    AddCamera();
    AddMicrophone();
    auto run = std::make_unique<ZentrikRun>();
    prepare(*run);
    EXPECT_TRUE(run->Start());
    EXPECT_TRUE(run->WaitForMainWindow(30000)) << "no main window";
    return run;
}

RECT ProgramTest::PreviewOnScreen(const ZentrikRun& run, int mode) const {
    RECT area = SkinRect(run.SkinIni(), "PreviewArea", mode);
    ::MapWindowPoints(run.Dialog(), nullptr, reinterpret_cast<POINT*>(&area), 2);
    return area;
}

namespace {

// Looks at the screen every 100 ms, pumping the program's boxes between looks, until seen() or ms
// have passed.
bool PumpUntilSeen(ZentrikRun& run, DWORD ms, const std::function<bool()>& seen) {
    const DWORD end = ::GetTickCount() + ms;
    do {
        if (seen())
            return true;
        run.Pump(100);
    } while (static_cast<LONG>(end - ::GetTickCount()) > 0);
    return false;
}

} // namespace

bool ReadPreviewFrameNumber(const RECT& area, uint32_t* frame) { return ReadFrameNumberOnScreen(area, frame); }

bool PictureFillsArea(const RECT& area, std::string* why) {
    uint32_t frame = 0;
    if (!ReadFrameNumberOnScreen(area, &frame)) {
        *why = "no frame band across the whole width of the area";
        return false;
    }
    const ScreenPixels pixels = GrabScreen(area);
    const ptrdiff_t stride = qelcam::Rgb24Stride(pixels.width);
    // Below the band (a thirtieth of the height) down to the last row; columns spread over the width.
    const int firstRow = pixels.height / 15, lastRow = pixels.height - 1;
    constexpr int kSteps = 24;
    int columnsRead = 0;
    for (int i = 1; i <= 7; ++i) {
        const int x = pixels.width * i / 8;
        std::vector<int> rows, greens;
        bool bar = false;
        for (int k = 0; k <= kSteps; ++k) {
            const int y = firstRow + (lastRow - firstRow) * k / kSteps;
            rows.push_back(y);
            const uint8_t* p = &pixels.bytes[static_cast<size_t>(y * stride + x * 3)];
            if (p[0] >= 250 && p[1] >= 250 && p[2] >= 250) // the sweeping white bar: no gradient here
                bar = true;
            greens.push_back(p[1]);
        }
        if (bar)
            continue;
        ++columnsRead;
        char seen[160];
        for (size_t k = 1; k < greens.size(); ++k)
            if (greens[k] + 12 < greens[k - 1]) {
                std::snprintf(seen, sizeof seen, "column %d: the gradient steps back from %d to %d at row %d of %d", x,
                              greens[k - 1], greens[k], rows[k], pixels.height);
                *why = seen;
                return false;
            }
        if (greens.back() < 128) {
            std::snprintf(seen, sizeof seen, "column %d: the bottom row shows green %d, not the picture's bottom", x,
                          greens.back());
            *why = seen;
            return false;
        }
    }
    if (columnsRead < 5) {
        *why = "too few columns without the white bar";
        return false;
    }
    return true;
}

bool WaitForPictureFillingArea(ZentrikRun& run, const RECT& area, DWORD ms, std::string* why) {
    return PumpUntilSeen(run, ms, [&] { return PictureFillsArea(area, why); });
}

std::string WindowsOver(const ZentrikRun& run, const RECT& area) {
    struct Seen {
        RECT area;
        std::string text;
    } seen = {area, {}};
    ::EnumChildWindows(
        run.Dialog(),
        [](HWND window, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Seen*>(param);
            RECT r, common;
            ::GetWindowRect(window, &r);
            if (!::IsWindowVisible(window) || !::IntersectRect(&common, &r, &s->area))
                return TRUE;
            char cls[64] = {}, line[160];
            ::GetClassNameA(window, cls, sizeof cls);
            std::snprintf(line, sizeof line, "%s%s (%ld,%ld)-(%ld,%ld)", s->text.empty() ? "" : "; ", cls, r.left,
                          r.top, r.right, r.bottom);
            s->text += line;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&seen));
    return seen.text;
}

bool WaitForFrameNumber(ZentrikRun& run, const RECT& area, uint32_t* frame, DWORD ms) {
    return PumpUntilSeen(run, ms, [&] { return ReadPreviewFrameNumber(area, frame); });
}

} // namespace programtest
