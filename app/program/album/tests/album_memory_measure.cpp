// Measuring program (not a test of the suite): the real program's memory with an empty album and with
// an album of 800 pictures of 640 x 480 once every thumbnail is made. Run it by hand:
//   scripts/wine-session wine build/win/tests/album_memory_measure.exe
// ZENTRIK_EXE (a Unix path) measures another build of the program in the same way. The figures are
// printed; what is checked is only that the album filled.
#include <gtest/gtest.h>

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "album_folder.h"
#include "album_items.h"
#include "program_fixture.h"
#include "program_windows.h"
#include "qeltest/watchdog.h"

namespace programtest {
namespace {

constexpr int kPictures = 800, kAlbumSlider = 1085, kClose = 1021;

// A 640 x 480 JPEG with the detail of a photo (gradients and a fine pattern), about 20-40 KB.
std::string PhotoLikeJpeg() {
    Gdiplus::Bitmap bitmap(640, 480, PixelFormat24bppRGB);
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x)
            bitmap.SetPixel(x, y, Gdiplus::Color(static_cast<BYTE>(x * 255 / 639), static_cast<BYTE>(y * 255 / 479),
                                                 static_cast<BYTE>((x * 7 + y * 13) % 256)));
    CLSID jpeg = {};
    UINT count = 0, bytes = 0;
    Gdiplus::GetImageEncodersSize(&count, &bytes);
    std::vector<BYTE> buffer(bytes);
    auto* encoders = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    Gdiplus::GetImageEncoders(count, bytes, encoders);
    for (UINT i = 0; i < count; ++i)
        if (std::wstring(encoders[i].MimeType) == L"image/jpeg")
            jpeg = encoders[i].Clsid;
    IStream* stream = nullptr;
    ::CreateStreamOnHGlobal(nullptr, TRUE, &stream);
    std::string data;
    if (stream && bitmap.Save(stream, &jpeg, nullptr) == Gdiplus::Ok) {
        HGLOBAL block = nullptr;
        ::GetHGlobalFromStream(stream, &block);
        STATSTG stat = {};
        stream->Stat(&stat, STATFLAG_NONAME);
        const char* bytesIn = static_cast<const char*>(::GlobalLock(block));
        data.assign(bytesIn, static_cast<size_t>(stat.cbSize.QuadPart));
        ::GlobalUnlock(block);
    }
    if (stream)
        stream->Release();
    return data;
}

struct Memory {
    double pagefileMb = 0;
    double workingSetMb = 0;
};

Memory MemoryOf(DWORD pid) {
    Memory memory;
    HANDLE process = ::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof counters;
    if (process && ::GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters)) {
        memory.pagefileMb = static_cast<double>(counters.PagefileUsage) / (1024.0 * 1024.0);
        memory.workingSetMb = static_cast<double>(counters.WorkingSetSize) / (1024.0 * 1024.0);
    }
    if (process)
        ::CloseHandle(process);
    return memory;
}

class AlbumMemory : public ProgramTest {
protected:
    // The program on folder once count items are in and the scan has ended; its memory then.
    Memory Measure(const AlbumFolder& folder, int count) {
        ZentrikRun run;
        if (const char* other = std::getenv("ZENTRIK_EXE"))
            run.AddFile(other, "Zentrik.exe");
        run.SetIniValue("Basic", "Image Folder", folder.Dir().c_str());
        EXPECT_TRUE(run.Start());
        EXPECT_TRUE(run.WaitForMainWindow(30000));
        HWND slider = run.Control(kAlbumSlider);
        const DWORD start = ::GetTickCount();
        if (count > 0) {
            // The scan hands over about six records a second.
            while ((!FindItem(run.Dialog(), 8000 + count - 1) || !::IsWindowVisible(slider)) &&
                   ::GetTickCount() - start < 400000)
                run.Pump(500);
            EXPECT_TRUE(FindItem(run.Dialog(), 8000 + count - 1)) << "the album did not fill";
        }
        run.Pump(10000); // the last thumbnails are made
        const Memory memory = MemoryOf(run.ProcessId());
        std::printf("%d pictures: private %.1f MB, working set %.1f MB (album filled in %.0f s)\n", count,
                    memory.pagefileMb, memory.workingSetMb, (::GetTickCount() - start) / 1000.0);
        std::fflush(stdout);
        ::PostMessageA(run.Dialog(), WM_COMMAND, MAKEWPARAM(kClose, BN_CLICKED), 0);
        EXPECT_EQ(0u, run.WaitForExit(30000));
        return memory;
    }
};

TEST_F(AlbumMemory, EightHundredPicturesOf640x480) {
    qeltest::Watchdog::ExtendCurrentTest(900);
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartupInput input;
    ASSERT_EQ(Gdiplus::Ok, Gdiplus::GdiplusStartup(&token, &input, nullptr));
    const std::string jpeg = PhotoLikeJpeg();
    Gdiplus::GdiplusShutdown(token);
    ASSERT_FALSE(jpeg.empty());
    AddCamera();
    AddMicrophone();
    AlbumFolder empty("memory_empty");
    AlbumFolder full("memory_full");
    for (int i = 0; i < kPictures; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "p%03d.jpg", i);
        full.Write(name, jpeg, i);
    }
    std::printf("one picture: %zu bytes, %d of them\n", jpeg.size(), kPictures);
    const Memory before = Measure(empty, 0);
    const Memory after = Measure(full, kPictures);
    std::printf("the album's share: private %.1f MB, working set %.1f MB\n", after.pagefileMb - before.pagefileMb,
                after.workingSetMb - before.workingSetMb);
}

} // namespace
} // namespace programtest
