// The thumbnail scan over a real folder: what it lists, deletes and hands over in which order, and a
// stop while it hands records to a thread that waits for it.
#include <gtest/gtest.h>

#include <afxwin.h>
#include <Vostrel.h>

#include <string>
#include <vector>

#include "MainDlg.h"
#include "ThumbScan.h"
#include "SentMessageWait.h"
#include "album_folder.h"

namespace {

// A window that keeps the path of every record the scan hands over, and sets stopEvent after
// stopAfter records when asked.
class RecordReceiver : public CWnd {
public:
    _AlbumItemInfo buffer = {};
    std::vector<_AlbumItemInfo> records;
    HANDLE stopEvent = nullptr;
    size_t stopAfter = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_LIVECAP_SNAPSHOT && wParam == 0 && lParam == 0) {
            records.push_back(buffer);
            if (stopEvent && records.size() == stopAfter)
                ::SetEvent(stopEvent);
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

class ThumbScanTest : public ::testing::Test {
protected:
    void SetUp() override {
        stop_ = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
        ASSERT_NE(nullptr, stop_);
        ASSERT_TRUE(receiver_.CreateEx(0, nullptr, "scan receiver", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    }
    void TearDown() override {
        receiver_.DestroyWindow();
        ::CloseHandle(stop_);
    }

    std::vector<std::string> HandedPaths() const {
        std::vector<std::string> paths;
        for (const _AlbumItemInfo& record : receiver_.records)
            paths.push_back(record.path);
        return paths;
    }

    HANDLE stop_ = nullptr;
    RecordReceiver receiver_;
};

TEST_F(ThumbScanTest, ListsNewestFirstLeavesOutEmptyAndOtherFilesAndDeletesLeftovers) {
    AlbumFolder folder("fixture");
    const std::string a = folder.Write("a.jpg", SolidBmp(4, 4, RGB(1, 2, 3)), 30);
    const std::string b = folder.Write("b.JPG", SolidBmp(4, 4, RGB(1, 2, 3)), 30);
    folder.Write("c.png", "not listed", 40);
    folder.Write("z.avi", "", 50);
    folder.Write("x.mp~", "leftover", 10);
    const std::string old = folder.Write("old.avi", "RIFF", 5);

    ASSERT_TRUE(ScanAlbumFolder(folder.Dir().c_str(), stop_, receiver_.m_hWnd, &receiver_.buffer));

    // Equal times: b above a (descending paths); the older clip last.
    EXPECT_EQ((std::vector<std::string>{b, a, old}), HandedPaths());
    EXPECT_FALSE(folder.Exists("x.mp~"));
    EXPECT_TRUE(folder.Exists("c.png")) << "files that are not listed are left alone";
    EXPECT_TRUE(folder.Exists("z.avi"));
    ASSERT_EQ(3u, receiver_.records.size());
    const _AlbumItemInfo& picture = receiver_.records[0];
    EXPECT_EQ(1, picture.isPicture);
    EXPECT_EQ(1, picture.frameCount);
    EXPECT_EQ(b, picture.displayPath);
    EXPECT_EQ(b, picture.imagePath);
    const _AlbumItemInfo& clip = receiver_.records[2];
    EXPECT_EQ(0, clip.isPicture);
    EXPECT_EQ(0, clip.frameCount);
    EXPECT_STREQ("", clip.displayPath) << "a clip's display path comes with its thumbnail";
    EXPECT_STREQ("", clip.imagePath);
}

TEST_F(ThumbScanTest, NothingListedEndsWithoutHandingOver) {
    AlbumFolder folder("empty");
    folder.Write("only.png", "x", 1);
    EXPECT_FALSE(ScanAlbumFolder(folder.Dir().c_str(), stop_, receiver_.m_hWnd, &receiver_.buffer));
    EXPECT_TRUE(receiver_.records.empty());
}

TEST_F(ThumbScanTest, SetStopEventListsNothing) {
    AlbumFolder folder("stopped");
    folder.Write("a.jpg", "x", 1);
    folder.Write("x.mp~", "x", 1);
    ::SetEvent(stop_);
    EXPECT_FALSE(ScanAlbumFolder(folder.Dir().c_str(), stop_, receiver_.m_hWnd, &receiver_.buffer));
    EXPECT_TRUE(receiver_.records.empty());
    EXPECT_TRUE(folder.Exists("x.mp~")) << "stopped before the first entry";
}

struct ScanJob {
    std::string folder;
    HANDLE stop;
    HWND receiver;
    _AlbumItemInfo* buffer;
};

DWORD WINAPI RunScan(LPVOID param) {
    auto* job = static_cast<ScanJob*>(param);
    ScanAlbumFolder(job->folder.c_str(), job->stop, job->receiver, job->buffer);
    return 0;
}

// Close stops the scan while it sends records to the closing thread: the wait must serve them.
TEST_F(ThumbScanTest, StopDuringHandOverEndsWhileTheStopperServesTheScan) {
    AlbumFolder folder("handover");
    for (int i = 0; i < 20; ++i)
        folder.Write(("p" + std::to_string(i) + ".bmp").c_str(), "x", i);
    for (int run = 0; run < 20; ++run) {
        receiver_.records.clear();
        receiver_.stopEvent = stop_;
        receiver_.stopAfter = 1 + static_cast<size_t>(run % 10);
        ::ResetEvent(stop_);
        ScanJob job{folder.Dir(), stop_, receiver_.m_hWnd, &receiver_.buffer};
        HANDLE thread = ::CreateThread(nullptr, 0, RunScan, &job, 0, nullptr);
        ASSERT_NE(nullptr, thread);
        ASSERT_TRUE(WaitHandlingSentMessages(thread, 10000)) << "run " << run << ": the scan did not end within 10 s";
        EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(thread, 0)) << "run " << run;
        ::CloseHandle(thread);
        EXPECT_EQ(receiver_.stopAfter, receiver_.records.size()) << "run " << run << ": no record after the stop";
        if (::testing::Test::HasFailure())
            break;
    }
}

} // namespace
