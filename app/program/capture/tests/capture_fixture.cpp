#include "capture_fixture.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "program_windows.h"
#include "riff_reader.h"
#include "screen_probe.h"
#include "test_frame_pattern.h"

namespace programtest {

void Click(HWND dialog, int id) {
    ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
}

void SendKey(const ZentrikRun& run, WPARAM key, LPARAM value) {
    ::PostMessageA(run.Frame(), ::RegisterWindowMessageA("QEL_ZENTRIK_MESSAGE"), key, value);
}

std::string Text(HWND window) {
    char text[256] = {};
    ::GetWindowTextA(window, text, sizeof text);
    return text;
}

bool FileExists(const std::string& path) {
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::string> FilesIn(const std::string& folder, const char* pattern) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA((folder + "\\" + pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do
        names.push_back(found.cFileName);
    while (::FindNextFileA(search, &found));
    ::FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

void ExpectCameraFramesInOrder(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    const rifftest::AviSummary avi = rifftest::ReadAviFile(std::wstring(path.begin(), path.end()), &bytes);
    ASSERT_TRUE(avi.riffAvi);
    EXPECT_TRUE(avi.complete);
    EXPECT_TRUE(avi.hasIndex);
    ASSERT_GT(avi.storedFrames, 1u);
    const size_t stride = static_cast<size_t>(qelcam::Rgb24Stride(avi.width));
    uint32_t previous = 0;
    for (size_t i = 0; i < avi.frameOffsets.size(); ++i) {
        uint32_t number = 0;
        ASSERT_LE(avi.frameOffsets[i] + stride * static_cast<size_t>(std::abs(avi.height)), bytes.size());
        ASSERT_TRUE(qelcam::ReadFrameNumber(&bytes[avi.frameOffsets[i]], avi.width, avi.height,
                                            static_cast<ptrdiff_t>(stride), &number))
            << "stored frame " << i;
        if (i > 0) {
            EXPECT_GT(number, previous) << "stored frame " << i;
        }
        previous = number;
    }
}

int ButtonFrame(const ZentrikRun& run, int id, const char* strip) {
    return ShownStripFrame(run.Control(id), run.Folder() + "skin\\default\\Zentrik\\buttons\\" + strip, 4);
}

bool WaitForBoxLeftUnanswered(const ZentrikRun& run, DWORD ms) {
    const DWORD end = ::GetTickCount() + ms;
    while (VisibleTopLevelWindows(run.ProcessId(), "#32770").empty()) {
        if (static_cast<LONG>(end - ::GetTickCount()) <= 0)
            return false;
        ::Sleep(20);
    }
    return true;
}

void ExpectLivePicture(ZentrikRun& run, const RECT& preview) {
    uint32_t first = 0, later = 0;
    EXPECT_TRUE(WaitForFrameNumber(run, preview, &first, 5000)) << "no camera picture in the preview area";
    run.Pump(1000);
    EXPECT_TRUE(ReadPreviewFrameNumber(preview, &later));
    EXPECT_GT(later, first) << "the picture is not live";
}

POINT CentreOf(HWND window) {
    const RECT r = ScreenRectOf(window);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

} // namespace programtest
