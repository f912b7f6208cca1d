// The album strip on a window of the test's own, filled with pictures: layout, the selection rules,
// paths, scrolling and removal.
#include <gtest/gtest.h>

#include <objidl.h>
#include <gdiplus.h>

#include <string>

#include "ThumbStrip.h"
#include "album_folder.h"

namespace {

class ThumbStripTest : public ::testing::Test {
protected:
    void SetUp() override {
        Gdiplus::GdiplusStartupInput input;
        ASSERT_EQ(Gdiplus::Ok, Gdiplus::GdiplusStartup(&token_, &input, nullptr));
        ASSERT_TRUE(host_.CreateEx(0, nullptr, "strip host", WS_POPUP, 0, 0, 120, 600, nullptr, nullptr));
        RECT area = {0, 0, 100, 500};
        ASSERT_TRUE(strip_.Create(&host_, area));
        // Wine scrolls the contents of a shown window only.
        host_.ShowWindow(SW_SHOWNOACTIVATE);
    }
    void TearDown() override {
        strip_.RemoveAll();
        strip_.DestroyWindow();
        host_.DestroyWindow();
        Gdiplus::GdiplusShutdown(token_);
    }

    // Appends count pictures p0.bmp.. to the strip.
    void AddPictures(int count) {
        for (int i = 0; i < count; ++i) {
            const std::string name = "p" + std::to_string(i) + ".bmp";
            const std::string path = folder_.Write(name.c_str(), SolidBmp(8, 6, RGB(0, 128, 255)), i);
            strip_.AddItem(&Picture(path), FALSE);
        }
    }
    static _AlbumItemInfo& Picture(const std::string& path) {
        static _AlbumItemInfo info;
        info = {};
        info.isPicture = 1;
        info.frameCount = 1;
        lstrcpynA(info.path, path.c_str(), MAX_PATH);
        lstrcpynA(info.displayPath, path.c_str(), MAX_PATH);
        lstrcpynA(info.imagePath, path.c_str(), MAX_PATH);
        return info;
    }
    std::string Selected() const {
        std::string marks;
        for (int i = 0; i < strip_.GetCount(); ++i)
            marks += strip_.GetItem(i)->IsSelected() ? 'x' : '.';
        return marks;
    }
    int ItemTop(int index) const {
        RECT rect;
        strip_.GetItem(index)->GetWindowRect(&rect);
        ::MapWindowPoints(nullptr, strip_.m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
        return rect.top;
    }
    void Click(int index, UINT keys) {
        strip_.GetItem(index)->SendMessage(WM_LBUTTONDOWN, keys | MK_LBUTTON, MAKELPARAM(5, 5));
    }

    ULONG_PTR token_ = 0;
    AlbumFolder folder_{"strip"};
    CWnd host_;
    CThumbStrip strip_;
};

TEST_F(ThumbStripTest, ItemsStandInRowsOf73AndAFrontItemRelaysFromTheTop) {
    AddPictures(3);
    ASSERT_EQ(3, strip_.GetCount());
    EXPECT_EQ(0, ItemTop(0));
    EXPECT_EQ(146, ItemTop(2));
    strip_.Scroll(-1, TRUE);
    EXPECT_EQ(1, strip_.GetTopRow());
    EXPECT_EQ(-73, ItemTop(0)) << "the window contents moved up one row";
    const std::string front = folder_.Write("new.bmp", SolidBmp(8, 6, RGB(255, 0, 0)), 99);
    strip_.AddItem(&Picture(front), TRUE);
    EXPECT_EQ(0, strip_.GetTopRow());
    EXPECT_EQ(front, std::string(strip_.GetPath(0)));
    EXPECT_EQ(0, ItemTop(0));
    EXPECT_EQ(73, ItemTop(1));
    EXPECT_EQ(8003, ::GetDlgCtrlID(strip_.GetItem(0)->m_hWnd)) << "ids are given at creation";
    EXPECT_EQ(8000, ::GetDlgCtrlID(strip_.GetItem(1)->m_hWnd));
}

TEST_F(ThumbStripTest, PlainShiftAndControlClicksFollowTheSelectionRules) {
    AddPictures(7);
    Click(2, 0);
    EXPECT_EQ("..x....", Selected());
    EXPECT_EQ(2, strip_.GetAnchor());
    Click(5, MK_SHIFT);
    EXPECT_EQ("..xxxx.", Selected());
    EXPECT_EQ(2, strip_.GetAnchor()) << "Shift keeps the anchor";
    Click(0, MK_SHIFT);
    EXPECT_EQ("xxx....", Selected()) << "either direction, the rest deselected";
    Click(4, MK_CONTROL);
    EXPECT_EQ("xxx.x..", Selected());
    EXPECT_EQ(4, strip_.GetAnchor());
    Click(1, MK_CONTROL);
    EXPECT_EQ("x.x.x..", Selected()) << "Control toggles one item";
    Click(6, MK_SHIFT | MK_CONTROL);
    EXPECT_EQ(".xxxxxx", Selected()) << "Shift wins over Control: from the anchor 1";
}

TEST_F(ThumbStripTest, ClickOnAVanishedFileDoesNothing) {
    AddPictures(1);
    // Its thumbnail comes from another file: the image keeps its own file open.
    _AlbumItemInfo& gone = Picture(folder_.Write("gone.bmp", "x", 1));
    lstrcpynA(gone.imagePath, folder_.Path("p0.bmp").c_str(), MAX_PATH);
    strip_.AddItem(&gone, FALSE);
    Click(0, 0);
    ASSERT_TRUE(::DeleteFileA(folder_.Path("gone.bmp").c_str()));
    Click(1, 0);
    EXPECT_EQ("x.", Selected());
    EXPECT_EQ(0, strip_.GetAnchor());
}

// A clip whose name the code page could not hold and that has no short name: its path keeps the
// listing's '?' stand-ins, which also match DREM0009.AVI. It is selectable and listed under that path at
// once (no reader is asked, so none answers later), for the commands to refuse it by name.
TEST_F(ThumbStripTest, AnItemThatCannotBeReachedIsSelectableUnderItsOwnPath) {
    folder_.Write("DREM0009.AVI", "not this one", 1);
    static _AlbumItemInfo clip;
    clip = {};
    lstrcpynA(clip.path, folder_.Path("????????.avi").c_str(), MAX_PATH);
    strip_.AddItem(&clip, FALSE);
    strip_.GetItem(0)->UpdateWindow(); // its first paint asks for the thumbnail
    Click(0, 0);
    EXPECT_EQ("x", Selected());
    CStringList paths;
    strip_.GetSelectedPaths(paths, 2);
    ASSERT_EQ(1, paths.GetCount());
    EXPECT_EQ(folder_.Path("????????.avi"), std::string(paths.GetHead()));
}

TEST_F(ThumbStripTest, SelectIndexClampsAndPathsAreFoundWithoutCase) {
    AddPictures(3);
    strip_.SelectIndex(9, 0);
    EXPECT_EQ("..x", Selected());
    strip_.SelectIndex(-4, MK_SHIFT);
    EXPECT_EQ("xxx", Selected());

    std::string upper = folder_.Path("P1.BMP");
    EXPECT_EQ(1, strip_.FindByPath(upper.c_str()));
    EXPECT_EQ(-1, strip_.FindByPath(""));
    EXPECT_EQ(-1, strip_.FindByPath(folder_.Path("none.bmp").c_str()));
    EXPECT_TRUE(strip_.GetPath(strip_.GetCount()).IsEmpty());
    EXPECT_TRUE(strip_.GetPath(-1).IsEmpty());

    CStringList pictures, clips;
    strip_.GetSelectedPaths(pictures, 0);
    strip_.GetSelectedPaths(clips, 1);
    EXPECT_EQ(3, pictures.GetCount());
    EXPECT_EQ(0, clips.GetCount());
}

TEST_F(ThumbStripTest, FirstSelectedFallsBackToTheFirstItem) {
    CString path = "stale";
    EXPECT_EQ(0, strip_.GetFirstSelected(path, 2));
    EXPECT_TRUE(path.IsEmpty()) << "an empty strip";
    AddPictures(3);
    EXPECT_EQ(0, strip_.GetFirstSelected(path, 1)) << "no clip selected";
    EXPECT_EQ(folder_.Path("p0.bmp"), std::string(path));
    EXPECT_EQ("x..", Selected());
    strip_.SelectIndex(2, 0);
    EXPECT_EQ(1, strip_.GetFirstSelected(path, 0));
    EXPECT_EQ(folder_.Path("p2.bmp"), std::string(path));
}

TEST_F(ThumbStripTest, RemovalEmptiesTheStripAndResetsTheTop) {
    AddPictures(4);
    strip_.Scroll(-2, FALSE);
    strip_.RemoveFront();
    EXPECT_EQ(0, strip_.GetCount());
    EXPECT_EQ(0, strip_.GetTopRow());
    AddPictures(2);
    EXPECT_EQ(0, ItemTop(0)) << "a new list starts at the top";
}

TEST_F(ThumbStripTest, RemovalByPathTakesOnlyASelectedEntryWithThatExactPath) {
    AddPictures(4);
    strip_.SelectIndex(1, 0);
    Click(3, MK_CONTROL);
    EXPECT_EQ(".x.x", Selected());
    const std::string unselected = folder_.Path("p2.bmp");
    EXPECT_FALSE(strip_.RemoveSelectedByPath(unselected.c_str())) << "p2 is not selected";
    std::string otherCase = folder_.Path("P1.BMP");
    EXPECT_FALSE(strip_.RemoveSelectedByPath(otherCase.c_str())) << "the path must match exactly";
    EXPECT_EQ(4, strip_.GetCount());

    const std::string last = folder_.Path("p3.bmp");
    ASSERT_TRUE(strip_.RemoveSelectedByPath(last.c_str()));
    EXPECT_EQ(3, strip_.GetCount());
    EXPECT_EQ(-1, strip_.FindByPath(last.c_str()));
    EXPECT_EQ(".x.", Selected());
    EXPECT_EQ(-1, strip_.GetAnchor()) << "the removed entry was the anchor";

    strip_.SelectIndex(2, 0);
    const std::string first = folder_.Path("p0.bmp");
    strip_.SelectIndex(0, 0);
    Click(2, MK_CONTROL);
    ASSERT_TRUE(strip_.RemoveSelectedByPath(first.c_str()));
    EXPECT_EQ(1, strip_.GetAnchor()) << "the anchor follows its entry up";
    EXPECT_EQ(folder_.Path("p2.bmp"), std::string(strip_.GetPath(1)));
    EXPECT_TRUE(strip_.RemoveSelectedByPath(strip_.GetPath(1)));
    EXPECT_EQ(1, strip_.GetCount());
    EXPECT_TRUE(folder_.Exists("p0.bmp")) << "the strip never deletes files";
}

} // namespace
