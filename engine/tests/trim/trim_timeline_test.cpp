// The editor against the platform's timeline. Wine's timeline only creates empty nodes, which answer
// none of the group, track or source interfaces: building fails at the first group, cleanly and once
// in the log.
#include <string>

#include <gtest/gtest.h>

#include "../engine_log_file.h"
#include "Vostrel.h"
#include "qeltest/com_test.h"

namespace {

using enginetest::ReadEngineLog;
using enginetest::RemoveEngineLog;

size_t CountOf(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

class OwnerWindow {
public:
    OwnerWindow() : hwnd_(CreateWindowA("STATIC", "trim owner", WS_POPUP, 0, 0, 64, 48, nullptr, nullptr, nullptr, nullptr)) {}
    ~OwnerWindow() { DestroyWindow(hwnd_); }
    HWND Get() const { return hwnd_; }

private:
    HWND hwnd_;
};

// An empty node of the platform's timeline, standing in for a placed clip.
IAMTimelineObj* MakePlatformSourceNode(IAMTimeline** timeline) {
    if (FAILED(CoCreateInstance(CLSID_AMTimeline, nullptr, CLSCTX_INPROC_SERVER, IID_IAMTimeline,
                                reinterpret_cast<void**>(timeline))))
        return nullptr;
    IAMTimelineObj* node = nullptr;
    if (FAILED((*timeline)->CreateEmptyNode(&node, TIMELINE_MAJOR_TYPE_SOURCE)))
        return nullptr;
    return node;
}

class TrimTimelineTest : public qeltest::ComTest {};

TEST_F(TrimTimelineTest, EntryPointsRefuseWithoutTimelineOrPlacedClip) {
    CVideoTrim editor;
    EXPECT_EQ(E_INVALIDARG, editor.Initial(nullptr, FALSE));
    CTrimTrack track;
    CTrimSource source;
    CTrimTrans trans;
    EXPECT_EQ(E_INVALIDARG, editor.InitialTrack(&track, &MEDIATYPE_Video, 0, nullptr));
    EXPECT_EQ(E_INVALIDARG, editor.InitialVideoSource(&source, &track, &trans, 0, 1));
    EXPECT_EQ(E_INVALIDARG, editor.InitialAudioSource(&source, &track, &trans, 0));
    EXPECT_EQ(E_INVALIDARG, editor.InitialTransIntro(&track, &trans));
    EXPECT_EQ(E_INVALIDARG, editor.InitialFXIntro(&track, &trans));
    wchar_t file[] = L"C:\\none.avi";
    // An unplaced clip is refused before its file is probed.
    EXPECT_EQ(E_INVALIDARG, editor.SetSrcFile(&source, file, TRUE, 0, 0, 0));
    EXPECT_EQ(E_INVALIDARG, editor.SetDuration(&source, 0, 10, 0, 10));
    EXPECT_EQ(0, source.GetDuration());
    EXPECT_EQ(nullptr, track.GetThisObj(0));
    EXPECT_EQ(nullptr, trans.GetThisObj());
}

TEST_F(TrimTimelineTest, ClipTimesMustRunForwardAndFailingNodesStoreNothing) {
    IAMTimeline* timeline = nullptr;
    IAMTimelineObj* node = MakePlatformSourceNode(&timeline);
    if (!node) {
        if (timeline)
            timeline->Release();
        GTEST_SKIP() << "the platform's timeline cannot make a source node here";
    }
    CVideoTrim editor;
    CTrimSource source;
    source.SetThisObj(node);
    EXPECT_EQ(E_INVALIDARG, editor.SetDuration(&source, 5, 5, 0, 10));
    EXPECT_EQ(E_INVALIDARG, editor.SetDuration(&source, 0, 10, 7, 7));
    EXPECT_EQ(E_INVALIDARG, editor.SetDuration(&source, 0, 10, 8, 2));
    EXPECT_EQ(0, source.GetMediaStop());
    const HRESULT hr = editor.SetDuration(&source, 0, 10, 0, 10);
    if (hr == S_OK) {
        EXPECT_EQ(10, source.GetMediaStop());
    } else {
        // Wine: the node has no source interface; the failure comes back and nothing is stored.
        EXPECT_TRUE(FAILED(hr)) << std::hex << hr;
        EXPECT_EQ(0, source.GetMediaStop());
        EXPECT_EQ(0, source.GetTimelineStop());
    }
    // Probing off: the given facts are stored before the node is asked for its source interface.
    wchar_t file[] = L"C:\\clip.avi";
    editor.SetSrcFile(&source, file, FALSE, 30000000, 64, 48);
    EXPECT_EQ(30000000, source.GetDuration());
    EXPECT_EQ(64, source.GetWidth());
    EXPECT_TRUE(editor.ReleaseObj(&source));
    EXPECT_EQ(nullptr, source.GetThisObj());
    timeline->Release();
}

// The one test here that writes the log file; it shares the capture log test's lock.
TEST_F(TrimTimelineTest, InitialEitherBuildsBothGroupsOrFailsOnceInTheLog) {
    RemoveEngineLog();
    OwnerWindow owner;
    {
        CVideoTrim editor;
        const HRESULT hr = editor.Initial(owner.Get(), TRUE);
        if (hr == S_OK) {
            EXPECT_EQ(TrimStateReady, editor.GetTrimState());
            EXPECT_EQ(std::string(), ReadEngineLog());
        } else {
            // Wine's empty timeline: the first group's interface is missing.
            EXPECT_TRUE(FAILED(hr)) << std::hex << hr;
            EXPECT_EQ(TrimStateConstructed, editor.GetTrimState());
            const std::string log = ReadEngineLog();
            EXPECT_EQ(1u, CountOf(log, "CLiveCapture,Err code: ")) << log;
            EXPECT_EQ(1u, CountOf(log, " in VideoTrim\n Line ")) << log;
            // A second call drops the first timeline and fails the same way, logging once more.
            EXPECT_EQ(hr, editor.Initial(owner.Get(), TRUE));
            EXPECT_EQ(2u, CountOf(ReadEngineLog(), " in VideoTrim\n Line "));
            // The group node made so far stays: a track then fails at the group's composition
            // interface and keeps no node; a type other than video or audio is refused first.
            CTrimTrack track;
            EXPECT_EQ(E_INVALIDARG, editor.InitialTrack(&track, &MEDIATYPE_Text, 0, nullptr));
            EXPECT_TRUE(FAILED(editor.InitialTrack(&track, &MEDIATYPE_Video, 0, nullptr)));
            EXPECT_EQ(nullptr, track.GetThisObj(0));
            EXPECT_EQ(nullptr, track.GetThisObj(1));
        }
    }
    RemoveEngineLog();
    {
        CVideoTrim quiet;
        EXPECT_NE(E_INVALIDARG, quiet.Initial(owner.Get(), FALSE));
        EXPECT_EQ(std::string(), ReadEngineLog());
    }
}

} // namespace
