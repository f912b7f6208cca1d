// The editor against the fake Editing Services: the calls a three-clip timeline, its transitions and
// its fades make, and the property setter that cannot be created.
#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Vostrel.h"
#include "fakes/fake_editing.h"
#include "qeltest/com_test.h"

namespace {

using trimfake::ScopedFakeEditing;

bool Has(const std::vector<std::string>& calls, const std::string& call) {
    return std::find(calls.begin(), calls.end(), call) != calls.end();
}

// Position of a call in the log, or -1.
int At(const std::vector<std::string>& calls, const std::string& call) {
    const auto found = std::find(calls.begin(), calls.end(), call);
    return found == calls.end() ? -1 : static_cast<int>(found - calls.begin());
}

class TrimFakeTimelineTest : public qeltest::ComTest {
protected:
    void SetUp() override {
        qeltest::ComTest::SetUp();
        owner_ = CreateWindowA("STATIC", "trim owner", WS_POPUP, 0, 0, 64, 48, nullptr, nullptr, nullptr, nullptr);
    }
    void TearDown() override {
        DestroyWindow(owner_);
        qeltest::ComTest::TearDown();
    }
    // Three clips of 5 s, 3 s and 4 s, each with a video and an audio source.
    void BuildThreeClips(CVideoTrim& editor) {
        ASSERT_EQ(S_OK, editor.Initial(owner_, FALSE));
        ASSERT_EQ(S_OK, editor.InitialTrack(&video_, &MEDIATYPE_Video, 0, nullptr));
        ASSERT_EQ(S_OK, editor.InitialTrack(&audio_, &MEDIATYPE_Audio, 0, nullptr));
        const LONGLONG lengths[3] = {50000000, 30000000, 40000000};
        wchar_t file[] = L"C:\\clip.avi";
        for (long i = 0; i < 3; ++i) {
            ASSERT_EQ(S_OK, editor.InitialVideoSource(&clips_[i], &video_, &trans_[i], i, 3));
            ASSERT_EQ(S_OK, editor.SetSrcFile(&clips_[i], file, FALSE, lengths[i], 64, 48));
            ASSERT_EQ(S_OK, editor.SetDuration(&clips_[i], 0, lengths[i], 0, lengths[i]));
            ASSERT_EQ(S_OK, editor.InitialAudioSource(&sounds_[i], &audio_, &fades_[i], i));
        }
    }
    void ReleaseAll(CVideoTrim& editor) {
        for (int i = 0; i < 3; ++i) {
            editor.ReleaseObj(&clips_[i]);
            editor.ReleaseObj(&sounds_[i]);
            editor.ReleaseObj(&trans_[i]);
            editor.ReleaseObj(&fades_[i]);
        }
        editor.ReleaseObj(&video_);
        editor.ReleaseObj(&audio_);
    }

    HWND owner_ = nullptr;
    CTrimTrack video_, audio_;
    CTrimSource clips_[3], sounds_[3];
    CTrimTrans trans_[3], fades_[3];
};

TEST_F(TrimFakeTimelineTest, ThreeClipsGoABAWithFillersForTheFirstAndLastOnly) {
    ScopedFakeEditing fakes({});
    CVideoTrim editor;
    BuildThreeClips(editor);
    const std::vector<std::string> calls = fakes.Calls();
    // Groups: video then audio, each with its type, added to the timeline.
    EXPECT_LT(At(calls, "G1.SetMediaType(vids)"), At(calls, "T.AddGroup(G1)"));
    EXPECT_LT(At(calls, "T.AddGroup(G1)"), At(calls, "T.AddGroup(G2)"));
    EXPECT_TRUE(Has(calls, "G2.SetMediaType(auds)"));
    // Tracks A then B in each group.
    EXPECT_LT(At(calls, "G1.VTrackInsBefore(K1,0)"), At(calls, "G1.VTrackInsBefore(K2,0)"));
    EXPECT_TRUE(Has(calls, "G2.VTrackInsBefore(K3,0)"));
    // Clip 0 on A with a black filler on B; clip 1 on B, no filler; clip 2 on A with its filler on B.
    EXPECT_TRUE(Has(calls, "K1.SrcAdd(S1)"));
    EXPECT_TRUE(Has(calls, "K2.SrcAdd(S2)"));
    EXPECT_TRUE(Has(calls, "S2.SetSubObjectGUID(0CFDD070)"));
    EXPECT_TRUE(Has(calls, "P1.AddProp(Color,0@0/0)"));
    EXPECT_TRUE(Has(calls, "S2.SetMuted(0)"));
    EXPECT_TRUE(Has(calls, "K2.SrcAdd(S4)"));
    EXPECT_TRUE(Has(calls, "K1.SrcAdd(S6)"));
    EXPECT_TRUE(Has(calls, "K2.SrcAdd(S7)"));
    EXPECT_EQ(5u, fakes.CallsWith(".SrcAdd(S").size() - 3);   // 5 video sources, 3 audio ones
    // One transition per clip on track B; the audio effects are kept, not inserted.
    EXPECT_EQ(3u, fakes.CallsWith("K2.TransAdd(").size());
    EXPECT_TRUE(fakes.CallsWith("EffectInsBefore").empty());
    // Each clip's sound follows its picture: S3, S5 and S8 on the audio tracks A, B, A.
    EXPECT_TRUE(Has(calls, "K3.SrcAdd(S3)"));
    EXPECT_TRUE(Has(calls, "K4.SrcAdd(S5)"));
    EXPECT_TRUE(Has(calls, "K3.SrcAdd(S8)"));
    EXPECT_TRUE(Has(calls, "S1.SetMediaTimes(0,50000000)"));
    EXPECT_TRUE(Has(calls, "S1.SetStartStop(0,50000000)"));
    EXPECT_TRUE(Has(calls, "S1.SetMediaName(C:\\clip.avi)"));
    ReleaseAll(editor);
    EXPECT_TRUE(Has(fakes.Calls(), "S1.RemoveAll()"));
}

TEST_F(TrimFakeTimelineTest, TransitionsOverlapClipsAndTheEndsFadeToBlack) {
    ScopedFakeEditing fakes({});
    CVideoTrim editor;
    BuildThreeClips(editor);
    for (CTrimTrans& trans : trans_) {
        trans.SetTransType(13);
        trans.SetTransDuration(40000000);
    }
    fakes.ClearCalls();
    LONGLONG start = 0, end = 0, clipIn = 0, clipOut = 50000000;
    // Fade in: at most half of the first clip, inputs swapped, its filler black for as long.
    ASSERT_EQ(S_OK, editor.AdjustTransition(&trans_[0], FALSE, nullptr, &clips_[0], start, end, clipIn, clipOut));
    EXPECT_EQ(25000000, trans_[0].GetTransDuration());
    std::vector<std::string> calls = fakes.Calls();
    EXPECT_TRUE(Has(calls, "X1.SetSubObjectGUID(DE75D012)"));
    EXPECT_TRUE(Has(calls, "P3.AddProp(MaskNum,-1@0/0)"));
    EXPECT_TRUE(Has(calls, "X1.SetSwapInputs(1)"));
    EXPECT_TRUE(Has(calls, "X1.SetStartStop(0,25000000)"));
    EXPECT_TRUE(Has(calls, "S2.SetMediaTimes(0,25000000)"));
    // Between 5 s and 3 s: 4 s is cut to 1.5 s and the next clip starts that much before the end.
    end = 50000000;
    clipIn = 0;
    clipOut = 30000000;
    ASSERT_EQ(S_OK, editor.AdjustTransition(&trans_[1], TRUE, &clips_[0], &clips_[1], start, end, clipIn, clipOut));
    EXPECT_EQ(35000000, start);
    EXPECT_EQ(65000000, end);
    EXPECT_TRUE(Has(fakes.Calls(), "X2.SetStartStop(35000000,50000000)"));
    // A negative type cuts: the next clip starts at the end, the transition leaves the timeline.
    trans_[2].SetTransType(-1);
    ASSERT_EQ(S_OK, editor.AdjustTransition(&trans_[2], TRUE, &clips_[1], &clips_[2], start, end, clipIn, clipOut));
    EXPECT_EQ(65000000, start);
    EXPECT_EQ(95000000, end);
    EXPECT_TRUE(Has(fakes.Calls(), "X3.RemoveAll()"));
    // Fade out after the last clip into its filler; the timeline gains 0.05 s of black.
    CTrimTrans last;
    ASSERT_EQ(S_OK, editor.InitialTransIntro(&video_, &last));
    last.SetTransType(22);
    last.SetTransDuration(10000000);
    fakes.ClearCalls();
    ASSERT_EQ(S_OK, editor.AdjustTransition(&last, FALSE, &clips_[2], nullptr, start, end, clipIn, clipOut));
    EXPECT_EQ(95500000, end);
    calls = fakes.Calls();
    EXPECT_TRUE(Has(calls, "X4.SetSubObjectGUID(3F69F351)"));
    EXPECT_TRUE(fakes.CallsWith("AddProp").empty());   // type 22 sets no property
    EXPECT_TRUE(Has(calls, "X4.SetStartStop(85000000,95000000)"));
    EXPECT_TRUE(Has(calls, "S7.SetMediaTimes(0,10500000)"));
    EXPECT_TRUE(Has(calls, "S7.SetStartStop(85000000,95500000)"));
    editor.ReleaseObj(&last);
    ReleaseAll(editor);
}

TEST_F(TrimFakeTimelineTest, AudioFadeOutEnvelopeAndRefusals) {
    ScopedFakeEditing fakes({});
    CVideoTrim editor;
    BuildThreeClips(editor);
    fakes.ClearCalls();
    fades_[2].SetTransType(1);
    ASSERT_EQ(S_OK, editor.AdjustEffect(&fades_[2], &sounds_[2], 80000000, 95000000, 0, 40000000));
    EXPECT_EQ(40000000, fades_[2].GetTransDuration());
    const std::vector<std::string> calls = fakes.Calls();
    EXPECT_TRUE(Has(calls, "E3.SetSubObjectGUID(036A9790)"));
    EXPECT_EQ(1u, fakes.CallsWith("AddProp(Vol,1@0/1 0@20000000/1)").size());
    EXPECT_TRUE(Has(calls, "E3.SetStartStop(80000000,95000000)"));
    CTrimTrans empty;
    EXPECT_EQ(S_FALSE, editor.AdjustEffect(&empty, &sounds_[0], 0, 1, 0, 1));
    EXPECT_EQ(E_INVALIDARG, editor.AdjustEffect(nullptr, &sounds_[0], 0, 1, 0, 1));
    LONGLONG start = 0, end = 0, clipIn = 0, clipOut = 0;
    EXPECT_EQ(E_INVALIDARG, editor.AdjustTransition(&trans_[0], FALSE, nullptr, nullptr, start, end, clipIn, clipOut));
    EXPECT_EQ(S_OK, editor.ApplyTransProperty(nullptr, 24));   // outside 0..23: nothing done
    EXPECT_EQ(S_OK, editor.ApplyTransProperty(nullptr, -1));
    ReleaseAll(editor);
}

TEST_F(TrimFakeTimelineTest, APropertySetterThatCannotBeCreatedFailsCleanly) {
    trimfake::FakeOptions options;
    options.refusePropertySetter = true;
    ScopedFakeEditing fakes(options);
    CVideoTrim editor;
    BuildThreeClips(editor);   // the fillers' colour fails and is ignored
    EXPECT_TRUE(fakes.CallsWith("SetPropertySetter").empty());
    trans_[1].SetTransType(0);
    trans_[1].SetTransDuration(10000000);
    LONGLONG start = 0, end = 50000000, clipIn = 0, clipOut = 30000000;
    EXPECT_TRUE(FAILED(editor.AdjustTransition(&trans_[1], TRUE, &clips_[0], &clips_[1], start, end, clipIn, clipOut)));
    EXPECT_EQ(50000000, end);   // nothing moved
    fades_[0].SetTransType(1);
    EXPECT_TRUE(FAILED(editor.AdjustEffect(&fades_[0], &sounds_[0], 0, 10, 0, 10)));
    EXPECT_TRUE(FAILED(editor.ApplyColorProperty(clips_[0].GetColorObj(), 0)));
    ReleaseAll(editor);
}

TEST_F(TrimFakeTimelineTest, ASecondInitialDropsTheFirstTimeline) {
    ScopedFakeEditing fakes({});
    CVideoTrim editor;
    ASSERT_EQ(S_OK, editor.Initial(owner_, FALSE));
    ASSERT_EQ(S_OK, editor.Initial(owner_, FALSE));
    EXPECT_EQ(1u, fakes.CallsWith("ClearAllGroups").size());
    EXPECT_TRUE(Has(fakes.Calls(), "T.AddGroup(G3)"));
}

TEST_F(TrimFakeTimelineTest, OutputFormatSetsTheVideoGroupType) {
    ScopedFakeEditing fakes({});
    CVideoTrim editor;
    ASSERT_EQ(S_OK, editor.Initial(owner_, FALSE));
    _TRIMOUTFORMAT tooFast = {2, 0, 31, 320, 240};
    EXPECT_FALSE(editor.SetOutputFormat(&tooFast));
    fakes.ClearCalls();
    _TRIMOUTFORMAT format = {2, 0, 25, 320, 240};
    EXPECT_TRUE(editor.SetOutputFormat(&format));
    EXPECT_TRUE(Has(fakes.Calls(), "G1.Format(E436EB7D,320,240,24,230400)"));
    EXPECT_TRUE(Has(fakes.Calls(), "G1.SetOutputFPS(25)"));
}

} // namespace
