// The record graph's multiplexer configuration through every path that renews its inputs: the
// record splices of flip, rotate and the effects, and the fresh multiplexer that takes the streams
// over. The platform's multiplexer (stood in for here: Wine's takes no sound) numbers its streams by
// the connected inputs, so the sound's number changes when a splice moves the video to a new input.
#include "effects_fixture.h"

#include "avi_mux_standin.h"
#include "qeldshow/com_ptr.h"
#include "VostrelTestSeams.h"

#include <algorithm>
#include <cwchar>
#include <filesystem>
#include <sstream>

namespace enginetest {
namespace {

const wchar_t kCamera[] = L"Qel Master Stream Camera";

std::string Describe(const MuxCall& call) {
    std::ostringstream text;
    text << "mux " << call.mux << " " << call.call << "(" << call.value << ") with";
    for (const std::string& input : call.inputs)
        text << " " << input;
    return text.str();
}

class MasterStreamTest : public EffectsTest {
protected:
    void SetUp() override {
        EffectsTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        previous_ = SetAviMuxCreator(CreateAviMuxStandIn);
        ClearMuxCalls();
        RefuseMuxConfiguration(false);
        file_ = std::filesystem::temp_directory_path() / L"qel_master_stream.avi";
    }
    void TearDown() override {
        if (sound_)
            sound_->Release();
        EffectsTest::TearDown();
        SetAviMuxCreator(previous_);
        RefuseMuxConfiguration(false);
        std::error_code ignored;
        std::filesystem::remove(file_, ignored);
    }

    // The record end, then the camera and a sound source into the multiplexer, the sound first
    // when asked, as an AVI record build connects them before its effects go in.
    void BuildRecordEnd(bool soundFirst) {
        Preview(kCamera);
        engine->SetEnhanceEnable(1, 40);
        engine->SetDateTimeEnable(1, 2);
        ASSERT_TRUE(engine->StopPreview());
        engine->TearDownGraph();
        engine->m_bWantPreview = FALSE;
        engine->m_recordFileType = RECORD_AVI;
        wcsncpy(engine->m_wszCaptureFile, file_.c_str(), MAX_PATH - 1);
        ASSERT_TRUE(engine->xBuildRecordEnd());
        ASSERT_NE(nullptr, engine->m_pMux);
        sound_ = CreateSoundSourceStandIn();
        ASSERT_NE(nullptr, sound_);
        ASSERT_EQ(S_OK, engine->m_pGraph->AddFilter(sound_, L"Sound"));
        if (soundFirst)
            ConnectSound();
        ASSERT_TRUE(SUCCEEDED(engine->m_pBuilder->RenderStream(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video,
                                                               engine->m_pVideoCapFilter, nullptr, engine->m_pMux)));
        if (!soundFirst)
            ConnectSound();
    }
    void ConnectSound() {
        qel::ComPtr<IEnumPins> pins;
        ASSERT_EQ(S_OK, sound_->EnumPins(&pins));
        qel::ComPtr<IPin> out;
        ASSERT_EQ(S_OK, pins->Next(1, &out, nullptr));
        qel::ComPtr<IPin> in = qel::TakeOver(engine->xFreshMuxInput(nullptr));
        ASSERT_TRUE(in);
        ASSERT_EQ(S_OK, engine->m_pGraph->ConnectDirect(out.Get(), in.Get(), nullptr));
    }
    // Every master stream the multiplexers were given is the sound's number among their inputs at
    // that moment; the fresh multiplexer, given the last, has the sound first.
    void ExpectTheSoundIsMaster() {
        engine->m_bWantAudio = TRUE;
        engine->m_nAudioSwitch = 1;
        SpliceAndRenew();
        if (HasFatalFailure())
            return;
        const std::vector<MuxCall> calls = Calls("SetMasterStream");
        ASSERT_EQ(5u, calls.size()) << "one after each of four splices and one for the fresh multiplexer";
        for (const MuxCall& call : calls) {
            const auto sound = std::find(call.inputs.begin(), call.inputs.end(), "sound");
            ASSERT_NE(call.inputs.end(), sound) << Describe(call);
            EXPECT_EQ(sound - call.inputs.begin(), call.value) << Describe(call);
        }
        const MuxCall& last = calls.back();
        EXPECT_EQ(calls.front().mux + 1, last.mux) << "the fresh multiplexer has the last word";
        EXPECT_EQ((std::vector<std::string>{"sound", "video"}), last.inputs) << Describe(last);
        EXPECT_EQ(0, last.value);
    }
    // Flip, rotate, enhance and the date overlay spliced in front of the multiplexer, then the
    // fresh multiplexer.
    void SpliceAndRenew() {
        ClearMuxCalls();
        ASSERT_TRUE(engine->xInsertCaptureEffects());
        ASSERT_TRUE(engine->xRenewAviMux());
    }
    std::vector<MuxCall> Calls(const char* name) const {
        std::vector<MuxCall> calls;
        for (const MuxCall& call : MuxCalls()) {
            if (call.call == name)
                calls.push_back(call);
        }
        return calls;
    }

    IBaseFilter* sound_ = nullptr;
    AviMuxCreator previous_ = nullptr;
    std::filesystem::path file_;
};

TEST_F(MasterStreamTest, TheSoundIsTheMasterStreamAfterEverySpliceWithTheVideoOnTheFirstInput) {
    BuildRecordEnd(false);
    ExpectTheSoundIsMaster();
}

TEST_F(MasterStreamTest, TheSoundIsTheMasterStreamAfterEverySpliceWithTheSoundOnTheFirstInput) {
    BuildRecordEnd(true);
    ExpectTheSoundIsMaster();
}

TEST_F(MasterStreamTest, WithTheSoundOffTheFirstStreamIsTheMaster) {
    BuildRecordEnd(false);
    engine->m_bWantAudio = TRUE;
    engine->m_nAudioSwitch = 0; // muted: the sound input stays, silent
    SpliceAndRenew();
    const std::vector<MuxCall> calls = Calls("SetMasterStream");
    ASSERT_FALSE(calls.empty());
    for (const MuxCall& call : calls)
        EXPECT_EQ(0, call.value) << Describe(call);
}

TEST_F(MasterStreamTest, CaptureInterleavingWhereTheMultiplexerTakesItsConfigurationElseFull) {
    BuildRecordEnd(false);
    engine->m_bWantAudio = TRUE;
    engine->m_nAudioSwitch = 1;
    SpliceAndRenew();
    std::vector<MuxCall> modes = Calls("put_Mode");
    // The fresh multiplexer: built fully interleaved, then set to capture interleaving.
    ASSERT_EQ(2u, modes.size());
    EXPECT_EQ(INTERLEAVE_FULL, modes[0].value);
    EXPECT_EQ(INTERLEAVE_CAPTURE, modes[1].value);
    EXPECT_EQ(1u, Calls("SetOutputCompatibilityIndex").size());
}

TEST_F(MasterStreamTest, AMultiplexerThatRefusesItsConfigurationStaysFullyInterleaved) {
    RefuseMuxConfiguration(true); // as Wine's answers
    BuildRecordEnd(false);
    engine->m_bWantAudio = TRUE;
    engine->m_nAudioSwitch = 1;
    SpliceAndRenew();
    const std::vector<MuxCall> modes = Calls("put_Mode");
    ASSERT_EQ(1u, modes.size());
    EXPECT_EQ(INTERLEAVE_FULL, modes[0].value);
}

} // namespace
} // namespace enginetest
