// The thumbnail maker on a window of the test's own: a picture comes back at thumbnail size whatever
// its own size, a file that is no picture comes back without one, and each answer arrives posted once.
// Jobs that hang are made by the maker's test call, which holds chosen files until the test lets them
// go: what counts toward the stuck limit, what a clip held back by it gets, the viewer's stills, and
// whether GDI+ may be shut down at the end. The maker is the process's own and ends with each test:
// every test runs in a process of its own, as CTest runs them.
#include <gtest/gtest.h>

#include <objidl.h>
#include <gdiplus.h>
#include <qelImage.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "ThumbMaker.h"
#include "album_folder.h"

namespace {

// Files whose names contain "hang" are held in the maker's test call until released; every call is
// counted by file name. Shared with the maker's threads.
struct HeldJobs {
    std::mutex lock;
    std::map<std::string, int> tries;
    HANDLE release = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE entered = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
};
HeldJobs& Held() {
    static HeldJobs* held = new HeldJobs; // stuck threads may reach it until the process ends
    return *held;
}

std::string NameOf(const char* path) {
    const char* slash = std::strrchr(path, '\\');
    return slash ? slash + 1 : path;
}

void HoldChosenFiles(const char* path) {
    const std::string name = NameOf(path);
    {
        std::lock_guard<std::mutex> guard(Held().lock);
        ++Held().tries[name];
    }
    if (name.find("hang") == std::string::npos)
        return;
    ::SetEvent(Held().entered);
    ::WaitForSingleObject(Held().release, 60000);
}

int TriesOf(const std::string& name) {
    std::lock_guard<std::mutex> guard(Held().lock);
    return Held().tries[name];
}

class ThumbMakerTest : public ::testing::Test {
protected:
    void SetUp() override {
        Gdiplus::GdiplusStartupInput input;
        ASSERT_EQ(Gdiplus::Ok, Gdiplus::GdiplusStartup(&token_, &input, nullptr));
        window_ = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        ASSERT_TRUE(window_);
    }
    void TearDown() override {
        // Held jobs go on once released; GDI+ stays until none can be inside it.
        ::SetEvent(Held().release);
        const bool idle = StopThumbnailMaking();
        ::DestroyWindow(window_);
        if (idle)
            Gdiplus::GdiplusShutdown(token_);
    }

    // The next answer posted to the window within ms (a hang guard), or null.
    std::unique_ptr<ThumbResult> NextAnswer(DWORD ms = 10000) {
        const DWORD end = ::GetTickCount() + ms;
        MSG msg;
        while (static_cast<LONG>(end - ::GetTickCount()) > 0) {
            if (::PeekMessageA(&msg, window_, WM_ZENTRIK_THUMB_READY, WM_ZENTRIK_THUMB_READY, PM_REMOVE))
                return std::unique_ptr<ThumbResult>(reinterpret_cast<ThumbResult*>(msg.lParam));
            ::Sleep(10);
        }
        return nullptr;
    }
    std::unique_ptr<ThumbResult> Make(const std::string& path) {
        RequestThumbnail(window_, path.c_str(), false);
        return NextAnswer();
    }
    // A clip path in the test's folder (no such file: the reader refuses it, or hangs it when held).
    std::string Clip(const char* name) const { return folder_.Path(name); }

    ULONG_PTR token_ = 0;
    HWND window_ = nullptr;
    AlbumFolder folder_{"maker"};
};

// A short limit for the tests that make jobs hang; the guard of each wait stays at 10 s.
constexpr DWORD kTestLimitMs = 300;

TEST_F(ThumbMakerTest, PicturesOfAnySizeComeBackAtThumbnailSize) {
    for (const auto& [width, height] : {std::pair<int, int>{640, 480}, {8, 6}, {1000, 40}}) {
        const std::string name = "p" + std::to_string(width) + ".bmp";
        auto result = Make(folder_.Write(name.c_str(), SolidBmp(width, height, RGB(0, 128, 255)), 1));
        ASSERT_TRUE(result) << "no answer for " << name << " within 10 s";
        ASSERT_TRUE(result->thumb) << name;
        EXPECT_EQ(static_cast<UINT>(kThumbImageWidth), result->thumb->Width()) << name;
        EXPECT_EQ(static_cast<UINT>(kThumbImageHeight), result->thumb->Height()) << name;
        Gdiplus::Color centre;
        ASSERT_EQ(Gdiplus::Ok, result->thumb->GetPixel(kThumbImageWidth / 2, kThumbImageHeight / 2, &centre));
        EXPECT_EQ(RGB(0, 128, 255), RGB(centre.GetR(), centre.GetG(), centre.GetB())) << name;
        EXPECT_FALSE(result->timedOut);
    }
}

TEST_F(ThumbMakerTest, AFileThatIsNoPictureComesBackWithoutOneAndOnlyOnce) {
    auto result = Make(folder_.Write("not.jpg", "no picture at all", 1));
    ASSERT_TRUE(result) << "no answer within 10 s";
    EXPECT_FALSE(result->thumb);
    EXPECT_FALSE(result->timedOut);
    EXPECT_FALSE(NextAnswer(500)) << "a second answer to one request";
}

TEST_F(ThumbMakerTest, PictureTimeOutsDoNotCountTowardTheStuckLimit) {
    SetThumbMakingForTest(kTestLimitMs, HoldChosenFiles);
    for (int i = 0; i <= kMaxStuckThumbThreads; ++i) {
        const std::string name = "hang" + std::to_string(i) + ".bmp";
        auto result = Make(folder_.Path(name.c_str()));
        ASSERT_TRUE(result) << "no answer for " << name << " within 10 s";
        EXPECT_TRUE(result->timedOut) << name;
    }
    // Five pictures are stuck; a clip after them is still tried, and answered as the reader answers.
    RequestThumbnail(window_, Clip("fresh.avi").c_str(), true);
    auto clip = NextAnswer();
    ASSERT_TRUE(clip) << "no answer for the clip within 10 s";
    EXPECT_FALSE(clip->timedOut) << "the clip was refused without a try";
    EXPECT_FALSE(clip->opened) << "there is no such file";
    EXPECT_EQ(1, TriesOf("fresh.avi"));
    EXPECT_FALSE(ClipDidNotAnswer(Clip("fresh.avi").c_str()));
}

TEST_F(ThumbMakerTest, AClipHeldBackByStuckReadersIsTriedOnceOneComesBackAndTheLateOnesAnswerAfterAll) {
    SetThumbMakingForTest(kTestLimitMs, HoldChosenFiles);
    const int runningBefore = ThumbJobsRunning();
    for (int i = 0; i < kMaxStuckThumbThreads; ++i) {
        const std::string name = "hang" + std::to_string(i) + ".avi";
        RequestThumbnail(window_, Clip(name.c_str()).c_str(), true);
        auto result = NextAnswer();
        ASSERT_TRUE(result) << "no answer for " << name << " within 10 s";
        EXPECT_TRUE(result->timedOut) << name;
        EXPECT_TRUE(ClipDidNotAnswer(Clip(name.c_str()).c_str())) << name;
    }
    RequestThumbnail(window_, Clip("fresh.avi").c_str(), true);
    EXPECT_FALSE(NextAnswer(1000)) << "a clip never tried was answered while every reader is stuck";
    EXPECT_EQ(0, TriesOf("fresh.avi"));
    EXPECT_FALSE(ClipDidNotAnswer(Clip("fresh.avi").c_str())) << "a clip never tried is marked";
    EXPECT_EQ(runningBefore + kMaxStuckThumbThreads, ThumbJobsRunning()) << "the program's end would not know of them";

    // The stuck ones come back: each answers late and is no longer marked; the held clip is tried.
    ::SetEvent(Held().release);
    int late = 0, fresh = 0;
    for (int i = 0; i < kMaxStuckThumbThreads + 1; ++i) {
        auto result = NextAnswer();
        ASSERT_TRUE(result) << "answer " << i << " did not come within 10 s";
        EXPECT_FALSE(result->timedOut);
        (result->late ? late : fresh) += 1;
    }
    EXPECT_EQ(kMaxStuckThumbThreads, late);
    EXPECT_EQ(1, fresh);
    EXPECT_EQ(1, TriesOf("fresh.avi"));
    EXPECT_FALSE(ClipDidNotAnswer(Clip("hang0.avi").c_str())) << "a clip that answered late stays marked";
    for (int i = 0; i < 100 && ThumbJobsRunning() != runningBefore; ++i)
        ::Sleep(50);
    EXPECT_EQ(runningBefore, ThumbJobsRunning()) << "threads that came back are still counted";
}

TEST_F(ThumbMakerTest, AClipThatHungIsAnsweredAtOnceWithoutAnotherTry) {
    SetThumbMakingForTest(kTestLimitMs, HoldChosenFiles);
    const std::string clip = Clip("hang.avi");
    RequestThumbnail(window_, clip.c_str(), true);
    auto first = NextAnswer();
    ASSERT_TRUE(first) << "no answer within 10 s";
    EXPECT_TRUE(first->timedOut);
    // The viewer's still of it and a second thumbnail: the placeholder at once, no thread left behind.
    RequestClipStill(window_, clip.c_str(), 7);
    RequestThumbnail(window_, clip.c_str(), true);
    for (int i = 0; i < 2; ++i) {
        auto again = NextAnswer();
        ASSERT_TRUE(again) << "no answer " << i << " within 10 s";
        EXPECT_TRUE(again->timedOut);
        EXPECT_FALSE(again->reader);
    }
    EXPECT_EQ(1, TriesOf("hang.avi"));
}

TEST_F(ThumbMakerTest, TheViewersLatestStillGoesFirstAndReplacesAnEarlierOneNotYetMade) {
    SetThumbMakingForTest(10000, HoldChosenFiles);
    RequestThumbnail(window_, folder_.Path("hang.bmp").c_str(), false); // keeps the maker busy
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(Held().entered, 10000)) << "the picture was not begun in 10 s";
    RequestThumbnail(window_, Clip("thumb.avi").c_str(), true);
    RequestClipStill(window_, Clip("first.avi").c_str(), 1);
    RequestClipStill(window_, Clip("second.avi").c_str(), 2);
    ::SetEvent(Held().release);
    auto picture = NextAnswer();
    ASSERT_TRUE(picture) << "no answer for the picture within 10 s";
    auto still = NextAnswer();
    ASSERT_TRUE(still) << "no still within 10 s";
    EXPECT_EQ(2u, still->request) << "the still asked for last is answered first";
    EXPECT_FALSE(still->reader) << "no such file";
    EXPECT_FALSE(still->frame);
    auto thumb = NextAnswer();
    ASSERT_TRUE(thumb) << "no thumbnail within 10 s";
    EXPECT_EQ(0u, thumb->request);
    EXPECT_FALSE(NextAnswer(500)) << "the replaced still was answered too";
    EXPECT_EQ(0, TriesOf("first.avi"));
}

TEST_F(ThumbMakerTest, GdiplusMayNotGoWhileAPictureIsInsideItAndMayOnceItIsOut) {
    SetThumbMakingForTest(10000, HoldChosenFiles);
    RequestThumbnail(window_, folder_.Path("hang.bmp").c_str(), false);
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(Held().entered, 10000)) << "the picture was not begun in 10 s";
    EXPECT_FALSE(StopThumbnailMaking()) << "GDI+ may go under a decode";
    // A picture that comes out while the end waits lets GDI+ go: the end waits for it, not for a time.
    HANDLE releaser = ::CreateThread(
        nullptr, 0,
        [](LPVOID) -> DWORD {
            ::Sleep(300);
            ::SetEvent(Held().release);
            return 0;
        },
        nullptr, 0, nullptr);
    ASSERT_TRUE(releaser);
    const DWORD asked = ::GetTickCount();
    const bool idle = StopThumbnailMaking();
    const DWORD waited = ::GetTickCount() - asked;
    std::printf("figure: the end waited %lu ms for the picture to leave GDI+ (let go after 300 ms)\n",
                static_cast<unsigned long>(waited));
    EXPECT_TRUE(idle) << "the picture left GDI+ during the wait, but the end did not see it";
    ::WaitForSingleObject(releaser, 10000);
    ::CloseHandle(releaser);
    // Nothing new is taken after the end.
    RequestThumbnail(window_, folder_.Write("late.bmp", SolidBmp(8, 8, RGB(1, 2, 3)), 1).c_str(), false);
    EXPECT_FALSE(NextAnswer(1000)) << "a request after the end was made";
    EXPECT_EQ(0, TriesOf("late.bmp"));
}

TEST_F(ThumbMakerTest, SixClipsThatHangBeforeFourGoodOnesHoldNoneOfTheGoodOnesBack) {
    SetThumbMakingForTest(10000, HoldChosenFiles);
    for (int i = 0; i < 6; ++i)
        RequestThumbnail(window_, Clip(("hang" + std::to_string(i) + ".avi").c_str()).c_str(), true);
    for (int i = 0; i < 4; ++i)
        RequestThumbnail(window_, Clip(("good" + std::to_string(i) + ".avi").c_str()).c_str(), true);
    // The good ones answer before any hanging one is given up (10 s after its start).
    const DWORD began = ::GetTickCount();
    for (int i = 0; i < 4; ++i) {
        auto result = NextAnswer(20000);
        ASSERT_TRUE(result) << "answer " << i << " did not come within 20 s";
        EXPECT_FALSE(result->timedOut) << "a hanging clip was answered before the good ones";
    }
    std::printf("figure: the four good clips behind six hanging ones were answered after %lu ms\n",
                static_cast<unsigned long>(::GetTickCount() - began));
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(1, TriesOf("good" + std::to_string(i) + ".avi")) << i;
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(1, TriesOf("hang" + std::to_string(i) + ".avi")) << "hang " << i << " tried once";
    // Then each hanging one gets the placeholder.
    for (int i = 0; i < 6; ++i) {
        auto result = NextAnswer(20000);
        ASSERT_TRUE(result) << "placeholder " << i << " did not come within 20 s";
        EXPECT_TRUE(result->timedOut);
    }
}

TEST_F(ThumbMakerTest, ASecondJobOnAClipStillBeingReadWaitsForTheFirstInsteadOfReadingItAgain) {
    SetThumbMakingForTest(kTestLimitMs * 10, HoldChosenFiles);
    const std::string clip = Clip("hang.avi");
    RequestThumbnail(window_, clip.c_str(), true);
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(Held().entered, 10000)) << "the clip was not begun in 10 s";
    RequestClipStill(window_, clip.c_str(), 3);
    auto first = NextAnswer(20000);
    ASSERT_TRUE(first) << "no answer within 20 s";
    auto second = NextAnswer(20000);
    ASSERT_TRUE(second) << "no second answer within 20 s";
    EXPECT_TRUE(first->timedOut);
    EXPECT_TRUE(second->timedOut) << "the still of a clip that hung";
    EXPECT_EQ(1, TriesOf("hang.avi")) << "the clip was read twice at once";
}

} // namespace
