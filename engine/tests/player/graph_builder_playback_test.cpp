// Playing a clip in a window: transport, positions in both formats, events through the owner message,
// the video window's placement and the volume scale.
#include <windows.h>
#include <dshow.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "GraphBuilder.h"
#include "qeltest/audio_device_lock.h"
#include "player_fixture.h"
#include "qeltest/pump.h"
#include "qeltest/watchdog.h"

namespace {

using playertest::ClipSpec;
using playertest::Wide;

class PlaybackTest : public playertest::PlayerTest {
protected:
    playertest::OwnerWindow owner_;
};

TEST_F(PlaybackTest, PlaysToTheEndAndTheOwnerMessageDrainsTheEvents) {
    qeltest::Watchdog::ExtendCurrentTest(60);
    const std::wstring clip = Wide(MakeClip("short.avi", ClipSpec(10)));
    CGraphBuilder player;
    ASSERT_EQ(S_OK, player.Init(owner_.Handle(), clip.c_str(), 1));
    owner_.Drain(&player);
    ASSERT_EQ(S_OK, player.SetShowWndSize(0, 0, 64, 48, 0, 1, nullptr));
    const HRESULT played = player.Play();
    ASSERT_TRUE(SUCCEEDED(played)) << std::hex << played;
    FILTER_STATE state = State_Stopped;
    EXPECT_TRUE(qeltest::PumpUntil([&] { return player.GetState(&state) && state == State_Running; }, 5000));
    EXPECT_EQ(State_Running, state);

    const auto& events = owner_.Events();
    EXPECT_TRUE(qeltest::PumpUntil(
        [&] { return std::find(events.begin(), events.end(), EC_COMPLETE) != events.end(); }, 20000))
        << "no EC_COMPLETE drained after " << owner_.Notifications() << " notifications";
    EXPECT_GT(owner_.Notifications(), 0);

    LONGLONG position = 0;
    EXPECT_EQ(S_OK, player.GetCurrentPosition(&position, &TIME_FORMAT_MEDIA_TIME));
    EXPECT_EQ(10000000, position) << "at the end of the one-second clip";
    owner_.Drain(nullptr);
}

TEST_F(PlaybackTest, PauseSeekAndPositionAgreeInBothFormats) {
    const std::wstring clip = Wide(MakeClip("clip.avi", ClipSpec(30)));
    CGraphBuilder player;
    ASSERT_EQ(S_OK, player.Init(owner_.Handle(), clip.c_str(), 1));

    ASSERT_EQ(S_OK, player.SeekPosition(10000000, &TIME_FORMAT_MEDIA_TIME, 0));
    FILTER_STATE state = State_Running;
    EXPECT_TRUE(qeltest::PumpUntil([&] { return player.GetState(&state); }, 5000));
    EXPECT_EQ(State_Paused, state);
    LONGLONG position = -1;
    EXPECT_EQ(S_OK, player.GetCurrentPosition(&position, &TIME_FORMAT_MEDIA_TIME));
    EXPECT_EQ(10000000, position);
    EXPECT_EQ(S_OK, player.GetCurrentPosition(&position, &TIME_FORMAT_FRAME));
    EXPECT_EQ(10, position);

    // A position in frames is converted into the format in force (media time here).
    ASSERT_EQ(S_OK, player.SeekPosition(20, &TIME_FORMAT_FRAME, 0));
    EXPECT_EQ(S_OK, player.GetCurrentPosition(&position, &TIME_FORMAT_MEDIA_TIME));
    EXPECT_EQ(20000000, position);
    EXPECT_EQ(S_OK, player.GetCurrentPosition(&position, &TIME_FORMAT_FRAME));
    EXPECT_EQ(20, position);

    // Pausing stays where it is.
    EXPECT_TRUE(SUCCEEDED(player.Pause()));
    EXPECT_EQ(S_OK, player.GetCurrentPosition(&position, &TIME_FORMAT_MEDIA_TIME));
    EXPECT_EQ(20000000, position);
    EXPECT_FALSE(player.IsBusy());
}

TEST_F(PlaybackTest, AfterInit2FramePositionsWorkEvenWhereTheGraphRefusesFrames) {
    const std::wstring clip = Wide(MakeClip("clip.avi", ClipSpec(30)));
    CGraphBuilder player;
    ASSERT_EQ(S_OK, player.Init2(owner_.Handle(), clip.c_str(), 1));
    ASSERT_EQ(S_OK, player.SeekPosition(15, &TIME_FORMAT_FRAME, 0));
    LONGLONG position = -1;
    EXPECT_EQ(S_OK, player.GetCurrentPosition(&position, &TIME_FORMAT_FRAME));
    EXPECT_EQ(15, position);
    EXPECT_EQ(S_OK, player.GetCurrentPosition(&position, &TIME_FORMAT_MEDIA_TIME));
    EXPECT_EQ(15000000, position);
}

TEST_F(PlaybackTest, SeekingAndRunningReachesTheRunningState) {
    const std::wstring clip = Wide(MakeClip("clip.avi", ClipSpec(30)));
    CGraphBuilder player;
    ASSERT_EQ(S_OK, player.Init(owner_.Handle(), clip.c_str(), 1));
    ASSERT_EQ(S_OK, player.SeekPosition(5000000, &TIME_FORMAT_MEDIA_TIME, 1));
    FILTER_STATE state = State_Stopped;
    EXPECT_TRUE(qeltest::PumpUntil([&] { return player.GetState(&state) && state == State_Running; }, 5000));
    LONGLONG position = 0;
    EXPECT_EQ(S_OK, player.GetCurrentPosition(&position, &TIME_FORMAT_MEDIA_TIME));
    EXPECT_GE(position, 5000000);
    EXPECT_EQ(S_OK, player.Play()) << "already running: nothing to do";
}

TEST_F(PlaybackTest, TheVideoWindowIsPlacedInsideItsOwner) {
    const std::wstring clip = Wide(MakeClip("clip.avi", ClipSpec(10)));
    CGraphBuilder player;
    ASSERT_EQ(S_OK, player.Init(owner_.Handle(), clip.c_str(), 0));
    ASSERT_EQ(S_OK, player.SetShowWndSize(8, 6, 128, 96, 0, 1, nullptr));
    IVideoWindow* window = nullptr;
    ASSERT_EQ(S_OK,
              player.GetIGraphBuilder()->QueryInterface(IID_IVideoWindow, reinterpret_cast<void**>(&window)));
    OAHWND owner = 0;
    EXPECT_EQ(S_OK, window->get_Owner(&owner));
    EXPECT_EQ(reinterpret_cast<OAHWND>(owner_.Handle()), owner);
    // Where the window really is: a child of the owner at (8, 6) of its client area, 128x96.
    HWND video = FindWindowExA(owner_.Handle(), nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, video) << "the video window is not a child of its owner";
    RECT placed;
    ASSERT_TRUE(GetWindowRect(video, &placed));
    MapWindowPoints(HWND_DESKTOP, owner_.Handle(), reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_EQ(8, placed.left);
    EXPECT_EQ(6, placed.top);
    EXPECT_EQ(128, placed.right - placed.left);
    EXPECT_EQ(96, placed.bottom - placed.top);
    long style = 0;
    EXPECT_EQ(S_OK, window->get_WindowStyle(&style));
    EXPECT_TRUE(style & WS_CHILD);
    long visible = OAFALSE;
    EXPECT_EQ(S_OK, window->get_Visible(&visible));
    EXPECT_EQ(OATRUE, visible);

    // Another owner takes the window; hidden afterwards when asked.
    playertest::OwnerWindow other;
    ASSERT_EQ(S_OK, player.SetShowWndSize(0, 0, 64, 48, 0, 0, other.Handle()));
    EXPECT_EQ(S_OK, window->get_Owner(&owner));
    EXPECT_EQ(reinterpret_cast<OAHWND>(other.Handle()), owner);
    EXPECT_EQ(S_OK, window->get_Visible(&visible));
    EXPECT_EQ(OAFALSE, visible);
    window->Release();
}

TEST_F(PlaybackTest, VolumeFollowsThePercentScaleOnAFileWithSound) {
    qeltest::ScopedAudioDeviceLock soundDevice;
    ASSERT_TRUE(soundDevice.Held());
    const std::wstring clip = Wide(MakeClip("sound.avi", ClipSpec(10, true)));
    CGraphBuilder player;
    ASSERT_TRUE(SUCCEEDED(player.Init(owner_.Handle(), clip.c_str(), 0)));
    EXPECT_FALSE(player.SetVolume(101));
    if (!playertest::AudioRendererAvailable()) {
        EXPECT_FALSE(player.SetVolume(50)) << "no audio renderer: the graph cannot take a volume";
        GTEST_SKIP()
            << "no audio renderer in this Wine prefix (no audio driver): the volume scale is checked "
               "by PlayerVolume.PercentMapsToHundredthsOfADecibel only";
    }
    IBasicAudio* audio = nullptr;
    ASSERT_EQ(S_OK,
              player.GetIGraphBuilder()->QueryInterface(IID_IBasicAudio, reinterpret_cast<void**>(&audio)));
    const struct {
        unsigned long percent;
        long volume;
    } scale[] = {{0, -10000}, {1, -5395}, {50, -1483}, {100, -790}};
    for (const auto& step : scale) {
        EXPECT_TRUE(player.SetVolume(step.percent)) << step.percent;
        long volume = 1;
        EXPECT_EQ(S_OK, audio->get_Volume(&volume));
        EXPECT_EQ(step.volume, volume) << step.percent << "%";
    }
    audio->Release();
}

TEST_F(PlaybackTest, WaitForCompletionAnswersThroughTheEventInterface) {
    const std::wstring clip = Wide(MakeClip("clip.avi", ClipSpec(10)));
    CGraphBuilder player;
    ASSERT_EQ(S_OK, player.Init(owner_.Handle(), clip.c_str(), 0));
    long code = 0;
    EXPECT_TRUE(FAILED(player.WaitForCompletion(0, &code))) << "stopped graph: no completion yet";
    ASSERT_TRUE(SUCCEEDED(player.Play()));
    EXPECT_EQ(S_OK, player.WaitForCompletion(20000, &code));
    EXPECT_EQ(EC_COMPLETE, code);
}

} // namespace
