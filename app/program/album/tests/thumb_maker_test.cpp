// The thumbnail maker on a window of the test's own: a picture comes back at thumbnail size whatever
// its own size, a file that is no picture comes back without one, and each answer arrives posted.
#include <gtest/gtest.h>

#include <objidl.h>
#include <gdiplus.h>
#include <qelImage.h>

#include <memory>
#include <string>

#include "ThumbMaker.h"
#include "album_folder.h"

namespace {

class ThumbMakerTest : public ::testing::Test {
protected:
    void SetUp() override {
        Gdiplus::GdiplusStartupInput input;
        ASSERT_EQ(Gdiplus::Ok, Gdiplus::GdiplusStartup(&token_, &input, nullptr));
        window_ = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        ASSERT_TRUE(window_);
    }
    void TearDown() override {
        ::DestroyWindow(window_);
        Gdiplus::GdiplusShutdown(token_);
    }

    // The answer to one request, waited for up to 10 s.
    std::unique_ptr<ThumbResult> Make(const std::string& path) {
        RequestThumbnail(window_, path.c_str(), false);
        const DWORD end = ::GetTickCount() + 10000;
        MSG msg;
        while (static_cast<LONG>(end - ::GetTickCount()) > 0) {
            if (::PeekMessageA(&msg, window_, WM_ZENTRIK_THUMB_READY, WM_ZENTRIK_THUMB_READY, PM_REMOVE))
                return std::unique_ptr<ThumbResult>(reinterpret_cast<ThumbResult*>(msg.lParam));
            ::Sleep(10);
        }
        return nullptr;
    }

    ULONG_PTR token_ = 0;
    HWND window_ = nullptr;
    AlbumFolder folder_{"maker"};
};

TEST_F(ThumbMakerTest, PicturesOfAnySizeComeBackAtThumbnailSize) {
    for (const auto& [width, height] : {std::pair<int, int>{640, 480}, {8, 6}, {1000, 40}}) {
        const std::string name = "p" + std::to_string(width) + ".bmp";
        auto result = Make(folder_.Write(name.c_str(), SolidBmp(width, height, RGB(0, 128, 255)), 1));
        ASSERT_TRUE(result) << "no answer for " << name;
        ASSERT_TRUE(result->thumb) << name;
        EXPECT_EQ(static_cast<UINT>(kThumbImageWidth), result->thumb->Width()) << name;
        EXPECT_EQ(static_cast<UINT>(kThumbImageHeight), result->thumb->Height()) << name;
        Gdiplus::Color centre;
        ASSERT_EQ(Gdiplus::Ok, result->thumb->GetPixel(kThumbImageWidth / 2, kThumbImageHeight / 2, &centre));
        EXPECT_EQ(RGB(0, 128, 255), RGB(centre.GetR(), centre.GetG(), centre.GetB())) << name;
        EXPECT_FALSE(result->timedOut);
    }
}

TEST_F(ThumbMakerTest, AFileThatIsNoPictureComesBackWithoutOne) {
    auto result = Make(folder_.Write("not.jpg", "no picture at all", 1));
    ASSERT_TRUE(result) << "no answer";
    EXPECT_FALSE(result->thumb);
    EXPECT_FALSE(result->timedOut);
    EXPECT_FALSE(ClipDidNotAnswer(folder_.Path("not.jpg").c_str()));
}

} // namespace
