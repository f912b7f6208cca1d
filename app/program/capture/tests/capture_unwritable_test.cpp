// Captures into folders that cannot be written: a drive mounted read-only from the start, folders
// deleted while the program runs, and a full drive. Each kind of capture says once why, names the
// folder, leaves no file and no album item; an interval or motion watch ends with its one message;
// once the folders are writable again, recordings and snapshots work. A folder or a name prefix with a
// wildcard is refused saying so, and never searched for.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "album_folder.h"
#include "album_items.h"
#include "capture_fixture.h"
#include "program_windows.h"
#include "screen_probe.h"
#include "small_disk.h"

namespace programtest {
namespace {

constexpr int kSnapshotMode = 1002, kSingleKind = 1063;

std::string FolderText(const std::string& folder, const char* cause) {
    return "The folder \"" + folder + "\" cannot be written: " + cause;
}

// What the user sees of the program's box, left unanswered until it is on the screen.
void SaveBoxScreenshot(const ZentrikRun& run, const char* name) {
    if (!WaitForBoxLeftUnanswered(run, 10000))
        return; // the missing box is the caller's failure
    ::Sleep(500); // Wine fills the box's text a moment after showing it
    const std::vector<HWND> boxes = VisibleTopLevelWindows(run.ProcessId(), "#32770");
    if (!boxes.empty())
        std::printf("screenshot: %s\n", SaveScreenshot(ScreenRectOf(boxes[0]), name).c_str());
}

class UnwritableCapture : public Capture {
protected:
    // The program with its pictures (as BMP) and its recordings in the folders given (empty: the run's
    // own), an interval
    // of one second, in snapshot mode.
    // prepare: more settings, written before the start.
    std::unique_ptr<ZentrikRun> StartIn(const std::string& pictures, const std::string& videos,
                                        const std::function<void(ZentrikRun&)>& prepare = {}) {
        AddCamera();
        AddMicrophone();
        auto run = std::make_unique<ZentrikRun>();
        run->SetIniValue("MergeSetting", "SaveFileType", "0");
        run->SetIniValue("Format", "Image FileType", "0");
        run->SetIniValue("Mode", "Interval Time", "0:01");
        run->SetIniValue("Mode", "LimitCapture", "0");
        if (!pictures.empty())
            run->SetIniValue("Basic", "Image Folder", pictures.c_str());
        if (!videos.empty())
            run->SetIniValue("Basic", "Video Folder", videos.c_str());
        if (prepare)
            prepare(*run);
        EXPECT_TRUE(run->Start());
        EXPECT_TRUE(run->WaitForMainWindow(30000)) << "no main window";
        if (run->Dialog())
            run->Pump(1000); // the album's scan of the folders ends
        return run;
    }

    // One click of Record in the snapshot kind given (0 single, kInterval, kAuto) that must end in
    // exactly one box saying text: no file in the pictures folder, no album item, the panel idle.
    void ExpectSnapshotRefused(ZentrikRun& run, int kind, const std::string& pictures, const std::string& text) {
        SCOPED_TRACE(kind == 0 ? "single snapshot" : kind == kInterval ? "interval snapshots" : "motion snapshots");
        const size_t boxesBefore = run.Boxes().size();
        if (kind == kAuto) {
            ASSERT_EQ(S_OK, Camera().HoldFrame(100));
            run.Pump(500);
        }
        if (kind != 0)
            Click(run.Dialog(), kind);
        run.ExpectBox("Error", text);
        Click(run.Dialog(), kRecord);
        if (kind == kAuto) {
            run.Pump(1500); // the watch's reference frame
            ASSERT_EQ(S_OK, Camera().HoldFrame(5000));
        }
        run.WaitForExpectedBoxes(10000);
        EXPECT_TRUE(run.MissingBoxes().empty()) << "no box said: " << text;
        // Long enough for three more interval ticks and a dozen motion frames.
        run.Pump(3500);
        if (kind == kAuto)
            Camera().ReleaseHold();
        EXPECT_EQ(boxesBefore + 1, run.Boxes().size()) << "one failure, one box";
        EXPECT_TRUE(::IsWindowVisible(run.Control(kRecord))) << "the watch went on after a failed write";
        EXPECT_EQ(nullptr, FindItem(run.Dialog(), 8000)) << "an item for a picture never written";
        EXPECT_TRUE(FilesIn(pictures, "*.*").size() <= 2u) << "only . and .. (or nothing)";
        if (kind != 0)
            Click(run.Dialog(), kSingleKind);
        run.Pump(300);
    }

    // The box is left up a moment for its screenshot (shot: the file's name).
    void ExpectRecordRefused(ZentrikRun& run, const std::string& videos, const std::string& text,
                             const char* shot) {
        SCOPED_TRACE("record");
        const size_t boxesBefore = run.Boxes().size();
        Click(run.Dialog(), kVideoMode);
        run.Pump(300);
        run.ExpectBox("Error", text);
        Click(run.Dialog(), kRecord);
        SaveBoxScreenshot(run, shot);
        run.WaitForExpectedBoxes(10000);
        EXPECT_TRUE(run.MissingBoxes().empty()) << "no box said: " << text;
        run.Pump(1000);
        EXPECT_EQ(boxesBefore + 1, run.Boxes().size()) << "one failure, one box";
        EXPECT_FALSE(Recording(run));
        EXPECT_EQ(nullptr, FindItem(run.Dialog(), 8000)) << "an item for a recording never made";
        EXPECT_TRUE(FilesIn(videos, "*.*").size() <= 2u) << "only . and .. (or nothing)";
        Click(run.Dialog(), kSnapshotMode);
        run.Pump(300);
    }

    // The folders writable again: a snapshot and (when asked) a recording become items, with their files.
    void ExpectCapturesWorkAgain(ZentrikRun& run, const std::string& pictures, const std::string& videos,
                                 bool record) {
        SCOPED_TRACE("writable again");
        const size_t boxesBefore = run.Boxes().size();
        Click(run.Dialog(), kRecord);
        EXPECT_TRUE(PumpUntil(run, 10000, [&] { return FindItem(run.Dialog(), 8000) != nullptr; }))
            << "the snapshot never reached the album";
        EXPECT_EQ(1u, FilesIn(pictures, "DREM*.BMP").size());
        if (record) {
            Click(run.Dialog(), kVideoMode);
            run.Pump(300);
            Click(run.Dialog(), kRecord);
            ASSERT_TRUE(PumpUntil(run, 10000, [&] { return Recording(run); })) << "no recording within 10 s";
            run.Pump(1500);
            Click(run.Dialog(), kStop);
            EXPECT_TRUE(PumpUntil(run, 10000, [&] { return FindItem(run.Dialog(), 8001) != nullptr; }))
                << "the recording never reached the album";
            EXPECT_EQ(1u, FilesIn(videos, "DREM*.AVI").size());
        }
        EXPECT_EQ(boxesBefore, run.Boxes().size());
    }
};


TEST_F(UnwritableCapture, ADriveReadOnlyFromTheStartRefusesEveryCaptureNamingItsFolder) {
    ScopedSmallDisk disk(160); // a recording wants more than 100 MB free
    if (!disk.Failure().empty())
        GTEST_SKIP() << disk.Failure();
    const std::string pictures = disk.Root() + "pictures", videos = disk.Root() + "videos";
    ASSERT_TRUE(::CreateDirectoryA(pictures.c_str(), nullptr)) << pictures;
    ASSERT_TRUE(::CreateDirectoryA(videos.c_str(), nullptr)) << videos;
    const std::string readOnly = disk.SetReadOnly(true);
    if (!readOnly.empty())
        GTEST_SKIP() << "the small drive cannot be made read-only: " << readOnly;
    {
        const std::string probe = pictures + "\\probe.txt";
        HANDLE file = ::CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        const DWORD error = ::GetLastError();
        ASSERT_EQ(INVALID_HANDLE_VALUE, file) << "a file was created on the read-only drive";
        std::printf("creating a file on the read-only drive: error %lu\n", error);
    }
    auto run = StartIn(pictures, videos);
    ASSERT_TRUE(run->Dialog());
    const std::string pictureText = FolderText(pictures, "it is read-only.");
    ExpectSnapshotRefused(*run, 0, pictures, pictureText);
    ExpectSnapshotRefused(*run, kInterval, pictures, pictureText);
    ExpectSnapshotRefused(*run, kAuto, pictures, pictureText);
    // The message as the user sees it.
    run->ExpectBox("Error", pictureText);
    Click(run->Dialog(), kRecord);
    SaveBoxScreenshot(*run, "zentrik_snapshot_read_only");
    run->WaitForExpectedBoxes(10000);
    run->Pump(500);
    ExpectRecordRefused(*run, videos, FolderText(videos, "it is read-only."), "zentrik_record_read_only");

    ASSERT_EQ("", disk.SetReadOnly(false));
    ExpectCapturesWorkAgain(*run, pictures, videos, true);
    CloseInOrder(*run);
}

TEST_F(UnwritableCapture, FoldersDeletedWhileTheProgramRunsRefuseEveryCaptureNamingThem) {
    auto run = StartIn(std::string(), std::string());
    ASSERT_TRUE(run->Dialog());
    const std::string pictures = Pictures(*run), videos = Videos(*run);
    // The program made them at its start; the user deletes them.
    ASSERT_TRUE(PumpUntil(*run, 5000, [&] {
        return ::GetFileAttributesA(pictures.c_str()) != INVALID_FILE_ATTRIBUTES &&
               ::GetFileAttributesA(videos.c_str()) != INVALID_FILE_ATTRIBUTES;
    })) << "the program made no capture folders";
    ASSERT_TRUE(::RemoveDirectoryA(pictures.c_str())) << ::GetLastError();
    ASSERT_TRUE(::RemoveDirectoryA(videos.c_str())) << ::GetLastError();
    const std::string pictureText = FolderText(pictures, "it is not there.");
    ExpectSnapshotRefused(*run, 0, pictures, pictureText);
    ExpectSnapshotRefused(*run, kInterval, pictures, pictureText);
    ExpectSnapshotRefused(*run, kAuto, pictures, pictureText);
    ExpectRecordRefused(*run, videos, FolderText(videos, "it is not there."), "zentrik_record_folder_gone");
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(pictures.c_str())) << "a failed capture made the folder";

    ASSERT_TRUE(::CreateDirectoryA(pictures.c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryA(videos.c_str(), nullptr));
    ExpectCapturesWorkAgain(*run, pictures, videos, true);
    CloseInOrder(*run);
}

TEST_F(UnwritableCapture, AFullDriveRefusesSnapshotsAndRecordingsSayingSo) {
    ScopedSmallDisk disk(8);
    if (!disk.Failure().empty())
        GTEST_SKIP() << disk.Failure();
    const std::string pictures = disk.Root() + "pictures", videos = disk.Root() + "videos";
    ASSERT_TRUE(::CreateDirectoryA(pictures.c_str(), nullptr)) << pictures;
    ASSERT_TRUE(::CreateDirectoryA(videos.c_str(), nullptr)) << videos;
    // Filled to the last block with real data (a sparse file would take no room).
    const std::string filler = disk.Root() + "filler.bin";
    {
        HANDLE file = ::CreateFileA(filler.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, file);
        const std::vector<char> block(64 * 1024, 'x');
        DWORD written = 0;
        while (::WriteFile(file, block.data(), static_cast<DWORD>(block.size()), &written, nullptr) &&
               written == block.size()) {
        }
        for (DWORD piece = 4096; piece > 0; piece /= 2)
            while (::WriteFile(file, block.data(), piece, &written, nullptr) && written == piece) {
            }
        ::CloseHandle(file);
    }
    ULARGE_INTEGER available = {}, total = {}, free = {};
    ASSERT_TRUE(::GetDiskFreeSpaceExA(disk.Root().c_str(), &available, &total, &free));
    std::printf("free on the filled drive: %llu bytes\n", static_cast<unsigned long long>(available.QuadPart));
    auto run = StartIn(pictures, videos);
    ASSERT_TRUE(run->Dialog());
    const std::string pictureText = FolderText(pictures, "its disk is full.");
    ExpectSnapshotRefused(*run, 0, pictures, pictureText);
    ExpectSnapshotRefused(*run, kInterval, pictures, pictureText);
    ExpectRecordRefused(*run, videos, FolderText(videos, "its disk is full."), "zentrik_record_disk_full");

    // Room again: a snapshot works (a recording wants more room than this drive has).
    ASSERT_TRUE(::DeleteFileA(filler.c_str()));
    ExpectCapturesWorkAgain(*run, pictures, videos, false);
    CloseInOrder(*run);
}

// A hand-written name prefix and a folder with '?' (a letter the code page lacks shows so) name no file:
// each capture says which text holds it, no search takes it as a pattern (the file it would match
// costs no number), and nothing is written.
TEST_F(UnwritableCapture, AFolderOrANamePrefixWithAWildcardIsRefusedSayingSo) {
    qeltest::TempDir shots;
    const std::string pictures = shots.File("pictures"), videos = shots.File("videos");
    ASSERT_TRUE(::CreateDirectoryA(pictures.c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryA(videos.c_str(), nullptr));
    // What the pattern "A?B0001.BMP" matches.
    std::ofstream(pictures + "\\AXB0001.BMP", std::ios::binary) << SolidBmp(8, 8, RGB(0, 0, 200));
    const std::string videosPattern = shots.File("vid?os");
    auto run = StartIn(pictures, videosPattern, [](ZentrikRun& r) { r.SetIniValue("NameDefine", "ImageName", "A?B"); });
    ASSERT_TRUE(run->Dialog());
    ASSERT_TRUE(PumpUntil(*run, 10000, [&] { return FindItem(run->Dialog(), 8000) != nullptr; }))
        << "the picture that was there is not listed";

    run->ExpectBox("Error", "The file \"" + pictures + "\\A?B0001.BMP\" cannot be written: a file name cannot hold");
    Click(run->Dialog(), kRecord);
    run->WaitForExpectedBoxes(10000);
    EXPECT_TRUE(run->MissingBoxes().empty()) << "the snapshot's refusal did not name the file";
    run->Pump(1000);
    EXPECT_EQ(nullptr, FindItem(run->Dialog(), 8001)) << "an item for a picture never written";
    EXPECT_EQ(std::vector<std::string>{"AXB0001.BMP"}, FilesIn(pictures, "*.BMP"));

    Click(run->Dialog(), kVideoMode);
    run->Pump(300);
    run->ExpectBox("Error", FolderText(videosPattern, "its name holds \"?\" or \"*\""));
    Click(run->Dialog(), kRecord);
    SaveBoxScreenshot(*run, "zentrik_record_folder_wildcard");
    run->WaitForExpectedBoxes(10000);
    EXPECT_TRUE(run->MissingBoxes().empty()) << "the recording's refusal did not name the folder";
    run->Pump(1000);
    EXPECT_FALSE(Recording(*run));
    EXPECT_EQ(nullptr, FindItem(run->Dialog(), 8001)) << "an item for a recording never made";
    EXPECT_TRUE(FilesIn(videos, "*.*").size() <= 2u) << "only . and .. (or nothing)";
    CloseInOrder(*run);
    EXPECT_EQ("2", run->IniValue("NameDefine", "ImageCount")) << "a number skipped for the file the pattern matches";
    EXPECT_EQ(2u, run->Boxes().size());
}

} // namespace
} // namespace programtest
