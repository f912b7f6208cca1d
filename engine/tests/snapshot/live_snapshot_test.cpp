// Snapshots of the synthetic camera's live picture: files of every format read back, memory
// snapshots into the host's buffer, and a snapshot armed while no grabber is in the graph.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "bmp_file.h"
#include "live_snapshot_fixture.h"
#include "qeltest/pump.h"
#include "test_frame_pattern.h"

namespace enginetest {
namespace {

constexpr size_t kFrameBytes = 640 * 480 * 3;

TEST_F(LiveSnapshotTest, ABmpSnapshotIsTheHeadersAndTheCamerasFrame) {
    const std::string path = dir.File("shot.bmp");
    ASSERT_TRUE(engine->OneSnapshot(Wide(path).c_str()));
    ASSERT_TRUE(WaitForNotifications(1));
    EXPECT_EQ(WM_LIVECAP_SNAPSHOT, host.Notifications()[0].message);
    EXPECT_EQ(0u, host.Notifications()[0].wParam);
    EXPECT_EQ(1, host.Notifications()[0].lParam);

    const std::vector<uint8_t> file = qelmedia::ReadWholeFile(path);
    ASSERT_EQ(921654u, file.size());
    BITMAPINFOHEADER header = {};
    ASSERT_TRUE(engine->GetSnapshotHeader(&header));
    EXPECT_EQ(640, header.biWidth);
    EXPECT_EQ(480, header.biHeight);
    EXPECT_EQ(24, header.biBitCount);
    EXPECT_EQ(0, std::memcmp(file.data() + 14, &header, sizeof header));
    qelmedia::Bmp24 bmp;
    std::string why;
    ASSERT_TRUE(qelmedia::ParseBmp24(file, &bmp, &why)) << why;
    EXPECT_EQ(921654u, bmp.fileSizeField);
    // Bottom-up rows: the top row of the picture is the file's last.
    EXPECT_TRUE(HoldsCameraPicture(file.data() + 54, 640, 480, 1920, 0, &why)) << why;
    EXPECT_EQ(std::vector<std::string>{"shot.bmp"}, FilesIn(dir.Path()));
}

TEST_F(LiveSnapshotTest, EncodedSnapshotsDecodeBackAt640x480AndLeaveNoTemporaryFile) {
    struct Case {
        const char* name;
        PictureFormat format;
        int tolerance; // -1: lossy, compared on average
    };
    const Case cases[] = {{"a.jpg", PictureFormat::Jpeg, -1}, {"b.JPG", PictureFormat::Jpeg, -1},
                          {"c.png", PictureFormat::Png, 0},   {"d.tif", PictureFormat::Tiff, 0},
                          {"e.gif", PictureFormat::Gif, 50},  {"f.jpeg", PictureFormat::Jpeg, -1},
                          {"g.tiff", PictureFormat::Tiff, 0}};
    std::vector<std::string> expected;
    for (const Case& c : cases) {
        const size_t before = host.Notifications().size();
        const std::string path = dir.File(c.name);
        ASSERT_TRUE(engine->OneSnapshot(Wide(path).c_str())) << c.name;
        ASSERT_TRUE(WaitForNotifications(before + 1)) << c.name;
        EXPECT_EQ(1, host.Notifications().back().lParam);
        DecodedPicture picture;
        ASSERT_TRUE(DecodePicture(path, &picture)) << c.name;
        EXPECT_EQ(c.format, picture.format) << c.name;
        ASSERT_EQ(640, picture.width) << c.name;
        ASSERT_EQ(480, picture.height) << c.name;
        std::string why;
        uint32_t number = 0;
        if (c.tolerance >= 0) {
            EXPECT_TRUE(HoldsCameraPicture(picture.pixels.data(), 640, -480, 1920, c.tolerance, &why))
                << c.name << ": " << why;
        } else {
            ASSERT_TRUE(qelcam::ReadFrameNumber(picture.pixels.data(), 640, -480, 1920, &number)) << c.name;
            EXPECT_LT(MeanDifferenceFromCamera(picture, number), 16.0) << c.name;
        }
        expected.push_back(c.name);
    }
    std::vector<std::string> files = FilesIn(dir.Path());
    std::sort(files.begin(), files.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(expected, files);
}

TEST_F(LiveSnapshotTest, ASnapshotThatCannotBeWrittenIsReportedSoWithItsReason) {
    for (const char* name : {"gone\\shot.bmp", "gone\\shot.jpg"}) {
        SCOPED_TRACE(name);
        const size_t before = host.Notifications().size();
        ASSERT_TRUE(engine->OneSnapshot(Wide(dir.File(name)).c_str()));
        ASSERT_TRUE(WaitForNotifications(before + 1));
        EXPECT_EQ(WM_LIVECAP_SNAPSHOT, host.Notifications().back().message);
        EXPECT_EQ(0u, host.Notifications().back().wParam);
        EXPECT_EQ(LIVECAP_SNAPSHOT_NOT_WRITTEN, host.Notifications().back().lParam);
        EXPECT_EQ(static_cast<DWORD>(ERROR_PATH_NOT_FOUND), engine->GetSnapshotError());
    }
    EXPECT_TRUE(FilesIn(dir.Path()).empty());
    // The next one that is written says so and clears the reason.
    const size_t before = host.Notifications().size();
    ASSERT_TRUE(engine->OneSnapshot(Wide(dir.File("shot.png")).c_str()));
    ASSERT_TRUE(WaitForNotifications(before + 1));
    EXPECT_EQ(LIVECAP_SNAPSHOT_WRITTEN, host.Notifications().back().lParam);
    EXPECT_EQ(0u, engine->GetSnapshotError());
    EXPECT_EQ(std::vector<std::string>{"shot.png"}, FilesIn(dir.Path()));
}

TEST_F(LiveSnapshotTest, AMemorySnapshotCopiesAtMostTheBufferAndReportsTheFrameLength) {
    // Larger than the frame: the frame, and the rest untouched.
    std::vector<BYTE> large(kFrameBytes + 4096, 0xEE);
    ASSERT_TRUE(engine->OneSnapshot(large.data(), static_cast<UINT>(large.size())));
    ASSERT_TRUE(WaitForNotifications(1));
    EXPECT_EQ(WM_LIVECAP_SNAPSHOT, host.Notifications()[0].message);
    EXPECT_EQ(1u, host.Notifications()[0].wParam);
    EXPECT_EQ(static_cast<LPARAM>(kFrameBytes), host.Notifications()[0].lParam);
    std::string why;
    EXPECT_TRUE(HoldsCameraPicture(large.data(), 640, 480, 1920, 0, &why)) << why;
    EXPECT_TRUE(std::all_of(large.begin() + kFrameBytes, large.end(), [](BYTE b) { return b == 0xEE; }));

    // Smaller: exactly its size, and still the frame's length reported.
    std::vector<BYTE> small(2000, 0xEE);
    ASSERT_TRUE(engine->OneSnapshot(small.data(), 1000));
    ASSERT_TRUE(WaitForNotifications(2));
    EXPECT_EQ(static_cast<LPARAM>(kFrameBytes), host.Notifications()[1].lParam);
    EXPECT_TRUE(std::all_of(small.begin() + 1000, small.end(), [](BYTE b) { return b == 0xEE; }));
    EXPECT_FALSE(std::all_of(small.begin(), small.begin() + 1000, [](BYTE b) { return b == 0xEE; }));
    EXPECT_TRUE(FilesIn(dir.Path()).empty());
}

TEST_F(LiveSnapshotTest, ASecondMemoryRequestBeforeTheFrameIsRefusedAndKeepsTheFirst) {
    ASSERT_EQ(S_OK, SetCameraDelivering(false));
    qeltest::PumpMessagesFor(300); // a frame already on its way goes through first
    std::vector<BYTE> first(kFrameBytes, 0xEE), second(kFrameBytes, 0xEE);
    ASSERT_TRUE(engine->OneSnapshot(first.data(), static_cast<UINT>(first.size())));
    EXPECT_FALSE(engine->OneSnapshot(second.data(), static_cast<UINT>(second.size())));
    EXPECT_FALSE(engine->OneSnapshot(Wide(dir.File("no.bmp")).c_str()));
    qeltest::PumpMessagesFor(200);
    EXPECT_TRUE(host.Notifications().empty());
    EXPECT_TRUE(engine->m_bSnapPending);

    ASSERT_EQ(S_OK, SetCameraDelivering(true));
    ASSERT_TRUE(WaitForNotifications(1));
    std::string why;
    EXPECT_TRUE(HoldsCameraPicture(first.data(), 640, 480, 1920, 0, &why)) << why;
    EXPECT_TRUE(std::all_of(second.begin(), second.end(), [](BYTE b) { return b == 0xEE; }));
    qeltest::PumpMessagesFor(300);
    EXPECT_EQ(1u, host.Notifications().size()); // one armed snapshot takes one frame
    EXPECT_TRUE(FilesIn(dir.Path()).empty());
}

TEST_F(LiveSnapshotTest, AFileSnapshotArmedWithoutAGrabberLandsWhenThePreviewReturns) {
    // As while recording: the preview graph and its grabber are gone.
    ASSERT_TRUE(engine->StopPreview());
    engine->TearDownGraph();
    std::vector<BYTE> buffer(kFrameBytes);
    EXPECT_FALSE(engine->OneSnapshot(buffer.data(), static_cast<UINT>(buffer.size())));
    const std::string path = dir.File("later.png");
    EXPECT_TRUE(engine->OneSnapshot(Wide(path).c_str()));
    qeltest::PumpMessagesFor(200);
    EXPECT_TRUE(host.Notifications().empty());

    ASSERT_TRUE(engine->BuildPreviewGraph());
    ASSERT_TRUE(engine->StartPreview());
    ASSERT_TRUE(WaitForNotifications(1));
    EXPECT_EQ(1, host.Notifications()[0].lParam);
    DecodedPicture picture;
    ASSERT_TRUE(DecodePicture(path, &picture));
    std::string why;
    EXPECT_TRUE(HoldsCameraPicture(picture.pixels.data(), 640, -480, 1920, 0, &why)) << why;
}

} // namespace
} // namespace enginetest
