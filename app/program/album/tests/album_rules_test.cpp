// The album's plain rules: the scan's file kinds and order, the thumbnail frame, the DIB bit
// locators and the scroll slider's arithmetic.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "AlbumRules.h"
#include "album_folder.h"

namespace {

TEST(AlbumRulesTest, FileKindsGoByTheLastThreeLettersInAnyCase) {
    EXPECT_EQ(kAlbumPicture, AlbumFileKindOf("a.jpg"));
    EXPECT_EQ(kAlbumPicture, AlbumFileKindOf("B.JPG"));
    EXPECT_EQ(kAlbumPicture, AlbumFileKindOf("c.Bmp"));
    EXPECT_EQ(kAlbumClip, AlbumFileKindOf("d.avi"));
    EXPECT_EQ(kAlbumClip, AlbumFileKindOf("e.WMV"));
    EXPECT_EQ(kAlbumClip, AlbumFileKindOf("f.asf"));
    EXPECT_EQ(kAlbumLeftover, AlbumFileKindOf("x.mp~"));
    EXPECT_EQ(kAlbumLeftover, AlbumFileKindOf("x.MP~"));
    // Only these: the other formats the program writes are not listed.
    EXPECT_EQ(kAlbumOther, AlbumFileKindOf("c.png"));
    EXPECT_EQ(kAlbumOther, AlbumFileKindOf("g.jpeg"));
    EXPECT_EQ(kAlbumOther, AlbumFileKindOf("pg"));
    EXPECT_EQ(kAlbumOther, AlbumFileKindOf(""));
    // The letters, not the extension: a name ending so is taken.
    EXPECT_EQ(kAlbumPicture, AlbumFileKindOf("notajpg"));
}

TEST(AlbumRulesTest, ClipThumbnailFrameIsThirtyTwentyTenOrTheFirst) {
    EXPECT_EQ(20, ThumbFrameIndex(25));
    EXPECT_EQ(30, ThumbFrameIndex(31));
    EXPECT_EQ(20, ThumbFrameIndex(30)); // more than 30 frames are needed for frame 30
    EXPECT_EQ(10, ThumbFrameIndex(11));
    EXPECT_EQ(0, ThumbFrameIndex(10));
    EXPECT_EQ(0, ThumbFrameIndex(5));
    EXPECT_EQ(0, ThumbFrameIndex(0));
}

TEST(AlbumRulesTest, DibBitsFollowHeaderColourTableAndMasks) {
    // A whole block, as the reader hands it: header, room for a table, pixels.
    static DWORD block[(40 + 1024 + 64) / 4];
    BITMAPINFOHEADER& header = *reinterpret_cast<BITMAPINFOHEADER*>(block);
    header = {};
    header.biSize = sizeof header;
    header.biBitCount = 24;
    BYTE* start = reinterpret_cast<BYTE*>(block);
    EXPECT_EQ(0u, DibColorTableEntries(&header));
    EXPECT_EQ(start + 40, DibBits(&header));

    header.biBitCount = 8;
    EXPECT_EQ(256u, DibColorTableEntries(&header));
    EXPECT_EQ(1024u, DibColorTableBytes(&header));
    EXPECT_EQ(start + 40 + 1024, DibBits(&header));
    header.biBitCount = 4;
    EXPECT_EQ(16u, DibColorTableEntries(&header));
    header.biBitCount = 1;
    EXPECT_EQ(2u, DibColorTableEntries(&header));
    // A stated table size wins over the bit count.
    header.biClrUsed = 3;
    EXPECT_EQ(start + 40 + 12, DibBits(&header));

    header.biClrUsed = 0;
    header.biBitCount = 16;
    header.biCompression = BI_BITFIELDS;
    EXPECT_EQ(start + 40 + 12, DibBits(&header));
}

TEST(AlbumRulesTest, ScrollTopMovesByTheCodeWithinZeroToMax) {
    // Page-up from top 1 with a page of 3 ends at 0, not below.
    EXPECT_EQ(0, AlbumScrollTop(SB_PAGEUP, 1, 4, 3, 0));
    EXPECT_EQ(4, AlbumScrollTop(SB_PAGEDOWN, 2, 4, 3, 0));
    EXPECT_EQ(3, AlbumScrollTop(SB_PAGEDOWN, 0, 4, 3, 0));
    EXPECT_EQ(0, AlbumScrollTop(SB_LINEUP, 0, 4, 3, 0));
    EXPECT_EQ(1, AlbumScrollTop(SB_LINEUP, 2, 4, 3, 0));
    EXPECT_EQ(4, AlbumScrollTop(SB_LINEDOWN, 4, 4, 3, 0));
    EXPECT_EQ(3, AlbumScrollTop(SB_THUMBTRACK, 1, 4, 3, 3));
    EXPECT_EQ(2, AlbumScrollTop(SB_THUMBPOSITION, 1, 4, 3, 2));
    EXPECT_EQ(0, AlbumScrollTop(SB_TOP, 3, 4, 3, 0));
    EXPECT_EQ(4, AlbumScrollTop(SB_BOTTOM, 1, 4, 3, 0));
    EXPECT_EQ(2, AlbumScrollTop(SB_ENDSCROLL, 2, 4, 3, 0));
}

TEST(AlbumRulesTest, FilesCompareByWriteTimeThenByPath) {
    AlbumFolder folder("rules");
    const std::string older = folder.Write("z.jpg", "x", 1000);
    const std::string newer = folder.Write("a.jpg", "x", 2000);
    EXPECT_LT(CompareAlbumFiles(older.c_str(), newer.c_str()), 0);
    EXPECT_GT(CompareAlbumFiles(newer.c_str(), older.c_str()), 0);

    const std::string same = folder.Write("B.JPG", "x", 2000);
    EXPECT_LT(CompareAlbumFiles(newer.c_str(), same.c_str()), 0) << "equal times: paths without regard to case";
    const std::string missing = folder.Path("a0.jpg");
    EXPECT_LT(CompareAlbumFiles(missing.c_str(), older.c_str()), 0) << "a missing file: paths only";
    EXPECT_EQ(0, CompareAlbumFiles(newer.c_str(), newer.c_str()));
}

} // namespace
