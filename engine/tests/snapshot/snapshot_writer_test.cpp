// The snapshot files on their own: the BMP writer and the GDI+ encodings, on frames of the camera's
// pattern, read back through GDI+.
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "BmpWriter.h"
#include "SnapshotWriter.h"
#include "bmp_file.h"
#include "picture_reader.h"
#include "qeltest/temp_dir.h"
#include "test_frame_pattern.h"

namespace enginetest {
namespace {

struct Frame {
    BITMAPINFOHEADER header = {};
    std::vector<BYTE> bits;
    int width = 0, height = 0;
    uint32_t number = 0;
};

// A bottom-up RGB24 frame of the camera's pattern, as the grabber delivers it (at least 40 pixels wide).
Frame PatternFrame(int width, int height, uint32_t number = 7) {
    Frame frame;
    frame.width = width;
    frame.height = height;
    frame.number = number;
    const ptrdiff_t stride = qelcam::Rgb24Stride(width);
    frame.bits.assign(static_cast<size_t>(stride) * height, 0);
    EXPECT_TRUE(qelcam::DrawTestFrame(frame.bits.data(), width, height, stride, number));
    frame.header.biSize = sizeof(BITMAPINFOHEADER);
    frame.header.biWidth = width;
    frame.header.biHeight = height;
    frame.header.biPlanes = 1;
    frame.header.biBitCount = 24;
    frame.header.biCompression = BI_RGB;
    frame.header.biSizeImage = static_cast<DWORD>(frame.bits.size());
    return frame;
}

// Largest difference of any channel between the picture and the pattern.
int WorstDifference(const DecodedPicture& picture, const Frame& frame) {
    int worst = 0;
    for (int y = 0; y < frame.height; ++y)
        for (int x = 0; x < frame.width; ++x) {
            const qelcam::Bgr want = qelcam::ExpectedPixel(x, y, frame.width, frame.height, frame.number);
            const uint8_t* got = picture.At(x, y);
            worst = std::max(
                {worst, std::abs(got[0] - want.b), std::abs(got[1] - want.g), std::abs(got[2] - want.r)});
        }
    return worst;
}

double MeanDifference(const DecodedPicture& picture, const Frame& frame) {
    double sum = 0;
    for (int y = 0; y < frame.height; ++y)
        for (int x = 0; x < frame.width; ++x) {
            const qelcam::Bgr want = qelcam::ExpectedPixel(x, y, frame.width, frame.height, frame.number);
            const uint8_t* got = picture.At(x, y);
            sum += std::abs(got[0] - want.b) + std::abs(got[1] - want.g) + std::abs(got[2] - want.r);
        }
    return sum / (3.0 * frame.width * frame.height);
}

class SnapshotWriterTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(gdiplus.Started()); }
    GdiplusScope gdiplus;
    qeltest::TempDir dir;
};

TEST_F(SnapshotWriterTest, TheBmpOfA640x480FrameIsTheHeadersAndTheFrame) {
    const Frame frame = PatternFrame(640, 480);
    const std::string path = dir.File("shot.bmp");
    ASSERT_TRUE(WriteSnapshotBmp(frame.header, path.c_str(), frame.bits.data(),
                                 static_cast<UINT>(frame.bits.size())));
    const std::vector<uint8_t> file = qelmedia::ReadWholeFile(path);
    ASSERT_EQ(921654u, file.size());
    EXPECT_EQ(0, std::memcmp(file.data() + 14, &frame.header, 40));
    EXPECT_TRUE(std::equal(frame.bits.begin(), frame.bits.end(), file.begin() + 54));
    qelmedia::Bmp24 bmp;
    std::string why;
    ASSERT_TRUE(qelmedia::ParseBmp24(file, &bmp, &why)) << why;
    EXPECT_EQ(921654u, bmp.fileSizeField);
    EXPECT_TRUE(bmp.bottomUp);
    // The top row of the picture is the last row of the file.
    DecodedPicture picture;
    ASSERT_TRUE(DecodePicture(path, &picture));
    EXPECT_EQ(0, WorstDifference(picture, frame));
}

TEST_F(SnapshotWriterTest, TheBmpWriterReportsAFileItCannotCreate) {
    const Frame frame = PatternFrame(41, 19);
    const std::string path = dir.File("missing\\shot.bmp");
    EXPECT_FALSE(WriteSnapshotBmp(frame.header, path.c_str(), frame.bits.data(),
                                  static_cast<UINT>(frame.bits.size())));
    EXPECT_FALSE(WriteSnapshotBmp(frame.header, nullptr, frame.bits.data(), 4));
    EXPECT_FALSE(WriteSnapshotBmp(frame.header, dir.File("null.bmp").c_str(), nullptr, 4));
    EXPECT_TRUE(FilesIn(dir.Path()).empty());
}

// The engine tells its host why a snapshot was not written from the thread's last error.
TEST_F(SnapshotWriterTest, AFailedSaveLeavesItsReasonAsTheLastError) {
    const Frame frame = PatternFrame(41, 19);
    const UINT length = static_cast<UINT>(frame.bits.size());
    for (const char* name : {"missing\\shot.bmp", "missing\\shot.png", "missing\\shot.jpg"}) {
        SetLastError(0);
        EXPECT_FALSE(SaveSnapshotFile(frame.header, dir.File(name).c_str(), frame.bits.data(), length, 100)) << name;
        EXPECT_EQ(static_cast<DWORD>(ERROR_PATH_NOT_FOUND), GetLastError()) << name;
    }
    const std::string tooLong = dir.File(std::string(260, 'x') + ".png");
    SetLastError(0);
    EXPECT_FALSE(SaveSnapshotFile(frame.header, tooLong.c_str(), frame.bits.data(), length, 100));
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILENAME_EXCED_RANGE), GetLastError());
    SetLastError(0);
    EXPECT_FALSE(SaveSnapshotFile(frame.header, "jpg", frame.bits.data(), length, 100));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_NAME), GetLastError());
    // An encoding that fails into a folder of the target's name: a reason, and the folder untouched.
    const std::string target = dir.File("taken.png");
    ASSERT_TRUE(CreateDirectoryA(target.c_str(), nullptr));
    SetLastError(0);
    EXPECT_FALSE(SaveSnapshotFile(frame.header, target.c_str(), frame.bits.data(), length, 100));
    EXPECT_NE(0u, GetLastError());
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(target.c_str()));
    RemoveDirectoryA(target.c_str());
    EXPECT_EQ(std::vector<std::string>{"taken.bmp~bmp~"}, FilesIn(dir.Path()));
}

TEST_F(SnapshotWriterTest, TheBmpWriterReportsAFailedWriteAndLeavesNoTruncatedFile) {
    // A frame length beyond the readable memory: the last write fails part-way.
    SYSTEM_INFO system;
    GetSystemInfo(&system);
    const SIZE_T page = system.dwPageSize;
    BYTE* block =
        static_cast<BYTE*>(VirtualAlloc(nullptr, 2 * page, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    ASSERT_NE(nullptr, block);
    DWORD old = 0;
    ASSERT_TRUE(VirtualProtect(block + page, page, PAGE_NOACCESS, &old));
    const Frame frame = PatternFrame(41, 19);
    const std::string path = dir.File("shot.bmp");
    SetLastError(0);
    EXPECT_FALSE(WriteSnapshotBmp(frame.header, path.c_str(), block, static_cast<UINT>(2 * page)));
    EXPECT_NE(0u, GetLastError()) << "the write's reason, kept through the clean-up";
    EXPECT_EQ(-1, FileSize(path));
    VirtualFree(block, 0, MEM_RELEASE);
}

TEST_F(SnapshotWriterTest, EachFormatDecodesBackAndNoTemporaryFileStays) {
    struct Case {
        const char* name;
        PictureFormat format;
        int worst; // largest channel difference allowed
    };
    // BMP, PNG and TIFF are lossless; GIF keeps each channel within one halftone level.
    const Case cases[] = {
        {"a.bmp", PictureFormat::Bmp, 0},     {"b.png", PictureFormat::Png, 0},
        {"c.tif", PictureFormat::Tiff, 0},    {"d.TIFF", PictureFormat::Tiff, 0},
        {"e.jpg", PictureFormat::Jpeg, 255},  {"f.JPG", PictureFormat::Jpeg, 255},
        {"g.jpeg", PictureFormat::Jpeg, 255}, {"h.gif", PictureFormat::Gif, 50},
        {"i.Bmp", PictureFormat::Bmp, 0},
    };
    const Frame frame = PatternFrame(41, 19, 0x12345);
    for (const Case& c : cases) {
        const std::string path = dir.File(c.name);
        ASSERT_TRUE(SaveSnapshotFile(frame.header, path.c_str(), frame.bits.data(),
                                     static_cast<UINT>(frame.bits.size()), 100))
            << c.name;
        DecodedPicture picture;
        ASSERT_TRUE(DecodePicture(path, &picture)) << c.name;
        EXPECT_EQ(c.format, picture.format) << c.name;
        ASSERT_EQ(41, picture.width) << c.name;
        ASSERT_EQ(19, picture.height) << c.name;
        EXPECT_LE(WorstDifference(picture, frame), c.worst) << c.name;
        if (c.format == PictureFormat::Jpeg || c.format == PictureFormat::Gif) {
            EXPECT_LT(MeanDifference(picture, frame), c.format == PictureFormat::Jpeg ? 24.0 : 16.0)
                << c.name;
        }
    }
    std::vector<std::string> files = FilesIn(dir.Path());
    std::sort(files.begin(), files.end());
    const std::vector<std::string> expected = {"a.bmp", "b.png",  "c.tif", "d.TIFF", "e.jpg",
                                               "f.JPG", "g.jpeg", "h.gif", "i.Bmp"};
    EXPECT_EQ(expected, files);
}

TEST_F(SnapshotWriterTest, A640x480GifIsAValidPicture) {
    const Frame frame = PatternFrame(640, 480);
    const std::string path = dir.File("shot.gif");
    ASSERT_TRUE(SaveSnapshotFile(frame.header, path.c_str(), frame.bits.data(),
                                 static_cast<UINT>(frame.bits.size()), 100));
    DecodedPicture picture;
    ASSERT_TRUE(DecodePicture(path, &picture));
    EXPECT_EQ(PictureFormat::Gif, picture.format);
    EXPECT_EQ(640, picture.width);
    EXPECT_EQ(480, picture.height);
    EXPECT_LE(WorstDifference(picture, frame), 50);
}

TEST_F(SnapshotWriterTest, AFailedEncodingKeepsTheTemporaryBmp) {
    // The target is a folder: the temporary BMP is written beside it, the save into it fails.
    const std::string target = dir.File("taken.png");
    ASSERT_TRUE(CreateDirectoryA(target.c_str(), nullptr));
    const Frame frame = PatternFrame(41, 19);
    EXPECT_FALSE(SaveSnapshotFile(frame.header, target.c_str(), frame.bits.data(),
                                  static_cast<UINT>(frame.bits.size()), 100));
    const std::string temporary = dir.File("taken.bmp~bmp~");
    EXPECT_EQ(54 + static_cast<long long>(frame.bits.size()), FileSize(temporary));
    RemoveDirectoryA(target.c_str());
}

TEST_F(SnapshotWriterTest, NamesThatCannotBeSavedSafelyWriteNothing) {
    const Frame frame = PatternFrame(41, 19);
    const UINT length = static_cast<UINT>(frame.bits.size());
    EXPECT_FALSE(SaveSnapshotFile(frame.header, nullptr, frame.bits.data(), length, 100));
    EXPECT_FALSE(SaveSnapshotFile(frame.header, "jpg", frame.bits.data(), length, 100));
    const std::string tooLong = dir.File(std::string(260, 'x') + ".png");
    EXPECT_FALSE(SaveSnapshotFile(frame.header, tooLong.c_str(), frame.bits.data(), length, 100));
    EXPECT_TRUE(FilesIn(dir.Path()).empty());
}

TEST_F(SnapshotWriterTest, TheQualityReachesTheJpegEncoder) {
    const Frame frame = PatternFrame(640, 480);
    const UINT length = static_cast<UINT>(frame.bits.size());
    const std::string best = dir.File("best.jpg"), worst = dir.File("worst.jpg");
    ASSERT_TRUE(SaveSnapshotFile(frame.header, best.c_str(), frame.bits.data(), length, 100));
    ASSERT_TRUE(SaveSnapshotFile(frame.header, worst.c_str(), frame.bits.data(), length, 5));
    if (FileSize(best) == FileSize(worst))
        GTEST_SKIP() << "this GDI+ ignores the JPEG quality (Wine's does): both files are " << FileSize(best)
                     << " bytes";
    EXPECT_LT(FileSize(worst), FileSize(best));
}

} // namespace
} // namespace enginetest
