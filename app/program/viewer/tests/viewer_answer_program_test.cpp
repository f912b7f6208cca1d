// The window answers while a clip or a picture is tried: a repaint asked for while a clip that hangs
// the platform's source is tried by Play, or while a huge picture is decoded, comes before the try's
// outcome, and a click meanwhile is handled then too. Judged by order (what came first), not by speed,
// so a busy machine does not fail it; the figures are printed.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "album_folder.h"
#include "answer_probe.h"
#include "avi_clip.h"
#include "../../skin/tests/large_png.h"
#include "program_fixture.h"
#include "program_windows.h"
#include "qeltest/watchdog.h"
#include "screen_probe.h"

namespace programtest {
namespace {

constexpr int kClose = 1021, kSwitch = 1010, kPixelSize = 1022, kSize = 1028;

std::string FileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// The error box the program shows (visible), or null.
HWND ErrorBox() {
    HWND box = ::FindWindowA("#32770", "Error");
    return box && ::IsWindowVisible(box) ? box : nullptr;
}

// What came first after a repaint of window was asked for: the repaint, or outcome (which the test
// polls along). The ms each took; -1 for what did not come within limitMs.
struct Race {
    long repaintMs = -1;
    long outcomeMs = -1;
    bool RepaintFirst() const { return repaintMs >= 0 && (outcomeMs < 0 || repaintMs < outcomeMs); }
};

template <class Outcome>
Race RaceRepaintAgainst(HWND window, Outcome outcome, DWORD limitMs) {
    Race race;
    if (!::IsWindowVisible(window))
        return race; // a hidden window keeps no update region: its repaint would say nothing
    const DWORD started = ::GetTickCount();
    ::InvalidateRect(window, nullptr, FALSE);
    while (::GetTickCount() - started < limitMs && (race.repaintMs < 0 || race.outcomeMs < 0)) {
        // Both are looked at in each round; seen in the same round, the outcome counts as first.
        const long now = static_cast<long>(::GetTickCount() - started);
        if (race.outcomeMs < 0 && outcome())
            race.outcomeMs = now;
        if (race.repaintMs < 0 && !::GetUpdateRect(window, nullptr, FALSE))
            race.repaintMs = now;
        if (race.repaintMs >= 0 && race.outcomeMs < 0 && now - race.repaintMs > 1000)
            break; // the repaint came well ahead: that is all the race asks
        ::Sleep(5);
    }
    return race;
}

// An answered box takes a moment to go: until then the answering would see it as the next one.
void WaitUntilBoxGone() {
    for (int i = 0; i < 100 && ErrorBox(); ++i)
        ::Sleep(50);
}

void PrintRace(const Race& race, const char* what) {
    std::printf("figure: %s: repaint after %ld ms, outcome after %ld ms (-1: not within the race; target 500 ms)\n",
                what, race.repaintMs, race.outcomeMs);
}

class ViewerAnswers : public ProgramTest {
protected:
    std::unique_ptr<ZentrikRun> StartOnFolder(const AlbumFolder& folder) {
        return StartPrepared([&folder](ZentrikRun& run) { run.SetIniValue("Basic", "Image Folder", folder.Dir().c_str()); });
    }
    // Clicks an album item as the user does, posted like the user's own input.
    static void ClickItem(HWND item) {
        ::PostMessageA(item, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
        ::PostMessageA(item, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    }
};

TEST_F(ViewerAnswers, ADoubleClickOnAClipNeverTriedThatHangsItsSourceLeavesTheWindowAnswering) {
    qeltest::Watchdog::ExtendCurrentTest(180);
    AlbumFolder folder("answer_hanging_play");
    // Newest first: item 8000 the clip, 8001 and 8002 pictures of different sizes.
    folder.Write("hanging.avi", FileBytes(std::string(QEL_TEST_DATA_DIR) + "/damaged_clip_a.avi"), 30);
    folder.Write("picture_a.bmp", SolidBmp(160, 120, RGB(200, 40, 40)), 20);
    folder.Write("picture_b.bmp", SolidBmp(96, 72, RGB(40, 40, 200)), 10);
    auto run = StartOnFolder(folder);
    HWND dialog = run->Dialog();
    for (int i = 0; i < 100 && !FindChildById(dialog, 8002); ++i)
        run->Pump(50);
    HWND clip = FindChildById(dialog, 8000), pictureA = FindChildById(dialog, 8001);
    ASSERT_TRUE(clip && pictureA && FindChildById(dialog, 8002)) << "the album did not fill";
    // The race is run on the first picture's item once it is shown (its thumbnail may wait behind the
    // clip's try, which must still be under way at the double click).
    for (int i = 0; i < 100 && !::IsWindowVisible(pictureA); ++i)
        run->Pump(50);
    ASSERT_TRUE(::IsWindowVisible(pictureA)) << "the picture's item is not shown";
    PostClick(dialog, kSwitch);
    run->Pump(300);
    const std::string said = "Cannot play hanging.avi: the clip does not answer.";
    run->ExpectBox("Error", said);
    ::PostMessageA(clip, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(10, 10));
    ::Sleep(100); // the double click is taken up and its play tried
    const Race race = RaceRepaintAgainst(pictureA, [] { return ErrorBox() != nullptr; }, kAnswerHangGuardMs);
    PrintRace(race, "repaint while a hanging clip's play is tried");
    std::printf("screenshot: %s\n", SaveScreenshot(ScreenRectOf(run->Frame()), "zentrik_viewer_while_tried").c_str());
    if (race.outcomeMs >= 0 && race.outcomeMs < 50 && race.repaintMs < 0)
        std::printf("the box came at once: the clip may have been given up before the double click\n");
    EXPECT_TRUE(race.RepaintFirst()) << "the window did not repaint while the hanging clip was tried";
    EXPECT_GE(race.repaintMs, 0) << "no repaint within the hang guard";
    // The play's outcome: the clip is said not to answer once its try is given up.
    run->WaitForExpectedBoxes(30000);
    EXPECT_TRUE(run->MissingBoxes().empty()) << "the play of the hanging clip said nothing";
    WaitUntilBoxGone();

    // Tried again, now that it is known: the same box, and a click on a picture right after it is
    // handled (its file size shows).
    run->ExpectBox("Error", said);
    ::PostMessageA(clip, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(10, 10));
    run->WaitForExpectedBoxes(10000);
    EXPECT_TRUE(run->MissingBoxes().empty()) << "the second play of the hanging clip said nothing";
    WaitUntilBoxGone();
    ClickItem(pictureA);
    const DWORD clicked = ::GetTickCount();
    std::string size;
    for (int i = 0; i < 100 && size != "57 KB"; ++i) {
        size = TextOf(run->Control(kSize));
        run->Pump(50);
    }
    std::printf("figure: the picture's click showed within %lu ms\n", static_cast<unsigned long>(::GetTickCount() - clicked));
    EXPECT_EQ("57 KB", size) << "the click on the picture was lost";
    EXPECT_GE(AnswerTime(dialog, kAnswerHangGuardMs), 0) << "hang guard";
    PostClick(dialog, kClose);
    EXPECT_EQ(0u, run->WaitForExit(10000));
}

// Clips whose still the reader gives in time, but whose play the platform never finishes building (the
// test build holds such plays): a click on another item while such a play is under way is handled at
// once and ends the play quietly; the window answers while a play is tried, the clip is then said not
// to answer, and refused at once after; Close ends the program with 0 while held plays are inside.
TEST_F(ViewerAnswers, APlayThatHangsAfterTheClipsStillCameLeavesTheWindowAnswering) {
    qeltest::Watchdog::ExtendCurrentTest(180);
    AlbumFolder folder("answer_held_play");
    const std::vector<uint8_t> clip = qelmedia::BuildAviClip(qelmedia::AviClipFormat{});
    // Newest first: 8000 and 8001 the clips, 8002 and 8003 the pictures.
    folder.Write("held_play_2.avi", std::string(clip.begin(), clip.end()), 40);
    folder.Write("held_play.avi", std::string(clip.begin(), clip.end()), 30);
    folder.Write("picture_a.bmp", SolidBmp(160, 120, RGB(200, 40, 40)), 20);
    folder.Write("picture_b.bmp", SolidBmp(96, 72, RGB(40, 40, 200)), 10);
    bool testBuild = false;
    auto run = StartPrepared([&folder, &testBuild](ZentrikRun& prepared) {
        testBuild = prepared.UseTestBuild();
        prepared.SetIniValue("Basic", "Image Folder", folder.Dir().c_str());
        ::SetEnvironmentVariableA("QEL_TEST_HOLD_PLAYS", "held_play");
    });
    ::SetEnvironmentVariableA("QEL_TEST_HOLD_PLAYS", nullptr);
    ASSERT_TRUE(testBuild) << "the test build is missing";
    HWND dialog = run->Dialog();
    for (int i = 0; i < 100 && !FindChildById(dialog, 8003); ++i)
        run->Pump(50);
    HWND second = FindChildById(dialog, 8000), held = FindChildById(dialog, 8001);
    HWND pictureA = FindChildById(dialog, 8002);
    ASSERT_TRUE(second && held && pictureA && FindChildById(dialog, 8003)) << "the album did not fill";
    PostClick(dialog, kSwitch);
    run->Pump(300);
    // A clip's still comes through the reader, in time: its size shows.
    auto showStill = [&run](HWND item) {
        ClickItem(item);
        for (int i = 0; i < 200 && TextOf(run->Control(kPixelSize)) != "64X48"; ++i)
            run->Pump(50);
        return TextOf(run->Control(kPixelSize)) == "64X48";
    };
    ASSERT_TRUE(::IsWindowVisible(pictureA)) << "the picture's item is not shown";

    // A picture clicked while a play is under way.
    ASSERT_TRUE(showStill(second)) << "the second clip's still did not come";
    ::PostMessageA(second, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(10, 10));
    run->Pump(100);
    ClickItem(pictureA);
    const DWORD clicked = ::GetTickCount();
    for (int i = 0; i < 250 && TextOf(run->Control(kPixelSize)) != "160X120"; ++i)
        run->Pump(20);
    const DWORD shown = ::GetTickCount() - clicked;
    std::printf("figure: a picture clicked while a held play was under way showed after %lu ms\n",
                static_cast<unsigned long>(shown));
    EXPECT_EQ("160X120", TextOf(run->Control(kPixelSize))) << "the click during the play was lost";
    EXPECT_LT(shown, 500u) << "the click during the play waited";

    // The held clip's play, tried while the window is watched.
    ASSERT_TRUE(showStill(held)) << "the clip's still did not come";
    const std::string said = "Cannot play held_play.avi: the clip does not answer.";
    run->ExpectBox("Error", said);
    ::PostMessageA(held, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(10, 10));
    ::Sleep(100); // the double click is taken up and its play started
    const Race race = RaceRepaintAgainst(pictureA, [] { return ErrorBox() != nullptr; }, kAnswerHangGuardMs);
    PrintRace(race, "repaint while a play that hangs after its still is tried");
    const long answer = AnswerTime(dialog, kAnswerHangGuardMs);
    std::printf("figure: a posted message was answered after %ld ms while the play was tried\n", answer);
    std::printf("screenshot: %s\n", SaveScreenshot(ScreenRectOf(run->Frame()), "zentrik_viewer_play_held").c_str());
    EXPECT_TRUE(race.RepaintFirst()) << "the window did not repaint while the play was tried";
    EXPECT_GE(race.repaintMs, 0) << "no repaint within the hang guard";
    EXPECT_LT(race.repaintMs, 500) << "the repaint took longer than half a second";
    EXPECT_GE(answer, 0) << "hang guard";
    run->WaitForExpectedBoxes(40000);
    EXPECT_TRUE(run->MissingBoxes().empty()) << "the held play was never given up";
    WaitUntilBoxGone();

    // Known now: refused at once.
    run->ExpectBox("Error", said);
    ::PostMessageA(held, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(10, 10));
    run->WaitForExpectedBoxes(10000);
    EXPECT_TRUE(run->MissingBoxes().empty()) << "the second play of the held clip said nothing";
    WaitUntilBoxGone();
    // The abandoned play, given up meanwhile too, never spoke.
    EXPECT_EQ(nullptr, ErrorBox()) << "another box is shown";
    PostClick(dialog, kClose);
    EXPECT_EQ(0u, run->WaitForExit(15000)) << "Close did not end the program with 0 while held plays were inside";
}

TEST_F(ViewerAnswers, AHugePictureIsDecodedWhileTheWindowAnswersAndItsSizeShowsOnceItIs) {
    qeltest::Watchdog::ExtendCurrentTest(180);
    AlbumFolder folder("answer_huge_picture");
    folder.Write("small.bmp", SolidBmp(96, 72, RGB(40, 40, 200)), 20);
    // The album lists JPEG and BMP pictures; the platform's decoder reads a picture by its content, so
    // a PNG of 7000 x 7000 pixels (a few megabytes, about a second to decode) serves under a .jpg name.
    ASSERT_TRUE(WriteBlackPng(folder.Path("huge.jpg"), 7000, 7000)) << "the huge picture could not be written";
    auto run = StartOnFolder(folder);
    HWND dialog = run->Dialog();
    // Newest first: the huge picture (written now) is item 8000.
    for (int i = 0; i < 300 && !FindChildById(dialog, 8001); ++i)
        run->Pump(100);
    HWND huge = FindChildById(dialog, 8000), small = FindChildById(dialog, 8001);
    ASSERT_TRUE(huge && small) << "the album did not fill";
    ASSERT_TRUE(::IsWindowVisible(small)) << "the small picture's item is not shown";
    // The album's own thumbnail of the huge picture is made at the start: its end is waited for.
    run->Pump(3000);
    ASSERT_TRUE(WaitUntilSettled(*run));
    // Playback mode on the small picture, then the huge one clicked.
    PostClick(dialog, kSwitch);
    run->Pump(500);
    ClickItem(small);
    for (int i = 0; i < 100 && TextOf(run->Control(kPixelSize)) != "96X72"; ++i)
        run->Pump(50);
    ASSERT_EQ("96X72", TextOf(run->Control(kPixelSize))) << "the small picture's size did not show";
    ClickItem(huge);
    ::Sleep(50);
    const Race race = RaceRepaintAgainst(
        small, [&run] { return TextOf(run->Control(kPixelSize)) == "7000X7000"; }, 20000);
    PrintRace(race, "repaint while a huge picture is decoded");
    EXPECT_TRUE(race.RepaintFirst()) << "the window did not repaint while the picture was decoded";
    EXPECT_GE(race.outcomeMs, 0) << "the huge picture's size never showed";
    // Another picture clicked meanwhile or after shows its own size, never the earlier one's.
    ClickItem(huge);
    ClickItem(small);
    std::string shown;
    for (int i = 0; i < 200 && shown != "96X72"; ++i) {
        shown = TextOf(run->Control(kPixelSize));
        run->Pump(50);
    }
    EXPECT_EQ("96X72", shown) << "the last picture clicked is not the one whose size shows";
    run->Pump(3000); // a late decode of the huge picture must not take its place
    EXPECT_EQ("96X72", TextOf(run->Control(kPixelSize)));
    const RECT viewer = PreviewOnScreen(*run, 0);
    const COLORREF centre = ScreenPixel((viewer.left + viewer.right) / 2, (viewer.top + viewer.bottom) / 2);
    std::printf("screenshot: %s\n", SaveScreenshot(ScreenRectOf(run->Frame()), "zentrik_viewer_after_huge").c_str());
    EXPECT_GT(GetBValue(centre), 150) << "the viewer does not show the small blue picture";
    EXPECT_GE(AnswerTime(dialog, kAnswerHangGuardMs), 0) << "hang guard";
    PostClick(dialog, kClose);
    EXPECT_EQ(0u, run->WaitForExit(10000));
}

} // namespace
} // namespace programtest
